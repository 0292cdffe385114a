// Texture images the generator paints itself, and their file format.
#pragma once

#include <cstdint>
#include <vector>

// An RGB image, 3 bytes per pixel, row 0 at the top.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// Planet textures for the mirrored sphere mapping of addEllipsoid: column u
// (0..1 across the image) is longitude u * 180 degrees, row v (0 at the
// bottom) is latitude from -90 to +90, so the picture wraps round the sphere
// without a seam. Each painter is deterministic.
Image paintEarth(int width, int height);   // oceans, continents, ice caps
Image paintMars(int width, int height);    // rust plains, dark highlands, a small cap
Image paintPluto(int width, int height);   // pale ice with blue-grey and dark patches

// The bytes of an uncompressed 24-bit BMP file of the image.
std::vector<uint8_t> encodeBmp(const Image& image);

// Value noise in [0, 1], smooth in space, the same for the same arguments.
float valueNoise(float x, float y, float z, uint32_t seed);
// Sum of `octaves` noise layers of doubling frequency and halving weight, in [0, 1].
float fractalNoise(float x, float y, float z, int octaves, uint32_t seed);

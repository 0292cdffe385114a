// The game's application icon, painted like the planet textures, and the PNG
// files the desktop's icon theme takes.
#pragma once

#include <cstdint>
#include <vector>

// An RGBA image, 4 bytes per pixel, straight (not premultiplied) alpha, row 0
// at the top.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// The icon, size x size pixels: a lit, textured Earth with the fighter
// heading for it, on a transparent background. Edges are smoothed by 4 x 4
// samples per pixel, so every size is drawn for its own pixels rather than
// scaled. The same pixels on every call.
RgbaImage paintIcon(int size);

// The bytes of a PNG file of the image: 8-bit RGBA, not interlaced, its
// pixels in stored (uncompressed) deflate blocks, so no compression library
// is needed.
std::vector<uint8_t> encodePng(const RgbaImage& image);

// The bytes of a Windows icon file (.ico) holding each image as a PNG, in
// the given order: what Windows Vista and later take, at any size up to 256.
// Images larger than 256 pixels on a side have no place in the format and
// are left out.
std::vector<uint8_t> encodeIco(const std::vector<RgbaImage>& images);

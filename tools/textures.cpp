#include "tools/textures.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

uint32_t hash(int32_t x, int32_t y, int32_t z, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(z) * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float smooth(float t) { return t * t * (3 - 2 * t); }
float mix(float a, float b, float t) { return a + (b - a) * t; }

struct Colour {
  float r, g, b;
};

Colour mix(Colour a, Colour b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

// Colour of the sphere at unit point (x, y, z), latitude in radians.
using SpherePainter = std::function<Colour(float x, float y, float z, float latitude)>;

// Runs `paint` on the unit-sphere point of every pixel.
Image paintSphere(int width, int height, const SpherePainter& paint) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  const float pi = static_cast<float>(M_PI);
  for (int row = 0; row < height; ++row) {
    float v = 1.0f - (row + 0.5f) / height;
    float latitude = pi * (v - 0.5f);
    for (int column = 0; column < width; ++column) {
      float longitude = pi * (column + 0.5f) / width;
      float x = std::cos(latitude) * std::cos(longitude);
      float y = std::sin(latitude);
      float z = std::cos(latitude) * std::sin(longitude);
      Colour c = paint(x, y, z, latitude);
      uint8_t* out = &image.rgb[(static_cast<size_t>(row) * width + column) * 3];
      out[0] = static_cast<uint8_t>(std::clamp(c.r, 0.0f, 1.0f) * 255.0f + 0.5f);
      out[1] = static_cast<uint8_t>(std::clamp(c.g, 0.0f, 1.0f) * 255.0f + 0.5f);
      out[2] = static_cast<uint8_t>(std::clamp(c.b, 0.0f, 1.0f) * 255.0f + 0.5f);
    }
  }
  return image;
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(v & 0xff);
  out.push_back(v >> 8);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

}  // namespace

float valueNoise(float x, float y, float z, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy), iz = static_cast<int32_t>(fz);
  float tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
  auto corner = [&](int dx, int dy, int dz) {
    return static_cast<float>(hash(ix + dx, iy + dy, iz + dz, seed) & 0xffff) / 65535.0f;
  };
  float x00 = mix(corner(0, 0, 0), corner(1, 0, 0), tx);
  float x10 = mix(corner(0, 1, 0), corner(1, 1, 0), tx);
  float x01 = mix(corner(0, 0, 1), corner(1, 0, 1), tx);
  float x11 = mix(corner(0, 1, 1), corner(1, 1, 1), tx);
  return mix(mix(x00, x10, ty), mix(x01, x11, ty), tz);
}

float fractalNoise(float x, float y, float z, int octaves, uint32_t seed) {
  float sum = 0, weight = 1, total = 0, scale = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * valueNoise(x * scale, y * scale, z * scale, seed + i);
    total += weight;
    weight *= 0.5f;
    scale *= 2.0f;
  }
  return sum / total;
}

Image paintEarth(int width, int height) {
  const Colour deep = {0.02f, 0.10f, 0.38f}, shallow = {0.08f, 0.38f, 0.62f};
  const Colour lowland = {0.16f, 0.48f, 0.14f}, highland = {0.52f, 0.45f, 0.24f};
  const Colour ice = {0.94f, 0.96f, 0.98f};
  return paintSphere(width, height, [&](float x, float y, float z, float latitude) {
    // Large continents from a slow field, coastlines roughened by a fast one.
    float h = 0.7f * fractalNoise(1.6f * x + 5, 1.6f * y + 5, 1.6f * z + 5, 3, 11) +
              0.3f * fractalNoise(6 * x, 6 * y, 6 * z, 4, 14);
    const float sea = 0.54f;
    Colour c = h < sea ? mix(deep, shallow, (h - 0.38f) / (sea - 0.38f))
                       : mix(lowland, highland, (h - sea - 0.03f) / 0.12f);
    float polar = std::fabs(latitude) / 1.5708f + 0.15f * (fractalNoise(4 * x, 4 * y, 4 * z, 3, 12) - 0.5f);
    if (polar > 0.84f) c = ice;
    float cloud = fractalNoise(3.0f * x - 7, 6.0f * y, 3.0f * z, 5, 13);
    return mix(c, Colour{1, 1, 1}, (cloud - 0.62f) * 2.5f);
  });
}

Image paintMars(int width, int height) {
  const Colour rust = {0.78f, 0.38f, 0.18f}, dark = {0.42f, 0.18f, 0.10f};
  const Colour dust = {0.90f, 0.62f, 0.40f}, cap = {0.96f, 0.92f, 0.88f};
  return paintSphere(width, height, [&](float x, float y, float z, float latitude) {
    float h = fractalNoise(2.5f * x + 3, 2.5f * y + 3, 2.5f * z + 3, 6, 21);
    Colour c = mix(dark, rust, (h - 0.35f) * 4.0f);
    c = mix(c, dust, (fractalNoise(6 * x, 6 * y, 6 * z, 4, 22) - 0.6f) * 3.0f);
    if (latitude > 1.35f) c = cap;
    return c;
  });
}

Image paintPluto(int width, int height) {
  const Colour ice = {0.90f, 0.93f, 0.97f}, shade = {0.55f, 0.63f, 0.74f};
  const Colour crack = {0.35f, 0.42f, 0.55f};
  return paintSphere(width, height, [&](float x, float y, float z, float) {
    float h = fractalNoise(2 * x + 9, 2 * y + 9, 2 * z + 9, 5, 31);
    Colour c = mix(shade, ice, (h - 0.4f) * 3.0f);
    // Dark tholin patches from a second field.
    c = mix(c, crack, (fractalNoise(4 * x - 3, 4 * y, 4 * z, 4, 32) - 0.6f) * 4.0f);
    return c;
  });
}

std::vector<uint8_t> encodeBmp(const Image& image) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + pixelBytes);  // file size
  put32(out, 0);                // reserved
  put32(out, 54);               // offset of the pixels
  put32(out, 40);               // BITMAPINFOHEADER
  put32(out, static_cast<uint32_t>(image.width));
  put32(out, static_cast<uint32_t>(image.height));  // positive: bottom row first
  put16(out, 1);                // planes
  put16(out, 24);               // bits per pixel
  put32(out, 0);                // no compression
  put32(out, pixelBytes);
  put32(out, 2835);             // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int row = image.height - 1; row >= 0; --row) {
    const uint8_t* in = &image.rgb[static_cast<size_t>(row) * image.width * 3];
    for (int column = 0; column < image.width; ++column) {
      out.push_back(in[3 * column + 2]);
      out.push_back(in[3 * column + 1]);
      out.push_back(in[3 * column + 0]);
    }
    for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

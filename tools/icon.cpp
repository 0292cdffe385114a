#include "tools/icon.h"

#include <algorithm>
#include <cmath>

#include "tools/textures.h"

namespace {

struct Sample {
  float r = 0, g = 0, b = 0;
  bool covered = false;
};

// The Earth's texture, mapped onto a sphere seen from the front as the game
// maps it onto the planet: longitude across the image, latitude up.
Sample planetAt(const Image& earth, float x, float y) {
  const float cx = 0.60f, cy = 0.60f, radius = 0.37f;
  float nx = (x - cx) / radius, ny = (cy - y) / radius;
  float d2 = nx * nx + ny * ny;
  if (d2 >= 1.0f) return {};
  float nz = std::sqrt(1.0f - d2);
  const float pi = static_cast<float>(M_PI);
  float u = (std::atan2(nx, nz) + 0.5f * pi) / pi;  // 0..1 over the front half
  float v = std::asin(std::clamp(ny, -1.0f, 1.0f)) / pi + 0.5f;
  int column = std::clamp(static_cast<int>(u * earth.width), 0, earth.width - 1);
  int row = std::clamp(static_cast<int>((1.0f - v) * earth.height), 0, earth.height - 1);
  const uint8_t* texel = &earth.rgb[(static_cast<size_t>(row) * earth.width + column) * 3];
  // Sunlight from the upper left, a little ambient, and a blue haze at the rim.
  const float lx = -0.55f, ly = 0.55f, lz = 0.63f;
  float light = 0.18f + 0.9f * std::max(0.0f, nx * lx + ny * ly + nz * lz);
  float haze = std::pow(1.0f - nz, 3.0f);
  Sample s;
  s.covered = true;
  s.r = std::min(1.0f, texel[0] / 255.0f * light) * (1 - haze) + 0.45f * haze;
  s.g = std::min(1.0f, texel[1] / 255.0f * light) * (1 - haze) + 0.70f * haze;
  s.b = std::min(1.0f, texel[2] / 255.0f * light) * (1 - haze) + 1.00f * haze;
  return s;
}

// Which side of the line a->b the point p lies on.
float side(float ax, float ay, float bx, float by, float px, float py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

bool inTriangle(const float t[6], float x, float y) {
  float a = side(t[0], t[1], t[2], t[3], x, y);
  float b = side(t[2], t[3], t[4], t[5], x, y);
  float c = side(t[4], t[5], t[0], t[1], x, y);
  return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
}

// The fighter seen from above, nose towards the planet: an arrowhead with a
// notched tail and an engine glow behind it.
Sample fighterAt(float x, float y) {
  const float leftWing[6] = {0.46f, 0.46f, 0.05f, 0.30f, 0.19f, 0.19f};
  const float rightWing[6] = {0.46f, 0.46f, 0.30f, 0.05f, 0.19f, 0.19f};
  const float canopy[6] = {0.41f, 0.41f, 0.28f, 0.33f, 0.33f, 0.28f};
  Sample s;
  if (inTriangle(canopy, x, y)) {
    s = {0.15f, 0.45f, 0.85f, true};
  } else if (inTriangle(leftWing, x, y)) {
    s = {0.82f, 0.84f, 0.88f, true};
  } else if (inTriangle(rightWing, x, y)) {
    s = {0.62f, 0.64f, 0.70f, true};
  } else {
    float dx = x - 0.16f, dy = y - 0.16f;
    if (dx * dx + dy * dy < 0.04f * 0.04f) s = {1.0f, 0.55f, 0.10f, true};
  }
  return s;
}

void put32be(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  put32be(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32be(out, crc32(&out[start], out.size() - start));
}

// A zlib stream of the bytes in stored deflate blocks of at most 65535 bytes.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t length = std::min<size_t>(raw.size() - pos, 65535);
    bool last = pos + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(length & 0xff);
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(~length & 0xff);
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + length));
    pos += length;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;  // Adler-32
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32be(out, (b << 16) | a);
  return out;
}

}  // namespace

RgbaImage paintIcon(int size) {
  const Image earth = paintEarth(256, 128);
  RgbaImage icon;
  icon.width = icon.height = size;
  icon.rgba.resize(static_cast<size_t>(size) * size * 4);
  const int grid = 4;
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      float r = 0, g = 0, b = 0;
      int covered = 0;
      for (int sy = 0; sy < grid; ++sy) {
        for (int sx = 0; sx < grid; ++sx) {
          float x = (column + (sx + 0.5f) / grid) / size;
          float y = (row + (sy + 0.5f) / grid) / size;
          Sample s = fighterAt(x, y);
          if (!s.covered) s = planetAt(earth, x, y);
          if (!s.covered) continue;
          r += s.r, g += s.g, b += s.b;
          ++covered;
        }
      }
      uint8_t* out = &icon.rgba[(static_cast<size_t>(row) * size + column) * 4];
      if (covered > 0) {
        out[0] = static_cast<uint8_t>(std::clamp(r / covered, 0.0f, 1.0f) * 255.0f + 0.5f);
        out[1] = static_cast<uint8_t>(std::clamp(g / covered, 0.0f, 1.0f) * 255.0f + 0.5f);
        out[2] = static_cast<uint8_t>(std::clamp(b / covered, 0.0f, 1.0f) * 255.0f + 0.5f);
      }
      out[3] = static_cast<uint8_t>(covered * 255 / (grid * grid));
    }
  }
  return icon;
}

std::vector<uint8_t> encodePng(const RgbaImage& image) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  put32be(header, static_cast<uint32_t>(image.width));
  put32be(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  putChunk(out, "IHDR", header);
  // Each row is its filter type (0: none) followed by its pixels.
  std::vector<uint8_t> raw;
  const size_t rowBytes = static_cast<size_t>(image.width) * 4;
  for (int row = 0; row < image.height; ++row) {
    raw.push_back(0);
    const uint8_t* pixels = &image.rgba[row * rowBytes];
    raw.insert(raw.end(), pixels, pixels + rowBytes);
  }
  putChunk(out, "IDAT", zlibStored(raw));
  putChunk(out, "IEND", {});
  return out;
}

static void put16le(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

static void put32le(std::vector<uint8_t>& out, uint32_t value) {
  put16le(out, static_cast<uint16_t>(value));
  put16le(out, static_cast<uint16_t>(value >> 16));
}

std::vector<uint8_t> encodeIco(const std::vector<RgbaImage>& images) {
  std::vector<std::vector<uint8_t>> pngs;
  std::vector<const RgbaImage*> kept;
  for (const RgbaImage& image : images) {
    if (image.width < 1 || image.height < 1 || image.width > 256 || image.height > 256) continue;
    kept.push_back(&image);
    pngs.push_back(encodePng(image));
  }
  // The directory: reserved, type 1 (icon), count; then one 16-byte entry
  // an image, where a side of 256 is written as 0.
  std::vector<uint8_t> out;
  put16le(out, 0);
  put16le(out, 1);
  put16le(out, static_cast<uint16_t>(kept.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * kept.size());
  for (size_t i = 0; i < kept.size(); ++i) {
    out.push_back(static_cast<uint8_t>(kept[i]->width & 0xff));
    out.push_back(static_cast<uint8_t>(kept[i]->height & 0xff));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16le(out, 1);   // colour planes
    put16le(out, 32);  // bits a pixel
    put32le(out, static_cast<uint32_t>(pngs[i].size()));
    put32le(out, offset);
    offset += static_cast<uint32_t>(pngs[i].size());
  }
  for (const std::vector<uint8_t>& png : pngs) out.insert(out.end(), png.begin(), png.end());
  return out;
}

#include <algorithm>
#include <utility>

#include "platform/image/byte_order.h"
#include "platform/image/readers.h"

namespace {

// A 5-bit channel scaled to 0..255, rounded: 31 gives 255.
uint8_t widen5(uint32_t value) { return uint8_t((value * 255 + 15) / 31); }

// The header fields decoding needs; the check has made sure they hold values
// of the kinds below and that the colour map is in the file.
struct TgaHeader {
  uint32_t width, height, depth, type;
  uint32_t mapFirst, mapLength, mapBits;
  const uint8_t* map;  // mapLength entries of (mapBits + 7) / 8 bytes, or null
  size_t dataStart;
  bool topDown, rightToLeft;
  bool attributeAlpha;  // a 16-bit pixel's top bit is its alpha
};

TgaHeader readHeader(const uint8_t* b) {
  TgaHeader h;
  h.type = b[2];
  h.mapFirst = le16(b + 3);
  h.mapLength = le16(b + 5);
  h.mapBits = b[7];
  h.width = le16(b + 12);
  h.height = le16(b + 14);
  h.depth = b[16];
  h.topDown = b[17] & 0x20;
  h.rightToLeft = b[17] & 0x10;
  h.attributeAlpha = (b[17] & 15) != 0;
  size_t mapStart = 18 + size_t(b[0]);
  h.map = b[1] == 1 ? b + mapStart : nullptr;
  h.dataStart = mapStart + (h.map ? size_t(h.mapLength) * ((h.mapBits + 7) / 8) : 0);
  return h;
}

// The colour of one stored pixel, RGBA.
struct PixelReader {
  const TgaHeader& h;

  void colour(const uint8_t* p, uint8_t* out) const {
    if (h.type == 1 || h.type == 9) {
      mapEntry(p[0], out);
    } else if (h.type == 3 || h.type == 11) {
      out[0] = out[1] = out[2] = p[0];
      out[3] = h.depth == 16 ? p[1] : 255;
    } else if (h.depth <= 16) {
      uint32_t v = le16(p);
      rgb555(v, out);
      out[3] = h.depth == 16 && h.attributeAlpha && !(v & 0x8000) ? 0 : 255;
    } else {
      out[0] = p[2], out[1] = p[1], out[2] = p[0];
      out[3] = h.depth == 32 ? p[3] : 255;
    }
  }

  static void rgb555(uint32_t v, uint8_t* out) {
    out[0] = widen5((v >> 10) & 31);
    out[1] = widen5((v >> 5) & 31);
    out[2] = widen5(v & 31);
  }

  // Pixel index i names map entry i - mapFirst; an index with no entry is
  // opaque black.
  void mapEntry(uint32_t index, uint8_t* out) const {
    uint32_t entry = index - h.mapFirst;  // wraps past mapLength below mapFirst
    out[0] = out[1] = out[2] = 0;
    out[3] = 255;
    if (index < h.mapFirst || entry >= h.mapLength) return;
    const uint8_t* e = h.map + size_t(entry) * ((h.mapBits + 7) / 8);
    if (h.mapBits <= 16) {
      rgb555(le16(e), out);
    } else {
      out[0] = e[2], out[1] = e[1], out[2] = e[0];
      if (h.mapBits == 32) out[3] = e[3];
    }
  }
};

}  // namespace

const char* readTga(const uint8_t* bytes, size_t size, ImagePixels& image) {
  TgaHeader h = readHeader(bytes);
  PixelReader reader{h};
  const size_t pixelBytes = (h.depth + 7) / 8, count = size_t(h.width) * h.height;
  ImagePixels decoded;
  decoded.width = int(h.width);
  decoded.height = int(h.height);
  decoded.rgba.resize(count * 4);
  // The n-th pixel stored, placed by the descriptor's order: rows from the
  // bottom unless top down, pixels from the left unless right to left.
  auto place = [&](size_t n, const uint8_t* colour) {
    size_t row = n / h.width, column = n % h.width;
    if (!h.topDown) row = h.height - 1 - row;
    if (h.rightToLeft) column = h.width - 1 - column;
    uint8_t* out = &decoded.rgba[(row * h.width + column) * 4];
    for (int c = 0; c < 4; ++c) out[c] = colour[c];
  };
  uint8_t colour[4] = {0, 0, 0, 0};
  size_t pos = h.dataStart;
  if (h.type < 9) {  // the check has made sure every pixel is in the file
    for (size_t n = 0; n < count; ++n, pos += pixelBytes) {
      reader.colour(bytes + pos, colour);
      place(n, colour);
    }
  } else {
    // Packets: a run of one pixel repeated, or pixels as they are; 1 to 128
    // pixels each, crossing rows as they like. Pixels missing at the end
    // refuse the image rather than leave it partly unwritten.
    for (size_t n = 0; n < count;) {
      if (pos >= size) return kCutImage;
      uint32_t packet = bytes[pos++];
      size_t length = std::min<size_t>((packet & 0x7F) + 1, count - n);
      bool run = packet & 0x80;
      if (size - pos < (run ? 1 : length) * pixelBytes) return kCutImage;
      for (size_t i = 0; i < length; ++i, ++n) {
        if (i == 0 || !run) {
          reader.colour(bytes + pos, colour);
          pos += pixelBytes;
        }
        place(n, colour);
      }
    }
  }
  image = std::move(decoded);
  return nullptr;
}

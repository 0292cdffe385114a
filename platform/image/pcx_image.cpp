#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/image/byte_order.h"
#include "platform/image/readers.h"

namespace {

// The header fields decoding needs; the check has made sure of the layout
// (one to four planes of one bit, or one, three or four planes of a byte)
// and that a plane's row holds the image's width.
struct PcxHeader {
  uint32_t width, height, bits, planes, bytesPerLine;
  const uint8_t* colours16;   // the header's 16 entries: red, green, blue
  const uint8_t* colours256;  // the 256 entries after the pixel data, or null
  size_t dataEnd;             // where the pixel data ends: the file's end or the 256 entries' marker
};

PcxHeader readHeader(const uint8_t* b, size_t size) {
  PcxHeader h;
  h.bits = b[3];
  h.planes = b[65];
  h.width = le16(b + 8) - le16(b + 4) + 1;
  h.height = le16(b + 10) - le16(b + 6) + 1;
  h.bytesPerLine = le16(b + 66);
  h.colours16 = b + 16;
  // The 256 colours come last, after a byte 12; without them an index is a
  // grey level.
  bool listed = h.bits == 8 && h.planes == 1 && size >= 128 + 769 && b[size - 769] == 12;
  h.colours256 = listed ? b + size - 768 : nullptr;
  h.dataEnd = listed ? size - 769 : size;
  return h;
}

// The run-length coded bytes of the pixel data, one plane row after another.
// A run may go on into the next row.
struct Decoder {
  const uint8_t* bytes;
  size_t pos, end;
  uint32_t runLeft = 0;
  uint8_t runValue = 0;

  // Fills `line` with the next bytes; false when the data ends first.
  bool fill(std::vector<uint8_t>& line) {
    size_t filled = 0;
    while (filled < line.size()) {
      if (runLeft > 0) {
        size_t n = std::min<size_t>(runLeft, line.size() - filled);
        memset(&line[filled], runValue, n);
        filled += n;
        runLeft -= uint32_t(n);
        continue;
      }
      if (pos >= end) return false;
      uint8_t code = bytes[pos++];
      if ((code & 0xC0) != 0xC0) {
        line[filled++] = code;
        continue;
      }
      if (pos >= end) return false;
      runLeft = code & 0x3F;
      runValue = bytes[pos++];
    }
    return true;
  }
};

void colourOf(const PcxHeader& h, const uint8_t* line, uint32_t x, uint8_t* out) {
  out[3] = 255;
  if (h.bits == 1) {
    uint32_t index = 0;
    for (uint32_t p = 0; p < h.planes; ++p) index |= ((line[p * h.bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
    if (h.planes == 1) {  // black and white, whatever the header lists
      out[0] = out[1] = out[2] = index ? 255 : 0;
    } else {
      memcpy(out, h.colours16 + 3 * index, 3);
    }
  } else if (h.planes == 1) {
    if (h.colours256) {
      memcpy(out, h.colours256 + 3 * line[x], 3);
    } else {
      out[0] = out[1] = out[2] = line[x];
    }
  } else {
    for (uint32_t c = 0; c < h.planes; ++c) out[c] = line[c * h.bytesPerLine + x];
  }
}

}  // namespace

const char* readPcx(const uint8_t* bytes, size_t size, ImagePixels& image) {
  PcxHeader h = readHeader(bytes, size);
  Decoder decoder{bytes, 128, h.dataEnd};
  std::vector<uint8_t> line(size_t(h.planes) * h.bytesPerLine);
  ImagePixels decoded;
  decoded.width = int(h.width);
  decoded.height = int(h.height);
  decoded.rgba.resize(size_t(h.width) * h.height * 4);
  for (uint32_t y = 0; y < h.height; ++y) {
    if (!decoder.fill(line)) return kCutImage;
    uint8_t* out = &decoded.rgba[size_t(y) * h.width * 4];
    for (uint32_t x = 0; x < h.width; ++x, out += 4) colourOf(h, line.data(), x, out);
  }
  image = std::move(decoded);
  return nullptr;
}

#include <algorithm>
#include <utility>

#include "platform/image/byte_order.h"
#include "platform/image/readers.h"

namespace {

// The fields of a palette BMP's header that decoding needs. The check has
// made sure the header is whole, the pixel data starts past it and, for
// uncoded pixels, that every row is in the file.
struct BmpHeader {
  uint32_t width, height, bits, compression;
  bool topDown;  // a negative height: the top row is stored first
  const uint8_t* palette;
  uint32_t entryBytes;  // 3 (OS/2 1.x: blue, green, red) or 4 (and a byte unused)
  uint32_t colours;     // entries listed, no more than the file holds
  size_t dataStart;
};

BmpHeader readHeader(const uint8_t* b) {
  BmpHeader h;
  uint32_t headerSize = le32(b + 14);
  h.dataStart = le32(b + 10);
  uint32_t listed = 0;
  if (headerSize == 12) {
    h.width = le16(b + 18);
    h.height = le16(b + 20);
    h.topDown = false;
    h.bits = le16(b + 24);
    h.compression = 0;
    h.entryBytes = 3;
  } else {
    int32_t height = static_cast<int32_t>(le32(b + 22));
    h.width = le32(b + 18);
    h.topDown = height < 0;
    h.height = h.topDown ? 0u - uint32_t(height) : uint32_t(height);
    h.bits = le16(b + 28);
    h.compression = le32(b + 30);
    h.entryBytes = 4;
    listed = le32(b + 46);
  }
  h.palette = b + 14 + headerSize;
  size_t room = (h.dataStart - 14 - headerSize) / h.entryBytes;
  h.colours = uint32_t(std::min<size_t>(listed ? listed : 1u << h.bits, room));
  return h;
}

// The image's pixels, all opaque black at first, with `put` colouring one
// from the palette. Rows are counted as stored: from the bottom, or from
// the top in a top-down image.
struct Canvas {
  const BmpHeader& h;
  ImagePixels image;

  explicit Canvas(const BmpHeader& header) : h(header) {
    image.width = int(h.width);
    image.height = int(h.height);
    image.rgba.resize(size_t(h.width) * h.height * 4, 0);
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  }

  // An index past the colours listed stays black.
  void put(uint32_t column, uint32_t storedRow, uint32_t index) {
    if (column >= h.width || storedRow >= h.height || index >= h.colours) return;
    const uint8_t* entry = h.palette + h.entryBytes * index;
    uint32_t row = h.topDown ? storedRow : h.height - 1 - storedRow;
    uint8_t* out = &image.rgba[(size_t(row) * h.width + column) * 4];
    out[0] = entry[2];
    out[1] = entry[1];
    out[2] = entry[0];
  }
};

uint32_t indexAt(const uint8_t* row, uint32_t column, uint32_t bits) {
  uint32_t bit = column * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

void readUncoded(const uint8_t* b, const BmpHeader& h, Canvas& canvas) {
  size_t rowBytes = (size_t(h.width) * h.bits + 31) / 32 * 4;
  for (uint32_t y = 0; y < h.height; ++y) {
    const uint8_t* row = b + h.dataStart + y * rowBytes;
    for (uint32_t x = 0; x < h.width; ++x) canvas.put(x, y, indexAt(row, x, h.bits));
  }
}

// Run-length coded pixels (RLE8, or RLE4 when `bits` is 4). A code cut short
// by the end of the file ends the image as an end-of-bitmap code would.
void readRunLength(const uint8_t* b, size_t size, const BmpHeader& h, Canvas& canvas) {
  uint32_t x = 0, y = 0;
  auto nibble = [](uint8_t byte, uint32_t i) { return i % 2 ? byte & 15u : uint32_t(byte >> 4); };
  size_t pos = h.dataStart;
  while (y < h.height && pos + 2 <= size) {
    uint32_t count = b[pos], value = b[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of `count` pixels
      for (uint32_t i = 0; i < count && x + i < h.width; ++i) {
        canvas.put(x + i, y, h.bits == 8 ? value : nibble(uint8_t(value), i));
      }
      x = std::min(x + count, h.width);  // past the row's end nothing more is drawn
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up, skipping pixels
      if (size - pos < 2) break;
      x = std::min(x + b[pos], h.width);
      y += b[pos + 1];
      pos += 2;
    } else {  // `value` pixels stored as they are, padded to an even byte count
      size_t bytes = h.bits == 8 ? value : (value + 1) / 2;
      if (size - pos < bytes) break;
      for (uint32_t i = 0; i < value && x + i < h.width; ++i) {
        canvas.put(x + i, y, h.bits == 8 ? b[pos + i] : nibble(b[pos + i / 2], i));
      }
      x = std::min(x + value, h.width);
      pos += bytes + bytes % 2;
    }
  }
}

}  // namespace

const char* readPaletteBmp(const uint8_t* bytes, size_t size, ImagePixels& image) {
  BmpHeader h = readHeader(bytes);
  Canvas canvas(h);
  if (h.compression == 0) {
    readUncoded(bytes, h, canvas);
  } else {
    readRunLength(bytes, size, h, canvas);
  }
  image = std::move(canvas.image);
  return nullptr;
}

#include "model/bmp_image.h"

#include <IL/il.h>

#include <algorithm>
#include <vector>

#include "model/byte_order.h"

namespace {

void putLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

const char* const kDamaged = "the image is damaged";

// The fields of a Windows information header (40 bytes or more) that
// decoding needs.
struct BmpHeader {
  uint32_t headerSize, dataStart, width, height, bits, compression;
  bool topDown;  // a negative height: the top row is stored first
  const uint8_t* palette;  // blue, green, red, unused: 4 bytes an entry
  uint32_t colours;        // entries listed, no more than the file holds
};

BmpHeader readHeader(const uint8_t* b) {
  BmpHeader h;
  h.dataStart = le32(b + 10);
  h.headerSize = le32(b + 14);
  int32_t height = static_cast<int32_t>(le32(b + 22));
  h.width = le32(b + 18);
  h.topDown = height < 0;
  h.height = h.topDown ? 0u - uint32_t(height) : uint32_t(height);
  h.bits = le16(b + 28);
  h.compression = le32(b + 30);
  uint32_t listed = le32(b + 46);
  h.palette = b + 14 + h.headerSize;
  uint32_t room = (h.dataStart - 14 - h.headerSize) / 4;
  h.colours = h.bits > 8 ? 0 : std::min(listed ? listed : 1u << h.bits, room);
  return h;
}

// Run-length coded pixels (RLE8, or RLE4 when `bits` is 4) expanded through
// the palette into RGB rows, bottom row first, in DevIL's bound image. A code
// cut short by the end of the file ends the image as an end-of-bitmap code
// would.
bool decodeRunLength(const uint8_t* b, size_t size, const BmpHeader& h) {
  std::vector<uint8_t> rgb(size_t(h.width) * h.height * 3, 0);
  uint32_t x = 0, y = 0;
  auto put = [&](uint32_t column, uint32_t index) {
    if (column >= h.width || y >= h.height || index >= h.colours) return;
    const uint8_t* entry = h.palette + 4 * index;
    uint8_t* out = &rgb[((h.topDown ? h.height - 1 - y : y) * size_t(h.width) + column) * 3];
    out[0] = entry[2];
    out[1] = entry[1];
    out[2] = entry[0];
  };
  auto nibble = [](uint8_t byte, uint32_t i) { return i % 2 ? byte & 15u : uint32_t(byte >> 4); };
  size_t pos = h.dataStart;
  while (y < h.height && pos + 2 <= size) {
    uint32_t count = b[pos], value = b[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of `count` pixels
      for (uint32_t i = 0; i < count && x + i < h.width; ++i) {
        put(x + i, h.bits == 8 ? value : nibble(uint8_t(value), i));
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
        put(x + i, h.bits == 8 ? b[pos + i] : nibble(b[pos + i / 2], i));
      }
      x = std::min(x + value, h.width);
      pos += bytes + bytes % 2;
    }
  }
  return ilTexImage(h.width, h.height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data()) == IL_TRUE;
}

// The bit-field masks of a 16- or 32-bit image are ones DevIL reads right.
bool usualMasks(const uint8_t* masks, uint32_t bits) {
  uint32_t red = le32(masks), green = le32(masks + 4), blue = le32(masks + 8);
  if (bits == 32) return red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
  return blue == 0x1F && ((red == 0x7C00 && green == 0x3E0) || (red == 0xF800 && green == 0x7E0));
}

// The same file behind a 40-byte header: the header's first 40 bytes, then
// for a bit-field image its masks, where DevIL looks for them, just before
// the pixels; otherwise whatever followed the header (palette, pixels).
std::vector<uint8_t> withPlainHeader(const uint8_t* b, size_t size, const BmpHeader& h) {
  bool bitFields = h.compression == 3;
  std::vector<uint8_t> plain(b, b + 14 + 40);
  if (bitFields) {
    plain.insert(plain.end(), b + 14 + 40, b + 14 + 52);
    plain.insert(plain.end(), b + h.dataStart, b + size);
  } else {
    plain.insert(plain.end(), b + 14 + h.headerSize, b + size);
  }
  putLe32(&plain[2], uint32_t(plain.size()));
  putLe32(&plain[10], bitFields ? 14 + 52 : h.dataStart - (h.headerSize - 40));
  putLe32(&plain[14], 40);
  return plain;
}

}  // namespace

bool decodeBmp(const uint8_t* bytes, size_t size, const char** failure) {
  *failure = nullptr;
  uint32_t headerSize = le32(bytes + 14);
  if (headerSize == 12 || headerSize == 40) {
    bool run = headerSize == 40 && (le32(bytes + 30) == 1 || le32(bytes + 30) == 2);
    if (!run) {
      if (ilLoadL(IL_BMP, bytes, ILuint(size)) != IL_TRUE) *failure = kDamaged;
      return !*failure;
    }
  } else if (headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124) {
    *failure = "a BMP header of a version no tool writes";
    return false;
  }
  BmpHeader h = readHeader(bytes);
  if (h.compression == 1 || h.compression == 2) {
    if (!decodeRunLength(bytes, size, h)) *failure = kDamaged;
    return !*failure;
  }
  if (h.compression == 3 && !usualMasks(bytes + 14 + 40, h.bits)) {
    *failure = "BMP bit-field masks other than the usual 8-8-8, 5-5-5 or 5-6-5";
    return false;
  }
  std::vector<uint8_t> plain = withPlainHeader(bytes, size, h);
  if (ilLoadL(IL_BMP, plain.data(), ILuint(plain.size())) != IL_TRUE) *failure = kDamaged;
  return !*failure;
}

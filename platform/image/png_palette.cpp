#include <cstring>

#include "platform/image/byte_order.h"
#include "platform/image/image_check.h"
#include "platform/image/readers.h"

namespace {

void putBe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}

}  // namespace

bool padPngPalette(const uint8_t* b, size_t size, std::vector<uint8_t>& padded) {
  // The check has made sure every chunk is whole and IHDR comes first.
  const uint8_t* header = b + 16;
  if (header[9] != 3) return false;  // colour type 3: palette indices
  uint32_t indices = header[8] >= 8 ? 256 : 1u << header[8];
  for (size_t pos = 8; size - pos >= 12;) {
    uint32_t length = be32(b + pos);
    if (memcmp(b + pos + 4, "IDAT", 4) == 0) return false;  // no palette before the pixels
    if (memcmp(b + pos + 4, "PLTE", 4) == 0) {
      if (length % 3 != 0 || length / 3 >= indices) return false;
      // The chunk again, its entries followed by black ones, with its CRC.
      std::vector<uint8_t> chunk(12 + 3 * indices, 0);
      putBe32(&chunk[0], 3 * indices);
      memcpy(&chunk[4], b + pos + 4, 4 + length);
      putBe32(&chunk[8 + 3 * indices], crc32(&chunk[4], 4 + 3 * indices));
      padded.assign(b, b + pos);
      padded.insert(padded.end(), chunk.begin(), chunk.end());
      padded.insert(padded.end(), b + pos + 12 + length, b + size);
      return true;
    }
    pos += 12 + size_t(length);
  }
  return false;
}

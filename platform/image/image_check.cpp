#include "platform/image/image_check.h"

#include <cstring>

#include "platform/image/byte_order.h"

namespace {

bool sizeFits(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

// The chunks from the signature to IEND, each whole with its CRC right, a
// valid IHDR first and some image data.
bool pngIsWhole(const uint8_t* b, size_t size) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < 8 || memcmp(b, signature, 8) != 0) return false;
  bool seenData = false;
  for (size_t pos = 8; size - pos >= 12;) {
    uint32_t length = be32(b + pos);
    if (length > size - pos - 12) return false;
    const uint8_t* type = b + pos + 4;
    if (crc32(type, length + 4) != be32(type + 4 + length)) return false;
    if (pos == 8) {
      const uint8_t* h = type + 4;
      if (memcmp(type, "IHDR", 4) != 0 || length != 13 || !sizeFits(be32(h), be32(h + 4))) return false;
      if (h[8] == 0 || h[8] > 16 || (h[8] & (h[8] - 1)) != 0 || h[9] > 6 || h[9] == 1 || h[9] == 5 ||
          h[12] > 1) {
        return false;
      }
    }
    if (memcmp(type, "IDAT", 4) == 0) seenData = true;
    if (memcmp(type, "IEND", 4) == 0) return seenData;
    pos += 12 + length;
  }
  return false;
}

// A start-of-frame segment with a size within the limits, reached through
// whole segments before the scan starts.
bool jpegFrameFits(const uint8_t* b, size_t size) {
  if (size < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  bool seenFrame = false;
  size_t pos = 2;
  while (pos < size) {
    if (b[pos] != 0xFF) return false;
    while (pos < size && b[pos] == 0xFF) ++pos;  // fill bytes
    if (pos >= size) return false;
    uint8_t marker = b[pos++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD8 || marker == 0xD9 || size - pos < 2) return false;
    uint32_t length = be16(b + pos);
    if (length < 2 || length > size - pos) return false;
    bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 8 || !sizeFits(be16(b + pos + 5), be16(b + pos + 3))) return false;
      seenFrame = true;
    }
    if (marker == 0xDA) return seenFrame;
    pos += length;
  }
  return false;
}

// Bytes per row of `bits`-per-pixel pixels padded as the format pads them.
uint64_t rowBytes(uint64_t width, uint32_t bits, uint32_t alignment) {
  uint64_t bytes = (width * bits + 7) / 8;
  return (bytes + alignment - 1) / alignment * alignment;
}

bool bmpFits(const uint8_t* b, size_t size) {
  if (size < 26 || b[0] != 'B' || b[1] != 'M') return false;
  uint32_t dataStart = le32(b + 10), headerSize = le32(b + 14);
  uint64_t width, height;
  uint32_t bits, compression = 0;
  if (headerSize == 12) {  // OS/2 1.x
    width = le16(b + 18);
    height = le16(b + 20);
    bits = le16(b + 24);
  } else {
    if (headerSize < 40 || size < 54) return false;
    int32_t w = static_cast<int32_t>(le32(b + 18)), h = static_cast<int32_t>(le32(b + 22));
    if (w <= 0 || h == 0 || h == INT32_MIN) return false;
    width = static_cast<uint64_t>(w);
    height = static_cast<uint64_t>(h < 0 ? -h : h);  // negative: stored top row first
    bits = le16(b + 28);
    compression = le32(b + 30);
  }
  if (!sizeFits(width, height) || dataStart < 14 + uint64_t(headerSize) || dataStart > size) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  // Colours listed for a palette image: no more than its pixels can index.
  if (headerSize >= 40 && bits <= 8 && le32(b + 46) > (1u << bits)) return false;
  switch (compression) {
    case 0: break;
    case 1: return bits == 8 && headerSize >= 40;  // run-length coded: read up to the end of the file
    case 2: return bits == 4 && headerSize >= 40;
    case 3: if (bits != 16 && bits != 32) return false; break;
    default: return false;
  }
  return rowBytes(width, bits, 4) * height <= size - dataStart;
}

// Targa has no signature: the header's fields must all hold values the
// Targa reader reads, and an uncoded image must be whole.
bool tgaFits(const uint8_t* b, size_t size) {
  if (size < 18) return false;
  uint32_t idLength = b[0], mapType = b[1], type = b[2];
  uint32_t mapLength = le16(b + 5), mapBits = b[7], depth = b[16];
  bool mapped = type == 1 || type == 9, grey = type == 3 || type == 11;
  if (mapType > 1 || (mapped && mapType != 1) || !(mapped || grey || type == 2 || type == 10)) return false;
  if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) return false;
  if (mapped ? depth != 8 : grey ? depth != 8 && depth != 16
                                 : depth != 15 && depth != 16 && depth != 24 && depth != 32) {
    return false;
  }
  uint64_t width = le16(b + 12), height = le16(b + 14);
  uint64_t dataStart = 18 + idLength + (mapType ? mapLength * ((mapBits + 7) / 8) : 0);
  if (!sizeFits(width, height) || dataStart >= size) return false;
  return type >= 9 || width * height * ((depth + 7) / 8) <= size - dataStart;
}

// Skips the data sub-blocks at `pos`, up to and past their terminator.
bool skipGifSubBlocks(const uint8_t* b, size_t size, size_t& pos) {
  while (pos < size) {
    uint32_t length = b[pos++];
    if (length == 0) return true;
    if (length > size - pos) return false;
    pos += length;
  }
  return false;
}

// Every block whole up to the trailer, and every frame within the size
// limits. Frames may lie partly outside the logical screen and be
// interlaced: only the first is decoded, and placed on the screen by the
// GIF reader.
bool gifFits(const uint8_t* b, size_t size) {
  if (size < 13 || (memcmp(b, "GIF87a", 6) != 0 && memcmp(b, "GIF89a", 6) != 0)) return false;
  uint32_t screenWidth = le16(b + 6), screenHeight = le16(b + 8);
  if (!sizeFits(screenWidth, screenHeight)) return false;
  size_t pos = 13;
  if (b[10] & 0x80) pos += 3u << ((b[10] & 7) + 1);  // global colour table
  bool seenFrame = false;
  while (pos < size) {
    uint8_t block = b[pos++];
    if (block == 0x3B) return seenFrame;
    if (block == 0x21) {  // extension: its label, then sub-blocks
      if (pos++ >= size || !skipGifSubBlocks(b, size, pos)) return false;
    } else if (block == 0x2C) {
      if (size - pos < 9) return false;
      const uint8_t* d = b + pos;
      if (!sizeFits(le16(d + 4), le16(d + 6))) return false;
      pos += 9;
      if (d[8] & 0x80) pos += 3u << ((d[8] & 7) + 1);  // local colour table
      if (pos >= size || b[pos] < 2 || b[pos] > 8) return false;  // LZW code size
      ++pos;
      if (!skipGifSubBlocks(b, size, pos)) return false;
      seenFrame = true;
    } else {
      return false;
    }
  }
  return false;
}

// The layouts tools write: one to four planes of one bit (2 to 16 colours
// from the header's palette), 256 colours, RGB or RGBA in planes of a byte.
bool pcxFits(const uint8_t* b, size_t size) {
  if (size < 128 || b[0] != 0x0A || b[1] > 5 || b[1] == 1 || b[2] != 1) return false;
  uint32_t bits = b[3], planes = b[65];
  if (!(bits == 1 && planes >= 1 && planes <= 4) && !(bits == 8 && (planes == 1 || planes == 3 || planes == 4))) {
    return false;
  }
  uint32_t xMin = le16(b + 4), yMin = le16(b + 6), xMax = le16(b + 8), yMax = le16(b + 10);
  if (xMax < xMin || yMax < yMin) return false;
  uint64_t width = xMax - xMin + 1, height = yMax - yMin + 1;
  uint64_t bytesPerLine = le16(b + 66);
  // A run of up to 63 bytes takes two: a file holding less than a 32nd of
  // the plane rows it declares is cut short.
  return sizeFits(width, height) && bytesPerLine >= rowBytes(width, bits, 1) &&
         planes * bytesPerLine * height <= 32 * uint64_t(size - 128);
}

}  // namespace

// Four bytes a step (slicing by 4): table k gives the CRC of a byte followed
// by k zero bytes, so the four lookups of a step are independent.
uint32_t crc32(const uint8_t* bytes, size_t size) {
  static const struct Tables {
    uint32_t entry[4][256];
    Tables() {
      for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        entry[0][n] = c;
      }
      for (uint32_t n = 0; n < 256; ++n) {
        for (int k = 1; k < 4; ++k) entry[k][n] = entry[0][entry[k - 1][n] & 0xFF] ^ (entry[k - 1][n] >> 8);
      }
    }
  } tables;
  const auto& t = tables.entry;
  uint32_t c = 0xFFFFFFFFu;
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    c ^= le32(bytes + i);
    c = t[3][c & 0xFF] ^ t[2][(c >> 8) & 0xFF] ^ t[1][(c >> 16) & 0xFF] ^ t[0][c >> 24];
  }
  for (; i < size; ++i) c = t[0][(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

ImageType checkedImageType(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0 || size > kMaxImageFileBytes) return kNoImage;
  if (pngIsWhole(bytes, size)) return kPngImage;
  if (jpegFrameFits(bytes, size)) return kJpegImage;
  if (bmpFits(bytes, size)) return kBmpImage;
  if (gifFits(bytes, size)) return kGifImage;
  if (pcxFits(bytes, size)) return kPcxImage;
  // PNM (PPM, PGM, PBM) is none of them: no 3DS tool names one, and its
  // readers have failed unsafely on damaged ones (DevIL's freed its pixels
  // twice and hung).
  // Last: with no signature, a Targa header is recognised by its values alone.
  if (tgaFits(bytes, size)) return kTgaImage;
  return kNoImage;
}

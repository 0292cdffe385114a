#include "tests/model/image_files.h"

#include "platform/image/image_check.h"

namespace imagefiles {

std::string bmp(uint32_t headerSize, int width, int height, int bits, uint32_t compression, const std::string& masks,
                const std::string& palette, const std::string& pixels, uint32_t colours) {
  std::string info = le32(headerSize) + le32(width) + le32(height) + le16(1) + le16(bits) + le32(compression) +
                     le32(uint32_t(pixels.size())) + le32(2835) + le32(2835) + le32(colours) + le32(0) + masks;
  info.resize(headerSize, '\0');
  uint32_t start = 14 + headerSize + uint32_t(palette.size());
  return "BM" + le32(start + uint32_t(pixels.size())) + le32(0) + le32(start) + info + palette + pixels;
}

std::string tga(int type, int width, int height, int depth, const std::string& pixels, const std::string& map,
                int mapFirst, int mapBits, int descriptor) {
  int entries = map.empty() ? 0 : int(map.size()) / ((mapBits + 7) / 8);
  return std::string{0, char(map.empty() ? 0 : 1), char(type)} + le16(mapFirst) + le16(entries) +
         char(map.empty() ? 0 : mapBits) + le32(0) + le16(width) + le16(height) + char(depth) + char(descriptor) +
         map + pixels;
}

namespace {

int tableBits(const std::string& table) {  // entries = 2 << bits
  int bits = 0;
  while ((6 << bits) < int(table.size())) ++bits;
  return bits;
}

}  // namespace

std::string gif(int width, int height, const std::string& globalTable, int background,
                const std::vector<GifFrame>& frames) {
  std::string out = "GIF89a" + le16(width) + le16(height);
  out += char(globalTable.empty() ? 0 : 0x80 | tableBits(globalTable));
  out += char(background);
  out += char(0);
  out += globalTable;
  for (const GifFrame& f : frames) {
    if (f.transparent >= 0) out += std::string{0x21, char(0xF9), 4, 1, 0, 0, char(f.transparent), 0};
    out += char(0x2C) + le16(f.left) + le16(f.top) + le16(f.width) + le16(f.height);
    out += char((f.interlaced ? 0x40 : 0) | (f.localTable.empty() ? 0 : 0x80 | tableBits(f.localTable)));
    out += f.localTable;
    // Code size 7: 8-bit codes, 128 clears, 129 ends; a handful of pixels
    // never fills the table far enough to widen them.
    std::string codes = char(0x80) + f.indices + char(0x81);
    out += char(7);
    for (size_t at = 0; at < codes.size(); at += 255) {
      std::string block = codes.substr(at, 255);
      out += char(block.size()) + block;
    }
    out += char(0);
  }
  return out + ";";
}

std::string pcx(int bits, int planes, int width, int height, int bytesPerLine, const std::string& planeRows,
                const std::string& header16, const std::string& palette256, int version) {
  std::string header = std::string{0x0A, char(version), 1, char(bits)} + le16(0) + le16(0) + le16(width - 1) +
                       le16(height - 1) + le16(72) + le16(72);
  header += header16;
  header.resize(65, '\0');
  header += char(planes) + le16(bytesPerLine) + le16(1);
  header.resize(128, '\0');
  std::string data;
  for (char byte : planeRows) {
    if ((uint8_t(byte) & 0xC0) == 0xC0) data += char(0xC1);  // a run of one
    data += byte;
  }
  return header + data + (palette256.empty() ? "" : char(12) + palette256);
}

namespace {

std::string pngChunk(const std::string& type, const std::string& data) {
  std::string typed = type + data;
  return be32(uint32_t(data.size())) + typed + be32(crc32(bytesOf(typed), typed.size()));
}

}  // namespace

std::string palettePng(int width, int height, const std::string& palette, const std::string& indices,
                       const std::string& alphas) {
  std::string raw;  // each row after its filter byte, 0: none
  for (int y = 0; y < height; ++y) raw += char(0) + indices.substr(size_t(y) * width, width);
  // A zlib stream of one stored block, then the Adler-32 of the data.
  uint32_t a = 1, b = 0;
  for (char c : raw) {
    a = (a + uint8_t(c)) % 65521;
    b = (b + a) % 65521;
  }
  std::string zlib = std::string{0x78, 0x01, 0x01} + le16(uint32_t(raw.size())) + le16(~uint32_t(raw.size())) + raw +
                     be32(b << 16 | a);
  std::string header = be32(width) + be32(height) + std::string{8, 3, 0, 0, 0};
  return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("PLTE", palette) +
         (alphas.empty() ? "" : pngChunk("tRNS", alphas)) + pngChunk("IDAT", zlib) + pngChunk("IEND", "");
}

}  // namespace imagefiles

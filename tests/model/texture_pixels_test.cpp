// Textures read back from OpenGL, made from images of a few pixels written
// here: palette indices checked, Targa colour maps that start past index 0,
// run-length BMPs that skip pixels, BMPs with the headers today's tools write.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/image_library.h"
#include "tests/model/model_test_util.h"

namespace {

std::string le16(uint32_t v) { return {char(v), char(v >> 8)}; }
std::string le32(uint32_t v) { return le16(v) + le16(v >> 16); }

// A BMP with a `headerSize`-byte information header whose fields past the
// first 40 are zero but for `masks`, then `palette`, then `pixels`.
std::string bmp(uint32_t headerSize, int width, int height, int bits, uint32_t compression, const std::string& masks,
                const std::string& palette, const std::string& pixels, uint32_t colours = 0) {
  std::string info = le32(headerSize) + le32(width) + le32(height) + le16(1) + le16(bits) + le32(compression) +
                     le32(uint32_t(pixels.size())) + le32(2835) + le32(2835) + le32(colours) + le32(0) + masks;
  info.resize(headerSize, '\0');
  uint32_t start = 14 + headerSize + uint32_t(palette.size());
  return "BM" + le32(start + uint32_t(pixels.size())) + le32(0) + le32(start) + info + palette + pixels;
}

// RGB texels of the texture that the image file `bytes` loads into, bottom
// row first; empty when it loads none or not at `width` x `height`.
std::vector<int> loadedTexels(const std::string& bytes, int width, int height) {
  prepareGL();
  ScratchDir dir;
  GLuint id = loadTextureImage(dir.write("image", bytes).c_str());
  if (id == 0) return {};
  glBindTexture(GL_TEXTURE_2D, id);
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  if (w != width || h != height) return {};
  std::vector<uint8_t> rgb(size_t(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glDeleteTextures(1, &id);
  return std::vector<int>(rgb.begin(), rgb.end());
}

TEST(TexturePixels, PaletteIndicesWithoutAnEntryGiveBlackAndColourMapsKeepTheirFirstIndex) {
  // 17 colours listed, indices up to 255 used: entry i is red 200, green 10 i, blue i.
  std::string palette;
  for (int i = 0; i < 17; ++i) palette += std::string{char(i), char(10 * i), char(200), 0};
  std::string pal17 = bmp(40, 4, 2, 8, 0, "", palette, std::string("\x00\x10\x11\xff\x01\x02\xc8\x03", 8), 17);
  EXPECT_EQ(loadedTexels(pal17, 4, 2), (std::vector<int>{200, 0, 0, 200, 160, 16, 0, 0, 0, 0, 0, 0,  //
                                                         200, 10, 1, 200, 20, 2, 0, 0, 0, 200, 30, 3}));

  // A Targa colour map of entries 39 to 110, entry k being red 200, green
  // 100, blue k; indices 0, 38, 111 and 255 name no entry.
  auto targa = [](int entryBits, bool topRowFirst, const std::string& indices) {
    std::string map;
    for (int k = 39; k <= 110; ++k) map += std::string{char(k), 100, char(200), char(255)}.substr(0, entryBits / 8);
    return std::string{0, 1, 1} + le16(39) + le16(72) + char(entryBits) + le32(0) + le16(4) + le16(2) + char(8) +
           char(topRowFirst ? 0x20 : 0) + map + indices;
  };
  std::vector<int> expected = {200, 100, 39, 200, 100, 40, 200, 100, 110, 0, 0, 0,  //
                               0, 0, 0, 0, 0, 0, 200, 100, 75, 0, 0, 0};
  EXPECT_EQ(loadedTexels(targa(24, false, std::string("\x27\x28\x6e\x6f\x00\x26\x4b\xff", 8)), 4, 2), expected);
  // The same picture stored top row first, with alpha in its map.
  EXPECT_EQ(loadedTexels(targa(32, true, std::string("\x00\x26\x4b\xff\x27\x28\x6e\x6f", 8)), 4, 2), expected);
}

TEST(TexturePixels, RunLengthBmpPixelsTheCodesSkipAreBlack) {
  // Three colours, none black: whatever a skipped pixel held would show.
  std::string palette("\x1e\x14\x0a\x00\x00\x00\xff\x00\x00\xff\x00\x00", 12);  // (10,20,30), red, green
  std::string codes("\x02\x01\x00\x02\x01\x00\x01\x02\x00\x00"  // 1 1, skip one, 2, end of line
                    "\x00\x03\x00\x01\x02\x00\x00\x00"          // 0 1 2 as stored, end of line
                    "\x01\x07\x00\x01",                         // index 7, not listed; end of bitmap
                    22);
  EXPECT_EQ(loadedTexels(bmp(40, 4, 3, 8, 1, "", palette, codes, 3), 4, 3),
            (std::vector<int>{255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0,  //
                              10, 20, 30, 255, 0, 0, 0, 255, 0, 0, 0, 0,  //
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // RLE4: a run of 3 alternating indices 1 and 2, then the end of the bitmap.
  EXPECT_EQ(loadedTexels(bmp(40, 4, 1, 4, 2, "", palette, std::string("\x03\x12\x00\x01", 4), 3), 4, 1),
            (std::vector<int>{255, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, 0}));
}

TEST(TexturePixels, BmpsWithNewerHeadersLoadWithTheirColoursAndUnusualMasksAreToldOnStandardError) {
  // Bottom row red, green; top row blue, (8, 20, 24): exact in 5-6-5 too.
  std::vector<int> expected = {248, 0, 0, 0, 252, 0, 0, 0, 248, 8, 20, 24};
  std::string bgr = std::string("\x00\x00\xf8\x00\xfc\x00\x00\x00", 8) +  // rows padded to 4 bytes
                    std::string("\xf8\x00\x00\x18\x14\x08\x00\x00", 8);
  EXPECT_EQ(loadedTexels(bmp(124, 2, 2, 24, 0, "", "", bgr), 2, 2), expected);
  std::string bgra = std::string("\x00\x00\xf8\xff\x00\xfc\x00\xff\xf8\x00\x00\xff\x18\x14\x08\xff", 16);
  std::string masks8888 = le32(0xFF0000) + le32(0xFF00) + le32(0xFF) + le32(0xFF000000);
  EXPECT_EQ(loadedTexels(bmp(108, 2, 2, 32, 3, masks8888, "", bgra), 2, 2), expected);
  std::string rgb565 = le16(0xF800) + le16(0x07E0) + le16(0x001F) + le16(1 << 11 | 5 << 5 | 3);
  EXPECT_EQ(loadedTexels(bmp(56, 2, 2, 16, 3, le32(0xF800) + le32(0x07E0) + le32(0x1F), "", rgb565), 2, 2), expected);
  // Red and blue masks swapped: refused, with one line naming the file on
  // standard error and nothing on the console.
  ScratchDir dir;
  std::string swapped = bmp(124, 2, 2, 32, 3, le32(0xFF) + le32(0xFF00) + le32(0xFF0000), "", bgra);
  std::string path = dir.write("swapped.bmp", swapped);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  GLuint id = loadTextureImage(path.c_str());
  std::string errors = ::testing::internal::GetCapturedStderr(), console = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(errors,
            "Texture '" + path + "' not loaded: BMP bit-field masks other than the usual 8-8-8, 5-5-5 or 5-6-5.\n");
  EXPECT_EQ(console, "");
}

}  // namespace

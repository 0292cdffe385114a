// Textures read back from OpenGL, made by ilutGLLoadImage from images of a
// few pixels written here: which way up the rows go, the mipmap levels, RGB
// or RGBA, palette indices checked, Targa colour maps that start past index
// 0, run-length BMPs that skip pixels, BMPs with the headers today's tools
// write, and failures told on standard error.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/image.h"
#include "tests/model/image_files.h"
#include "tests/model/model_test_util.h"

using namespace imagefiles;

namespace {

// RGB texels of the texture that the image file `bytes` loads into, bottom
// row first; empty when it loads none or not at `width` x `height`.
std::vector<int> loadedTexels(const std::string& bytes, int width, int height) {
  prepareGL();
  ScratchDir dir;
  GLuint id = ilutGLLoadImage(dir.write("image", bytes).c_str());
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

// Width and height of each mipmap level of the bound texture, up to the
// first missing one.
std::vector<std::pair<int, int>> levelSizes() {
  std::vector<std::pair<int, int>> sizes;
  for (int level = 0; level < 16; ++level) {
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    if (w == 0) break;
    sizes.push_back({w, h});
  }
  return sizes;
}

// 24-bit BGR rows, bottom row first, each padded to 4 bytes.
std::string bgrRows(const std::vector<std::vector<int>>& rgbRowsBottomFirst) {
  std::string out;
  for (const std::vector<int>& row : rgbRowsBottomFirst) {
    std::string bytes;
    for (size_t i = 0; i + 2 < row.size(); i += 3) {
      bytes += std::string{char(row[i + 2]), char(row[i + 1]), char(row[i])};
    }
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    out += bytes;
  }
  return out;
}

TEST(TextureUpload, BottomRowFirstWithMipmapsDownToOneTexelAtAnySize) {
  prepareGL();
  ScratchDir dir;
  // 4 x 2: a red top row over a blue bottom row; a power of two each way.
  std::string pot = bmp(40, 4, 2, 24, 0, "", "", bgrRows({{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255},
                                                          {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0}}));
  GLuint id = ilutGLLoadImage(dir.write("pot.bmp", pot).c_str());
  ASSERT_NE(id, 0u);
  GLint bound = 0, alignment = 0, minFilter = 0, magFilter = 0, components = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &components);
  EXPECT_EQ(GLuint(bound), id);
  EXPECT_EQ(alignment, 1);
  EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
  EXPECT_EQ(magFilter, GL_LINEAR);
  EXPECT_EQ(components, 3);  // opaque: RGB
  EXPECT_EQ(levelSizes(), (std::vector<std::pair<int, int>>{{4, 2}, {2, 1}, {1, 1}}));
  std::vector<uint8_t> level1(6);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 1, GL_RGB, GL_UNSIGNED_BYTE, level1.data());
  EXPECT_EQ(level1, (std::vector<uint8_t>{128, 0, 128, 128, 0, 128}));  // red and blue averaged, rounded up
  glDeleteTextures(1, &id);
  EXPECT_EQ(loadedTexels(pot, 4, 2), (std::vector<int>{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255,  //
                                                       255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0}));

  // 3 x 3 keeps its size and pixels at level 0, then 1 x 1.
  std::vector<int> row = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  std::string odd = bmp(40, 3, 3, 24, 0, "", "", bgrRows({row, row, {1, 2, 3, 4, 5, 6, 7, 8, 9}}));
  EXPECT_EQ(loadedTexels(odd, 3, 3),
            (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 10, 20, 30, 40, 50, 60, 70, 80, 90,  //
                              1, 2, 3, 4, 5, 6, 7, 8, 9}));
  id = ilutGLLoadImage(dir.write("odd.bmp", odd).c_str());
  ASSERT_NE(id, 0u);
  EXPECT_EQ(levelSizes(), (std::vector<std::pair<int, int>>{{3, 3}, {1, 1}}));
  glDeleteTextures(1, &id);
}

TEST(TextureUpload, ImagesWithTransparentPixelsKeepTheirAlpha) {
  prepareGL();
  ScratchDir dir;
  std::string bgra("\x00\x00\xff\x00\x00\xff\x00\x80\xff\x00\x00\xff\xff\xff\xff\xff", 16);
  std::string masks = le32(0xFF0000) + le32(0xFF00) + le32(0xFF) + le32(0xFF000000);
  GLuint id = ilutGLLoadImage(dir.write("alpha.bmp", bmp(108, 2, 2, 32, 3, masks, "", bgra)).c_str());
  ASSERT_NE(id, 0u);
  GLint components = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &components);
  EXPECT_EQ(components, 4);
  std::vector<uint8_t> rgba(16);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  EXPECT_EQ(rgba, (std::vector<uint8_t>{255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 255, 255, 255, 255}));
  glDeleteTextures(1, &id);
}

TEST(TextureUpload, AFailureIsOneLineOnStandardErrorAndBindsNothing) {
  prepareGL();
  ScratchDir dir;
  GLuint before = 0;
  glGenTextures(1, &before);
  glBindTexture(GL_TEXTURE_2D, before);
  std::string missing = dir.path() + "/none.png";
  std::string cut = dir.write("cut.tga", tga(10, 2, 2, 24, std::string("\x82\x10\x20", 3)));
  for (const auto& [path, why] : {std::pair<std::string, std::string>{missing, "not found, or not a regular file"},
                                  {cut, "the image's pixel data is cut short"}}) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    GLuint id = ilutGLLoadImage(path.c_str());
    std::string errors = ::testing::internal::GetCapturedStderr(), console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(errors, "Texture '" + path + "' not loaded: " + why + ".\n");
    EXPECT_EQ(console, "");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), before);
  }
  glDeleteTextures(1, &before);
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
    return tga(1, 4, 2, 8, indices, map, 39, entryBits, topRowFirst ? 0x20 : 0);
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
  // Codes cut short end the image where they stop: the first pixel drawn.
  EXPECT_EQ(loadedTexels(bmp(40, 2, 1, 8, 1, "", palette, std::string("\x01\x02\x05", 3), 3), 2, 1),
            (std::vector<int>{0, 255, 0, 0, 0, 0}));
}

TEST(TexturePixels, BmpsWithNewerHeadersLoadWithTheirColoursWhateverTheirMasks) {
  // Bottom row red, green; top row blue, (8, 20, 24); 5-6-5 widened in full.
  std::vector<int> expected = {248, 0, 0, 0, 252, 0, 0, 0, 248, 8, 20, 24};
  std::string bgr = std::string("\x00\x00\xf8\x00\xfc\x00\x00\x00", 8) +  // rows padded to 4 bytes
                    std::string("\xf8\x00\x00\x18\x14\x08\x00\x00", 8);
  EXPECT_EQ(loadedTexels(bmp(124, 2, 2, 24, 0, "", "", bgr), 2, 2), expected);
  std::string bgra = std::string("\x00\x00\xf8\xff\x00\xfc\x00\xff\xf8\x00\x00\xff\x18\x14\x08\xff", 16);
  std::string masks8888 = le32(0xFF0000) + le32(0xFF00) + le32(0xFF) + le32(0xFF000000);
  EXPECT_EQ(loadedTexels(bmp(108, 2, 2, 32, 3, masks8888, "", bgra), 2, 2), expected);
  std::string rgb565 = le16(0xF800) + le16(0x07E0) + le16(0x001F) + le16(1 << 11 | 5 << 5 | 3);
  EXPECT_EQ(loadedTexels(bmp(56, 2, 2, 16, 3, le32(0xF800) + le32(0x07E0) + le32(0x1F), "", rgb565), 2, 2),
            (std::vector<int>{255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 20, 25}));
  // Red and blue masks swapped: the colours follow the masks.
  std::string swapped = bmp(124, 2, 2, 32, 3, le32(0xFF) + le32(0xFF00) + le32(0xFF0000), "", bgra);
  EXPECT_EQ(loadedTexels(swapped, 2, 2), (std::vector<int>{0, 0, 248, 0, 252, 0, 248, 0, 0, 24, 20, 8}));
}

}  // namespace

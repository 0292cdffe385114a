// The Windows icon file: a directory whose entries find each size's PNG.
// A wrong offset or length gives Explorer a broken icon, a side of 256 not
// written as 0 gives a 0-pixel one, and a size left out leaves Windows to
// scale another.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/game_data.h"
#include "tools/icon.h"

namespace {

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b.at(at + i);
  return value;
}

}  // namespace

TEST(WindowsIcon, DirectoryFindsEachSizesPngInOrder) {
  DataFile ico = makeWindowsIcon();
  EXPECT_EQ(ico.path, "vekotra.ico");
  const std::vector<uint8_t>& b = ico.bytes;
  ASSERT_GE(b.size(), 6u);
  EXPECT_EQ(le(b, 0, 2), 0u);
  EXPECT_EQ(le(b, 2, 2), 1u) << "type 1 is an icon, 2 a cursor";
  const int sizes[] = {16, 24, 32, 48, 256};
  ASSERT_EQ(le(b, 4, 2), 5u);
  size_t expectedOffset = 6 + 16 * 5;
  for (int i = 0; i < 5; ++i) {
    size_t entry = 6 + 16 * i;
    int side = sizes[i] == 256 ? 0 : sizes[i];
    EXPECT_EQ(b[entry], side) << sizes[i];
    EXPECT_EQ(b[entry + 1], side) << sizes[i];
    EXPECT_EQ(le(b, entry + 4, 2), 1u);
    EXPECT_EQ(le(b, entry + 6, 2), 32u);
    std::vector<uint8_t> png = encodePng(paintIcon(sizes[i]));
    uint32_t length = le(b, entry + 8, 4), offset = le(b, entry + 12, 4);
    EXPECT_EQ(offset, expectedOffset) << sizes[i];
    ASSERT_EQ(length, png.size()) << sizes[i];
    ASSERT_LE(offset + length, b.size());
    EXPECT_TRUE(std::equal(png.begin(), png.end(), b.begin() + offset)) << sizes[i];
    expectedOffset += length;
  }
  EXPECT_EQ(expectedOffset, b.size()) << "nothing after the last image";
}

TEST(WindowsIcon, ImagesTheFormatCannotHoldAreLeftOut) {
  RgbaImage tooLarge;
  tooLarge.width = tooLarge.height = 257;
  tooLarge.rgba.assign(257 * 257 * 4, 0);
  RgbaImage empty;
  std::vector<uint8_t> ico = encodeIco({tooLarge, paintIcon(16), empty});
  ASSERT_GE(ico.size(), 22u);
  EXPECT_EQ(le(ico, 4, 2), 1u);
  EXPECT_EQ(ico[6], 16);
}

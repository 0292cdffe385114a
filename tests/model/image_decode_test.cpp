// Images decoded to pixels, each made here byte by byte: the faults DevIL
// had (and SDL2_image has) shown right or refused, and every kind of file
// the own readers take.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/image/image_pixels.h"
#include "tests/model/image_files.h"

using namespace imagefiles;

namespace {

// The RGBA pixels of the decoded image, top row first; empty when it is
// refused or not of `width` x `height`.
std::vector<int> pixels(const std::string& bytes, int width, int height) {
  ImagePixels image;
  if (!decodeImage(bytesOf(bytes), bytes.size(), image)) return {};
  if (image.width != width || image.height != height) return {};
  return std::vector<int>(image.rgba.begin(), image.rgba.end());
}

// Why the image is refused; empty when it decodes.
std::string refusal(const std::string& bytes) {
  ImagePixels image;
  const char* failure = nullptr;
  if (decodeImage(bytesOf(bytes), bytes.size(), image, &failure)) return "";
  EXPECT_TRUE(image.rgba.empty());
  return failure ? failure : "(no reason)";
}

const int O = 255;  // opaque

TEST(TgaImages, FiveBitColourMapsAreWidenedFromTheirFirstEntry) {
  // Entries 5 to 7: red 31, green 31, and (16, 8, 1); the top bit, set in
  // one entry, is no alpha. Indices 4 and 8 name no entry.
  std::string map16 = le16(31 << 10) + le16(31 << 5 | 0x8000) + le16(16 << 10 | 8 << 5 | 1);
  std::vector<int> expected = {0, 0, 0, O, 255, 0, 0, O, 0, 255, 0, O,  //
                               132, 66, 8, O, 0, 0, 0, O, 255, 0, 0, O};
  std::string indices("\x07\x08\x05\x04\x05\x06", 6);  // bottom row first
  EXPECT_EQ(pixels(tga(1, 3, 2, 8, indices, map16, 5, 16), 3, 2), expected);
  EXPECT_EQ(pixels(tga(1, 3, 2, 8, indices, map16, 5, 15), 3, 2), expected);
  // Run-length coded: a run of two 7s, then 8, 5, 4, 6 as they are, a
  // packet that goes on into the next row.
  std::string runs("\x81\x07\x03\x08\x05\x04\x06", 7);
  EXPECT_EQ(pixels(tga(9, 3, 2, 8, runs, map16, 5, 16), 3, 2),
            (std::vector<int>{255, 0, 0, O, 0, 0, 0, O, 0, 255, 0, O,  //
                              132, 66, 8, O, 132, 66, 8, O, 0, 0, 0, O}));
}

TEST(TgaImages, RunLengthPixelsCutShortAreRefusedNotLeftUnwritten) {
  // 2 x 2 blue-green-red pixels: a run of three, then one as it is.
  std::string whole("\x82\x10\x20\x30\x00\x40\x50\x60", 8);
  EXPECT_EQ(pixels(tga(10, 2, 2, 24, whole), 2, 2),
            (std::vector<int>{48, 32, 16, O, 96, 80, 64, O, 48, 32, 16, O, 48, 32, 16, O}));
  for (size_t cut : {7, 5, 4, 2}) {  // inside the last pixel, the packet header, the run's pixel
    EXPECT_EQ(refusal(tga(10, 2, 2, 24, whole.substr(0, cut))), "the image's pixel data is cut short") << cut;
  }
}

TEST(TgaImages, TrueColourGreyAndRowOrders) {
  // 16 bits with one attribute bit: the top bit is alpha. Stored top row
  // first and right to left (descriptor 0x31).
  std::string rgb16 = le16(0x8000 | 31 << 10) + le16(1 << 5) + le16(0x8000 | 31) + le16(0x8000 | 16 << 5);
  EXPECT_EQ(pixels(tga(2, 2, 2, 16, rgb16, "", 0, 24, 0x31), 2, 2),
            (std::vector<int>{0, 8, 0, 0, 255, 0, 0, O,  //
                              0, 132, 0, O, 0, 0, 255, O}));
  // Grey with alpha, and 32-bit BGRA, bottom row first.
  EXPECT_EQ(pixels(tga(3, 2, 1, 16, std::string("\x10\x80\xf0\xff", 4)), 2, 1),
            (std::vector<int>{16, 16, 16, 128, 240, 240, 240, 255}));
  EXPECT_EQ(pixels(tga(2, 1, 2, 32, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), "", 0, 24, 8), 1, 2),
            (std::vector<int>{7, 6, 5, 8, 3, 2, 1, 4}));
}

TEST(BmpImages, PlainFourBitPalettesAndOs2Headers) {
  // 3 x 2 pixels of 4 bits, a 40-byte header: DevIL refused these.
  std::string palette;
  for (int i = 0; i < 16; ++i) palette += std::string{char(i), char(10 * i), char(200), 0};
  std::string rows("\x01\x2f\x00\x00\xe3\x40\x00\x00", 8);  // bottom row first, padded to 4 bytes
  std::vector<int> expected = {200, 140, 14, O, 200, 30, 3, O, 200, 40, 4, O,  //
                               200, 0, 0, O, 200, 10, 1, O, 200, 20, 2, O};
  EXPECT_EQ(pixels(bmp(40, 3, 2, 4, 0, "", palette, rows, 16), 3, 2), expected);
  // The same with an OS/2 header of 12 bytes and 3-byte entries.
  std::string os2Palette;
  for (int i = 0; i < 16; ++i) os2Palette += palette.substr(4 * i, 3);
  std::string os2Header = le32(12) + le16(3) + le16(2) + le16(1) + le16(4);
  uint32_t start = 14 + 12 + 48;
  std::string os2 = "BM" + le32(start + 8) + le32(0) + le32(start) + os2Header + os2Palette + rows;
  EXPECT_EQ(pixels(os2, 3, 2), expected);
}

TEST(BmpImages, SixteenBitChannelsAreWidenedToTheFullRange) {
  // 5-5-5 without masks (compression 0): 31 is 255, 16 is 132, 1 is 8.
  std::string rgb555 = le16(31 << 10) + le16(16 << 10 | 1 << 5 | 31) + le16(31 << 5) + le16(0x7FFF);
  EXPECT_EQ(pixels(bmp(40, 2, 2, 16, 0, "", "", rgb555), 2, 2),
            (std::vector<int>{0, 255, 0, O, 255, 255, 255, O, 255, 0, 0, O, 132, 8, 255, O}));
  // 5-6-5 masks in a 56-byte header: green 63 is 255, 32 is 130.
  std::string rgb565 = le16(0xF800) + le16(0x07E0) + le16(32 << 5 | 16) + le16(0);
  std::string masks = le32(0xF800) + le32(0x07E0) + le32(0x1F);
  EXPECT_EQ(pixels(bmp(56, 2, 2, 16, 3, masks, "", rgb565), 2, 2),
            (std::vector<int>{0, 130, 132, O, 0, 0, 0, O, 255, 0, 0, O, 0, 255, 0, O}));
}

TEST(BmpImages, ThirtyTwoBitAlphaMaskKeepsItsAlpha) {
  std::string bgra("\x00\x00\xf8\x80\x00\xfc\x00\x00\xf8\x00\x00\xff\x18\x14\x08\x10", 16);
  std::string masks = le32(0xFF0000) + le32(0xFF00) + le32(0xFF) + le32(0xFF000000);
  EXPECT_EQ(pixels(bmp(108, 2, 2, 32, 3, masks, "", bgra), 2, 2),
            (std::vector<int>{0, 0, 248, 255, 8, 20, 24, 16, 248, 0, 0, 128, 0, 252, 0, 0}));
}

TEST(BmpImages, HeadersOfOtherVersionsAreRefused) {
  EXPECT_EQ(refusal(bmp(64, 1, 1, 24, 0, "", "", std::string(4, '\0'))), "a BMP header of a version no tool writes");
}

// Palette: 0 red, 1 green, 2 blue, 3 white.
const std::string kGifColours("\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\xff", 12);

TEST(GifImages, InterlacedFramesShowTheirRowsInOrder) {
  // Rows 0, 4, 2, 1, 3, as an interlaced frame of five rows stores them;
  // four rows, with no row in the second pass, are 0, 2, 1, 3.
  GifFrame five{0, 0, 1, 5, std::string("\x00\x01\x02\x01\x03", 5), true};
  EXPECT_EQ(pixels(gif(1, 5, kGifColours, 0, {five}), 1, 5),
            (std::vector<int>{255, 0, 0, O, 0, 255, 0, O, 0, 0, 255, O, 255, 255, 255, O, 0, 255, 0, O}));
  GifFrame four{0, 0, 1, 4, std::string("\x00\x02\x01\x03", 4), true};
  EXPECT_EQ(pixels(gif(1, 4, kGifColours, 0, {four}), 1, 4),
            (std::vector<int>{255, 0, 0, O, 0, 255, 0, O, 0, 0, 255, O, 255, 255, 255, O}));
}

TEST(GifImages, TheFirstFrameIsPlacedOnTheScreenAndOverhangsAreCut) {
  // A 2 x 2 frame at (1, 1) of a 3 x 2 screen whose background is white:
  // its bottom row overhangs and is cut; index 1 is transparent.
  GifFrame frame{1, 1, 2, 2, std::string("\x01\x02\x00\x00", 4)};
  frame.transparent = 1;
  EXPECT_EQ(pixels(gif(3, 2, kGifColours, 3, {frame}), 3, 2),
            (std::vector<int>{255, 255, 255, O, 255, 255, 255, O, 255, 255, 255, O,  //
                              255, 255, 255, O, 0, 255, 0, 0, 0, 0, 255, O}));
  // A frame larger than the screen is the picture on its own; an index past
  // its local table of two colours is black.
  GifFrame large{1, 0, 3, 2, std::string("\x00\x01\x05\x01\x00\x00", 6), false, kGifColours.substr(6, 6)};
  EXPECT_EQ(pixels(gif(2, 1, kGifColours, 0, {large}), 3, 2),
            (std::vector<int>{0, 0, 255, O, 255, 255, 255, O, 0, 0, 0, O,  //
                              255, 255, 255, O, 0, 0, 255, O, 0, 0, 255, O}));
}

TEST(GifImages, OnlyTheFirstFrameOfAnAnimationIsDecoded) {
  GifFrame first{0, 0, 2, 1, std::string("\x00\x01", 2)}, second{0, 0, 2, 1, std::string("\x02\x03", 2)};
  EXPECT_EQ(pixels(gif(2, 1, kGifColours, 0, {first, second, second}), 2, 1),
            (std::vector<int>{255, 0, 0, O, 0, 255, 0, O}));
}

TEST(PcxImages, EveryLayoutToolsWrite) {
  std::string header16;
  for (int i = 0; i < 16; ++i) header16 += std::string{char(16 * i), char(255 - 16 * i), char(i)};
  // One plane of one bit is black and white whatever the header lists.
  EXPECT_EQ(pixels(pcx(1, 1, 3, 1, 2, std::string("\xa0\x00", 2), header16), 3, 1),
            (std::vector<int>{255, 255, 255, O, 0, 0, 0, O, 255, 255, 255, O}));
  // Four planes of one bit index the header's 16 colours: bit p from plane p.
  std::string planes("\x80\x00\x40\x00\x00\x00\xc0\x00", 8);  // x0: planes 0, 3 set; x1: planes 1, 3
  EXPECT_EQ(pixels(pcx(1, 4, 2, 1, 2, planes, header16), 2, 1),
            (std::vector<int>{144, 111, 9, O, 160, 95, 10, O}));
  // A byte a pixel with the 256 colours at the end, or grey without them.
  std::string palette256;
  for (int i = 0; i < 256; ++i) palette256 += std::string{char(i), char(255 - i), 7};
  EXPECT_EQ(pixels(pcx(8, 1, 2, 1, 2, std::string("\x05\xc8", 2), "", palette256), 2, 1),
            (std::vector<int>{5, 250, 7, O, 200, 55, 7, O}));
  EXPECT_EQ(pixels(pcx(8, 1, 2, 1, 2, std::string("\x05\xc8", 2)), 2, 1),
            (std::vector<int>{5, 5, 5, O, 200, 200, 200, O}));
  // RGBA in four planes, from a version 0 file; two rows.
  std::string rgba("\x01\x02\x03\x04" "\x05\x06\x07\x08", 8);
  EXPECT_EQ(pixels(pcx(8, 4, 1, 2, 1, rgba, "", "", 0), 1, 2), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(refusal(pcx(8, 4, 1, 2, 1, rgba.substr(0, 6))), "the image's pixel data is cut short");
}

TEST(PngImages, PaletteIndicesPastTheListedColoursAreOpaqueBlack) {
  // Two colours listed, the second half transparent; indices 2 and 255 name none.
  std::string png = palettePng(2, 2, std::string("\x10\x20\x30\x40\x50\x60", 6), std::string("\x00\x01\x02\xff", 4),
                               std::string("\xff\x80", 2));
  EXPECT_EQ(pixels(png, 2, 2), (std::vector<int>{16, 32, 48, 255, 64, 80, 96, 128, 0, 0, 0, O, 0, 0, 0, O}));
}

TEST(JpegImages, CmykInksAreMadeRgb) {
  // 16 x 8: dark red (128, 0, 0) on the left, grey (100, 100, 100) on the
  // right, saved by ImageMagick as Adobe CMYK. DevIL took the black ink for
  // alpha, showing the red at full strength.
  std::ifstream in(std::string(VEKOTRA_TEXTURE_CORPUS) + "/seed_cmyk.jpg", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  ImagePixels image;
  ASSERT_TRUE(decodeImage(bytesOf(bytes.str()), bytes.str().size(), image));
  ASSERT_EQ(image.width, 16);
  ASSERT_EQ(image.height, 8);
  const uint8_t* red = &image.rgba[(4 * 16 + 3) * 4];
  const uint8_t* grey = &image.rgba[(4 * 16 + 12) * 4];
  EXPECT_NEAR(red[0], 128, 3);
  EXPECT_NEAR(red[1], 0, 3);
  EXPECT_NEAR(red[2], 0, 3);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(grey[c], 100, 3) << c;
  EXPECT_EQ(red[3], 255);
}

}  // namespace

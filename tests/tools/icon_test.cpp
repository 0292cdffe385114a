// The desktop icon: its painting at each size, and its PNG file read back by
// an independent decoder (the game's image library: SDL2_image over libpng,
// behind a check of every chunk's CRC).
#include <gtest/gtest.h>

#include <string>

#include "platform/image/image_pixels.h"
#include "tools/game_data.h"
#include "tools/icon.h"

namespace {

// Decodes PNG bytes into RGBA rows, top row first; an empty image when the
// decoder refuses them.
RgbaImage decodePng(const std::vector<uint8_t>& bytes) {
  RgbaImage decoded;
  ImagePixels image;
  if (decodeImage(bytes.data(), bytes.size(), image)) {
    decoded.width = image.width;
    decoded.height = image.height;
    decoded.rgba = image.rgba;
  }
  return decoded;
}

const uint8_t* pixel(const RgbaImage& image, float x, float y) {
  int column = static_cast<int>(x * image.width), row = static_cast<int>(y * image.height);
  return &image.rgba[(static_cast<size_t>(row) * image.width + column) * 4];
}

}  // namespace

TEST(Icon, PngFilesDecodeToTheSamePixels) {
  // 256 x 256 RGBA needs several stored deflate blocks; 3 x 2 needs one.
  RgbaImage small;
  small.width = 3;
  small.height = 2;
  small.rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (const RgbaImage& image : {small, paintIcon(256)}) {
    RgbaImage decoded = decodePng(encodePng(image));
    EXPECT_EQ(decoded.width, image.width);
    EXPECT_EQ(decoded.height, image.height);
    EXPECT_TRUE(decoded.rgba == image.rgba) << image.width << " x " << image.height;
  }
  // A flipped pixel byte breaks the chunk CRC and the zlib checksum: refused.
  std::vector<uint8_t> damaged = encodePng(small);
  damaged[damaged.size() - 30] ^= 0x40;
  EXPECT_TRUE(decodePng(damaged).rgba.empty());
}

TEST(Icon, EachSizeShowsThePlanetAndTheFighterOnATransparentGround) {
  std::vector<DataFile> files = makeIcons();
  ASSERT_EQ(files.size(), 3u);
  const int sizes[] = {48, 128, 256};
  for (size_t i = 0; i < files.size(); ++i) {
    int size = sizes[i];
    std::string folder = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(files[i].path, "hicolor/" + folder + "/apps/vekotra.png");
    RgbaImage icon = decodePng(files[i].bytes);
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    // Transparent corners away from the drawing.
    EXPECT_EQ(pixel(icon, 0.97f, 0.02f)[3], 0) << folder;
    EXPECT_EQ(pixel(icon, 0.02f, 0.97f)[3], 0) << folder;
    // The planet's sunlit side, opaque; its shadowed side darker.
    const uint8_t* lit = pixel(icon, 0.45f, 0.50f);
    const uint8_t* dark = pixel(icon, 0.85f, 0.85f);
    EXPECT_EQ(lit[3], 255) << folder;
    EXPECT_EQ(dark[3], 255) << folder;
    EXPECT_GT(lit[0] + lit[1] + lit[2], dark[0] + dark[1] + dark[2]) << folder;
    // The fighter's light wing, grey, and some edge pixels partly covered.
    const uint8_t* wing = pixel(icon, 0.20f, 0.24f);
    EXPECT_EQ(wing[3], 255) << folder;
    EXPECT_GT(wing[0], 150) << folder;
    int partial = 0;
    for (size_t p = 3; p < icon.rgba.size(); p += 4) partial += icon.rgba[p] > 0 && icon.rgba[p] < 255;
    EXPECT_GT(partial, size) << folder;
  }
}

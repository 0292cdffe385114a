// The painted planet textures and their BMP encoding.
#include <gtest/gtest.h>

#include "tools/textures.h"

namespace {

struct Average {
  double r = 0, g = 0, b = 0;
};

Average averageOf(const Image& image, int fromRow, int toRow) {
  Average a;
  int n = 0;
  for (int row = fromRow; row < toRow; ++row) {
    for (int col = 0; col < image.width; ++col, ++n) {
      const uint8_t* p = &image.rgb[(static_cast<size_t>(row) * image.width + col) * 3];
      a.r += p[0], a.g += p[1], a.b += p[2];
    }
  }
  a.r /= n, a.g /= n, a.b /= n;
  return a;
}

// Share of pixels for which `test` holds.
template <typename Test>
double share(const Image& image, Test test) {
  int hits = 0;
  for (size_t i = 0; i < image.rgb.size(); i += 3) {
    if (test(image.rgb[i], image.rgb[i + 1], image.rgb[i + 2])) ++hits;
  }
  return static_cast<double>(hits) / (image.rgb.size() / 3);
}

}  // namespace

TEST(Textures, EarthHasOceansContinentsAndIceCaps) {
  Image earth = paintEarth(256, 128);
  ASSERT_EQ(earth.rgb.size(), 256u * 128 * 3);
  double ocean = share(earth, [](int r, int g, int b) { return b > r + 40 && b > g; });
  double land = share(earth, [](int r, int g, int b) { return g > b && g >= r; });
  EXPECT_GT(ocean, 0.4);
  EXPECT_GT(land, 0.12);
  EXPECT_LT(land, 0.5);
  for (int row : {0, 127}) {
    Average cap = averageOf(earth, row, row + 1);
    EXPECT_GT(cap.r, 200) << "ice at row " << row;
    EXPECT_GT(cap.b, 200);
  }
}

TEST(Textures, MarsIsRustyAndPlutoIsIcy) {
  Average mars = averageOf(paintMars(128, 64), 8, 56);
  EXPECT_GT(mars.r, mars.g + 50);
  EXPECT_GT(mars.g, mars.b);
  Average pluto = averageOf(paintPluto(128, 64), 0, 64);
  EXPECT_GT(pluto.b, 170);
  EXPECT_GT(pluto.b, pluto.r);
  EXPECT_GT(pluto.r, 120);
}

TEST(Textures, PaintingIsReproducibleAndNoiseStaysInRange) {
  EXPECT_EQ(paintEarth(64, 32).rgb, paintEarth(64, 32).rgb);
  EXPECT_EQ(paintMars(32, 16).rgb, paintMars(32, 16).rgb);
  EXPECT_NE(paintMars(32, 16).rgb, paintPluto(32, 16).rgb);
  float low = 1, high = 0;
  for (int i = 0; i < 2000; ++i) {
    float v = fractalNoise(i * 0.37f - 200, i * 0.11f, -i * 0.23f, 5, 7);
    low = std::min(low, v), high = std::max(high, v);
  }
  EXPECT_GE(low, 0.0f);
  EXPECT_LE(high, 1.0f);
  EXPECT_GT(high - low, 0.3f) << "the noise varies";
  // Smooth: close points give close values.
  EXPECT_NEAR(valueNoise(3.5f, 1.25f, 9.0f, 1), valueNoise(3.501f, 1.25f, 9.0f, 1), 0.01f);
}

TEST(Textures, BmpIsBottomUp24BitWithPaddedRows) {
  Image image;
  image.width = 3;
  image.height = 2;
  image.rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90,  // top row
               1, 2, 3, 4, 5, 6, 7, 8, 9};          // bottom row
  std::vector<uint8_t> bmp = encodeBmp(image);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(bmp[2], bmp.size());
  EXPECT_EQ(bmp[10], 54);  // pixel offset
  EXPECT_EQ(bmp[18], 3);   // width
  EXPECT_EQ(bmp[22], 2);   // height, positive: bottom row first
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  EXPECT_EQ(bmp[30], 0);   // uncompressed
  // First stored row is the bottom one, in blue, green, red order.
  EXPECT_EQ((std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 66)),
            (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}));
  EXPECT_EQ(bmp[66], 30);
  EXPECT_EQ(bmp[68], 10);
}

// The generated fighter, planet and first background planet loaded through
// the game's reader and drawn in a real window with the game's lighting and
// its chase camera at the start: the fighter in the lower half of the view,
// the planet ahead behind it, the background planet placed in the sky.
#include <gtest/gtest.h>

#include <GL/glu.h>

#include <filesystem>
#include <vector>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/startup.h"
#include "model/image_library.h"
#include "model/model_3ds.h"
#include "tests/support/gl_window.h"
#include "tests/tools/temp_dir.h"
#include "tools/game_data.h"

namespace {

const int kWidth = 640, kHeight = 480;

// The whole back buffer, row 0 at the top.
struct Frame {
  std::vector<Rgb> pixels;
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }
  bool lit(int x, int y) const {
    Rgb p = at(x, y);
    return p.r > 8 || p.g > 8 || p.b > 8;
  }
};

Frame grab() {
  std::vector<uint8_t> raw(kWidth * kHeight * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, raw.data());
  Frame f;
  f.pixels.resize(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = &raw[((kHeight - 1 - y) * kWidth + x) * 3];
      f.pixels[y * kWidth + x] = Rgb{p[0], p[1], p[2]};
    }
  }
  return f;
}

struct Box {
  int left = kWidth, top = kHeight, right = -1, bottom = -1, count = 0;
};
Box litBox(const Frame& f) {
  Box b;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (!f.lit(x, y)) continue;
      ++b.count;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

template <typename Test>
int countPixels(const Frame& f, Test test) {
  int n = 0;
  for (const Rgb& p : f.pixels) n += test(p) ? 1 : 0;
  return n;
}

// The models, loaded once in a working directory holding the generated data.
Model_3DS fighter, planet, mars;
TempDir* dataDir = nullptr;

class GeneratedModelsDrawn : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    openTestWindow(kWidth, kHeight);
    initImageLibrary();
    dataDir = new TempDir;
    std::string error;
    ASSERT_TRUE(writeGameData(dataDir->path, &error)) << error;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dataDir->path);
    fighter.load("data//Tolvar2//TolvarFight2_mini.3ds");
    planet.load("data//map//earth3.3DS");
    mars.load("data//map//mars.3DS");
    std::filesystem::current_path(previous);
  }
  static void TearDownTestSuite() {
    releaseModel(fighter);
    releaseModel(planet);
    releaseModel(mars);
    delete dataDir;
  }

  // The game's fixed lighting and material state, its projection for a
  // 640 x 480 window, and the chase camera with the ship at (0, 50, 250).
  void SetUp() override {
    setFixedGLState();
    onReshape(kWidth, kHeight);
    resetGameState();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    placeCamera(shipPose());
  }

  // An actor's model drawn at its position, back faces culled, as the
  // actor loop draws it.
  void drawActor(Model_3DS& model, float x, float y, float z) {
    glEnable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(x, y, z);
    model.draw();
    glPopMatrix();
    glDisable(GL_CULL_FACE);
  }
  void drawShip() { drawActor(fighter, 0, 50, 250); }
  // The planet's actor is created at (0, -5, 0).
  void drawPlanet() { drawActor(planet, 0, -5, 0); }
};

}  // namespace

TEST_F(GeneratedModelsDrawn, FighterFillsTheLowerMiddleOfTheChaseView) {
  drawShip();
  Frame f = grab();
  Box b = litBox(f);
  EXPECT_GT(b.count, 4000) << "the fighter is clearly visible";
  EXPECT_GT(b.top, kHeight / 2) << "entirely in the lower half";
  EXPECT_LT(b.bottom, kHeight - 1) << "not cut by the bottom edge";
  EXPECT_GT(b.left, 0);
  EXPECT_LT(b.right, kWidth - 1);
  EXPECT_NEAR((b.left + b.right) / 2.0, kWidth / 2.0, 8) << "centred";
  EXPECT_GT(b.right - b.left, 200) << "wings spread across the view";
  // Its colour materials show: the blue canopy (a float colour chunk) and the
  // orange engine glow (a byte colour chunk).
  EXPECT_GT(countPixels(f, [](Rgb p) { return p.b > p.r + 60 && p.b > p.g + 20; }), 50);
  EXPECT_GT(countPixels(f, [](Rgb p) { return p.r > 150 && p.g > 50 && p.g < p.r - 40 && p.b < 80; }), 20);
}

TEST_F(GeneratedModelsDrawn, PlanetFillsTheViewAheadWithItsTexture) {
  drawPlanet();
  Frame f = grab();
  EXPECT_TRUE(f.lit(kWidth / 2, kHeight / 2)) << "straight ahead";
  EXPECT_TRUE(f.lit(kWidth / 2, kHeight - 10));
  EXPECT_FALSE(f.lit(kWidth / 2, 40)) << "sky above the planet";
  EXPECT_FALSE(f.lit(10, kHeight / 2)) << "sky beside it";
  Box b = litBox(f);
  EXPECT_NEAR((b.left + b.right) / 2.0, kWidth / 2.0, 8);
  EXPECT_GT(b.count, kWidth * kHeight / 4);
  // The image texture, found under its lower-case name: oceans and land.
  int ocean = countPixels(f, [](Rgb p) { return p.b > p.r + 40 && p.b > p.g; });
  int land = countPixels(f, [](Rgb p) { return p.g > p.b + 10 && p.g > p.r; });
  EXPECT_GT(ocean, b.count / 5);
  EXPECT_GT(land, b.count / 50);
}

TEST_F(GeneratedModelsDrawn, FighterIsDrawnInFrontOfThePlanet) {
  drawShip();
  Frame alone = grab();
  SetUp();
  drawPlanet();
  drawShip();
  Frame both = grab();
  int shipPixels = 0, same = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (!alone.lit(x, y)) continue;
      ++shipPixels;
      Rgb a = alone.at(x, y), c = both.at(x, y);
      if (std::abs(a.r - c.r) < 12 && std::abs(a.g - c.g) < 12 && std::abs(a.b - c.b) < 12) ++same;
    }
  }
  ASSERT_GT(shipPixels, 0);
  // Edge pixels may blend with the planet behind them; the rest is the ship.
  EXPECT_GT(same, shipPixels * 9 / 10);
}

TEST_F(GeneratedModelsDrawn, FirstBackgroundPlanetPlacedInTheSkyShowsRusty) {
  // A place in the upper left of the starting view (the scenery draws the
  // planet higher, above the view).
  glPushMatrix();
  glTranslatef(-100, 230, -200);
  mars.draw();
  glPopMatrix();
  Frame f = grab();
  Box b = litBox(f);
  EXPECT_GT(b.count, 3000);
  EXPECT_GT(b.top, 0);
  EXPECT_LT(b.bottom, kHeight / 3);
  EXPECT_GT(b.left, 0);
  EXPECT_LT(b.right, kWidth / 2);
  EXPECT_GT(countPixels(f, [](Rgb p) { return p.r > p.g + 30 && p.r > p.b + 40; }), b.count / 2);
}

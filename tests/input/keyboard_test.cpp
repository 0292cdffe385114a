// Ordinary keys: quit, pause, fire and speed, and the keys that do nothing.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "input/keyboard.h"
#include "sound/sound.h"
#include "tests/input/input_test_util.h"

namespace {

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { resetGameState(); }
  void press(unsigned char key, int times = 1) {
    for (int i = 0; i < times; ++i) onKeyboard(key, 17, 23);
  }
};

TEST(KeyboardDeathTest, EscEndsTheProcessWithStatusZero) {
  EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(KeyboardTest, ZAndSStepTheSpeedByTwoWithinFifty) {
  press('z');
  EXPECT_EQ(gameState.speed, 2);
  press('z', 24);
  EXPECT_EQ(gameState.speed, 50);
  press('z');
  EXPECT_EQ(gameState.speed, 50) << "z at 50 changes nothing";

  press('s', 50);
  EXPECT_EQ(gameState.speed, -50);
  press('s');
  EXPECT_EQ(gameState.speed, -50) << "s at -50 changes nothing";
}

TEST_F(KeyboardTest, SpeedFromElsewhereIsOnlyComparedNotClamped) {
  gameState.speed = 100;  // reached with the Wii Remote pad
  press('z');
  EXPECT_EQ(gameState.speed, 100);
  press('s');
  EXPECT_EQ(gameState.speed, 98);
  gameState.speed = 49;
  press('z');
  EXPECT_EQ(gameState.speed, 51);
}

TEST_F(KeyboardTest, PTogglesPauseOnly) {
  gameState.speed = 10;
  press('p');
  EXPECT_EQ(gameState.paused, 1);
  EXPECT_EQ(gameState.speed, 10);
  press('p');
  EXPECT_EQ(gameState.paused, 0);
}

TEST_F(KeyboardTest, GFiresFromTheShipTruncatingTowardZero) {
  gameState.shipX = -3.7f;
  gameState.altitude = 50.9f;
  gameState.shipZ = -11.5f;
  gameState.yaw = 33;
  gameState.pitch = -12;
  press('g');
  EXPECT_EQ(gameState.missilesFlying, 1);
  EXPECT_EQ(gameState.missileOrigin[0], -3);
  EXPECT_EQ(gameState.missileOrigin[1], 50);
  EXPECT_EQ(gameState.missileOrigin[2], -11);
  EXPECT_EQ(gameState.missileYaw, 33);
  EXPECT_EQ(gameState.missilePitch, -12);
  EXPECT_EQ(gameState.missileTravel, 0.0f);
}

TEST_F(KeyboardTest, GDuringAFlightMovesThePairButKeepsItsTravel) {
  press('g');
  gameState.missileTravel = -20.0f;
  gameState.shipX = 12.25f;
  gameState.altitude = -7.9f;
  gameState.shipZ = 180.6f;
  gameState.yaw = -90;
  gameState.pitch = 8;
  press('g');
  EXPECT_EQ(gameState.missilesFlying, 1);
  EXPECT_EQ(gameState.missileTravel, -20.0f);
  EXPECT_EQ(gameState.missileOrigin[0], 12);
  EXPECT_EQ(gameState.missileOrigin[1], -7);
  EXPECT_EQ(gameState.missileOrigin[2], 180);
  EXPECT_EQ(gameState.missileYaw, -90);
  EXPECT_EQ(gameState.missilePitch, 8);
}

TEST_F(KeyboardTest, EveryOtherKeyDoesNothing) {
  gameState.speed = 20;
  gameState.yaw = 5;
  gameState.pitch = -6;
  gameState.roll = 7;
  gameState.shipX = 1.5f;
  // The first key ends the start-up controls list, whatever the key.
  onKeyboard('x', 0, 0);
  EXPECT_EQ(gameState.controlsListShown, 0);
  const std::vector<unsigned char> before = snapshot();
  for (int key = 0; key < 256; ++key) {
    if (key == 27 || key == 'p' || key == 'g' || key == 'z' || key == 's') continue;
    onKeyboard(static_cast<unsigned char>(key), 0, 0);
    ASSERT_TRUE(snapshot() == before) << "key " << key << " changed the game state";
  }
}

TEST_F(KeyboardTest, UpperCaseLettersAreNotFolded) {
  press('G');
  press('P');
  press('Z');
  press('S');
  EXPECT_EQ(gameState.missilesFlying, 0);
  EXPECT_EQ(gameState.paused, 0);
  EXPECT_EQ(gameState.speed, 0);
}

TEST_F(KeyboardTest, GPlaysTheMissileSoundOnChannelOneEveryTime) {
  std::string wav = loadMissileSound("keyboard_missile.wav");
  ASSERT_FALSE(wav.empty());

  press('g');
  EXPECT_EQ(Mix_Playing(1), 1);
  EXPECT_EQ(Mix_Playing(-1), 1) << "on channel 1 alone";
  press('g');  // a second pair: the sound starts again on the same channel
  EXPECT_EQ(Mix_Playing(1), 1);
  EXPECT_EQ(Mix_Playing(-1), 1);

  unloadMissileSound(wav);
}

TEST_F(KeyboardTest, GFiresWithoutASound) {
  missileSample = nullptr;  // the sound could not be loaded
  press('g');
  EXPECT_EQ(gameState.missilesFlying, 1);
}

}  // namespace

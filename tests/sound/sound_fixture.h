// A fixture for tests of the sound layer: a fresh temporary folder per test,
// the SDL audio driver chosen by the test, and the device closed afterwards so
// the next test starts with none.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/fsound/fsound.h"

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The path of `name` inside the test's temporary folder.
  std::string pathOf(const std::string& name) const { return dir + "/" + name; }

  // Opens the device on SDL's silent dummy driver.
  void openDummyDevice(int rate = 44100, int channels = 32);
  // Opens the device on SDL's disk driver, capturing the mix into `capture`.
  void openDiskDevice(int rate = 44100, int channels = 32);
  // Makes every device open fail, as with no sound card.
  static void useMissingDriver();

  std::string dir;
  std::string capture;
};

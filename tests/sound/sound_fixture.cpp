#include "tests/sound/sound_fixture.h"

#include <cstdlib>
#include <string>

void SoundTest::SetUp() {
  char pattern[] = "/tmp/vekotra-sound.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir = pattern;
  capture = pathOf("capture.raw");
}

void SoundTest::TearDown() {
  FSOUND_Close();
  std::string command = "rm -rf '" + dir + "'";
  EXPECT_EQ(system(command.c_str()), 0);
}

void SoundTest::openDummyDevice(int rate, int channels) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(FSOUND_Init(rate, channels, 0), 1);
}

void SoundTest::openDiskDevice(int rate, int channels) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
  // Milliseconds the driver waits per buffer of 1024 frames (23 ms of sound):
  // the capture runs a few times faster than real time without filling the
  // disk.
  setenv("SDL_DISKAUDIODELAY", "5", 1);
  ASSERT_EQ(FSOUND_Init(rate, channels, 0), 1);
}

void SoundTest::useMissingDriver() {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
}

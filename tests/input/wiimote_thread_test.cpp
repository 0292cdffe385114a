// The polling thread writing the Wii Remote fields while the frame loop reads
// them, as in the game. Built with -DVEKOTRA_TSAN=ON this is where
// ThreadSanitizer would see a value shared without an atomic access.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "input/wiimote.h"
#include "platform/wiiuse/scripted_backend.h"
#include "tests/input/wiimote_test_util.h"

namespace {

TEST(WiimoteThreadTest, FramesReadWhileThePollingThreadWrites) {
  resetGameState();
  ScriptedBackend backend;
  backend.addRemote("r");
  wiiuse_set_backend(&backend);
  pollStop = 0;

  // HOME switches tilt steering on; then the remote is rolled 30 degrees
  // for a while, with B and Up going down and up meanwhile.
  // Every report after the first sample carries the roll, button ones too.
  const int kSamples = 2000;
  int rolledReports = 0;
  backend.button("r", WIIMOTE_BUTTON_HOME, true);
  for (int i = 0; i < kSamples; ++i) {
    backend.motion("r", 50, 0, 87);
    ++rolledReports;
    if (i % 100 == 0) {
      backend.button("r", WIIMOTE_BUTTON_B, (i / 100) % 2 == 0);
      ++rolledReports;
    }
    if (i % 150 == 0) {
      backend.button("r", WIIMOTE_BUTTON_UP, (i / 150) % 2 == 0);
      ++rolledReports;
    }
  }

  // The whole script is written before the thread starts, and the frame
  // loop's reads take no lock: a lock shared with the thread while it writes
  // would order the two threads and hide a race from the sanitizer. The loop
  // runs until the thread has turned the ship by the whole script.
  testing::internal::CaptureStdout();
  initWiimote();
  double roll = std::asin(50.0 / std::sqrt(50.0 * 50.0 + 87.0 * 87.0)) * 180.0 / M_PI;
  double finalYaw = -rolledReports * roll / 1500.0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int frames = 0;
  // At least a thousand frames, even when the thread is through first: the
  // sanitizer needs no overlap in time, only the two threads' accesses.
  while (frames < 1000 ||
         (gameState.tiltYaw > finalYaw + 1e-3 && std::chrono::steady_clock::now() < deadline)) {
    applyTiltSteering();
    speedFromWiimote();
    fireFromWiimote();
    ++frames;
  }
  stopDetachedPollThread(backend);
  testing::internal::GetCapturedStdout();

  EXPECT_EQ(backend.counts().pending, 0);
  EXPECT_EQ(gameState.tiltSteering, 1);
  EXPECT_NEAR(gameState.tiltYaw, finalYaw, 1e-3);
  applyTiltSteering();
  EXPECT_EQ(gameState.yaw, static_cast<int>(gameState.tiltYaw * 360.0 / 6.28));
  wiiuse_set_backend(nullptr);
}

}  // namespace

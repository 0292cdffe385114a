// The SDL backend's mapping of a Wii Remote read through SDL 2.26's HIDAPI
// driver: controller buttons to wiiuse bits, SDL's accelerometer to the
// orientation, attachment and extensions to inputs. Readings are scripted;
// the inputs they give are played through the stand-in as a remote's.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "platform/wiiuse/scripted_backend.h"
#include "platform/wiiuse/sdl_mapping.h"
#include "platform/wiiuse/wiiuse.h"

namespace {

const float kG = SDL_STANDARD_GRAVITY;

SdlRemoteReading remote(std::vector<SDL_GameControllerButton> down = {}) {
  SdlRemoteReading reading = {};
  reading.attached = true;
  reading.name = "Nintendo Wii Remote";
  for (SDL_GameControllerButton button : down) reading.buttons[button] = true;
  return reading;
}

SdlRemoteReading tilted(float x, float y, float z) {
  SdlRemoteReading reading = remote();
  reading.accelValid = true;
  reading.accel[0] = x;
  reading.accel[1] = y;
  reading.accel[2] = z;
  return reading;
}

std::deque<WiimoteInput> inputs(const SdlRemoteReading& before, const SdlRemoteReading& now) {
  std::deque<WiimoteInput> out;
  sdlRemoteInputs(before, now, out);
  return out;
}

// SDL 2.26 (SDL_hidapi_wii.c) lays the remote out as a controller held
// upright: the trigger B is SDL's A and the big A is SDL's B.
TEST(WiiuseSdlMapping, ButtonsInSdl226Layout) {
  const struct {
    SDL_GameControllerButton sdl;
    unsigned short wiimote;
  } table[] = {
      {SDL_CONTROLLER_BUTTON_A, WIIMOTE_BUTTON_B},        {SDL_CONTROLLER_BUTTON_B, WIIMOTE_BUTTON_A},
      {SDL_CONTROLLER_BUTTON_X, WIIMOTE_BUTTON_ONE},      {SDL_CONTROLLER_BUTTON_Y, WIIMOTE_BUTTON_TWO},
      {SDL_CONTROLLER_BUTTON_START, WIIMOTE_BUTTON_PLUS}, {SDL_CONTROLLER_BUTTON_BACK, WIIMOTE_BUTTON_MINUS},
      {SDL_CONTROLLER_BUTTON_GUIDE, WIIMOTE_BUTTON_HOME}, {SDL_CONTROLLER_BUTTON_DPAD_UP, WIIMOTE_BUTTON_UP},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, WIIMOTE_BUTTON_DOWN},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, WIIMOTE_BUTTON_LEFT},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, WIIMOTE_BUTTON_RIGHT},
  };
  unsigned short all = 0;
  for (const auto& row : table) {
    EXPECT_EQ(sdlRemoteButtons(remote({row.sdl})), row.wiimote) << "SDL button " << row.sdl;
    all |= row.wiimote;
  }
  EXPECT_EQ(all, WIIMOTE_BUTTON_ALL) << "every remote button has its SDL button";
  // The Nunchuk's C (SDL's left shoulder) and the buttons a remote lacks.
  EXPECT_EQ(sdlRemoteButtons(remote({SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_MISC1,
                                     SDL_CONTROLLER_BUTTON_LEFTSTICK})),
            0);
}

// B pressed as A is let go, Up held throughout: A's release first, then B's
// and Down's presses in bit order; no report holds A and B together.
TEST(WiiuseSdlMapping, ReleasesBeforePressesInBitOrder) {
  SdlRemoteReading before = remote({SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_DPAD_UP});
  SdlRemoteReading now = remote({SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                 SDL_CONTROLLER_BUTTON_DPAD_UP});
  std::deque<WiimoteInput> got = inputs(before, now);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].button, WIIMOTE_BUTTON_A);
  EXPECT_FALSE(got[0].down);
  EXPECT_EQ(got[1].button, WIIMOTE_BUTTON_B);
  EXPECT_TRUE(got[1].down);
  EXPECT_EQ(got[2].button, WIIMOTE_BUTTON_DOWN);
  EXPECT_TRUE(got[2].down);
  for (const WiimoteInput& input : got) EXPECT_EQ(input.type, WiimoteInput::kButton);
  EXPECT_TRUE(inputs(now, now).empty()) << "nothing changed, nothing to say";
}

// SDL's axes back to the remote's counts: x = -SDL x, y = SDL z, z = SDL y.
TEST(WiiuseSdlMapping, AccelerometerInTheRemotesCountsHeldToItsRange) {
  int x, y, z;
  const float flat[3] = {0.0f, kG, 0.0f};
  ASSERT_TRUE(sdlRemoteAccel(flat, x, y, z));
  EXPECT_EQ(std::vector<int>({x, y, z}), std::vector<int>({0, 0, 100}));
  const float skew[3] = {-0.5f * kG, 0.87f * kG, 0.25f * kG};
  ASSERT_TRUE(sdlRemoteAccel(skew, x, y, z));
  EXPECT_EQ(std::vector<int>({x, y, z}), std::vector<int>({50, 25, 87}));
  // The remote reads -512 to 511 counts (about ±5 g): SDL never gives more,
  // and anything beyond is held there.
  const float beyond[3] = {-6.0f * kG, 6.0f * kG, -1e30f};
  ASSERT_TRUE(sdlRemoteAccel(beyond, x, y, z));
  EXPECT_EQ(std::vector<int>({x, y, z}), std::vector<int>({511, -512, 511}));
  const float nan[3] = {NAN, 0.0f, kG};
  EXPECT_FALSE(sdlRemoteAccel(nan, x, y, z));
  EXPECT_TRUE(inputs(remote(), tilted(NAN, 0.0f, kG)).empty()) << "no motion from no number";
  // A change under one count is no new sample.
  EXPECT_TRUE(inputs(tilted(0.0f, kG, 0.0f), tilted(0.04f, kG, 0.0f)).empty());
  EXPECT_EQ(inputs(tilted(0.0f, kG, 0.0f), tilted(0.1f, kG, 0.0f)).size(), 1u);
}

// Gone is said once, and is all that is said then; an extension plugged in
// (SDL renames the remote) is said before the buttons.
TEST(WiiuseSdlMapping, DetachmentAndExtensions) {
  SdlRemoteReading gone = {};
  std::deque<WiimoteInput> got = inputs(remote({SDL_CONTROLLER_BUTTON_A}), gone);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].type, WiimoteInput::kGone);
  EXPECT_TRUE(inputs(gone, gone).empty());

  SdlRemoteReading withNunchuk = remote({SDL_CONTROLLER_BUTTON_A});
  withNunchuk.name = "Nintendo Wii Remote with Nunchuk";
  got = inputs(remote(), withNunchuk);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].type, WiimoteInput::kChanged);
  EXPECT_EQ(got[1].type, WiimoteInput::kButton);
}

TEST(WiiuseSdlMapping, RemotesAndTheirExtensionsByName) {
  EXPECT_TRUE(isSdlWiiRemote("Nintendo Wii Remote"));
  EXPECT_TRUE(isSdlWiiRemote("Nintendo Wii Remote with Nunchuk"));
  EXPECT_TRUE(isSdlWiiRemote("Nintendo Wii Remote with Classic Controller"));
  EXPECT_TRUE(isSdlWiiRemote("Nintendo Wii Remote with Unknown Extension"));
  EXPECT_FALSE(isSdlWiiRemote("Nintendo Wii U Pro Controller"));
  EXPECT_FALSE(isSdlWiiRemote("Nintendo Wii Remote Pro Controller"));
  EXPECT_FALSE(isSdlWiiRemote("Xbox 360 Controller"));
  EXPECT_FALSE(isSdlWiiRemote(nullptr));
  EXPECT_EQ(sdlRemoteExtension("Nintendo Wii Remote"), "none");
  EXPECT_EQ(sdlRemoteExtension("Nintendo Wii Remote with Nunchuk"), "nunchuk");
  EXPECT_EQ(sdlRemoteExtension("Nintendo Wii Remote with Classic Controller"), "classic");
  EXPECT_EQ(sdlRemoteExtension("Nintendo Wii Remote with Unknown Extension"), "unknown");
}

// The readings of one session played through the stand-in, as the SDL
// backend's device delivers them.
class WiiuseSdlSession : public ::testing::Test {
 protected:
  void SetUp() override {
    wiiuse_set_backend(&backend);
    backend.addRemote("sdl");
    wm = wiiuse_init(1);
    wiiuse_find(wm, 1, 5);
    ASSERT_EQ(wiiuse_connect(wm, 1), 1);
    wiiuse_motion_sensing(wm[0], 1);
  }
  void TearDown() override { wiiuse_set_backend(nullptr); }

  // Queues what leads from the last reading to `now`.
  void read(const SdlRemoteReading& now) {
    std::deque<WiimoteInput> out;
    sdlRemoteInputs(last, now, out);
    for (const WiimoteInput& input : out) push(input);
    last = now;
  }
  void push(const WiimoteInput& input) {
    switch (input.type) {
      case WiimoteInput::kButton: backend.button("sdl", input.button, input.down); break;
      case WiimoteInput::kMotion: backend.motion("sdl", input.x, input.y, input.z); break;
      case WiimoteInput::kGone: backend.disconnect("sdl"); break;
      case WiimoteInput::kChanged: backend.plug("sdl", "none"); break;
    }
  }

  ScriptedBackend backend;
  wiimote** wm = nullptr;
  SdlRemoteReading last = remote();
};

// Roll and pitch at rest, at ±90 degrees and at 30, as the kernel driver's
// counts give them.
TEST_F(WiiuseSdlSession, OrientationFromSdlsAccelerometer) {
  const struct {
    float x, y, z;
    float roll, pitch;
  } table[] = {
      {0.0f, kG, 0.0f, 0.0f, 0.0f},          // flat, buttons up
      {-kG, 0.0f, 0.0f, 90.0f, 0.0f},        // on its side
      {kG, 0.0f, 0.0f, -90.0f, 0.0f},        // on its other side
      {0.0f, 0.0f, kG, 0.0f, 90.0f},         // pointing up
      {0.0f, 0.0f, -kG, 0.0f, -90.0f},       // pointing down
      {-0.5f * kG, 0.866f * kG, 0.0f, 29.9f, 0.0f},  // rolled 30 degrees
  };
  for (const auto& row : table) {
    read(tilted(row.x, row.y, row.z));
    ASSERT_EQ(wiiuse_poll(wm, 1), 1);
    EXPECT_EQ(wm[0]->event, WIIUSE_EVENT);
    EXPECT_NEAR(wm[0]->orient.roll, row.roll, 0.05) << row.x << " " << row.y << " " << row.z;
    EXPECT_NEAR(wm[0]->orient.pitch, row.pitch, 0.05) << row.x << " " << row.y << " " << row.z;
  }
}

// HOME pressed, B held across a tilt, everything let go, then the remote
// switched off: the reports a game sees, in order, and the disconnection
// once.
TEST_F(WiiuseSdlSession, APressTiltReleaseAndDisconnection) {
  read(remote({SDL_CONTROLLER_BUTTON_GUIDE}));
  read(remote({SDL_CONTROLLER_BUTTON_A}));
  SdlRemoteReading firing = tilted(-kG, 0.0f, 0.0f);
  firing.buttons[SDL_CONTROLLER_BUTTON_A] = true;
  read(firing);
  read(tilted(-kG, 0.0f, 0.0f));
  read(SdlRemoteReading{});
  read(SdlRemoteReading{});

  const unsigned short expected[] = {WIIMOTE_BUTTON_HOME, 0, WIIMOTE_BUTTON_B, WIIMOTE_BUTTON_B, 0};
  for (unsigned short buttons : expected) {
    ASSERT_EQ(wiiuse_poll(wm, 1), 1);
    EXPECT_EQ(wm[0]->event, WIIUSE_EVENT);
    EXPECT_EQ(wm[0]->btns, buttons);
  }
  EXPECT_FLOAT_EQ(wm[0]->orient.roll, 90.0f);
  ASSERT_EQ(wiiuse_poll(wm, 1), 1);
  EXPECT_EQ(wm[0]->event, WIIUSE_UNEXPECTED_DISCONNECT);
  EXPECT_FALSE(WIIMOTE_IS_CONNECTED(wm[0]));
  EXPECT_EQ(wiiuse_poll(wm, 1), 0) << "said once";
}

}  // namespace

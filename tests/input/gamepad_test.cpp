// Game controllers through SDL's virtual joystick, opened as a game controller
// the way a real one is: key steps and their repeats, the dead zone, firing
// with its sound, hot plug, and frames with no controller.
#include <GL/glut.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "input/gamepad.h"
#include "input/keyboard.h"
#include "platform/gamepad/pad_device.h"
#include "platform/os/os.h"
#include "tests/input/input_test_util.h"
#include "tests/input/virtual_pad.h"
#include "tests/tools/temp_dir.h"

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() { return fakeNow; }

// A virtual controller, opened as a joystick to move its sticks and buttons.
struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
  void attach(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER, Uint16 vendor = 0,
              Uint16 product = 0, const char* name = nullptr) {
    joystick = SDL_JoystickOpen(attachVirtualPad(type, vendor, product, name));
    ASSERT_NE(joystick, nullptr) << SDL_GetError();
  }
  void detach() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick)) {
        SDL_JoystickDetachVirtual(i);
      }
    }
    SDL_JoystickClose(joystick);
  }
  void axis(int axis, int value) { SDL_JoystickSetVirtualAxis(joystick, axis, value); }
  void button(int button, bool down) { SDL_JoystickSetVirtualButton(joystick, button, down); }
};

class GamepadTest : public testing::Test {
 protected:
  void SetUp() override {
    resetGameState();
    fakeNow = 5000;
    setClockSource(fakeClock);
    initGamepad();
  }
  void TearDown() override {
    stopGamepad();
    setClockSource(nullptr);
  }
  // One reading every `frameMs` for `ms` milliseconds, the last at its end.
  static void run(uint32_t ms, uint32_t frameMs = 10) {
    for (uint32_t t = 0; t < ms; t += frameMs, fakeNow += frameMs) readGamepad();
    readGamepad();
  }
  // Connected during play: the frames' readings pick it up.
  static void plugIn(VirtualPad& pad) {
    pad.attach();
    run(300);
  }
};

TEST_F(GamepadTest, StickStepsLikeRightPressesBeyondTheDeadZoneOnly) {
  VirtualPad pad;
  plugIn(pad);
  const std::vector<unsigned char> before = snapshot();
  // Up to the dead zone's edge, itself included, the stick makes no step.
  for (int value : {8000, -8000, kGamepadDeadZone, -kGamepadDeadZone}) {
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, value);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, value);
    run(1000);
    EXPECT_TRUE(snapshot() == before) << "inside the dead zone at " << value;
  }
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, kGamepadDeadZone + 1);
  run(0);
  EXPECT_EQ(gameState.yaw, -2) << "one past the edge steps";
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  run(0);
  resetGameState();
  // Held right for one second, in fast frames and in slow ones that take
  // several repeats each: a step at the push, then at 500, 540, ..., 980 ms.
  for (uint32_t frameMs : {10u, 250u}) {
    resetGameState();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 9000);
    run(1000, frameMs);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    run(500);
    const int yaw = gameState.yaw, roll = gameState.roll, rollHeld = gameState.rollHeld;
    resetGameState();
    for (int i = 0; i < 14; ++i) onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(yaw, gameState.yaw) << frameMs;
    EXPECT_EQ(roll, gameState.roll) << frameMs;
    EXPECT_EQ(rollHeld, gameState.rollHeld) << frameMs;
  }
}

// After a frame stalled for seconds (a slow disk, a suspended process) with
// a direction held, the repeats pick up at their own pace: one second's worth
// in the late frame at most, and no backlog poured out after it.
TEST_F(GamepadTest, AStalledFrameTakesAtMostOneSecondOfRepeats) {
  VirtualPad pad;
  plugIn(pad);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  run(1000);
  // The push, then 500, 540, ..., 1000 ms.
  EXPECT_EQ(gameState.yaw, -2 * 14);
  int yaw = gameState.yaw;
  fakeNow += 5000;
  readGamepad();
  EXPECT_EQ(yaw - gameState.yaw, 2 * int(1000 / kGamepadRepeatIntervalMs)) << "the stalled frame";
  yaw = gameState.yaw;
  run(200);
  EXPECT_EQ(yaw - gameState.yaw, 2 * int(200 / kGamepadRepeatIntervalMs)) << "the frames after it";
}

TEST_F(GamepadTest, AFiresOncePerPressWithTheMissileSoundAndButtonsMakeTheirKeys) {
  std::string wav = loadMissileSound("gamepad_missile.wav");
  ASSERT_FALSE(wav.empty());
  VirtualPad pad;
  plugIn(pad);
  gameState.shipX = 7.5f;
  EXPECT_EQ(gameState.controlsListShown, 1);
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  run(0);
  EXPECT_EQ(gameState.missilesFlying, 1);
  EXPECT_EQ(gameState.controlsListShown, 0) << "a button ends the start-up controls list";
  EXPECT_EQ(gameState.missileOrigin[0], 7);
  EXPECT_EQ(Mix_Playing(1), 1);
  EXPECT_EQ(Mix_Playing(-1), 1) << "on channel 1 alone";
  gameState.shipX = 30.5f;
  run(1000);
  EXPECT_EQ(gameState.missileOrigin[0], 7) << "a held button fires one pair";
  pad.button(SDL_CONTROLLER_BUTTON_A, false);
  run(0);
  pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  run(0);
  EXPECT_EQ(gameState.missileOrigin[0], 30);
  for (int button : {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_Y,
                     SDL_CONTROLLER_BUTTON_START}) {
    pad.button(button, true);
  }
  run(1000);
  EXPECT_EQ(gameState.speed, 28) << "the shoulder repeats like z";
  EXPECT_EQ(gameState.freeCamera, 1.0f) << "Y and Start act once, like F2 and p";
  EXPECT_EQ(gameState.paused, 1);
  unloadMissileSound(wav);
}

TEST_F(GamepadTest, ControllerRemovedMidFlightThenAnotherTakesOver) {
  stopGamepad();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  VirtualPad first, second;
  first.attach();
  initGamepad();
  first.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  run(0);
  EXPECT_EQ(gameState.yaw, -2) << "connected before start-up, it flies from the first frame";
  first.detach();
  run(1000);
  EXPECT_EQ(gameState.yaw, -2) << "pulled out while held, it steps no more";

  plugIn(second);
  second.axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
  run(0);
  EXPECT_EQ(gameState.pitch, -2) << "the next one connected flies";
  stopGamepad();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The controller in use pulled out while others stay connected: the next
// one takes over at once, with no device connected meanwhile, also when SDL's
// removal event was lost (the controller then only reads as detached).
TEST_F(GamepadTest, TheOtherConnectedControllerTakesOverWhenTheOneInUseIsPulledOut) {
  stopGamepad();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  VirtualPad first, second, third;
  first.attach();
  second.attach();
  third.attach();
  initGamepad();
  first.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  second.axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
  third.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
  run(0);
  EXPECT_EQ(gameState.yaw, -2) << "the first one connected flies";
  EXPECT_EQ(gameState.pitch, 0) << "the second one waits";
  first.detach();
  run(kPadDetectMs);
  EXPECT_EQ(gameState.yaw, -2);
  EXPECT_EQ(gameState.pitch, -2) << "the second one flies once the first is gone";
  EXPECT_EQ(gameState.speed, 0) << "the third one waits";

  second.detach();
  SDL_FlushEvents(SDL_JOYDEVICEREMOVED, SDL_JOYDEVICEREMOVED);
  SDL_FlushEvents(SDL_CONTROLLERDEVICEREMOVED, SDL_CONTROLLERDEVICEREMOVED);
  run(0);
  EXPECT_EQ(gameState.pitch, -2);
  EXPECT_EQ(gameState.speed, 2) << "the removal event lost, the third one did not take over";
  stopGamepad();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The installed game's data folder is read-only: a player's own mappings go
// in the configuration folder, and win over the data folder's for a device
// both map.
TEST_F(GamepadTest, ThePlayersOwnMappingsComeFromTheConfigurationFolder) {
  stopGamepad();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  VirtualPad stick;
  stick.attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 0x1234, 0x5678, "Player Stick");
  ASSERT_FALSE(SDL_IsGameController(SDL_NumJoysticks() - 1)) << "SDL maps it by itself";
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(stick.joystick), guid, sizeof guid);
  TempDir data, config;
  ASSERT_EQ(mkdir((config.path + "/vekotra").c_str(), 0700), 0);
  // Start is the stick's button 0 in the data folder's file, 1 in the player's.
  std::ofstream(data.path + "/gamecontrollerdb.txt")
      << guid << ",Data Stick,start:b0,platform:Linux,\n";
  std::ofstream(config.path + "/vekotra/gamecontrollerdb.txt")
      << guid << ",Player Stick,start:b1,platform:Linux,\n";
  char* oldDirectory = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(data.path.c_str()), 0);
  setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
  initGamepad();
  unsetenv("XDG_CONFIG_HOME");
  ASSERT_EQ(chdir(oldDirectory), 0);
  free(oldDirectory);
  stick.button(0, true);
  run(300);
  EXPECT_EQ(gameState.paused, 0) << "the data folder's mapping won";
  stick.button(1, true);
  run(0);
  EXPECT_EQ(gameState.paused, 1) << "the player's mapping was not read";
  stick.detach();
  stopGamepad();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The Wii Remote path reads the remote. SDL would open it as a game
// controller too (its own Wii driver, or its database's mapping of the
// kernel driver's devices), and every press would act twice; on Windows
// SDL's own driver is the Wii Remote path's and names the remote with its
// extension. The Wii U Pro Controller has the Wii Remote Plus's USB ids, and
// is a gamepad.
TEST_F(GamepadTest, WiiRemotesAreNeverOpenedAsGamepadsButTheWiiUProControllerIs) {
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_JOYSTICK_HIDAPI_WII), "0");
  struct Part {
    Uint16 product;
    const char* name;
  };
  for (Part part : {Part{0x0306, "Nintendo Wii Remote"}, Part{0x0330, "Nintendo Wii Remote"},
                    Part{0x0330, "Nintendo Wii Remote Accelerometer"},
                    Part{0x0306, "Nintendo Wii Remote with Nunchuk"},
                    // The names SDL's own driver gives on Windows.
                    Part{0x0306, "Nintendo Wii Remote with Classic Controller"},
                    Part{0x0330, "Nintendo Wii Remote with Unknown Extension"}}) {
    VirtualPad remote;
    remote.attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0x057e, part.product, part.name);
    ASSERT_TRUE(SDL_IsGameController(SDL_NumJoysticks() - 1)) << "SDL would take it as one";
    remote.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    remote.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    run(1000);
    EXPECT_EQ(gameState.yaw, 0) << part.name << " " << std::hex << part.product;
    EXPECT_EQ(gameState.speed, 0) << part.name << " " << std::hex << part.product;
    remote.detach();
  }
  // Connected after a Wii Remote Plus, the Pro Controller is the one that flies.
  VirtualPad remote, pro;
  remote.attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0x057e, 0x0330, "Nintendo Wii Remote");
  remote.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  run(300);
  pro.attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0x057e, 0x0330,
             "Nintendo Wii Remote Pro Controller");
  run(300);
  pro.axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
  run(0);
  EXPECT_EQ(gameState.pitch, -2) << "the Wii U Pro Controller does not fly";
  EXPECT_EQ(gameState.yaw, 0);
  pro.detach();
  remote.detach();
}

// The game never reads SDL's events, so SDL must not take over the signals
// that end a process. Started afresh, with SDL's hints as a new process has
// them (the sound layer sets the same hint for itself).
TEST_F(GamepadTest, StartLeavesInterruptAndTerminateAlone) {
  stopGamepad();
  ASSERT_EQ(SDL_WasInit(SDL_INIT_EVENTS), 0u);
  SDL_ResetHint(SDL_HINT_NO_SIGNAL_HANDLERS);
  for (int signal : {SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
  initGamepad();
  ASSERT_NE(SDL_WasInit(SDL_INIT_EVENTS), 0u);
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action;
    ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
  }
}

TEST_F(GamepadTest, WithNoControllerTheReadingDoesNothing) {
  const std::vector<unsigned char> before = snapshot();
  run(2000);
  VirtualPad stick;
  stick.attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK);
  stick.axis(0, 32767);
  stick.button(0, true);
  run(2000);
  EXPECT_TRUE(snapshot() == before) << "a joystick that is no game controller is left alone";
}

}  // namespace

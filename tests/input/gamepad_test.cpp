// Game controllers through SDL's virtual joystick, opened as a game controller
// the way a real one is: repeats like a held key, the dead zone, firing with
// its sound, hot plug, mappings, and frames with no controller.
#include <GL/glut.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game_state.h"
#include "input/gamepad.h"
#include "input/keyboard.h"
#include "platform/os/os.h"
#include "sound/sound.h"
#include "tests/input/input_test_util.h"

namespace {

uint32_t fakeNow = 0;
uint32_t fakeClock() { return fakeNow; }

// A virtual controller numbered as SDL's standard buttons and axes, which SDL
// maps as a game controller by itself; `controller` false makes a plain
// joystick that no mapping names.
struct VirtualPad {
  SDL_Joystick* joystick = nullptr;

  void attach(bool controller = true) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    desc.axis_mask = (1u << desc.naxes) - 1;
    desc.button_mask = (1u << desc.nbuttons) - 1;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    joystick = SDL_JoystickOpen(index);
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
  // A controller connected after start-up, picked up by the frames' readings.
  static void attachAndPickUp(VirtualPad& pad) {
    pad.attach();
    run(300);
  }
};

TEST_F(GamepadTest, StickHeldRightForOneSecondStepsLikeFourteenRightPresses) {
  VirtualPad pad;
  attachAndPickUp(pad);
  // Fast frames, then slow ones that each take several repeats: either way
  // one step at the push, then repeats at 500, 540, ..., 980 ms.
  for (uint32_t frameMs : {10u, 250u}) {
    resetGameState();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
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
  pad.detach();
}

TEST_F(GamepadTest, StickInsideTheDeadZoneChangesNothing) {
  VirtualPad pad;
  attachAndPickUp(pad);
  const std::vector<unsigned char> before = snapshot();
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 8000);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -8000);
  run(1000);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -8000);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 8000);
  run(1000);
  EXPECT_TRUE(snapshot() == before);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 9000);
  run(0);
  EXPECT_EQ(gameState.pitch, 2) << "just beyond the dead zone the nose goes down";
  pad.detach();
}

TEST_F(GamepadTest, SouthButtonAndRightTriggerFireOncePerPressWithTheMissileSound) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ASSERT_EQ(FSOUND_Init(44100, 32, 0), 1);
  std::string wav = writeTestWav("gamepad_missile.wav");
  missileSample = FSOUND_Sample_Load(FSOUND_FREE, wav.c_str(), FSOUND_2D, 0, 0);
  ASSERT_NE(missileSample, nullptr);
  VirtualPad pad;
  attachAndPickUp(pad);

  gameState.shipX = 7.5f;
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  run(0);
  EXPECT_EQ(gameState.missilesFlying, 1);
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

  pad.detach();
  FSOUND_Close();
  missileSample = nullptr;
  remove(wav.c_str());
}

TEST_F(GamepadTest, DpadShouldersAndButtonsMakeTheirKeysAndNothingElseActs) {
  VirtualPad pad;
  attachAndPickUp(pad);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
  run(1000);
  EXPECT_EQ(gameState.pitch, -28);
  EXPECT_EQ(gameState.speed, 28);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
  pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
  pad.button(SDL_CONTROLLER_BUTTON_Y, true);
  pad.button(SDL_CONTROLLER_BUTTON_START, true);
  run(1000);
  EXPECT_EQ(gameState.speed, 0);
  EXPECT_EQ(gameState.freeCamera, 1.0f) << "a held button switches the camera once";
  EXPECT_EQ(gameState.paused, 1);

  for (int button : {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_Y,
                     SDL_CONTROLLER_BUTTON_START}) {
    pad.button(button, false);
  }
  run(0);
  const std::vector<unsigned char> before = snapshot();
  for (int button : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_BACK,
                     SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_LEFTSTICK,
                     SDL_CONTROLLER_BUTTON_RIGHTSTICK}) {
    pad.button(button, true);
  }
  pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
  pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
  run(1000);
  EXPECT_TRUE(snapshot() == before);
  pad.detach();
}

TEST_F(GamepadTest, ControllerRemovedMidFlightThenAnotherTakesOver) {
  stopGamepad();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  VirtualPad first, second, third;
  first.attach();
  initGamepad();
  first.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  run(0);
  EXPECT_EQ(gameState.yaw, -2) << "connected before start-up, it flies from the first frame";
  first.detach();
  run(1000);
  EXPECT_EQ(gameState.yaw, -2) << "pulled out while held, it steps no more";

  attachAndPickUp(second);
  second.axis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
  run(0);
  EXPECT_EQ(gameState.pitch, -2) << "the next one connected flies";
  attachAndPickUp(third);
  third.axis(SDL_CONTROLLER_AXIS_LEFTX, -32767);
  run(0);
  EXPECT_EQ(gameState.yaw, -2) << "a third waits while the second flies";
  second.detach();
  run(0);
  EXPECT_EQ(gameState.yaw, 0) << "the third, already connected, takes over at once";

  third.detach();
  stopGamepad();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST_F(GamepadTest, MappingsFromTheFileThenTheEnvironment) {
  stopGamepad();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  VirtualPad pad;
  pad.attach();
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(pad.joystick), guid, sizeof guid);
  std::fill(guid + 4, guid + 8, '0');  // mappings name devices without the name's checksum
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(testing::TempDir().c_str()), 0);
  FILE* file = fopen("gamecontrollerdb.txt", "w");
  ASSERT_NE(file, nullptr);
  fprintf(file, "# remapped\n%s,Remapped,start:b3,platform:Linux,\n", guid);
  fclose(file);

  initGamepad();
  pad.button(3, true);
  run(0);
  EXPECT_EQ(gameState.paused, 1) << "the file's mapping puts Start on button 3";
  stopGamepad();
  pad.button(3, false);
  setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guid) + ",Env,start:b4,").c_str(), 1);
  initGamepad();
  run(0);
  pad.button(3, true);
  run(0);
  EXPECT_EQ(gameState.paused, 1) << "the environment's mapping wins: button 3 is not Start";
  pad.button(4, true);
  run(0);
  EXPECT_EQ(gameState.paused, 0) << "and button 4 is";

  unsetenv("SDL_GAMECONTROLLERCONFIG");
  remove("gamecontrollerdb.txt");
  ASSERT_EQ(chdir(cwd), 0);
  pad.detach();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST_F(GamepadTest, WithNoControllerTheReadingDoesNothing) {
  const std::vector<unsigned char> before = snapshot();
  run(2000);
  EXPECT_TRUE(snapshot() == before);
  VirtualPad stick;  // a joystick no mapping names is not a controller
  stick.attach(false);
  stick.axis(0, 32767);
  stick.button(0, true);
  run(2000);
  EXPECT_TRUE(snapshot() == before);
  stick.detach();
}

}  // namespace

#include "input/gamepad.h"

#include <GL/glut.h>

#include <string>
#include <vector>

#include "input/keyboard.h"
#include "platform/gamepad/pad_device.h"
#include "platform/os/os.h"

// A key of the keyboard: an ordinary character or a GLUT special key.
struct Key {
  bool special;
  int code;
};

// Controls that repeat their key while held, and their state.
enum { kLeft, kRight, kUp, kDown, kFaster, kSlower, kRepeatingCount };
static const Key kRepeatingKeys[kRepeatingCount] = {
    {true, GLUT_KEY_LEFT}, {true, GLUT_KEY_RIGHT}, {true, GLUT_KEY_UP},
    {true, GLUT_KEY_DOWN}, {false, 'z'},           {false, 's'}};

struct HeldControl {
  bool held;
  uint32_t nextStep;  // game clock of the next repeat
};
static HeldControl heldControls[kRepeatingCount];

// Controls that act once per press, and whether each was down last frame.
enum { kFire, kCamera, kPause, kOnceCount };
static const Key kOnceKeys[kOnceCount] = {{false, 'g'}, {true, GLUT_KEY_F2}, {false, 'p'}};
static bool wasDown[kOnceCount];

// At most one second of repeats is taken in one frame: after a longer stall
// the repeats start again from this frame rather than pouring out at once.
static const int kMostRepeatsPerFrame = 1000 / kGamepadRepeatIntervalMs;

static void press(const Key& key) {
  if (key.special) {
    onSpecialKey(key.code, 0, 0);
  } else {
    onKeyboard(static_cast<unsigned char>(key.code), 0, 0);
  }
}

static void forgetControls() {
  for (HeldControl& control : heldControls) control = HeldControl{false, 0};
  for (bool& down : wasDown) down = false;
}

// A frame slower than the repeat interval takes every repeat that fell due
// within it, as the keyboard's queued events would arrive together.
static void repeatWhileHeld(HeldControl& control, const Key& key, bool down, uint32_t now) {
  if (!down) {
    control.held = false;
    return;
  }
  if (!control.held) {
    control.held = true;
    control.nextStep = now + kGamepadRepeatDelayMs;
    press(key);
    return;
  }
  int repeats = 0;
  while (static_cast<int32_t>(now - control.nextStep) >= 0) {
    if (repeats == kMostRepeatsPerFrame) {
      control.nextStep = now + kGamepadRepeatIntervalMs;
      break;
    }
    press(key);
    control.nextStep += kGamepadRepeatIntervalMs;
    ++repeats;
  }
}

void initGamepad() {
  forgetControls();
  // The data folder's file, then the player's own, which wins for a device
  // both map: the installed data folder is read-only.
  std::vector<std::string> mappingFiles = {"gamecontrollerdb.txt"};
  const std::string folder = configFolder();
  if (!folder.empty()) mappingFiles.push_back(folder + "/gamecontrollerdb.txt");
  padDeviceStart(mappingFiles);
}

void stopGamepad() {
  padDeviceStop();
  forgetControls();
}

void readGamepad() {
  PadReading pad;
  if (!padDeviceRead(&pad)) {
    forgetControls();
    return;
  }
  const bool repeating[kRepeatingCount] = {
      pad.dpadLeft || pad.leftX < -kGamepadDeadZone,
      pad.dpadRight || pad.leftX > kGamepadDeadZone,
      pad.dpadUp || pad.leftY < -kGamepadDeadZone,
      pad.dpadDown || pad.leftY > kGamepadDeadZone,
      pad.rightShoulder,
      pad.leftShoulder};
  const uint32_t now = timeGetTime();
  for (int i = 0; i < kRepeatingCount; ++i) {
    repeatWhileHeld(heldControls[i], kRepeatingKeys[i], repeating[i], now);
  }

  const bool once[kOnceCount] = {pad.south || pad.rightTrigger > kGamepadTriggerPull, pad.north,
                                 pad.start};
  for (int i = 0; i < kOnceCount; ++i) {
    if (once[i] && !wasDown[i]) press(kOnceKeys[i]);
    wasDown[i] = once[i];
  }
}

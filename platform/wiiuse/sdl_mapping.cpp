#include "platform/wiiuse/sdl_mapping.h"

#include <cmath>
#include <cstring>

#include "platform/wiiuse/wiiuse.h"

bool isSdlWiiRemote(const char* name) {
  static const char kRemote[] = "Nintendo Wii Remote";
  if (name == nullptr || strncmp(name, kRemote, sizeof kRemote - 1) != 0) return false;
  return strcmp(name, "Nintendo Wii Remote Pro Controller") != 0;
}

std::string sdlRemoteExtension(const std::string& name) {
  if (name == "Nintendo Wii Remote with Nunchuk") return "nunchuk";
  if (name == "Nintendo Wii Remote with Classic Controller") return "classic";
  if (name == "Nintendo Wii Remote") return "none";
  return "unknown";
}

// SDL 2.26's layout of the remote alone or with a Nunchuk
// (HandleWiiRemoteButtonDataAsMainController): B, the trigger, is the
// controller's A; A is B; 1 and 2 are X and Y.
static const struct {
  SDL_GameControllerButton sdl;
  unsigned short wiimote;
} kButtons[] = {
    {SDL_CONTROLLER_BUTTON_Y, WIIMOTE_BUTTON_TWO},
    {SDL_CONTROLLER_BUTTON_X, WIIMOTE_BUTTON_ONE},
    {SDL_CONTROLLER_BUTTON_A, WIIMOTE_BUTTON_B},
    {SDL_CONTROLLER_BUTTON_B, WIIMOTE_BUTTON_A},
    {SDL_CONTROLLER_BUTTON_BACK, WIIMOTE_BUTTON_MINUS},
    {SDL_CONTROLLER_BUTTON_GUIDE, WIIMOTE_BUTTON_HOME},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, WIIMOTE_BUTTON_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, WIIMOTE_BUTTON_RIGHT},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, WIIMOTE_BUTTON_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, WIIMOTE_BUTTON_UP},
    {SDL_CONTROLLER_BUTTON_START, WIIMOTE_BUTTON_PLUS},
};

unsigned short sdlRemoteButtons(const SdlRemoteReading& reading) {
  unsigned short bits = 0;
  for (const auto& button : kButtons) {
    if (reading.buttons[button.sdl]) bits |= button.wiimote;
  }
  return bits;
}

// One axis in the remote's counts: 100 per g, as SDL divided them.
static int counts(float metresPerSecond2) {
  double value = std::round(static_cast<double>(metresPerSecond2) / SDL_STANDARD_GRAVITY * 100.0);
  if (value < -512.0) return -512;
  if (value > 511.0) return 511;
  return static_cast<int>(value);
}

bool sdlRemoteAccel(const float accel[3], int& x, int& y, int& z) {
  for (int axis = 0; axis < 3; ++axis) {
    if (std::isnan(accel[axis])) return false;
  }
  x = counts(-accel[0]);
  y = counts(accel[2]);
  z = counts(accel[1]);
  return true;
}

static void append(std::deque<WiimoteInput>& inputs, WiimoteInput::Type type) {
  WiimoteInput input = {};
  input.type = type;
  inputs.push_back(input);
}

void sdlRemoteInputs(const SdlRemoteReading& before, const SdlRemoteReading& now,
                     std::deque<WiimoteInput>& inputs) {
  if (!now.attached) {
    if (before.attached) append(inputs, WiimoteInput::kGone);
    return;
  }
  if (sdlRemoteExtension(now.name) != sdlRemoteExtension(before.name)) {
    append(inputs, WiimoteInput::kChanged);
  }
  unsigned short was = sdlRemoteButtons(before);
  unsigned short is = sdlRemoteButtons(now);
  for (bool down : {false, true}) {
    for (unsigned short bit = 1; bit != 0; bit = static_cast<unsigned short>(bit << 1)) {
      bool changed = ((was ^ is) & bit) != 0;
      if (!changed || ((is & bit) != 0) != down) continue;
      WiimoteInput input = {};
      input.type = WiimoteInput::kButton;
      input.button = bit;
      input.down = down;
      inputs.push_back(input);
    }
  }
  if (!now.accelValid) return;
  WiimoteInput motion = {};
  motion.type = WiimoteInput::kMotion;
  if (!sdlRemoteAccel(now.accel, motion.x, motion.y, motion.z)) return;
  int x = 0, y = 0, z = 0;
  bool same = before.accelValid && sdlRemoteAccel(before.accel, x, y, z) && x == motion.x &&
              y == motion.y && z == motion.z;
  if (!same) inputs.push_back(motion);
}

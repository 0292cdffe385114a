// The Wii Remote through SDL's game-controller subsystem, for Windows: SDL's
// HIDAPI driver reads a remote paired with the system as a Bluetooth HID
// device. Remotes are the controllers SDL lists under a Wii Remote's name;
// each read asks SDL for the controller's state and turns the difference
// from the last reading into inputs (sdl_mapping.h). States, not SDL's
// event queue: the gamepad code takes the device events out of the same
// queue on the main thread.
#include <SDL.h>

#include <cstring>
#include <deque>
#include <string>

#include "platform/wiiuse/backend.h"
#include "platform/wiiuse/sdl_mapping.h"

// The longest pause between two looks at the controller while a read waits:
// the remote reports at most every 10 ms.
static const int kLookMs = 2;

static SdlRemoteReading readRemote(SDL_GameController* pad) {
  SdlRemoteReading reading = {};
  reading.attached = SDL_GameControllerGetAttached(pad) == SDL_TRUE;
  if (!reading.attached) return reading;
  const char* name = SDL_GameControllerName(pad);
  reading.name = name != nullptr ? name : "";
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    reading.buttons[button] =
        SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(button)) == 1;
  }
  reading.accelValid = SDL_GameControllerIsSensorEnabled(pad, SDL_SENSOR_ACCEL) &&
                       SDL_GameControllerGetSensorData(pad, SDL_SENSOR_ACCEL, reading.accel, 3) == 0;
  return reading;
}

class SdlRemote : public WiimoteDevice {
 public:
  explicit SdlRemote(SDL_GameController* pad) : pad_(pad) {
    SDL_GameControllerUpdate();
    last_ = readRemote(pad_);
  }
  ~SdlRemote() override { SDL_GameControllerClose(pad_); }

  bool next(WiimoteInput& input, int timeoutMs) override {
    Uint32 start = SDL_GetTicks();
    while (inputs_.empty() && !goneReported_) {
      SDL_GameControllerUpdate();
      SdlRemoteReading now = readRemote(pad_);
      sdlRemoteInputs(last_, now, inputs_);
      last_ = now;
      if (!inputs_.empty() || static_cast<int>(SDL_GetTicks() - start) >= timeoutMs) break;
      SDL_Delay(kLookMs);
    }
    if (inputs_.empty()) return false;
    input = inputs_.front();
    inputs_.pop_front();
    if (input.type == WiimoteInput::kGone) goneReported_ = true;
    return true;
  }

  std::string extension() override { return sdlRemoteExtension(last_.name); }

  int battery() override {
    switch (SDL_JoystickCurrentPowerLevel(SDL_GameControllerGetJoystick(pad_))) {
      case SDL_JOYSTICK_POWER_EMPTY: return 5;
      case SDL_JOYSTICK_POWER_LOW: return 20;
      case SDL_JOYSTICK_POWER_MEDIUM: return 70;
      case SDL_JOYSTICK_POWER_FULL: return 100;
      default: return -1;
    }
  }

  // SDL lights the light of the controller's player number only: the first
  // light, as player 0 (set at open). Any other pattern is refused.
  bool setLed(int /*number*/, bool /*on*/) override { return false; }

  void setMotion(bool on) override {
    SDL_GameControllerSetSensorEnabled(pad_, SDL_SENSOR_ACCEL, on ? SDL_TRUE : SDL_FALSE);
  }

 private:
  SDL_GameController* pad_;
  SdlRemoteReading last_;
  std::deque<WiimoteInput> inputs_;
  bool goneReported_ = false;
};

class SdlBackend : public WiimoteBackend {
 public:
  // Remotes by SDL's instance id, which a remote keeps while attached.
  std::vector<std::string> list() override {
    std::vector<std::string> names;
    if (!start()) return names;
    SDL_GameControllerUpdate();  // takes in remotes attached since
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (!SDL_IsGameController(i) || !isSdlWiiRemote(SDL_JoystickNameForIndex(i))) continue;
      names.push_back(std::to_string(SDL_JoystickGetDeviceInstanceID(i)));
    }
    return names;
  }

  WiimoteDevice* open(const std::string& name, std::string& error) override {
    if (!start()) {
      error = SDL_GetError();
      return nullptr;
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (std::to_string(SDL_JoystickGetDeviceInstanceID(i)) != name) continue;
      SDL_GameController* pad = SDL_GameControllerOpen(i);
      if (pad == nullptr) break;
      SDL_GameControllerSetPlayerIndex(pad, 0);
      return new SdlRemote(pad);
    }
    error = "the remote is gone";
    return nullptr;
  }

  void sleep(int ms) override { SDL_Delay(static_cast<Uint32>(ms)); }

 private:
  bool start() {
    if (started_) return true;
    // SDL would otherwise catch SIGINT and SIGTERM for a quit event the
    // game never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL 2.26 leaves its Wii Remote driver off unless asked. Asked at the
    // highest priority: the gamepad code turns it off for itself (on Linux
    // the kernel's driver serves the remote), and it must stay on here.
    SDL_SetHintWithPriority(SDL_HINT_JOYSTICK_HIDAPI_WII, "1", SDL_HINT_OVERRIDE);
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return started_;
  }

  bool started_ = false;
};

WiimoteBackend* sdlBackend() {
  // Never destroyed: a detached polling thread may still use it while the
  // process exits.
  static WiimoteBackend* backend = new SdlBackend();
  return backend;
}

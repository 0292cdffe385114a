#include "platform/gamepad/pad_device.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/os/os.h"

static bool started = false;
static SDL_GameController* pad = nullptr;  // the controller in use, or null
static uint32_t lastDetect = 0;            // game clock at the last look for devices

// Adds the mappings of a file in the community's format. SDL reads the whole
// file and skips the lines it cannot use (other platforms, bad syntax); only
// a regular file is handed to it (openFile), so a folder or a FIFO of that
// name is passed over.
static void addMappingFile(const char* path) {
  FILE* file = openFile(path, "rb");
  if (file == nullptr) return;
  SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
  if (rw == nullptr) {
    fclose(file);
    return;
  }
  SDL_GameControllerAddMappingsFromRW(rw, 1);
}

// SDL reads SDL_GAMECONTROLLERCONFIG when the subsystem starts, before the
// file; adding its lines again after the file lets the player's own setting
// win for a device both name.
static void addEnvironmentMappings() {
  const char* config = SDL_GetHint(SDL_HINT_GAMECONTROLLERCONFIG);
  if (config == nullptr) return;
  std::string lines = config;
  size_t begin = 0;
  while (begin < lines.size()) {
    size_t end = lines.find('\n', begin);
    if (end == std::string::npos) end = lines.size();
    std::string line = lines.substr(begin, end - begin);
    if (!line.empty() && line[0] != '#') SDL_GameControllerAddMapping(line.c_str());
    begin = end + 1;
  }
}

// A part of a Wii Remote, by its name: the kernel's driver names the
// remote's buttons "Nintendo Wii Remote" and its other input devices the same
// followed by what they are (" Accelerometer", " IR", " Nunchuk"...); SDL's
// own driver, when a player turns it back on, says "Nintendo Wii Remote with
// Nunchuk" and so on. The Wii Remote path reads the remote: opened as a game
// controller too, each press would act twice (and the accelerometer, mapped
// by the USB ids alone, would steer). The USB ids cannot tell: the Wii Remote
// Plus and the Wii U Pro Controller are both 057e:0330, and the driver names
// the latter "Nintendo Wii Remote Pro Controller", a gamepad that flies.
static bool isWiiRemote(int device) {
  static const char kRemote[] = "Nintendo Wii Remote";
  const char* name = SDL_JoystickNameForIndex(device);
  if (name == nullptr || strncmp(name, kRemote, sizeof kRemote - 1) != 0) return false;
  return strcmp(name, "Nintendo Wii Remote Pro Controller") != 0;
}

// The first connected device SDL can open as a game controller, in the order
// SDL lists them (the order they were connected), Wii Remotes left out; null
// when there is none.
static SDL_GameController* openFirstController() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i) || isWiiRemote(i)) continue;
    SDL_GameController* controller = SDL_GameControllerOpen(i);
    if (controller != nullptr) return controller;
  }
  return nullptr;
}

// Takes the connection and removal events out of SDL's queue and reports
// whether there were any. The joystick and controller events that the game
// does not read (it reads states, not changes) are dropped, so the queue
// never fills up and loses a connection.
static bool takeDeviceEvents() {
  SDL_Event events[8];
  bool any = false;
  while (SDL_PeepEvents(events, 8, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED,
                        SDL_CONTROLLERDEVICEREMOVED) > 0) {
    any = true;
  }
  SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1);
  return any;
}

bool padDeviceStart(const std::vector<std::string>& mappingFiles) {
  if (started) return true;
  // SDL would otherwise catch SIGINT and SIGTERM to queue a quit event that
  // the game never reads, and Ctrl+C or kill would no longer end it.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Buttons by position on every layout, Nintendo's included: south is
  // always the bottom face button.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  // SDL's own Wii Remote driver would take the remote from the Wii Remote path.
  SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI_WII, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  for (const std::string& file : mappingFiles) addMappingFile(file.c_str());
  addEnvironmentMappings();
  started = true;
  pad = openFirstController();
  lastDetect = timeGetTime();
  return true;
}

void padDeviceStop() {
  if (!started) return;
  if (pad != nullptr) SDL_GameControllerClose(pad);
  pad = nullptr;
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started = false;
}

static bool pressed(SDL_GameControllerButton button) {
  return SDL_GameControllerGetButton(pad, button) == 1;
}

bool padDeviceRead(PadReading* reading) {
  if (!started) return false;
  if (pad == nullptr) {
    uint32_t now = timeGetTime();
    if (now - lastDetect < kPadDetectMs) return false;
    lastDetect = now;
  }
  // Takes in new and removed devices and refreshes the open controller.
  SDL_GameControllerUpdate();
  bool devicesChanged = takeDeviceEvents();
  if (pad != nullptr && !SDL_GameControllerGetAttached(pad)) {
    SDL_GameControllerClose(pad);
    pad = nullptr;
    devicesChanged = true;
  }
  if (pad == nullptr && devicesChanged) pad = openFirstController();
  if (pad == nullptr) return false;

  reading->leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  reading->leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  reading->rightTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  reading->dpadUp = pressed(SDL_CONTROLLER_BUTTON_DPAD_UP);
  reading->dpadDown = pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  reading->dpadLeft = pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  reading->dpadRight = pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  reading->south = pressed(SDL_CONTROLLER_BUTTON_A);
  reading->north = pressed(SDL_CONTROLLER_BUTTON_Y);
  reading->leftShoulder = pressed(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  reading->rightShoulder = pressed(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  reading->start = pressed(SDL_CONTROLLER_BUTTON_START);
  return true;
}

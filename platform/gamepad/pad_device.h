// Game controllers through SDL's game-controller subsystem, started on its own
// without SDL's video, so the GLUT window is left alone. One controller is in
// use at a time: the first one connected. All calls are made from the game's
// main thread, once per frame, so nothing here takes a lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the game reads of the controller in use, in SDL's standard layout:
// buttons are named by position (south is A on Xbox layouts, B on Nintendo's).
struct PadReading {
  int16_t leftX;         // -32768 (left) to 32767 (right)
  int16_t leftY;         // -32768 (up) to 32767 (down)
  int16_t rightTrigger;  // 0 (released) to 32767 (pulled fully)
  bool dpadUp, dpadDown, dpadLeft, dpadRight;
  bool south, north;
  bool leftShoulder, rightShoulder;
  bool start;
};

// Starts the game-controller subsystem (and the joystick and event
// subsystems under it, never video), with SDL kept away from SIGINT and
// SIGTERM. Mappings: SDL's own database, then those of each of `mappingFiles`
// in order that is a regular file (the community's gamecontrollerdb.txt
// format), then those of SDL_GAMECONTROLLERCONFIG, each later one winning for
// the same device. SDL's own Wii Remote driver is turned off, and Wii Remotes
// are never opened: the Wii Remote path reads them (told by their names; the
// Wii U Pro Controller, which shares the Wii Remote Plus's USB ids, is a
// controller). Opens the first controller already connected. Returns false
// when SDL cannot start the subsystem; every read then reports no
// controller. A further call while started changes nothing and returns true.
bool padDeviceStart(const std::vector<std::string>& mappingFiles);

// Closes the controller in use and stops the subsystem; the game never calls
// it (the controller is released with the process), tests use it to start
// again.
void padDeviceStop();

// Reads the controller in use into `reading`, after taking in the
// connections and removals since the last call: when the controller in use is
// gone, the first other one connected takes over. Returns false, with
// `reading` untouched, when there is none. With no controller, SDL is asked
// about new devices at most every kPadDetectMs milliseconds of the game's
// clock, so a frame with nothing connected costs only a clock read.
bool padDeviceRead(PadReading* reading);

constexpr uint32_t kPadDetectMs = 250;

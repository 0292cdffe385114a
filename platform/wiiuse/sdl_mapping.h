// What the SDL backend reads of a Wii Remote, and how that becomes the
// stand-in's inputs: pure functions of two readings, so the mapping is tested
// without a remote.
//
// SDL 2.26's HIDAPI driver (SDL_hidapi_wii.c) opens a remote paired with the
// system as a game controller named "Nintendo Wii Remote" ("... with Nunchuk",
// "... with Classic Controller", "... with Unknown Extension" with an
// extension plugged in). Its buttons are mapped as a controller held upright
// (pointing at the screen), whatever SDL_GAMECONTROLLER_USE_BUTTON_LABELS
// says: the cross stays Up, Down, Left and Right as printed on the remote.
// The accelerometer, once enabled, reads in m/s² on SDL's axes:
// x = -remote x, y = remote z, z = remote y.
#pragma once

#include <SDL.h>

#include <deque>
#include <string>

#include "platform/wiiuse/backend.h"

struct SdlRemoteReading {
  bool attached;  // SDL_GameControllerGetAttached
  std::string name;  // SDL_GameControllerName
  bool buttons[SDL_CONTROLLER_BUTTON_MAX];  // SDL_GameControllerGetButton, each
  bool accelValid;  // SDL_GameControllerGetSensorData gave a sample
  float accel[3];   // that sample, m/s², SDL's axes
};

// Whether a controller of this name is a Wii Remote (with or without an
// extension), not the Wii U Pro Controller SDL names "Nintendo Wii U Pro
// Controller" (or the kernel's "Nintendo Wii Remote Pro Controller").
bool isSdlWiiRemote(const char* name);

// The expansion a remote of this name carries, in the words of
// WiimoteDevice::extension(): "none", "nunchuk", "classic" or "unknown".
std::string sdlRemoteExtension(const std::string& name);

// The WIIMOTE_BUTTON_* bits of the buttons down in `reading`.
unsigned short sdlRemoteButtons(const SdlRemoteReading& reading);

// The sample as the remote's own accelerometer counts (centred on 0, 100 per
// g, z up when the remote lies flat, buttons up), as the xwiimote backend
// reads them, so that the orientation is computed the same way. Each axis is
// held to the remote's range, -512 to 511. False for a sample that is not a
// number.
bool sdlRemoteAccel(const float accel[3], int& x, int& y, int& z);

// Appends the inputs that lead from `before` to `now`: a remote detached
// gives kGone and nothing more; otherwise a new extension gives kChanged,
// then each button released, then each pressed (so no report shows a chord
// never held), in WIIMOTE_BUTTON_* bit order, then a new accelerometer
// sample as kMotion.
void sdlRemoteInputs(const SdlRemoteReading& before, const SdlRemoteReading& now,
                     std::deque<WiimoteInput>& inputs);

// A controller made by SDL's virtual joystick driver, for tests and
// benchmarks that need one without hardware.
#pragma once

#include <SDL.h>

// Attaches a virtual joystick whose buttons and axes are numbered as SDL's
// standard ones, so that SDL maps a SDL_JOYSTICK_TYPE_GAMECONTROLLER as a game
// controller by itself (a flight stick gets no mapping). The USB ids and the
// name, when given, are those the device reports. Returns its device index,
// or -1.
inline int attachVirtualPad(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                            Uint16 vendor = 0, Uint16 product = 0, const char* name = nullptr) {
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = type;
  desc.vendor_id = vendor;
  desc.product_id = product;
  desc.name = name;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
  return SDL_JoystickAttachVirtualEx(&desc);
}

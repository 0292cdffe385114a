// Game controllers: flight with a gamepad beside the keyboard, the mouse and
// the Wii Remote. Each control makes exactly the step of a key, through the
// key handlers themselves, so the ship flies as it does from the keyboard.
#pragma once

#include <cstdint>

// Starts the controllers, with the mappings of SDL's database, then those of
// "gamecontrollerdb.txt" in the working directory (the data folder) when
// present, then the player's own "gamecontrollerdb.txt" in the configuration
// folder (configFolder: "$XDG_CONFIG_HOME/vekotra", else
// "~/.config/vekotra"), then those of SDL_GAMECONTROLLERCONFIG, each later
// one winning for a device. Prints nothing; when SDL cannot start its
// controller subsystem the game plays on without controllers.
void initGamepad();

// Once per frame on the main thread, before the frame's own steps, as key
// events come between frames. Takes in controllers connected and removed
// since the last frame (the first connected one flies; when it is pulled out
// the next one takes over), then turns the one in use into key steps:
//   left stick beyond the dead zone, or the D-pad   the arrow keys
//   right shoulder / left shoulder                  z / s
//   south face button (A on Xbox) or right trigger  g
//   north face button                               F2
//   Start                                           p
// The directions and the shoulders step once when pressed, again after
// kGamepadRepeatDelayMs, then every kGamepadRepeatIntervalMs while held, as a
// held key does; fire, camera and pause act once per press. Nothing quits.
// With no controller it does nothing.
void readGamepad();

// Stops the controllers and forgets what was held; the game never calls it,
// tests use it to start again.
void stopGamepad();

constexpr int kGamepadDeadZone = 8192;         // a quarter of the stick's travel
constexpr int kGamepadTriggerPull = 16384;     // half of the trigger's travel
constexpr uint32_t kGamepadRepeatDelayMs = 500;
constexpr uint32_t kGamepadRepeatIntervalMs = 40;  // 25 steps a second

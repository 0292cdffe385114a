// The one process-wide record through which the GLUT callbacks, the frame
// loop, the contact report and the Wii Remote polling thread talk to each
// other. Input handlers change values here; the frame turns them into motion
// and pictures. Angles are whole degrees unless noted, positions world units
// with y up.
#pragma once

#include <atomic>
#include <cstdint>

// A value the Wii Remote thread writes and the main thread reads. It is read
// and written whole, with no ordering against other memory, exactly like the
// plain byte or float it stands for.
template <typename T>
struct Shared {
  std::atomic<T> value;
  constexpr Shared(T initial = T()) : value(initial) {}
  operator T() const { return value.load(std::memory_order_relaxed); }
  Shared& operator=(T v) {
    value.store(v, std::memory_order_relaxed);
    return *this;
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;
};
static_assert(sizeof(Shared<uint8_t>) == 1, "a shared flag stays one byte");
static_assert(sizeof(Shared<float>) == 4, "a shared float stays four bytes");
static_assert(std::atomic<float>::is_always_lock_free, "floats are written whole");

// One flag per Wii Remote button, 1 while it is down; the polling thread
// clears them all, then sets those of the new event.
struct WiimoteButtonFlags {
  Shared<uint8_t> buttonA, buttonB, buttonOne, buttonTwo, buttonMinus, buttonPlus,
      buttonUp, buttonDown, buttonLeft, buttonRight, buttonHome;
};

struct GameState {
  // Flight.
  float shipX = 0.0f;
  float altitude = 50.0f;  // ship position, y
  float shipZ = 250.0f;
  int speed = 0;     // the ship moves 0.05 * speed world units per frame
  int yaw = 0;       // heading: 0 flies toward -z, growing values turn left
  int pitch = 0;     // negative is nose up
  int roll = 0;      // bank, positive while turning left
  int previousRoll = 0;
  uint8_t rollHeld = 0;  // an input just moved the attitude
  uint8_t paused = 0;    // physics is not stepped while 1

  // Camera and window.
  float freeCamera = 0.0f;  // 0.0 chase camera, 1.0 free camera
  float fullScreen = 0.0f;  // 1.0 while full screen
  float camPanX = 0.0f, camPanY = 0.0f;
  float camZoom = 0.0f;
  float camAngles[2] = {0.0f, 0.0f};  // about x, then about y
  int mouseMode = -1;                 // -1 none, 0 rotate, 1 zoom, 2 pan
  int mouseLast[2] = {0, 0};
  int mousePress[2] = {0, 0};
  float aspectRatio = 1.0f;

  // Text in the window.
  uint8_t statusShown = 1;        // the status line in the top-left corner; F3 toggles it
  uint8_t controlsListShown = 1;  // the controls list, from start-up to the first input

  // Missiles and scenery.
  int missilesFlying = 0;
  int missileOrigin[3] = {0, 0, 0};
  int missileYaw = 0;
  int missilePitch = 0;
  float missileTravel = 0.0f;  // 0 to -31 along the pair's own -z axis
  float orbitAngle = 0.0f;     // radians

  // Frame bookkeeping.
  int consoleFrameCounter = 0;
  uint32_t lastStepTime = 0;  // ms
  float fpsLastTime = 0.0f;   // ms
  char textBuffer[256] = {};

  // Wii Remote, written by the polling thread.
  Shared<uint8_t> tiltSteering{0};
  Shared<float> tiltYaw{0.0f};    // radians
  Shared<float> tiltPitch{0.0f};  // radians
  WiimoteButtonFlags WiimoteButtons;
};

extern GameState gameState;

// Puts every field back to its start value, for tests that run several
// scenarios in one process. The game itself never calls it.
void resetGameState();

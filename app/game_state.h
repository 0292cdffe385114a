// The one process-wide record through which the GLUT callbacks, the frame
// loop, the contact report and the Wii Remote polling thread talk to each
// other. Input handlers change values here; the game clock's ticks turn them
// into motion, and each frame draws the result. Angles are whole degrees
// unless noted, positions world units with y up.
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

// Where the ship stands and how it is turned, at one moment of a tick: the
// flight fields below, with the angles as floats so that a pose between two
// ticks can be drawn. Starts where the ship starts.
struct ShipPose {
  float x = 0.0f, altitude = 50.0f, z = 250.0f;
  float yaw = 0.0f, pitch = 0.0f, roll = 0.0f;
};

// The missile pair as the tick's missile step left it to be drawn, or as it
// is drawn between two ticks: then its firing point and angles may lie
// between whole values.
struct MissilePair {
  bool shown = false;  // flying at the missile step
  float origin[3] = {0.0f, 0.0f, 0.0f};
  float yaw = 0.0f, pitch = 0.0f;
  float travel = 0.0f;
};

// Everything that moves, as one tick left it; the frame draws between the
// previous tick's and the current one's.
struct TickState {
  ShipPose camera;  // the ship as the chase camera follows it: before the flight step
  ShipPose ship;    // after the flight step: where its physics actor stands
  float orbitAngle = 0.0f;
  MissilePair missiles;
  uint32_t shipContact = 0;  // the contact bits of the ship's actor at this tick
};

struct GameState {
  // Flight.
  float shipX = 0.0f;
  float altitude = 50.0f;  // ship position, y
  float shipZ = 250.0f;
  int speed = 0;     // the ship moves 0.05 * speed world units per tick
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

  // The last two ticks, side by side.
  TickState previousTick, currentTick;

  // Frame bookkeeping.
  int consoleFrameCounter = 0;  // counts ticks: the console is rewritten every fourth
  float fpsLastTime = 0.0f;     // ms
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

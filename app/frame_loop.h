// The frame: GLUT's display, idle and reshape callbacks, and the steps of one
// frame, each callable on its own so tests can check them.
#pragma once

#include <cstddef>

#include "app/game_clock.h"
#include "app/game_state.h"
#include "platform/os/os.h"

struct Quaternion {
  float x, y, z, w;
};

// One displayed frame: its first drawing call (clearFrame), then its time
// on the display's rhythm (startFrame), the frame itself (runFrame), the
// frame-rate title, then the frame's pacing and buffer swap. A hidden window
// draws and ticks nothing.
void onDisplay();
// Requests the next frame as soon as GLUT is idle, while the window shows;
// while it is hidden, sleeps instead, so the loop does not spin.
void onIdle();
// GLUT's window status: iconified or fully covered hides the window; when it
// shows again the game clock goes on from where it stopped.
void onWindowStatus(int state);
// Whether the window is shown (not iconified or fully covered).
extern bool windowShown;
// The game clock the frames run their ticks by.
extern GameClock gameClock;

// One tick of game time, 1/60 s: the physics step, tilt steering, flight,
// return of the bank to level, console text, orbit, missiles, Wii Remote
// firing and speed, the ship's actor, the gamepad. Draws nothing.
void runTick();
// The ticks of game time passed up to `frameTimeNs` (runTick, at most
// kMostTicksPerFrame), then the picture drawn between the last two ticks
// (drawScene).
void runFrame(int64_t frameTimeNs);
// The frame's picture, `fraction` (in [0, 1)) of a tick after the latest
// tick: clearFrame, then drawScene.
void drawFrame(double fraction);
// Clears the picture and puts the model-view matrix back to the identity.
void clearFrame();
// Camera, scenery, missiles, actors and on-screen status, on a cleared
// picture.
void drawScene(double fraction);
// What moves, between two ticks' states. Angles go the short way round:
// `fullTurn` is 360 for degrees, kOrbitTurn for radians.
float angleBetween(float from, float to, double fraction, double fullTurn);
ShipPose shipBetween(const ShipPose& from, const ShipPose& to, double fraction);
MissilePair missilesBetween(const MissilePair& from, const MissilePair& to, double fraction);

// Holds frames to the display's refresh rate where the display does not:
// notes when the frame's drawing was done, then sleeps to the frame's
// deadline, one period after the last, unless framePacing is off or the
// display has been seen to pace frames. Called between the drawing and the
// buffer swap, so the renderer finishes the frame's pixels meanwhile. True
// when it slept.
bool paceFrame();
// paceFrame, then the buffer swap.
void presentFrame();
// Frames are held to the refresh rate while true (the default); false for
// the free-running loop.
extern bool framePacing;
// The deadlines paceFrame sleeps to; its period is the display's refresh
// period.
extern FramePacer framePacer;
// Viewport and perspective for a window of the given size; the refresh
// rate is read again before the next frame, as the window may have gone
// full screen or onto another monitor.
void onReshape(int width, int height);
// GLUT's window position callback: the window may now be on a monitor of
// another refresh rate, read again before the next frame.
void onWindowMoved(int x, int y);
// True while the refresh rate is to be read again before the next frame:
// at start-up, after a reshape or a move, and when the system reports a
// change of the monitors' modes or layout.
extern bool refreshRateStale;
// Sets the pacer's period from the refresh rate of the monitor under the
// window (60 Hz when the system reports none). Needs the window's context.
void readRefreshRate();
// Frames per second from the time since the previous call.
float measureFrameRate();

// Three angles in degrees, about x, y and z, to the quaternion qY * qX * qZ:
// applied to a vector it turns it about z, then x, then y.
Quaternion eulerToQuaternion(const float angles[3]);
// The 3x3 rotation matrix of a unit quaternion, row by row.
void quaternionToMatrix(const Quaternion& q, float rotationMatrix[9]);

// The steps of a tick, in order, and the camera of the frame's drawing.
// The physics step advances the scene by 1/60 s, unless paused.
void stepPhysics();
void applyTiltSteering();
// The chase camera behind `ship`, or the free camera the mouse moves.
void placeCamera(const ShipPose& ship);
void flyShip();
void levelRoll();
void writeConsoleText();
void speedFromWiimote();
// The flight fields as a pose.
ShipPose shipPose();

// The console's controls list, the window's too at start-up.
extern const char kControlsList[];
// The console's status line without its line end: speed, altitude, pitch and
// heading, as the console and the window show them.
void formatStatusLine(char* text, size_t size);

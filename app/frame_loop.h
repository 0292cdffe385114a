// The frame: GLUT's display, idle and reshape callbacks, and the steps of one
// frame, each callable on its own so tests can check them.
#pragma once

#include <cstddef>

struct Quaternion {
  float x, y, z, w;
};

// One frame: gamepad reading, physics step, clear, tilt steering, camera,
// flight, return of the bank to level, console text, scenery and missiles,
// Wii Remote firing and speed, the actors, the on-screen status, the
// frame-rate title, the frame's pacing, buffer swap.
void onDisplay();
// Requests the next frame as soon as GLUT is idle; onDisplay's pacing holds
// the rate.
void onIdle();
// Sleeps to the frame's deadline, 1/60 s after the last one, unless
// framePacing is off. Called between the drawing and the buffer swap, so the
// swaps come at a steady 60 a second however long each frame took to draw
// (as long as it took less than 1/60 s), and the renderer finishes the
// frame's pixels meanwhile.
void paceFrame();
// Frames are held to 60 a second while true (the default); false for the
// free-running loop.
extern bool framePacing;
// The deadlines paceFrame sleeps to.
struct FramePacer;
extern FramePacer framePacer;
// Viewport and perspective for a window of the given size.
void onReshape(int width, int height);
// Frames per second from the time since the previous call.
float measureFrameRate();

// Three angles in degrees, about x, y and z, to the quaternion qY * qX * qZ:
// applied to a vector it turns it about z, then x, then y.
Quaternion eulerToQuaternion(const float angles[3]);
// The 3x3 rotation matrix of a unit quaternion, row by row.
void quaternionToMatrix(const Quaternion& q, float rotationMatrix[9]);

// The steps of onDisplay, in frame order.
void stepPhysics();
void applyTiltSteering();
void placeCamera();
void flyShip();
void levelRoll();
void writeConsoleText();
void speedFromWiimote();

// The console's controls list, the window's too at start-up.
extern const char kControlsList[];
// The console's status line without its line end: speed, altitude, pitch and
// heading, as the console and the window show them.
void formatStatusLine(char* text, size_t size);

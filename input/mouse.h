// The mouse: ship steering in the chase camera, and the free camera's
// rotation, zoom and pan.
#pragma once

// A press of any button also ends the window's start-up controls list.
void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);

// Keeps each free-camera angle within one turn: an angle beyond +-360 degrees
// is reset to 0.0 (not reduced modulo 360); +-360 itself is kept.
void limitCameraAngles(float angles[2]);

// Where a button press reads the modifier keys; glutGetModifiers by default.
// Tests replace it, since GLUT only answers inside its own input callbacks.
extern int (*readMouseModifiers)();

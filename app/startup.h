// Start-up: the scene built once before the main loop.
#pragma once

// Image library, the window's class and icon, physics world, fixed OpenGL
// state, models, then the collision meshes and actors of the ship and the
// planet. Stops after the physics world when the physics SDK cannot be
// created.
void initScene();
// The fixed OpenGL state every later drawing relies on.
void setFixedGLState();
// Registers the seven GLUT callbacks, in the game's order, then the window
// status, which stops the frames while the window is hidden.
void registerCallbacks();

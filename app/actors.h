// The physics actors in the frame: the ship's actor follows the flight state,
// and every actor is drawn through its user object.
#pragma once

class MyNXWrapper;

// Called once per frame, only when a physics scene exists.
void syncAndDrawActors();
// Whether the last syncAndDrawActors found the ship's actor touching: its
// physics step reported the touching bit, in the frame that starts a touch
// too. False before any frame and in a scene without a ship.
bool shipTouching();

// Puts the ship's actor where the flight state says the ship is, with its
// attitude and no velocity. No OpenGL: the frame benchmark calls it too.
void poseShipActor(MyNXWrapper& ship);

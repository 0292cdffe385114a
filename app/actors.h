// The physics actors in the frame: the ship's actor follows the flight state,
// and every actor is drawn through its user object.
#pragma once

class MyNXWrapper;

// Called once per frame, only when a physics scene exists.
void syncAndDrawActors();

// Puts the ship's actor where the flight state says the ship is, with its
// attitude and no velocity. No OpenGL: the frame benchmark calls it too.
void poseShipActor(MyNXWrapper& ship);

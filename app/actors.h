// The physics actors: in each tick the ship's actor follows the flight state
// and the contact marks are read; in each frame every actor is drawn through
// its user object.
#pragma once

#include <cstdint>

#include "app/game_state.h"

class MyNXWrapper;

// The tick's actor step, only when a physics scene exists: poses the ship's
// actor from the flight state, then returns the contact bits its user object
// got in this tick's physics step and clears every actor's.
uint32_t syncShipActor();
// Draws every actor with a user object, each with back faces culled; the ship
// at `ship` (a pose between the last two ticks) in the colours its contact
// bits call for: red only while a touch goes on after the tick that started
// it. Changes no game state.
void drawActors(const ShipPose& ship, uint32_t shipContact);
// Whether the latest tick found the ship's actor touching: its physics step
// reported the touching bit, in the tick that starts a touch too. False
// before any tick and in a scene without a ship.
bool shipTouching();

// Puts the ship's actor where the flight state says the ship is, with its
// attitude and no velocity. No OpenGL: the frame benchmark calls it too.
void poseShipActor(MyNXWrapper& ship);

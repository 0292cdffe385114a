// The physics actors in the frame: the ship's actor follows the flight state,
// and every actor is drawn through its user object.
#pragma once

// Called once per frame, only when a physics scene exists.
void syncAndDrawActors();

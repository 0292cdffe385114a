#include "app/actors.h"

// No actors exist until the physics world creates them.
void syncAndDrawActors() {}

// One tick of the game clock: every step that advances the game, in the
// game's order. Each tick is 1/60 s of game time; the frame loop runs as many
// as have passed before drawing. The tick draws nothing.
#include <cstdio>

#include "app/actors.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/scenery.h"
#include "input/gamepad.h"
#include "physics/world.h"

static const float kTickSeconds = 1.0f / kTicksPerSecond;

void stepPhysics() {
  if (scene != nullptr && gameState.paused == 0) {
    scene->simulate(kTickSeconds);
    scene->flushStream();
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
  }
}

void runTick() {
  GameState& g = gameState;
  g.previousTick = g.currentTick;
  TickState& tick = g.currentTick;

  // The contact report runs inside the physics step.
  stepPhysics();
  applyTiltSteering();
  // The chase camera follows the ship from where it stood before this tick's
  // flight step, so the ship is drawn one tick's movement ahead of it.
  tick.camera = shipPose();
  flyShip();
  levelRoll();
  writeConsoleText();

  stepOrbit();
  tick.orbitAngle = g.orbitAngle;
  tick.missiles = stepMissiles();
  fireFromWiimote();
  speedFromWiimote();

  tick.shipContact = scene != nullptr ? syncShipActor() : 0;
  tick.ship = shipPose();
  // The gamepad's controls act as keys between ticks do.
  readGamepad();
}

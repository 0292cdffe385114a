// A Wii Remote report turned into game input: button flags and tilt.
#include "app/game_state.h"
#include "input/wiimote.h"

// Roll and pitch within this many degrees either way change nothing.
static const float kDeadZone = 10.0f;
// Each report moves an accumulator by the tilt in degrees over this, in radians.
static const double kTiltDivisor = 1500.0;

void clearWiimoteButtons() {
  WiimoteButtonFlags& b = gameState.WiimoteButtons;
  b.buttonA = 0;
  b.buttonB = 0;
  b.buttonOne = 0;
  b.buttonTwo = 0;
  b.buttonMinus = 0;
  b.buttonPlus = 0;
  b.buttonUp = 0;
  b.buttonDown = 0;
  b.buttonLeft = 0;
  b.buttonRight = 0;
  b.buttonHome = 0;
}

void handleWiimoteEvent(wiimote* remote) {
  clearWiimoteButtons();
  WiimoteButtonFlags& b = gameState.WiimoteButtons;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_A)) b.buttonA = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_B)) b.buttonB = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_ONE)) b.buttonOne = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_TWO)) b.buttonTwo = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_MINUS)) b.buttonMinus = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_PLUS)) b.buttonPlus = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_UP)) b.buttonUp = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_DOWN)) b.buttonDown = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_LEFT)) b.buttonLeft = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_RIGHT)) b.buttonRight = 1;
  if (IS_PRESSED(remote, WIIMOTE_BUTTON_HOME)) b.buttonHome = 1;

  if (IS_JUST_PRESSED(remote, WIIMOTE_BUTTON_HOME)) {
    wiiuse_motion_sensing(remote, 1);
    gameState.tiltSteering = 1;
  }

  if (!WIIUSE_USING_ACC(remote)) return;
  float roll = remote->orient.roll;
  float pitch = remote->orient.pitch;
  if (roll > kDeadZone || roll < -kDeadZone) {
    gameState.tiltYaw = static_cast<float>(gameState.tiltYaw - roll / kTiltDivisor);
  }
  if (pitch > kDeadZone || pitch < -kDeadZone) {
    gameState.tiltPitch = static_cast<float>(gameState.tiltPitch + pitch / kTiltDivisor);
  }
}

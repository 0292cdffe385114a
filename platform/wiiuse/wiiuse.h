// The wiiuse interface the game is written against, carried out over the
// Linux kernel's own Wii Remote driver (hid-wiimote, reached through
// libxwiimote), and on Windows over SDL's HIDAPI driver. The remote is paired
// with the system's Bluetooth tools first; the system then offers it as an
// input device.
//
// Every operation accepts a null array or record and then does nothing (find,
// connect and poll return 0; poll still sleeps, as with no remote). After start-up all calls on a record are made
// from one thread; the records are never freed, so a thread may go on polling
// while the process exits.
#pragma once

#include <string>

class WiimoteDevice;
class WiimoteBackend;

// Buttons, as bits of `btns`.
#define WIIMOTE_BUTTON_TWO 0x0001
#define WIIMOTE_BUTTON_ONE 0x0002
#define WIIMOTE_BUTTON_B 0x0004
#define WIIMOTE_BUTTON_A 0x0008
#define WIIMOTE_BUTTON_MINUS 0x0010
#define WIIMOTE_BUTTON_HOME 0x0080
#define WIIMOTE_BUTTON_LEFT 0x0100
#define WIIMOTE_BUTTON_RIGHT 0x0200
#define WIIMOTE_BUTTON_DOWN 0x0400
#define WIIMOTE_BUTTON_UP 0x0800
#define WIIMOTE_BUTTON_PLUS 0x1000
#define WIIMOTE_BUTTON_ALL 0x1F9F

// Player lights, as bits of `leds`.
#define WIIMOTE_LED_NONE 0x00
#define WIIMOTE_LED_1 0x10
#define WIIMOTE_LED_2 0x20
#define WIIMOTE_LED_3 0x40
#define WIIMOTE_LED_4 0x80

// Bits of `state`.
#define WIIMOTE_STATE_DEV_FOUND 0x0001
#define WIIMOTE_STATE_CONNECTED 0x0008
#define WIIMOTE_STATE_ACC 0x0020
#define WIIMOTE_STATE_EXP 0x0040
#define WIIMOTE_STATE_IR 0x0080
#define WIIMOTE_STATE_SPEAKER 0x0100

// Expansion types, the values of `exp.type`.
#define EXP_NONE 0
#define EXP_NUNCHUK 1
#define EXP_CLASSIC 2
#define EXP_GUITAR_HERO_3 3

#define IS_PRESSED(dev, button) (((dev)->btns & (button)) == (button))
#define IS_HELD(dev, button) (((dev)->btns_held & (button)) == (button))
#define IS_RELEASED(dev, button) (((dev)->btns_released & (button)) == (button))
#define IS_JUST_PRESSED(dev, button) (IS_PRESSED(dev, button) && !IS_HELD(dev, button))
#define WIIMOTE_IS_CONNECTED(wm) (((wm)->state & WIIMOTE_STATE_CONNECTED) == WIIMOTE_STATE_CONNECTED)
#define WIIUSE_USING_ACC(wm) (((wm)->state & WIIMOTE_STATE_ACC) == WIIMOTE_STATE_ACC)
#define WIIUSE_USING_EXP(wm) (((wm)->state & WIIMOTE_STATE_EXP) == WIIMOTE_STATE_EXP)
#define WIIUSE_USING_IR(wm) (((wm)->state & WIIMOTE_STATE_IR) == WIIMOTE_STATE_IR)
#define WIIUSE_USING_SPEAKER(wm) (((wm)->state & WIIMOTE_STATE_SPEAKER) == WIIMOTE_STATE_SPEAKER)
#define WIIUSE_IS_LED_SET(wm, num) (((wm)->leds & WIIMOTE_LED_##num) == WIIMOTE_LED_##num)

// The type of the last report, left in `event` by wiiuse_poll.
enum WIIUSE_EVENT_TYPE {
  WIIUSE_NONE = 0,
  WIIUSE_EVENT = 1,  // buttons, with the orientation when motion sensing is on
  WIIUSE_STATUS = 2,
  WIIUSE_CONNECT = 3,
  WIIUSE_DISCONNECT = 4,
  WIIUSE_UNEXPECTED_DISCONNECT = 5,
  WIIUSE_READ_DATA = 6,
  WIIUSE_NUNCHUK_INSERTED = 7,
  WIIUSE_NUNCHUK_REMOVED = 8,
  WIIUSE_CLASSIC_CTRL_INSERTED = 9,
  WIIUSE_CLASSIC_CTRL_REMOVED = 10,
  WIIUSE_GUITAR_HERO_3_CTRL_INSERTED = 11,
  WIIUSE_GUITAR_HERO_3_CTRL_REMOVED = 12,
};

enum aspect_t { WIIUSE_ASPECT_4_3 = 0, WIIUSE_ASPECT_16_9 = 1 };
enum ir_position_t { WIIUSE_IR_ABOVE = 0, WIIUSE_IR_BELOW = 1 };

struct expansion_t {
  int type;  // EXP_*
};

// Degrees, -90 to 90, from the direction of the last accelerometer sample:
// roll = asin(x / |a|), pitch = asin(y / |a|). Both 0 while the remote lies
// flat, buttons up; pitch grows as its front is raised, roll as it is tipped
// about its long axis toward the accelerometer's x.
struct orient_t {
  float roll;
  float pitch;
  float yaw;  // always 0: the accelerometer cannot see a turn about gravity
};

struct ir_t {
  int aspect;  // aspect_t
  int pos;     // ir_position_t
};

// Events held back for the following polls, oldest first.
struct pending_events_t {
  int events[8];
  int count;
};

struct wiimote_t {
  int unid;  // 1 for the first record of the array, 2 for the next...
  int event;  // WIIUSE_EVENT_TYPE of the last poll; WIIUSE_NONE when it brought nothing
  int state;  // WIIMOTE_STATE_* bits
  int leds;   // WIIMOTE_LED_* bits asked for last
  float battery_level;  // 0.0 to 1.0
  unsigned short btns;           // buttons down at the last report
  unsigned short btns_held;      // down at the last report and at the one before
  unsigned short btns_released;  // down before and up at the last report
  struct expansion_t exp;
  struct orient_t orient;
  struct ir_t ir;

  // The stand-in's own: the device found for this record, and its handle
  // while connected.
  std::string devicePath;
  WiimoteDevice* device;
  std::string refusedPath;  // the device whose refusal was printed last
  struct pending_events_t pending;
};
typedef struct wiimote_t wiimote;

// An array of `wiimotes` records, unconnected, numbered from 1. Null when
// `wiimotes` is not positive.
wiimote** wiiuse_init(int wiimotes);

// Lists the remotes the kernel knows now and assigns up to `max_wiimotes` of
// them to the records in order. Returns how many were assigned. Returns at
// once: the kernel lists a connected remote as soon as it has connected, so
// waiting would find nothing more; `timeout` is kept for the library's
// signature and ignored. A remote connected later is found by a later call.
int wiiuse_find(wiimote** wm, int max_wiimotes, int timeout);

// Opens each found record's remote (its buttons) unless it is connected
// already; returns how many opened. The record's buttons start all up, also
// for a remote connected again after a disconnection.
// A remote whose device cannot be opened (its button device or the input
// group's permission on it comes a moment after the remote is listed, or the
// player may not read /dev/input) stays unconnected, and a later call tries
// it again. It is named on standard error, with the reason, at its first
// refusal only, until it is listed no more or opens. An expansion already
// plugged in is reported by the first polls.
int wiiuse_connect(wiimote** wm, int wiimotes);

// Reads at most one report for each connected record and leaves its type in
// `event` (WIIUSE_NONE for a record that got none). When no report is ready
// it waits for one for at most 10 milliseconds, and sleeps 50 milliseconds
// when no remote is connected, so a loop around it never keeps a core busy.
// Returns the number of records that got a report.
int wiiuse_poll(wiimote** wm, int wiimotes);

// Lights the player lights named by the WIIMOTE_LED_* bits and puts out the
// others. Does nothing on an unconnected record. The kernel lets only
// privileged users write the lights; a refusal is silently ignored.
void wiiuse_set_leds(wiimote* wm, int leds);

// Switches the accelerometer's reports on (status 1) or off (0). While on,
// each report carries the orientation in `orient`.
void wiiuse_motion_sensing(wiimote* wm, int status);

// Recorded for the infrared camera, which this driver does not offer.
void wiiuse_set_aspect_ratio(wiimote* wm, enum aspect_t aspect);
void wiiuse_set_ir_position(wiimote* wm, enum ir_position_t pos);

// The device layer every operation goes through from now on; null restores
// the kernel driver's (xwiimote). Tests install a scripted one. Not owned.
void wiiuse_set_backend(WiimoteBackend* backend);

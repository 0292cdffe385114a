// What the wiiuse operations share behind the public header.
#pragma once

#include "platform/wiiuse/backend.h"
#include "platform/wiiuse/wiiuse.h"

// The backend in use: the installed one, else the system's.
WiimoteBackend* wiiuseBackend();

// Holds an event back for the record's next polls; dropped when eight are
// already waiting.
void queueEvent(wiimote* wm, int event);

// Compares the device's expansion with the record's and queues what changed:
// the removal of the old one, then the insertion of the new one. Only the
// Nunchuk, the Classic Controller and the guitar count; any other is none.
void checkExpansion(wiimote* wm);

// Reads the battery charge into `battery_level`; an unknown charge leaves it.
void readBattery(wiimote* wm);

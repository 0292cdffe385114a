// The Wii Remote: connection at start-up, the polling thread, and the mapping
// of its buttons and tilt onto the game state.
#pragma once

#include <atomic>
#include <thread>

#include "platform/wiiuse/wiiuse.h"

// The connection, set up once by initWiimote; only remotes[0] is used.
extern wiimote** remotes;
extern int remotesFound;
extern int remotesConnected;
extern std::thread::id pollThreadId;
// The polling loop runs while this is 0. The game never sets it; tests do,
// to end a loop they started.
extern std::atomic<int> pollStop;

// Looks for one remote among those connected now, without waiting, connects
// it, lights its first and fourth lights, then starts the polling thread,
// detached, whether or not a remote was found. Prints what it found on the
// console.
void initWiimote();

// The polling thread: polls until pollStop is set, handing button and motion
// reports to handleWiimoteEvent and printing connection and expansion
// changes. While no remote is connected it lists the devices about once a
// second, and connects one that appears (at start-up's message and lights),
// also the remote of before when it comes back, and one listed but refused
// before (its device comes a moment after the remote is listed). A remote
// connected again starts with no button flag set. The parameter is ignored;
// returns 0.
int wiimotePollThread(void* parameter);

// What the polling thread does with one report, by the type left in the
// record's `event`.
void dispatchWiimoteReport(wiimote* remote);

// The six-line status block of a remote.
void printRemoteStatus(wiimote* remote);
// The line printed when a remote disconnects.
void printRemoteDisconnected(wiimote* remote);

// Every flag of the game state's WiimoteButtons back to 0.
void clearWiimoteButtons();

// One button-and-motion report onto the game state: the button flags cleared
// and rewritten, tilt steering switched on by a fresh HOME press, and the
// tilt accumulators moved by the roll and pitch beyond a dead zone of 10
// degrees. Called on the polling thread only.
void handleWiimoteEvent(wiimote* remote);

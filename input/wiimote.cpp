// Connection and polling thread of the Wii Remote.
#include "input/wiimote.h"

#include <pthread.h>

#include <cstdio>
#include <system_error>

#include "app/game_state.h"

wiimote** remotes = nullptr;
int remotesFound = 0;
int remotesConnected = 0;
std::thread::id pollThreadId;
std::atomic<int> pollStop{0};

// The search time-out wiiuse_find is given; it returns at once whatever it
// is, since the kernel lists a connected remote without delay.
static const int kSearchSeconds = 5;

// Polls of an unconnected record between two searches for a remote: each
// such poll sleeps 50 ms, so the devices are listed about once a second.
static const int kPollsPerSearch = 20;

void initWiimote() {
  remotes = wiiuse_init(1);
  remotesFound = wiiuse_find(remotes, 1, kSearchSeconds);
  if (remotesFound == 0) printf("No wiimotes found.");
  remotesConnected = wiiuse_connect(remotes, 1);
  if (remotesConnected != 0) {
    printf("Connected to %i wiimotes (of %i found).\n", remotesConnected, remotesFound);
  } else {
    printf("Failed to connect to any wiimote.\n");
  }
  // Made on the unconnected record too; the stand-in accepts even a null array.
  wiimote* first = remotes != nullptr ? remotes[0] : nullptr;
  wiiuse_set_leds(first, WIIMOTE_LED_1 | WIIMOTE_LED_4);
  wiiuse_set_aspect_ratio(first, WIIUSE_ASPECT_4_3);
  wiiuse_set_ir_position(first, WIIUSE_IR_ABOVE);

  // Detached: it polls until the process ends, and a thread object still
  // joinable at exit would end the process with std::terminate. A thread
  // that cannot start leaves the game without Wii Remote input.
  try {
    std::thread pollThread(wiimotePollThread, nullptr);
    pollThreadId = pollThread.get_id();
    pthread_setname_np(pollThread.native_handle(), "wiimote");
    pollThread.detach();
  } catch (const std::system_error& error) {
    pollThreadId = std::thread::id();
    fprintf(stderr, "No Wii Remote input: its polling thread could not start (%s).\n", error.what());
  }
}

// Connects a remote listed since start-up or since its disconnection, as
// start-up connects one: the start-up message, then the first and fourth
// lights. A remote listed but refused is tried again at each search: its
// button device, or the input group's permission on it, comes a moment after
// the kernel lists it.
static void connectNewRemote() {
  int found = wiiuse_find(remotes, 1, 0);
  if (found == 0) return;
  int connected = wiiuse_connect(remotes, 1);
  if (connected == 0) return;
  // The buttons held when the remote left are not held on the new device:
  // B down when the batteries died must not fire on.
  clearWiimoteButtons();
  printf("Connected to %i wiimotes (of %i found).\n", connected, found);
  wiiuse_set_leds(remotes[0], WIIMOTE_LED_1 | WIIMOTE_LED_4);
  // Tilt steering, once on, stays on: the remote connected again must send
  // its tilt as the one before did.
  if (gameState.tiltSteering == 1) wiiuse_motion_sensing(remotes[0], 1);
}

int wiimotePollThread(void*) {
  int idlePolls = 0;
  while (pollStop == 0) {
    if (wiiuse_poll(remotes, 1) != 0) dispatchWiimoteReport(remotes[0]);
    if (remotes == nullptr || WIIMOTE_IS_CONNECTED(remotes[0])) {
      idlePolls = 0;
    } else if (++idlePolls == kPollsPerSearch) {
      idlePolls = 0;
      connectNewRemote();
    }
  }
  return 0;
}

void dispatchWiimoteReport(wiimote* remote) {
  switch (remote->event) {
    case WIIUSE_EVENT:
      handleWiimoteEvent(remote);
      break;
    case WIIUSE_DISCONNECT:
    case WIIUSE_UNEXPECTED_DISCONNECT:
      printRemoteDisconnected(remote);
      break;
    case WIIUSE_READ_DATA:
    case WIIUSE_NUNCHUK_INSERTED:
      printf("Nunchuk inserted.\n");
      break;
    case WIIUSE_CLASSIC_CTRL_INSERTED:
      printf("Classic controller inserted.\n");
      break;
    case WIIUSE_GUITAR_HERO_3_CTRL_INSERTED:
      printRemoteStatus(remote);
      printf("Guitar Hero 3 controller inserted.\n");
      break;
    case WIIUSE_NUNCHUK_REMOVED:
    case WIIUSE_CLASSIC_CTRL_REMOVED:
    case WIIUSE_GUITAR_HERO_3_CTRL_REMOVED:
      printf("An expansion was removed.\n");
      break;
    default:  // none, status, connect
      break;
  }
}

void printRemoteStatus(wiimote* remote) {
  printf("\n\n--- CONTROLLER STATUS [wiimote id %i] ---\n", remote->unid);
  printf("attachment:      %i\n", remote->exp.type);
  printf("speaker:         %i\n", WIIUSE_USING_SPEAKER(remote) ? 1 : 0);
  printf("ir:              %i\n", WIIUSE_USING_IR(remote) ? 1 : 0);
  printf("leds:            %i %i %i %i\n", WIIUSE_IS_LED_SET(remote, 1) ? 1 : 0,
         WIIUSE_IS_LED_SET(remote, 2) ? 1 : 0, WIIUSE_IS_LED_SET(remote, 3) ? 1 : 0,
         WIIUSE_IS_LED_SET(remote, 4) ? 1 : 0);
  printf("battery:         %f %%\n", static_cast<double>(remote->battery_level));
}

void printRemoteDisconnected(wiimote* remote) {
  printf("\n\n--- DISCONNECTED [wiimote id %i] ---\n", remote->unid);
}

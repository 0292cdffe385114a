// The device layer under the wiiuse stand-in: the few things it asks of a
// Wii Remote and of the system that lists them. Three implementations: the
// kernel driver through libxwiimote (Linux), SDL's HIDAPI driver (Windows),
// and a scripted one for tests.
#pragma once

#include <string>
#include <vector>

// One input from a remote.
struct WiimoteInput {
  enum Type {
    kButton,   // `button` (a WIIMOTE_BUTTON_* bit) went down or up
    kMotion,   // an accelerometer sample
    kChanged,  // something static changed: look at extension() again
    kGone,     // the remote disconnected; the device delivers nothing more
  };
  Type type;
  unsigned short button;
  bool down;
  int x, y, z;  // accelerometer, centred on 0, about 100 per g, z up when flat
};

class WiimoteDevice {
 public:
  virtual ~WiimoteDevice() = default;
  // The next input, waiting at most timeoutMs (0: not at all) for one to
  // arrive. False when none came in that time.
  virtual bool next(WiimoteInput& input, int timeoutMs) = 0;
  // The expansion in the kernel's words: "none", "nunchuk", "classic",
  // "guitar", "drums", "balanceboard", "unknown"...; "none" when unreadable.
  virtual std::string extension() = 0;
  // Battery charge in per cent, or -1 when unknown.
  virtual int battery() = 0;
  // Light `number` (1 to 4) on or off; false when the system refused.
  virtual bool setLed(int number, bool on) = 0;
  // Accelerometer samples on or off.
  virtual void setMotion(bool on) = 0;
};

class WiimoteBackend {
 public:
  virtual ~WiimoteBackend() = default;
  // The remotes connected now, by a name open() takes.
  virtual std::vector<std::string> list() = 0;
  // The remote's device, owned by the caller; null when it cannot be opened,
  // with the reason in `error`, in words a player can act on.
  virtual WiimoteDevice* open(const std::string& name, std::string& error) = 0;
  // Pauses the caller for about `ms` milliseconds.
  virtual void sleep(int ms) = 0;
};

// The kernel driver's backend (Linux), made on first use and never
// destroyed.
WiimoteBackend* xwiimoteBackend();

// SDL's backend (Windows: its HIDAPI driver), made on first use and never
// destroyed. It starts SDL's game-controller subsystem at its first listing.
WiimoteBackend* sdlBackend();

// The system's backend: xwiimote on Linux, SDL on Windows (chosen by the
// build).
WiimoteBackend* systemBackend();

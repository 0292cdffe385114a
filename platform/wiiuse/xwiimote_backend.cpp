// The kernel driver's backend: hid-wiimote through libxwiimote. Remotes are
// the devices the kernel lists; inputs are read from the core (buttons) and
// accelerometer interfaces, hot-plug changes from the device watch.
#include <poll.h>
#include <xwiimote.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/wiiuse/backend.h"
#include "platform/wiiuse/wiiuse.h"

static unsigned short buttonBit(unsigned int code) {
  switch (code) {
    case XWII_KEY_LEFT: return WIIMOTE_BUTTON_LEFT;
    case XWII_KEY_RIGHT: return WIIMOTE_BUTTON_RIGHT;
    case XWII_KEY_UP: return WIIMOTE_BUTTON_UP;
    case XWII_KEY_DOWN: return WIIMOTE_BUTTON_DOWN;
    case XWII_KEY_A: return WIIMOTE_BUTTON_A;
    case XWII_KEY_B: return WIIMOTE_BUTTON_B;
    case XWII_KEY_PLUS: return WIIMOTE_BUTTON_PLUS;
    case XWII_KEY_MINUS: return WIIMOTE_BUTTON_MINUS;
    case XWII_KEY_HOME: return WIIMOTE_BUTTON_HOME;
    case XWII_KEY_ONE: return WIIMOTE_BUTTON_ONE;
    case XWII_KEY_TWO: return WIIMOTE_BUTTON_TWO;
    default: return 0;
  }
}

class XwiimoteDevice : public WiimoteDevice {
 public:
  explicit XwiimoteDevice(xwii_iface* iface) : iface_(iface) {}
  ~XwiimoteDevice() override { xwii_iface_unref(iface_); }

  bool next(WiimoteInput& input, int timeoutMs) override {
    if (inputs_.empty() && !gone_) {
      pollfd fd = {xwii_iface_get_fd(iface_), POLLIN, 0};
      if (poll(&fd, 1, timeoutMs) > 0) readAll();
    }
    if (inputs_.empty()) {
      if (!gone_ || goneReported_) return false;
      goneReported_ = true;
      input = WiimoteInput();
      input.type = WiimoteInput::kGone;
      return true;
    }
    input = inputs_.front();
    inputs_.pop_front();
    return true;
  }

  std::string extension() override {
    char* name = nullptr;
    if (xwii_iface_get_extension(iface_, &name) != 0 || name == nullptr) return "none";
    std::string result = name;
    free(name);
    return result;
  }

  int battery() override {
    uint8_t capacity = 0;
    return xwii_iface_get_battery(iface_, &capacity) == 0 ? capacity : -1;
  }

  bool setLed(int number, bool on) override {
    return xwii_iface_set_led(iface_, XWII_LED(number), on) == 0;
  }

  void setMotion(bool on) override {
    if (on) {
      xwii_iface_open(iface_, XWII_IFACE_ACCEL);
    } else {
      xwii_iface_close(iface_, XWII_IFACE_ACCEL);
    }
  }

 private:
  // Everything the device has queued, until it answers -EAGAIN. Any other
  // error, or the core interface closed by the kernel, means the remote is
  // gone.
  void readAll() {
    xwii_event event;
    for (;;) {
      int result = xwii_iface_dispatch(iface_, &event, sizeof event);
      if (result == -EAGAIN) return;
      if (result != 0) {
        gone_ = true;
        return;
      }
      WiimoteInput input = WiimoteInput();
      switch (event.type) {
        case XWII_EVENT_KEY:
          input.type = WiimoteInput::kButton;
          input.button = buttonBit(event.v.key.code);
          input.down = event.v.key.state != 0;
          if (input.button != 0) inputs_.push_back(input);
          break;
        case XWII_EVENT_ACCEL:
          input.type = WiimoteInput::kMotion;
          input.x = event.v.abs[0].x;
          input.y = event.v.abs[0].y;
          input.z = event.v.abs[0].z;
          inputs_.push_back(input);
          break;
        case XWII_EVENT_WATCH:
          if ((xwii_iface_opened(iface_) & XWII_IFACE_CORE) == 0) {
            gone_ = true;
            return;
          }
          input.type = WiimoteInput::kChanged;
          inputs_.push_back(input);
          break;
        default:
          break;
      }
    }
  }

  xwii_iface* iface_;
  std::deque<WiimoteInput> inputs_;
  bool gone_ = false;
  bool goneReported_ = false;
};

// The kernel's driver also serves the Wii U Pro Controller and the Balance
// Board, which have no Wii Remote buttons to open: listed as remotes, they
// would take the one record's place (and be tried every second). A device
// whose type is not known yet ("pending" for a moment after it binds) stays
// listed.
static bool isRemote(const char* path) {
  xwii_iface* iface = nullptr;
  if (xwii_iface_new(&iface, path) != 0) return true;
  char* type = nullptr;
  bool remote = true;
  if (xwii_iface_get_devtype(iface, &type) == 0 && type != nullptr) {
    remote = strcmp(type, "procontroller") != 0 && strcmp(type, "balanceboard") != 0;
    free(type);
  }
  xwii_iface_unref(iface);
  return remote;
}

class XwiimoteBackend : public WiimoteBackend {
 public:
  std::vector<std::string> list() override {
    std::vector<std::string> names;
    xwii_monitor* monitor = xwii_monitor_new(false, false);
    if (monitor == nullptr) return names;
    while (char* path = xwii_monitor_poll(monitor)) {
      if (isRemote(path)) names.push_back(path);
      free(path);
    }
    xwii_monitor_unref(monitor);
    return names;
  }

  WiimoteDevice* open(const std::string& name, std::string& error) override {
    xwii_iface* iface = nullptr;
    int result = xwii_iface_new(&iface, name.c_str());
    if (result == 0) {
      result = xwii_iface_open(iface, XWII_IFACE_CORE);
      if (result != 0) xwii_iface_unref(iface);
    }
    if (result != 0) {
      error = strerror(-result);
      if (result == -EACCES) error += " (is the player in the input group?)";
      return nullptr;
    }
    // Extension plug and unplug arrive as watch events; without a udev
    // daemon to watch through, the remote still works without them.
    xwii_iface_watch(iface, true);
    return new XwiimoteDevice(iface);
  }

  void sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

WiimoteBackend* xwiimoteBackend() {
  // Never destroyed: a detached polling thread may still use it while the
  // process exits.
  static WiimoteBackend* backend = new XwiimoteBackend();
  return backend;
}

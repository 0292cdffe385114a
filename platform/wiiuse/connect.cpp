// The records, finding and connecting remotes, and the settings made once.
#include <cstdio>

#include "platform/wiiuse/wiiuse_internal.h"

static WiimoteBackend* installedBackend = nullptr;

void wiiuse_set_backend(WiimoteBackend* backend) {
  installedBackend = backend;
}

WiimoteBackend* wiiuseBackend() {
  return installedBackend != nullptr ? installedBackend : systemBackend();
}

static bool isConnected(const wiimote* wm) {
  return wm != nullptr && WIIMOTE_IS_CONNECTED(wm);
}

wiimote** wiiuse_init(int wiimotes) {
  if (wiimotes <= 0) return nullptr;
  wiimote** wm = new wiimote*[wiimotes];
  for (int i = 0; i < wiimotes; ++i) {
    wm[i] = new wiimote();
    wm[i]->unid = i + 1;
  }
  return wm;
}

int wiiuse_find(wiimote** wm, int max_wiimotes, int /*timeout*/) {
  if (wm == nullptr || max_wiimotes <= 0) return 0;
  std::vector<std::string> names = wiiuseBackend()->list();
  int found = 0;
  for (const std::string& name : names) {
    if (found == max_wiimotes) break;
    wm[found]->devicePath = name;
    wm[found]->state |= WIIMOTE_STATE_DEV_FOUND;
    ++found;
  }
  // A record left over from an earlier listing names a device that is gone.
  // One that comes back and is refused again is named again.
  for (int i = found; i < max_wiimotes; ++i) {
    if (isConnected(wm[i])) continue;
    wm[i]->devicePath.clear();
    wm[i]->refusedPath.clear();
    wm[i]->state &= ~WIIMOTE_STATE_DEV_FOUND;
  }
  return found;
}

int wiiuse_connect(wiimote** wm, int wiimotes) {
  if (wm == nullptr) return 0;
  int connected = 0;
  for (int i = 0; i < wiimotes; ++i) {
    wiimote* remote = wm[i];
    if ((remote->state & WIIMOTE_STATE_DEV_FOUND) == 0 || isConnected(remote)) continue;
    std::string error;
    remote->device = wiiuseBackend()->open(remote->devicePath, error);
    if (remote->device == nullptr) {
      // Tried again at every search: said once, not once a second.
      if (remote->refusedPath != remote->devicePath) {
        fprintf(stderr, "Cannot open the Wii Remote at %s: %s\n", remote->devicePath.c_str(),
                error.c_str());
        remote->refusedPath = remote->devicePath;
      }
      continue;
    }
    remote->refusedPath.clear();
    remote->state |= WIIMOTE_STATE_CONNECTED;
    // A remote connected again starts with no button down: the buttons of
    // the record before its disconnection are not the new device's.
    remote->btns = 0;
    remote->btns_held = 0;
    remote->btns_released = 0;
    // Nor does the new device send its motion until asked.
    remote->state &= ~WIIMOTE_STATE_ACC;
    readBattery(remote);
    checkExpansion(remote);
    ++connected;
  }
  return connected;
}

void readBattery(wiimote* wm) {
  int percent = wm->device->battery();
  if (percent >= 0) wm->battery_level = static_cast<float>(percent) / 100.0f;
}

void wiiuse_set_leds(wiimote* wm, int leds) {
  if (!isConnected(wm)) return;
  wm->leds = leds & 0xF0;
  for (int number = 1; number <= 4; ++number) {
    // Without a udev rule only root may write the lights: the remote then
    // keeps the light the kernel gave it.
    (void)wm->device->setLed(number, (wm->leds & (WIIMOTE_LED_1 << (number - 1))) != 0);
  }
}

void wiiuse_motion_sensing(wiimote* wm, int status) {
  if (!isConnected(wm)) return;
  wm->device->setMotion(status != 0);
  if (status != 0) {
    wm->state |= WIIMOTE_STATE_ACC;
  } else {
    wm->state &= ~WIIMOTE_STATE_ACC;
  }
}

void wiiuse_set_aspect_ratio(wiimote* wm, enum aspect_t aspect) {
  if (wm != nullptr) wm->ir.aspect = aspect;
}

void wiiuse_set_ir_position(wiimote* wm, enum ir_position_t pos) {
  if (wm != nullptr) wm->ir.pos = pos;
}

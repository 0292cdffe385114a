// Polling: device inputs turned into the record's reports.
#include <cmath>
#include <cstring>

#include "platform/wiiuse/wiiuse_internal.h"

// The longest a poll waits for a report. A report ends the wait at once, so
// this costs no delay; it only spaces out the polls of an idle remote.
static const int kPollWaitMs = 10;
// With no remote connected nothing can arrive until the caller connects one:
// a loop of polls then wakes twenty times a second.
static const int kIdleSleepMs = 50;

void queueEvent(wiimote* wm, int event) {
  pending_events_t& p = wm->pending;
  const int capacity = static_cast<int>(sizeof p.events / sizeof p.events[0]);
  if (p.count < capacity) p.events[p.count++] = event;
}

static int takeQueuedEvent(wiimote* wm) {
  pending_events_t& p = wm->pending;
  if (p.count == 0) return WIIUSE_NONE;
  int event = p.events[0];
  --p.count;
  std::memmove(p.events, p.events + 1, sizeof p.events[0] * static_cast<size_t>(p.count));
  return event;
}

static int expansionType(const std::string& name) {
  if (name == "nunchuk") return EXP_NUNCHUK;
  if (name == "classic") return EXP_CLASSIC;
  if (name == "guitar") return EXP_GUITAR_HERO_3;
  return EXP_NONE;
}

void checkExpansion(wiimote* wm) {
  int now = expansionType(wm->device->extension());
  int before = wm->exp.type;
  if (now == before) return;
  static const int removed[] = {WIIUSE_NONE, WIIUSE_NUNCHUK_REMOVED, WIIUSE_CLASSIC_CTRL_REMOVED,
                                WIIUSE_GUITAR_HERO_3_CTRL_REMOVED};
  static const int inserted[] = {WIIUSE_NONE, WIIUSE_NUNCHUK_INSERTED,
                                 WIIUSE_CLASSIC_CTRL_INSERTED, WIIUSE_GUITAR_HERO_3_CTRL_INSERTED};
  if (before != EXP_NONE) queueEvent(wm, removed[before]);
  if (now != EXP_NONE) queueEvent(wm, inserted[now]);
  wm->exp.type = now;
  if (now != EXP_NONE) {
    wm->state |= WIIMOTE_STATE_EXP;
  } else {
    wm->state &= ~WIIMOTE_STATE_EXP;
  }
}

static double degrees(double radians) {
  return radians * 180.0 / M_PI;
}

// The accelerometer has no calibration data here, so only the sample's
// direction is used: its length (about 100 per g) cancels out. A zero sample
// (free fall) has no direction and leaves the orientation as it was.
static void updateOrientation(wiimote* wm, int x, int y, int z) {
  double length = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                            static_cast<double>(z) * z);
  if (length == 0.0) return;
  wm->orient.roll = static_cast<float>(degrees(std::asin(x / length)));
  wm->orient.pitch = static_cast<float>(degrees(std::asin(y / length)));
}

// A report of the buttons now down; held and released follow from the
// buttons of the report before.
static void reportButtons(wiimote* wm, unsigned short now) {
  wm->btns_held = now & wm->btns;
  wm->btns_released = (wm->btns | wm->btns_held) & ~now;
  wm->btns = now;
  wm->event = WIIUSE_EVENT;
}

static void disconnected(wiimote* wm) {
  delete wm->device;
  wm->device = nullptr;
  wm->state &= ~(WIIMOTE_STATE_CONNECTED | WIIMOTE_STATE_ACC);
  wm->event = WIIUSE_UNEXPECTED_DISCONNECT;
}

// Reads inputs until one makes a report, waiting at most timeoutMs for the
// first; true when the record got a report. Accelerometer samples while
// motion sensing is off make none.
static bool readReport(wiimote* wm, int timeoutMs) {
  WiimoteInput input;
  while (wm->device->next(input, timeoutMs)) {
    timeoutMs = 0;
    switch (input.type) {
      case WiimoteInput::kButton: {
        unsigned short now = input.down ? (wm->btns | input.button) : (wm->btns & ~input.button);
        reportButtons(wm, now);
        return true;
      }
      case WiimoteInput::kMotion:
        if (!WIIUSE_USING_ACC(wm)) break;
        updateOrientation(wm, input.x, input.y, input.z);
        reportButtons(wm, wm->btns);
        return true;
      case WiimoteInput::kChanged:
        // Where the remote itself would send a status report.
        readBattery(wm);
        checkExpansion(wm);
        wm->event = takeQueuedEvent(wm);
        if (wm->event != WIIUSE_NONE) return true;
        break;
      case WiimoteInput::kGone:
        disconnected(wm);
        return true;
    }
  }
  return false;
}

static bool pollOne(wiimote* wm, int timeoutMs) {
  wm->event = takeQueuedEvent(wm);
  if (wm->event != WIIUSE_NONE) return true;
  if ((wm->state & WIIMOTE_STATE_CONNECTED) == 0) return false;
  return readReport(wm, timeoutMs);
}

int wiiuse_poll(wiimote** wm, int wiimotes) {
  if (wm == nullptr) {
    wiiuseBackend()->sleep(kIdleSleepMs);
    return 0;
  }
  int reports = 0;
  wiimote* firstConnected = nullptr;
  for (int i = 0; i < wiimotes; ++i) {
    if (pollOne(wm[i], 0)) ++reports;
    if (firstConnected == nullptr && (wm[i]->state & WIIMOTE_STATE_CONNECTED) != 0) {
      firstConnected = wm[i];
    }
  }
  if (reports > 0) return reports;
  // Nothing was ready: wait once. Reports of the other remotes are read by the
  // next poll, at most one wait later.
  if (firstConnected == nullptr) {
    wiiuseBackend()->sleep(kIdleSleepMs);
    return 0;
  }
  return pollOne(firstConnected, kPollWaitMs) ? 1 : 0;
}

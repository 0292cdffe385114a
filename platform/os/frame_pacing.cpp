// The frame pacer's rules, on times given to it: portable, and tested with
// chosen times. The sleep and the clock are the platform's
// (frame_pacing_posix.cpp, frame_pacing_win32.cpp).
#include <cstdlib>

#include "platform/os/os.h"
#include "platform/os/os_internal.h"

int64_t rhythmTolerance(int64_t periodNs) {
  return periodNs / 8;
}

// The whole number of periods, at least one, that `lengthNs` is within
// tolerance of; 0 when it is none.
static int64_t wholePeriods(int64_t lengthNs, int64_t periodNs) {
  if (periodNs <= 0) return 0;
  int64_t periods = (lengthNs + periodNs / 2) / periodNs;
  if (periods < 1) return 0;
  return std::llabs(lengthNs - periods * periodNs) <= rhythmTolerance(periodNs) ? periods : 0;
}

// Whether the display paced the frame that started at `pacer.frameStartNs`
// and was followed by one at `nowNs`; the judgement is kept when the frame
// tells nothing either way.
static void judgePacing(FramePacer& pacer, int64_t nowNs) {
  int64_t length = nowNs - pacer.frameStartNs;
  int64_t drawing = pacer.drawnNs > pacer.frameStartNs ? pacer.drawnNs - pacer.frameStartNs : 0;
  int64_t waited = length - drawing - pacer.sleptNs;
  if (pacer.sleptNs == 0 && length < pacer.periodNs * 3 / 4) {
    pacer.displayPaces = false;
  } else if (wholePeriods(length, pacer.periodNs) > 0 && waited > pacer.periodNs / 4) {
    pacer.displayPaces = true;
  }
}

int64_t startFrame(FramePacer& pacer, int64_t nowNs, int64_t refreshCount) {
  int64_t time = nowNs;
  if (pacer.frameStartNs != 0) {
    bool slept = pacer.sleptNs > 0;
    judgePacing(pacer, nowNs);
    int64_t sinceLast = nowNs - pacer.frameTimeNs;
    int64_t periods = 0;
    if (refreshCount >= 0 && pacer.refreshCount >= 0) {
      // The count is the display's own: trusted while the clock agrees
      // within half a period (a monitor change restarts it).
      int64_t counted = refreshCount - pacer.refreshCount;
      if (counted >= 1 && std::llabs(sinceLast - counted * pacer.periodNs) <= pacer.periodNs / 2) {
        periods = counted;
      }
    } else if (pacer.displayPaces || slept) {
      // Frames shown on the rhythm stay on it: a frame measured late by a
      // busy machine (beyond the tolerance too) is still shown at a blank,
      // or at its deadline.
      periods = (sinceLast + pacer.periodNs / 2) / pacer.periodNs;
    }
    if (periods > 0) time = pacer.frameTimeNs + periods * pacer.periodNs;
  }
  pacer.frameStartNs = nowNs;
  pacer.frameTimeNs = time;
  pacer.refreshCount = refreshCount;
  pacer.drawnNs = 0;
  pacer.sleptNs = 0;
  return time;
}

void restartFrames(FramePacer& pacer) {
  pacer.frameStartNs = 0;
  pacer.refreshCount = -1;
}

int64_t nextFrameDeadline(int64_t lastDeadlineNs, int64_t nowNs, int64_t periodNs) {
  if (lastDeadlineNs == 0) return nowNs;
  int64_t next = lastDeadlineNs + periodNs;
  return next > nowNs ? next : nowNs;
}

bool waitForFrame(FramePacer& pacer) {
  int64_t now = monotonicNanoseconds();
  pacer.deadlineNs = nextFrameDeadline(pacer.deadlineNs, now, pacer.periodNs);
  sleepUntil(pacer.deadlineNs);
  pacer.sleptNs = pacer.deadlineNs > now ? pacer.deadlineNs - now : 0;
  return pacer.deadlineNs > now;
}

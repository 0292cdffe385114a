#include <time.h>

#include <cerrno>

#include "platform/os/os.h"

int64_t monotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t nextFrameDeadline(int64_t lastDeadlineNs, int64_t nowNs, int64_t periodNs) {
  if (lastDeadlineNs == 0) return nowNs;
  int64_t next = lastDeadlineNs + periodNs;
  return next > nowNs ? next : nowNs;
}

bool waitForFrame(FramePacer& pacer) {
  int64_t now = monotonicNanoseconds();
  pacer.deadlineNs = nextFrameDeadline(pacer.deadlineNs, now, pacer.periodNs);
  timespec deadline;
  deadline.tv_sec = static_cast<time_t>(pacer.deadlineNs / 1000000000);
  deadline.tv_nsec = static_cast<long>(pacer.deadlineNs % 1000000000);
  // A signal handled meanwhile ends the sleep early: sleep on to the same
  // absolute deadline.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
  return pacer.deadlineNs > now;
}

void swapDone(FramePacer& pacer, int64_t swapStartNs, int64_t nowNs, bool slept) {
  if (slept && nowNs - swapStartNs > pacer.periodNs / 4) {
    pacer.swapWaits = true;
  } else if (!slept && pacer.lastSwapNs != 0 && nowNs - pacer.lastSwapNs < pacer.periodNs * 3 / 4) {
    pacer.swapWaits = false;
  }
  pacer.lastSwapNs = nowNs;
}

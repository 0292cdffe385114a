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

void waitForFrame(FramePacer& pacer) {
  pacer.deadlineNs = nextFrameDeadline(pacer.deadlineNs, monotonicNanoseconds(), pacer.periodNs);
  timespec deadline;
  deadline.tv_sec = static_cast<time_t>(pacer.deadlineNs / 1000000000);
  deadline.tv_nsec = static_cast<long>(pacer.deadlineNs % 1000000000);
  // A signal handled meanwhile ends the sleep early: sleep on to the same
  // absolute deadline.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

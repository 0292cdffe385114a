// The monotonic clock frames are timed by, and the sleep to a frame's
// deadline, through POSIX clocks.
#include <time.h>

#include <cerrno>

#include "platform/os/os.h"

int64_t monotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
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
  pacer.sleptNs = pacer.deadlineNs > now ? pacer.deadlineNs - now : 0;
  return pacer.deadlineNs > now;
}

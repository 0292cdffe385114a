// The monotonic clock and the sleep to a deadline on it, through POSIX's
// CLOCK_MONOTONIC.
#include <time.h>

#include <cerrno>

#include "platform/os/os.h"
#include "platform/os/os_internal.h"

int64_t monotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void sleepUntil(int64_t deadlineNs) {
  timespec deadline;
  deadline.tv_sec = static_cast<time_t>(deadlineNs / 1000000000);
  deadline.tv_nsec = static_cast<long>(deadlineNs % 1000000000);
  // A signal handled meanwhile ends the sleep early: sleep on to the same
  // absolute deadline.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

// The monotonic clock from QueryPerformanceCounter, and the sleep to a
// deadline on a high-resolution waitable timer. Sleep() and ordinary timers
// end on the system's timer tick, 15.6 ms unless a program asks for less:
// a 60 Hz frame would then be held for 31 ms.
#include <windows.h>

#include "platform/os/os.h"
#include "platform/os/os_internal.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

int64_t monotonicNanoseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);  // never fails on Windows XP and later
    return static_cast<int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // Split so that counts of years at 10 MHz do not overflow the product.
  int64_t seconds = now.QuadPart / frequency;
  int64_t rest = now.QuadPart % frequency;
  return seconds * 1000000000 + rest * 1000000000 / frequency;
}

// The calling thread's high-resolution timer (Windows 10 1803 and later),
// made at its first sleep; null where the system has none (older Windows,
// Wine), which then sleeps with the timer tick shortened to 1 ms instead.
static HANDLE threadTimer() {
  static thread_local HANDLE timer = [] {
    HANDLE made = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                         TIMER_MODIFY_STATE | SYNCHRONIZE);
    if (made == nullptr) {
      // Asked once for the whole process and never given back: the game
      // paces frames until it ends.
      static const bool shortTick = timeBeginPeriod(1) == TIMERR_NOERROR;
      (void)shortTick;
    }
    return made;
  }();
  return timer;
}

void sleepUntil(int64_t deadlineNs) {
  HANDLE timer = threadTimer();
  for (int64_t left = deadlineNs - monotonicNanoseconds(); left > 0;
       left = deadlineNs - monotonicNanoseconds()) {
    if (timer != nullptr) {
      LARGE_INTEGER due;
      due.QuadPart = -((left + 99) / 100);  // relative, in 100 ns units
      if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) &&
          WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0) {
        continue;
      }
    }
    // Whole milliseconds, rounded down; the last part of one is slept as 1.
    DWORD ms = static_cast<DWORD>(left / 1000000);
    Sleep(ms > 0 ? ms : 1);
  }
}

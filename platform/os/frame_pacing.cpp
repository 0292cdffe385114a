#include "platform/os/os.h"
#include "platform/os/os_internal.h"

int64_t nextFrameDeadline(int64_t lastDeadlineNs, int64_t nowNs, int64_t periodNs) {
  if (lastDeadlineNs == 0) return nowNs;
  int64_t next = lastDeadlineNs + periodNs;
  return next > nowNs ? next : nowNs;
}

bool waitForFrame(FramePacer& pacer) {
  int64_t now = monotonicNanoseconds();
  pacer.deadlineNs = nextFrameDeadline(pacer.deadlineNs, now, pacer.periodNs);
  sleepUntil(pacer.deadlineNs);
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

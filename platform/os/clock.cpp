#include "platform/os/os.h"

static uint32_t (*clockSource)() = nullptr;

uint32_t timeGetTime() {
  if (clockSource != nullptr) return clockSource();
  return static_cast<uint32_t>(monotonicNanoseconds() / 1000000);
}

void setClockSource(uint32_t (*source)()) {
  clockSource = source;
}

#include "platform/os/os.h"

#include <chrono>

static uint32_t (*clockSource)() = nullptr;

static uint32_t steadyMilliseconds() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  return static_cast<uint32_t>(ms);
}

uint32_t timeGetTime() {
  return clockSource ? clockSource() : steadyMilliseconds();
}

void setClockSource(uint32_t (*source)()) {
  clockSource = source;
}

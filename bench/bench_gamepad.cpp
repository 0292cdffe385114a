// The gamepad's once-per-frame reading: with no controller connected (the
// game's clock as it runs, so the look for new devices comes every 250 ms),
// the look for new devices alone, and one virtual controller in use.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "input/gamepad.h"
#include "platform/os/os.h"
#include "tests/input/virtual_pad.h"

namespace {

uint32_t fakeNow = 0;
uint32_t advancingClock() { return fakeNow += 1000; }

void BM_ReadGamepadNoController(benchmark::State& state) {
  initGamepad();
  for (auto _ : state) readGamepad();
  stopGamepad();
}
BENCHMARK(BM_ReadGamepadNoController);

// Every reading asks SDL about new devices: the cost the 250 ms spacing saves.
void BM_ReadGamepadLookingForDevices(benchmark::State& state) {
  setClockSource(advancingClock);
  initGamepad();
  for (auto _ : state) readGamepad();
  stopGamepad();
  setClockSource(nullptr);
}
BENCHMARK(BM_ReadGamepadLookingForDevices);

void BM_ReadGamepadOneController(benchmark::State& state) {
  initGamepad();
  if (attachVirtualPad() < 0) abort();
  for (auto _ : state) readGamepad();
  stopGamepad();
}
BENCHMARK(BM_ReadGamepadOneController);

}  // namespace

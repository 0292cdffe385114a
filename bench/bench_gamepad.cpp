// The gamepad's once-per-frame reading: with no controller connected (the
// game's clock as it runs, so the look for new devices comes every 250 ms),
// the look for new devices alone, and one virtual controller in use.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "input/gamepad.h"
#include "platform/os/os.h"

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
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
  if (SDL_JoystickAttachVirtualEx(&desc) < 0) abort();
  for (auto _ : state) readGamepad();
  stopGamepad();
}
BENCHMARK(BM_ReadGamepadOneController);

}  // namespace

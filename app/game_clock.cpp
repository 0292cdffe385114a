#include "app/game_clock.h"

static const int64_t kTick = 1000000000;  // one tick in the clock's units
static const int64_t kSecondNs = 1000000000;

int ticksDue(GameClock& clock, int64_t nowNs) {
  if (clock.lastFrameNs == 0) {
    clock.lastFrameNs = nowNs;
    clock.pending = kTick / 2;
    return 1;
  }
  int64_t elapsed = nowNs - clock.lastFrameNs;
  clock.lastFrameNs = nowNs;
  // A clock that went back gives nothing; more than a second is dropped
  // anyway, so the arithmetic never overflows.
  if (elapsed < 0) elapsed = 0;
  if (elapsed > kSecondNs) elapsed = kSecondNs;
  clock.pending += elapsed * kTicksPerSecond * clock.speed;
  int64_t ticks = clock.pending / kTick;
  clock.pending %= kTick;
  return ticks > kMostTicksPerFrame ? kMostTicksPerFrame : static_cast<int>(ticks);
}

double tickFraction(const GameClock& clock) {
  return static_cast<double>(clock.pending) / static_cast<double>(kTick);
}

void restartClock(GameClock& clock, int64_t nowNs) {
  if (clock.lastFrameNs != 0) clock.lastFrameNs = nowNs;
}

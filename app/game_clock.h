// The game clock: the game advances in ticks of exactly 1/60 s of game time,
// whatever the display's rate. Each drawn frame runs the ticks that the time
// since the previous frame holds, and is drawn that far between the last two.
#pragma once

#include <cstdint>

// The most ticks one frame runs: about 133 ms of game time. A longer stall
// (a busy machine, a debugger) loses the time beyond it rather than catching
// up in a burst.
constexpr int kMostTicksPerFrame = 8;
constexpr int kTicksPerSecond = 60;

struct GameClock {
  int64_t lastFrameNs = 0;  // monotonic time of the last frame; 0 before the first
  // Game time passed and not yet ticked, in nanoseconds times 60: a tick is
  // exactly 1e9 of these, so 60 ticks make exactly one second.
  int64_t pending = 0;
  int speed = 1;  // seconds of game time per second of real time
};

// The ticks a frame starting at `nowNs` runs: the game time since the last
// frame in whole ticks, at most kMostTicksPerFrame. The part of a tick left
// over waits for the next frame. The first frame runs one tick and starts the
// clock half-way through the next, so frames at the tick rate each run
// exactly one, even when they come a little early or late.
int ticksDue(GameClock& clock, int64_t nowNs);

// How far game time stands between the last tick and the next: in [0, 1).
double tickFraction(const GameClock& clock);

// Goes on from `nowNs` as if the previous frame had come then: the time the
// window was hidden is not game time.
void restartClock(GameClock& clock, int64_t nowNs);

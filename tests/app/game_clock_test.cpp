// The game clock under a simulated monotonic clock: 60 ticks to the second
// whatever the display's rate, no burst after a stall, the fraction between
// ticks in [0, 1), and a hidden window's time left out.
#include <gtest/gtest.h>

#include "app/game_clock.h"

namespace {

const int64_t kSecond = 1000000000;
const int64_t kStart = 5 * kSecond;

// Frame k of a display refreshing `hz` times a second.
int64_t frameTime(int hz, int64_t k) {
  return kStart + k * kSecond / hz;
}

TEST(GameClockTest, EveryDisplayRateGivesSixtyTicksInEachSecond) {
  for (int hz : {30, 50, 60, 75, 144}) {
    GameClock clock;
    EXPECT_EQ(ticksDue(clock, frameTime(hz, 0)), 1) << "the first frame runs one tick";
    int64_t frame = 1;
    for (int second = 1; second <= 3; ++second) {
      int ticks = 0;
      for (; frame <= second * hz; ++frame) {
        int due = ticksDue(clock, frameTime(hz, frame));
        ticks += due;
        double fraction = tickFraction(clock);
        EXPECT_GE(fraction, 0.0) << hz << " Hz, frame " << frame;
        EXPECT_LT(fraction, 1.0) << hz << " Hz, frame " << frame;
        if (hz == 60 || hz == 30) {
          EXPECT_EQ(due, 60 / hz) << hz << " Hz: ticks in frame " << frame;
        }
      }
      EXPECT_EQ(ticks, 60) << hz << " Hz, second " << second;
    }
  }
}

TEST(GameClockTest, AFrameAtSixtyHzEarlyOrLateByAQuarterTickStillRunsOne) {
  GameClock clock;
  ticksDue(clock, kStart);
  int64_t tick = kSecond / 60;
  for (int frame = 1; frame <= 120; ++frame) {
    int64_t jitter = (frame % 2 == 0 ? 1 : -1) * tick / 4;
    EXPECT_EQ(ticksDue(clock, kStart + frame * tick + jitter), 1) << "frame " << frame;
  }
}

TEST(GameClockTest, AStallRunsEightTicksAtMostThenTheNormalRate) {
  GameClock clock;
  ticksDue(clock, frameTime(60, 0));
  for (int64_t k = 1; k <= 60; ++k) ticksDue(clock, frameTime(60, k));
  double before = tickFraction(clock);
  int64_t stalled = frameTime(60, 60) + 2 * kSecond;
  EXPECT_EQ(ticksDue(clock, stalled), kMostTicksPerFrame);
  EXPECT_DOUBLE_EQ(tickFraction(clock), before) << "whole ticks are dropped, the fraction kept";
  int ticks = 0;
  for (int64_t k = 1; k <= 60; ++k) {
    int due = ticksDue(clock, stalled + k * kSecond / 60);
    EXPECT_EQ(due, 1) << "frame " << k << " after the stall";
    ticks += due;
  }
  EXPECT_EQ(ticks, 60);

  // A clock that went back runs nothing.
  EXPECT_EQ(ticksDue(clock, stalled), 0);
}

TEST(GameClockTest, TheHiddenTimeIsNotGameTimeAndTheSpeedScalesIt) {
  GameClock clock;
  ticksDue(clock, kStart);
  EXPECT_EQ(ticksDue(clock, kStart + kSecond / 60), 1);
  restartClock(clock, kStart + 100 * kSecond);
  EXPECT_EQ(ticksDue(clock, kStart + 100 * kSecond + kSecond / 60), 1) << "a burst after showing again";

  GameClock fast;
  fast.speed = 4;
  ticksDue(fast, kStart);
  int ticks = 0;
  for (int64_t k = 1; k <= 60; ++k) ticks += ticksDue(fast, frameTime(60, k));
  EXPECT_EQ(ticks, 240);
}

}  // namespace

// Frame pacing: the deadline rule on chosen times, then the sleep on the real
// monotonic clock, checked by counting frames over a stretch of time (only
// ever an upper bound: a loaded machine may draw fewer).
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/os/os.h"

namespace {

const int64_t kMs = 1000000;
const int64_t kPeriod = 1000000000 / 60;

TEST(FramePacingTest, DeadlinesStepByAPeriodAndALateFrameIsNotMadeUp) {
  EXPECT_EQ(nextFrameDeadline(0, 5 * kMs, kPeriod), 5 * kMs) << "the first frame starts at once";
  EXPECT_EQ(nextFrameDeadline(100 * kMs, 105 * kMs, kPeriod), 100 * kMs + kPeriod);
  EXPECT_EQ(nextFrameDeadline(100 * kMs, 100 * kMs + kPeriod, kPeriod), 100 * kMs + kPeriod);
  EXPECT_EQ(nextFrameDeadline(100 * kMs, 150 * kMs, kPeriod), 150 * kMs) << "late: start now";

  // Frames of 5 ms, but the fourth takes 100 ms. Each frame starts at its
  // deadline (the sleep ends there) and the next deadline is asked for when
  // it ends.
  std::vector<int64_t> starts;
  int64_t deadline = 0;
  int64_t now = 1000 * kMs;
  for (int frame = 0; frame < 12; ++frame) {
    deadline = nextFrameDeadline(deadline, now, kPeriod);
    starts.push_back(deadline);
    now = deadline + (frame == 3 ? 100 : 5) * kMs;
  }
  for (size_t i = 1; i < starts.size(); ++i) {
    EXPECT_GE(starts[i] - starts[i - 1], kPeriod) << "frame " << i << " came early: a burst";
  }
  EXPECT_EQ(starts[4], starts[3] + 100 * kMs) << "the frame after the late one waits no longer";
  EXPECT_EQ(starts[11] - starts[4], 7 * kPeriod) << "then a period apart again";
}

// Frames the pacer lets through until `lengthNs` has passed since `from`.
int framesUntil(FramePacer& pacer, int64_t from, int64_t lengthNs) {
  int frames = 0;
  while (monotonicNanoseconds() - from < lengthNs) {
    waitForFrame(pacer);
    ++frames;
  }
  return frames;
}

TEST(FramePacingTest, AtMostSixtyFramesASecondAndNoBurstAfterAStall) {
  FramePacer pacer = {kPeriod, 0};
  int64_t start = monotonicNanoseconds();
  int frames = framesUntil(pacer, start, 1000 * kMs);
  // 60 in a second, one more for the frame that starts at once, and a little
  // for the loop's last check; a machine too busy may give fewer.
  EXPECT_LE(frames, 65) << "the pacer let " << frames << " frames through in one second";
  EXPECT_GT(frames, 0);

  // A frame that stalls for 100 ms (six periods), then 100 ms of frames:
  // six or seven of them at 60 a second, where making up the stall would
  // give twelve or more.
  waitForFrame(pacer);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  frames = framesUntil(pacer, monotonicNanoseconds(), 100 * kMs);
  EXPECT_LE(frames, 8) << "a burst of " << frames << " frames in 100 ms after a stall";
}

}  // namespace

namespace {

// Sleeping as well as a swap that waits for the vertical blank makes frames
// miss blanks; not sleeping where swaps do not wait lets frames run free.
TEST(FramePacingTest, SwapsSeenWaitingForTheBlankStopTheSleepUntilFramesComeFast) {
  FramePacer pacer = {kPeriod, 0};
  int64_t t = 1000 * kMs;
  swapDone(pacer, t, t + kMs, true);
  EXPECT_FALSE(pacer.swapWaits) << "a quick swap after a sleep";
  t += kPeriod;
  swapDone(pacer, t, t + kPeriod / 2, false);
  EXPECT_FALSE(pacer.swapWaits) << "a long swap with no sleep before it: the drawing finishing";
  t += kPeriod;
  swapDone(pacer, t, t + kPeriod / 2, true);
  EXPECT_TRUE(pacer.swapWaits) << "a long swap after a sleep waited for the blank";
  t = pacer.lastSwapNs;
  for (int frame = 0; frame < 3; ++frame) {
    t += kPeriod;
    swapDone(pacer, t - kMs, t, false);
    EXPECT_TRUE(pacer.swapWaits) << "frames a period apart without sleeping";
  }
  swapDone(pacer, t + kPeriod / 2 - kMs, t + kPeriod / 2, false);
  EXPECT_FALSE(pacer.swapWaits) << "a frame half a period after the last: swaps no longer wait";
}

}  // namespace

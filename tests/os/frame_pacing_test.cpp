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

// One frame as the frame loop times it: started at `start` with the
// display's count `count` (-1: none), its drawing done `drawing` later, then
// a sleep of `sleep`. Returns the frame's time.
int64_t frame(FramePacer& pacer, int64_t start, int64_t drawing, int64_t sleep = 0, int64_t count = -1) {
  int64_t time = startFrame(pacer, start, count);
  pacer.drawnNs = start + drawing;
  pacer.sleptNs = sleep;
  return time;
}

// A driver that waits in the swap and one that returns from it at once and
// makes the next frame's first call wait: either way whole frames a period
// apart that waited beyond their own drawing show that the display paces
// them; frames that come faster than the display, unslept, show it does not.
// A frame is judged when the next one starts.
TEST(FramePacingTest, TheDisplayPacesWhenWholeFramesWaitedBeyondTheirDrawingAndSleep) {
  FramePacer pacer = {kPeriod, 0};
  int64_t t = 1000 * kMs;
  frame(pacer, t, 2 * kMs, kPeriod - 3 * kMs);
  EXPECT_FALSE(pacer.displayPaces) << "nothing to judge by before the second frame";
  t += kPeriod;
  frame(pacer, t, 2 * kMs, 10 * kMs);
  EXPECT_FALSE(pacer.displayPaces) << "a period apart, but the frame's own sleep filled it";
  t += kPeriod;
  frame(pacer, t, 2 * kMs);
  EXPECT_TRUE(pacer.displayPaces) << "slept 10 ms, drew 2, yet came a period later: waited 4.7 ms";
  for (int i = 0; i < 3; ++i) {
    t += (i == 1 ? 2 : 1) * kPeriod;  // a refresh missed keeps the judgement
    frame(pacer, t, 2 * kMs);
    EXPECT_TRUE(pacer.displayPaces) << "frame " << i;
  }
  t += kPeriod * 3 / 4 - 1;
  frame(pacer, t, 13 * kMs);
  EXPECT_FALSE(pacer.displayPaces) << "an unslept frame within three quarters of a period";

  // Frames that waited only a quarter period beyond their drawing, or a
  // slow renderer taking a period (and a little) to draw, are not paced by
  // the display, whatever their spacing.
  t += kPeriod;
  frame(pacer, t, kPeriod + kMs - 100000);
  EXPECT_FALSE(pacer.displayPaces) << "waited less than a quarter period";
  for (int i = 0; i < 4; ++i) {
    t += kPeriod + kMs;
    frame(pacer, t, kPeriod + kMs - 100000);
    EXPECT_FALSE(pacer.displayPaces) << "slow frame " << i;
  }
  // A slept frame that comes early says nothing of the display.
  pacer.displayPaces = true;
  t += kPeriod;
  frame(pacer, t, kMs, kPeriod / 4);
  t += kPeriod / 2;
  frame(pacer, t, kMs);
  EXPECT_TRUE(pacer.displayPaces);
}

// Frames whose start wanders by the drawing's length (a swap that returns at
// once) or by a busy machine are timed a whole number of periods apart while
// the display paces them.
TEST(FramePacingTest, FrameTimesSnapToWholePeriodsWhileTheDisplayPacesThem) {
  EXPECT_EQ(rhythmTolerance(kPeriod), kPeriod / 8);
  FramePacer pacer = {kPeriod, 0};
  pacer.displayPaces = true;
  const int64_t t0 = 1000 * kMs;
  EXPECT_EQ(frame(pacer, t0, kMs), t0) << "the first frame's time is the clock's";
  const int64_t wander[] = {1500000, -900000, 2000000, 0, -2000000, 300000};
  int64_t refreshes = 0;
  for (int64_t w : wander) {
    refreshes += 1;
    EXPECT_EQ(frame(pacer, t0 + refreshes * kPeriod + w, kMs), t0 + refreshes * kPeriod) << w;
  }
  refreshes += 2;  // a refresh shown twice: two periods
  EXPECT_EQ(frame(pacer, t0 + refreshes * kPeriod + kMs, kMs), t0 + refreshes * kPeriod);
  // A frame measured late by a busy machine is still shown at a blank, and
  // the next one a period later.
  refreshes += 1;
  int64_t late = t0 + refreshes * kPeriod + kPeriod / 2 - 1;
  EXPECT_EQ(frame(pacer, late, kMs), t0 + refreshes * kPeriod);
  EXPECT_EQ(frame(pacer, late + kPeriod, kMs), t0 + (refreshes + 1) * kPeriod);
  EXPECT_TRUE(pacer.displayPaces);
  // A frame a quarter period after the last: the display no longer paces
  // them, and the clock's time is taken.
  int64_t early = late + kPeriod + kPeriod / 4;
  EXPECT_EQ(frame(pacer, early, kMs), early);
  EXPECT_FALSE(pacer.displayPaces);

  // A renderer drawing at its own pace, unpaced, is timed by the clock:
  // 16 ms frames, drawn in 15.9, step by 16 ms.
  FramePacer free = {kPeriod, 0};
  frame(free, t0, 15900000);
  EXPECT_EQ(frame(free, t0 + 16 * kMs, 15900000), t0 + 16 * kMs);
  EXPECT_EQ(frame(free, t0 + 32 * kMs, 15900000, 5 * kMs), t0 + 32 * kMs);
  EXPECT_FALSE(free.displayPaces);
  // The pacer's own sleep holds the rhythm as well.
  EXPECT_EQ(frame(free, t0 + 32 * kMs + kPeriod + kMs, kMs), t0 + 32 * kMs + kPeriod);
}

// Where the display gives its refresh count, the frames are timed by it,
// while the clock agrees within half a period; a hidden window's frames start
// afresh.
TEST(FramePacingTest, TheDisplaysRefreshCountTimesTheFrames) {
  FramePacer pacer = {kPeriod, 0};
  const int64_t t0 = 1000 * kMs;
  EXPECT_EQ(frame(pacer, t0, kMs, 0, 500), t0);
  EXPECT_EQ(frame(pacer, t0 + kPeriod + 3 * kMs, kMs, 0, 501), t0 + kPeriod) << "3 ms late by the clock";
  EXPECT_EQ(frame(pacer, t0 + 3 * kPeriod - 4 * kMs, kMs, 0, 503), t0 + 3 * kPeriod) << "two refreshes";
  int64_t same = t0 + 3 * kPeriod + kMs;
  EXPECT_EQ(frame(pacer, same, kMs, 0, 503), same) << "no refresh between: the clock's time";
  int64_t restarted = t0 + 4 * kPeriod;
  EXPECT_EQ(frame(pacer, restarted, kMs, 0, 7), restarted) << "a count that went back";
  EXPECT_EQ(frame(pacer, restarted + 5 * kPeriod, kMs, 0, 8), restarted + 5 * kPeriod)
      << "one refresh counted, five by the clock: the clock wins";

  restartFrames(pacer);
  pacer.displayPaces = true;
  int64_t shown = restarted + 100 * kPeriod + kMs;
  EXPECT_EQ(frame(pacer, shown, kMs, 0, 9), shown) << "judged against nothing after a hidden window";
  EXPECT_TRUE(pacer.displayPaces);
}

}  // namespace

// Polling through the scripted backend: buttons, orientation, expansions,
// disconnection, and the wait that keeps a polling loop off the processor.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/wiiuse/scripted_backend.h"
#include "platform/wiiuse/wiiuse.h"

namespace {

class WiiusePollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wiiuse_set_backend(&backend);
    backend.addRemote("r");
    wm = wiiuse_init(1);
    wiiuse_find(wm, 1, 5);
    ASSERT_EQ(wiiuse_connect(wm, 1), 1);
  }
  void TearDown() override { wiiuse_set_backend(nullptr); }

  // The event of one poll; WIIUSE_NONE when it brought nothing.
  int poll() {
    int reports = wiiuse_poll(wm, 1);
    EXPECT_EQ(reports, wm[0]->event == WIIUSE_NONE ? 0 : 1);
    return wm[0]->event;
  }

  ScriptedBackend backend;
  wiimote** wm = nullptr;
};

TEST_F(WiiusePollTest, ButtonsPressedHeldAndReleased) {
  backend.button("r", WIIMOTE_BUTTON_HOME, true);
  backend.button("r", WIIMOTE_BUTTON_B, true);
  backend.button("r", WIIMOTE_BUTTON_HOME, false);

  ASSERT_EQ(poll(), WIIUSE_EVENT);
  EXPECT_EQ(wm[0]->btns, WIIMOTE_BUTTON_HOME);
  EXPECT_TRUE(IS_JUST_PRESSED(wm[0], WIIMOTE_BUTTON_HOME));

  ASSERT_EQ(poll(), WIIUSE_EVENT);
  EXPECT_EQ(wm[0]->btns, WIIMOTE_BUTTON_HOME | WIIMOTE_BUTTON_B);
  EXPECT_FALSE(IS_JUST_PRESSED(wm[0], WIIMOTE_BUTTON_HOME)) << "held from the report before";
  EXPECT_TRUE(IS_JUST_PRESSED(wm[0], WIIMOTE_BUTTON_B));

  ASSERT_EQ(poll(), WIIUSE_EVENT);
  EXPECT_EQ(wm[0]->btns, WIIMOTE_BUTTON_B);
  EXPECT_TRUE(IS_RELEASED(wm[0], WIIMOTE_BUTTON_HOME));
  EXPECT_TRUE(IS_HELD(wm[0], WIIMOTE_BUTTON_B));
}

TEST_F(WiiusePollTest, OrientationFromTheSampleDirectionOnlyWhileMotionSensingIsOn) {
  backend.motion("r", 50, 0, 87);
  EXPECT_EQ(poll(), WIIUSE_NONE) << "samples make no report while motion sensing is off";
  EXPECT_EQ(backend.counts().pending, 0);
  EXPECT_FALSE(backend.motionOn("r"));

  wiiuse_motion_sensing(wm[0], 1);
  EXPECT_TRUE(backend.motionOn("r"));
  EXPECT_TRUE(WIIUSE_USING_ACC(wm[0]));
  backend.button("r", WIIMOTE_BUTTON_UP, true);
  ASSERT_EQ(poll(), WIIUSE_EVENT);

  // Rolled 30 degrees, at 100 per g and at twice that: the length cancels.
  for (double g : {100.0, 200.0}) {
    double angle = 30.0 * M_PI / 180.0;
    backend.motion("r", static_cast<int>(std::lround(g * std::sin(angle))), 0,
                   static_cast<int>(std::lround(g * std::cos(angle))));
    ASSERT_EQ(poll(), WIIUSE_EVENT);
    EXPECT_NEAR(wm[0]->orient.roll, 30.0, 0.5);
    EXPECT_NEAR(wm[0]->orient.pitch, 0.0, 1e-6);
    EXPECT_EQ(wm[0]->btns, WIIMOTE_BUTTON_UP) << "a motion report carries the buttons";
    EXPECT_TRUE(IS_HELD(wm[0], WIIMOTE_BUTTON_UP));
  }

  backend.motion("r", 0, -100, 0);  // front straight down
  backend.motion("r", 0, 0, 0);     // free fall: no direction, nothing changes
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(poll(), WIIUSE_EVENT);
    EXPECT_FLOAT_EQ(wm[0]->orient.pitch, -90.0f);
    EXPECT_FLOAT_EQ(wm[0]->orient.roll, 0.0f);
  }
}

TEST_F(WiiusePollTest, ExpansionsPluggedAndUnplugged) {
  backend.plug("r", "nunchuk");
  EXPECT_EQ(poll(), WIIUSE_NUNCHUK_INSERTED);
  EXPECT_EQ(wm[0]->exp.type, EXP_NUNCHUK);
  EXPECT_TRUE(WIIUSE_USING_EXP(wm[0]));
  backend.plug("r", "none");
  EXPECT_EQ(poll(), WIIUSE_NUNCHUK_REMOVED);
  EXPECT_EQ(wm[0]->exp.type, EXP_NONE);
  EXPECT_FALSE(WIIUSE_USING_EXP(wm[0]));

  backend.plug("r", "classic");
  EXPECT_EQ(poll(), WIIUSE_CLASSIC_CTRL_INSERTED);
  // A swap between two watch reports: the removal, then the insertion.
  backend.plug("r", "guitar");
  EXPECT_EQ(poll(), WIIUSE_CLASSIC_CTRL_REMOVED);
  EXPECT_EQ(poll(), WIIUSE_GUITAR_HERO_3_CTRL_INSERTED);
  EXPECT_EQ(wm[0]->exp.type, EXP_GUITAR_HERO_3);
  backend.plug("r", "drums");  // not one the game knows: counted as none
  EXPECT_EQ(poll(), WIIUSE_GUITAR_HERO_3_CTRL_REMOVED);
  backend.plug("r", "balanceboard");
  EXPECT_EQ(poll(), WIIUSE_NONE) << "a change between unknown expansions reports nothing";
}

TEST_F(WiiusePollTest, DisconnectionIsReportedOnceAndTheLastButtonsStay) {
  backend.button("r", WIIMOTE_BUTTON_B, true);
  backend.disconnect("r");
  backend.button("r", WIIMOTE_BUTTON_A, true);  // never read: the remote is gone
  ASSERT_EQ(poll(), WIIUSE_EVENT);
  EXPECT_EQ(poll(), WIIUSE_UNEXPECTED_DISCONNECT);
  EXPECT_EQ(wm[0]->state & WIIMOTE_STATE_CONNECTED, 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(poll(), WIIUSE_NONE);
  EXPECT_EQ(wm[0]->btns, WIIMOTE_BUTTON_B);
  EXPECT_EQ(backend.counts().sleeps, 5) << "a dead remote is polled by sleeping, not spinning";
}

TEST_F(WiiusePollTest, AnEmptyPollWaitsAFewMillisecondsEveryTime) {
  for (int i = 0; i < 20; ++i) EXPECT_EQ(poll(), WIIUSE_NONE);
  EXPECT_EQ(backend.counts().waits, 20);
  EXPECT_EQ(backend.counts().sleeps, 0);

  // A report that is ready is read without waiting.
  backend.button("r", WIIMOTE_BUTTON_A, true);
  EXPECT_EQ(poll(), WIIUSE_EVENT);
  EXPECT_EQ(backend.counts().waits, 20);
}

}  // namespace

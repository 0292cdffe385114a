// Finding and connecting remotes, and the settings made once, through the
// scripted backend.
#include <gtest/gtest.h>

#include "platform/wiiuse/scripted_backend.h"
#include "platform/wiiuse/wiiuse.h"

namespace {

class WiiuseConnectTest : public ::testing::Test {
 protected:
  void SetUp() override { wiiuse_set_backend(&backend); }
  void TearDown() override { wiiuse_set_backend(nullptr); }
  ScriptedBackend backend;
};

TEST_F(WiiuseConnectTest, RecordsAreNumberedFromOneAndStartUnconnected) {
  EXPECT_EQ(wiiuse_init(0), nullptr);
  wiimote** wm = wiiuse_init(3);
  ASSERT_NE(wm, nullptr);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(wm[i]->unid, i + 1);
    EXPECT_EQ(wm[i]->state, 0);
    EXPECT_EQ(wm[i]->event, WIIUSE_NONE);
  }
}

TEST_F(WiiuseConnectTest, FindWaitsForARemoteToAppearAndStopsThere) {
  backend.addRemote("late", 7);
  wiimote** wm = wiiuse_init(1);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 1);
  ScriptedBackend::Counts counts = backend.counts();
  EXPECT_EQ(counts.lists, 8) << "one listing at once, then one per pause until it shows";
  EXPECT_EQ(counts.sleeps, 7);
  EXPECT_EQ(wm[0]->devicePath, "late");
}

TEST_F(WiiuseConnectTest, FindGivesUpAfterTheTimeOut) {
  wiimote** wm = wiiuse_init(1);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 0);
  ScriptedBackend::Counts counts = backend.counts();
  EXPECT_EQ(counts.sleptMs, 5000);
  EXPECT_EQ(counts.lists, counts.sleeps + 1);
  EXPECT_EQ(wiiuse_connect(wm, 1), 0);
  EXPECT_EQ(backend.counts().opened, 0);
}

TEST_F(WiiuseConnectTest, FindAssignsNoMoreThanAsked) {
  backend.addRemote("one");
  backend.addRemote("two");
  wiimote** wm = wiiuse_init(2);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 1);
  EXPECT_EQ(wm[0]->devicePath, "one");
  EXPECT_EQ(wm[1]->devicePath, "");
  EXPECT_EQ(wiiuse_connect(wm, 2), 1);
  EXPECT_EQ(wiiuse_connect(wm, 2), 0) << "a connected remote is not opened twice";
  EXPECT_EQ(backend.counts().opened, 1);
}

TEST_F(WiiuseConnectTest, ARemoteThatCannotBeOpenedStaysUnconnected) {
  backend.addRemote("locked", 0, false);
  wiimote** wm = wiiuse_init(1);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 1);
  EXPECT_EQ(wiiuse_connect(wm, 1), 0);
  wiiuse_set_leds(wm[0], WIIMOTE_LED_1);
  EXPECT_EQ(wm[0]->leds, 0) << "lights are not set on an unconnected remote";
}

TEST_F(WiiuseConnectTest, LightsAreSetAndARefusalIsIgnored) {
  backend.addRemote("r");
  backend.setBattery("r", 85);
  wiimote** wm = wiiuse_init(1);
  wiiuse_find(wm, 1, 5);
  ASSERT_EQ(wiiuse_connect(wm, 1), 1);
  EXPECT_FLOAT_EQ(wm[0]->battery_level, 0.85f);

  wiiuse_set_leds(wm[0], WIIMOTE_LED_1 | WIIMOTE_LED_4);
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
  EXPECT_TRUE(WIIUSE_IS_LED_SET(wm[0], 1));
  EXPECT_FALSE(WIIUSE_IS_LED_SET(wm[0], 2));
  EXPECT_TRUE(WIIUSE_IS_LED_SET(wm[0], 4));

  backend.refuseLeds(true);
  wiiuse_set_leds(wm[0], WIIMOTE_LED_2);
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(wm[0]->leds, WIIMOTE_LED_2) << "the record holds what was asked";
  EXPECT_NE(wm[0]->state & WIIMOTE_STATE_CONNECTED, 0) << "a refusal does not cost the remote";
}

TEST_F(WiiuseConnectTest, NullArraysAndRecordsAreAccepted) {
  EXPECT_EQ(wiiuse_find(nullptr, 1, 5), 0);
  EXPECT_EQ(wiiuse_connect(nullptr, 1), 0);
  EXPECT_EQ(wiiuse_poll(nullptr, 1), 0);
  wiiuse_set_leds(nullptr, WIIMOTE_LED_1);
  wiiuse_motion_sensing(nullptr, 1);
  wiiuse_set_aspect_ratio(nullptr, WIIUSE_ASPECT_4_3);
  wiiuse_set_ir_position(nullptr, WIIUSE_IR_ABOVE);
  EXPECT_EQ(backend.counts().lists, 0);
}

}  // namespace

// Finding and connecting remotes, and the lights, through the scripted
// backend.
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

TEST_F(WiiuseConnectTest, FindListsOnceWithoutWaitingAndForgetsADeviceGone) {
  wiimote** wm = wiiuse_init(1);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 0);
  EXPECT_EQ(backend.counts().lists, 1);
  EXPECT_EQ(backend.counts().sleeps, 0) << "no wait for a remote to appear";
  EXPECT_EQ(wiiuse_connect(wm, 1), 0);

  // Listed from the next listing on: a later find assigns it.
  backend.addRemote("late", 1, false);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 1);
  EXPECT_EQ(backend.counts().sleeps, 0);
  EXPECT_EQ(wm[0]->devicePath, "late");
  EXPECT_EQ(wm[0]->unid, 1);
  EXPECT_EQ(wiiuse_connect(wm, 1), 0) << "this one may not be opened";

  // Gone before it could be opened: the record names no device any more.
  backend.disconnect("late");
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 0);
  EXPECT_EQ(wm[0]->devicePath, "");
  int tries = backend.counts().openTries;
  EXPECT_EQ(wiiuse_connect(wm, 1), 0);
  EXPECT_EQ(backend.counts().openTries, tries) << "a device no longer listed is not opened";
}

TEST_F(WiiuseConnectTest, LightsAreSetAndARefusalIsIgnored) {
  backend.addRemote("r");
  backend.setBattery("r", 85);
  wiimote** wm = wiiuse_init(1);
  wiiuse_find(wm, 1, 5);
  ASSERT_EQ(wiiuse_connect(wm, 1), 1);
  EXPECT_EQ(wiiuse_connect(wm, 1), 0) << "a connected remote is not opened twice";
  EXPECT_FLOAT_EQ(wm[0]->battery_level, 0.85f);

  wiiuse_set_leds(wm[0], WIIMOTE_LED_1 | WIIMOTE_LED_4);
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
  EXPECT_TRUE(WIIUSE_IS_LED_SET(wm[0], 4));
  EXPECT_FALSE(WIIUSE_IS_LED_SET(wm[0], 2));

  backend.refuseLeds(true);
  wiiuse_set_leds(wm[0], WIIMOTE_LED_2);
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(wm[0]->leds, WIIMOTE_LED_2) << "the record holds what was asked";
  EXPECT_NE(wm[0]->state & WIIMOTE_STATE_CONNECTED, 0) << "a refusal does not cost the remote";
}

TEST_F(WiiuseConnectTest, ARemoteThatCannotBeOpenedStaysUnconnected) {
  backend.addRemote("locked", 0, false);
  wiimote** wm = wiiuse_init(1);
  EXPECT_EQ(wiiuse_find(wm, 1, 5), 1);
  EXPECT_EQ(wiiuse_connect(wm, 1), 0);
  wiiuse_set_leds(wm[0], WIIMOTE_LED_1);
  EXPECT_EQ(wm[0]->leds, 0) << "lights are not set on an unconnected remote";
  EXPECT_EQ(wiiuse_poll(wm, 1), 0);
  EXPECT_EQ(wiiuse_poll(nullptr, 1), 0);
  EXPECT_EQ(backend.counts().sleeps, 2) << "polling no remote sleeps";
}

}  // namespace

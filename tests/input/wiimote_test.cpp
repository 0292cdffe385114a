// The Wii Remote on the game's side: the start-up texts, what the polling
// thread prints for each report, and the mapping of buttons and tilt onto the
// game state. The device is the scripted backend.
#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/game_state.h"
#include "input/wiimote.h"
#include "platform/wiiuse/scripted_backend.h"
#include "tests/input/wiimote_test_util.h"

namespace {

class WiimoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameState();
    pollStop = 0;
    wiiuse_set_backend(&backend);
  }
  void TearDown() override { wiiuse_set_backend(nullptr); }

  // initWiimote's console text; its thread is stopped before returning.
  std::string startUp() {
    testing::internal::CaptureStdout();
    initWiimote();
    afterStartUp = backend.counts();
    // The thread is running: it polls (or sleeps) on its own.
    threadPolled = waitUntilAsked(backend, askedSoFar(backend));
    stopDetachedPollThread(backend);
    return testing::internal::GetCapturedStdout();
  }

  // A record connected to the scripted remote "r", as after start-up.
  void connectRemote() {
    backend.addRemote("r");
    remotes = wiiuse_init(1);
    remotesFound = wiiuse_find(remotes, 1, 5);
    remotesConnected = wiiuse_connect(remotes, 1);
    ASSERT_EQ(remotesConnected, 1);
  }

  // initWiimote's console text while the polling thread runs until `done`
  // holds (at most five seconds); `reached` says whether it did.
  std::string runThreadUntil(const std::function<bool()>& done, bool& reached) {
    testing::internal::CaptureStdout();
    initWiimote();
    reached = waitUntil(done);
    stopDetachedPollThread(backend);
    return testing::internal::GetCapturedStdout();
  }

  ScriptedBackend backend;
  ScriptedBackend::Counts afterStartUp = {};
  bool threadPolled = false;
};

const char* const kNoRemote = "No wiimotes found.Failed to connect to any wiimote.\n";
const char* const kConnected = "Connected to 1 wiimotes (of 1 found).\n";

TEST_F(WiimoteTest, NoRemoteFoundStillStartsThePollingThread) {
  EXPECT_EQ(startUp(), kNoRemote);
  // Whatever the thread slept by then, start-up itself did not wait.
  EXPECT_LT(afterStartUp.sleptMs, 1000) << "start-up waited for a remote";
  EXPECT_TRUE(threadPolled);
  EXPECT_NE(pollThreadId, std::thread::id());
  EXPECT_NE(pollThreadId, std::this_thread::get_id());
}

// A thread that cannot start (no memory for its stack, too many threads)
// leaves the game without Wii Remote input, not ended by std::terminate.
TEST_F(WiimoteTest, APollingThreadThatCannotStartLeavesTheGamePlaying) {
  backend.addRemote("r");
  pthread_attr_t saved, huge;
  ASSERT_EQ(pthread_getattr_default_np(&saved), 0);
  ASSERT_EQ(pthread_attr_init(&huge), 0);
  // No address space holds a stack this large: every new thread fails.
  ASSERT_EQ(pthread_attr_setstacksize(&huge, size_t(1) << 60), 0);
  ASSERT_EQ(pthread_setattr_default_np(&huge), 0);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  initWiimote();
  std::string out = testing::internal::GetCapturedStdout();
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(pthread_setattr_default_np(&saved), 0);
  pthread_attr_destroy(&huge);
  pthread_attr_destroy(&saved);

  EXPECT_EQ(out, "Connected to 1 wiimotes (of 1 found).\n");
  EXPECT_NE(err.find("Wii Remote"), std::string::npos) << err;
  EXPECT_EQ(pollThreadId, std::thread::id());
  const int asked = askedSoFar(backend);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(askedSoFar(backend), asked) << "no thread polls the remote";
  // Threads start again once there is room for them.
  std::thread later([] {});
  later.join();
}

TEST_F(WiimoteTest, AConnectedRemoteGetsItsFirstAndFourthLights) {
  backend.addRemote("r");
  EXPECT_EQ(startUp(), "Connected to 1 wiimotes (of 1 found).\n");
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
  EXPECT_TRUE(threadPolled);
}

TEST_F(WiimoteTest, ARemoteFoundButNotOpenedFailsToConnect) {
  backend.addRemote("locked", 0, false);
  EXPECT_EQ(startUp(), "Failed to connect to any wiimote.\n");
}

TEST_F(WiimoteTest, ARemoteConnectedLaterIsPickedUpAndFlies) {
  // Listed from the third listing on: start-up lists once, then the thread
  // about once a second, so the remote shows about two seconds in.
  backend.addRemote("late", 2);
  ScriptedBackend::Counts atConnection = {};
  bool flew = false;
  std::string out = runThreadUntil(
      [&] {
        if (atConnection.opened == 0) {
          atConnection = backend.counts();
          if (atConnection.opened == 1) backend.button("late", WIIMOTE_BUTTON_B, true);
        }
        flew = gameState.WiimoteButtons.buttonB == 1;
        return flew;
      },
      flew);
  EXPECT_EQ(out, std::string(kNoRemote) + kConnected);
  ASSERT_EQ(atConnection.opened, 1) << "the late remote was never connected";
  EXPECT_EQ(atConnection.lists, 3) << "listed at start-up, then about once a second";
  EXPECT_GE(atConnection.sleptMs, 1500);
  EXPECT_LE(atConnection.sleptMs, 2500);
  EXPECT_EQ(backend.leds("late"), (std::vector<bool>{true, false, false, true}));
  EXPECT_TRUE(flew) << "its B button did not reach the game";
}

TEST_F(WiimoteTest, ARemoteThatLeavesAndComesBackIsConnectedAgain) {
  backend.addRemote("r");
  gameState.tiltSteering = 1;  // HOME was pressed before it left
  // Phases: connected at start-up, B held, then gone; away; back; polled
  // once since; A pressed.
  int phase = 0;
  int listsWhenGone = 0;
  int askedAtReconnection = 0;
  uint8_t bWhileAway = 0;
  uint8_t bOnceBack = 1;
  bool done = false;
  std::string out = runThreadUntil(
      [&] {
        ScriptedBackend::Counts now = backend.counts();
        if (phase == 0) {
          backend.button("r", WIIMOTE_BUTTON_B, true);
          backend.disconnect("r");
          phase = 1;
        } else if (phase == 1 && now.pending == 0) {
          listsWhenGone = now.lists;
          phase = 2;
        } else if (phase == 2 && now.lists >= listsWhenGone + 2) {
          // Two searches found nothing while it was away.
          bWhileAway = gameState.WiimoteButtons.buttonB;
          EXPECT_EQ(now.opened, 1);
          backend.reconnect("r");
          phase = 3;
        } else if (phase == 3 && now.opened == 2) {
          askedAtReconnection = askedSoFar(backend);
          phase = 4;
        } else if (phase == 4 && askedSoFar(backend) > askedAtReconnection) {
          // The thread polls the new device: its connection is complete, and
          // no report has come from it yet.
          bOnceBack = gameState.WiimoteButtons.buttonB;
          backend.button("r", WIIMOTE_BUTTON_A, true);
          phase = 5;
        }
        return phase == 5 && gameState.WiimoteButtons.buttonA == 1;
      },
      done);
  ASSERT_TRUE(done) << "stopped in phase " << phase;
  EXPECT_EQ(out, std::string(kConnected) + "\n\n--- DISCONNECTED [wiimote id 1] ---\n" + kConnected);
  EXPECT_EQ(bWhileAway, 1) << "the last buttons stay in force while it is away";
  EXPECT_EQ(bOnceBack, 0) << "B held before it left still fires once it is back";
  EXPECT_EQ(gameState.WiimoteButtons.buttonB, 0);
  EXPECT_TRUE(backend.motionOn("r")) << "its tilt no longer steers";
  EXPECT_EQ(backend.leds("r"), (std::vector<bool>{true, false, false, true}));
}

// The kernel lists a remote as soon as it binds it; its button device, or
// the input group's permission on it, comes a moment later. Refused at
// start-up and at the first search, it connects at the second, about two
// seconds in, and its refusal is said once.
TEST_F(WiimoteTest, ARemoteRefusedAtFirstIsTriedAgainUntilItConnects) {
  backend.addRemote("slow");
  backend.refuseOpens("slow", 2);
  ScriptedBackend::Counts atConnection = {};
  bool connected = false;
  testing::internal::CaptureStderr();
  std::string out = runThreadUntil(
      [&] {
        atConnection = backend.counts();
        return atConnection.opened == 1;
      },
      connected);
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(connected) << "tried " << atConnection.openTries << " times, never connected";
  EXPECT_EQ(out, std::string("Failed to connect to any wiimote.\n") + kConnected);
  EXPECT_EQ(err, "Cannot open the Wii Remote at slow: Permission denied\n");
  EXPECT_EQ(atConnection.openTries, 3);
  EXPECT_EQ(atConnection.lists, 3) << "tried at start-up, then at each search";
  EXPECT_GE(atConnection.sleptMs, 1500);
  EXPECT_LE(atConnection.sleptMs, 2500);
  EXPECT_EQ(backend.leds("slow"), (std::vector<bool>{true, false, false, true}));
}

TEST_F(WiimoteTest, EachReportTypePrintsItsText) {
  connectRemote();
  remotes[0]->unid = 3;
  remotes[0]->exp.type = EXP_GUITAR_HERO_3;
  remotes[0]->state |= WIIMOTE_STATE_IR;
  remotes[0]->leds = WIIMOTE_LED_2 | WIIMOTE_LED_3;
  remotes[0]->battery_level = 0.5f;
  const std::string status =
      "\n\n--- CONTROLLER STATUS [wiimote id 3] ---\n"
      "attachment:      3\n"
      "speaker:         0\n"
      "ir:              1\n"
      "leds:            0 1 1 0\n"
      "battery:         0.500000 %\n";
  const std::string expected[] = {
      "",  // none
      "",  // button and motion reports print nothing
      "",  // status
      "",  // connect
      "\n\n--- DISCONNECTED [wiimote id 3] ---\n",
      "\n\n--- DISCONNECTED [wiimote id 3] ---\n",
      "Nunchuk inserted.\n",  // a data read shares the Nunchuk's branch
      "Nunchuk inserted.\n",
      "An expansion was removed.\n",
      "Classic controller inserted.\n",
      "An expansion was removed.\n",
      status + "Guitar Hero 3 controller inserted.\n",
      "An expansion was removed.\n",
      "",  // beyond the table
  };
  for (int event = 0; event < 14; ++event) {
    remotes[0]->event = event;
    testing::internal::CaptureStdout();
    dispatchWiimoteReport(remotes[0]);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected[event]) << "event " << event;
  }
}

TEST_F(WiimoteTest, ThePollingThreadPrintsPlugsAndOneDisconnection) {
  connectRemote();
  backend.setBattery("r", 25);  // run down since the connection: read again at a plug
  testing::internal::CaptureStdout();
  // The expansion is read when its watch input is: one change at a time.
  for (const char* extension : {"nunchuk", "none", "guitar"}) {
    backend.plug("r", extension);
    pollUntilScriptRead(backend);
  }
  backend.button("r", WIIMOTE_BUTTON_B, true);
  backend.button("r", WIIMOTE_BUTTON_UP, true);
  backend.disconnect("r");
  pollUntilScriptRead(backend);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Nunchuk inserted.\n"
            "An expansion was removed.\n"
            "\n\n--- CONTROLLER STATUS [wiimote id 1] ---\n"
            "attachment:      3\n"
            "speaker:         0\n"
            "ir:              0\n"
            "leds:            0 0 0 0\n"
            "battery:         0.250000 %\n"
            "Guitar Hero 3 controller inserted.\n"
            "\n\n--- DISCONNECTED [wiimote id 1] ---\n");
  EXPECT_EQ(gameState.WiimoteButtons.buttonB, 1) << "the last buttons stay in force";
  EXPECT_EQ(gameState.WiimoteButtons.buttonUp, 1);
}

TEST_F(WiimoteTest, ButtonFlagsAreRewrittenAtEveryReport) {
  wiimote remote = {};
  const unsigned short bits[] = {WIIMOTE_BUTTON_A,     WIIMOTE_BUTTON_B,    WIIMOTE_BUTTON_ONE,
                                 WIIMOTE_BUTTON_TWO,   WIIMOTE_BUTTON_MINUS, WIIMOTE_BUTTON_PLUS,
                                 WIIMOTE_BUTTON_UP,    WIIMOTE_BUTTON_DOWN, WIIMOTE_BUTTON_LEFT,
                                 WIIMOTE_BUTTON_RIGHT, WIIMOTE_BUTTON_HOME};
  WiimoteButtonFlags& b = gameState.WiimoteButtons;
  Shared<uint8_t>* flags[] = {&b.buttonA,     &b.buttonB,    &b.buttonOne,  &b.buttonTwo,
                              &b.buttonMinus, &b.buttonPlus, &b.buttonUp,   &b.buttonDown,
                              &b.buttonLeft,  &b.buttonRight, &b.buttonHome};
  // Each button alone sets its own flag and no other.
  for (int i = 0; i < 11; ++i) {
    for (int j = 0; j < 11; ++j) *flags[j] = 1;  // stale values from a frame long ago
    remote.btns = bits[i];
    handleWiimoteEvent(&remote);
    for (int j = 0; j < 11; ++j) EXPECT_EQ(*flags[j], i == j ? 1 : 0) << i << " " << j;
  }
}

TEST_F(WiimoteTest, HomeHeldAcrossReportsSwitchesTiltSteeringOnOnce) {
  connectRemote();
  backend.button("r", WIIMOTE_BUTTON_A, true);
  pollUntilScriptRead(backend);
  EXPECT_EQ(gameState.tiltSteering, 0);
  EXPECT_FALSE(backend.motionOn("r"));

  backend.button("r", WIIMOTE_BUTTON_HOME, true);
  ASSERT_EQ(wiiuse_poll(remotes, 1), 1);
  handleWiimoteEvent(remotes[0]);
  EXPECT_EQ(gameState.tiltSteering, 1);
  EXPECT_TRUE(backend.motionOn("r"));

  // Still held: the next reports switch nothing, even after it was undone.
  gameState.tiltSteering = 0;
  backend.motion("r", 0, 0, 100);
  backend.button("r", WIIMOTE_BUTTON_B, true);
  pollUntilScriptRead(backend);
  EXPECT_EQ(gameState.tiltSteering, 0);
  EXPECT_EQ(gameState.WiimoteButtons.buttonHome, 1);

  // Released, then pressed afresh: switched on again.
  backend.button("r", WIIMOTE_BUTTON_HOME, false);
  backend.button("r", WIIMOTE_BUTTON_HOME, true);
  pollUntilScriptRead(backend);
  EXPECT_EQ(gameState.tiltSteering, 1);
}

TEST_F(WiimoteTest, TiltBeyondTenDegreesMovesTheAccumulators) {
  wiimote remote = {};
  remote.state = WIIMOTE_STATE_ACC;
  auto report = [&](float roll, float pitch) {
    remote.orient.roll = roll;
    remote.orient.pitch = pitch;
    handleWiimoteEvent(&remote);
  };

  report(30.0f, 0.0f);
  EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.02f);
  report(30.0f, 0.0f);
  EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.04f);
  EXPECT_FLOAT_EQ(gameState.tiltPitch, 0.0f);

  // The dead zone: from -10 to 10 inclusive nothing moves.
  for (float angle : {10.0f, -10.0f, 5.0f, 0.0f}) {
    report(angle, angle);
    EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.04f) << angle;
    EXPECT_FLOAT_EQ(gameState.tiltPitch, 0.0f) << angle;
  }

  report(-15.0f, -30.0f);
  EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.03f);
  EXPECT_FLOAT_EQ(gameState.tiltPitch, -0.02f);
  report(10.5f, 45.0f);
  EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.037f);
  EXPECT_FLOAT_EQ(gameState.tiltPitch, 0.01f);

  // Without the accelerometer's reports the orientation is not looked at.
  remote.state = 0;
  report(60.0f, 60.0f);
  EXPECT_FLOAT_EQ(gameState.tiltYaw, -0.037f);
  EXPECT_FLOAT_EQ(gameState.tiltPitch, 0.01f);
}

}  // namespace

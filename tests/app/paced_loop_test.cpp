// The paced frame loop's pieces: the game's command line, the frame's wait
// with pacing on and off, and the swap interval asked of the test window's
// GLX context.
#include <gtest/gtest.h>

#include <string>
#include <vector>

// After GoogleTest: X11's headers define macros (None, Bool) that its own
// names would collide with.
#include <GL/glut.h>
#include <GL/glx.h>

#include "app/command_line.h"
#include "app/display_info.h"
#include "app/frame_loop.h"
#include "platform/display/display.h"
#include "platform/os/os.h"

namespace {

CommandLine read(std::vector<const char*> args) {
  args.insert(args.begin(), "vekotra");
  return readCommandLine(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

TEST(PacedLoopTest, CommandLineKnowsFreeRunningAndNamesTheFirstUnknownArgument) {
  CommandLine none = read({});
  EXPECT_FALSE(none.freeRunning);
  EXPECT_EQ(none.unknown, nullptr);
  CommandLine free = read({"--free-running"});
  EXPECT_TRUE(free.freeRunning);
  EXPECT_EQ(free.unknown, nullptr);
  CommandLine typo = read({"--free-runing", "--free-running", "x"});
  EXPECT_TRUE(typo.freeRunning);
  ASSERT_NE(typo.unknown, nullptr);
  EXPECT_STREQ(typo.unknown, "--free-runing");
  EXPECT_NE(std::string(kUsage).find("--free-running"), std::string::npos);

  CommandLine chosen = read({"--multisample=off", "--game-speed=4"});
  EXPECT_EQ(chosen.multisample, 0);
  EXPECT_EQ(chosen.gameSpeed, 4);
  EXPECT_EQ(chosen.unknown, nullptr);
  EXPECT_EQ(read({"--multisample=on"}).multisample, 1);
  EXPECT_EQ(none.multisample, -1) << "left to the game by default";
  EXPECT_EQ(none.gameSpeed, 1);
  for (const char* bad : {"--multisample=yes", "--game-speed=9", "--game-speed=0", "--game-speed=",
                          "--game-speed=2x", "--game-speed=99999999999"}) {
    EXPECT_STREQ(read({bad}).unknown, bad);
  }
}

TEST(PacedLoopTest, OnlyMesasSoftwareRenderersAreSoftware) {
  EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(isSoftwareRenderer("softpipe"));
  EXPECT_TRUE(isSoftwareRenderer("Mesa X11 swrast"));
  EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
  EXPECT_FALSE(isSoftwareRenderer(""));
  // The test window's own renderer, probed on a window of its own.
  EXPECT_EQ(probeRenderer(nullptr), reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

TEST(PacedLoopTest, FramesSleepToTheNextDeadlineOnlyWhilePacingIsOn) {
  framePacer.deadlineNs = 0;
  framePacing = false;
  for (int i = 0; i < 3; ++i) paceFrame();
  EXPECT_EQ(framePacer.deadlineNs, 0) << "the free-running loop waited for a deadline";

  framePacing = true;
  paceFrame();
  int64_t first = framePacer.deadlineNs;
  EXPECT_GT(first, 0);
  paceFrame();
  EXPECT_GE(framePacer.deadlineNs - first, 1000000000 / 60) << "two frames less than 1/60 s apart";
  EXPECT_LE(first + 1000000000 / 60, monotonicNanoseconds()) << "paceFrame returned before its deadline";
  framePacer.deadlineNs = 0;
}

// The refresh rate is read again before the frame after the window moved or
// was reshaped (full screen, another monitor). Xvfb reports no rate, so a
// rate read again is the 60 Hz fallback. (Xvfb refuses a new screen size,
// so XRandR's notice of a mode change cannot be made here.)
TEST(PacedLoopTest, TheRefreshRateIsReadAgainAfterAMoveOrAReshape) {
  const int64_t k144 = 1000000000 / 144, k60 = 1000000000 / 60;
  testing::internal::CaptureStdout();  // the console text of the frames' ticks
  readRefreshRate();
  EXPECT_EQ(framePacer.periodNs, k60);
  displayChanged();  // listening from here on
  framePacer.periodNs = k144;
  onDisplay();
  EXPECT_EQ(framePacer.periodNs, k144) << "read again with nothing changed";
  onWindowMoved(10, 20);
  onDisplay();
  EXPECT_EQ(framePacer.periodNs, k60) << "not read again after a move";
  framePacer.periodNs = k144;
  onReshape(640, 480);
  onDisplay();
  EXPECT_EQ(framePacer.periodNs, k60) << "not read again after a reshape";

  EXPECT_FALSE(displayChanged()) << "a change reported where there was none";
  testing::internal::GetCapturedStdout();
}

TEST(PacedLoopTest, TheSwapIntervalIsSetOnlyThroughAnExtensionTheContextOffers) {
  const char* list = "GLX_ARB_multisample GLX_EXT_swap_control_tear GLX_SGI_swap_control";
  EXPECT_FALSE(offersExtension(list, "GLX_EXT_swap_control")) << "a longer name is not it";
  EXPECT_TRUE(offersExtension(list, "GLX_SGI_swap_control"));
  EXPECT_TRUE(offersExtension(list, "GLX_ARB_multisample"));
  EXPECT_FALSE(offersExtension("", "GLX_SGI_swap_control"));

  // Mesa's software renderer under Xvfb offers none of the three: the client
  // library knows them, the context does not, and they are not called.
  Display* display = glXGetCurrentDisplay();
  ASSERT_NE(display, nullptr);
  std::string offered = glXQueryExtensionsString(display, DefaultScreen(display));
  const char* used = setSwapInterval(1);
  if (used != nullptr) {
    EXPECT_TRUE(offersExtension(offered.c_str(), used)) << used << " is not offered";
  } else {
    for (const char* name :
         {"GLX_EXT_swap_control", "GLX_MESA_swap_control", "GLX_SGI_swap_control"}) {
      EXPECT_FALSE(offersExtension(offered.c_str(), name)) << name << " offered but not used";
    }
  }
  glutSwapBuffers();  // the window still swaps
}

}  // namespace

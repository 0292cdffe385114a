// The WGL backend of platform/display on a real context: Wine's, drawn by
// Mesa under Xvfb. Run under xvfb-run.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/display/display.h"

namespace {

// A window with a WGL context made current, as freeglut makes one.
struct GlWindow {
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
  GlWindow() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VekotraDisplayTest";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "VekotraDisplayTest", "display test", WS_OVERLAPPEDWINDOW, 0, 0,
                             64, 64, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return;
    dc = GetDC(window);
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    int format = ChoosePixelFormat(dc, &wanted);
    if (format != 0 && SetPixelFormat(dc, format, &wanted)) context = wglCreateContext(dc);
    if (context != nullptr) wglMakeCurrent(dc, context);
  }
  ~GlWindow() {
    wglMakeCurrent(nullptr, nullptr);
    if (context != nullptr) wglDeleteContext(context);
    if (window != nullptr) DestroyWindow(window);
  }
};

// The probe's context is its own: the renderer named is the one a window's
// context gets, and the context current before is current after.
TEST(DisplayWgl, ProbeNamesTheRendererAndLeavesTheCurrentContext) {
  GlWindow gl;
  ASSERT_NE(gl.context, nullptr);
  std::string own = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  EXPECT_EQ(probeRenderer(nullptr), own);
  EXPECT_EQ(wglGetCurrentContext(), gl.context);
  EXPECT_EQ(wglGetCurrentDC(), gl.dc);
}

TEST(DisplayWgl, ProbeWithoutAContextMadeBefore) {
  EXPECT_FALSE(probeRenderer(nullptr).empty());
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

// Taken by WGL_EXT_swap_control when the driver offers it, refused without a
// context.
TEST(DisplayWgl, SwapIntervalThroughTheExtensionOffered) {
  EXPECT_EQ(setSwapInterval(1), nullptr) << "no context current";
  GlWindow gl;
  ASSERT_NE(gl.context, nullptr);
  const char* used = setSwapInterval(1);
  typedef int(WINAPI * GetSwapInterval)(void);
  auto get = reinterpret_cast<GetSwapInterval>(
      reinterpret_cast<void*>(wglGetProcAddress("wglGetSwapIntervalEXT")));
  if (used == nullptr) {
    EXPECT_EQ(get, nullptr) << "the driver has the extension's entry points but it was not used";
    return;
  }
  EXPECT_STREQ(used, "WGL_EXT_swap_control");
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(get(), 1);
  EXPECT_STREQ(setSwapInterval(0), "WGL_EXT_swap_control");
  EXPECT_EQ(get(), 0);
}

// The rate of the display mode of the window's monitor; none without a
// window.
TEST(DisplayWgl, RefreshRateOfTheWindowsMonitor) {
  EXPECT_EQ(displayRefreshRate(), 0.0);
  GlWindow gl;
  ASSERT_NE(gl.context, nullptr);
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  double expected = mode.dmDisplayFrequency > 1 ? mode.dmDisplayFrequency : 0.0;
  EXPECT_EQ(displayRefreshRate(), expected);
}

}  // namespace

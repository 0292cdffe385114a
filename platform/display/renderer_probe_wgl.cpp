// The renderer of a WGL context on a window that is never shown, made and
// destroyed before the game's own window exists. The context current on the
// calling thread, if any, is current again afterwards.
#include <windows.h>

#include <GL/gl.h>

#include "platform/display/display.h"

static const char kClassName[] = "VekotraRendererProbe";

static std::string rendererOnWindow(HWND window) {
  std::string renderer;
  HDC dc = GetDC(window);
  if (dc == nullptr) return renderer;
  PIXELFORMATDESCRIPTOR wanted = {};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 24;
  wanted.cDepthBits = 16;
  wanted.iLayerType = PFD_MAIN_PLANE;
  int format = ChoosePixelFormat(dc, &wanted);
  HGLRC context = nullptr;
  if (format != 0 && SetPixelFormat(dc, format, &wanted)) context = wglCreateContext(dc);
  if (context != nullptr) {
    HDC previousDc = wglGetCurrentDC();
    HGLRC previous = wglGetCurrentContext();
    if (wglMakeCurrent(dc, context)) {
      const GLubyte* name = glGetString(GL_RENDERER);
      if (name != nullptr) renderer = reinterpret_cast<const char*>(name);
    }
    wglMakeCurrent(previousDc, previous);
    wglDeleteContext(context);
  }
  ReleaseDC(window, dc);
  return renderer;
}

std::string probeRenderer(const char* /*displayName: Windows has one desktop*/) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  // Registered anew at each call and removed again; a class left by an
  // earlier call that failed half-way serves as well.
  bool registered = RegisterClassA(&windowClass) != 0;
  HWND window = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN |
                                WS_CLIPSIBLINGS, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  std::string renderer = window != nullptr ? rendererOnWindow(window) : std::string();
  if (window != nullptr) DestroyWindow(window);
  if (registered) UnregisterClassA(kClassName, instance);
  return renderer;
}

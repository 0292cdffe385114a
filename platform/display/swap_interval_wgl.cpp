// The swap interval through WGL_EXT_swap_control. Drivers list it among the
// WGL extensions (wglGetExtensionsStringARB or _EXT), some among the
// context's GL_EXTENSIONS only.
#include <windows.h>

#include <GL/gl.h>

#include "platform/display/display.h"

typedef const char*(WINAPI* GetExtensionsStringArb)(HDC);
typedef const char*(WINAPI* GetExtensionsStringExt)(void);
typedef BOOL(WINAPI* SwapIntervalExt)(int);

// wglGetProcAddress gives a PROC; the entry points' own types differ.
template <typename Function>
static Function entryPoint(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

static bool offersSwapControl(HDC dc) {
  const char* name = "WGL_EXT_swap_control";
  if (auto arb = entryPoint<GetExtensionsStringArb>("wglGetExtensionsStringARB")) {
    const char* list = arb(dc);
    if (list != nullptr && offersExtension(list, name)) return true;
  }
  if (auto ext = entryPoint<GetExtensionsStringExt>("wglGetExtensionsStringEXT")) {
    const char* list = ext();
    if (list != nullptr && offersExtension(list, name)) return true;
  }
  const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return list != nullptr && offersExtension(list, name);
}

const char* setSwapInterval(int interval) {
  HDC dc = wglGetCurrentDC();
  if (wglGetCurrentContext() == nullptr || dc == nullptr || !offersSwapControl(dc)) return nullptr;
  auto swapInterval = entryPoint<SwapIntervalExt>("wglSwapIntervalEXT");
  if (swapInterval == nullptr || !swapInterval(interval)) return nullptr;
  return "WGL_EXT_swap_control";
}

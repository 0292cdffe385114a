// The swap interval through GLX_EXT_swap_control, GLX_MESA_swap_control or
// GLX_SGI_swap_control, the first the context offers (SGI's refuses 0).
#include "platform/display/display.h"

#include <GL/glx.h>

static void (*entryPoint(const char* name))() {
  return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

const char* setSwapInterval(int interval) {
  Display* display = glXGetCurrentDisplay();
  GLXContext context = glXGetCurrentContext();
  GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr || context == nullptr || drawable == 0) return nullptr;
  int screen = DefaultScreen(display);
  glXQueryContext(display, context, GLX_SCREEN, &screen);
  const char* extensions = glXQueryExtensionsString(display, screen);
  if (extensions == nullptr) return nullptr;

  if (offersExtension(extensions, "GLX_EXT_swap_control")) {
    auto swapInterval =
        reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(entryPoint("glXSwapIntervalEXT"));
    if (swapInterval != nullptr) {
      swapInterval(display, drawable, interval);
      return "GLX_EXT_swap_control";
    }
  }
  if (offersExtension(extensions, "GLX_MESA_swap_control")) {
    auto swapInterval =
        reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(entryPoint("glXSwapIntervalMESA"));
    if (swapInterval != nullptr) {
      return swapInterval(static_cast<unsigned>(interval)) == 0 ? "GLX_MESA_swap_control" : nullptr;
    }
  }
  if (offersExtension(extensions, "GLX_SGI_swap_control")) {
    auto swapInterval =
        reinterpret_cast<PFNGLXSWAPINTERVALSGIPROC>(entryPoint("glXSwapIntervalSGI"));
    if (swapInterval != nullptr) {
      return swapInterval(interval) == 0 ? "GLX_SGI_swap_control" : nullptr;
    }
  }
  return nullptr;
}

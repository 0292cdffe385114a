// The window's class (WM_CLASS) and icon (_NET_WM_ICON) through Xlib, on the
// current GLX drawable.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/display/display.h"

void setWindowClass(const char* name, const char* className) {
  Display* display = glXGetCurrentDisplay();
  GLXDrawable window = glXGetCurrentDrawable();
  if (display == nullptr || window == 0) return;
  XClassHint hint;
  hint.res_name = const_cast<char*>(name);
  hint.res_class = const_cast<char*>(className);
  XSetClassHint(display, window, &hint);
  XFlush(display);
}

void setWindowIcons(const std::vector<uint32_t>& icons) {
  Display* display = glXGetCurrentDisplay();
  GLXDrawable window = glXGetCurrentDrawable();
  if (display == nullptr || window == 0 || icons.empty()) return;
  // Xlib's format 32 takes one long a value, whatever a long's size.
  std::vector<unsigned long> longs(icons.begin(), icons.end());
  Atom property = XInternAtom(display, "_NET_WM_ICON", False);
  XChangeProperty(display, window, property, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(longs.data()), static_cast<int>(longs.size()));
  XFlush(display);
}

// XRandR's notifications of mode and layout changes, on a connection of our
// own: freeglut's event loop on the window's connection drops the events it
// does not know, so they are selected and read here instead, without ever
// waiting.
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>

#include "platform/display/display.h"

namespace {

struct Listener {
  Display* display = nullptr;
  int eventBase = 0;
};

// Opens the connection to the current context's display and selects the
// notifications on its root window; null where that fails.
Listener* startListening() {
  Display* current = glXGetCurrentDisplay();
  if (current == nullptr) return nullptr;
  Display* display = XOpenDisplay(DisplayString(current));
  if (display == nullptr) return nullptr;
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase)) {
    XCloseDisplay(display);
    return nullptr;
  }
  XRRSelectInput(display, DefaultRootWindow(display),
                 RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
  XFlush(display);
  return new Listener{display, eventBase};
}

}  // namespace

bool displayChanged() {
  static bool started = false;
  static Listener* listener = nullptr;
  if (!started) {
    started = true;
    listener = startListening();
    return false;
  }
  if (listener == nullptr) return false;
  bool changed = false;
  while (XPending(listener->display) > 0) {
    XEvent event;
    XNextEvent(listener->display, &event);
    if (event.type == listener->eventBase + RRScreenChangeNotify ||
        event.type == listener->eventBase + RRNotify) {
      XRRUpdateConfiguration(&event);
      changed = true;
    }
  }
  return changed;
}

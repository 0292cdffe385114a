// Preloaded into the game by the benchmark scripts; the game itself is
// unchanged.
// - SWAP_TIMER_LOG=FILE: writes the monotonic time at which every
//   glXSwapBuffers returns (the frame is shown), in nanoseconds, one line per
//   swap; with the first satellite's position in that frame after it
//   ("NS X Z") when the frame drew one.
// - SWAP_TIMER_HZ=N: a stand-in display refreshing N times a second. Each
//   swap returns only at the next vertical blank (the blanks fall on whole
//   multiples of 1/N s of the monotonic clock), as a driver that waits for
//   it does, and XRandR reports the screen's mode at N Hz.
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

int64_t nowNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int displayHz() {
  static int hz = [] {
    const char* text = getenv("SWAP_TIMER_HZ");
    return text != nullptr ? atoi(text) : 0;
  }();
  return hz;
}

// The satellite on its horizontal orbit: glTranslatef(500 sin(-a), 0, 400 cos(-a)).
bool satelliteSeen = false;
float satelliteX = 0.0f, satelliteZ = 0.0f;

void sleepUntil(int64_t ns) {
  timespec until;
  until.tv_sec = static_cast<time_t>(ns / 1000000000);
  until.tv_nsec = static_cast<long>(ns % 1000000000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

}  // namespace

extern "C" void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  using Translate = void (*)(GLfloat, GLfloat, GLfloat);
  static Translate next = reinterpret_cast<Translate>(dlsym(RTLD_NEXT, "glTranslatef"));
  if (!satelliteSeen && y == 0.0f) {
    double onEllipse = (x / 500.0) * (x / 500.0) + (z / 400.0) * (z / 400.0);
    if (std::fabs(onEllipse - 1.0) < 1e-4) {
      satelliteSeen = true;
      satelliteX = x;
      satelliteZ = z;
    }
  }
  next(x, y, z);
}

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  using Swap = void (*)(Display*, GLXDrawable);
  static Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static int log = [] {
    const char* path = getenv("SWAP_TIMER_LOG");
    return path != nullptr ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
  }();
  next(display, drawable);
  int64_t shown = nowNs();
  if (displayHz() > 0) {
    int64_t period = 1000000000 / displayHz();
    shown = (shown / period + 1) * period;  // the next vertical blank
    sleepUntil(shown);
  }
  if (log >= 0) {
    long long at = static_cast<long long>(shown);
    if (satelliteSeen) {
      dprintf(log, "%lld %.4f %.4f\n", at, static_cast<double>(satelliteX), static_cast<double>(satelliteZ));
    } else {
      dprintf(log, "%lld\n", at);
    }
  }
  satelliteSeen = false;
}

// The screen's modes at the stand-in display's rate: Xvfb reports none.
extern "C" XRRScreenResources* XRRGetScreenResourcesCurrent(Display* display, Window window) {
  using Get = XRRScreenResources* (*)(Display*, Window);
  static Get next = reinterpret_cast<Get>(dlsym(RTLD_NEXT, "XRRGetScreenResourcesCurrent"));
  XRRScreenResources* resources = next(display, window);
  if (resources != nullptr && displayHz() > 0) {
    for (int m = 0; m < resources->nmode; ++m) {
      XRRModeInfo& mode = resources->modes[m];
      mode.hTotal = mode.width;
      mode.vTotal = mode.height;
      mode.dotClock = static_cast<unsigned long>(displayHz()) * mode.width * mode.height;
      mode.modeFlags = 0;
    }
  }
  return resources;
}

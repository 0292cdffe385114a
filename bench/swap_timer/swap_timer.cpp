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
// - SWAP_TIMER_QUEUE=B (1 or 2, with SWAP_TIMER_HZ): a driver that queues
//   swaps instead, as Mesa's DRI3 and the usual proprietary drivers do. Each
//   swap returns at once; its frame is shown at the first blank after the
//   swap that no earlier frame takes. The next frame's first GL call
//   (glClear, or the next swap) waits until the frame B swaps back has been
//   shown: 1 with two buffers (the last frame swapped), 2 with three.
// - SWAP_TIMER_OML=1 (with SWAP_TIMER_HZ): the context offers
//   GLX_OML_sync_control, whose refresh count (MSC) is the number of blanks
//   since the monotonic clock's zero.
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

int envNumber(const char* name) {
  const char* text = getenv(name);
  return text != nullptr ? atoi(text) : 0;
}

int queueDepth() {
  static int depth = envNumber("SWAP_TIMER_QUEUE");
  return depth;
}

bool offersOml() {
  static bool offers = envNumber("SWAP_TIMER_OML") == 1 && displayHz() > 0;
  return offers;
}

// The queued driver: when each of the last frames is shown, by swap number.
const int kShownKept = 8;
int64_t shownAt[kShownKept];
int64_t swapCount = 0;
bool bufferWanted = false;  // a swap since the last wait for a free buffer

void sleepUntil(int64_t ns);

// The queued driver's wait for a free buffer, once per frame.
void waitForBuffer() {
  if (!bufferWanted) return;
  bufferWanted = false;
  int64_t frame = swapCount - queueDepth();
  if (frame >= 0) sleepUntil(shownAt[frame % kShownKept]);
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

extern "C" void glClear(GLbitfield mask) {
  using Clear = void (*)(GLbitfield);
  static Clear next = reinterpret_cast<Clear>(dlsym(RTLD_NEXT, "glClear"));
  waitForBuffer();
  next(mask);
}

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  using Swap = void (*)(Display*, GLXDrawable);
  static Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static int log = [] {
    const char* path = getenv("SWAP_TIMER_LOG");
    return path != nullptr ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
  }();
  bool queued = displayHz() > 0 && queueDepth() > 0;
  if (queued) waitForBuffer();
  next(display, drawable);
  int64_t shown = nowNs();
  if (displayHz() > 0) {
    int64_t period = 1000000000 / displayHz();
    shown = (shown / period + 1) * period;  // the next vertical blank
    if (queued) {
      // One frame a blank: behind the frames already queued.
      if (swapCount > 0 && shown <= shownAt[(swapCount - 1) % kShownKept]) {
        shown = shownAt[(swapCount - 1) % kShownKept] + period;
      }
      shownAt[swapCount % kShownKept] = shown;
      ++swapCount;
      bufferWanted = true;
    } else {
      sleepUntil(shown);
    }
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

// GLX_OML_sync_control's refresh count: the blanks passed.
static Bool getSyncValues(Display*, GLXDrawable, int64_t* ust, int64_t* msc, int64_t* sbc) {
  int64_t period = 1000000000 / displayHz();
  *msc = nowNs() / period;
  *ust = *msc * period / 1000;
  *sbc = swapCount;
  return True;
}

extern "C" const char* glXQueryExtensionsString(Display* display, int screen) {
  using Query = const char* (*)(Display*, int);
  static Query next = reinterpret_cast<Query>(dlsym(RTLD_NEXT, "glXQueryExtensionsString"));
  static char extended[8192];
  const char* list = next(display, screen);
  if (!offersOml() || list == nullptr) return list;
  snprintf(extended, sizeof extended, "%s GLX_OML_sync_control ", list);
  return extended;
}

extern "C" __GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
  using Get = __GLXextFuncPtr (*)(const GLubyte*);
  static Get next = reinterpret_cast<Get>(dlsym(RTLD_NEXT, "glXGetProcAddressARB"));
  if (offersOml() && strcmp(reinterpret_cast<const char*>(name), "glXGetSyncValuesOML") == 0) {
    return reinterpret_cast<__GLXextFuncPtr>(getSyncValues);
  }
  return next(name);
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

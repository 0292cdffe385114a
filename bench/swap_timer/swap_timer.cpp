// Preloaded into the game by bench/frame_pacing.sh: writes the monotonic
// time of every glXSwapBuffers call, in nanoseconds, one per line, to the
// file named by SWAP_TIMER_LOG, then swaps. The game itself is unchanged.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  using Swap = void (*)(Display*, GLXDrawable);
  static Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static int log = [] {
    const char* path = getenv("SWAP_TIMER_LOG");
    return path != nullptr ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
  }();
  if (log >= 0) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    dprintf(log, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  }
  next(display, drawable);
}

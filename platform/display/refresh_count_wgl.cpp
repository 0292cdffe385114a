// WGL offers no refresh count to a window's frames (OML's counters are GLX's
// alone; DXGI's frame statistics need a DXGI swap chain, which a GLUT window
// has not): frames are timed on the clock, snapped to whole refresh periods.
#include "platform/display/display.h"

bool displayRefreshCount(int64_t&) {
  return false;
}

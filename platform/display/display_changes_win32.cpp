// Windows tells of mode changes with WM_DISPLAYCHANGE, sent to the window's
// procedure, which is freeglut's and passes it on to no callback. The mode of
// the window's monitor is therefore looked at again once a second, and a
// change reported: a second is soon enough after a mode change, and reading
// the mode every frame would cost the frame time.
#include <windows.h>

#include "platform/display/display.h"

bool displayChanged() {
  static ULONGLONG lastLookMs = 0;
  static double lastRate = -1.0;
  ULONGLONG now = GetTickCount64();
  if (lastRate >= 0.0 && now - lastLookMs < 1000) return false;
  lastLookMs = now;
  double rate = displayRefreshRate();
  bool changed = lastRate >= 0.0 && rate != lastRate;
  lastRate = rate;
  return changed;
}

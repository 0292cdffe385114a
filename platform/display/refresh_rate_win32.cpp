// The refresh rate of the monitor showing the current context's window, from
// its display mode (EnumDisplaySettings).
#include <windows.h>

#include "platform/display/display.h"

double displayRefreshRate() {
  HDC dc = wglGetCurrentDC();
  HWND window = dc != nullptr ? WindowFromDC(dc) : nullptr;
  if (window == nullptr) return 0.0;
  // The monitor holding the larger part of the window, else the primary.
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFOEXA info = {};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) return 0.0;
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) return 0.0;
  // 0 and 1 stand for the hardware's default rate, which Windows does not
  // tell: no rate known.
  if (mode.dmDisplayFrequency <= 1) return 0.0;
  return mode.dmDisplayFrequency;
}

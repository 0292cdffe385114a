// What the game asks of the window system beside GLUT: the buffer swap's
// wait for the vertical blank, the monitor's refresh rate, the renderer of a
// throw-away context, and the window's class and icon. One backend per
// window system (GLX with XRandR, WGL with GDI), chosen by the build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Asks the current context's driver to make each buffer swap wait for
// `interval` vertical blanks (0: no wait). Returns the name of the extension
// that took it, or null when none is offered or it refused. A driver may
// still not wait: under Xvfb there is no vertical blank.
const char* setSwapInterval(int interval);

// Whether the space-separated extension list names `name` as a whole word.
bool offersExtension(const char* extensions, const char* name);

// The refresh rate, in Hz, of the monitor showing the current window (the
// one holding the window's centre, else the first one lit); 0 when the
// system reports none, as under Xvfb.
double displayRefreshRate();

// Whether the system has said, since the last call, that a monitor's mode or
// the screen's layout changed (XRandR's screen-change notification), so the
// refresh rate is worth reading again. The first call starts listening and
// returns false. Returns false where the system sends no such notice.
bool displayChanged();

// The number of refreshes (vertical blanks) the monitor showing the current
// window has made so far, a count that grows by one each refresh
// (GLX_OML_sync_control's MSC). Returns false, leaving `count` alone, where
// the system offers no display timing.
bool displayRefreshCount(int64_t& count);

// The renderer name of an OpenGL context on the display named (null: the
// default one), made on a window that is never shown; empty when none can be
// made.
std::string probeRenderer(const char* displayName);

// Gives the current window the class `name`, `className` where the window
// system has one (WM_CLASS on X11, which desktop entries name as
// StartupWMClass).
void setWindowClass(const char* name, const char* className);

// Gives the current window its icon images, laid out as _NET_WM_ICON holds
// them: for each image its width, its height, then each pixel from the top
// row down as 0xAARRGGBB. Nothing happens for an empty list.
void setWindowIcons(const std::vector<uint32_t>& icons);

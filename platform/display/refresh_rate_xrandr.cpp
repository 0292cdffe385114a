// The refresh rate from XRandR: the mode of the CRTC holding the window's
// centre.
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>

#include "platform/display/display.h"

// The rate of a mode, from its pixel clock and its total size.
static double modeRate(const XRRModeInfo& mode) {
  double lines = mode.vTotal;
  if (mode.modeFlags & RR_DoubleScan) lines *= 2;
  if (mode.modeFlags & RR_Interlace) lines /= 2;
  if (mode.hTotal == 0 || lines == 0) return 0.0;
  return static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
}

double displayRefreshRate() {
  Display* display = glXGetCurrentDisplay();
  GLXDrawable drawable = glXGetCurrentDrawable();
  int eventBase, errorBase;
  if (display == nullptr || drawable == 0 || !XRRQueryExtension(display, &eventBase, &errorBase)) {
    return 0.0;
  }
  Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  int centreX = -1, centreY = -1;
  Window child;
  if (XGetWindowAttributes(display, drawable, &attributes)) {
    XTranslateCoordinates(display, drawable, root, attributes.width / 2, attributes.height / 2,
                          &centreX, &centreY, &child);
  }
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return 0.0;
  double first = 0.0, holding = 0.0;
  for (int c = 0; c < resources->ncrtc && holding == 0.0; ++c) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
    if (crtc == nullptr) continue;
    for (int m = 0; m < resources->nmode; ++m) {
      if (crtc->mode == None || resources->modes[m].id != crtc->mode) continue;
      double rate = modeRate(resources->modes[m]);
      if (first == 0.0) first = rate;
      bool holds = centreX >= crtc->x && centreX < crtc->x + static_cast<int>(crtc->width) &&
                   centreY >= crtc->y && centreY < crtc->y + static_cast<int>(crtc->height);
      if (holds) holding = rate;
    }
    XRRFreeCrtcInfo(crtc);
  }
  XRRFreeScreenResources(resources);
  return holding != 0.0 ? holding : first;
}

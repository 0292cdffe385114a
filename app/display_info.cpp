#include "app/display_info.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>

#include <cctype>
#include <cstdio>

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

bool isSoftwareRenderer(const std::string& renderer) {
  std::string name;
  for (char c : renderer) name += static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (const char* software : {"llvmpipe", "softpipe", "swrast"}) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

std::string probeRenderer(const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) return "";
  std::string renderer;
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, None};
  XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
  if (visual != nullptr) {
    Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes set = {};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    Window window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput,
                                  visual->visual, CWColormap, &set);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (context != nullptr && glXMakeCurrent(display, window, context)) {
      const GLubyte* name = glGetString(GL_RENDERER);
      if (name != nullptr) renderer = reinterpret_cast<const char*>(name);
      glXMakeCurrent(display, None, nullptr);
    }
    if (context != nullptr) glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFreeColormap(display, set.colormap);
    XFree(visual);
  }
  XCloseDisplay(display);
  return renderer;
}

bool chooseMultisample(int option, const char* displayName) {
  if (option >= 0) return option == 1;
  std::string renderer = probeRenderer(displayName);
  if (!isSoftwareRenderer(renderer)) return true;
  fprintf(stderr,
          "vekotra: software OpenGL renderer (%s): window without multisampling "
          "(--multisample=on asks for it)\n",
          renderer.c_str());
  return false;
}

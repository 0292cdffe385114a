// The renderer of a GLX context on an unmapped window, asked before the
// game's own window is made.
#include <GL/gl.h>
#include <GL/glx.h>

#include "platform/display/display.h"

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

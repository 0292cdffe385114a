// The monitor's refresh count through GLX_OML_sync_control's
// glXGetSyncValuesOML.
#include <GL/glx.h>

#include "platform/display/display.h"

using GetSyncValues = Bool (*)(Display*, GLXDrawable, int64_t* ust, int64_t* msc, int64_t* sbc);

// The entry point when the current context's screen offers the extension;
// looked up once per context.
static GetSyncValues syncValues(Display* display, GLXContext context) {
  static GLXContext checked = nullptr;
  static GetSyncValues entry = nullptr;
  if (context == checked) return entry;
  checked = context;
  entry = nullptr;
  int screen = DefaultScreen(display);
  glXQueryContext(display, context, GLX_SCREEN, &screen);
  const char* extensions = glXQueryExtensionsString(display, screen);
  if (extensions != nullptr && offersExtension(extensions, "GLX_OML_sync_control")) {
    entry = reinterpret_cast<GetSyncValues>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXGetSyncValuesOML")));
  }
  return entry;
}

bool displayRefreshCount(int64_t& count) {
  Display* display = glXGetCurrentDisplay();
  GLXContext context = glXGetCurrentContext();
  GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr || context == nullptr || drawable == 0) return false;
  GetSyncValues get = syncValues(display, context);
  int64_t ust = 0, msc = 0, sbc = 0;
  if (get == nullptr || !get(display, drawable, &ust, &msc, &sbc)) return false;
  count = msc;
  return true;
}

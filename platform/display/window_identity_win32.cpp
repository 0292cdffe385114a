// The window's class and icon on Windows. A window's class is the
// executable's own: the taskbar and the Start menu tie the window to the
// program by its executable, so there is no name to give. The icon comes
// from the executable too: freeglut registers its window class with the
// icon resource named "GLUT_ICON" of the executable, when it carries one.
// Where it does not (a test program), the images given are set on the
// window, as X11's _NET_WM_ICON would.
#include <windows.h>

#include <cstring>

#include "platform/display/display.h"

void setWindowClass(const char* /*name*/, const char* /*className*/) {}

// An icon of one image laid out as in setWindowIcons, from `at`; null when
// Windows refuses it.
static HICON iconFromImage(const uint32_t* at) {
  int width = static_cast<int>(at[0]), height = static_cast<int>(at[1]);
  BITMAPV5HEADER header = {};
  header.bV5Size = sizeof header;
  header.bV5Width = width;
  header.bV5Height = -height;  // top row first
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (colour == nullptr) return nullptr;
  // 0xAARRGGBB words are the DIB's own BGRA bytes on a little-endian machine.
  memcpy(bits, at + 2, static_cast<size_t>(width) * height * 4);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  if (mask != nullptr) DeleteObject(mask);
  return icon;
}

void setWindowIcons(const std::vector<uint32_t>& icons) {
  if (icons.empty()) return;
  if (FindResourceA(GetModuleHandleA(nullptr), "GLUT_ICON", MAKEINTRESOURCEA(14)) != nullptr) {
    return;  // RT_GROUP_ICON: freeglut shows it already
  }
  HWND window = WindowFromDC(wglGetCurrentDC());
  if (window == nullptr) return;
  // The largest image for the title bar and the task switcher, the
  // smallest for the window's corner. A malformed list ends the walk.
  const uint32_t* largest = nullptr;
  const uint32_t* smallest = nullptr;
  for (size_t at = 0; at + 2 <= icons.size();) {
    uint64_t pixels = static_cast<uint64_t>(icons[at]) * icons[at + 1];
    if (icons[at] == 0 || icons[at] > 1024 || icons[at + 1] > 1024 ||
        pixels > icons.size() - at - 2) {
      break;
    }
    const uint32_t* image = &icons[at];
    if (largest == nullptr || image[0] > largest[0]) largest = image;
    if (smallest == nullptr || image[0] < smallest[0]) smallest = image;
    at += 2 + static_cast<size_t>(pixels);
  }
  if (largest == nullptr) return;
  // Kept for the window's life: the window shows the icons given, it does
  // not copy them.
  if (HICON bigIcon = iconFromImage(largest)) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  if (HICON smallIcon = iconFromImage(smallest)) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

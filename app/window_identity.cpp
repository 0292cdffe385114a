#include "app/window_identity.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/image/image_pixels.h"

// The icon sizes the data generator paints, smallest first.
static const int kIconSizes[] = {16, 32, 48, 128};
// Larger images are left out: the property would only grow.
static const int kMaxIconSide = 512;

// Appends the icon image in `path` to `icon` as setWindowIcons takes it:
// width, height, then each pixel from the top row down as 0xAARRGGBB.
// Returns false, appending nothing, when the file is missing, not an image or
// larger than kMaxIconSide.
static bool appendIcon(const std::string& path, std::vector<uint32_t>& icon) {
  ImagePixels image;
  if (!loadImageFile(path.c_str(), image) || image.width > kMaxIconSide || image.height > kMaxIconSide) {
    return false;
  }
  icon.push_back(static_cast<uint32_t>(image.width));
  icon.push_back(static_cast<uint32_t>(image.height));
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    const uint8_t* p = &image.rgba[i];
    icon.push_back(static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                   static_cast<uint32_t>(p[1]) << 8 | p[2]);
  }
  return true;
}

void identifyWindow() {
  setWindowClass("vekotra", "Vekotra");
  std::vector<uint32_t> icon;
  for (int size : kIconSizes) appendIcon("data/icons/vekotra_" + std::to_string(size) + ".png", icon);
  setWindowIcons(icon);
}

#include "app/window_identity.h"

#include <IL/il.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/image_library.h"
#include "platform/display/display.h"
#include "platform/os/os.h"

// The icon sizes the data generator paints, smallest first.
static const int kIconSizes[] = {16, 32, 48, 128};
// Larger images are left out: the property would only grow.
static const int kMaxIconSide = 512;
static const size_t kMaxIconFileBytes = 1u << 20;

// The whole of a regular file of at most kMaxIconFileBytes.
static bool readIconFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* file = openFile(path.c_str(), "rb");
  if (!file) return false;
  bytes.resize(kMaxIconFileBytes + 1);
  size_t got = fread(bytes.data(), 1, bytes.size(), file);
  bool whole = got <= kMaxIconFileBytes && !ferror(file);
  fclose(file);
  bytes.resize(got);
  return whole;
}

// Appends the icon image in `path` to `icon` as setWindowIcons takes it:
// width, height, then each pixel from the top row down as 0xAARRGGBB. Returns false, appending nothing, when the file is
// missing, too large or not an image.
static bool appendIcon(const std::string& path, std::vector<uint32_t>& icon) {
  std::vector<uint8_t> bytes;
  if (!readIconFile(path, bytes)) return false;
  ILuint image = ilGenImage();
  ilBindImage(image);
  bool loaded = decodeImage(bytes.data(), bytes.size()) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
  const int width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
  loaded = loaded && width > 0 && height > 0 && width <= kMaxIconSide && height <= kMaxIconSide;
  if (loaded) {
    const bool bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
    const uint8_t* pixels = ilGetData();
    icon.push_back(static_cast<uint32_t>(width));
    icon.push_back(static_cast<uint32_t>(height));
    for (int row = 0; row < height; ++row) {
      const uint8_t* p = pixels + static_cast<size_t>(bottomUp ? height - 1 - row : row) * width * 4;
      for (int column = 0; column < width; ++column, p += 4) {
        icon.push_back(static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                       static_cast<uint32_t>(p[1]) << 8 | p[2]);
      }
    }
  }
  ilDeleteImage(image);
  // Leave no error behind for the texture loads that follow.
  while (ilGetError() != IL_NO_ERROR) {
  }
  return loaded;
}

void identifyWindow() {
  setWindowClass("vekotra", "Vekotra");
  std::vector<uint32_t> icon;
  for (int size : kIconSizes) appendIcon("data/icons/vekotra_" + std::to_string(size) + ".png", icon);
  setWindowIcons(icon);
}

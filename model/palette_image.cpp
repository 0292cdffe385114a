#include "model/palette_image.h"

#include <IL/il.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Where the colours sit in one entry of each of DevIL's palette types.
struct EntryLayout {
  unsigned bytes, red, green, blue;
  bool alpha;  // the fourth byte is alpha (else unused)
};

bool layoutOf(ILint type, EntryLayout& layout) {
  switch (type) {
    case IL_PAL_RGB24: layout = {3, 0, 1, 2, false}; return true;
    case IL_PAL_RGB32: layout = {4, 0, 1, 2, false}; return true;
    case IL_PAL_RGBA32: layout = {4, 0, 1, 2, true}; return true;
    case IL_PAL_BGR24: layout = {3, 2, 1, 0, false}; return true;
    case IL_PAL_BGR32: layout = {4, 2, 1, 0, false}; return true;
    case IL_PAL_BGRA32: layout = {4, 2, 1, 0, true}; return true;
    default: return false;
  }
}

}  // namespace

bool expandPaletteImage(unsigned firstIndex) {
  if (ilGetInteger(IL_IMAGE_FORMAT) != IL_COLOUR_INDEX) return true;
  size_t width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
  const ILubyte* indices = ilGetData();
  if (!indices || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE || ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL) != 1 ||
      size_t(ilGetInteger(IL_IMAGE_SIZE_OF_DATA)) < width * height) {
    return false;
  }
  // A palette of a type DevIL never makes counts as empty: every pixel black.
  EntryLayout layout = {3, 0, 1, 2, false};
  const ILubyte* palette = ilGetPalette();
  size_t entries = palette && layoutOf(ilGetInteger(IL_PALETTE_TYPE), layout) ? ilGetInteger(IL_PALETTE_NUM_COLS) : 0;
  bool upperLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT;
  size_t channels = layout.alpha ? 4 : 3;

  std::vector<uint8_t> pixels(width * height * channels, 0);
  for (size_t row = 0; row < height; ++row) {
    const ILubyte* in = indices + (upperLeft ? height - 1 - row : row) * width;
    uint8_t* out = pixels.data() + row * width * channels;
    for (size_t x = 0; x < width; ++x, out += channels) {
      size_t entry = in[x] - size_t(firstIndex);  // wraps past `entries` below firstIndex
      if (entry < entries) {
        const ILubyte* colour = palette + entry * layout.bytes;
        out[0] = colour[layout.red];
        out[1] = colour[layout.green];
        out[2] = colour[layout.blue];
        if (layout.alpha) out[3] = colour[3];
      } else if (layout.alpha) {
        out[3] = 255;
      }
    }
  }
  // ilTexImage drops the palette and makes the origin the lower left.
  return ilTexImage(ILuint(width), ILuint(height), 1, ILubyte(channels), layout.alpha ? IL_RGBA : IL_RGB,
                    IL_UNSIGNED_BYTE, pixels.data()) == IL_TRUE;
}

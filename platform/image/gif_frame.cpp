#include <SDL_image.h>

#include <utility>
#include <vector>

#include "platform/image/byte_order.h"
#include "platform/image/readers.h"

namespace {

// A colour table: `entries` of red, green, blue.
struct ColourTable {
  const uint8_t* colours = nullptr;
  uint32_t entries = 0;
};

// The logical screen and the first frame's descriptor, which the check has
// walked to already: every block is whole.
struct GifLayout {
  uint32_t screenWidth, screenHeight, background;
  ColourTable global;
  uint32_t left = 0, top = 0, width = 0, height = 0;
  size_t flags;       // where the frame's descriptor holds its flags
  bool interlaced;
  ColourTable table;  // the frame's own, or the global one
};

ColourTable tableAt(const uint8_t* b, size_t pos, uint8_t flags) {
  ColourTable t;
  if (flags & 0x80) {
    t.colours = b + pos;
    t.entries = 2u << (flags & 7);
  }
  return t;
}

// False when the file holds no frame; the check has made sure it does.
bool readLayout(const uint8_t* b, size_t size, GifLayout& g) {
  g.screenWidth = le16(b + 6);
  g.screenHeight = le16(b + 8);
  g.background = b[11];
  g.global = tableAt(b, 13, b[10]);
  size_t pos = 13 + 3 * size_t(g.global.entries);
  while (pos < size && b[pos] == 0x21) {  // extensions: label, then sub-blocks
    pos += 2;
    while (pos < size && b[pos] != 0) pos += 1 + size_t(b[pos]);
    ++pos;
  }
  if (pos >= size || b[pos] != 0x2C || size - pos < 10) return false;
  const uint8_t* d = b + pos + 1;
  g.left = le16(d);
  g.top = le16(d + 2);
  g.width = le16(d + 4);
  g.height = le16(d + 6);
  g.flags = pos + 9;
  g.interlaced = d[8] & 0x40;
  g.table = d[8] & 0x80 ? tableAt(b, pos + 10, d[8]) : g.global;
  return true;
}

void setColour(const ColourTable& table, uint32_t index, uint8_t* out) {
  if (index < table.entries) {
    for (int c = 0; c < 3; ++c) out[c] = table.colours[3 * index + c];
  } else {
    out[0] = out[1] = out[2] = 0;
  }
  out[3] = 255;
}

// The stored row of each row of a frame, top to bottom: interlaced, rows
// 0, 8, 16 ... come first, then 4, 12 ..., then 2, 6 ..., then the odd ones.
std::vector<uint32_t> storedRows(uint32_t height, bool interlaced) {
  std::vector<uint32_t> stored(height);
  uint32_t next = 0;
  const uint32_t starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
    for (uint32_t row = interlaced ? starts[pass] : 0; row < height; row += interlaced ? steps[pass] : 1) {
      stored[row] = next++;
    }
  }
  return stored;
}

// The first frame decoded by SDL2_image, whose IMG_LoadGIF_RW decodes no
// other. An interlaced frame is handed over as a plain one, from a copy of
// the file with the descriptor's interlace flag cleared, and its rows are put
// in order here: SDL2_image's own passes lose every row but the first of a
// frame 2 to 4 rows high.
SDL_Surface* decodeFrame(const uint8_t* bytes, size_t size, const GifLayout& g) {
  std::vector<uint8_t> plain;
  if (g.interlaced) {
    plain.assign(bytes, bytes + size);
    plain[g.flags] &= ~0x40;
    bytes = plain.data();
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes, int(size));
  if (!stream) return nullptr;
  SDL_Surface* frame = IMG_LoadGIF_RW(stream);
  SDL_RWclose(stream);
  return frame;
}

// The picture is the logical screen, with the frame at its place and the
// screen's background colour around it (opaque, black without a global
// table). The part of a frame that overhangs the screen's right or bottom
// edge is cut off; a frame wider or taller than the screen itself becomes the
// picture on its own, as web browsers show such files.
const char* placeFrame(const GifLayout& g, SDL_Surface* frame, ImagePixels& image) {
  if (frame->w != int(g.width) || frame->h != int(g.height) || !frame->format->palette ||
      frame->format->BytesPerPixel != 1 || frame->pitch < frame->w) {
    return kDamagedImage;
  }
  bool alone = g.width > g.screenWidth || g.height > g.screenHeight;
  uint32_t width = alone ? g.width : g.screenWidth, height = alone ? g.height : g.screenHeight;
  uint32_t left = alone ? 0 : g.left, top = alone ? 0 : g.top;
  uint32_t key = 0;
  bool keyed = SDL_GetColorKey(frame, &key) == 0;
  std::vector<uint32_t> stored = storedRows(g.height, g.interlaced);

  ImagePixels placed;
  placed.width = int(width);
  placed.height = int(height);
  placed.rgba.resize(size_t(width) * height * 4);
  uint8_t background[4];
  setColour(g.global, g.background, background);
  for (size_t i = 0; i < placed.rgba.size(); i += 4) {
    for (int c = 0; c < 4; ++c) placed.rgba[i + c] = background[c];
  }
  for (uint32_t y = 0; y < g.height && top + y < height; ++y) {
    const uint8_t* in = static_cast<const uint8_t*>(frame->pixels) + size_t(stored[y]) * frame->pitch;
    for (uint32_t x = 0; x < g.width && left + x < width; ++x) {
      uint8_t* out = &placed.rgba[((top + y) * size_t(width) + left + x) * 4];
      setColour(g.table, in[x], out);
      if (keyed && in[x] == key) out[3] = 0;
    }
  }
  image = std::move(placed);
  return nullptr;
}

}  // namespace

const char* readGif(const uint8_t* bytes, size_t size, ImagePixels& image) {
  GifLayout g;
  if (!readLayout(bytes, size, g)) return kDamagedImage;
  SDL_Surface* frame = decodeFrame(bytes, size, g);
  if (!frame) return kSdlRefused;
  const char* failure = placeFrame(g, frame, image);
  SDL_FreeSurface(frame);
  return failure;
}

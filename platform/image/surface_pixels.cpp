#include <cstring>
#include <utility>

#include "platform/image/readers.h"

namespace {

// One channel of a packed pixel: where its bits are, and its values scaled
// to 0..255, rounded: 31 of 31 gives 255, 16 of 31 gives 132.
struct Channel {
  uint32_t mask = 0, shift = 0, largest = 0;
  uint8_t scaled[256];  // by value, when largest < 256

  Channel(uint32_t channelMask, uint8_t missing) : mask(channelMask) {
    if (mask != 0) {
      while (!((mask >> shift) & 1)) ++shift;
      largest = mask >> shift;
    }
    for (uint32_t v = 0; v < 256; ++v) scaled[v] = largest == 0 ? missing : scale(v);
  }

  uint8_t scale(uint64_t value) const { return uint8_t((value * 255 + largest / 2) / largest); }

  // `missing` when the pixel has no such channel.
  uint8_t of(uint32_t pixel) const {
    uint32_t value = (pixel & mask) >> shift;
    return largest < 256 ? scaled[value] : scale(value);
  }
};

// A pixel of 2, 3 or 4 bytes as the number SDL's masks apply to.
uint32_t pixelAt(const uint8_t* p, int bytes) {
  if (bytes == 2) {
    uint16_t v;
    memcpy(&v, p, 2);
    return v;
  }
  if (bytes == 4) {
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
  }
  return SDL_BYTEORDER == SDL_LIL_ENDIAN ? p[0] | p[1] << 8 | p[2] << 16 : p[0] << 16 | p[1] << 8 | p[2];
}

bool usableSize(const SDL_Surface* surface) {
  return surface->w > 0 && surface->h > 0 && surface->pixels && surface->pitch >= surface->w;
}

void paletteRows(const SDL_Surface* surface, bool keyed, uint32_t key, ImagePixels& image) {
  const SDL_Palette* palette = surface->format->palette;
  for (int y = 0; y < surface->h; ++y) {
    const uint8_t* in = static_cast<const uint8_t*>(surface->pixels) + size_t(y) * surface->pitch;
    uint8_t* out = &image.rgba[size_t(y) * surface->w * 4];
    for (int x = 0; x < surface->w; ++x, out += 4) {
      uint8_t index = in[x];
      if (index < palette->ncolors) {
        const SDL_Color& colour = palette->colors[index];
        out[0] = colour.r, out[1] = colour.g, out[2] = colour.b;
      } else {
        out[0] = out[1] = out[2] = 0;
      }
      out[3] = keyed && index == key ? 0 : 255;
    }
  }
}

void packedRows(const SDL_Surface* surface, bool keyed, uint32_t key, ImagePixels& image) {
  const SDL_PixelFormat* f = surface->format;
  const Channel red(f->Rmask, 0), green(f->Gmask, 0), blue(f->Bmask, 0), alpha(f->Amask, 255);
  uint32_t colourBits = f->Rmask | f->Gmask | f->Bmask;
  int bytes = f->BytesPerPixel;
  for (int y = 0; y < surface->h; ++y) {
    const uint8_t* in = static_cast<const uint8_t*>(surface->pixels) + size_t(y) * surface->pitch;
    uint8_t* out = &image.rgba[size_t(y) * surface->w * 4];
    for (int x = 0; x < surface->w; ++x, in += bytes, out += 4) {
      uint32_t pixel = pixelAt(in, bytes);
      out[0] = red.of(pixel);
      out[1] = green.of(pixel);
      out[2] = blue.of(pixel);
      out[3] = keyed && (pixel & colourBits) == (key & colourBits) ? 0 : alpha.of(pixel);
    }
  }
}

}  // namespace

const char* surfacePixels(SDL_Surface* surface, ImagePixels& image) {
  const SDL_PixelFormat* f = surface->format;
  bool palette = f->palette != nullptr;
  // Every palette surface SDL2_image makes has a byte a pixel, every other
  // one 2 to 4 bytes.
  if (!usableSize(surface) || (palette ? f->BytesPerPixel != 1 || f->BitsPerPixel != 8
                                       : f->BytesPerPixel < 2 || f->BytesPerPixel > 4)) {
    return kDamagedImage;
  }
  if (surface->pitch < surface->w * f->BytesPerPixel) return kDamagedImage;
  uint32_t key = 0;
  bool keyed = SDL_GetColorKey(surface, &key) == 0;
  ImagePixels decoded;
  decoded.width = surface->w;
  decoded.height = surface->h;
  decoded.rgba.resize(size_t(surface->w) * surface->h * 4);
  if (palette) {
    paletteRows(surface, keyed, key, decoded);
  } else {
    packedRows(surface, keyed, key, decoded);
  }
  image = std::move(decoded);
  return nullptr;
}

const char* cmykPixels(SDL_Surface* surface, ImagePixels& image) {
  if (!usableSize(surface) || surface->format->BytesPerPixel != 4 || surface->pitch < surface->w * 4) {
    return kDamagedImage;
  }
  ImagePixels decoded;
  decoded.width = surface->w;
  decoded.height = surface->h;
  decoded.rgba.resize(size_t(surface->w) * surface->h * 4);
  for (int y = 0; y < surface->h; ++y) {
    const uint8_t* in = static_cast<const uint8_t*>(surface->pixels) + size_t(y) * surface->pitch;
    uint8_t* out = &decoded.rgba[size_t(y) * surface->w * 4];
    for (int x = 0; x < surface->w; ++x, in += 4, out += 4) {
      // Inverted inks: 255 is no ink. Red is what cyan and black leave.
      for (int c = 0; c < 3; ++c) out[c] = uint8_t((in[c] * in[3] + 127) / 255);
      out[3] = 255;
    }
  }
  image = std::move(decoded);
  return nullptr;
}

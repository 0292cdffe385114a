#include <SDL_image.h>

#include <cstdio>

#include "platform/image/byte_order.h"
#include "platform/image/image_check.h"
#include "platform/image/readers.h"
#include "platform/os/os.h"

const char* const kDamagedImage = "the image is damaged";
const char* const kCutImage = "the image's pixel data is cut short";
const char* const kSdlRefused = "SDL2_image cannot read it";

namespace {

// SDL2_image's reader of one format on `bytes` (which the check has
// recognised as that format); null when it refuses them.
SDL_Surface* sdlRead(SDL_Surface* (*reader)(SDL_RWops*), const uint8_t* bytes, size_t size) {
  SDL_RWops* stream = SDL_RWFromConstMem(bytes, int(size));
  if (!stream) return nullptr;
  SDL_Surface* surface = reader(stream);
  SDL_RWclose(stream);
  return surface;
}

// The RGBA pixels of what SDL2_image's reader makes of `bytes`, or why not.
const char* sdlPixels(SDL_Surface* (*reader)(SDL_RWops*), const uint8_t* bytes, size_t size,
                      ImagePixels& image) {
  SDL_Surface* surface = sdlRead(reader, bytes, size);
  if (!surface) return kSdlRefused;
  const char* failure = surfacePixels(surface, image);
  SDL_FreeSurface(surface);
  return failure;
}

// BMP headers of 12 (OS/2 1.x), 40, 52, 56, 108 or 124 bytes, the versions
// tools write. Palette images are read here, the others by SDL2_image.
const char* readBmp(const uint8_t* bytes, size_t size, ImagePixels& image) {
  uint32_t headerSize = le32(bytes + 14);
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124) {
    return "a BMP header of a version no tool writes";
  }
  uint32_t bits = headerSize == 12 ? le16(bytes + 24) : le16(bytes + 28);
  if (bits <= 8) return readPaletteBmp(bytes, size, image);
  return sdlPixels(IMG_LoadBMP_RW, bytes, size, image);
}

const char* readPng(const uint8_t* bytes, size_t size, ImagePixels& image) {
  std::vector<uint8_t> padded;
  if (padPngPalette(bytes, size, padded)) {
    bytes = padded.data();
    size = padded.size();
  }
  return sdlPixels(IMG_LoadPNG_RW, bytes, size, image);
}

// A JPEG never has alpha: four bytes a pixel are the inks of a CMYK one,
// which the libjpeg reader hands over as they are (stb_image makes RGB of
// them itself).
const char* readJpeg(const uint8_t* bytes, size_t size, ImagePixels& image) {
  SDL_Surface* surface = sdlRead(IMG_LoadJPG_RW, bytes, size);
  if (!surface) return kSdlRefused;
  const char* failure =
      surface->format->BytesPerPixel == 4 ? cmykPixels(surface, image) : surfacePixels(surface, image);
  SDL_FreeSurface(surface);
  return failure;
}

// The whole of a regular file of at most kMaxImageFileBytes; null, or why not.
const char* readImageFile(const char* path, std::vector<uint8_t>& bytes) {
  FILE* file = openFile(path, "rb");
  if (!file) return "not found, or not a regular file";
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  bool fits = true;
  while (fits && (got = fread(chunk, 1, sizeof chunk, file)) > 0) {
    fits = bytes.size() + got <= kMaxImageFileBytes;
    if (fits) bytes.insert(bytes.end(), chunk, chunk + got);
  }
  bool failed = ferror(file);
  fclose(file);
  return !fits ? "larger than 64 MB" : failed ? "the file cannot be read" : nullptr;
}

}  // namespace

bool decodeImage(const uint8_t* bytes, size_t size, ImagePixels& image, const char** failure) {
  const char* why = nullptr;
  switch (checkedImageType(bytes, size)) {
    case kNoImage: why = "not a BMP, JPEG, PNG, Targa, GIF or PCX image, or a damaged one"; break;
    case kPngImage: why = readPng(bytes, size, image); break;
    case kJpegImage: why = readJpeg(bytes, size, image); break;
    case kBmpImage: why = readBmp(bytes, size, image); break;
    case kGifImage: why = readGif(bytes, size, image); break;
    case kPcxImage: why = readPcx(bytes, size, image); break;
    case kTgaImage: why = readTga(bytes, size, image); break;
  }
  if (why) image = ImagePixels();
  if (failure) *failure = why;
  return !why;
}

bool loadImageFile(const char* path, ImagePixels& image, const char** failure) {
  std::vector<uint8_t> bytes;
  const char* why = readImageFile(path, bytes);
  if (why) {
    image = ImagePixels();
    if (failure) *failure = why;
    return false;
  }
  return decodeImage(bytes.data(), bytes.size(), image, failure);
}

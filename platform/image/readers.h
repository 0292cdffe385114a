// The readers behind decodeImage, one per format or fault. Each takes the
// bytes of a file that passed checkedImageType as its format, fills `image`
// (top row first, every pixel written) and returns null, or returns why it
// failed with `image` left as it was.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/image_pixels.h"

extern const char* const kDamagedImage;  // "the image is damaged"
extern const char* const kCutImage;      // "the image's pixel data is cut short"
extern const char* const kSdlRefused;    // "SDL2_image cannot read it"

// BMPs of 1, 4 or 8 bits, plain or run-length coded: SDL2_image refuses a
// palette index past the colours listed, gives pixels that run-length codes
// skip the colour of entry 0, and refuses run-length codes cut short.
const char* readPaletteBmp(const uint8_t* bytes, size_t size, ImagePixels& image);

// Targa, every kind: SDL2_image ignores where a colour map starts, reads past
// a map it did not read whole, widens 5-bit colours by a shift, keeps a
// 32-bit map's alpha as one colour key and leaves run-length pixels cut short
// unwritten.
const char* readTga(const uint8_t* bytes, size_t size, ImagePixels& image);

// PCX, every layout the check lets through: SDL2_image refuses versions other
// than 5 and RGBA, gets planes of one bit wrong, colours two-colour images
// from the header instead of black and white, and takes any bytes for the
// 256-colour palette of a file that has none.
const char* readPcx(const uint8_t* bytes, size_t size, ImagePixels& image);

// The first frame of a GIF, decoded by SDL2_image and placed on the logical
// screen as the file's descriptors say: SDL2_image gives the frame alone, at
// its own size, and gets the rows of short interlaced frames wrong.
const char* readGif(const uint8_t* bytes, size_t size, ImagePixels& image);

// The PNG in `bytes` with its palette filled up with black entries to every
// index its pixels can hold, in `padded`; false, with `padded` untouched, when
// it is no palette image or lists them all already. SDL2_image's PNG reader on
// Windows (stb_image) takes the colour of an unlisted index from memory it
// never wrote.
bool padPngPalette(const uint8_t* bytes, size_t size, std::vector<uint8_t>& padded);

// The pixels of a surface SDL2_image made: palette images expanded (an index
// past the palette is opaque black), channels of fewer than 8 bits widened to
// the full range (31 of 31 is 255), a colour key made transparent.
const char* surfacePixels(SDL_Surface* surface, ImagePixels& image);

// The pixels of the surface SDL2_image's libjpeg reader makes of a CMYK JPEG:
// the ink values as Adobe writes them (inverted), four bytes a pixel.
const char* cmykPixels(SDL_Surface* surface, ImagePixels& image);

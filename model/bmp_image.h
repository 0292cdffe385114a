// BMP files that DevIL 1.7.8 reads wrongly or not at all, read here. It
// refuses the 52-, 56-, 108- and 124-byte information headers that GIMP and
// ImageMagick write by default, and for run-length coded files it leaves the
// pixels the codes skip uninitialised. Other BMPs go to DevIL as they are.
#pragma once

#include <cstddef>
#include <cstdint>

// Decodes the BMP in `bytes`, which passed checkedImageType, into DevIL's bound
// image. A newer header is given to DevIL as the 40-byte header it reads,
// with the same pixels, when the image is uncompressed or uses the usual
// bit-field masks (8-8-8 for 32 bits, 5-5-5 or 5-6-5 for 16). Run-length
// coded pixels are expanded here into RGB, black where the codes skip a pixel
// or name a colour the palette lacks. False when the image cannot be decoded,
// with *failure saying why.
bool decodeBmp(const uint8_t* bytes, size_t size, const char** failure);

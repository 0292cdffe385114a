// The check a texture image passes before DevIL decodes it. 3DS files name
// any image they like, and some of DevIL's loaders fail unsafely on damaged
// files: a cut PNG makes it loop for ever, a damaged GIF makes it write past
// its pixels, a damaged PNM makes it free them twice or hang. An image is
// handed over only when it is recognised by its content (never by the file's
// name) as one of the formats whose loaders hold up, its header is sound and
// the sizes it declares fit in the file and in a texture. PNM, whose loader
// stays unsafe, is never handed over.
#pragma once

#include <cstddef>
#include <cstdint>

// Limits on an image handed to DevIL.
const size_t kMaxImageFileBytes = 64u << 20;
const uint32_t kMaxImageSide = 8192;
const uint32_t kMaxImagePixels = 16u << 20;

// The DevIL type (IL_BMP, IL_JPG, IL_PNG, IL_TGA, IL_GIF or IL_PCX) of
// the image in `bytes`, or 0 (IL_TYPE_UNKNOWN) when it is none of these, or
// its header is damaged, or it declares more pixel data than the file holds
// or an image larger than the limits above.
unsigned checkedImageType(const uint8_t* bytes, size_t size);

// The check an image passes before any decoder sees it. 3DS files name any
// file they like, and decoders have failed unsafely on damaged files: DevIL
// looped for ever on a cut PNG, and stb_image, SDL2_image's PNG reader on
// Windows, trusts what headers declare. An image is decoded only when it is
// recognised by its content (never by the file's name) as one of the six
// formats, its header is sound, and the sizes it declares fit in the file and
// in a texture. PNM is never decoded.
#pragma once

#include <cstddef>
#include <cstdint>

// Limits on an image that is decoded.
const size_t kMaxImageFileBytes = 64u << 20;
const uint32_t kMaxImageSide = 8192;
const uint32_t kMaxImagePixels = 16u << 20;

enum ImageType { kNoImage, kPngImage, kJpegImage, kBmpImage, kGifImage, kPcxImage, kTgaImage };

// The format of the image in `bytes`, or kNoImage when it is none of the six,
// or its header is damaged, or it declares more pixel data than the file
// holds or an image (a GIF's logical screen or first frame) larger than the
// limits above.
ImageType checkedImageType(const uint8_t* bytes, size_t size);

// The CRC-32 of PNG chunks (ISO 3309, as zlib computes it).
uint32_t crc32(const uint8_t* bytes, size_t size);

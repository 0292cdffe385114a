// Image files decoded into plain pixels, without OpenGL: for textures, the
// window's icons, tests, fuzzing and benchmarks. PNG, JPEG, GIF and BMPs of
// 16 to 32 bits are decoded by SDL2_image; Targa, PCX and palette BMPs by
// readers of our own, since SDL2_image reads them wrongly or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ImagePixels {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // width * height pixels, top row first: red, green, blue, alpha
};

// Decodes the image in `bytes` when it passes checkedImageType. Every pixel
// of the result is written by the decoding: an index with no colour gives
// opaque black, and a file whose pixel data ends early is refused, except a
// run-length BMP, which ends where its codes end, black beyond. False, with
// `image` empty, when it fails; then *failure (when `failure` is not null)
// says why in a few words.
bool decodeImage(const uint8_t* bytes, size_t size, ImagePixels& image, const char** failure = nullptr);

// Reads the image file `path` (openFile: a regular file, looked up ignoring
// case) of at most kMaxImageFileBytes and decodes it; as decodeImage, with a
// failure to open or read the file told the same way.
bool loadImageFile(const char* path, ImagePixels& image, const char** failure = nullptr);

// Fuzz target of texture loading: any bytes go through the check in front of
// the decoders and, when they pass it, through the decoding the game does
// before an upload: SDL2_image's readers (PNG, JPEG, GIF, BMPs of 16 to 32
// bits) with the palettes, GIF screens and CMYK pixels made plain here, and
// our own Targa, PCX and palette BMP readers. Nothing may crash, hang or touch
// memory it does not own; a decoded image is within the size limits and holds
// four bytes for each of its pixels, a refused one nothing but its reason.
// The upload into OpenGL is left out: it needs a GL context and sees those
// pixels only.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DVEKOTRA_FUZZ=ON
//   cmake --build build/fuzz --target fuzz_texture
//   build/fuzz/fuzz/fuzz_texture -max_len=4096 -timeout=5 <work corpus folder> fuzz/corpus/texture
//
// Without libFuzzer, fuzz/replay/replay_main.cpp turns this file into a
// program that replays the saved corpus (the test model.fuzz_texture_corpus).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/image/image_check.h"
#include "platform/image/image_pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImagePixels image;
  const char* failure = nullptr;
  bool decoded = decodeImage(data, size, image, &failure);
  bool sound = decoded ? !failure && image.width > 0 && image.height > 0 && image.width <= int(kMaxImageSide) &&
                             image.height <= int(kMaxImageSide) &&
                             image.rgba.size() == size_t(image.width) * image.height * 4
                       : failure && image.rgba.empty() && image.width == 0;
  if (!sound) {
    fprintf(stderr, "decoded %d: image of %d x %d, %zu bytes\n", decoded, image.width, image.height, image.rgba.size());
    abort();
  }
  return 0;
}

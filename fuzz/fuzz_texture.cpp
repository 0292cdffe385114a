// Fuzz target of texture loading: any bytes go through the check that guards
// DevIL and, when they pass it, through the decoding the game does before an
// upload: DevIL's decoders, the BMP headers rewritten and the run-length BMPs
// decoded in decodeBmp, and palette images expanded. Nothing may crash, hang
// or touch memory it does not own, and a decoded image stays within the size
// limits and holds no palette for the upload to convert. The upload into
// OpenGL is left out: it needs a GL context and sees those pixels only.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DVEKOTRA_FUZZ=ON
//   cmake --build build/fuzz --target fuzz_texture
//   build/fuzz/fuzz/fuzz_texture -max_len=4096 -timeout=5 <work corpus folder> fuzz/corpus/texture
//
// Without libFuzzer, fuzz/replay/replay_main.cpp turns this file into a
// program that replays the saved corpus (the test model.fuzz_texture_corpus).
#include <IL/il.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "model/image_check.h"
#include "model/image_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = false;
  if (!started) {
    ilInit();
    started = true;
  }
  ILuint image = ilGenImage();
  ilBindImage(image);
  if (decodeImage(data, size)) {
    ILint width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
    ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    if (width <= 0 || height <= 0 || width > ILint(kMaxImageSide) || height > ILint(kMaxImageSide) ||
        !ilGetData() || format == IL_COLOUR_INDEX) {
      fprintf(stderr, "decoded image of %d x %d, format 0x%x\n", width, height, unsigned(format));
      abort();
    }
  }
  ilDeleteImage(image);
  return 0;
}

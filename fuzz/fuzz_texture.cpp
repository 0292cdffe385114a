// Fuzz target of texture loading: any bytes go through the check that guards
// DevIL and, when they pass it, through DevIL's decoder, as the game loads a
// texture file named by a model. Nothing may crash, hang or touch memory it
// does not own, and a decoded image stays within the size limits. The upload
// into OpenGL is left out: it needs a GL context and sees decoded pixels only.
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
    if (width <= 0 || height <= 0 || width > ILint(kMaxImageSide) || height > ILint(kMaxImageSide) ||
        !ilGetData()) {
      fprintf(stderr, "decoded image of %d x %d\n", width, height);
      abort();
    }
  }
  ilDeleteImage(image);
  return 0;
}

// Fuzz target of the 3DS reader: any bytes are read as a model file and the
// model must come out consistent (checkModel), with no read or write outside
// any array. Texture images are not loaded and no GL context is needed.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DVEKOTRA_FUZZ=ON
//   cmake --build build/fuzz --target fuzz_3ds
//   build/fuzz/fuzz/fuzz_3ds -max_len=20000 <work corpus folder> fuzz/corpus/3ds
//
// Without libFuzzer, fuzz/replay/replay_main.cpp turns this file into a
// program that replays the saved corpus (the test model.fuzz_3ds_corpus).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/model_3ds.h"
#include "model/model_check.h"

static GLuint noImage(const char*) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GLTexture::imageLoader = noImage;
  // fmemopen wants a writable buffer, even for no bytes.
  std::vector<unsigned char> bytes(data, data + size);
  bytes.push_back(0);
  FILE* file = fmemopen(bytes.data(), size, "rb");
  if (!file) return 0;

  Model_3DS model;
  model.readStream(file, "models/fuzz.3ds");
  std::string problem;
  if (!checkModel(model, &problem)) {
    fprintf(stderr, "inconsistent model: %s\n", problem.c_str());
    abort();
  }
  releaseModel(model);
  return 0;
}

// Loading the game's textures, the generated ones in the build's game folder
// (the three planets' BMPs and the four window icons' PNGs), with the image
// library and, in the same run, with DevIL, which the game used before.
// Decoding alone (no OpenGL), and loading into a texture: read, check,
// decode and upload, ours with its mipmaps, DevIL's without. The texture
// cases need an X display: run under xvfb-run.
//   xvfb-run -a build/check/bench/bench_textures
// The counter "texels_differing" is how many RGBA bytes of the seven images
// DevIL and the image library decode differently.
#include <GL/glut.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/devil_peer/devil_peer.h"
#include "platform/image/image.h"
#include "platform/image/image_pixels.h"

namespace {

struct TextureFile {
  std::string path, bytes;
};

const std::vector<TextureFile>& gameTextures() {
  static const std::vector<TextureFile> files = [] {
    std::vector<TextureFile> found;
    for (const char* name : {"data/map/earth3.bmp", "data/map/mars.bmp", "data/map/pluton.bmp",
                             "data/icons/vekotra_16.png", "data/icons/vekotra_32.png", "data/icons/vekotra_48.png",
                             "data/icons/vekotra_128.png"}) {
      std::string path = std::string(VEKOTRA_GAME_DIR) + "/" + name;
      FILE* file = fopen(path.c_str(), "rb");
      if (!file) continue;
      std::string bytes;
      char chunk[65536];
      size_t got;
      while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
      fclose(file);
      found.push_back({path, bytes});
    }
    return found;
  }();
  return files;
}

const uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

bool haveTextures(benchmark::State& state) {
  if (gameTextures().size() == 7) return true;
  state.SkipWithError("the game's textures are missing: build the target vekotra_data");
  return false;
}

// A GL context for the upload cases, and both libraries started in it.
bool openWindow(benchmark::State& state) {
  static int opened = -1;
  if (opened < 0) {
    opened = getenv("DISPLAY") != nullptr;
    if (opened) {
      int argc = 1;
      char name[] = "bench_textures";
      char* argv[] = {name, nullptr};
      glutInit(&argc, argv);
      glutCreateWindow("bench_textures");
      ilInit();
      iluInit();
      ilutRenderer(ILUT_OPENGL);
      devilStartRenderer();
    }
  }
  if (!opened) state.SkipWithError("no X display: run under xvfb-run");
  return opened;
}

void reportTextures(benchmark::State& state) {
  state.counters["textures/s"] =
      benchmark::Counter(double(state.iterations()) * gameTextures().size(), benchmark::Counter::kIsRate);
}

void DecodeImageLibrary(benchmark::State& state) {
  if (!haveTextures(state)) return;
  for (auto _ : state) {
    for (const TextureFile& f : gameTextures()) {
      ImagePixels image;
      if (!decodeImage(bytesOf(f.bytes), f.bytes.size(), image)) state.SkipWithError(f.path.c_str());
      benchmark::DoNotOptimize(image.rgba.data());
    }
  }
  reportTextures(state);
}
BENCHMARK(DecodeImageLibrary)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void DecodeDevIL(benchmark::State& state) {
  if (!haveTextures(state)) return;
  devilStart();
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  long differing = 0;
  for (const TextureFile& f : gameTextures()) {
    ImagePixels image;
    decodeImage(bytesOf(f.bytes), f.bytes.size(), image);
    if (!devilDecode(bytesOf(f.bytes), f.bytes.size(), width, height, rgba) || width != image.width ||
        height != image.height) {
      state.SkipWithError(f.path.c_str());
      return;
    }
    for (size_t i = 0; i < rgba.size(); ++i) differing += rgba[i] != image.rgba[i];
  }
  for (auto _ : state) {
    for (const TextureFile& f : gameTextures()) {
      devilDecode(bytesOf(f.bytes), f.bytes.size(), width, height, rgba);
      benchmark::DoNotOptimize(rgba.data());
    }
  }
  reportTextures(state);
  state.counters["texels_differing"] = double(differing);
}
BENCHMARK(DecodeDevIL)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void LoadTexturesImageLibrary(benchmark::State& state) {
  if (!haveTextures(state) || !openWindow(state)) return;
  for (auto _ : state) {
    for (const TextureFile& f : gameTextures()) {
      GLuint id = ilutGLLoadImage(f.path.c_str());
      if (id == 0) state.SkipWithError(f.path.c_str());
      glDeleteTextures(1, &id);
    }
    glFinish();
  }
  reportTextures(state);
}
BENCHMARK(LoadTexturesImageLibrary)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void LoadTexturesDevIL(benchmark::State& state) {
  if (!haveTextures(state) || !openWindow(state)) return;
  for (auto _ : state) {
    for (const TextureFile& f : gameTextures()) {
      GLuint id = devilLoadTexture(f.path.c_str());
      if (id == 0) state.SkipWithError(f.path.c_str());
      glDeleteTextures(1, &id);
    }
    glFinish();
  }
  reportTextures(state);
}
BENCHMARK(LoadTexturesDevIL)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

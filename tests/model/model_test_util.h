// Shared helpers of the model tests: a scratch folder, files written from
// test bytes, and a GL context with the image library ready for loading.
#pragma once

#include <string>
#include <vector>

#include "model/model_3ds.h"

// A fresh folder under /tmp, removed with its files when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return dir; }
  // Writes `bytes` to path()/relative (folders created) and returns the full path.
  std::string write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string dir;
};

// Opens the test window once, makes its context current and starts the
// image library.
void prepareGL();

// Reads `bytes` from memory as the model file `path` (readStream: no GL, no
// file). The model keeps `path`, so a copy of it is kept for the process.
void readBytes(Model_3DS& model, const std::string& bytes, const std::string& path = "model.3ds");
// The same, then the GL steps of load: solid-colour textures and the display
// list (prepareGL first).
void loadBytes(Model_3DS& model, const std::string& bytes, const std::string& path = "model.3ds");
// Keeps a copy of `text` for the whole process and returns it.
const char* keepPath(const std::string& text);

// A 2 x 1 uncompressed 24-bit BMP file: a red pixel, then a green one.
std::string tinyBmp();

// An image loader that loads nothing and remembers the paths it was asked for.
void recordImageRequests();
const std::vector<std::string>& imageRequests();
// Puts the game's own image loader (ilutGLLoadImage, case-insensitive
// lookup) back.
void useRealImageLoader();

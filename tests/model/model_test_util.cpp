#include "tests/model/model_test_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <stdexcept>

#include "model/image_library.h"
#include "tests/support/gl_window.h"

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/vekotra-model-test.XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  dir = pattern;
}

ScratchDir::~ScratchDir() {
  std::string command = "rm -rf '" + dir + "'";
  if (system(command.c_str()) != 0) fprintf(stderr, "could not remove %s\n", dir.c_str());
}

std::string ScratchDir::write(const std::string& relative, const std::string& bytes) const {
  std::string full = dir + "/" + relative;
  for (size_t slash = full.find('/', dir.size() + 1); slash != std::string::npos; slash = full.find('/', slash + 1)) {
    mkdir(full.substr(0, slash).c_str(), 0755);
  }
  FILE* file = fopen(full.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + full);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return full;
}

void prepareGL() {
  static bool ready = false;
  if (ready) return;
  openTestWindow();
  initImageLibrary();
  ready = true;
}

const char* keepPath(const std::string& text) {
  static std::deque<std::string> texts;  // a deque never moves its strings
  texts.push_back(text);
  return texts.back().c_str();
}

void readBytes(Model_3DS& model, const std::string& bytes, const std::string& path) {
  // fmemopen reads from the buffer until fclose, which readStream does.
  static std::deque<std::string> buffers;
  buffers.push_back(bytes);
  buffers.back().push_back('\0');  // a buffer even for no bytes
  FILE* file = fmemopen(&buffers.back()[0], bytes.size(), "rb");
  if (!file) throw std::runtime_error("fmemopen failed");
  model.readStream(file, keepPath(path));
}

void loadBytes(Model_3DS& model, const std::string& bytes, const std::string& path) {
  readBytes(model, bytes, path);
  model.makeSolidColorTextures();
  model.createDisplayList();
}
std::string tinyBmp() {
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  std::string pixels("\x00\x00\xff\x00\xff\x00\x00\x00", 8);  // blue, green, red; row padded to 4
  return "BM" + le32(54 + 8) + le32(0) + le32(54) + le32(40) + le32(2) + le32(1) +
         std::string("\x01\x00\x18\x00", 4) + le32(0) + le32(8) + le32(2835) + le32(2835) + le32(0) + le32(0) +
         pixels;
}

// The game's loader, taken before any test replaces it (constant-initialised).
static GLuint (*const realImageLoader)(const char*) = GLTexture::imageLoader;

void useRealImageLoader() { GLTexture::imageLoader = realImageLoader; }

static std::vector<std::string> requests;

static GLuint recordingLoader(const char* fileName) {
  requests.push_back(fileName);
  return 0;
}

void recordImageRequests() {
  requests.clear();
  GLTexture::imageLoader = recordingLoader;
}

const std::vector<std::string>& imageRequests() { return requests; }

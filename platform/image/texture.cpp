#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/image/image.h"
#include "platform/image/image_pixels.h"

namespace {

bool powerOfTwo(int n) { return (n & (n - 1)) == 0; }

// OpenGL 2.0 and later take textures of any size.
bool anySize() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && atoi(version) >= 2;
}

// The image's rows, bottom row first, `channels` (3 or 4) bytes a pixel.
std::vector<uint8_t> textureRows(const ImagePixels& image, int channels) {
  std::vector<uint8_t> rows(size_t(image.width) * image.height * channels);
  uint8_t* out = rows.data();
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* in = &image.rgba[size_t(y) * image.width * 4];
    for (int x = 0; x < image.width; ++x, in += 4, out += channels) {
      for (int c = 0; c < channels; ++c) out[c] = in[c];
    }
  }
  return rows;
}

// Level 0 as it is, then each level half the one before (rounded down, at
// least 1), scaled by GLU: the mipmaps of a size gluBuild2DMipmaps would
// change to a power of two.
void buildLevels(int width, int height, int channels, GLenum format, std::vector<uint8_t> level) {
  glTexImage2D(GL_TEXTURE_2D, 0, channels, width, height, 0, format, GL_UNSIGNED_BYTE, level.data());
  GLint packAlignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);  // gluScaleImage writes as glReadPixels would
  std::vector<uint8_t> smaller;
  for (int n = 1; width > 1 || height > 1; ++n) {
    int w = std::max(1, width / 2), h = std::max(1, height / 2);
    smaller.resize(size_t(w) * h * channels);
    gluScaleImage(format, width, height, GL_UNSIGNED_BYTE, level.data(), w, h, GL_UNSIGNED_BYTE, smaller.data());
    glTexImage2D(GL_TEXTURE_2D, n, channels, w, h, 0, format, GL_UNSIGNED_BYTE, smaller.data());
    level.swap(smaller);
    width = w;
    height = h;
  }
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
}

// A new texture of `image`, bound; 0 when OpenGL refuses it.
GLuint upload(const ImagePixels& image) {
  bool opaque = true;
  for (size_t i = 3; i < image.rgba.size() && opaque; i += 4) opaque = image.rgba[i] == 255;
  int channels = opaque ? 3 : 4;
  GLenum format = opaque ? GL_RGB : GL_RGBA;
  std::vector<uint8_t> rows = textureRows(image, channels);
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  while (glGetError() != GL_NO_ERROR) {
  }
  GLuint id = 0;
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  bool fits = image.width <= largest && image.height <= largest;
  bool failed = false;
  if (fits && !(powerOfTwo(image.width) && powerOfTwo(image.height)) && anySize()) {
    buildLevels(image.width, image.height, channels, format, std::move(rows));
  } else {
    // GLU scales a size OpenGL does not take to one it does.
    failed = gluBuild2DMipmaps(GL_TEXTURE_2D, channels, image.width, image.height, format, GL_UNSIGNED_BYTE,
                               rows.data()) != 0;
  }
  if (failed || glGetError() != GL_NO_ERROR) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &id);
    return 0;
  }
  return id;
}

}  // namespace

GLuint ilutGLLoadImage(const char* fileName) {
  ImagePixels image;
  const char* failure = nullptr;
  GLuint id = 0;
  if (loadImageFile(fileName, image, &failure)) {
    id = upload(image);
    if (id == 0) failure = "OpenGL did not take it";
  }
  if (failure) fprintf(stderr, "Texture '%s' not loaded: %s.\n", fileName, failure);
  return id;
}

#include "model/gl_texture.h"

#include <GL/glu.h>

#include <cctype>
#include <cstring>
#include <string>

#include "platform/image/image.h"

// Texture files are named inside 3DS files in whatever case their tool
// wrote, and may be damaged or no files at all: ilutGLLoadImage looks them
// up ignoring case and decodes only images that pass its check.
GLuint (*GLTexture::imageLoader)(const char* fileName) = ilutGLLoadImage;

GLuint GLTexture::load(const char* fileName) {
  // The lower-cased copy, cut to its first run of characters that are not
  // double quotes when it holds any.
  std::string lower(fileName);
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (lower.find('"') != std::string::npos) {
    size_t begin = lower.find_first_not_of('"');
    if (begin == std::string::npos) {
      lower.clear();
    } else {
      size_t end = lower.find('"', begin);
      lower = lower.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    }
  }
  name = new char[lower.size() + 1];
  memcpy(name, lower.c_str(), lower.size() + 1);

  id = imageLoader(fileName);
  return id;
}

void GLTexture::bind() {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, id);
}

void GLTexture::makeSolidColor(unsigned char red, unsigned char green, unsigned char blue) {
  unsigned char image[2 * 2 * 3];
  for (int texel = 0; texel < 4; ++texel) {
    image[3 * texel] = red;
    image[3 * texel + 1] = green;
    image[3 * texel + 2] = blue;
  }
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, image);
}

// One OpenGL texture of a model's material: an image file loaded through
// the image library (ilutGLLoadImage), or a 2 x 2 texture of one colour.
#pragma once

#include <GL/gl.h>

class GLTexture {
 public:
  virtual ~GLTexture() {}  // releases nothing: textures live as long as the process

  // Loads the image file `fileName` (passed to the image loader exactly as
  // given) into a new OpenGL texture and returns its name, 0 when the image
  // cannot be loaded. `name` gets a lower-cased copy of the file name without
  // surrounding double quotes. Needs the GL context.
  GLuint load(const char* fileName);

  // glEnable(GL_TEXTURE_2D), then binds `id`. Recorded into display lists.
  void bind();

  // Makes a mipmapped 2 x 2 texture whose four texels are (red, green, blue);
  // leaves it bound and the unpack alignment at 1.
  void makeSolidColor(unsigned char red, unsigned char green, unsigned char blue);

  // The loader behind `load`: ilutGLLoadImage by default, which gives 0 for
  // a missing, damaged or unsupported image (drawn untextured) and names it on
  // standard error. Tests, the fuzz target and the benchmark put their own
  // here to run without images.
  static GLuint (*imageLoader)(const char* fileName);

  char* name;  // owned lower-cased file name, never read back; unset until load
  GLuint id;   // OpenGL texture name; unset until load or makeSolidColor
};

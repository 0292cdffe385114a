// DevIL, the image library the game was written against, as the game calls
// it: ilInit, iluInit, ilutRenderer(ILUT_OPENGL) and ilutGLLoadImage. Images
// are decoded as image_pixels.h says (SDL2_image, and readers of our own where
// it falls short), and become mipmapped OpenGL textures through GLU.
#pragma once

#include <GL/gl.h>

typedef unsigned int ILenum;
typedef unsigned char ILboolean;

// The one renderer there is.
const ILenum ILUT_OPENGL = 0;

// Starts the decoders (SDL2_image's PNG and JPEG readers, loaded once here
// rather than at the first texture). Needs no window.
void ilInit();

// DevIL's utility library, of which the game uses nothing: does nothing.
void iluInit();

// Chooses the renderer textures are made for: 1 for ILUT_OPENGL, which
// ilutGLLoadImage always makes them for; 0, changing nothing, for any other.
ILboolean ilutRenderer(ILenum renderer);

// Loads the image file `fileName` (loadImageFile: looked up ignoring case,
// checked, decoded) into a new OpenGL texture and returns its name, or 0 when
// it cannot. The texture's first row is the image's bottom row, so texture
// coordinate t = 0 is the bottom of the picture; RGB, or RGBA when a pixel is
// not opaque; mipmapped with GLU (minification GL_LINEAR_MIPMAP_NEAREST,
// magnification GL_LINEAR), its full-size level the image's own pixels at
// its own size where OpenGL takes that size. Leaves the texture bound and the
// unpack alignment at 1. A file that fails is told on standard error in one
// line, "Texture '<fileName>' not loaded: <why>.", and nothing is bound or
// created. Needs the GL context; ilInit is optional.
GLuint ilutGLLoadImage(const char* fileName);

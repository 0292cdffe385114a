// DevIL, the image library behind texture loading.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

// ilInit, iluInit, then OpenGL as ILUT's renderer. Needs the window's GL
// context, since ilutRenderer makes GL calls.
void initImageLibrary();

// Decodes the image in `bytes` into DevIL's bound image when it passes
// checkedImageType; true when it was decoded. BMPs go through decodeBmp, and a
// palette image comes out as plain RGB or RGBA (expandPaletteImage), so no
// upload ever converts a palette. When it fails and `failure` is not null,
// *failure says why in a few words. Needs ilInit only.
bool decodeImage(const uint8_t* bytes, size_t size, const char** failure = nullptr);

// Loads the image file `path` into a new OpenGL texture and returns its name,
// 0 when the file is missing, is no regular file, is larger than
// kMaxImageFileBytes, or fails decodeImage. The file is looked up ignoring
// case (openFile) and read once: DevIL decodes the checked bytes, never the
// file itself. A texture that fails is told on standard error, one line
// naming the file and why, so whoever made it can find out; the console
// (standard output) says nothing. Needs initImageLibrary.
GLuint loadTextureImage(const char* path);

// DevIL, the image library the game loaded its textures with before
// platform/image, as the peer bench_textures compares against. Only that
// benchmark links it; its calls sit in their own file because DevIL's names
// are the image library's names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// ilInit, iluInit, with images decoded top row first; once.
void devilStart();

// ilutRenderer(ILUT_OPENGL): needs the GL context.
void devilStartRenderer();

// DevIL's ilutGLLoadImage: the file decoded and uploaded, no mipmaps.
unsigned devilLoadTexture(const char* path);

// The image in `bytes` decoded by DevIL into RGBA, top row first; false when
// it refuses it.
bool devilDecode(const uint8_t* bytes, size_t size, int& width, int& height, std::vector<uint8_t>& rgba);

#include "bench/devil_peer/devil_peer.h"

// Debian's ilut.h leaves its configuration commented out.
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

void devilStart() {
  static bool started = false;
  if (started) return;
  ilInit();
  iluInit();
  ilEnable(IL_ORIGIN_SET);
  ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
  started = true;
}

void devilStartRenderer() {
  devilStart();
  ilutRenderer(ILUT_OPENGL);
}

unsigned devilLoadTexture(const char* path) { return ilutGLLoadImage(const_cast<char*>(path)); }

bool devilDecode(const uint8_t* bytes, size_t size, int& width, int& height, std::vector<uint8_t>& rgba) {
  ILuint image = ilGenImage();
  ilBindImage(image);
  bool decoded = ilLoadL(IL_TYPE_UNKNOWN, bytes, ILuint(size)) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
  if (decoded) {
    width = ilGetInteger(IL_IMAGE_WIDTH);
    height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    rgba.assign(data, data + size_t(width) * height * 4);
  }
  ilDeleteImage(image);
  return decoded;
}

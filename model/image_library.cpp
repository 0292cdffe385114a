#include "model/image_library.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <cstdio>
#include <vector>

#include "model/image_check.h"
#include "platform/os/os.h"

void initImageLibrary() {
  ilInit();
  iluInit();
  ilutRenderer(ILUT_OPENGL);
}

bool decodeImage(const uint8_t* bytes, size_t size) {
  unsigned type = checkedImageType(bytes, size);
  return type != IL_TYPE_UNKNOWN && ilLoadL(type, bytes, static_cast<ILuint>(size)) == IL_TRUE;
}

// The whole of a regular file of at most kMaxImageFileBytes.
static bool readImageFile(const char* path, std::vector<uint8_t>& bytes) {
  FILE* file = openFile(path, "rb");
  if (!file) return false;
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  bool fits = true;
  while (fits && (got = fread(chunk, 1, sizeof chunk, file)) > 0) {
    fits = bytes.size() + got <= kMaxImageFileBytes;
    if (fits) bytes.insert(bytes.end(), chunk, chunk + got);
  }
  bool whole = fits && !ferror(file);
  fclose(file);
  return whole;
}

GLuint loadTextureImage(const char* path) {
  std::vector<uint8_t> bytes;
  if (!readImageFile(path, bytes)) return 0;
  ILuint image = ilGenImage();
  ilBindImage(image);
  GLuint id = decodeImage(bytes.data(), bytes.size()) ? ilutGLBindTexImage() : 0;
  ilDeleteImage(image);
  return id;
}

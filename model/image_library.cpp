#include "model/image_library.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <cstdio>
#include <vector>

#include "model/bmp_image.h"
#include "model/byte_order.h"
#include "model/image_check.h"
#include "model/palette_image.h"
#include "platform/os/os.h"

void initImageLibrary() {
  ilInit();
  iluInit();
  ilutRenderer(ILUT_OPENGL);
}

static const char* const kDamaged = "the image is damaged";

bool decodeImage(const uint8_t* bytes, size_t size, const char** failure) {
  const char* why = nullptr;
  unsigned type = checkedImageType(bytes, size);
  if (type == IL_TYPE_UNKNOWN) {
    why = "not a BMP, JPEG, PNG, Targa, GIF or PCX image, or a damaged one";
  } else if (type == IL_BMP) {
    decodeBmp(bytes, size, &why);
  } else if (ilLoadL(type, bytes, static_cast<ILuint>(size)) != IL_TRUE) {
    why = kDamaged;
  }
  // A Targa colour map names the index of its first entry (bytes 3 and 4).
  unsigned firstIndex = type == IL_TGA ? le16(bytes + 3) : 0;
  if (!why && !expandPaletteImage(firstIndex)) why = kDamaged;
  if (failure) *failure = why;
  return !why;
}

// The whole of a regular file of at most kMaxImageFileBytes; null, or why not.
static const char* readImageFile(const char* path, std::vector<uint8_t>& bytes) {
  FILE* file = openFile(path, "rb");
  if (!file) return "not found, or not a regular file";
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  bool fits = true;
  while (fits && (got = fread(chunk, 1, sizeof chunk, file)) > 0) {
    fits = bytes.size() + got <= kMaxImageFileBytes;
    if (fits) bytes.insert(bytes.end(), chunk, chunk + got);
  }
  bool failed = ferror(file);
  fclose(file);
  return !fits ? "larger than 64 MB" : failed ? "the file cannot be read" : nullptr;
}

GLuint loadTextureImage(const char* path) {
  std::vector<uint8_t> bytes;
  const char* failure = readImageFile(path, bytes);
  GLuint id = 0;
  if (!failure) {
    ILuint image = ilGenImage();
    ilBindImage(image);
    if (decodeImage(bytes.data(), bytes.size(), &failure)) {
      id = ilutGLBindTexImage();
      if (id == 0) failure = "OpenGL did not take it";
    }
    ilDeleteImage(image);
  }
  if (failure) fprintf(stderr, "Texture '%s' not loaded: %s.\n", path, failure);
  return id;
}

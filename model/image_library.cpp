#include "model/image_library.h"

#include "platform/image/image.h"

void initImageLibrary() {
  ilInit();
  iluInit();
  ilutRenderer(ILUT_OPENGL);
}

#include "model/image_library.h"

#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

void initImageLibrary() {
  ilInit();
  iluInit();
  ilutRenderer(ILUT_OPENGL);
}

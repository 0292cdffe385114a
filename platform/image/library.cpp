#include <SDL_image.h>

#include "platform/image/image.h"

void ilInit() { IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG); }

void iluInit() {}

ILboolean ilutRenderer(ILenum renderer) { return renderer == ILUT_OPENGL; }

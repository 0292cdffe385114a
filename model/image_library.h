// DevIL, the image library behind texture loading.
#pragma once

// ilInit, iluInit, then OpenGL as ILUT's renderer. Needs the window's GL
// context, since ilutRenderer makes GL calls.
void initImageLibrary();

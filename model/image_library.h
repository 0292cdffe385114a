// The image library behind texture loading (platform/image: DevIL's calls).
#pragma once

// ilInit, iluInit, then OpenGL as ILUT's renderer: the image library's
// start-up, as the game's scene set-up does it.
void initImageLibrary();

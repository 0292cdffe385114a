// Palette images made plain before OpenGL sees them. DevIL's own conversion,
// run when ilutGLBindTexImage uploads a palette image, trusts every index to
// name an entry of the palette: a PNG listing 17 colours with indices up to
// 255, or a BMP whose pixels name colours it does not list, make it read past
// the palette. It also ignores where a Targa colour map starts, so a map of
// entries 39 to 110 gives wrong colours and is read past its end.
#pragma once

// Turns DevIL's bound image, when it is a palette image, into plain RGB
// (RGBA when its palette has alpha), bottom row first. Pixel index i takes the
// palette's entry i - firstIndex; an index with no entry gives opaque black.
// Other images are left as they are. False, with the image unchanged, when a
// palette image holds fewer than one byte per pixel or DevIL refuses the copy.
bool expandPaletteImage(unsigned firstIndex);

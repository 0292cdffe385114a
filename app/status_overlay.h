// The console's status drawn in the window too, for a player with no console
// (a game started from the desktop's menu): the status line in the top-left
// corner every frame, and the controls list under it until the first input.
#pragma once

// Draws the status line (red while `touching`) when `statusShown`, then the
// controls list while `controlsListShown`; a pressed Wii Remote button ends
// the controls list first. Text in GLUT's 8 x 13 bitmap font, drawn under an
// orthographic projection over the viewport with lighting, texturing, depth
// test and fog off. Every OpenGL state it changes (enables, current colour,
// raster position, matrix mode and both matrices) is as found on return.
void drawStatusOverlay(bool touching);

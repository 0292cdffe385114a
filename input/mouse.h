// The mouse: ship steering in the chase camera, and the free camera's
// rotation, zoom and pan.
#pragma once

void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);

// Keyboard and special keys. Any key, even one with no effect of its own,
// ends the controls list shown in the window at start-up.
#pragma once

void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);

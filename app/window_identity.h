// What ties the game's window to its desktop entry: its class and its icon.
#pragma once

// Gives the current window, the game's, the class "vekotra",
// "Vekotra" (WM_CLASS, which desktop entries name as StartupWMClass) and the
// icon images found in the data folder (_NET_WM_ICON). An icon file that is
// missing or cannot be decoded is left out; with none the window simply has
// no icon of its own. Needs the window's GL context current and ilInit.
// freeglut maps the window inside glutCreateWindow, with no hook between
// making and mapping it and no class of its own, so the class comes just
// after the map: window managers that read it only at the map miss it.
void identifyWindow();

#pragma once
// Pixels at the resolution a window is shown at. Sizes in our controls are given
// for 96 dots per inch and scaled with these.

#include <windows.h>

namespace ui {

// The window's DPI where the system knows it per window, else the screen's.
UINT DpiOf(HWND hwnd);
int Scale(HWND hwnd, int pixelsAt96);

}  // namespace ui

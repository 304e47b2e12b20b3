// Real mouse and keyboard input, injected as a user would give it.
#pragma once

#include <windows.h>

void MoveMouseTo(POINT screen);
void PressLeftButton();
void ReleaseLeftButton();
void PressRightButton();
void ReleaseRightButton();
void PressKey(WORD virtualKey);
void ReleaseKey(WORD virtualKey);
POINT CenterOf(HWND window);
// The window holding the mouse capture in `window`'s thread, if any. Wine routes
// input when it is given, so a drag must wait for the press to take the capture.
HWND CaptureOf(HWND window);
COLORREF ScreenPixel(POINT screen);

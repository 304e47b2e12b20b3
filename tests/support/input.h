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
COLORREF ScreenPixel(POINT screen);

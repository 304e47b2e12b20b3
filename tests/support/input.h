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
// The window holding the mouse capture in `window`'s thread, if any.
HWND CaptureOf(HWND window);
// The active window of `window`'s thread: set only once that thread has taken the
// activation, which under Wine comes to it as a posted message.
HWND ActiveOf(HWND window);
// Moves to `at`, presses the left button and waits until `window` holds the mouse
// capture: Wine routes each input when it is given, so a drag's moves must wait for
// the press to have taken effect.
bool PressLeftButtonOn(HWND window, POINT at);
COLORREF ScreenPixel(POINT screen);

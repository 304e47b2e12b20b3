#pragma once
// Making, showing or activating a window of ours moves the focus of our input, and
// that waits on the program whose window has it, which may hang. Every such step
// goes through here, and so through the one guard the program sets (hosted programs
// that do not answer leave our input first).

#include <windows.h>

namespace ui {

using ActivationGuard = void (*)();
void SetActivationGuard(ActivationGuard guard);

// Runs the guard; for a step of ours that this file has no call for.
void GuardActivation();
int GuardedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
void GuardedShowWindow(HWND window, int command);
void GuardedSetForegroundWindow(HWND window);

}  // namespace ui

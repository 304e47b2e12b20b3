#pragma once
// Hosted windows share our input, so that a click in one gives it the keyboard. The
// price: moving the focus or the active window, which making or showing a window of
// our own does, waits on the program whose window has the focus. Before we do, a
// program there that does not answer leaves our input; it joins again once it answers.

#include <windows.h>

#include <vector>

namespace hosting {

// Our input joins the input of the window's thread (a window just taken in).
void ShareInput(HWND window);
// Before our thread makes, shows or activates a window of its own.
void LeaveHungInput();
// Each capture tick: a thread that left asks to join again, and does once it answers.
void RejoinAnsweringInput();
// After the hosted windows changed: our input parts from the threads none of whose
// windows is hosted any more.
void KeepInputOf(const std::vector<HWND>& hosted);

}  // namespace hosting

#pragma once
// Asking another program whether it answers, by sending its window a message that
// does nothing. Sent with a timeout or with a callback: never waited for without end,
// since the program may hang.

#include <windows.h>

namespace hosting {

// Whether the window's thread answers soon (within 100 ms); one that is busy or hung
// is left alone for now. A thread that did not answer counts as silent without being
// asked again for up to a second, or until it answers the probe sent meanwhile.
bool Answers(HWND window);
// A window that has just answered a probe (the one sent when it appeared) needs no
// second probe while it is being taken in.
void NoteAnswered(HWND window);
bool AnsweredJustNow(HWND window);

// Asks without waiting: `answered` is called on our thread, with `data`, once the
// window's program has answered, perhaps in the middle of any wait of ours. False
// when the window is gone.
bool Probe(HWND window, SENDASYNCPROC answered, ULONG_PTR data);
// The same, with the answer posted to `owner` as `message` with `wParam`: handled from
// the owner's message loop, never inside what was going on when it came. An answer
// that comes once the owner went (ForgetProbesFor) is dropped.
bool ProbeAndPost(HWND window, HWND owner, UINT message, WPARAM wParam);
void ForgetProbesFor(HWND owner);

}  // namespace hosting

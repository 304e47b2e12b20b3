#pragma once
// Tells the capturing control at once when a window is created or shown anywhere on
// the desktop, so that a viewer window is taken in without waiting for the next full
// enumeration. The system calls us back out of context, on our own thread, whenever
// it looks for messages; the callback only posts the window to the control, which
// decides what to do with it.

#include <windows.h>

namespace hosting {

// Posted to the control; wParam is the window that was created or shown.
inline constexpr UINT WM_VANTREL_WINDOW_APPEARED = WM_APP + 0x30;

class WindowEvents {
public:
    // Whether the environment leaves the events on: VANTREL_POLL_ONLY=1, read once at
    // start, turns them off and the capture cycle enumerates on every tick instead.
    static bool Wanted();
    // Starts reporting to `target`; false when the system would not listen, in which
    // case the caller polls. One target at a time: a second start moves the reports.
    static bool Start(HWND target);
    static void Stop();
    static bool Active();
};

}  // namespace hosting

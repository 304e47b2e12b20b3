#pragma once
// What a window taskbar asks of the container frames around it: its own frame,
// the main frame, and the main frame's registry of the others. The frame
// implements it, so the hosting layer never needs the frame's class.

#include <windows.h>

#include <string>

namespace hosting {

class CWindowCtrl;

class HostFrame {
public:
    virtual HWND FrameHwnd() const = 0;
    // The main frame, or null in a second copy of the program, which has none.
    virtual HostFrame* MainHostFrame() = 0;
    virtual CWindowCtrl& HostCtrl() = 0;
    // The registry of this frame (only the main frame's has entries): the count
    // prunes first, the title of a position, the frame at a position (null past
    // the end).
    virtual unsigned HostFrameCount() = 0;
    virtual std::wstring HostFrameTitle(unsigned position) = 0;
    virtual HostFrame* HostFrameAt(unsigned position) = 0;
    virtual bool IsHostedElsewhere(HWND window) = 0;
    // New Window on this frame; at its limit it says so and makes none.
    virtual void NewWindow() = 0;
    // The frame's taskbar has a button for the window now: captured, or handed over
    // by another frame.
    virtual void OnWindowRecorded(HWND window, bool handed) {
        (void)window;
        (void)handed;
    }

protected:
    ~HostFrame() = default;
};

}  // namespace hosting

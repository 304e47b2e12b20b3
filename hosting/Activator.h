#pragma once
// Bringing a hosted window forward moves the focus through the input that hosted
// windows share with us, and so waits on their programs: a viewer that hangs right
// after answering would hold our message loop for as long as it hangs. A worker
// thread attached to our input does it instead. Only the newest request counts: one
// made while the worker waits replaces any that waits behind it. The worker ends
// after a while with nothing to do and the next request starts another: under Wine
// a live thread costs two megabytes of committed memory.

#include <windows.h>

#include <atomic>

namespace hosting {

class Activator {
public:
    enum class Kind {
        Foreground,  // the foreground window of the system, raised among its siblings
        Active,      // the active window of our input, raised among its siblings
        Focus,       // the keyboard focus of our input, nothing raised
    };

    static Activator& Instance();
    // Returns at once; false when no worker could be had (the caller does it itself).
    bool Request(HWND window, Kind kind);
    // Counts finished requests, so that the capture cycle can look at the z-order
    // once one has moved something.
    unsigned Finished() const;
    // The worker's thread, which shares our input from its start; 0 while none runs.
    DWORD Thread() const { return m_workerThread; }

private:
    Activator() = default;
    static DWORD WINAPI Work(void* self);
    bool Start();

    CRITICAL_SECTION m_lock{};
    CONDITION_VARIABLE m_wake{};
    bool m_running = false;  // a worker lives, or is on its way; under m_lock
    std::atomic<bool> m_failed{false};
    DWORD m_uiThread = 0;
    std::atomic<DWORD> m_workerThread{0};
    HWND m_window = nullptr;  // waiting to be brought forward, or null
    Kind m_kind = Kind::Foreground;
    volatile LONG m_finished = 0;
};

}  // namespace hosting

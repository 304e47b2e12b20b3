// Control channel of the sample viewer, shared by the viewer and the tests
// that drive it.
//
// The viewer keeps a hidden top-level window of class kControlClass titled
// "ctl:<pid>". A test finds it by class and title and sends it WM_COPYDATA:
// dwData is a Command, lpData the argument as UTF-16 text (cbData in bytes; a
// trailing NUL may be included or not). The result is the LRESULT of the send.
//
// Window handles travel as unsigned decimal text.
//
// Window class names are case-insensitive within a process and the first
// spelling registered wins, so one viewer process can hold only one spelling
// of a name. To get windows whose class differs in letter case, start a viewer
// with "--class <spelling>".
//
// This header is plain C++ so that both sides, and the tests of the parsing,
// can use it without <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace viewer_protocol {

constexpr const wchar_t* kControlClass = L"VantrelSampleViewerControl";
constexpr const wchar_t* kControlTitlePrefix = L"ctl:";
constexpr const wchar_t* kDocumentClass = L"AcrobatSDIWindow";

// Odd values, so that a stray WM_COPYDATA with a small dwData is not taken
// for a command.
enum Command : std::uint32_t {
    // "title" or "class|title"; an empty class means the viewer's current one.
    // Result: the new window's handle, 0 on failure.
    kOpen = 0x5601,
    // "hwnd|name": renames the document. The title is the name, followed by
    // " *" while the document is modified. Result 1, or 0 for a window that is
    // not one of the viewer's documents (the same holds for the commands below).
    kSetTitle = 0x5602,
    // "hwnd": marks the document modified, so that closing it asks first.
    kMarkModified = 0x5603,
    // "hwnd": posts WM_CLOSE, so the result arrives before any question is asked.
    kClose = 0x5604,
    // "hwnd": destroys the window without asking.
    kDestroy = 0x5605,
    // "": result 1, then the viewer ends its message loop and exits with 0.
    kQuit = 0x5606,
    // "milliseconds" (decimal): result 1 at once; then the viewer's only thread
    // sleeps that long, so none of its windows answers messages meanwhile, as
    // a busy or hung viewer would. Result 0 for anything but 1 to 600000.
    kHang = 0x5607,
    // "title" or "class|title", as kOpen, but the window stays hidden whatever the
    // viewer's options say. Result: the new window's handle, 0 on failure.
    kOpenHidden = 0x5609,
    // "hwnd": shows a document (SW_SHOWNORMAL). Result 1.
    kShow = 0x560B,
    // "title": creates a document and destroys it straight away, before the command
    // returns. Result: the handle it had, which names no window any more.
    kOpenAndDestroy = 0x560D,
    // "count|prefix": opens count (1 to 100) documents one right after the other in
    // this one command, titled "prefix 1", "prefix 2"... Result: how many opened.
    kOpenBurst = 0x560F,
    // "hwnd": how a document of this viewer that is gone came to its end, one of
    // DocumentEnd; kStillOpen as well for a handle that never was a document of
    // ours, or whose end is too long ago (the last 10000 are kept).
    kHowEnded = 0x5608,
    // "hwnd": the QueryPerformanceCounter reading taken right before the document's
    // CreateWindowEx (the counter is the same in every process). Result 0 for a
    // window that is not one of the viewer's open documents.
    kCreatedAt = 0x5611,
    // "hwnd": the reading once the document's window was made and shown, when the
    // viewer is free to answer messages again; 0 as above.
    kReadyAt = 0x5612,
};

enum DocumentEnd : int {
    kStillOpen = 0,
    kClosed = 1,           // answered a WM_CLOSE, from whomever, by closing
    kDestroyedOnRequest = 2,  // kDestroy
    // Destroyed without either, for instance along with a window of another
    // program that it had been put into: a document lost.
    kDestroyedOtherwise = 3,
};

inline std::wstring ControlTitle(unsigned long pid) {
    return kControlTitlePrefix + std::to_wstring(pid);
}

inline std::wstring HandleText(std::uint64_t handle) {
    return std::to_wstring(handle);
}

// Parses a handle written by HandleText. Anything but 1 to 20 decimal digits
// that fit in 64 bits is rejected, so that a malformed argument never names
// a window by accident.
inline bool ParseHandle(const std::wstring& text, std::uint64_t& handle) {
    if (text.empty() || text.size() > 20)
        return false;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    handle = value;
    return true;
}

// Parses the duration of kHang: decimal digits only, 1 to 600000 ms (ten
// minutes), so that a typo cannot freeze a viewer for good.
inline bool ParseMilliseconds(const std::wstring& text, unsigned long& milliseconds) {
    constexpr unsigned long kMax = 600000;
    if (text.empty() || text.size() > 6)
        return false;
    unsigned long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - L'0');
    }
    if (value == 0 || value > kMax)
        return false;
    milliseconds = value;
    return true;
}

// An argument of the form "head|rest", split at the first bar; the rest may
// hold further bars. Without a bar, hasBar is false and rest is the whole text.
struct BarArgument {
    bool hasBar = false;
    std::wstring head;
    std::wstring rest;
};

inline BarArgument SplitAtBar(const std::wstring& text) {
    BarArgument result;
    const std::size_t bar = text.find(L'|');
    if (bar == std::wstring::npos) {
        result.rest = text;
        return result;
    }
    result.hasBar = true;
    result.head = text.substr(0, bar);
    result.rest = text.substr(bar + 1);
    return result;
}

}  // namespace viewer_protocol

#pragma once
// The frames' window messages: from a second copy of the program, and the test hooks
// (frame/TestHooks).

#include <windows.h>

// Sent by a second copy of the program to the running main frame: show every frame.
inline constexpr UINT WM_VANTREL_SHOW_ALL_FRAMES = WM_APP + 1;
// Posted by the main frame to itself once it has first shown: what the program has to
// say at start comes once the frame is up.
inline constexpr UINT WM_VANTREL_SHOWN = WM_APP + 2;
// Test builds only answer this when VANTREL_TEST_HOOKS=1 was set at start: wParam
// picks a way to die, so that tests can prove hosted windows survive a crash.
inline constexpr UINT WM_VANTREL_TEST_CRASH = WM_APP + 0x100;
enum class TestCrash : WPARAM { AccessViolation = 1, Terminate = 2, Abort = 3 };
// Test hook as well: describes a menu item of the frame, as the menu shows it when
// it opens. wParam: low word the item's position, high word 0 for the system menu
// or n for the n-th popup of the menu bar. The result is -1 past the end, else the
// item's id in the low 32 bits, a global atom holding its text in bits 32-47 (the
// caller deletes it), bit 48 set when checked, bit 49 when greyed.
// High word 0x8000 reads the per-window menu of the frame's taskbar as it would open,
// 0x8001 its "Move to" submenu, 0x8002 the tray menu as it would open now.
inline constexpr UINT WM_VANTREL_TEST_MENU_ITEM = WM_APP + 0x101;
inline constexpr int kTestWindowMenu = 0x8000;
inline constexpr int kTestMoveToMenu = 0x8001;
inline constexpr int kTestSystrayMenu = 0x8002;
// High word 0x4000 | path: a submenu of the menu bar, the path's hexadecimal
// digits being the popup of the bar (from 1), then positions within each
// submenu: 0x4226 is the third item's submenu (position 2) of the second
// popup, then that submenu's seventh (position 6).
inline constexpr int kTestMenuPath = 0x4000;
// Test hook as well, sent to the main frame: wParam picks a count (TestCount), the
// result is its value.
inline constexpr UINT WM_VANTREL_TEST_COUNT = WM_APP + 0x102;
enum class TestCount : WPARAM {
    Cycles = 0,               // capture cycles run by the main frame
    Enumerations = 1,         // of them, the ones that enumerated every top-level window
    TakenFromEvents = 2,      // windows captured as the system announced them
    TakenByEnumeration = 3,   // windows captured by an enumeration
    EventsActive = 4,         // 1 while window events are reported, 0 when polling only
    UserObjects = 5,          // the process's USER objects (windows and menus where unreported)
    GdiObjects = 6,           // the process's GDI objects
    // Where the captures' time went: records added, then sums of microseconds.
    Records = 7,
    SetParentMicros = 8,      // the answer checks before re-parenting included
    AttachMicros = 9,
    ShowMicros = 10,
    ButtonMicros = 11,
    LayoutMicros = 12,
    CaptionMicros = 13,       // first caption and tooltip, in the cycle after capture
    ProbeMicros = 14,         // of SetParentMicros, the answer checks
    CutShort = 15,            // cycles that stopped before their last record
    Workers = 16,             // worker threads alive, busy or idle
    BusyWorkers = 17,         // of them, the ones still in a call (waiting on a program)
};
// Test hook as well, sent to any frame: what its button wParam (a window handle)
// stands for. lParam 0: the hosted window of its record, 0 when no record has it;
// lParam 1: bits for the record found (1), moved (2), fresh (4), and for the frame's
// taskbar: released (8), cycling (16), in a cycle now (32), letting go (64);
// lParam 2: the window as the frame sees it: alive (1), in its host view (2), with a
// title (4); lParam 3: the record's index; lParam 4: the clock's tick count; lParam 5:
// the frame's cycle that last looked at the record; lParam 6: the frame's records.
inline constexpr UINT WM_VANTREL_TEST_BUTTON_RECORD = WM_APP + 0x103;
// Test hook as well: the frame writes wParam lines to the log, as fast as it can,
// and answers how many microseconds that took its thread.
inline constexpr UINT WM_VANTREL_TEST_LOG = WM_APP + 0x104;

#pragma once
// What the end-to-end tests may ask of a frame, and only when the program was
// started with VANTREL_TEST_HOOKS=1: a longer wait before the first start-up
// tick, a crash on demand, and menus described as they would open (menus are not
// readable from another process everywhere). See frame/FrameMessages.h for the messages.

#include <windows.h>

namespace hosting {
class CWindowCtrl;
}

namespace testhooks {

// Whether this process answers the test messages.
bool Enabled();
// The start-up tick's period: VANTREL_TEST_STARTUP_MS when the hooks are on and
// it is sensible, else `normal`.
UINT StartupElapse(UINT normal);
// How a frame's creation is made to fail: VANTREL_TEST_FAIL_FRAME "create" (the
// window exists, then its creation fails) or "register" (no window is ever made).
enum class FrameFailure { None, Create, Register };
FrameFailure FrameCreationFailure();
// Ends the process the way `kind` (a TestCrash) says.
void Crash(WPARAM kind);
// The submenu that `path` names (see kTestMenuPath), or null.
HMENU MenuAtPath(HMENU menuBar, int path);
// The answer to WM_VANTREL_TEST_MENU_ITEM for the item at `position` of `menu`.
LRESULT DescribeMenuItem(HMENU menu, int position);
// This process's USER or GDI objects, counted by hand where the system does not say.
LRESULT UserObjects();
LRESULT GdiObjects();
// The answers to WM_VANTREL_TEST_COUNT and WM_VANTREL_TEST_BUTTON_RECORD for a
// frame's window taskbar.
LRESULT Count(hosting::CWindowCtrl& control, WPARAM which);
LRESULT ButtonRecord(hosting::CWindowCtrl& control, HWND button, LPARAM what);
// The answer to WM_VANTREL_TEST_LOG.
LRESULT LogLines(WPARAM count);

}  // namespace testhooks

#include "frame/TestHooks.h"

#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "frame/FrameMessages.h"
#include "ui/OwnerDrawMenu.h"

namespace testhooks {

bool Enabled() {
    static const bool enabled = [] {
        const char* hooks = std::getenv("VANTREL_TEST_HOOKS");
        return hooks != nullptr && std::string(hooks) == "1";
    }();
    return enabled;
}

UINT StartupElapse(UINT normal) {
    const char* delay = Enabled() ? std::getenv("VANTREL_TEST_STARTUP_MS") : nullptr;
    const long ms = delay != nullptr ? std::strtol(delay, nullptr, 10) : 0;
    return ms > 0 && ms < 60000 ? static_cast<UINT>(ms) : normal;
}

FrameFailure FrameCreationFailure() {
    const char* failure = Enabled() ? std::getenv("VANTREL_TEST_FAIL_FRAME") : nullptr;
    if (failure == nullptr) return FrameFailure::None;
    const std::string_view text(failure);
    return text == "create" ? FrameFailure::Create : text == "register" ? FrameFailure::Register : FrameFailure::None;
}

void Crash(WPARAM kind) {
    if (!Enabled()) return;
    switch (static_cast<TestCrash>(kind)) {
    case TestCrash::AccessViolation: ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr); break;
    case TestCrash::Terminate: std::terminate();
    case TestCrash::Abort: std::abort();
    }
}

HMENU MenuAtPath(HMENU menuBar, int path) {
    int digits[4] = {};
    int count = 0;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const int digit = (path >> shift) & 0xF;
        if (count == 0 && digit == 0) continue;
        digits[count++] = digit;
    }
    if (count == 0 || menuBar == nullptr) return nullptr;
    HMENU menu = ::GetSubMenu(menuBar, digits[0] - 1);
    for (int i = 1; i < count && menu != nullptr; ++i) menu = ::GetSubMenu(menu, digits[i]);
    return menu;
}

LRESULT DescribeMenuItem(HMENU menu, int position) {
    if (!Enabled() || menu == nullptr || position >= ::GetMenuItemCount(menu)) return -1;
    // An atom holds at most 255 characters.
    const std::wstring text = ui::ownerdraw::ItemText(menu, static_cast<UINT>(position)).substr(0, 255);
    const ATOM atom = !text.empty() ? ::GlobalAddAtomW(text.c_str()) : 0;
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    const UINT id = ::GetMenuItemID(menu, position);
    return static_cast<LRESULT>(id) | (static_cast<LRESULT>(atom) << 32) |
           ((state & MF_CHECKED) ? (1LL << 48) : 0) | ((state & MF_GRAYED) ? (1LL << 49) : 0);
}

}  // namespace testhooks

namespace testhooks {
namespace {
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<LRESULT*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<LRESULT*>(count);
    // Hosted windows of other programs are children too, but not ours.
    ::EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM n) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(child, &owner);
            return owner == ::GetCurrentProcessId() ? CountChild(child, n) : TRUE;
        },
        count);
    return TRUE;
}

// Some systems (Wine among them) answer GetGuiResources with 0. Their handle tables
// still answer for 16-bit handle values, which name every live object by its index.
constexpr UINT_PTR kFirstUserHandle = 0x20, kLastUserHandle = 0xFFEF, kGdiHandles = 0x10000;
}  // namespace

LRESULT UserObjects() {
    if (!Enabled()) return -1;
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) return reported;
    LRESULT count = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR h = kFirstUserHandle; h <= kLastUserHandle; h += 2) {
        if (::IsMenu(reinterpret_cast<HMENU>(h))) ++count;
    }
    return count;
}

LRESULT GdiObjects() {
    if (!Enabled()) return -1;
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return reported;
    LRESULT count = 0;
    for (UINT_PTR h = 1; h < kGdiHandles; ++h) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++count;
    }
    return count;
}

}  // namespace testhooks

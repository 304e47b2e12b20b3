#include "frame/TestHooks.h"

#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "core/Log.h"
#include "frame/FrameMessages.h"
#include "frame/MainFrame.h"
#include "hosting/Win32Desktop.h"
#include "hosting/WindowCtrl.h"
#include "hosting/WindowEvents.h"
#include "hosting/Workers.h"
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
    // As a reader gets it from the menu itself, owner-drawn or not; an atom holds at
    // most 255 characters.
    wchar_t read[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), read, 256, MF_BYPOSITION);
    const std::wstring text = read;
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

LRESULT Count(hosting::CWindowCtrl& control, WPARAM which) {
    if (!Enabled()) return -1;
    const vantrel::CaptureCounts& counts = control.Engine().Counts();
    switch (static_cast<TestCount>(which)) {
    case TestCount::Cycles: return counts.cycles;
    case TestCount::Enumerations: return counts.enumerations;
    case TestCount::TakenFromEvents: return counts.takenFromOffers;
    case TestCount::TakenByEnumeration: return counts.takenByEnumeration;
    case TestCount::EventsActive: return hosting::WindowEvents::Active() ? 1 : 0;
    case TestCount::UserObjects: return UserObjects();
    case TestCount::GdiObjects: return GdiObjects();
    case TestCount::Records: return counts.records;
    case TestCount::SetParentMicros: return static_cast<LRESULT>(counts.setParentMicros);
    case TestCount::AttachMicros: return static_cast<LRESULT>(counts.attachMicros);
    case TestCount::ShowMicros: return static_cast<LRESULT>(counts.showMicros);
    case TestCount::ButtonMicros: return static_cast<LRESULT>(counts.buttonMicros);
    case TestCount::LayoutMicros: return static_cast<LRESULT>(counts.layoutMicros);
    case TestCount::CaptionMicros: return static_cast<LRESULT>(counts.captionMicros);
    case TestCount::ProbeMicros: return static_cast<LRESULT>(hosting::Win32Desktop::ProbeMicros());
    case TestCount::CutShort: return counts.cutShort;
    case TestCount::Workers: return static_cast<LRESULT>(hosting::LiveWorkers());
    case TestCount::BusyWorkers: return static_cast<LRESULT>(hosting::BusyWorkers());
    }
    return -1;
}

LRESULT ButtonRecord(hosting::CWindowCtrl& control, HWND button, LPARAM what) {
    if (!Enabled()) return -1;
    const vantrel::HostedWindowRecord* record = control.RecordOfButton(button);
    if (what == 0) return record != nullptr ? static_cast<LRESULT>(record->hWnd) : 0;
    if (what == 2) {
        // How the record's window looks from here: alive (1), in the host view (2), with a title (4).
        if (record == nullptr) return 0;
        HWND window = reinterpret_cast<HWND>(record->hWnd);
        wchar_t title[8] = {};
        return (::IsWindow(window) ? 1 : 0) |
               (::GetAncestor(window, GA_PARENT) == reinterpret_cast<HWND>(control.Engine().HostView()) ? 2 : 0) |
               (::InternalGetWindowText(window, title, 8) > 0 ? 4 : 0);
    }
    if (what == 3) return record != nullptr ? record - control.Windows().data() : -1;
    if (what == 4) return static_cast<LRESULT>(hosting::CWindowCtrl::Tick());
    if (what == 5) return record != nullptr ? static_cast<LRESULT>(record->nVisited) : -1;
    if (what == 6) return static_cast<LRESULT>(control.Windows().size());
    LRESULT bits = 0;
    if (record != nullptr) bits |= 1 | (record->bMoved ? 2 : 0) | (record->bFresh ? 4 : 0);
    if (control.Engine().IsReleased()) bits |= 8;
    if (control.IsCycling()) bits |= 16;
    if (control.IsInCycle()) bits |= 32;
    if (control.IsLettingGo()) bits |= 64;
    return bits;
}

LRESULT LogLines(WPARAM count) {
    if (!Enabled()) return -1;
    LARGE_INTEGER start{}, end{}, frequency{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (WPARAM i = 0; i < count; ++i) vantrel::Log("test: line %llu of %llu", static_cast<unsigned long long>(i + 1),
                                                    static_cast<unsigned long long>(count));
    ::QueryPerformanceCounter(&end);
    return static_cast<LRESULT>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}

}  // namespace testhooks

// Asked of the frame itself: the menus are built and updated as they are when they open.
LRESULT CMainFrame::OnTestMenuItem(WPARAM which) {
    if (!testhooks::Enabled()) return -1;
    const int position = LOWORD(which);
    const int kind = HIWORD(which);
    ui::PopupMenu built;  // a menu made for the occasion goes when we return
    HMENU menu = nullptr;
    if (kind == kTestWindowMenu || kind == kTestMoveToMenu) {
        built = WindowCtrl().BuildWindowMenu();
        menu = built && kind == kTestMoveToMenu ? ::GetSubMenu(built.Handle(), 0) : built.Handle();
    } else if (kind == kTestSystrayMenu) {
        built = m_app.Frames().Tray().BuildMenu();
        menu = built.Handle();
    } else if ((kind & kTestMenuPath) != 0) {
        menu = testhooks::MenuAtPath(m_wndMenuBar.Handle(), kind & ~kTestMenuPath);
        if (menu != nullptr) OnInitMenuPopup(menu, false);
    } else {
        menu = kind == 0 ? ::GetSystemMenu(Hwnd(), FALSE) : ::GetSubMenu(m_wndMenuBar.Handle(), kind - 1);
        if (menu != nullptr) OnInitMenuPopup(menu, kind == 0);
    }
    return testhooks::DescribeMenuItem(menu, position);
}

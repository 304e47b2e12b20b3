#include "hosting/Responsiveness.h"
#include "hosting/WindowCtrl.h"

#include <algorithm>

#include "hosting/HostedSnapshot.h"
#include "hosting/Probe.h"
#include "hosting/SharedInput.h"
#include "hosting/Win32Desktop.h"
#include "hosting/WindowEvents.h"
#include "resource.h"
#include "ui/Look.h"
#include "ui/OwnerDrawMenu.h"

namespace hosting {
namespace {
// Letting go: how often windows that went meanwhile are forgotten and those that
// would not leave are asked again.
const UINT kLetGoElapse = 250;
}  // namespace

std::vector<CWindowCtrl*>& CWindowCtrl::LiveControls() {
    static std::vector<CWindowCtrl*> controls;
    return controls;
}

bool CWindowCtrl::IsLive(const CWindowCtrl* control) {
    const auto& controls = LiveControls();
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

CWindowCtrl::CWindowCtrl(vantrel::Desktop& desktop, vantrel::Settings& settings)
    : m_desktop(desktop), m_settings(settings), m_engine(desktop, *this, *this) {
    LiveControls().push_back(this);
}

CWindowCtrl::~CWindowCtrl() {
    auto& controls = LiveControls();
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
    ForgetProbesFor(Hwnd());
    LeaveClock();
    if (m_background != nullptr) ::DeleteObject(m_background);
}

bool CWindowCtrl::Create(HWND parent, UINT id) {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr || !Subclass(hwnd)) return false;
    m_background = ::CreateSolidBrush(ui::Look::Current().TaskbarBackground());
    m_nElapse = vantrel::kCaptureElapse;
    return true;
}

std::vector<HWND> CWindowCtrl::OwnWindows() const {
    std::vector<HWND> windows;
    for (const auto& record : m_engine.Windows()) {
        if (!record.bMoved) windows.push_back(reinterpret_cast<HWND>(record.hWnd));
    }
    return windows;
}

bool CWindowCtrl::ReleaseAllWindows() {
    const std::vector<HWND> released = OwnWindows();
    const bool all = m_engine.ReleaseAllWindows();
    PublishSnapshot();
    AnnounceReleased(released);
    return all;
}

void CWindowCtrl::LetGoOfWindows() {
    if (m_bLettingGo) return;
    StopCapture();
    m_bLettingGo = true;
    // A timer that cannot be had leaves the answers alone to finish the job; a window
    // whose program dies before answering then stays with the frame until its end.
    ::SetTimer(Hwnd(), kLetGoTimerId, kLetGoElapse, nullptr);
    OnLetGoTick();
}

void CWindowCtrl::OnLetGoTick() {
    m_engine.LetGoTick();
    PublishSnapshot();
    FinishLettingGoWhenEmpty();
}

void CWindowCtrl::FinishLettingGoWhenEmpty() {
    if (!m_bLettingGo || !m_engine.LetGoDone() || m_pOwnerFrame == nullptr) return;
    ::KillTimer(Hwnd(), kLetGoTimerId);
    ::PostMessageW(m_pOwnerFrame->FrameHwnd(), WM_VANTREL_WINDOWS_LET_GO, 0, 0);
}

// The system announces no window that leaves a closing frame: the capturing frame
// hears of them from us, in button order, and takes them in at once. A frame that
// has stopped capturing (the session ends, the program exits) hears nothing.
void CWindowCtrl::AnnounceReleased(const std::vector<HWND>& windows) {
    for (CWindowCtrl* control : LiveControls()) {
        if (control == this || !control->m_bCycling || !control->m_engine.Captures()) continue;
        for (HWND window : windows)
            ::PostMessageW(control->Hwnd(), WM_VANTREL_WINDOW_APPEARED, reinterpret_cast<WPARAM>(window), 0);
    }
}

void CWindowCtrl::PublishSnapshot() {
    static unsigned published = ~0u;
    unsigned generation = static_cast<unsigned>(LiveControls().size());
    for (const CWindowCtrl* control : LiveControls()) generation += control->m_engine.Generation();
    if (generation == published) return;
    published = generation;
    std::vector<snapshot::Entry> entries;
    std::vector<HWND> hosted;
    for (const CWindowCtrl* control : LiveControls()) {
        const HWND hostView = reinterpret_cast<HWND>(control->m_engine.HostView());
        for (const auto& record : control->m_engine.Windows()) {
            entries.push_back({reinterpret_cast<HWND>(record.hWnd), hostView, false});
            hosted.push_back(reinterpret_cast<HWND>(record.hWnd));
        }
        for (const auto& journey : control->m_engine.JourneyList().All()) {
            if (journey.kind != vantrel::JourneyKind::HandBack)
                entries.push_back({reinterpret_cast<HWND>(journey.window), hostView, true});
        }
    }
    snapshot::Publish(entries);
    KeepInputOf(hosted);
    WatchPrograms(hosted);
}

void CWindowCtrl::ReleaseEverywhereNow() {
    static snapshot::Entry entries[2048];
    const std::size_t count = snapshot::Read(entries, 2048);
    // Every window in a host view of ours goes back; a window on its way in is given
    // a moment to arrive (its program may be just letting it in), then goes back too.
    const ULONGLONG deadline = ::GetTickCount64() + kCrashArrivalWait;
    for (std::size_t i = 0; i < count; ++i) {
        const snapshot::Entry& entry = entries[i];
        if (entry.onItsWay) {
            while (::IsWindow(entry.window) && ::GetAncestor(entry.window, GA_PARENT) != entry.hostView &&
                   ::GetTickCount64() < deadline)
                ::Sleep(10);
        }
        if (::IsWindow(entry.window) && ::GetAncestor(entry.window, GA_PARENT) == entry.hostView)
            ::SetParent(entry.window, ::GetDesktopWindow());
    }
}

void CWindowCtrl::HandBackEverywhere() {
    // Copied: handing a window back lets sent messages in, and controls may come and go then.
    const std::vector<CWindowCtrl*> controls = LiveControls();
    for (CWindowCtrl* control : controls) {
        if (!IsLive(control)) continue;
        control->StopCapture();
        const std::vector<HWND> windows = control->OwnWindows();
        control->m_handedBack.insert(control->m_handedBack.end(), windows.begin(), windows.end());
        control->m_engine.ReleaseAllWindows();
    }
}

void CWindowCtrl::TakeBackEverywhere() {
    // Copied: taking a window in waits on its program, and controls may come and go then.
    const std::vector<CWindowCtrl*> controls = LiveControls();
    for (CWindowCtrl* control : controls) {
        if (!IsLive(control) || !control->Exists()) continue;
        if (control->m_bLettingGo) continue;  // its frame is closing: the main frame takes them
        const std::vector<HWND> windows = std::move(control->m_handedBack);
        control->m_handedBack.clear();
        control->m_engine.AcceptWindows();
        for (HWND window : windows) {
            // Taken by nobody meanwhile, and not gone; the main frame's cycle finds the rest.
            if (::IsWindow(window) && ::GetAncestor(window, GA_PARENT) == ::GetDesktopWindow())
                control->TakeWindow(window);
            if (!IsLive(control) || !control->Exists()) break;
        }
        if (control->Exists()) control->StartCapture();
    }
}

LRESULT CWindowCtrl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kCaptureTimerId) {
            OnClockTick();
            return 0;
        }
        if (wParam == kLetGoTimerId) {
            OnLetGoTick();
            return 0;
        }
        break;
    case WM_VANTREL_REPARENTED:
        m_engine.OnReparentDone(static_cast<vantrel::Ticket>(wParam));
        PublishSnapshot();
        FinishLettingGoWhenEmpty();
        return 0;
    case WM_VANTREL_ANSWERED:
        m_engine.OnAnswered(static_cast<vantrel::Ticket>(wParam));
        PublishSnapshot();
        FinishLettingGoWhenEmpty();
        return 0;
    case kRetryClock:
        OnClockTick();
        StartClock();
        return 0;
    case WM_VANTREL_WINDOW_APPEARED:
        OnWindowAppeared(reinterpret_cast<HWND>(wParam));
        return 0;
    case kWindowAnswered:
        OnAppearedWindowAnswered(reinterpret_cast<HWND>(wParam));
        return 0;
    case kUpdateTip:
        OnUpdateTip(reinterpret_cast<const ui::ImageButton*>(wParam));
        return 0;
    case kClickButton:
        OnClickButton(reinterpret_cast<HWND>(wParam));
        return 0;
    case kMakeSpare:
        if (m_bCycling && m_engine.Captures()) PrepareSpareButton();
        return 0;
    case WM_DESTROY:
        StopCapture();
        ReleaseAllWindows();
        ForgetProbesFor(Hwnd());
        m_spare.reset();
        m_tips.Destroy();
        m_accessible.Reset();  // a reader that still holds it is told it is gone
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return FALSE;
    case WM_SIZE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        m_engine.RelayoutButtons();
        return result;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            m_engine.OnButtonClicked(LOWORD(wParam));
            return 0;
        }
        if (OnCommand(LOWORD(wParam))) return 0;
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 1;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocusChanged(message == WM_SETFOCUS);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
        break;
    case WM_SYSKEYDOWN:
        // Shift+F10 is the menu key's other name; F10 alone still opens the menu bar.
        if (wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0) {
            OnContextMenu(Hwnd(), -1);
            return 0;
        }
        break;
    case WM_MEASUREITEM:
        if (ui::ownerdraw::OnMeasureItem(Hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (ui::ownerdraw::OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR: {
        LRESULT result = 0;
        if (ui::ownerdraw::OnMenuChar(wParam, lParam, result)) return result;
        break;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

// What the engine asks of the frame ------------------------------------------------

void CWindowCtrl::Released(vantrel::WindowId window) { AnnounceReleased({reinterpret_cast<HWND>(window)}); }

vantrel::WindowId CWindowCtrl::JourneyOwner() { return reinterpret_cast<vantrel::WindowId>(Hwnd()); }

void CWindowCtrl::Recorded(vantrel::WindowId window, bool handed) {
    if (m_pOwnerFrame != nullptr) m_pOwnerFrame->OnWindowRecorded(reinterpret_cast<HWND>(window), handed);
}

// Posted, so that the dialog or the focus change comes after the cycle, not inside it.
void CWindowCtrl::OnShortcut(vantrel::Shortcut shortcut) {
    if (m_pOwnerFrame == nullptr) return;
    const UINT command = shortcut == vantrel::Shortcut::FindDocument ? ID_FIND_DOCUMENT : ID_GO_TO_TASKBAR;
    ::PostMessageW(m_pOwnerFrame->FrameHwnd(), WM_COMMAND, command, 0);
}

bool CWindowCtrl::IsHostedElsewhere(vantrel::WindowId window) {
    return m_pOwnerFrame != nullptr && m_pOwnerFrame->IsHostedElsewhere(reinterpret_cast<HWND>(window));
}

// A closing frame is out of sight and stays so: a window that arrives while it lets
// go is recorded only to be handed back. Bringing the hidden frame forward would
// move the focus, which waits on the program holding it, which may hang.
bool CWindowCtrl::BringToFrontOnCapture() { return !m_bLettingGo && m_settings.IsOn(vantrel::profile::kBringToFront); }

// The user works in this frame when it is the foreground window or holds it. Hosted
// windows are children by ancestry only (they keep their own styles), and a floating
// taskbar is a tool window owned by the frame.
bool CWindowCtrl::IsUserWorkingHere() {
    if (m_pOwnerFrame == nullptr) return false;
    HWND frame = m_pOwnerFrame->FrameHwnd();
    for (HWND w = ::GetForegroundWindow(); w != nullptr && w != ::GetDesktopWindow(); w = ::GetAncestor(w, GA_PARENT)) {
        if (w == frame || ::GetWindow(w, GW_OWNER) == frame) return true;
    }
    return false;
}

vantrel::WindowId CWindowCtrl::OwnerFrame() {
    return m_pOwnerFrame != nullptr ? reinterpret_cast<vantrel::WindowId>(m_pOwnerFrame->FrameHwnd())
                                    : vantrel::kNoWindow;
}

}  // namespace hosting

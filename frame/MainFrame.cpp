#include "frame/MainFrame.h"

#include <string>

#include "frame/FrameMessages.h"
#include "core/FrameTexts.h"
#include "core/Log.h"
#include "core/Text.h"
#include "frame/FramePlacement.h"
#include "frame/TestHooks.h"
#include "hosting/Activator.h"
#include "resource.h"
#include "tray/TrayMessages.h"
#include "ui/Activation.h"
#include "ui/Dpi.h"
#include "ui/Look.h"

namespace {
const wchar_t kFrameClass[] = L"VantrelFrame";
const UINT_PTR kStartupTimerId = 0;
const UINT kStartupElapse = 50;

HICON LoadAppIcon(int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}
}  // namespace

CMainFrame::CMainFrame(frame::Program& app, unsigned number)
    : m_app(app), m_wndWindowsManager(app.Desktop(), app.Settings()), m_nFrameNumber(number) {
    m_app.Settings().LoadLook();
}

// Deleted once no code of ours runs any more, which may be after the main frame has
// gone too; an entry or a pointer left behind would name a freed frame.
CMainFrame::~CMainFrame() {
    m_app.Frames().Forget(*this);
    if (m_app.Loop().MainWindow() == this) m_app.Loop().SetMainWindow(nullptr);
}

bool CMainFrame::LoadFrame() {
    m_savedPlacement = frameplacement::Load(m_app.Profile(), m_nFrameNumber);
    // An empty class name cannot be registered: a test's way to a frame that never gets a window.
    const bool noClass = testhooks::FrameCreationFailure() == testhooks::FrameFailure::Register;
    const wchar_t* className = noClass ? L"" : kFrameClass;
    if (!m_savedPlacement) return FrameWindow::LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, className, LoadAppIcon(32));
    const RECT rc = frameplacement::WithinReach(frameplacement::ToRECT(m_savedPlacement->frame));
    return FrameWindow::LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, className, LoadAppIcon(32), &rc);
}

// Creation ---------------------------------------------------------------------------

int CMainFrame::OnCreate() {
    if (testhooks::FrameCreationFailure() == testhooks::FrameFailure::Create) return -1;
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadAppIcon(32)));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadAppIcon(16)));

    m_bMainFrame = m_app.Frames().ClaimMain(*this) ? 1 : 0;
    if (m_bMainFrame) SetText(ui::LoadStringResource(IDS_FRAME_TITLE) + vantrel::kMainFrameTitleSuffix);

    OnApplicationLook(m_app.Settings().Look());

    if (!m_wndMenuBar.Create(Hwnd(), IDR_MAINFRAME)) return -1;
    SetMenuBar(&m_wndMenuBar);
    if (!m_wndView.Create(Hwnd(), IDC_HOST_VIEW)) return -1;
    SetView(m_wndView.Hwnd());
    ExtendSystemMenu();

    if (!m_wndStatusBar.Create(Hwnd(), ID_VIEW_STATUS_BAR, false)) return -1;
    m_wndStatusBar.SetIndicators({0, IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL});
    SetStatusBar(&m_wndStatusBar);

    if (!m_wndWindowsManager.Create(ui::LoadStringResource(IDS_WINDOWS_TASKBAR), Hwnd(), RECT{0, 0, ui::Scale(Hwnd(), 200), ui::Scale(Hwnd(), 50)},
                                    ID_WINDOW_TASKBAR))
        return -1;
    WindowCtrl().m_pOwnerFrame = this;
    m_wndWindowsManager.SetMinSize(SIZE{ui::Scale(Hwnd(), 50), ui::Scale(Hwnd(), 50)});
    DockPane(m_wndWindowsManager, ui::DockSide::Bottom);
    if (m_savedPlacement) frameplacement::RestorePane(*this, m_wndWindowsManager, *m_savedPlacement);
    // Panes dock on markers, whichever look asked for what before.
    ui::Look::Current().SetSmartDocking(true);

    if (!CreateCaptionBar()) return -1;
    SetCaptionBar(&m_donationReminder.Bar());

    // Tests may stretch the time before the first tick, to watch the frame held hidden.
    // Without the timer the frame would never show: the tick comes at once instead.
    if (::SetTimer(Hwnd(), kStartupTimerId, testhooks::StartupElapse(kStartupElapse), nullptr) == 0)
        ::PostMessageW(Hwnd(), WM_TIMER, kStartupTimerId, 0);

    WindowCtrl().Engine().SetCapture(m_bMainFrame != 0);
    WindowCtrl().Engine().SetHostView(reinterpret_cast<vantrel::WindowId>(m_wndView.Hwnd()));
    WindowCtrl().StartCapture();

    m_hAccel = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ApplyTabMode(m_app.Settings().IsOn(vantrel::profile::kTabMode));

    m_rcNormal = WindowRectOnScreen();
    RecalcLayout();
    return 0;
}

// The first start-up tick decides how the frame is first shown.
void CMainFrame::OnTimer() {
    ::KillTimer(Hwnd(), kStartupTimerId);
    m_donationReminder.Hide();
    CountApplicationRun();
    if (m_bMainFrame) m_app.Frames().Tray().ApplySetting();
    m_bStartupComplete = 1;
    if (!vantrel::IsMinimizeSwitch(m_app.CommandLine())) {
        ui::GuardedShowWindow(Hwnd(), m_savedPlacement && m_savedPlacement->maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
        if (m_bMainFrame) ::PostMessageW(Hwnd(), WM_VANTREL_SHOWN, 0, 0);
        if (m_savedPlacement) frameplacement::RestoreFloatingPane(m_wndWindowsManager, *m_savedPlacement);
    } else if (!m_app.Settings().IsOn(vantrel::profile::kSystrayOnMinimize) || !m_app.Frames().Tray().CanHide()) {
        ui::GuardedShowWindow(Hwnd(), SW_MINIMIZE);
        if (m_savedPlacement) frameplacement::RestoreToMaximized(Hwnd(), *m_savedPlacement);
    } else {
        ::ShowWindow(Hwnd(), SW_HIDE);
    }
    RecalcLayout();
    if (m_bMainFrame) m_app.Frames().Documents().ReopenFrames();
}

void CMainFrame::OnWindowPosChanging(WINDOWPOS& pos) {
    if (!m_bStartupComplete) pos.flags &= ~SWP_SHOWWINDOW;
}

// An additional frame goes from sight and from the menus at once, and its window once
// every hosted window is back on the desktop: handing one back waits on its program,
// which may hang. Closing the main frame ends the program, every frame with it.
bool CMainFrame::OnClose() {
    if (m_bMainFrame) return false;
    if (m_bClosing) return true;
    SavePlacement();  // while the frame still has its number
    m_bClosing = 1;
    m_app.Frames().Closing(*this);
    ::ShowWindow(Hwnd(), SW_HIDE);
    WindowCtrl().LetGoOfWindows();
    return true;
}

void CMainFrame::OnDestroy() {
    if (!m_bClosing) SavePlacement();
    if (m_bMainFrame) m_app.Frames().Documents().Save();
    // Hosted windows go back to the desktop before any child of this frame is destroyed:
    // a window whose parent dies dies with it, and the user's document with it.
    WindowCtrl().ReleaseAllWindows();
    tray::UpdateCheck::DiscardPending(Hwnd());
    if (m_bMainFrame) {
        m_app.Frames().Tray().Remove();
        m_app.Frames().ShowAll();
    }
    m_app.Frames().Destroyed(*this);
    if (m_app.Loop().MainWindow() == this) ::PostQuitMessage(0);
}

// Frame registry ---------------------------------------------------------------------

CMainFrame* CMainFrame::GetMainFrame() { return m_app.Frames().Main(); }

unsigned CMainFrame::HostFrameCount() { return m_bMainFrame ? m_app.Frames().Count() : 0; }

std::wstring CMainFrame::HostFrameTitle(unsigned position) {
    return m_bMainFrame ? m_app.Frames().TitleAt(position) : std::wstring(vantrel::kInvalidFramePosition);
}

hosting::HostFrame* CMainFrame::HostFrameAt(unsigned position) {
    return m_bMainFrame ? m_app.Frames().At(position) : nullptr;
}

bool CMainFrame::IsHostedElsewhere(HWND window) { return m_bMainFrame && m_app.Frames().IsHostedElsewhere(window); }

bool CMainFrame::HostsWindow(vantrel::WindowId window) const {
    return m_wndWindowsManager.m_wndCtrl.Hosts(window);
}

void CMainFrame::ApplyTabMode(bool tabMode) {
    // This frame too when it is in no registry yet, or a second copy's.
    WindowCtrl().Engine().SetTabMode(tabMode);
    m_app.Frames().ForEachFrame([tabMode](CMainFrame& frame) { frame.WindowCtrl().Engine().SetTabMode(tabMode); });
}

void CMainFrame::NewWindow() { m_app.Frames().NewFrame(Hwnd()); }

void CMainFrame::OnWindowRecorded(HWND window, bool handed) { m_app.Frames().Documents().OnRecorded(*this, window, handed); }

bool CMainFrame::CreateCaptionBar() { return m_donationReminder.CreateCaptionBar(Hwnd()); }

void CMainFrame::CountApplicationRun() { m_donationReminder.CountApplicationRun(m_app.Settings(), m_bMainFrame != 0); }

// Placement ---------------------------------------------------------------------------

// Only a frame that was shown has a place the user may have chosen.
void CMainFrame::SavePlacement() {
    if (!m_bStartupComplete) return;
    if (const std::optional<unsigned> number = m_app.Frames().NumberOf(*this))
        frameplacement::Save(m_app.Profile(), *number, frameplacement::Current(Hwnd(), m_rcNormal, m_wndWindowsManager));
}

void CMainFrame::OnEndSession() {
    SavePlacement();
    m_app.Frames().EndSession();
}

// The default handling moves the focus to the frame, and so waits on the program of
// the window that holds it in the input we share with hosted windows, which may hang
// right then. A hosted window of this frame keeps the focus; one of another frame
// gives it up through the activation worker, which waits in our place.
bool CMainFrame::OnActivate(bool active) {
    if (!active || ::IsIconic(Hwnd())) return false;
    HWND focus = ::GetFocus();
    if (focus == nullptr || ::GetWindowThreadProcessId(focus, nullptr) == ::GetCurrentThreadId()) return false;
    // Hosted windows keep their own styles, so IsChild does not see them as ours.
    for (HWND up = ::GetAncestor(focus, GA_PARENT); up != nullptr && up != ::GetDesktopWindow();
         up = ::GetAncestor(up, GA_PARENT)) {
        if (up == Hwnd()) return true;
    }
    return hosting::Activator::Instance().Request(m_wndView.Hwnd(), hosting::Activator::Kind::Focus);
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    return m_hAccel != nullptr && ::TranslateAcceleratorW(Hwnd(), m_hAccel, &msg) != 0;
}

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = FrameWindow::HandleMessage(message, wParam, lParam);
        return result == -1 ? -1 : OnCreate();
    }
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wParam) != WA_INACTIVE)) return 0;
        break;
    case WM_SETFOCUS:
        if (m_wndView.Hwnd() != nullptr) ::SetFocus(m_wndView.Hwnd());
        return 0;
    case WM_TIMER:
        if (wParam == kStartupTimerId) {
            OnTimer();
            return 0;
        }
        if (wParam == frame::DocumentRestore::kTimerId) {
            m_app.Frames().Documents().OnTimer();
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGING: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        return result;
    }
    case WM_WINDOWPOSCHANGED:
        if (!::IsIconic(Hwnd()) && !::IsZoomed(Hwnd())) m_rcNormal = WindowRectOnScreen();
        break;  // the default handling turns it into WM_SIZE and WM_MOVE
    case WM_SHOWWINDOW:
        return 0;  // nothing to do, and the default handling is not wanted either
    case WM_CONTEXTMENU:
        return 0;  // no context menu on the frame or its bars
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        return 0;
    case WM_SYSCOMMAND:
        if (OnSysCommand(static_cast<UINT>(wParam))) return 0;
        break;
    case WM_QUERYENDSESSION:
        if (m_bMainFrame) {
            vantrel::Log("session ends: every window goes back to the desktop");
            m_app.Frames().Documents().Save();
        }
        OnEndSession();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        else
            m_app.Frames().SessionGoesOn();
        return 0;
    case WM_CLOSE:
        if (OnClose()) return 0;
        break;
    case hosting::WM_VANTREL_WINDOWS_LET_GO:
        if (m_bClosing) ::DestroyWindow(Hwnd());
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_VANTREL_SHOW_ALL_FRAMES:
        if (m_bMainFrame) {
            m_app.Frames().ShowAll();
            if (::IsIconic(Hwnd())) ui::GuardedShowWindow(Hwnd(), SW_RESTORE);
            ui::GuardedSetForegroundWindow(Hwnd());
        }
        return 0;
    case WM_VANTREL_SHOWN:
        m_app.OnMainFrameShown(Hwnd());
        return 0;
    case WM_VANTREL_UPDATE_RESULT:
        m_updateCheck.OnResult(Hwnd(), lParam);
        return 0;
    case WM_SYSTRAY_NOTIFY:
        return m_app.Frames().Tray().OnNotify(wParam, lParam);
    case WM_VANTREL_TEST_CRASH:
        testhooks::Crash(wParam);
        return 0;
    case WM_VANTREL_TEST_MENU_ITEM:
        return OnTestMenuItem(wParam);
    case WM_VANTREL_TEST_COUNT:
        return testhooks::Count(WindowCtrl(), wParam);
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        OnSettingChange();
        break;
    case WM_VANTREL_TEST_HIGH_CONTRAST:
        if (testhooks::Enabled()) ui::Look::ForceHighContrast(static_cast<int>(wParam));
        return 0;
    case WM_VANTREL_TEST_LOG:
        return testhooks::LogLines(wParam);
    case WM_VANTREL_TEST_BUTTON_RECORD:
        return testhooks::ButtonRecord(WindowCtrl(), reinterpret_cast<HWND>(wParam), lParam);
    default:
        if (tray::TrayIcon::IsTaskbarCreated(message)) {
            if (m_bMainFrame) m_app.Frames().Tray().OnTaskbarCreated();
            return 0;
        }
        break;
    }
    return FrameWindow::HandleMessage(message, wParam, lParam);
}

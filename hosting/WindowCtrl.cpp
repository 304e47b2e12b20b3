#include "hosting/WindowCtrl.h"

#include <windowsx.h>

#include <algorithm>

#include "core/FrameTexts.h"
#include "hosting/Activator.h"
#include "hosting/HostedSnapshot.h"
#include "hosting/SharedInput.h"
#include "hosting/Win32Desktop.h"
#include "hosting/WindowEvents.h"
#include "ui/Dpi.h"
#include "ui/Look.h"
#include "ui/OwnerDrawMenu.h"
#include "resource.h"

namespace hosting {
namespace {
// Every live control, for the crash and session-end paths that must find them all.
std::vector<CWindowCtrl*>& LiveControls() {
    static std::vector<CWindowCtrl*> controls;
    return controls;
}

bool IsLive(const CWindowCtrl* control) {
    const auto& controls = LiveControls();
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

HWND s_clock = nullptr;  // the control whose timer paces every cycle
bool s_ticking = false;
unsigned s_tick = 0;
HWND s_focus = nullptr;  // as the last tick that asked found it
bool s_clickedBefore = false;
unsigned s_activations = 0;  // as the last tick found the activator's count
}  // namespace

CWindowCtrl::CWindowCtrl(vantrel::Desktop& desktop, vantrel::Settings& settings)
    : m_desktop(desktop), m_settings(settings), m_engine(desktop, *this, *this) {
    LiveControls().push_back(this);
}

CWindowCtrl::~CWindowCtrl() {
    auto& controls = LiveControls();
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
    if (s_clock != nullptr && s_clock == Hwnd()) {
        s_clock = nullptr;
        StartClock();
    }
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

namespace {
const UINT kRetryClock = WM_APP + 0x40;
const UINT kWindowAnswered = WM_APP + 0x41;
const UINT kMakeSpare = WM_APP + 0x42;
const UINT kUpdateTip = WM_APP + 0x43;
// Letting go: how often windows that went meanwhile are forgotten and those that
// would not leave are asked again.
const UINT kLetGoElapse = 250;
}

void CWindowCtrl::StartCapture() {
    m_bCycling = true;
    m_nTicksToEnumeration = 0;  // the first tick looks at every window
    if (m_engine.Captures() && WindowEvents::Wanted()) WindowEvents::Start(Hwnd());
    StartClock();
}

void CWindowCtrl::StopCapture() {
    m_bCycling = false;
    if (m_engine.Captures()) WindowEvents::Stop();
    if (s_clock != nullptr && s_clock == Hwnd()) {
        ::KillTimer(Hwnd(), kCaptureTimerId);
        s_clock = nullptr;
        StartClock();
    }
}

bool CWindowCtrl::ReleaseAllWindows() {
    std::vector<HWND> released;
    for (const auto& record : m_engine.Windows()) {
        if (!record.bMoved) released.push_back(reinterpret_cast<HWND>(record.hWnd));
    }
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

unsigned CWindowCtrl::Tick() { return s_tick; }

void CWindowCtrl::StartClock() {
    if (s_clock != nullptr) return;
    for (CWindowCtrl* control : LiveControls()) {
        if (!control->m_bCycling || control->Hwnd() == nullptr) continue;
        if (::SetTimer(control->Hwnd(), kCaptureTimerId, control->m_nElapse, nullptr) != 0) {
            s_clock = control->Hwnd();
            return;
        }
    }
    // No timer to be had: cycles that silently stopped would leave new documents
    // outside and dead ones on the taskbar, so the next tick comes posted.
    for (CWindowCtrl* control : LiveControls()) {
        if (control->m_bCycling && control->Hwnd() != nullptr) {
            ::PostMessageW(control->Hwnd(), kRetryClock, 0, 0);
            return;
        }
    }
}

// The timer keeps its pace whatever a cycle costs. A cycle that waits for a viewer
// lets messages in, ticks among them: those are skipped, so cycles never overlap.
// A cycle may close frames: each control is looked up anew before its turn.
void CWindowCtrl::OnClockTick() {
    if (s_ticking) return;
    s_ticking = true;
    Win32Desktop::NewTick();
    RejoinAnsweringInput();
    ++s_tick;
    // Hosted windows share their input with ours, so the focus tells of a click into
    // any of them, in any frame: then every frame looks at its z-order. The focus is
    // asked only around a click (pressed now or since the last tick, any button),
    // since asking costs a round trip to the system and the mouse state does not.
    bool focusMoved = false;
    const bool clicked = ((::GetAsyncKeyState(VK_LBUTTON) | ::GetAsyncKeyState(VK_RBUTTON) |
                           ::GetAsyncKeyState(VK_MBUTTON)) & 0x8001) != 0;
    if (clicked || s_clickedBefore) {
        HWND focus = ::GetFocus();
        focusMoved = focus != s_focus;
        s_focus = focus;
    }
    s_clickedBefore = clicked;
    // A window brought forward by the worker since the last tick moved the z-order.
    const unsigned activations = Activator::Instance().Finished();
    if (activations != s_activations) {
        s_activations = activations;
        focusMoved = true;
    }
    const std::vector<CWindowCtrl*> controls = LiveControls();
    for (CWindowCtrl* control : controls) {
        if (IsLive(control) && control->m_bCycling) control->RunCycle(focusMoved);
    }
    PublishSnapshot();
    s_ticking = false;
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
        for (const auto& record : control->m_engine.Windows()) {
            if (!record.bMoved) control->m_handedBack.push_back(reinterpret_cast<HWND>(record.hWnd));
        }
        control->m_engine.ReleaseAllWindows();
    }
}

void CWindowCtrl::TakeBackEverywhere() {
    // Copied: taking a window in waits on its program, and controls may come and go then.
    const std::vector<CWindowCtrl*> controls = LiveControls();
    for (CWindowCtrl* control : controls) {
        const auto& live = LiveControls();
        if (std::find(live.begin(), live.end(), control) == live.end() || !control->Exists()) continue;
        if (control->m_bLettingGo) continue;  // its frame is closing: the main frame takes them
        const std::vector<HWND> windows = std::move(control->m_handedBack);
        control->m_handedBack.clear();
        control->m_engine.AcceptWindows();
        for (HWND window : windows) {
            // Taken by nobody meanwhile, and not gone; the main frame's cycle finds the rest.
            if (::IsWindow(window) && ::GetAncestor(window, GA_PARENT) == ::GetDesktopWindow())
                control->TakeWindow(window);
            if (std::find(live.begin(), live.end(), control) == live.end() || !control->Exists()) break;
        }
        if (control->Exists()) control->StartCapture();
    }
}

// Most ticks are light: titles in turn, the z-order when the focus moved or we moved
// something. Every so many ticks a frame looks at its z-order anyway, for a program
// that raised a window of its own, and the capturing one looks at every window there
// is, for anything an event missed; frames started at different times, so their full
// ticks fall apart.
void CWindowCtrl::RunCycle(bool focusMoved) {
    if (m_bInCycle || m_engine.IsReleased()) return;
    const bool due = m_nTicksToEnumeration == 0;
    m_nTicksToEnumeration = due ? kTicksPerEnumeration - 1 : m_nTicksToEnumeration - 1;
    vantrel::CycleScope scope;
    scope.enumerate = due || !WindowEvents::Active();
    scope.zOrder = due || focusMoved;
    scope.parents = due;
    scope.titlePeriod = kTitlePeriod;
    scope.tick = s_tick;
    m_bInCycle = true;
    m_engine.RunCaptureCycle(scope);
    m_bInCycle = false;
    if (m_bCycling && m_engine.Captures()) PrepareSpareButton();
}

// A window is taken in once its program has answered: right after creating a window a
// program is still busy with it, and re-parenting waits on it. The answer is asked
// without waiting; it comes back as a call on our thread, which may find us gone,
// and may come in the middle of any wait of ours (a re-parenting, say). So it is
// posted on: the window is taken from the message loop, never inside another capture.
void CALLBACK CWindowCtrl::AppearedWindowAnswered(HWND window, UINT, ULONG_PTR control, LRESULT) {
    for (CWindowCtrl* live : LiveControls()) {
        if (reinterpret_cast<ULONG_PTR>(live->Hwnd()) == control)
            ::PostMessageW(live->Hwnd(), kWindowAnswered, reinterpret_cast<WPARAM>(window), 0);
    }
}

void CWindowCtrl::OnWindowAppeared(HWND window) {
    if (!m_bCycling || !m_engine.Captures()) return;
    // Most windows that come are children, or ours: no need to ask anybody about them.
    if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow() ||
        m_desktop.IsOwnWindow(reinterpret_cast<vantrel::WindowId>(window)))
        return;
    if (!::SendMessageCallbackW(window, WM_NULL, 0, 0, AppearedWindowAnswered, reinterpret_cast<ULONG_PTR>(Hwnd())))
        return;  // gone already
    m_engine.AnnounceWindow(reinterpret_cast<vantrel::WindowId>(window));
}

void CWindowCtrl::OnAppearedWindowAnswered(HWND window) {
    NoteAnswered(window);
    if (!m_bCycling || !m_engine.Captures()) return;
    m_engine.OfferWindow(reinterpret_cast<vantrel::WindowId>(window));
    PublishSnapshot();
    // The next capture takes the button made ahead, once this message is done.
    if (m_spare == nullptr) ::PostMessageW(Hwnd(), kMakeSpare, 0, 0);
}

void CWindowCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const RECT rc = ClientRect();
    ::FillRect(dc, &rc, m_background);
    ::EndPaint(Hwnd(), &ps);
}

bool CWindowCtrl::PreTranslateMessage(MSG& msg) {
    // Only the window buttons' own mouse messages make a drag. The cursor is taken
    // where the message says it was, not where it is now: a busy moment between the
    // two must not shift the drag's reference point.
    if (msg.hwnd == Hwnd() || ::GetParent(msg.hwnd) != Hwnd()) return false;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
        m_engine.OnLeftButtonDown({msg.pt.x, msg.pt.y});
        break;
    case WM_LBUTTONUP:
        m_engine.OnLeftButtonUp();
        break;
    case WM_MOUSEMOVE:
        m_engine.OnMouseMove({msg.pt.x, msg.pt.y}, msg.wParam == MK_LBUTTON, ::GetDlgCtrlID(msg.hwnd));
        break;
    default:
        break;
    }
    return false;  // the message is dispatched as usual
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
    case kMakeSpare:
        if (m_bCycling && m_engine.Captures()) PrepareSpareButton();
        return 0;
    case WM_DESTROY:
        StopCapture();
        ReleaseAllWindows();
        m_spare.reset();
        m_tips.Destroy();
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
        ShowWindowMenu(reinterpret_cast<HWND>(wParam));
        return 1;
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

// The per-window menu ------------------------------------------------------------------

ui::PopupMenu CWindowCtrl::BuildWindowMenu() {
    ui::PopupMenu popup = ui::PopupMenu::FromResource(IDR_WINDOW_POPUP);
    if (!popup) return popup;
    ui::PopupMenu moveTo(::GetSubMenu(popup.Handle(), 0));
    if (moveTo && m_pOwnerFrame != nullptr) {
        for (unsigned j = 0; j < m_pOwnerFrame->HostFrameCount() && ID_MOVE_TO_FIRST + j <= ID_MOVE_TO_LAST; ++j) {
            moveTo.InsertItem(j, ID_MOVE_TO_FIRST + j,
                              vantrel::MoveToEntryText(static_cast<int>(j + 1), m_pOwnerFrame->HostFrameTitle(j)),
                              false);
        }
        // "Main Window" makes no sense in the main frame's own menu.
        ::EnableMenuItem(moveTo.Handle(), ID_WINDOW_MOVE_TO_MAIN,
                         MF_BYCOMMAND | (m_engine.Captures() ? MF_GRAYED : MF_ENABLED));
    }
    moveTo.Release();  // a submenu goes with its menu
    return popup;
}

void CWindowCtrl::ShowWindowMenu(HWND button) {
    auto* clicked = dynamic_cast<ui::ImageButton*>(ui::Window::FromHandle(button));
    const int index = clicked != nullptr ? m_engine.IndexOfButton(reinterpret_cast<vantrel::ButtonId>(clicked)) : -1;
    if (index < 0) return;
    // The menu's commands act on the window of this button, whatever is in front by
    // the time one is chosen: bringing it forward may be held up by a program that hangs.
    const HWND window = reinterpret_cast<HWND>(m_engine.Windows()[static_cast<size_t>(index)].hWnd);
    m_engine.BringForward(index);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const UINT id = BuildWindowMenu().TrackForCommand(Hwnd(), cursor);
    if (id != 0 && Exists()) RunWindowCommand(id, window);
}

HWND CWindowCtrl::ActiveWindow() {
    const int index = m_engine.GetActiveIndex();
    return index >= 0 ? reinterpret_cast<HWND>(m_engine.Windows()[static_cast<size_t>(index)].hWnd) : nullptr;
}

bool CWindowCtrl::OnCommand(UINT id) { return RunWindowCommand(id, ActiveWindow()); }

bool CWindowCtrl::RunWindowCommand(UINT id, HWND window) {
    const bool moveTo = id >= ID_MOVE_TO_FIRST && id <= ID_MOVE_TO_LAST;
    switch (id) {
    case ID_WINDOW_CLOSE:
    case ID_WINDOW_MAXIMIZE:
    case ID_WINDOW_MINIMIZE:
    case ID_WINDOW_CENTER:
    case ID_WINDOW_MOVE_TO_NEW:
    case ID_WINDOW_MOVE_TO_MAIN: break;
    default:
        if (!moveTo) return false;
    }
    // A window that went, or went to another frame, while the menu was open is left alone.
    const int index = m_engine.IndexOfWindow(reinterpret_cast<vantrel::WindowId>(window));
    if (index < 0 || m_engine.Windows()[static_cast<size_t>(index)].bMoved) return true;
    if (moveTo) {
        MoveToFrame(window, id - ID_MOVE_TO_FIRST);
        PublishSnapshot();
        return true;
    }
    switch (id) {
    case ID_WINDOW_CLOSE: m_engine.CloseWindowAt(index); break;
    case ID_WINDOW_MAXIMIZE: m_engine.MaximizeWindowAt(index); break;
    case ID_WINDOW_MINIMIZE: m_engine.MinimizeWindowAt(index); break;
    case ID_WINDOW_CENTER: m_engine.CenterWindowAt(index); break;
    case ID_WINDOW_MOVE_TO_NEW: MoveToNewFrame(window); break;
    case ID_WINDOW_MOVE_TO_MAIN: MoveToMainFrame(window); break;
    default: break;
    }
    PublishSnapshot();
    return true;
}

void CWindowCtrl::TakeWindow(HWND window) {
    m_engine.TakeHandedWindow(reinterpret_cast<vantrel::WindowId>(window));
}

// A move hands the window over as soon as its program lets it; the frame that had it
// keeps its record until then and drops it at its next cycle. Should the target not
// take it (its viewer does not answer), the window stays here.
void CWindowCtrl::HandOver(HWND window, CWindowCtrl& target) {
    const auto id = reinterpret_cast<vantrel::WindowId>(window);
    const int index = m_engine.IndexOfWindow(id);
    if (&target == this || index < 0 || m_engine.Windows()[static_cast<size_t>(index)].bHanding) return;
    if (target.m_engine.TakeHandedWindow(id) != vantrel::TakeState::Pending) return;
    // On its way: no command of ours acts on it until the target tells how it went.
    const int now = m_engine.IndexOfWindow(id);
    if (now >= 0) m_engine.MarkHanding(static_cast<size_t>(now), true);
}

void CWindowCtrl::TookOver(vantrel::WindowId window) {
    for (CWindowCtrl* control : LiveControls()) {
        if (control == this) continue;
        const int index = control->m_engine.IndexOfWindow(window);
        if (index >= 0) control->m_engine.MarkMoved(static_cast<size_t>(index));
    }
}

void CWindowCtrl::NotTakenOver(vantrel::WindowId window) {
    for (CWindowCtrl* control : LiveControls()) {
        if (control == this) continue;
        const int index = control->m_engine.IndexOfWindow(window);
        if (index < 0) continue;
        control->m_engine.MarkHanding(static_cast<size_t>(index), false);
        control->FinishLettingGoWhenEmpty();
    }
}

void CWindowCtrl::Released(vantrel::WindowId window) { AnnounceReleased({reinterpret_cast<HWND>(window)}); }

vantrel::WindowId CWindowCtrl::JourneyOwner() { return reinterpret_cast<vantrel::WindowId>(Hwnd()); }

void CWindowCtrl::MoveToFrame(HWND window, unsigned position) {
    if (m_pOwnerFrame == nullptr || position >= m_pOwnerFrame->HostFrameCount()) return;
    if (HostFrame* target = m_pOwnerFrame->HostFrameAt(position)) HandOver(window, target->HostCtrl());
}

void CWindowCtrl::MoveToMainFrame(HWND window) {
    HostFrame* main = m_pOwnerFrame != nullptr ? m_pOwnerFrame->MainHostFrame() : nullptr;
    if (m_engine.Captures() || main == nullptr) return;
    HandOver(window, main->HostCtrl());
}

void CWindowCtrl::MoveToNewFrame(HWND window) {
    HostFrame* main = m_pOwnerFrame != nullptr ? m_pOwnerFrame->MainHostFrame() : nullptr;
    if (main == nullptr) return;
    main->NewWindow();  // at its limit it says so and makes none: the newest frame takes the window
    // Our frame may have gone while the limit was shown; it has handed its windows back then.
    if (!Exists()) return;
    const unsigned count = main->HostFrameCount();
    if (count == 0 || !::IsWindow(window)) return;
    if (HostFrame* newest = main->HostFrameAt(count - 1)) HandOver(window, newest->HostCtrl());
}

// Window buttons -------------------------------------------------------------------

std::unique_ptr<ui::ImageButton> CWindowCtrl::MakeButton(int controlId, DWORD visible) {
    auto button = std::make_unique<ui::ImageButton>();
    if (!button->Create(Hwnd(), static_cast<UINT>(controlId), WS_CHILD | visible | BS_CHECKBOX | BS_NOTIFY))
        return nullptr;
    const bool manyColors = ui::ImageButton::ScreenColorDepth() >= 16;
    button->SetImage(manyColors ? IDB_WINDOW_BUTTON : IDB_WINDOW_BUTTON_16COLOR);
    button->SetCheckedImage(manyColors ? IDB_WINDOW_CHECKED : IDB_WINDOW_CHECKED_16COLOR);
    button->SizeToContent();
    return button;
}

// Making a button is most of what a capture costs us after the re-parenting: the
// capturing frame keeps one made ahead, hidden, and makes the next one after a cycle.
void CWindowCtrl::PrepareSpareButton() {
    if (m_spare == nullptr && Hwnd() != nullptr) m_spare = MakeButton(kSpareButtonId, 0);
}

vantrel::ButtonId CWindowCtrl::Create(int controlId) {
    std::unique_ptr<ui::ImageButton> button = std::move(m_spare);
    if (button != nullptr) {
        ::SetWindowLongPtrW(button->Hwnd(), GWLP_ID, controlId);
        ::ShowWindow(button->Hwnd(), SW_SHOWNA);
    } else {
        button = MakeButton(controlId, WS_VISIBLE);
        if (button == nullptr) return vantrel::kNoButton;
    }
    const auto id = reinterpret_cast<vantrel::ButtonId>(button.get());
    m_buttons.push_back(std::move(button));
    return id;
}

void CWindowCtrl::Destroy(vantrel::ButtonId button) {
    auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                           [button](const auto& b) { return reinterpret_cast<vantrel::ButtonId>(b.get()) == button; });
    if (it != m_buttons.end()) m_buttons.erase(it);  // the object destroys its window
}

const vantrel::HostedWindowRecord* CWindowCtrl::RecordOfButton(HWND button) const {
    for (const vantrel::HostedWindowRecord& record : m_engine.Windows()) {
        if (record.pButton != vantrel::kNoButton && AsButton(record.pButton)->Hwnd() == button) return &record;
    }
    return nullptr;
}

std::wstring CWindowCtrl::Caption(vantrel::ButtonId button) { return AsButton(button)->Text(); }

void CWindowCtrl::SetCaption(vantrel::ButtonId button, const std::wstring& text) {
    ui::ImageButton* b = AsButton(button);
    b->SetText(text);
    b->SizeToContent();
    // The tip follows once the caption shows: nobody hovers over a button that new,
    // and a tip's first text costs more than the caption itself.
    ::PostMessageW(Hwnd(), kUpdateTip, reinterpret_cast<WPARAM>(b), 0);
}

void CWindowCtrl::OnUpdateTip(const ui::ImageButton* button) {
    for (const auto& b : m_buttons) {
        if (b.get() == button) b->SetTooltip(m_tips, b->Text());
    }
}

// Read from the object: the cycle asks for every button on every tick.
bool CWindowCtrl::IsChecked(vantrel::ButtonId button) { return AsButton(button)->IsChecked(); }

void CWindowCtrl::SetChecked(vantrel::ButtonId button, bool checked) {
    ::SendMessageW(AsButton(button)->Hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CWindowCtrl::SetControlId(vantrel::ButtonId button, int controlId) {
    ::SetWindowLongPtrW(AsButton(button)->Hwnd(), GWLP_ID, controlId);
}

vantrel::Size CWindowCtrl::OuterSize(vantrel::ButtonId button) {
    const RECT rc = AsButton(button)->WindowRectOnScreen();
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void CWindowCtrl::Place(vantrel::ButtonId button, vantrel::Point topLeft) {
    HWND hwnd = AsButton(button)->Hwnd();
    // A button that stays where it is needs neither a move nor a repaint: a new one
    // at the end of the row leaves the others alone.
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    if (rc.left == topLeft.x && rc.top == topLeft.y) return;
    ::SetWindowPos(hwnd, nullptr, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

int CWindowCtrl::RowWidth() { return ClientRect().right; }

void CWindowCtrl::SetFaceColor(vantrel::ButtonId button, std::uint32_t rgb) {
    AsButton(button)->SetFaceColor(static_cast<COLORREF>(rgb), true);
}

int CWindowCtrl::Dpi() { return static_cast<int>(ui::DpiOf(Hwnd())); }

void CWindowCtrl::CaptureMouse(vantrel::ButtonId button) { ::SetCapture(AsButton(button)->Hwnd()); }

void CWindowCtrl::ReleaseMouse() { ::ReleaseCapture(); }

// What the engine asks of the frame ------------------------------------------------

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

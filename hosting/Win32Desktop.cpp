#include "hosting/Win32Desktop.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "hosting/Activator.h"
#include "hosting/CloseQueue.h"
#include "hosting/SharedInput.h"

namespace hosting {

namespace {
// At a crash, how long a window on its way in is waited for before it is handed back.
const DWORD kCrashTakeWait = 5000;
// How long a move's thread may take after the window arrived before the window counts
// as there without it: the system raises the window and tells its program after the
// parent changed, and a move read in between would be overtaken by a later click.
const ULONGLONG kArrivalGrace = 250;


// Taking a window into a host view makes its program wait on the programs whose
// windows we took in before (their input is shared with ours). While one of them
// does not answer, a new window has to wait; the next capture cycle tries again.
// One window per thread tells for all of that thread's windows, so each thread
// that we took a window of is remembered with the latest such window: asking them
// costs nothing per window hosted, and nothing at all while one program is hosted.
struct TakenThread {
    DWORD thread;
    HWND window;
};
std::vector<TakenThread> s_takenThreads;

void NoteTaken(HWND window) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) return;
    const auto known = std::find_if(s_takenThreads.begin(), s_takenThreads.end(),
                                    [thread](const TakenThread& t) { return t.thread == thread; });
    if (known != s_takenThreads.end())
        known->window = window;
    else
        s_takenThreads.push_back(TakenThread{thread, window});
}

// Another window of the thread in the host view, once the one that stood for it is
// gone (or its handle went to another thread's window).
HWND OtherWindowOf(DWORD thread, HWND parent) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetWindowThreadProcessId(child, nullptr) == thread) return child;
    }
    return nullptr;
}

bool TakenThreadsAnswer(HWND parent, HWND newcomer) {
    const DWORD own = ::GetWindowThreadProcessId(newcomer, nullptr);  // has just answered
    const DWORD self = ::GetCurrentThreadId();
    for (auto it = s_takenThreads.begin(); it != s_takenThreads.end();) {
        if (it->thread == own || it->thread == self) {
            ++it;
            continue;
        }
        // The window that stands for the thread must still be its own and still be
        // hosted; a thread whose windows all went back to the desktop keeps nobody waiting.
        if (::GetWindowThreadProcessId(it->window, nullptr) != it->thread ||
            ::GetAncestor(it->window, GA_PARENT) == ::GetDesktopWindow()) {
            it->window = OtherWindowOf(it->thread, parent);
            if (it->window == nullptr) {
                it = s_takenThreads.erase(it);  // nothing of it here to wait on
                continue;
            }
        }
        if (!Answers(it->window)) return false;
        ++it;
    }
    return true;
}

unsigned long long s_probeMicros = 0;
// The Ctrl key as read in this round of cycles: every frame asks, once per tick.
unsigned s_tick = 1;
unsigned s_controlReadAt = 0;
bool s_controlDown = false;

unsigned long long MicrosNow() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<unsigned long long>(counter.QuadPart) * 1000000ULL /
           static_cast<unsigned long long>(frequency.QuadPart);
}

HWND H(vantrel::WindowId id) { return reinterpret_cast<HWND>(id); }
vantrel::WindowId Id(HWND hwnd) { return reinterpret_cast<vantrel::WindowId>(hwnd); }
vantrel::Rect FromRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

std::wstring ReadText(int (WINAPI* read)(HWND, LPWSTR, int), HWND hwnd) {
    wchar_t buffer[260] = {};
    const int length = read(hwnd, buffer, 260);
    return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

int ToShowCommand(vantrel::ShowCommand command) {
    switch (command) {
    case vantrel::ShowCommand::Show: return SW_SHOW;
    case vantrel::ShowCommand::ShowNormal: return SW_SHOWNORMAL;
    case vantrel::ShowCommand::ShowMaximized: return SW_SHOWMAXIMIZED;
    case vantrel::ShowCommand::Minimize: return SW_MINIMIZE;
    case vantrel::ShowCommand::Restore: return SW_RESTORE;
    case vantrel::ShowCommand::Hide: return SW_HIDE;
    }
    return SW_SHOW;
}
}  // namespace

// The system filters by class itself (class names know no letter case): under Wine a
// walk over every top-level window asks about each one, 11 ms for 340 of them, and
// this asks once per window found. Listed before visiting, since a visit may take the
// window in and so end its place among the top-level windows.
void Win32Desktop::EnumTopLevelWindowsOfClass(const std::wstring& className,
                                             const std::function<bool(vantrel::WindowId)>& visit) {
    std::vector<HWND> found;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, className.c_str(), nullptr); w != nullptr;
         w = ::FindWindowExW(nullptr, w, className.c_str(), nullptr))
        found.push_back(w);
    for (HWND w : found) {
        if (!visit(Id(w))) return;
    }
}

std::wstring Win32Desktop::ClassName(vantrel::WindowId w) { return ReadText(::GetClassNameW, H(w)); }
std::wstring Win32Desktop::Title(vantrel::WindowId w) { return ReadText(::GetWindowTextW, H(w)); }
std::optional<std::wstring> Win32Desktop::TitleIfAlive(vantrel::WindowId w) {
    // The system's copy of the title, which never asks the window's program, and a
    // text at all proves the window alive.
    wchar_t buffer[260] = {};
    const int length = ::InternalGetWindowText(H(w), buffer, 260);
    if (length > 0) return std::wstring(buffer, static_cast<size_t>(length));
    if (!::IsWindow(H(w))) return std::nullopt;
    return std::wstring();
}

bool Win32Desktop::IsWindow(vantrel::WindowId w) { return ::IsWindow(H(w)) != FALSE; }
bool Win32Desktop::IsOwnWindow(vantrel::WindowId w) {
    DWORD owner = 0;
    return ::GetWindowThreadProcessId(H(w), &owner) != 0 && owner == ::GetCurrentProcessId();
}

bool Win32Desktop::IsVisible(vantrel::WindowId w) { return ::IsWindowVisible(H(w)) != FALSE; }
bool Win32Desktop::IsZoomed(vantrel::WindowId w) { return ::IsZoomed(H(w)) != FALSE; }

// The style alone: a fifth of what GetWindowInfo costs under Wine, with the same bit.
bool Win32Desktop::HasMaximizedStyle(vantrel::WindowId w) {
    return (::GetWindowLongPtrW(H(w), GWL_STYLE) & WS_MAXIMIZE) != 0;
}

vantrel::Rect Win32Desktop::WindowRect(vantrel::WindowId w) {
    RECT rc{};
    ::GetWindowRect(H(w), &rc);
    return FromRect(rc);
}

vantrel::Rect Win32Desktop::ClientRect(vantrel::WindowId w) {
    RECT rc{};
    ::GetClientRect(H(w), &rc);
    return FromRect(rc);
}

vantrel::WindowId Win32Desktop::Parent(vantrel::WindowId w) {
    // GetAncestor, unlike GetParent, never answers with an owner window.
    HWND parent = ::GetAncestor(H(w), GA_PARENT);
    return parent == ::GetDesktopWindow() ? vantrel::kNoWindow : Id(parent);
}

vantrel::WindowId Win32Desktop::TopChild(vantrel::WindowId parent) { return Id(::GetTopWindow(H(parent))); }

namespace {
// A window on its way into a host view. Re-parenting another program's window waits
// until that program lets it go, which a program that hangs right after answering
// our probe (a hang already queued is not seen) can make last as long as the hang:
// so it is done on a thread of its own, and the capture cycle reads the result.
struct Take {
    HWND window;
    HWND parent;
    bool unhide;
    HANDLE thread = nullptr;
    std::atomic<int> state{static_cast<int>(vantrel::TakeState::Pending)};
    // Its result was read before the thread was done (the window had arrived); the
    // take is kept until then, so that no other move of the window starts meanwhile.
    bool read = false;
    ULONGLONG started = ::GetTickCount64();
};
std::vector<std::unique_ptr<Take>> s_takes;  // the user-interface thread's alone

void MoveIn(Take& take) {
    // Re-parenting a visible top-level window of another program hides it, moves it
    // and shows it again, each step a round trip through the window manager: about
    // 15 ms under Wine, against 1 ms for a hidden one. So it is hidden first, by a
    // request its program handles before the re-parenting, and shown again after.
    if (take.unhide) {
        ::SetWindowPos(take.window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
    const bool moved = ::SetParent(take.window, take.parent) != nullptr;
    if (take.unhide) ::ShowWindowAsync(take.window, SW_SHOWNA);  // taken in or not, never left hidden
    take.state = static_cast<int>(moved ? vantrel::TakeState::Taken : vantrel::TakeState::Refused);
}

DWORD WINAPI TakeWork(void* take) {
    MoveIn(*static_cast<Take*>(take));
    return 0;
}

void Forget(const Take* take) {
    if (take->thread != nullptr) ::CloseHandle(take->thread);
    s_takes.erase(std::find_if(s_takes.begin(), s_takes.end(), [take](const auto& t) { return t.get() == take; }));
}

// Takes whose result was read early, once their thread is done.
void ForgetFinishedTakes() {
    for (std::size_t i = s_takes.size(); i-- > 0;) {
        const Take& take = *s_takes[i];
        if (take.read && static_cast<vantrel::TakeState>(take.state.load()) != vantrel::TakeState::Pending)
            Forget(&take);
    }
}

// The window's take under way (or, with `unread`, one whose result is not read yet).
// A take read early whose thread has ended since is over, and goes first.
Take* FindTake(HWND window, bool unread = false) {
    ForgetFinishedTakes();
    for (const auto& take : s_takes) {
        if (take->window == window && !(unread && take->read)) return take.get();
    }
    return nullptr;
}

void WaitFor(const Take& take) {
    if (take.thread == nullptr) return;
    // The program waited on may ask us something meanwhile, and is answered.
    while (::MsgWaitForMultipleObjects(1, &take.thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
}  // namespace

bool Win32Desktop::SetParent(vantrel::WindowId w, vantrel::WindowId newParent) {
    // Handing a window back never waits for an answer first, since the window must
    // leave before we do. Taking one in here (a move between our frames) waits.
    if (newParent == vantrel::kNoWindow) return ::SetParent(H(w), ::GetDesktopWindow()) != nullptr;
    switch (BeginTake(w, newParent)) {
    case vantrel::TakeState::Taken: return true;
    case vantrel::TakeState::Refused: return false;
    case vantrel::TakeState::Pending: break;
    }
    WaitFor(*FindTake(H(w), true));
    return TakeResult(w) == vantrel::TakeState::Taken;
}

namespace {
// Starts the move on a thread of its own, or here, waiting if it must, when no thread
// can be had; the move is kept until its result is read.
void StartMove(HWND window, HWND parent, bool unhide) {
    auto take = std::make_unique<Take>();
    take->window = window;
    take->parent = parent;
    take->unhide = unhide;
    take->thread = ::CreateThread(nullptr, 64 * 1024, TakeWork, take.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (take->thread == nullptr) MoveIn(*take);
    s_takes.push_back(std::move(take));
}

// Pending while the move runs; once it is over, its result, read only once. The
// system moves the window first and then tells its program and the programs whose
// input it shares, any of which may hang: a window that has been where it was going
// for a while is there, whatever the thread still waits for, and is reported so (shown
// again too, should it have been hidden for the move).
vantrel::TakeState ReadMove(HWND window) {
    Take* take = FindTake(window, true);
    if (take == nullptr) return vantrel::TakeState::Refused;
    const auto state = static_cast<vantrel::TakeState>(take->state.load());
    if (state == vantrel::TakeState::Pending) {
        // A window that died on its way is nowhere to wait for: its thread may still be
        // stuck in a program that hangs, but the record and button must go now.
        if (!::IsWindow(window)) {
            take->read = true;
            return vantrel::TakeState::Refused;
        }
        if (::GetAncestor(window, GA_PARENT) != take->parent || ::GetTickCount64() - take->started < kArrivalGrace)
            return state;
        if (take->unhide) ::ShowWindowAsync(window, SW_SHOWNA);
        take->read = true;
        return vantrel::TakeState::Taken;
    }
    Forget(take);
    return state;
}
}  // namespace

vantrel::TakeState Win32Desktop::BeginTake(vantrel::WindowId w, vantrel::WindowId parent) {
    // On its way somewhere already: one take at a time, and the first one stands.
    if (FindTake(H(w)) != nullptr) return vantrel::TakeState::Refused;
    const unsigned long long start = MicrosNow();
    const bool answer = Answers(H(w)) && TakenThreadsAnswer(H(parent), H(w));
    s_probeMicros += MicrosNow() - start;
    if (!answer) return vantrel::TakeState::Refused;
    StartMove(H(w), H(parent), ::GetAncestor(H(w), GA_PARENT) == ::GetDesktopWindow() && ::IsWindowVisible(H(w)));
    return TakeResult(w);
}

vantrel::TakeState Win32Desktop::TakeResult(vantrel::WindowId w) {
    const vantrel::TakeState state = ReadMove(H(w));
    if (state == vantrel::TakeState::Taken) NoteTaken(H(w));
    return state;
}

void Win32Desktop::BeginHandBack(HWND window) {
    if (FindTake(window) == nullptr) StartMove(window, ::GetDesktopWindow(), false);
}

vantrel::TakeState Win32Desktop::HandBackResult(HWND window) { return ReadMove(window); }

void Win32Desktop::WaitForTakes() {
    for (const auto& take : s_takes) WaitFor(*take);
}

void Win32Desktop::ReleasePendingTakes() {
    for (const auto& take : s_takes) {
        if (take->thread != nullptr) ::WaitForSingleObject(take->thread, kCrashTakeWait);
        if (take->parent != ::GetDesktopWindow() && ::GetAncestor(take->window, GA_PARENT) == take->parent)
            ::SetParent(take->window, ::GetDesktopWindow());
    }
}

void Win32Desktop::AttachInput(vantrel::WindowId w) { ShareInput(H(w)); }

void Win32Desktop::Show(vantrel::WindowId w, vantrel::ShowCommand c) { ::ShowWindowAsync(H(w), ToShowCommand(c)); }

void Win32Desktop::MoveTo(vantrel::WindowId w, vantrel::Point p) {
    // Tab mode asks for this on every tick: a window already there is not disturbed,
    // which spares its program a message each time.
    RECT rc{};
    if (::GetWindowRect(H(w), &rc)) {
        POINT corner{rc.left, rc.top};
        HWND parent = ::GetAncestor(H(w), GA_PARENT);
        if (parent != nullptr && parent != ::GetDesktopWindow()) ::ScreenToClient(parent, &corner);
        if (corner.x == p.x && corner.y == p.y) return;
    }
    ::SetWindowPos(H(w), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void Win32Desktop::Move(vantrel::WindowId w, const vantrel::Rect& r) {
    ::SetWindowPos(H(w), nullptr, r.left, r.top, r.Width(), r.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// Some platforms (Wine among them) activate a re-parented window of another process
// without raising it among its siblings; the logic finds the active window on top.
// Activation moves through the input that hosted windows share with us, so it waits on
// every program in the host view: while one of them does not answer, nothing moves.
bool Win32Desktop::CanActivate(HWND hwnd) {
    if (!Answers(hwnd)) return false;
    HWND parent = ::GetAncestor(hwnd, GA_PARENT);
    return parent == nullptr || parent == ::GetDesktopWindow() || TakenThreadsAnswer(parent, hwnd);
}

void Win32Desktop::SetActive(vantrel::WindowId w) {
    if (Activator::Instance().Request(H(w), Activator::Kind::Active) || !CanActivate(H(w))) return;
    ::SetActiveWindow(H(w));
    ::BringWindowToTop(H(w));
}

void Win32Desktop::SetForeground(vantrel::WindowId w) {
    if (Activator::Instance().Request(H(w), Activator::Kind::Foreground) || !CanActivate(H(w))) return;
    ::SetForegroundWindow(H(w));
    ::BringWindowToTop(H(w));
}

void Win32Desktop::SwitchTo(vantrel::WindowId w) {
    LeaveHungInput();  // bringing a frame of ours forward moves the focus
    ::SwitchToThisWindow(H(w), FALSE);
}

void Win32Desktop::Close(vantrel::WindowId w) { CloseQueue::Instance().Close(H(w)); }

void Win32Desktop::CloseInTurn(const std::vector<vantrel::WindowId>& windows) {
    std::vector<HWND> handles;
    handles.reserve(windows.size());
    for (vantrel::WindowId w : windows) handles.push_back(H(w));
    CloseQueue::Instance().CloseInTurn(handles);
}

unsigned long long Win32Desktop::ProbeMicros() { return s_probeMicros; }

void Win32Desktop::NewTick() { ++s_tick; }

bool Win32Desktop::IsKeyDown(vantrel::Key key) {
    if (key == vantrel::Key::Control) {
        if (s_controlReadAt != s_tick) {
            s_controlDown = ::GetAsyncKeyState(VK_CONTROL) != 0;
            s_controlReadAt = s_tick;
        }
        return s_controlDown;
    }
    int vk = 0;
    switch (key) {
    case vantrel::Key::Control: vk = VK_CONTROL; break;
    case vantrel::Key::Shift: vk = VK_SHIFT; break;
    case vantrel::Key::Tab: vk = VK_TAB; break;
    case vantrel::Key::F4: vk = VK_F4; break;
    }
    return ::GetAsyncKeyState(vk) != 0;
}

}  // namespace hosting

#include "hosting/Win32Desktop.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "hosting/Activator.h"
#include "hosting/CloseQueue.h"
#include "hosting/Probe.h"
#include "hosting/SharedInput.h"
#include "hosting/Workers.h"
#include "ui/Activation.h"

namespace hosting {

namespace {

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
    // Without the activation: shown a moment after it came in, it would otherwise come
    // to the top over a window the user has brought forward since.
    case vantrel::ShowCommand::Show: return SW_SHOWNA;
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
// One re-parenting of another program's window. It waits until that program lets the
// window go, which a program that hangs right after answering our probe (a hang
// already queued is not seen) can make last as long as the hang: so it runs on a
// worker thread, which tells the owner's window when it is over.
struct Reparent {
    vantrel::Ticket ticket = vantrel::kNoTicket;
    HWND window = nullptr;
    HWND parent = nullptr;  // the desktop's window for a hand-back
    HWND owner = nullptr;
    bool unhide = false;
    std::atomic<int> state{static_cast<int>(vantrel::TakeState::Pending)};
    bool forgotten = false;  // its owner will not read it; freed once its worker is done
};

// The user-interface thread's alone, and never freed: at the program's end a thread
// may still wait on a viewer, and its entry must still be there when it wakes.
std::vector<Reparent*>& Reparents() {
    static auto* reparents = new std::vector<Reparent*>;
    return *reparents;
}

bool Running(const Reparent& r) {
    return static_cast<vantrel::TakeState>(r.state.load()) == vantrel::TakeState::Pending;
}

void Free(Reparent* r) {
    auto& all = Reparents();
    all.erase(std::remove(all.begin(), all.end(), r), all.end());
    delete r;
}

// Entries whose owner gave up on them, once their worker is done.
void FreeForgotten() {
    const std::vector<Reparent*> all = Reparents();
    for (Reparent* r : all) {
        if (r->forgotten && !Running(*r)) Free(r);
    }
}

Reparent* FindReparent(vantrel::Ticket ticket) {
    for (Reparent* r : Reparents()) {
        if (r->ticket == ticket) return r;
    }
    return nullptr;
}

bool OnItsWay(HWND window) {
    const auto& all = Reparents();
    return std::any_of(all.begin(), all.end(), [window](const Reparent* r) { return r->window == window && Running(*r); });
}

void Run(Reparent& r) {
    // Copied first: once the state is set, the entry may be freed at any moment.
    const HWND owner = r.owner;
    const vantrel::Ticket ticket = r.ticket;
    // Re-parenting a visible top-level window of another program hides it, moves it
    // and shows it again, each step a round trip through the window manager: about
    // 15 ms under Wine, against 1 ms for a hidden one. So it is hidden first, by a
    // request its program handles before the re-parenting, and shown again after.
    if (r.unhide) {
        ::SetWindowPos(r.window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
    const bool moved = ::SetParent(r.window, r.parent) != nullptr;
    // Taken in or not, never left hidden. Shown before the owner hears of it, and so
    // waited for here: shown later, it would come to the top over a window the user
    // has brought forward since.
    if (r.unhide) ::ShowWindow(r.window, SW_SHOWNA);
    r.state = static_cast<int>(moved ? vantrel::TakeState::Taken : vantrel::TakeState::Refused);
    // A lost notice only delays the outcome: the owner's next cycle reads it anyway.
    if (owner != nullptr) ::PostMessageW(owner, WM_VANTREL_REPARENTED, static_cast<WPARAM>(ticket), 0);
}

void RunReparent(void* r) { Run(*static_cast<Reparent*>(r)); }
}  // namespace

// Only hand-backs come here: a window is taken in by BeginReparent, which first makes
// sure that its program answers.
bool Win32Desktop::SetParent(vantrel::WindowId w, vantrel::WindowId) {
    return ::SetParent(H(w), ::GetDesktopWindow()) != nullptr;
}

vantrel::TakeState Win32Desktop::BeginReparent(vantrel::Ticket ticket, vantrel::WindowId w, vantrel::WindowId parent,
                                               vantrel::WindowId owner) {
    FreeForgotten();
    // One re-parenting at a time, and the first one stands.
    if (OnItsWay(H(w))) return vantrel::TakeState::Refused;
    const bool takeIn = parent != vantrel::kNoWindow;
    if (takeIn) {
        const unsigned long long start = MicrosNow();
        const bool answer = (AnsweredJustNow(H(w)) || Answers(H(w))) && TakenThreadsAnswer(H(parent), H(w));
        s_probeMicros += MicrosNow() - start;
        if (!answer) return vantrel::TakeState::Refused;
    }
    auto* r = new Reparent;
    r->ticket = ticket;
    r->window = H(w);
    r->parent = takeIn ? H(parent) : ::GetDesktopWindow();
    r->owner = H(owner);
    r->unhide = takeIn && ::GetAncestor(H(w), GA_PARENT) == ::GetDesktopWindow() && ::IsWindowVisible(H(w));
    Reparents().push_back(r);
    if (!RunOnWorker(RunReparent, r)) {
        r->owner = nullptr;  // told by the return value
        Run(*r);             // no thread to be had: here, waiting if it must
    }
    return ReparentResult(ticket);
}

vantrel::TakeState Win32Desktop::ReparentResult(vantrel::Ticket ticket) {
    Reparent* r = FindReparent(ticket);
    if (r == nullptr || r->forgotten) return vantrel::TakeState::Refused;
    const auto state = static_cast<vantrel::TakeState>(r->state.load());
    if (state == vantrel::TakeState::Pending) {
        StartOverdueWork();  // the cycle that polls for it, or the wait for it
        return state;
    }
    if (state == vantrel::TakeState::Taken && r->parent != ::GetDesktopWindow()) NoteTaken(r->window);
    Free(r);
    return state;
}

void Win32Desktop::ForgetReparent(vantrel::Ticket ticket) {
    Reparent* r = FindReparent(ticket);
    if (r == nullptr) return;
    // A window that arrived while the thread still waits: shown again should it have
    // been hidden for the move, and its thread noted as one of ours.
    if (r->parent != ::GetDesktopWindow() && ::GetAncestor(r->window, GA_PARENT) == r->parent) {
        if (r->unhide) ::ShowWindowAsync(r->window, SW_SHOWNA);
        NoteTaken(r->window);
    }
    if (Running(*r))
        r->forgotten = true;
    else
        Free(r);
}

void Win32Desktop::WaitForReparents(const std::vector<vantrel::Ticket>& tickets, unsigned timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    const auto running = [&tickets] {
        return std::any_of(tickets.begin(), tickets.end(), [](vantrel::Ticket ticket) {
            const Reparent* r = FindReparent(ticket);
            return r != nullptr && Running(*r);
        });
    };
    // Looked at every few milliseconds; the program waited on may ask us something
    // meanwhile, and is answered.
    while (running() && ::GetTickCount64() < deadline) {
        StartOverdueWork();
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

bool Win32Desktop::AskAnswer(vantrel::Ticket ticket, vantrel::WindowId w, vantrel::WindowId owner) {
    return ProbeAndPost(H(w), H(owner), WM_VANTREL_ANSWERED, static_cast<WPARAM>(ticket));
}

std::uint64_t Win32Desktop::Milliseconds() { return ::GetTickCount64(); }

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
    ui::GuardActivation();  // bringing a frame of ours forward moves the focus
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
    int vk = 0;
    switch (key) {
    case vantrel::Key::Control:
        if (s_controlReadAt != s_tick) {
            s_controlDown = ::GetAsyncKeyState(VK_CONTROL) != 0;
            s_controlReadAt = s_tick;
        }
        return s_controlDown;
    case vantrel::Key::Shift: vk = VK_SHIFT; break;
    case vantrel::Key::Tab: vk = VK_TAB; break;
    case vantrel::Key::F4: vk = VK_F4; break;
    case vantrel::Key::Space: vk = VK_SPACE; break;
    case vantrel::Key::T: vk = 'T'; break;
    }
    return ::GetAsyncKeyState(vk) != 0;
}

}  // namespace hosting

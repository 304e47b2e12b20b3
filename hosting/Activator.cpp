#include "hosting/Activator.h"

namespace hosting {

Activator& Activator::Instance() {
    // Never destroyed: at the program's end the worker may still wait on a viewer,
    // and the process ending takes it along.
    static Activator* instance = [] {
        auto* made = new Activator;
        ::InitializeCriticalSection(&made->m_lock);
        ::InitializeConditionVariable(&made->m_wake);
        return made;
    }();
    return *instance;
}

namespace {
// Long enough that a user switching documents keeps one worker.
const DWORD kIdleEndMs = 10000;
}  // namespace

bool Activator::Start() {
    m_uiThread = ::GetCurrentThreadId();
    // It calls a handful of system functions and nothing deep: the program's default
    // stack would be waste (Wine commits a thread's whole stack, 1 MiB at the least).
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 64 * 1024, Work, this, STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
    if (thread == nullptr) return false;
    m_workerThread = id;
    ::CloseHandle(thread);
    return true;
}

bool Activator::Request(HWND window, Kind kind) {
    if (m_failed) return false;  // set by the worker too, should it not share our input
    ::EnterCriticalSection(&m_lock);
    bool started = true;
    if (!m_running) {
        m_running = started = Start();
        if (!started) m_failed = true;
    }
    if (started) {
        m_window = window;
        m_kind = kind;
    }
    ::LeaveCriticalSection(&m_lock);
    if (started) ::WakeConditionVariable(&m_wake);
    return started;
}

unsigned Activator::Finished() const { return static_cast<unsigned>(m_finished); }

DWORD WINAPI Activator::Work(void* self) {
    auto& activator = *static_cast<Activator*>(self);
    // Sharing the user-interface thread's input is what lets this thread move the
    // focus and the active window there.
    // Without it the worker could move nothing: the user-interface thread does it then.
    if (!::AttachThreadInput(::GetCurrentThreadId(), activator.m_uiThread, TRUE)) {
        activator.m_failed = true;
        return 0;
    }
    for (;;) {
        ::EnterCriticalSection(&activator.m_lock);
        while (activator.m_window == nullptr) {
            if (!::SleepConditionVariableCS(&activator.m_wake, &activator.m_lock, kIdleEndMs) &&
                activator.m_window == nullptr) {
                // Ending under the lock: a request made from now on starts a new worker.
                activator.m_running = false;
                activator.m_workerThread = 0;
                ::LeaveCriticalSection(&activator.m_lock);
                return 0;
            }
        }
        HWND window = activator.m_window;
        const Kind kind = activator.m_kind;
        activator.m_window = nullptr;
        ::LeaveCriticalSection(&activator.m_lock);

        if (!::IsWindow(window)) {
            // gone meanwhile: nothing to do
        } else if (kind == Kind::Focus) {
            ::SetFocus(window);
        } else {
            if (kind == Kind::Foreground)
                ::SetForegroundWindow(window);
            else
                ::SetActiveWindow(window);
            // Some platforms (Wine among them) activate a re-parented window of another
            // process without raising it among its siblings.
            ::BringWindowToTop(window);
        }
        ::InterlockedIncrement(&activator.m_finished);
    }
}

}  // namespace hosting

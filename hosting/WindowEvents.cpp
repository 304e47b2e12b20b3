#include "hosting/WindowEvents.h"

#include <cstdlib>
#include <cstring>

namespace hosting {
namespace {
HWINEVENTHOOK s_hook = nullptr;
HWND s_target = nullptr;
DWORD s_ownThread = 0;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD eventThread,
                         DWORD) {
    // Only whole windows that come, not ones that go; our own thread's windows (buttons,
    // menus, tooltips) never concern capture. Some systems report no thread: the
    // control checks again.
    if (event == EVENT_OBJECT_DESTROY) return;
    if (hwnd == nullptr || idObject != OBJID_WINDOW || idChild != CHILDID_SELF) return;
    if (eventThread != 0 && eventThread == s_ownThread) return;
    if (s_target != nullptr) ::PostMessageW(s_target, WM_VANTREL_WINDOW_APPEARED, reinterpret_cast<WPARAM>(hwnd), 0);
}
}  // namespace

bool WindowEvents::Wanted() {
    static const bool wanted = [] {
        const char* pollOnly = std::getenv("VANTREL_POLL_ONLY");
        return pollOnly == nullptr || std::strcmp(pollOnly, "1") != 0;
    }();
    return wanted;
}

bool WindowEvents::Start(HWND target) {
    s_target = target;
    if (s_hook != nullptr) return true;
    s_ownThread = ::GetCurrentThreadId();
    // Out of context: no code of ours goes into other processes. Some systems ignore
    // the wish to skip our own process, hence the thread check in the callback.
    s_hook = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnWinEvent, 0, 0,
                               WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (s_hook == nullptr) s_target = nullptr;
    return s_hook != nullptr;
}

void WindowEvents::Stop() {
    if (s_hook != nullptr) ::UnhookWinEvent(s_hook);
    s_hook = nullptr;
    s_target = nullptr;
}

bool WindowEvents::Active() { return s_hook != nullptr; }

}  // namespace hosting

#include "hosting/SharedInput.h"

#include <algorithm>
#include <vector>

#include "hosting/Activator.h"
#include "hosting/Probe.h"

namespace hosting {
namespace {

struct Left {
    DWORD thread;
    HWND window;         // of that thread, asked whether it answers
    bool asked = false;  // an answer is awaited
};
std::vector<Left> s_left;  // the user-interface thread's alone
std::vector<DWORD> s_joined;  // threads whose input ours is joined with, the same

void Joined(DWORD thread) {
    if (std::find(s_joined.begin(), s_joined.end(), thread) == s_joined.end()) s_joined.push_back(thread);
}

void Parted(DWORD thread) { s_joined.erase(std::remove(s_joined.begin(), s_joined.end(), thread), s_joined.end()); }

void Leave(HWND window) {
    const DWORD self = ::GetCurrentThreadId();
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || thread == self) return;
    if (std::any_of(s_left.begin(), s_left.end(), [thread](const Left& l) { return l.thread == thread; })) return;
    if (Answers(window)) return;
    if (!::AttachThreadInput(self, thread, FALSE)) return;
    Parted(thread);
    s_left.push_back({thread, window});
}

// A failure leaves the hosted programs each on its own input: clicks into them still
// work, only the keyboard focus no longer follows across programs.
void JoinThroughWorker() {
    if (const DWORD worker = Activator::Instance().Thread()) ::AttachThreadInput(::GetCurrentThreadId(), worker, TRUE);
}

void Join(DWORD thread) {
    if (::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE)) Joined(thread);
}

void CALLBACK Answered(HWND window, UINT, ULONG_PTR thread, LRESULT) {
    const auto left = std::find_if(s_left.begin(), s_left.end(), [thread](const Left& l) { return l.thread == thread; });
    if (left == s_left.end()) return;
    s_left.erase(left);
    // Joined again through it only while the window is still one of ours to host;
    // else through the activation worker, which the other hosted programs share.
    if (::GetWindowThreadProcessId(window, nullptr) == thread && ::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow())
        Join(static_cast<DWORD>(thread));
    else
        JoinThroughWorker();
}

}  // namespace

void ShareInput(HWND window) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    // A thread that left and now has a window taken in has just answered the probes.
    s_left.erase(std::remove_if(s_left.begin(), s_left.end(), [thread](const Left& l) { return l.thread == thread; }),
                 s_left.end());
    // Refused (a program of higher integrity, one that just ended): the window is
    // hosted all the same, on an input of its own.
    if (thread != 0) Join(thread);
}

void KeepInputOf(const std::vector<HWND>& hosted) {
    if (s_joined.empty()) return;
    std::vector<DWORD> threads;
    threads.reserve(hosted.size());
    for (HWND window : hosted) threads.push_back(::GetWindowThreadProcessId(window, nullptr));
    const DWORD self = ::GetCurrentThreadId();
    for (std::size_t i = s_joined.size(); i-- > 0;) {
        const DWORD thread = s_joined[i];
        if (std::find(threads.begin(), threads.end(), thread) != threads.end()) continue;
        // Its last window left, or its thread ended (then there is nothing to part from).
        ::AttachThreadInput(self, thread, FALSE);
        s_joined.erase(s_joined.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void LeaveHungInput() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetCurrentThreadId(), &info)) return;
    if (info.hwndFocus != nullptr) Leave(info.hwndFocus);
    if (info.hwndActive != nullptr && info.hwndActive != info.hwndFocus) Leave(info.hwndActive);
}

void RejoinAnsweringInput() {
    for (auto it = s_left.begin(); it != s_left.end();) {
        if (::GetWindowThreadProcessId(it->window, nullptr) != it->thread) {
            // Its window is gone, and with it the thread to join through: the other
            // hosted programs still share the input of the activation worker.
            it = s_left.erase(it);
            JoinThroughWorker();
            continue;
        }
        if (!it->asked) it->asked = Probe(it->window, Answered, it->thread);
        ++it;
    }
}

}  // namespace hosting

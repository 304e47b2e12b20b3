#include "hosting/Probe.h"

#include <algorithm>
#include <vector>

namespace hosting {
namespace {

struct LastAnswer {
    HWND window = nullptr;
    ULONGLONG at = 0;
};
LastAnswer s_lastAnswer;  // the user-interface thread's alone
constexpr ULONGLONG kJustNow = 50;  // ms

// Probes whose answer goes to an owner's window, by number.
struct Posted {
    ULONG_PTR number;
    HWND owner;
    UINT message;
    WPARAM wParam;
};
// The same, and never freed: an answer may come while the program ends.
std::vector<Posted>& PostedProbes() {
    static auto* probes = new std::vector<Posted>;
    return *probes;
}
ULONG_PTR s_lastNumber = 0;

void CALLBACK PostAnswer(HWND, UINT, ULONG_PTR number, LRESULT) {
    auto& probes = PostedProbes();
    const auto probe = std::find_if(probes.begin(), probes.end(), [number](const Posted& p) { return p.number == number; });
    if (probe == probes.end()) return;
    const Posted answered = *probe;
    probes.erase(probe);
    ::PostMessageW(answered.owner, answered.message, answered.wParam, 0);
}

// Threads that did not answer in time lately. A handler may ask about the same
// program several times over (the window, then every program sharing the host view,
// then the input), and each question to a hung program costs the whole timeout: so
// the first silence stands for a while, and a probe sent without waiting lifts it as
// soon as the program answers.
struct Silent {
    DWORD thread;
    ULONGLONG at;
    bool lifted = false;
};
std::vector<Silent> s_silent;  // the user-interface thread's alone
constexpr ULONGLONG kSilenceStands = 1000;  // ms

void CALLBACK LiftSilence(HWND, UINT, ULONG_PTR thread, LRESULT) {
    for (Silent& silent : s_silent) {
        if (silent.thread == thread) silent.lifted = true;
    }
}

bool KnownSilent(DWORD thread) {
    const ULONGLONG now = ::GetTickCount64();
    s_silent.erase(std::remove_if(s_silent.begin(), s_silent.end(),
                                  [now](const Silent& s) { return s.lifted || now - s.at > kSilenceStands; }),
                   s_silent.end());
    return std::any_of(s_silent.begin(), s_silent.end(), [thread](const Silent& s) { return s.thread == thread; });
}

}  // namespace

bool Answers(HWND window) {
    constexpr UINT kTimeout = 100;  // ms a busy program may take; a hung one does not answer
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread != 0 && KnownSilent(thread)) return false;
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeout, &result) != 0) return true;
    if (thread != 0 && thread != ::GetCurrentThreadId()) {
        s_silent.push_back(Silent{thread, ::GetTickCount64()});
        Probe(window, LiftSilence, thread);
    }
    return false;
}

void NoteAnswered(HWND window) { s_lastAnswer = {window, ::GetTickCount64()}; }

bool AnsweredJustNow(HWND window) {
    return window != nullptr && s_lastAnswer.window == window && ::GetTickCount64() - s_lastAnswer.at <= kJustNow;
}

bool Probe(HWND window, SENDASYNCPROC answered, ULONG_PTR data) {
    return ::SendMessageCallbackW(window, WM_NULL, 0, 0, answered, data) != FALSE;
}

bool ProbeAndPost(HWND window, HWND owner, UINT message, WPARAM wParam) {
    const ULONG_PTR number = ++s_lastNumber;
    // Listed first: a window of our own thread answers at once, inside the call.
    PostedProbes().push_back(Posted{number, owner, message, wParam});
    if (Probe(window, PostAnswer, number)) return true;
    auto& probes = PostedProbes();
    probes.erase(std::remove_if(probes.begin(), probes.end(), [number](const Posted& p) { return p.number == number; }),
                 probes.end());
    return false;
}

void ForgetProbesFor(HWND owner) {
    auto& probes = PostedProbes();
    probes.erase(std::remove_if(probes.begin(), probes.end(), [owner](const Posted& p) { return p.owner == owner; }),
                 probes.end());
}

}  // namespace hosting

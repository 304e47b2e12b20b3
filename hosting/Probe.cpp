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

}  // namespace

bool Answers(HWND window) {
    constexpr UINT kTimeout = 100;  // ms a busy program may take; a hung one does not answer
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeout, &result) != 0;
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

#include "hosting/Responsiveness.h"

#include <algorithm>

#include "core/Log.h"
#include "hosting/Probe.h"

namespace hosting {
namespace {

constexpr ULONGLONG kAskEvery = 500;  // ms between an answer and the next question
constexpr ULONGLONG kSilence = 1000;  // ms without an answer that the log tells of

struct Watched {
    DWORD thread = 0;
    DWORD process = 0;
    HWND window = nullptr;  // one of the thread's hosted windows, asked for the thread
    ULONGLONG askedAt = 0;
    ULONGLONG answeredAt = 0;
    bool asking = false;
    bool silent = false;  // logged as not answering
};
std::vector<Watched> s_watched;  // the user-interface thread's alone

void CALLBACK Answered(HWND, UINT, ULONG_PTR thread, LRESULT) {
    const auto watched = std::find_if(s_watched.begin(), s_watched.end(),
                                      [thread](const Watched& w) { return w.thread == thread; });
    if (watched == s_watched.end()) return;
    const ULONGLONG now = ::GetTickCount64();
    if (watched->silent)
        vantrel::Log("viewer p%lu answered again after %llu ms", watched->process, now - watched->askedAt);
    watched->asking = false;
    watched->silent = false;
    watched->answeredAt = now;
}

}  // namespace

void WatchPrograms(const std::vector<HWND>& hosted) {
    // Threads none of whose windows is hosted any more are no longer asked.
    std::vector<Watched> kept;
    for (HWND window : hosted) {
        DWORD process = 0;
        const DWORD thread = ::GetWindowThreadProcessId(window, &process);
        if (thread == 0 || std::any_of(kept.begin(), kept.end(), [thread](const Watched& w) { return w.thread == thread; }))
            continue;
        const auto known = std::find_if(s_watched.begin(), s_watched.end(),
                                        [thread](const Watched& w) { return w.thread == thread; });
        kept.push_back(known != s_watched.end() ? *known : Watched{thread, process, window});
        kept.back().window = window;
    }
    s_watched = std::move(kept);
}

void CheckResponsiveness() {
    const ULONGLONG now = ::GetTickCount64();
    for (Watched& watched : s_watched) {
        if (watched.asking) {
            if (!watched.silent && now - watched.askedAt > kSilence) {
                watched.silent = true;
                vantrel::Log("viewer p%lu has not answered for more than %llu ms (window %s)", watched.process,
                             kSilence, vantrel::LogName(reinterpret_cast<vantrel::WindowId>(watched.window)).c_str());
            }
            continue;
        }
        if (now - watched.answeredAt < kAskEvery) continue;
        if (Probe(watched.window, Answered, watched.thread)) {
            watched.asking = true;
            watched.askedAt = now;
        }
    }
}

}  // namespace hosting

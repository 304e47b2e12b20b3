// Measures a running Vantrel from outside and prints the figures:
//   - capture latency: a viewer window's creation to its button in the taskbar;
//   - CPU time while idle, with hosted windows and many other top-level windows;
//   - private memory and working set after start-up and with windows hosted.
// It asserts nothing; every wait is bounded, and a failed step ends the run
// with a message and exit code 1, everything started being ended first.
#include <windows.h>

#include <mmsystem.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "vantrel_client.h"
#include "viewer_client.h"

namespace {

struct Settings {
    int latencyWindows = 60;   // opened one after another, each timed on its own
    int memoryHosted = 50;     // memory is read once this many are hosted
    int idleHosted = 20;       // hosted during the idle measurement
    int otherWindows = 300;    // top-level windows of another class meanwhile
    int idleSeconds = 10;      // wall time of one idle measurement
    int idleRuns = 3;
    int warmupMs = 1000;       // before the idle runs, so start-up work is over
};

constexpr const wchar_t* kOtherClass = L"VantrelBenchOther";
constexpr double kButtonTimeoutMs = 5000.0;
constexpr int kSettleTimeoutMs = 10000;

// --- Time -------------------------------------------------------------------

double Frequency() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return frequency;
}

double NowMs() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / Frequency();
}

// Sleep(1) sleeps a whole scheduler tick (15.6 ms by default on Windows)
// unless the timer resolution is raised; held for the whole run.
class TimerResolution {
public:
    TimerResolution() : m_raised(::timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~TimerResolution() {
        if (m_raised) ::timeEndPeriod(1);
    }
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

private:
    bool m_raised;
};

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Polls `condition` with Sleep(1) between polls until it holds or `timeoutMs`
// passes; `*when` gets the time of the poll that saw it hold. Sleep(1) rather
// than Sleep(0): spinning would take a core from Vantrel on a small machine.
template <typename Condition>
bool PollUntil(Condition condition, double timeoutMs, double* when) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        const bool holds = condition();
        const double now = NowMs();
        if (holds) {
            if (when != nullptr) *when = now;
            return true;
        }
        if (now >= deadline) return false;
        PumpMessages();
        ::Sleep(1);
    }
}

// Waits `ms` of wall time without using the CPU, answering any message sent
// to this thread. False if `process` ends meanwhile.
bool IdleWait(HANDLE process, double ms) {
    const double deadline = NowMs() + ms;
    for (;;) {
        const double left = deadline - NowMs();
        if (left <= 0) return true;
        const DWORD result =
            ::MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return false;
        PumpMessages();
    }
}

// --- Figures of another process ------------------------------------------------

std::uint64_t Ticks(const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// Kernel + user time of the process as a whole, in ms.
double ProcessCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0.0;
    return static_cast<double>(Ticks(kernel) + Ticks(user)) / 10000.0;  // 100 ns units
}

// Kernel + user time summed over the process's live threads, in ms. Wine 8
// counts next to nothing in GetProcessTimes of another process (about 1 ms
// per s where the kernel counted 200), but its thread times are right.
double ThreadsCpuMs(DWORD pid) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0.0;
    std::uint64_t total = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid) continue;
        const HANDLE thread = ::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        FILETIME created, exited, kernel, user;
        if (::GetThreadTimes(thread, &created, &exited, &kernel, &user)) total += Ticks(kernel) + Ticks(user);
        ::CloseHandle(thread);
    }
    ::CloseHandle(snapshot);
    return static_cast<double>(total) / 10000.0;
}

struct Memory {
    bool ok = false;
    double privateKiB = 0;
    double workingSetKiB = 0;
    double committedPrivateKiB = 0;
};

// Committed private pages, region by region. Wine reports PrivateUsage of
// another process as zero; this count needs nothing but the address space.
double CommittedPrivateKiB(HANDLE process) {
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         ::VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return static_cast<double>(total) / 1024.0;
}

Memory ReadMemory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    Memory memory;
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return memory;
    memory.ok = true;
    memory.privateKiB = static_cast<double>(counters.PrivateUsage) / 1024.0;
    memory.workingSetKiB = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    memory.committedPrivateKiB = CommittedPrivateKiB(process);
    return memory;
}

// --- Output -----------------------------------------------------------------------

// Each line is flushed, so a run that stops early still shows what it measured.
void Line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintMemory(const char* label, const Memory& memory) {
    if (!memory.ok) {
        Line("memory, %s: not readable", label);
        return;
    }
    Line("memory, %s: private (PrivateUsage) %.0f KiB (%.1f MiB)%s", label, memory.privateKiB,
         memory.privateKiB / 1024.0, memory.privateKiB == 0 ? ", i.e. not reported by this system" : "");
    Line("memory, %s: private committed (VirtualQueryEx) %.0f KiB (%.1f MiB)", label, memory.committedPrivateKiB,
         memory.committedPrivateKiB / 1024.0);
    Line("memory, %s: working set %.0f KiB (%.1f MiB)", label, memory.workingSetKiB,
         memory.workingSetKiB / 1024.0);
}

int Fail(const char* what) {
    std::fflush(stdout);
    std::fprintf(stderr, "vantrel_bench: %s\n", what);
    return 1;
}

// --- Command line -------------------------------------------------------------------

bool ParseSettings(int argc, char** argv, Settings& settings) {
    struct Option {
        const char* name;
        int* value;
        int minimum;
    };
    const Option options[] = {
        {"--latency-windows", &settings.latencyWindows, 1}, {"--memory-hosted", &settings.memoryHosted, 1},
        {"--idle-hosted", &settings.idleHosted, 0},         {"--other-windows", &settings.otherWindows, 0},
        {"--idle-seconds", &settings.idleSeconds, 1},       {"--idle-runs", &settings.idleRuns, 1},
    };
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const Option& option : options) {
            if (std::strcmp(argv[i], option.name) != 0) continue;
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < option.minimum || value > 5000) return false;
            *option.value = static_cast<int>(value);
            known = true;
        }
        if (!known) return false;
    }
    // Both counts are reached on the way through the latency windows.
    return settings.memoryHosted <= settings.latencyWindows && settings.idleHosted <= settings.latencyWindows;
}

// The processes of a run. Ending it closes Vantrel's main frame first, so the
// hosted windows are released before their viewer goes.
struct Session {
    VantrelProcess vantrel;
    ViewerProcess viewer;
    ViewerProcess others;

    ~Session() {
        if (vantrel.IsRunning()) {
            if (HWND main = vantrel.MainFrame()) ::PostMessageW(main, WM_CLOSE, 0, 0);
            if (!vantrel.WaitForExit(10000)) {
                std::fprintf(stderr, "vantrel_bench: Vantrel did not close within 10 s; terminated\n");
                vantrel.Terminate();
            }
        }
        viewer.Quit();
        others.Quit();
        ResetProfile();
    }
};

// --- The run --------------------------------------------------------------------------

int Run(const Settings& settings) {
    Line("Vantrel benchmark");
    Line("setting: capture latency over %d windows, opened one after another", settings.latencyWindows);
    Line("setting: memory read at start-up and with %d hosted windows", settings.memoryHosted);
    Line("setting: idle CPU with %d hosted + %d hidden top-level windows of class %ls, %d runs of %d s after %d ms "
         "warm-up",
         settings.idleHosted, settings.otherWindows, kOtherClass, settings.idleRuns, settings.idleSeconds,
         settings.warmupMs);

    // How finely the latency polls can see: the clock, and what Sleep(1) really takes.
    std::vector<double> sleeps;
    for (int i = 0; i < 200; ++i) {
        const double t0 = NowMs();
        ::Sleep(1);
        sleeps.push_back(NowMs() - t0);
    }
    Line("timer: QueryPerformanceCounter at %.0f Hz", Frequency());
    Line("timer: polls yield with Sleep(1) (timer period 1 ms requested); Sleep(1) took median %.3f ms, max %.3f ms "
         "over 200 calls",
         bench::Median(sleeps), bench::Max(sleeps));

    // Vantrel must not reach beyond this machine.
    if (::GetEnvironmentVariableW(L"VANTREL_SERVER", nullptr, 0) == 0)
        ::SetEnvironmentVariableW(L"VANTREL_SERVER", L"http://127.0.0.1:9");
    ResetProfile();

    Session session;
    VantrelProcess& vantrel = session.vantrel;
    ViewerProcess& viewer = session.viewer;
    ViewerProcess& others = session.others;

    const double startRequested = NowMs();
    if (!vantrel.Start() || !vantrel.WaitForStartup()) return Fail("Vantrel did not start");
    const double startedMs = NowMs() - startRequested;
    const HWND frame = vantrel.MainFrame();
    const HWND control = TaskbarControl(frame);
    if (frame == nullptr || control == nullptr) return Fail("Vantrel's main frame or taskbar not found");
    // Start-up done: the frame waits for input.
    ::WaitForInputIdle(vantrel.Process(), 5000);
    Line("start-up: main frame shown %.0f ms after the process was created", startedMs);
    PrintMemory("after start-up, nothing hosted", ReadMemory(vantrel.Process()));

    // Capture latency. Vantrel re-parents a window, then makes its button, in the
    // same cycle. Polling first watches the window's parent, one question to the
    // system, and only then the next button id (ids run on from 400 without
    // gaps): finding a child by id asks about every button, and asking that every
    // millisecond would load the system Vantrel itself is waiting on.
    if (!viewer.Start(ViewerExe(), {L"--windows", L"0"})) return Fail("the viewer did not start");
    std::vector<HWND> documents;
    std::vector<double> latencies;
    std::vector<double> openCalls;
    Memory memoryHosted;
    for (int i = 0; i < settings.latencyWindows; ++i) {
        const size_t before = documents.size();
        const double beforeOpen = NowMs();
        const HWND document = viewer.Open(L"Latency " + std::to_wstring(i + 1));
        const double created = NowMs();
        if (document == nullptr) return Fail("the viewer did not open a window");
        documents.push_back(document);
        double seen = 0;
        const int nextId = kFirstButtonId + static_cast<int>(before);
        const HWND desktop = ::GetDesktopWindow();
        if (!PollUntil([&] { return ::GetAncestor(document, GA_PARENT) != desktop; }, kButtonTimeoutMs, nullptr) ||
            !PollUntil([&] { return ::GetDlgItem(control, nextId) != nullptr; }, kButtonTimeoutMs, &seen))
            return Fail("a window got no button within 5 s");
        latencies.push_back(seen - created);
        openCalls.push_back(created - beforeOpen);
        if (WindowButtons(frame).size() != before + 1) return Fail("unexpected number of window buttons");

        if (static_cast<int>(documents.size()) == settings.memoryHosted) {
            // The button's caption comes a cycle later; read memory once that is done too.
            const HWND button = ::GetDlgItem(control, nextId);
            PollUntil([&] { return !WindowTitle(button).empty(); }, kButtonTimeoutMs, nullptr);
            memoryHosted = ReadMemory(vantrel.Process());
        }
    }
    const int count = static_cast<int>(latencies.size());
    Line("capture latency, %d windows: p50 %.1f ms", count, bench::Percentile(latencies, 50));
    Line("capture latency, %d windows: p95 %.1f ms", count, bench::Percentile(latencies, 95));
    Line("capture latency, %d windows: max %.1f ms", count, bench::Max(latencies));
    Line("capture latency, %d windows: mean %.1f ms", count, bench::Mean(latencies));
    Line("capture latency, %d windows: min %.1f ms", count, bench::Percentile(latencies, 0));
    // The cycle visits every hosted window, so the cost of each one shows here.
    const int band = std::min(10, count);
    const std::vector<double> first(latencies.begin(), latencies.begin() + band);
    const std::vector<double> last(latencies.end() - band, latencies.end());
    Line("capture latency, windows 1-%d (0-%d already hosted): median %.1f ms", band, band - 1, bench::Median(first));
    Line("capture latency, windows %d-%d (%d-%d already hosted): median %.1f ms", count - band + 1, count,
         count - band, count - 1, bench::Median(last));
    Line("viewer Open() call (not part of the latency): median %.1f ms", bench::Median(openCalls));
    char label[64];
    std::snprintf(label, sizeof label, "%d hosted", settings.memoryHosted);
    PrintMemory(label, memoryHosted);

    // Idle: down to the idle count of hosted windows, then the crowd of others.
    while (static_cast<int>(documents.size()) > settings.idleHosted) {
        viewer.Destroy(documents.back());
        documents.pop_back();
    }
    if (!WaitFor([&] { return static_cast<int>(WindowButtons(frame).size()) == settings.idleHosted; },
                 kSettleTimeoutMs))
        return Fail("the buttons of destroyed windows did not go");
    if (settings.otherWindows > 0 &&
        !others.Start(ViewerExe(),
                      {L"--class", kOtherClass, L"--windows", std::to_wstring(settings.otherWindows), L"--hidden",
                       L"--stay"},
                      60000))
        return Fail("the viewer with the other windows did not start");
    if (static_cast<int>(others.Windows(kOtherClass).size()) != settings.otherWindows)
        return Fail("the other windows are not all there");
    if (!IdleWait(vantrel.Process(), settings.warmupMs)) return Fail("Vantrel ended");

    // Both measures of CPU time are read over the same interval; see ThreadsCpuMs.
    std::vector<double> processRates;
    std::vector<double> threadRates;
    for (int run = 1; run <= settings.idleRuns; ++run) {
        const double process0 = ProcessCpuMs(vantrel.Process());
        const double threads0 = ThreadsCpuMs(vantrel.Pid());
        const double wall0 = NowMs();
        if (!IdleWait(vantrel.Process(), settings.idleSeconds * 1000.0)) return Fail("Vantrel ended");
        const double wallS = (NowMs() - wall0) / 1000.0;
        const double processRate = (ProcessCpuMs(vantrel.Process()) - process0) / wallS;
        const double threadRate = (ThreadsCpuMs(vantrel.Pid()) - threads0) / wallS;
        processRates.push_back(processRate);
        threadRates.push_back(threadRate);
        Line("idle CPU, run %d, GetProcessTimes: %.2f ms CPU per s of wall time (%.2f %%) over %.2f s", run,
             processRate, processRate / 10.0, wallS);
        Line("idle CPU, run %d, GetThreadTimes summed: %.2f ms CPU per s of wall time (%.2f %%) over %.2f s", run,
             threadRate, threadRate / 10.0, wallS);
    }
    const double processMedian = bench::Median(processRates);
    const double threadMedian = bench::Median(threadRates);
    Line("idle CPU, median of %d runs, GetProcessTimes: %.2f ms CPU per s of wall time (%.2f %%)", settings.idleRuns,
         processMedian, processMedian / 10.0);
    Line("idle CPU, median of %d runs, GetThreadTimes summed: %.2f ms CPU per s of wall time (%.2f %%)",
         settings.idleRuns, threadMedian, threadMedian / 10.0);
    // Threads that ended make the sum the smaller one; a far smaller process
    // figure means the system does not count another process's time.
    if (processMedian < threadMedian / 2)
        Line("idle CPU: note: GetProcessTimes is under half the thread sum here, so it misses time; the thread sum "
             "is the figure");
    std::snprintf(label, sizeof label, "%d hosted + %d other windows", settings.idleHosted, settings.otherWindows);
    PrintMemory(label, ReadMemory(vantrel.Process()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr,
                     "usage: vantrel_bench [--latency-windows N] [--memory-hosted N] [--idle-hosted N]\n"
                     "                     [--other-windows N] [--idle-seconds S] [--idle-runs R]\n"
                     "(memory-hosted and idle-hosted may not exceed latency-windows)\n");
        return 2;
    }
    TimerResolution resolution;
    return Run(settings);
}

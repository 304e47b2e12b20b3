// Measures a running Vantrel from outside and prints the figures, for the build
// as it is (window events on) and again with VANTREL_POLL_ONLY=1, side by side:
//   - capture latency: a viewer window's CreateWindowEx to its button in the
//     taskbar showing its caption,
//     and where the capture's time went inside Vantrel;
//   - CPU time while idle, with hosted windows in many frames and many other
//     top-level windows: Vantrel's own, and the extra the wineserver spends, both
//     read from the Linux side where the program runs under Wine;
//   - private memory, and USER and GDI objects across many captures, frames and
//     menus.
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
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "bench_stats.h"
#include "resource.h"
#include "vantrel_client.h"
#include "viewer_client.h"

namespace {

struct Settings {
    int latencyWindows = 60;   // opened one after another, each timed on its own
    int memoryHosted = 50;     // memory is read once this many are hosted
    int idleHosted = 20;       // hosted during the idle measurement
    int idleFrames = 16;       // frames they are spread over, the main frame included
    int otherWindows = 300;    // top-level windows of another class meanwhile
    int idleSeconds = 10;      // wall time of one idle measurement
    int idleRuns = 3;
    int warmupMs = 1000;       // before the idle runs, so start-up work is over
    int captures = 2000;       // captures and closes while the objects are counted
    int frameCreations = 200;  // frames opened, given a window, and closed
    int menuOpenings = 500;    // per-window menus opened and closed
};

constexpr const wchar_t* kOtherClass = L"VantrelBenchOther";
constexpr double kButtonTimeoutMs = 5000.0;
constexpr int kSettleTimeoutMs = 10000;

// --- Time -------------------------------------------------------------------

// The system's copy of a window's text: asking for it sends nothing to the window's
// program, so polling it does not load the program being measured.
bool HasText(HWND window) {
    wchar_t text[2] = {};
    return ::InternalGetWindowText(window, text, 2) > 0;
}

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

// Kernel + user time summed over the process's live threads, in ms. Wine 8
// counts next to nothing in GetProcessTimes of another process (about 1 ms
// per s where the kernel counted 200); its thread times come closer, but miss
// what the wineserver does for the program: see LinuxCpuMs.
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

// Where the committed private pages are: the threads' stacks, found through
// each thread's TEB, and the largest other allocations. Under Wine a thread's
// whole stack is committed while it lives, so threads show up here first.
void PrintMemoryMap(const char* label, DWORD pid, HANDLE process) {
    using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    struct BasicInformation {
        LONG exitStatus;
        void* teb;
        void* clientId[2];
        ULONG_PTR affinity;
        LONG priority, basePriority;
    };
    const auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    std::vector<std::uintptr_t> stacks;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (query != nullptr && snapshot != INVALID_HANDLE_VALUE && ::Thread32First(snapshot, &entry)) {
        do {
            if (entry.th32OwnerProcessID != pid) continue;
            const HANDLE thread = ::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
            if (thread == nullptr) continue;
            BasicInformation basic{};
            std::uintptr_t deallocation = 0;
            // DeallocationStack sits at 0x1478 in a 64-bit TEB.
            if (query(thread, 0, &basic, sizeof basic, nullptr) == 0 &&
                ::ReadProcessMemory(process, static_cast<char*>(basic.teb) + 0x1478, &deallocation,
                                    sizeof deallocation, nullptr))
                stacks.push_back(deallocation);
            ::CloseHandle(thread);
        } while (::Thread32Next(snapshot, &entry));
    }
    if (snapshot != INVALID_HANDLE_VALUE) ::CloseHandle(snapshot);

    std::vector<std::pair<std::uintptr_t, std::uint64_t>> bases;  // allocation base, committed bytes
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         ::VirtualQueryEx(process, address, &region, sizeof region) == sizeof region && region.RegionSize != 0;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_COMMIT || region.Type != MEM_PRIVATE) continue;
        const auto base = reinterpret_cast<std::uintptr_t>(region.AllocationBase);
        if (bases.empty() || bases.back().first != base) bases.emplace_back(base, 0);
        bases.back().second += region.RegionSize;
    }
    std::uint64_t inStacks = 0;
    std::vector<std::pair<std::uint64_t, std::uintptr_t>> others;
    for (const auto& [base, bytes] : bases) {
        if (std::find(stacks.begin(), stacks.end(), base) != stacks.end())
            inStacks += bytes;
        else
            others.emplace_back(bytes, base);
    }
    std::sort(others.rbegin(), others.rend());
    std::string largest;
    for (size_t i = 0; i < others.size() && i < 8; ++i) {
        char item[48];
        std::snprintf(item, sizeof item, "%s%.0f", i == 0 ? "" : ", ", static_cast<double>(others[i].first) / 1024.0);
        largest += item;
    }
    Line("memory, %s: %zu threads, their stacks %.0f KiB committed; %zu other allocations, the largest (KiB): %s",
         label, stacks.size(), static_cast<double>(inStacks) / 1024.0, others.size(), largest.c_str());
}

int Fail(const char* what) {
    std::fflush(stdout);
    std::fprintf(stderr, "vantrel_bench: %s\n", what);
    return 1;
}

// --- The Linux side ------------------------------------------------------------------
// Under Wine, Windows' own counters miss the time the wineserver spends for a
// program, and undercount the program itself; Linux counts both. Its files are
// reachable through Wine's drive Z:, which is the root of the file system.

std::string ReadWholeFile(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    // Files of /proc report no size: read until nothing comes.
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

std::wstring ProcPath(unsigned pid, const wchar_t* file) {
    return L"Z:\\proc\\" + std::to_wstring(pid) + L"\\" + file;
}

// Fields of /proc/PID/stat after the command name, which may hold spaces: field 3
// (the state) comes first.
std::vector<std::string> StatFields(unsigned pid) {
    const std::string stat = ReadWholeFile(ProcPath(pid, L"stat"));
    const size_t close = stat.rfind(')');
    std::vector<std::string> fields;
    if (close == std::string::npos) return fields;
    size_t at = close + 1;
    while (at < stat.size()) {
        while (at < stat.size() && stat[at] == ' ') ++at;
        const size_t end = stat.find(' ', at);
        fields.push_back(stat.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end;
    }
    return fields;
}

double ClockTicksPerSecond() {
    char text[32] = {};
    const DWORD length = ::GetEnvironmentVariableA("VANTREL_BENCH_CLK_TCK", text, sizeof text);
    const long ticks = length > 0 ? std::strtol(text, nullptr, 10) : 0;
    return ticks > 0 ? static_cast<double>(ticks) : 100.0;
}

// User + system time of a Linux process, in ms; negative when it cannot be read.
double LinuxCpuMs(unsigned pid) {
    if (pid == 0) return -1;
    const std::vector<std::string> fields = StatFields(pid);
    if (fields.size() < 13) return -1;  // utime and stime are fields 14 and 15
    const double ticks = std::strtod(fields[11].c_str(), nullptr) + std::strtod(fields[12].c_str(), nullptr);
    return ticks * 1000.0 / ClockTicksPerSecond();
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The newest Linux process of our Wine prefix whose command line holds `name`
// (lower case), or 0. The prefix tells our processes from those of other
// prefixes on the same machine.
unsigned FindLinuxProcess(const std::string& name, const std::string& notName = "") {
    char prefix[MAX_PATH] = {};
    const bool hasPrefix = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix) > 0;
    const std::string prefixEntry = std::string("WINEPREFIX=") + prefix;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    unsigned best = 0;
    double bestStart = -1;
    do {
        wchar_t* end = nullptr;
        const unsigned long pid = std::wcstoul(entry.cFileName, &end, 10);
        if (pid == 0 || *end != L'\0') continue;
        const std::string commandLine = Lower(ReadWholeFile(ProcPath(pid, L"cmdline")));
        if (commandLine.find(name) == std::string::npos) continue;
        if (!notName.empty() && commandLine.find(notName) != std::string::npos) continue;
        if (hasPrefix) {
            std::string environment = ReadWholeFile(ProcPath(pid, L"environ"));
            environment.insert(environment.begin(), '\0');
            if (environment.find(std::string(1, '\0') + prefixEntry + std::string(1, '\0')) == std::string::npos)
                continue;
        }
        const std::vector<std::string> fields = StatFields(pid);
        const double start = fields.size() > 19 ? std::strtod(fields[19].c_str(), nullptr) : 0;  // field 22
        if (start > bestStart) {
            bestStart = start;
            best = pid;
        }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return best;
}

// --- Command line -------------------------------------------------------------------

bool ParseSettings(int argc, char** argv, Settings& settings) {
    struct Option {
        const char* name;
        int* value;
        int minimum;
    };
    const Option options[] = {
        {"--latency-windows", &settings.latencyWindows, 10}, {"--memory-hosted", &settings.memoryHosted, 1},
        {"--idle-hosted", &settings.idleHosted, 0},          {"--idle-frames", &settings.idleFrames, 1},
        {"--other-windows", &settings.otherWindows, 0},      {"--idle-seconds", &settings.idleSeconds, 1},
        {"--idle-runs", &settings.idleRuns, 1},              {"--captures", &settings.captures, 0},
        {"--frame-creations", &settings.frameCreations, 0},  {"--menu-openings", &settings.menuOpenings, 0},
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
    // Both counts are reached on the way through the latency windows; every frame
    // but the main one gets one of the idle windows.
    return settings.memoryHosted <= settings.latencyWindows && settings.idleHosted <= settings.latencyWindows &&
           settings.idleFrames <= 16 && settings.idleFrames - 1 <= settings.idleHosted;
}

// The processes of a run. Ending it closes Vantrel's main frame first, so the
// hosted windows are released before their viewer goes.
struct Session {
    VantrelProcess vantrel;
    ViewerProcess viewer;
    ViewerProcess others;

    void CloseVantrel() {
        if (!vantrel.IsRunning()) return;
        if (HWND main = vantrel.MainFrame()) ::PostMessageW(main, WM_CLOSE, 0, 0);
        if (!vantrel.WaitForExit(10000)) {
            std::fprintf(stderr, "vantrel_bench: Vantrel did not close within 10 s; terminated\n");
            vantrel.Terminate();
        }
    }
    ~Session() {
        CloseVantrel();
        viewer.Quit();
        others.Quit();
        ResetProfile();
    }
};

long long Count(HWND frame, TestCount which) { return ReadTestCount(frame, static_cast<int>(which)); }

// --- One configuration: latency, then idle CPU -------------------------------------------

struct Figures {
    std::vector<double> latencies;
    double p95 = 0, max = 0, p95First10 = 0, p95Last10 = 0;
    double idleThreadsMs = 0;    // Vantrel's threads, as Windows counts them, ms per s
    double idleLinuxMs = -1;     // Vantrel's Linux process, ms per s
    double serverWithMs = -1;    // the wineserver with Vantrel idle, ms per s
    double serverWithoutMs = -1; // the same with Vantrel gone
    double privateMiB = 0;       // the most committed private memory read
    double idlePercent() const {
        const double own = idleLinuxMs >= 0 ? idleLinuxMs : idleThreadsMs;
        const double server =
            serverWithMs >= 0 && serverWithoutMs >= 0 ? std::max(0.0, serverWithMs - serverWithoutMs) : 0.0;
        return (own + server) / 10.0;
    }
};

void NoteMemory(Figures& figures, const Memory& memory) {
    if (memory.ok) figures.privateMiB = std::max(figures.privateMiB, memory.committedPrivateKiB / 1024.0);
}

// Where the captures' time went inside Vantrel, as its test hooks summed it up.
void PrintCaptureProfile(const char* mode, HWND frame) {
    const long long records = Count(frame, TestCount::Records);
    if (records <= 0) return;
    const auto mean = [&](TestCount which) { return static_cast<double>(Count(frame, which)) / 1000.0 / records; };
    const double probe = mean(TestCount::ProbeMicros);
    Line("%s: capture profile, mean of %lld records, ms: answer checks %.2f, SetParent %.2f, AttachThreadInput %.2f, "
         "show %.2f, button %.2f, layout %.2f, first caption and tooltip %.2f",
         mode, records, probe, mean(TestCount::SetParentMicros) - probe, mean(TestCount::AttachMicros),
         mean(TestCount::ShowMicros), mean(TestCount::ButtonMicros), mean(TestCount::LayoutMicros),
         mean(TestCount::CaptionMicros));
}

// Brings the window of `index` forward in `frame`, as a click on its button does.
bool Activate(HWND frame, size_t index) {
    const auto buttons = WindowButtons(frame);
    if (index >= buttons.size()) return false;
    ::SendMessageW(buttons[index], BM_CLICK, 0, 0);
    return WaitFor([&] { return CheckedButton(frame) == static_cast<int>(index); }, 3000);
}

// Moves the first window of the main frame to the additional frame at `position`.
bool MoveFirstTo(HWND main, HWND target, unsigned position) {
    const size_t before = WindowButtons(target).size();
    if (!Activate(main, 0)) return false;
    ::SendMessageW(TaskbarControl(main), WM_COMMAND, ID_MOVE_TO_FIRST + position, 0);
    return WaitFor([&] { return WindowButtons(target).size() == before + 1; }, 5000);
}

const char* RunConfiguration(const Settings& settings, bool pollOnly, Figures& figures) {
    const char* mode = pollOnly ? "poll-only" : "event-driven";
    ResetProfile();
    Session session;
    VantrelProcess& vantrel = session.vantrel;
    ViewerProcess& viewer = session.viewer;
    ViewerProcess& others = session.others;

    std::vector<std::wstring> environment;
    if (pollOnly) environment.push_back(L"VANTREL_POLL_ONLY=1");
    const double startRequested = NowMs();
    if (!vantrel.Start(L"", environment) || !vantrel.WaitForStartup()) return "Vantrel did not start";
    const double startedMs = NowMs() - startRequested;
    const HWND frame = vantrel.MainFrame();
    const HWND control = TaskbarControl(frame);
    if (frame == nullptr || control == nullptr) return "Vantrel's main frame or taskbar not found";
    if (Count(frame, TestCount::EventsActive) != (pollOnly ? 0 : 1)) return "Vantrel is not in the mode asked for";
    // Start-up done: the frame waits for input.
    ::WaitForInputIdle(vantrel.Process(), 5000);
    Line("%s: start-up: main frame shown %.0f ms after the process was created", mode, startedMs);
    const Memory atStart = ReadMemory(vantrel.Process());
    PrintMemory("after start-up, nothing hosted", atStart);
    PrintMemoryMap("after start-up, nothing hosted", vantrel.Pid(), vantrel.Process());
    NoteMemory(figures, atStart);

    // Capture latency: from the viewer's CreateWindowEx (it tells the counter's reading
    // then, and the counter is the same in every process) to the window's button
    // showing its caption. Polling first watches the window's parent, one question
    // to the system, then the next button id (ids run on from 400 without gaps), then
    // its caption: finding a child by id asks about every button, and asking that
    // every millisecond would load the system Vantrel itself is waiting on.
    if (!viewer.Start(ViewerExe(), {L"--windows", L"0"})) return "the viewer did not start";
    std::vector<HWND> documents;
    std::vector<double>& latencies = figures.latencies;
    std::vector<double> openCalls;
    std::vector<double> viewerBusy;  // from CreateWindowEx until the viewer answers again
    Memory memoryHosted;
    for (int i = 0; i < settings.latencyWindows; ++i) {
        const size_t before = documents.size();
        const double beforeOpen = NowMs();
        const HWND document = viewer.Open(L"Latency " + std::to_wstring(i + 1));
        const double opened = NowMs();
        if (document == nullptr) return "the viewer did not open a window";
        documents.push_back(document);
        const long long createdAt = viewer.CreatedAt(document);
        if (createdAt == 0) return "the viewer did not tell when it created its window";
        const double created = static_cast<double>(createdAt) * 1000.0 / Frequency();
        double seen = 0;
        const int nextId = kFirstButtonId + static_cast<int>(before);
        const HWND desktop = ::GetDesktopWindow();
        HWND button = nullptr;
        if (!PollUntil([&] { return ::GetAncestor(document, GA_PARENT) != desktop; }, kButtonTimeoutMs, nullptr) ||
            !PollUntil([&] { return (button = ::GetDlgItem(control, nextId)) != nullptr; }, kButtonTimeoutMs,
                       nullptr) ||
            !PollUntil([&] { return HasText(button); }, kButtonTimeoutMs, &seen))
            return "a window got no captioned button within 5 s";
        latencies.push_back(seen - created);
        viewerBusy.push_back(static_cast<double>(viewer.ReadyAt(document) - createdAt) * 1000.0 / Frequency());
        openCalls.push_back(opened - beforeOpen);
        if (WindowButtons(frame).size() != before + 1) return "unexpected number of window buttons";

        if (static_cast<int>(documents.size()) == settings.memoryHosted) memoryHosted = ReadMemory(vantrel.Process());
    }
    const int count = static_cast<int>(latencies.size());
    const int band = std::min(10, count);
    const std::vector<double> first(latencies.begin(), latencies.begin() + band);
    const std::vector<double> last(latencies.end() - band, latencies.end());
    figures.p95 = bench::Percentile(latencies, 95);
    figures.max = bench::Max(latencies);
    figures.p95First10 = bench::Percentile(first, 95);
    figures.p95Last10 = bench::Percentile(last, 95);
    Line("%s: capture latency, %d windows: p50 %.1f ms, p95 %.1f ms, max %.1f ms, mean %.1f ms, min %.1f ms", mode,
         count, bench::Percentile(latencies, 50), figures.p95, figures.max, bench::Mean(latencies),
         bench::Percentile(latencies, 0));
    // The cycle visits every hosted window, so the cost of each one would show here.
    Line("%s: capture latency, windows 1-%d: median %.1f ms, p95 %.1f ms; windows %d-%d: median %.1f ms, p95 %.1f ms",
         mode, band, bench::Median(first), figures.p95First10, count - band + 1, count, bench::Median(last),
         figures.p95Last10);
    Line("%s: viewer Open() call (not part of the latency): median %.1f ms", mode, bench::Median(openCalls));
    // Nobody can take a window in before its program answers again: that part is the viewer's.
    std::vector<double> ours;
    for (std::size_t i = 0; i < latencies.size() && i < viewerBusy.size(); ++i)
        ours.push_back(latencies[i] - viewerBusy[i]);
    Line("%s: of the latency, the viewer making and showing its window: median %.1f ms, p95 %.1f ms; "
         "the rest, from the viewer's answer on: p50 %.1f ms, p95 %.1f ms, max %.1f ms",
         mode, bench::Median(viewerBusy), bench::Percentile(viewerBusy, 95), bench::Percentile(ours, 50),
         bench::Percentile(ours, 95), bench::Max(ours));
    PrintCaptureProfile(mode, frame);
    char label[96];
    std::snprintf(label, sizeof label, "%d hosted", settings.memoryHosted);
    PrintMemory(label, memoryHosted);
    NoteMemory(figures, memoryHosted);

    // Idle: down to the idle count of hosted windows, spread over the frames, then
    // the crowd of others.
    while (static_cast<int>(documents.size()) > settings.idleHosted) {
        viewer.Destroy(documents.back());
        documents.pop_back();
    }
    if (!WaitFor([&] { return static_cast<int>(WindowButtons(frame).size()) == settings.idleHosted; },
                 kSettleTimeoutMs))
        return "the buttons of destroyed windows did not go";
    for (int j = 1; j < settings.idleFrames; ++j) {
        const HWND added = vantrel.NewFrame(frame);
        if (added == nullptr) return "a new frame did not open";
        if (!MoveFirstTo(frame, added, static_cast<unsigned>(j - 1))) return "a window did not move to a new frame";
    }
    if (!WaitFor([&] { return static_cast<int>(WindowButtons(frame).size()) ==
                              settings.idleHosted - (settings.idleFrames - 1); },
                 kSettleTimeoutMs))
        return "the main frame did not let the moved windows go";
    if (settings.otherWindows > 0 &&
        !others.Start(ViewerExe(),
                      {L"--class", kOtherClass, L"--windows", std::to_wstring(settings.otherWindows), L"--hidden",
                       L"--stay"},
                      60000))
        return "the viewer with the other windows did not start";
    if (static_cast<int>(others.Windows(kOtherClass).size()) != settings.otherWindows)
        return "the other windows are not all there";
    if (!IdleWait(vantrel.Process(), settings.warmupMs)) return "Vantrel ended";

    const unsigned vantrelLinux = FindLinuxProcess("vantrel.exe", "vantrel_bench");
    const unsigned server = FindLinuxProcess("wineserver");
    if (vantrelLinux == 0) Line("%s: idle CPU: note: Vantrel's Linux process not found; Windows' figure used", mode);
    if (server == 0) Line("%s: idle CPU: note: the wineserver's Linux process not found; left out", mode);
    std::vector<double> threadRates, linuxRates, serverRates;
    for (int run = 1; run <= settings.idleRuns; ++run) {
        const double threads0 = ThreadsCpuMs(vantrel.Pid());
        const double linux0 = LinuxCpuMs(vantrelLinux);
        const double server0 = LinuxCpuMs(server);
        const double wall0 = NowMs();
        if (!IdleWait(vantrel.Process(), settings.idleSeconds * 1000.0)) return "Vantrel ended";
        const double wallS = (NowMs() - wall0) / 1000.0;
        threadRates.push_back((ThreadsCpuMs(vantrel.Pid()) - threads0) / wallS);
        if (linux0 >= 0) linuxRates.push_back((LinuxCpuMs(vantrelLinux) - linux0) / wallS);
        if (server0 >= 0) serverRates.push_back((LinuxCpuMs(server) - server0) / wallS);
        Line("%s: idle CPU, run %d over %.2f s, ms per s: Vantrel threads (Windows) %.2f, Vantrel process (Linux) "
             "%.2f, wineserver (Linux) %.2f",
             mode, run, wallS, threadRates.back(), linuxRates.empty() ? -1.0 : linuxRates.back(),
             serverRates.empty() ? -1.0 : serverRates.back());
    }
    figures.idleThreadsMs = bench::Median(threadRates);
    if (!linuxRates.empty()) figures.idleLinuxMs = bench::Median(linuxRates);
    if (!serverRates.empty()) figures.serverWithMs = bench::Median(serverRates);
    std::snprintf(label, sizeof label, "%d hosted in %d frames + %d other windows", settings.idleHosted,
                  settings.idleFrames, settings.otherWindows);
    const Memory idleMemory = ReadMemory(vantrel.Process());
    PrintMemory(label, idleMemory);
    PrintMemoryMap(label, vantrel.Pid(), vantrel.Process());
    NoteMemory(figures, idleMemory);
    // Under Wine each thread's whole stack counts as committed.
    Line("%s: worker threads alive %lld, of them waiting on a program %lld", label,
         Count(frame, TestCount::Workers), Count(frame, TestCount::BusyWorkers));

    // The same desktop with Vantrel gone: what the wineserver spends anyway.
    session.CloseVantrel();
    if (server != 0) {
        std::vector<double> without;
        for (int run = 1; run <= settings.idleRuns; ++run) {
            const double server0 = LinuxCpuMs(server);
            const double wall0 = NowMs();
            IdleWait(others.Process(), settings.idleSeconds * 1000.0);
            const double wallS = (NowMs() - wall0) / 1000.0;
            without.push_back((LinuxCpuMs(server) - server0) / wallS);
        }
        figures.serverWithoutMs = bench::Median(without);
    }
    Line("%s: idle CPU, medians, ms per s: Vantrel threads (Windows) %.2f, Vantrel process (Linux) %.2f, wineserver "
         "with Vantrel %.2f, without %.2f; Vantrel with its wineserver share: %.2f %% of a core",
         mode, figures.idleThreadsMs, figures.idleLinuxMs, figures.serverWithMs, figures.serverWithoutMs,
         figures.idlePercent());
    return nullptr;
}

// --- Resources over many captures, frames and menus --------------------------------------

struct Resources {
    long long user = -1, gdi = -1;
    double privateMiB = 0;
};

Resources ReadResources(const VantrelProcess& vantrel, HWND frame) {
    Resources resources;
    resources.user = Count(frame, TestCount::UserObjects);
    resources.gdi = Count(frame, TestCount::GdiObjects);
    resources.privateMiB = CommittedPrivateKiB(vantrel.Process()) / 1024.0;
    return resources;
}

bool Complain(const char* what) {
    std::fprintf(stderr, "vantrel_bench: %s\n", what);
    return false;
}

const char* RunResources(const Settings& settings, Resources& before, Resources& after) {
    ResetProfile();
    Session session;
    VantrelProcess& vantrel = session.vantrel;
    ViewerProcess& viewer = session.viewer;
    if (!vantrel.Start() || !vantrel.WaitForStartup()) return "Vantrel did not start";
    const HWND frame = vantrel.MainFrame();
    const HWND control = TaskbarControl(frame);
    if (frame == nullptr || control == nullptr) return "Vantrel's main frame or taskbar not found";
    if (!viewer.Start(ViewerExe(), {L"--windows", L"0", L"--stay"})) return "the viewer did not start";

    constexpr int kBatch = 10;
    const HWND stays = viewer.Open(L"Stays");
    // Opens `n` windows at once, waits for their captioned buttons, closes them and
    // waits for the buttons to go; `kept` stay hosted throughout.
    const auto churn = [&](int n, size_t kept) {
        if (viewer.OpenBurst(n, L"Churn") != n) return false;
        if (!WaitFor(
                [&] {
                    const auto captions = ButtonCaptions(frame);
                    return captions.size() == kept + static_cast<size_t>(n) &&
                           std::none_of(captions.begin(), captions.end(), [](const auto& c) { return c.empty(); });
                },
                10000))
            return false;
        for (HWND document : viewer.Windows()) {
            if (WindowTitle(document).rfind(L"Churn", 0) == 0) viewer.Destroy(document);
        }
        return WaitFor([&] { return WindowButtons(frame).size() == kept; }, 10000);
    };
    const auto openMenu = [&] {
        const auto buttons = WindowButtons(frame);
        if (buttons.empty()) return false;
        ::PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(buttons[0]), MAKELPARAM(-1, -1));
        HWND menu = nullptr;
        if (!WaitFor([&] { return (menu = OpenPopupMenuOf(vantrel.Pid())) != nullptr; }, 5000)) return false;
        ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return WaitFor([&] { return OpenPopupMenuOf(vantrel.Pid()) == nullptr; }, 5000);
    };
    const auto frameRound = [&] {
        const HWND added = vantrel.NewFrame(frame);
        if (added == nullptr) return Complain("no new frame");
        if (!MoveFirstTo(frame, added, 0)) return Complain("the window did not move to the new frame");
        ::PostMessageW(added, WM_CLOSE, 0, 0);
        // Its window comes back to the main frame, and the main frame's record of the
        // window that moved away goes.
        return WaitFor(
                   [&] {
                       return !::IsWindow(added) && ::GetAncestor(stays, GA_PARENT) == HostView(frame) &&
                              ButtonCaptions(frame) == std::vector<std::wstring>{L"Stays"};
                   },
                   10000) ||
               Complain("the window did not come back from a closed frame");
    };

    // One round of each first: the system fills its caches for drawing.
    if (stays == nullptr) return "the viewer did not open a window";
    if (!WaitFor([&] { return ButtonCaptions(frame).size() == 1; }, 5000)) return "the first window got no button";
    // Counted before the warm-up too, so that what the first use costs shows.
    const Resources cold = ReadResources(vantrel, frame);
    if (!churn(kBatch, 1) || !openMenu() || !frameRound()) return "a warm-up round failed";
    before = ReadResources(vantrel, frame);

    const double start = NowMs();
    for (int done = 0; done < settings.captures; done += kBatch) {
        if (!churn(std::min(kBatch, settings.captures - done), 1)) return "a round of captures failed";
    }
    const double capturesMs = NowMs() - start;
    const Resources afterCaptures = ReadResources(vantrel, frame);
    const long long workersAfterCaptures = Count(frame, TestCount::Workers);
    for (int i = 0; i < settings.frameCreations; ++i) {
        if (!frameRound()) return "a frame round failed";
    }
    const Resources afterFrames = ReadResources(vantrel, frame);
    for (int i = 0; i < settings.menuOpenings; ++i) {
        if (!openMenu()) return "a menu did not open and close";
    }
    after = ReadResources(vantrel, frame);
    // The log never waits on the disk in a handler: a burst costs the thread only the queue.
    constexpr int kLogLines = 20000;
    const long long logMicros = static_cast<long long>(
        ::SendMessageW(frame, WM_VANTREL_TEST_LOG, static_cast<WPARAM>(kLogLines), 0));
    const long long cyclesBefore = Count(frame, TestCount::Cycles);
    const bool cycling = WaitFor([&] { return Count(frame, TestCount::Cycles) >= cyclesBefore + 3; }, 2000);
    Line("log: %d lines written from the frame's thread in %.1f ms (%.2f us each); the capture cycle %s", kLogLines,
         logMicros / 1000.0, static_cast<double>(logMicros) / kLogLines,
         cycling ? "went on at once" : "did not go on within 2 s");
    Line("resources: USER objects %lld, GDI objects %lld, private %.2f MiB before the warm-up (one window hosted)",
         cold.user, cold.gdi, cold.privateMiB);
    Line("resources: USER objects %lld, GDI objects %lld, private %.2f MiB after warm-up", before.user, before.gdi,
         before.privateMiB);
    Line("resources: after %d captures and closes (%.0f ms): USER %lld, GDI %lld, private %.2f MiB, worker threads %lld",
         settings.captures, capturesMs, afterCaptures.user, afterCaptures.gdi, afterCaptures.privateMiB,
         workersAfterCaptures);
    Line("resources: after %d frames opened, given a window and closed: USER %lld, GDI %lld, private %.2f MiB",
         settings.frameCreations, afterFrames.user, afterFrames.gdi, afterFrames.privateMiB);
    Line("resources: after %d menus opened and closed: USER %lld, GDI %lld, private %.2f MiB", settings.menuOpenings,
         after.user, after.gdi, after.privateMiB);
    return nullptr;
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }

int Run(const Settings& settings) {
    Line("Vantrel benchmark");
    Line("setting: capture latency over %d windows, opened one after another", settings.latencyWindows);
    Line("setting: idle CPU with %d hosted windows in %d frames + %d hidden top-level windows of class %ls, %d runs "
         "of %d s after %d ms warm-up, then as long with Vantrel gone",
         settings.idleHosted, settings.idleFrames, settings.otherWindows, kOtherClass, settings.idleRuns,
         settings.idleSeconds, settings.warmupMs);
    Line("setting: objects counted across %d captures, %d frames and %d menus", settings.captures,
         settings.frameCreations, settings.menuOpenings);

    // How finely the latency polls can see: the clock, and what Sleep(1) really takes.
    std::vector<double> sleeps;
    for (int i = 0; i < 200; ++i) {
        const double t0 = NowMs();
        ::Sleep(1);
        sleeps.push_back(NowMs() - t0);
    }
    Line("timer: QueryPerformanceCounter at %.0f Hz; Sleep(1) took median %.3f ms, max %.3f ms over 200 calls",
         Frequency(), bench::Median(sleeps), bench::Max(sleeps));

    // Vantrel must not reach beyond this machine.
    if (::GetEnvironmentVariableW(L"VANTREL_SERVER", nullptr, 0) == 0)
        ::SetEnvironmentVariableW(L"VANTREL_SERVER", L"http://127.0.0.1:9");

    Figures events, polling;
    if (const char* failure = RunConfiguration(settings, false, events)) return Fail(failure);
    if (const char* failure = RunConfiguration(settings, true, polling)) return Fail(failure);
    Resources before, after;
    if (const char* failure = RunResources(settings, before, after)) return Fail(failure);

    Line("side by side: event-driven, poll-only, poll-only / event-driven");
    Line("  capture p95 ms:            %8.1f %8.1f %8.1f", events.p95, polling.p95, Ratio(polling.p95, events.p95));
    Line("  capture max ms:            %8.1f %8.1f %8.1f", events.max, polling.max, Ratio(polling.max, events.max));
    Line("  capture p95 windows 1-10:  %8.1f %8.1f %8.1f", events.p95First10, polling.p95First10,
         Ratio(polling.p95First10, events.p95First10));
    Line("  capture p95 last 10:       %8.1f %8.1f %8.1f", events.p95Last10, polling.p95Last10,
         Ratio(polling.p95Last10, events.p95Last10));
    Line("  idle CPU %% of a core:      %8.2f %8.2f %8.1f", events.idlePercent(), polling.idlePercent(),
         Ratio(polling.idlePercent(), events.idlePercent()));
    Line("  private MiB (most read):   %8.2f %8.2f %8.1f", events.privateMiB, polling.privateMiB,
         Ratio(polling.privateMiB, events.privateMiB));
    Line("summary capture_p95_ms=%.1f capture_max_ms=%.1f capture_p95_first10_ms=%.1f capture_p95_last10_ms=%.1f "
         "poll_capture_p95_ms=%.1f idle_cpu_pct=%.2f poll_idle_cpu_pct=%.2f private_mib=%.2f gdi_objects_delta=%lld "
         "user_objects_delta=%lld",
         events.p95, events.max, events.p95First10, events.p95Last10, polling.p95, events.idlePercent(),
         polling.idlePercent(), std::max(events.privateMiB, after.privateMiB), after.gdi - before.gdi,
         after.user - before.user);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr,
                     "usage: vantrel_bench [--latency-windows N] [--memory-hosted N] [--idle-hosted N]\n"
                     "                     [--idle-frames N] [--other-windows N] [--idle-seconds S] [--idle-runs R]\n"
                     "                     [--captures N] [--frame-creations N] [--menu-openings N]\n"
                     "(memory-hosted and idle-hosted may not exceed latency-windows; at most 16 frames,\n"
                     "each but the main one given one of the idle-hosted windows)\n");
        return 2;
    }
    TimerResolution resolution;
    return Run(settings);
}

// Soak test: runs Vantrel for a while under a random load and checks, all the
// time, that no document window is ever lost or left without its button.
//
// Several sample viewers open, rename (with titles of every shape), mark
// modified, close, destroy and hang their documents at random, and now and
// then a viewer quits or is killed; meanwhile the driver clicks buttons, moves
// windows between frames, tiles, switches tab mode, closes windows one by one
// or all at once, opens frames and closes them, and answers every question box
// that comes up. Checked continuously:
//   - every live document is either a child of exactly one frame's host view
//     with exactly one button there (and none anywhere else), or a visible
//     top-level window;
//   - no button stands for a window that is dead or hosted elsewhere;
//   - no document dies unless it was asked to close or its viewer ended;
//   - every frame answers WM_NULL within 1 s;
//   - the capture cycle never stops for longer than `--stop-limit` ms (500),
//     whatever a viewer does (Vantrel answers sent messages while it waits on
//     another program, so WM_NULL alone does not show a hold-up).
// A state that passes between two cycles of the program (a button that goes
// with the next capture cycle) is only a violation once it lasts `--grace` ms.
//
//   soak.exe [--seconds N | --minutes N] [--seed N] [--viewers N] [--windows N]
//            [--frames N] [--grace MS] [--stop-limit MS] [--reentry]
//
// Every document's title starts with "#<number> ", so a button's caption tells
// which document it stands for. The same seed gives the same choices again;
// the run is not exactly the same, as the programs' timing is not.
// Exit code: 0 without violation, 1 with, 2 when the run could not be set up.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "resource.h"
#include "viewer_protocol.h"
#include "vantrel_client.h"
#include "viewer_client.h"

namespace {

struct Options {
    int seconds = 60;
    std::uint32_t seed = 0;
    bool seedGiven = false;
    int viewers = 3;
    int maxWindows = 18;   // documents alive at once
    int maxFrames = 4;     // additional frames at once
    int graceMs = 4000;    // longer than the longest hang, so a hung viewer delays but does not fail
    int maxHangMs = 3000;
    int stopLimitMs = 500;  // the longest stop of the capture cycle that is not a fault
    bool reentry = false;  // frame commands while one of Vantrel's question boxes is open
};

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

ULONGLONG Now() { return ::GetTickCount64(); }

std::string Hex(HWND hwnd) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
    return text;
}

// What Vantrel says a button stands for, and what that window is now.
std::string DescribeButton(HWND frame, HWND button) {
    auto ask = [&](LPARAM what) -> long long {
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(frame, WM_VANTREL_TEST_BUTTON_RECORD, reinterpret_cast<WPARAM>(button), what,
                                   SMTO_ABORTIFHUNG, 5000, &result))
            return -1;
        return static_cast<long long>(static_cast<LRESULT>(result));
    };
    const long long bits = ask(1);
    const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(ask(0)));
    char text[160];
    std::snprintf(text, sizeof text,
                  "button %s: record bits %llx, window %s, seen %lld, index %lld of %lld, tick %lld, visited in cycle %lld",
                  Hex(button).c_str(), static_cast<unsigned long long>(bits), Hex(window).c_str(), ask(2), ask(3), ask(6),
                  ask(4), ask(5));
    std::string description = text;
    if (window == nullptr) return description;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    std::string className;
    for (wchar_t c : WindowClass(window)) className += c < 0x80 ? static_cast<char>(c) : '?';
    std::snprintf(text, sizeof text, " (alive %d, process %lu, parent %s, class %s)", ::IsWindow(window) ? 1 : 0,
                  static_cast<unsigned long>(pid), Hex(::GetAncestor(window, GA_PARENT)).c_str(),
                  className.c_str());
    return description + text;
}

bool AnswersWithin(HWND window, UINT ms) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

bool ParseNumber(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reentry") {
            options.reentry = true;
            continue;
        }
        long long value = 0;
        if (i + 1 >= argc) {
            Print("soak: %s needs a value", arg.c_str());
            return false;
        }
        const char* text = argv[++i];
        bool ok = false;
        if (arg == "--seconds") {
            ok = ParseNumber(text, 1, 86400, value);
            options.seconds = static_cast<int>(value);
        } else if (arg == "--minutes") {
            ok = ParseNumber(text, 1, 1440, value);
            options.seconds = static_cast<int>(value * 60);
        } else if (arg == "--seed") {
            ok = ParseNumber(text, 0, UINT32_MAX, value);
            options.seed = static_cast<std::uint32_t>(value);
            options.seedGiven = true;
        } else if (arg == "--viewers") {
            ok = ParseNumber(text, 1, 8, value);
            options.viewers = static_cast<int>(value);
        } else if (arg == "--windows") {
            ok = ParseNumber(text, 1, 60, value);
            options.maxWindows = static_cast<int>(value);
        } else if (arg == "--frames") {
            ok = ParseNumber(text, 0, 14, value);
            options.maxFrames = static_cast<int>(value);
        } else if (arg == "--grace") {
            ok = ParseNumber(text, 500, 60000, value);
            options.graceMs = static_cast<int>(value);
        } else if (arg == "--stop-limit") {
            ok = ParseNumber(text, 100, 60000, value);
            options.stopLimitMs = static_cast<int>(value);
        }
        if (!ok) {
            Print("soak: bad option %s %s", arg.c_str(), text);
            return false;
        }
    }
    return true;
}

// --- Titles -------------------------------------------------------------------

// What follows a document's "#<number> ": every kind of text a window may carry.
std::wstring Junk(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(10)) {
    case 0: return L"";
    case 1: return L"Report " + std::to_wstring(pick(1000)) + L".pdf";
    case 2: return std::wstring(static_cast<size_t>(250 + pick(20)), L'x');   // around the 259 cut
    case 3: return std::wstring(10000, L'y');
    case 4: return L"line\r\nend\ttab\x01\x1B[0m\x7F";
    case 5: return L"&File && &&& &";
    case 6: return L"%s%n%d%% %x";
    case 7: return std::wstring(L"lone \xD800 half \xDFFF pair \xD83D\xDE00 end \xD83D");
    case 8: return L"\u00e9t\u00e9 \u0416\u0443\u043a \u6587\u66f8 \u202eevil";
    default: return L"a|b|c \"quoted\" \\back";
    }
}

std::wstring TitleFor(int id, std::mt19937& random) { return L"#" + std::to_wstring(id) + L" " + Junk(random); }

// The document a caption stands for, or -1 when it does not start "#<digits>".
int IdOfCaption(const std::wstring& caption) {
    if (caption.size() < 2 || caption[0] != L'#') return -1;
    int id = 0;
    size_t i = 1;
    for (; i < caption.size() && i < 10 && caption[i] >= L'0' && caption[i] <= L'9'; ++i) id = id * 10 + (caption[i] - L'0');
    return i > 1 ? id : -1;
}

// --- The programs -------------------------------------------------------------

struct Document {
    HWND hwnd = nullptr;
    int id = 0;
    int viewer = 0;            // index into the viewers
    unsigned generation = 0;   // of that viewer: a restarted viewer is another process
    bool mayDie = false;       // asked to close, or its viewer ended
    DWORD pid = 0;             // of its viewer: a handle of another process is another window
    bool outlived = false;     // its window was seen after its viewer had ended
    std::string lastSeen = "not yet seen";
};

struct Viewer {
    std::unique_ptr<ViewerProcess> process;
    unsigned generation = 0;
    ULONGLONG hungUntil = 0;
};

struct FrameView {
    HWND frame = nullptr;
    HWND hostView = nullptr;
    bool main = false;
    std::vector<std::pair<HWND, int>> buttons;  // button, document id of its caption
};

class Soak {
public:
    explicit Soak(const Options& options) : m_options(options), m_random(options.seed) {}

    int Run();

private:
    using Clock = ULONGLONG;

    bool SetUp();
    void ShutDown();
    bool StartViewer(size_t index);
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    void Count(const char* operation) {
        ++m_operations[operation];
        ++m_total;
        m_lastOperation = operation;
        char line[96];
        std::snprintf(line, sizeof line, "%8.2f s  %s", static_cast<double>(Now() - m_start) / 1000.0, operation);
        m_recent.emplace_back(Now(), line);
        if (m_recent.size() > 200) m_recent.pop_front();
    }

    // Adds to the last operation's line what the reports should tell about it.
    void Detail(const std::string& text) {
        if (!m_recent.empty()) m_recent.back().second += " (" + text + ")";
    }

    std::vector<FrameView> LookAtFrames() const;
    bool ViewerAnswers(size_t index) const {
        return index < m_viewers.size() && m_viewers[index].process && m_viewers[index].process->IsRunning() &&
               Now() >= m_viewers[index].hungUntil;
    }
    Document* RandomDocument(bool answeringOnly);
    void LetDie(HWND hostView);

    void Step();
    void ViewerStep();
    void DriverStep(const std::vector<FrameView>& frames);
    void AnswerBoxes();
    void Check(bool final);
    void Violation(const std::string& key, const std::string& text, bool lasting);
    void PrintRecent(Clock since) const;

    Options m_options;
    std::mt19937 m_random;
    VantrelProcess m_vantrel;
    std::vector<Viewer> m_viewers;
    std::vector<Document> m_documents;
    int m_nextId = 1;
    std::set<int> m_untracked;  // documents asked for whose window we do not know
    std::map<int, std::string> m_gone;  // how each ended document was last seen, for the reports
    std::map<std::string, unsigned long long> m_operations;
    std::map<std::string, unsigned long long> m_operationMs;  // time spent in each kind
    std::string m_lastOperation;
    // The last operations, with when they were done, for the reports of violations.
    std::deque<std::pair<Clock, std::string>> m_recent;
    Clock m_start = Now();
    unsigned long long m_total = 0;
    unsigned long long m_checks = 0;
    // Violations seen but not yet lasting, by key, with when they were first seen.
    std::map<std::string, Clock> m_pending;
    std::set<std::string> m_reported;
    int m_violations = 0;
    double m_slowestAnswerMs = 0;
    // The main frame's cycle count as last read, and when it was last seen to move.
    long long m_cycles = -1;
    Clock m_cyclesMoved = 0;
    Clock m_longestCycleStall = 0;
    unsigned m_outlived = 0;  // documents whose window was still there after their viewer ended
    std::map<HWND, Clock> m_boxesSeen;  // question boxes, when first seen
    Clock m_nextBoxLook = 0;
    Clock m_lastAnswer = 0;
    bool m_vantrelAsks = false;  // one of Vantrel's boxes was open at the last look
};

bool Soak::StartViewer(size_t index) {
    auto process = std::make_unique<ViewerProcess>();
    if (!process->Start(ViewerExe(), {L"--windows", L"0", L"--stay"})) return false;
    // A viewer held up inside a re-parenting must not hold up the checks for long.
    process->SetSendTimeout(1000);
    m_viewers[index].process = std::move(process);
    ++m_viewers[index].generation;
    m_viewers[index].hungUntil = 0;
    return true;
}

bool Soak::SetUp() {
    ResetProfile();
    if (!m_vantrel.Start() || !m_vantrel.WaitForStartup()) {
        Print("soak: Vantrel did not start");
        return false;
    }
    m_viewers.resize(static_cast<size_t>(m_options.viewers));
    for (size_t i = 0; i < m_viewers.size(); ++i) {
        if (!StartViewer(i)) {
            Print("soak: viewer %zu did not start", i);
            return false;
        }
    }
    return true;
}

std::vector<FrameView> Soak::LookAtFrames() const {
    std::vector<FrameView> views;
    const HWND main = m_vantrel.MainFrame();
    for (HWND frame : m_vantrel.Frames()) {
        FrameView view;
        view.frame = frame;
        view.hostView = HostView(frame);
        view.main = frame == main;
        for (HWND button : WindowButtons(frame)) view.buttons.emplace_back(button, IdOfCaption(WindowTitle(button)));
        views.push_back(std::move(view));
    }
    return views;
}

Document* Soak::RandomDocument(bool answeringOnly) {
    std::vector<Document*> candidates;
    for (Document& document : m_documents) {
        if (!document.mayDie && (!answeringOnly || ViewerAnswers(static_cast<size_t>(document.viewer))))
            candidates.push_back(&document);
    }
    return candidates.empty() ? nullptr : candidates[static_cast<size_t>(Pick(static_cast<int>(candidates.size())))];
}

// The documents in this host view may be closed by what the driver just asked.
void Soak::LetDie(HWND hostView) {
    for (Document& document : m_documents) {
        if (::GetAncestor(document.hwnd, GA_PARENT) == hostView) document.mayDie = true;
    }
}

void Soak::ViewerStep() {
    const int choice = Pick(100);
    if (choice < 30) {
        if (static_cast<int>(m_documents.size()) >= m_options.maxWindows) return;
        const size_t v = static_cast<size_t>(Pick(static_cast<int>(m_viewers.size())));
        if (!ViewerAnswers(v)) return;
        const int id = m_nextId++;
        HWND hwnd = m_viewers[v].process->Open(TitleFor(id, m_random));
        Count("viewer: open");
        if (hwnd != nullptr)
            m_documents.push_back(
                Document{hwnd, id, static_cast<int>(v), m_viewers[v].generation, false, m_viewers[v].process->Pid()});
        else
            m_untracked.insert(id);  // the viewer may still make it, after the send gave up
        return;
    }
    Document* document = RandomDocument(true);
    if (document == nullptr) return;
    ViewerProcess& viewer = *m_viewers[static_cast<size_t>(document->viewer)].process;
    if (choice < 55) {
        viewer.SetTitle(document->hwnd, TitleFor(document->id, m_random));
        Count("viewer: rename");
    } else if (choice < 63) {
        viewer.MarkModified(document->hwnd);
        Count("viewer: mark modified");
    } else if (choice < 74) {
        document->mayDie = true;
        viewer.Close(document->hwnd);
        Count("viewer: close");
    } else if (choice < 82) {
        document->mayDie = true;
        viewer.Destroy(document->hwnd);
        Count("viewer: destroy");
    } else if (choice < 98) {
        const int ms = 100 + Pick(m_options.maxHangMs - 100);
        if (viewer.Hang(ms)) m_viewers[static_cast<size_t>(document->viewer)].hungUntil = Now() + static_cast<Clock>(ms) + 200;
        Count("viewer: hang");
        Detail("viewer " + std::to_string(document->viewer) + ", " + std::to_string(ms) + " ms");
    } else {
        // A viewer ends with all its documents, by quitting or by being killed.
        const size_t v = static_cast<size_t>(document->viewer);
        for (Document& d : m_documents)
            if (d.viewer == document->viewer) d.mayDie = true;
        if (Chance(50)) {
            m_viewers[v].process->Quit(3000);
            Count("viewer: quit");
        } else {
            ::TerminateProcess(m_viewers[v].process->Process(), 3);
            m_viewers[v].process->WaitForExit(3000);
            Count("viewer: killed");
        }
        m_viewers[v].process.reset();
        if (!StartViewer(v)) Print("soak: viewer %zu did not start again", v);
    }
}

void Soak::DriverStep(const std::vector<FrameView>& frames) {
    if (frames.empty()) return;
    const FrameView& frame = frames[static_cast<size_t>(Pick(static_cast<int>(frames.size())))];
    const int additional = static_cast<int>(frames.size()) - 1;
    HWND control = TaskbarControl(frame.frame);
    // A per-window command acts on the active window: the click before it makes one.
    auto clickSome = [&]() -> bool {
        if (frame.buttons.empty() || control == nullptr) return false;
        ::PostMessageW(frame.buttons[static_cast<size_t>(Pick(static_cast<int>(frame.buttons.size())))].first,
                       BM_CLICK, 0, 0);
        return true;
    };
    const int choice = Pick(100);
    if (choice < 15) {
        if (clickSome()) Count("driver: click button");
    } else if (choice < 38) {
        if (!clickSome()) return;
        const int target = Pick(additional + 2);
        if (target < additional) {
            ::PostMessageW(control, WM_COMMAND, ID_MOVE_TO_FIRST + target, 0);
        } else if (target == additional && !frame.main) {
            ::PostMessageW(control, WM_COMMAND, ID_WINDOW_MOVE_TO_MAIN, 0);
        } else if (additional < m_options.maxFrames) {
            ::PostMessageW(control, WM_COMMAND, ID_WINDOW_MOVE_TO_NEW, 0);
        } else {
            return;
        }
        Count("driver: move to frame");
    } else if (choice < 46) {
        ::PostMessageW(frame.frame, WM_COMMAND, Chance(50) ? ID_TILE_HORIZONTALLY : ID_TILE_VERTICALLY, 0);
        Count("driver: tile");
    } else if (choice < 52) {
        ::PostMessageW(frame.frame, WM_COMMAND, ID_TABMODE, 0);
        Count("driver: tab mode");
    } else if (choice < 62) {
        if (!clickSome()) return;
        static const UINT commands[] = {ID_WINDOW_MAXIMIZE, ID_WINDOW_MINIMIZE, ID_WINDOW_CENTER};
        ::PostMessageW(control, WM_COMMAND, commands[Pick(3)], 0);
        Count("driver: maximize, minimize or center");
    } else if (choice < 70) {
        if (!clickSome()) return;
        LetDie(frame.hostView);  // the click may not have made the chosen one active
        ::PostMessageW(control, WM_COMMAND, ID_WINDOW_CLOSE, 0);
        Count("driver: close window");
    } else if (choice < 73) {
        LetDie(frame.hostView);
        ::PostMessageW(frame.frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);
        Count("driver: close all");
    } else if (choice < 87) {
        if (additional >= m_options.maxFrames) return;
        ::PostMessageW(frame.frame, WM_COMMAND, ID_NEW_WINDOW, 0);
        Count("driver: new frame");
    } else {
        if (frame.main) return;  // the main frame stays; closing it ends the run
        ::PostMessageW(frame.frame, WM_CLOSE, 0, 0);
        Count("driver: close frame");
    }
}

// Question boxes are answered after a moment, as a user would: Vantrel's (close
// all?) with Yes or No, a viewer's (save changes?) with Yes, No or Cancel.
namespace {
struct BoxSearch {
    std::map<DWORD, bool> owners;  // process, whether it is Vantrel
    std::vector<std::pair<HWND, bool>> found;
};

BOOL CALLBACK ConsiderBox(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    const auto owner = search.owners.find(pid);
    if (owner != search.owners.end() && ::IsWindowVisible(hwnd) && WindowClass(hwnd) == L"#32770")
        search.found.emplace_back(hwnd, owner->second);
    return TRUE;
}
}  // namespace

void Soak::AnswerBoxes() {
    if (Now() < m_nextBoxLook) return;
    m_nextBoxLook = Now() + 150;
    BoxSearch search;
    search.owners[m_vantrel.Pid()] = true;
    for (size_t v = 0; v < m_viewers.size(); ++v)
        if (ViewerAnswers(v)) search.owners[m_viewers[v].process->Pid()] = false;
    ::EnumWindows(ConsiderBox, reinterpret_cast<LPARAM>(&search));
    m_vantrelAsks = false;
    for (const auto& [box, ours] : search.found) {
        m_vantrelAsks = m_vantrelAsks || ours;
        const auto seen = m_boxesSeen.emplace(box, Now()).first;
        if (Now() - seen->second < static_cast<Clock>(100 + Pick(400))) continue;
        static const int ourAnswers[] = {IDYES, IDNO, IDOK, IDCANCEL};
        static const int viewerAnswers[] = {IDYES, IDNO, IDCANCEL};
        const int first = ours ? ourAnswers[Pick(2)] : viewerAnswers[Pick(3)];
        if (!AnswerMessageBox(box, first)) {
            for (int answer : ourAnswers)
                if (AnswerMessageBox(box, answer)) break;
        }
        Count(ours ? "answer: Vantrel's question" : "answer: viewer's question");
        m_lastAnswer = Now();
        m_boxesSeen.erase(box);
    }
}

void Soak::Violation(const std::string& key, const std::string& text, bool lasting) {
    if (lasting) {
        const auto found = m_pending.emplace(key, Now()).first;
        if (Now() - found->second < static_cast<Clock>(m_options.graceMs)) return;
    }
    if (!m_reported.insert(key).second) return;
    ++m_violations;
    Print("VIOLATION (seed %u, after %llu operations): %s", m_options.seed, m_total, text.c_str());
    if (m_violations == 1) {
        Print("  the operations before it:");
        PrintRecent(m_recent.size() > 20 ? m_recent[m_recent.size() - 20].first : 0);
    }
}

void Soak::PrintRecent(Clock since) const {
    for (const auto& [when, line] : m_recent) {
        if (when >= since) Print("  %s", line.c_str());
    }
}

void Soak::Check(bool final) {
    ++m_checks;
    std::set<std::string> stillPending;
    auto lasting = [&](const std::string& key, const std::string& text) {
        stillPending.insert(key);
        Violation(key, text, !final);
    };

    const std::vector<FrameView> frames = LookAtFrames();
    for (const FrameView& frame : frames) {
        const Clock before = Now();
        DWORD_PTR result = 0;
        const bool answered =
            ::SendMessageTimeoutW(frame.frame, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
        const double ms = static_cast<double>(Now() - before);
        m_slowestAnswerMs = std::max(m_slowestAnswerMs, ms);
        if ((!answered || ms > 1000) && ::IsWindow(frame.frame))
            Violation("answer " + std::to_string(m_checks), "a frame did not answer WM_NULL within 1 s", false);
    }

    if (HWND main = m_vantrel.MainFrame()) {
        const long long cycles = ReadTestCount(main, static_cast<int>(TestCount::Cycles));
        const Clock now = Now();
        if (cycles != m_cycles || m_cycles < 0) {
            m_cycles = cycles;
            m_cyclesMoved = now;
        }
        m_longestCycleStall = std::max(m_longestCycleStall, now - m_cyclesMoved);
        const std::string key = "cycles " + std::to_string(m_cyclesMoved);
        if (now - m_cyclesMoved > static_cast<Clock>(m_options.stopLimitMs) && m_reported.count(key) == 0) {
            Violation(key, "the capture cycle has stopped for more than " + std::to_string(m_options.stopLimitMs) +
                               " ms", false);
            Print("soak: the operations since a second before the stop:");
            PrintRecent(m_cyclesMoved - 1000);
        }
    }

    // Which frame each button claims its document for.
    std::map<int, std::vector<const FrameView*>> claims;
    for (const FrameView& frame : frames) {
        for (const auto& [button, id] : frame.buttons) {
            if (id < 0)
                lasting("caption " + std::to_string(reinterpret_cast<std::uintptr_t>(button)),
                        "a button without its document's title (its frame's capture cycle does not run?)");
            else
                claims[id].push_back(&frame);
        }
    }

    std::set<int> alive;
    for (auto it = m_documents.begin(); it != m_documents.end();) {
        Document& document = *it;
        DWORD pid = 0;
        ::GetWindowThreadProcessId(document.hwnd, &pid);
        const Viewer& viewer = m_viewers[static_cast<size_t>(document.viewer)];
        const bool ofItsViewer = viewer.process && viewer.generation == document.generation;
        // A window lives on for a while after its program was killed: it is gone once
        // it is no window of that program any more.
        if (!::IsWindow(document.hwnd) || pid != document.pid) {
            // The viewer tells how it ended; a hung one is asked later.
            int end = viewer_protocol::kStillOpen;
            if (ofItsViewer && viewer.process->IsRunning()) {
                if (!ViewerAnswers(static_cast<size_t>(document.viewer))) {
                    ++it;
                    continue;
                }
                end = viewer.process->HowEnded(document.hwnd);
            }
            const std::string name = "document #" + std::to_string(document.id);
            if (end == viewer_protocol::kDestroyedOtherwise)
                Violation("lost " + name, name + " was destroyed without a close, with the window it was in (last seen " +
                                              document.lastSeen + ")", false);
            else if (end != viewer_protocol::kClosed && end != viewer_protocol::kDestroyedOnRequest && !document.mayDie)
                Violation("lost " + name, name + " died without being asked to close (last seen " + document.lastSeen +
                                              ", its viewer says " + std::to_string(end) + ")", false);
            m_gone[document.id] = "last seen " + document.lastSeen + ", its viewer says " + std::to_string(end) +
                                  ", window " + Hex(document.hwnd);
            it = m_documents.erase(it);
            continue;
        }
        if (!ofItsViewer && !document.outlived) {
            document.outlived = true;
            ++m_outlived;
        }
        alive.insert(document.id);
        const std::string name = "document #" + std::to_string(document.id);
        const auto claimed = claims.find(document.id);
        const std::vector<const FrameView*> claimers =
            claimed != claims.end() ? claimed->second : std::vector<const FrameView*>{};
        HWND parent = ::GetAncestor(document.hwnd, GA_PARENT);
        const auto host = std::find_if(frames.begin(), frames.end(), [&](const FrameView& f) { return f.hostView == parent; });
        const std::string before = document.lastSeen;
        document.lastSeen = parent == ::GetDesktopWindow() ? "top-level"
                            : host == frames.end()         ? "in another window"
                            : host->main                   ? "in the main frame"
                                                           : "in frame " + Hex(host->frame);
        if (parent == ::GetDesktopWindow()) {
            if (!::IsWindowVisible(document.hwnd))
                lasting("hidden " + name, name + " is a hidden top-level window (before: " + before + "; viewer " +
                                              std::to_string(document.viewer) +
                                              (AnswersWithin(document.hwnd, 100) ? " answers)" : " does not answer)"));
            if (!claimers.empty()) lasting("unhosted " + name, name + " is top-level but has a button");
        } else if (host != frames.end()) {
            const auto own = std::count(claimers.begin(), claimers.end(), &*host);
            if (own != 1)
                lasting("buttons " + name, name + " is hosted with " + std::to_string(own) +
                                               " buttons showing its title in its frame (" + document.lastSeen +
                                               (::IsWindowVisible(host->frame) ? ", shown" : ", hidden") + ", " +
                                               std::to_string(host->buttons.size()) + " buttons; before: " + before +
                                               "; viewer " + std::to_string(document.viewer) +
                                               (AnswersWithin(document.hwnd, 100) ? " answers)" : " does not answer)"));
            if (claimers.size() != static_cast<size_t>(own))
                lasting("elsewhere " + name, name + " has a button in a frame that does not host it");
        } else {
            lasting("parent " + name, name + " is inside a window that is no frame's host view");
        }
        ++it;
    }
    for (const auto& [id, claimers] : claims) {
        if (alive.count(id) == 0 && m_untracked.count(id) == 0) {
            const std::string key = "dead " + std::to_string(id);
            std::string text = "a button stands for document #" + std::to_string(id) + ", which is gone";
            const auto pending = m_pending.find(key);
            if (m_reported.count(key) == 0 && pending != m_pending.end() &&
                Now() - pending->second >= static_cast<Clock>(m_options.graceMs)) {
                // Only worth the questions once it has lasted: where the button is.
                const auto gone = m_gone.find(id);
                if (gone != m_gone.end()) text += " (" + gone->second + ")";
                for (const FrameView* frame : claimers) {
                    text += "; its button is in " + std::string(frame->main ? "the main frame " : "frame ") +
                            Hex(frame->frame) + (::IsWindowVisible(frame->frame) ? ", shown" : ", hidden") +
                            ", cycles " + std::to_string(ReadTestCount(frame->frame, static_cast<int>(TestCount::Cycles))) +
                            ", cut short " + std::to_string(ReadTestCount(frame->frame, static_cast<int>(TestCount::CutShort)));
                    for (const auto& [button, buttonId] : frame->buttons)
                        if (buttonId == id) text += ", " + DescribeButton(frame->frame, button);
                }
            }
            lasting(key, text);
        }
    }
    // What holds again is forgotten, so that a later return of it counts anew.
    for (auto it = m_pending.begin(); it != m_pending.end();)
        it = stillPending.count(it->first) != 0 ? std::next(it) : m_pending.erase(it);
}

void Soak::Step() {
    if (Chance(45))
        ViewerStep();
    else {
        // While Vantrel asks, the user answers before doing anything else there.
        if (!m_vantrelAsks || m_options.reentry) DriverStep(LookAtFrames());
    }
}

void Soak::ShutDown() {
    // Closing the main frame must leave every document on the desktop.
    if (HWND main = m_vantrel.MainFrame()) ::PostMessageW(main, WM_CLOSE, 0, 0);
    if (!m_vantrel.WaitForExit(15000)) {
        Violation("exit", "Vantrel did not end within 15 s of closing its main frame", false);
        m_vantrel.Terminate();
    }
    for (const Document& document : m_documents) {
        if (!::IsWindow(document.hwnd) || document.mayDie) continue;
        if (::GetAncestor(document.hwnd, GA_PARENT) != ::GetDesktopWindow() || !::IsWindowVisible(document.hwnd))
            Violation("left " + std::to_string(document.id),
                      "document #" + std::to_string(document.id) + " was not handed back when Vantrel ended", false);
    }
    // Documents that lived to the end and did not come back were lost with Vantrel.
    for (const Document& document : m_documents) {
        if (!document.mayDie && !::IsWindow(document.hwnd))
            Violation("gone " + std::to_string(document.id),
                      "document #" + std::to_string(document.id) + " died when Vantrel ended", false);
    }
    for (Viewer& viewer : m_viewers) viewer.process.reset();
    ResetProfile();
}

int Soak::Run() {
    Print("soak: seed %u, %d s, %d viewers, up to %d documents and %d additional frames, grace %d ms, cycle stops "
          "up to %d ms%s",
          m_options.seed, m_options.seconds, m_options.viewers, m_options.maxWindows, m_options.maxFrames,
          m_options.graceMs, m_options.stopLimitMs, m_options.reentry ? ", commands while Vantrel asks" : "");
    Print("soak: replay with --seed %u --seconds %d", m_options.seed, m_options.seconds);
    if (!SetUp()) return 2;

    const Clock start = m_start = Now();
    const Clock end = start + static_cast<Clock>(m_options.seconds) * 1000;
    Clock nextCheck = start, nextReport = start + 10000;
    while (Now() < end && m_vantrel.IsRunning()) {
        Clock before = Now();
        m_lastOperation = "(nothing done)";
        Step();
        m_operationMs[m_lastOperation] += Now() - before;
        before = Now();
        AnswerBoxes();
        m_operationMs["(answering)"] += Now() - before;
        if (Now() >= nextCheck) {
            before = Now();
            Check(false);
            m_operationMs["(checking)"] += Now() - before;
            nextCheck = Now() + 250;
        }
        if (Now() >= nextReport) {
            Print("soak: %llu s, %llu operations, %zu documents, %zu frames, %d violations",
                  (Now() - start) / 1000, m_total, m_documents.size(), m_vantrel.Frames().size(), m_violations);
            nextReport += 10000;
        }
        const int pause = 5 + Pick(60);
        WaitFor([] { return false; }, pause);
    }
    if (!m_vantrel.IsRunning()) {
        Violation("ended", "Vantrel ended during the run, exit code " + std::to_string(m_vantrel.ExitCode()), false);
    } else {
        // Everything asked is answered and the cycles catch up; then the state must hold.
        // It must have been quiet for a second and a half first: nothing pending, no box
        // of ours, no viewer hung and no question answered. A document that died just now
        // (a viewer's window goes only once the programs sharing its input answer, and an
        // answered "save?" closes one) keeps its button until a cycle reads its title, up
        // to 400 ms later; a move held up by a hung viewer goes on once it answers.
        const Clock settle = Now() + static_cast<Clock>(m_options.graceMs) + 6000;
        Clock quietSince = Now();
        while (Now() < settle) {
            AnswerBoxes();
            Check(false);
            bool quiet = m_pending.empty() && FindMessageBoxOf(m_vantrel.Pid()) == nullptr &&
                         Now() - m_lastAnswer >= 1500;
            for (size_t v = 0; v < m_viewers.size(); ++v)
                if (m_viewers[v].process && m_viewers[v].process->IsRunning() && !ViewerAnswers(v)) quiet = false;
            if (!quiet) quietSince = Now();
            if (Now() - quietSince >= 1500) break;
            WaitFor([] { return false; }, 100);
        }
        Check(true);
    }
    const double seconds = static_cast<double>(Now() - start) / 1000.0;
    ShutDown();

    Print("soak: %.0f s, %llu operations, %llu checks, slowest WM_NULL answer %.0f ms, longest stop of the cycle %llu ms",
          seconds, m_total, m_checks, m_slowestAnswerMs, static_cast<unsigned long long>(m_longestCycleStall));
    Print("soak: %u documents outlived their viewer for a while", m_outlived);
    for (const auto& [name, count] : m_operations)
        Print("  %-40s %6llu  %7llu ms in all", name.c_str(), count, m_operationMs[name]);
    for (const char* name : {"(nothing done)", "(answering)", "(checking)"})
        Print("  %-40s         %7llu ms in all", name, m_operationMs[name]);
    Print("soak: %d violations (seed %u)", m_violations, m_options.seed);
    return m_violations == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return 2;
    if (!options.seedGiven) options.seed = static_cast<std::uint32_t>(::GetTickCount64() ^ ::GetCurrentProcessId());
    Soak soak(options);
    return soak.Run();
}

#include "frame/DocumentRestore.h"

#include <algorithm>
#include <ctime>

#include "core/Log.h"
#include "frame/FrameManager.h"
#include "frame/MainFrame.h"
#include "frame/Program.h"
#include "hosting/WindowCtrl.h"

namespace frame {
namespace {

std::uint64_t SecondsNow() { return static_cast<std::uint64_t>(std::time(nullptr)); }

vantrel::WindowId Id(HWND window) { return reinterpret_cast<vantrel::WindowId>(window); }

bool IsBlank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; });
}

}  // namespace

// Asks the system, not the program: a hung viewer answers this as quickly as any.
std::wstring ProgramPathOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == 0) return {};
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return {};
    std::wstring path(MAX_PATH, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    BOOL ok = ::QueryFullProcessImageNameW(process, 0, path.data(), &size);
    if (!ok && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        path.assign(vantrel::kMaxRememberedPath + 1, L'\0');
        size = static_cast<DWORD>(path.size());
        ok = ::QueryFullProcessImageNameW(process, 0, path.data(), &size);
    }
    ::CloseHandle(process);
    if (!ok) return {};
    path.resize(size);
    return path;
}

DocumentRestore::DocumentRestore(Program& program, FrameManager& frames) : m_program(program), m_frames(frames) {}

void DocumentRestore::Load() {
    if (!m_program.Settings().IsOn(vantrel::profile::kRestoreFrames)) return;
    m_restoring = true;
    const vantrel::ProfileStore::RawValue raw =
        m_program.Profile().ReadRaw(vantrel::kDocumentsSection, vantrel::kDocumentsEntry, vantrel::kMaxRememberedBytes);
    vantrel::Remembered remembered = vantrel::DecodeRemembered(raw.type, raw.data.data(), raw.data.size(), SecondsNow());
    if (raw.type != 0 && remembered.frames.empty() && remembered.documents.empty())
        vantrel::Log("remembered documents: nothing usable stored");
    else if (raw.type != 0)
        vantrel::Log("remembered documents: %u frames, %u documents", static_cast<unsigned>(remembered.frames.size()),
                     static_cast<unsigned>(remembered.documents.size()));
    m_framesToOpen = std::move(remembered.frames);
    std::sort(m_framesToOpen.begin(), m_framesToOpen.end(),
              [](const vantrel::RememberedFrame& a, const vantrel::RememberedFrame& b) { return a.number < b.number; });
    m_matcher = vantrel::DocumentMatcher(std::move(remembered.documents));
}

void DocumentRestore::ReopenFrames() {
    if (!m_restoring || m_framesOpen) return;
    m_framesOpen = true;
    CMainFrame* main = m_frames.Main();
    if (main == nullptr) return;
    m_remembered[0] = main;
    for (const vantrel::RememberedFrame& remembered : m_framesToOpen) {
        const unsigned before = m_frames.Count();
        m_frames.NewFrame(main->Hwnd());
        if (!main->Exists() || m_frames.Count() <= before) break;
        CMainFrame* frame = m_frames.At(m_frames.Count() - 1);
        if (frame == nullptr) break;
        if (!remembered.name.empty()) frame->SetText(remembered.name);
        m_remembered[remembered.number] = frame;
        // A start minimized (or hidden to the tray) keeps every frame out of the way.
        if (!::IsWindowVisible(main->Hwnd()))
            ::ShowWindow(frame->Hwnd(), SW_HIDE);
        else if (::IsIconic(main->Hwnd()))
            ::ShowWindow(frame->Hwnd(), SW_MINIMIZE);
    }
    m_framesToOpen.clear();
    // The user works in the main frame, as at any start; the others are back behind it.
    if (main->Exists() && ::IsWindowVisible(main->Hwnd())) ::SetWindowPos(main->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // Those captured meanwhile go now; any still without a title wait on the timer.
    if (!m_waiting.empty()) {
        StartTimer();
        OnTimer();
    }
}

void DocumentRestore::OnRecorded(CMainFrame& frame, HWND window, bool handed) {
    if (handed) {
        if (PlacedWindow* placed = PlaceOf(window)) {
            if (placed->onItsWay) {
                placed->onItsWay = false;
                PutInPlace(frame, window);
            } else {
                placed->position.reset();  // moved by the user: its old place no longer holds
            }
        }
        Save();
        return;
    }
    if (!m_restoring || &frame != m_frames.Main()) return;
    m_waiting.push_back({window, ::GetTickCount64()});
    if (m_framesOpen) StartTimer();
}

void DocumentRestore::OnTimer() {
    ForgetClosedWindows();
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), [this](const Waiting& w) { return Place(w); }),
                    m_waiting.end());
    CMainFrame* main = m_frames.Main();
    if (m_waiting.empty() && main != nullptr) ::KillTimer(main->Hwnd(), kTimerId);
}

void DocumentRestore::StartTimer() {
    if (CMainFrame* main = m_frames.Main()) ::SetTimer(main->Hwnd(), kTimerId, 100, nullptr);
}

bool DocumentRestore::Place(const Waiting& waiting) {
    CMainFrame* main = m_frames.Main();
    if (main == nullptr || !main->WindowCtrl().Hosts(Id(waiting.window))) return true;
    const std::wstring title = m_program.Desktop().Title(Id(waiting.window));
    if (IsBlank(title) && ::GetTickCount64() - waiting.since < kTitleGrace) return false;
    const vantrel::Placed placed = m_matcher.Match(ProgramPathOf(waiting.window), title, OpenRememberedFrames());
    CMainFrame* target = FrameRemembered(placed.frame);
    const std::optional<unsigned> number = target != nullptr ? m_frames.NumberOf(*target) : std::nullopt;
    if (target == nullptr || target == main || !number || *number == 0) {
        m_places.push_back({waiting.window, placed.position, false});
        PutInPlace(*main, waiting.window);
        return true;
    }
    m_places.push_back({waiting.window, placed.position, true});
    vantrel::Log("document %s goes back to Window #%u", vantrel::LogName(Id(waiting.window)).c_str(), *number);
    main->WindowCtrl().MoveToFrame(waiting.window, *number - 1);
    return true;
}

void DocumentRestore::PutInPlace(CMainFrame& frame, HWND window) {
    vantrel::HostingEngine& engine = frame.WindowCtrl().Engine();
    const int index = engine.IndexOfWindow(Id(window));
    const PlacedWindow* placed = PlaceOf(window);
    if (index < 0 || placed == nullptr || !placed->position) return;
    std::vector<std::optional<unsigned>> present;
    const auto& records = engine.Windows();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (static_cast<int>(i) == index) continue;
        const PlacedWindow* other = PlaceOf(reinterpret_cast<HWND>(records[i].hWnd));
        present.push_back(other != nullptr && !other->onItsWay ? other->position : std::nullopt);
    }
    engine.MoveRecord(static_cast<std::size_t>(index), vantrel::InsertionIndex(present, placed->position));
}

DocumentRestore::PlacedWindow* DocumentRestore::PlaceOf(HWND window) {
    for (PlacedWindow& placed : m_places) {
        if (placed.window == window) return &placed;
    }
    return nullptr;
}

void DocumentRestore::ForgetClosedWindows() {
    m_places.erase(std::remove_if(m_places.begin(), m_places.end(), [](const PlacedWindow& p) { return !::IsWindow(p.window); }),
                   m_places.end());
}

CMainFrame* DocumentRestore::FrameRemembered(unsigned number) const {
    if (number >= m_remembered.size()) return nullptr;
    CMainFrame* frame = m_remembered[number];
    // Closed meanwhile: its documents count as the main frame's.
    if (frame == nullptr || !frame->Exists() || !m_frames.NumberOf(*frame)) return nullptr;
    return frame;
}

std::vector<unsigned> DocumentRestore::OpenRememberedFrames() const {
    std::vector<unsigned> open;
    for (unsigned n = 1; n < m_remembered.size(); ++n) {
        if (FrameRemembered(n) != nullptr) open.push_back(n);
    }
    return open;
}

void DocumentRestore::Forget(const CMainFrame& frame) {
    for (CMainFrame*& remembered : m_remembered) {
        if (remembered == &frame) remembered = nullptr;
    }
}

void DocumentRestore::Collect(CMainFrame& frame, unsigned number, std::uint64_t now,
                              std::vector<vantrel::RememberedDocument>& out) {
    unsigned position = 0;
    for (const vantrel::HostedWindowRecord& record : frame.WindowCtrl().Engine().Windows()) {
        if (record.bMoved) continue;  // the frame it went to has it
        const HWND window = reinterpret_cast<HWND>(record.hWnd);
        out.push_back({ProgramPathOf(window), m_program.Desktop().Title(record.hWnd), number, position++, now});
    }
}

void DocumentRestore::Save() {
    if (!m_program.Settings().IsOn(vantrel::profile::kRestoreFrames)) return;
    CMainFrame* main = m_frames.Main();
    if (main == nullptr || main->WindowCtrl().Engine().IsReleased()) return;
    vantrel::Remembered remembered;
    const std::uint64_t now = SecondsNow();
    Collect(*main, 0, now, remembered.documents);
    const unsigned count = m_frames.Count();
    for (unsigned i = 0; i < count; ++i) {
        CMainFrame* frame = m_frames.At(i);
        if (frame == nullptr) continue;
        remembered.frames.push_back({i + 1, m_frames.TitleAt(i)});
        Collect(*frame, i + 1, now, remembered.documents);
    }
    // Those not open in this run yet are kept for when their viewer opens them again.
    for (vantrel::RememberedDocument document : m_matcher.NotTaken()) {
        CMainFrame* frame = FrameRemembered(document.frame);
        const std::optional<unsigned> number = frame != nullptr ? m_frames.NumberOf(*frame) : std::nullopt;
        document.frame = number.value_or(0);
        remembered.documents.push_back(std::move(document));
    }
    // Frame by frame in button order; of two at one place, the one open now first.
    std::stable_sort(remembered.documents.begin(), remembered.documents.end(),
                     [](const vantrel::RememberedDocument& a, const vantrel::RememberedDocument& b) {
                         return a.frame != b.frame ? a.frame < b.frame : a.position < b.position;
                     });
    m_program.Profile().WriteBinary(vantrel::kDocumentsSection, vantrel::kDocumentsEntry,
                                    vantrel::EncodeRemembered(remembered));
}

}  // namespace frame

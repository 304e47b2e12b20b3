#include "core/HostingEngine.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <optional>
#include <utility>

#include "core/ButtonLayout.h"
#include "core/Text.h"
#include "core/WindowArithmetic.h"

namespace vantrel {

namespace {

constexpr int kKeyDelayStep = 80;       // the shortcut guard falls this much per visited record
constexpr std::size_t kMaxTitle = 259;  // what a 260-character buffer holds

// Control ids come from window messages, so a stale or foreign one must map to nothing.
std::optional<std::size_t> RecordIndexOf(int controlId, std::size_t count) {
    if (controlId < kFirstButtonId) return std::nullopt;
    const auto index = static_cast<std::size_t>(controlId - kFirstButtonId);
    if (index >= count) return std::nullopt;
    return index;
}

int ControlIdOf(std::size_t index) { return kFirstButtonId + static_cast<int>(index); }

// Adds the time from its making to its end to a sum of microseconds.
class Stopwatch {
public:
    explicit Stopwatch(std::uint64_t& sum) : m_sum(sum), m_start(std::chrono::steady_clock::now()) {}
    ~Stopwatch() {
        m_sum += static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_start).count());
    }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    std::uint64_t& m_sum;
    std::chrono::steady_clock::time_point m_start;
};

// Takes only the desktop and the handle copy: a window may answer a call by having
// our frame closed, and then nothing of the engine may be touched any more.
void PlaceWindows(Desktop& desktop, const std::vector<WindowId>& windows, const std::vector<Rect>& tiles) {
    for (std::size_t i = 0; i < windows.size() && i < tiles.size(); ++i) {
        // A maximized window ignores a new size until it is restored; a minimized one
        // stays minimized and takes the position for when it comes back.
        if (desktop.IsZoomed(windows[i])) desktop.Show(windows[i], ShowCommand::Restore);
        desktop.Move(windows[i], tiles[i]);
    }
}

}  // namespace

HostingEngine::HostingEngine(Desktop& desktop, WindowButtons& buttons, HostingContext& context)
    : m_desktop(desktop), m_buttons(buttons), m_context(context) {}

bool HostingEngine::RunCaptureCycle(const CycleScope& scope) {
    ++m_counts.cycles;
    PollJourneys();
    std::vector<std::size_t> dropList;
    const unsigned reshapes = m_nReshapes;
    // The z-order is asked once per cycle, not once per record: nothing in between
    // moves the windows of the host view but a shortcut, after which it is asked
    // anew. A light cycle asks only when the scope says so, when the host view changed
    // size (a maximized window must fit it again) or when we did something that may
    // have moved it.
    const Rect view = m_windows.empty() ? Rect{} : m_desktop.ClientRect(m_hHostView);
    const Size viewSize{view.Width(), view.Height()};
    bool zOrder = !m_windows.empty() && (scope.zOrder || m_bZOrderStale || !(viewSize == m_hostViewSize));
    WindowId top = zOrder ? m_desktop.TopChild(m_hHostView) : kNoWindow;
    if (zOrder) {
        m_bZOrderStale = false;
        m_hostViewSize = viewSize;
    }
    const unsigned period = scope.titlePeriod == 0 ? 1 : scope.titlePeriod;
    // The same holds for the Ctrl key, which only the shortcuts read.
    std::optional<bool> controlDown;
    // The count is read anew at every step: the shortcuts run in the middle of the loop.
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        // Each record in its turn; at once one handed to another frame, and a new one.
        const bool visit = (scope.tick + i) % period == 0 || m_windows[i].bMoved || m_windows[i].bFresh;
        if (visit || scope.parents) {
            HostedWindowRecord& record = m_windows[i];
            record.nVisited = m_counts.cycles;
            // A window that left our host view without us (its program took it back,
            // or it died and its handle went to a new window) has no place here; once
            // it is top-level, the main frame takes it in anew.
            bool gone = record.bMoved || (scope.parents && m_desktop.Parent(record.hWnd) != m_hHostView);
            std::optional<std::wstring> title;
            if (!gone && visit) {
                record.bFresh = false;
                title = m_desktop.TitleIfAlive(record.hWnd);
                gone = !title;
            }
            if (gone) {
                dropList.push_back(i);
                continue;
            }
            if (title && SyncButtonCaption(record.pButton, *title)) RelayoutButtons();
        }

        if (m_nKeyDelay <= 0) {
            if (!controlDown) controlDown = m_desktop.IsKeyDown(Key::Control);
            if (*controlDown && PollShortcuts()) {
                top = m_desktop.TopChild(m_hHostView);
                zOrder = true;
            }
        }
        if (m_nKeyDelay > 0) m_nKeyDelay -= kKeyDelayStep;
        // Ctrl+F4 waits for the viewer; if our frame released its windows meanwhile, the
        // records are gone or new, and the indices gathered so far name other records.
        if (m_nReshapes != reshapes || i >= m_windows.size()) {
            dropList.clear();
            ++m_counts.cutShort;
            break;
        }

        const HostedWindowRecord& record = m_windows[i];
        if (zOrder) {
            if (top == record.hWnd) {
                if (record.pButton != kNoButton && !m_buttons.IsChecked(record.pButton))
                    m_buttons.SetChecked(record.pButton, true);
                FitMaximizedWindow(i);
            } else if (record.pButton != kNoButton && m_buttons.IsChecked(record.pButton)) {
                m_buttons.SetChecked(record.pButton, false);
            }
        }

        if (m_bTabMode && visit) {
            if (!m_desktop.IsZoomed(record.hWnd))
                m_desktop.Show(record.hWnd, ShowCommand::ShowMaximized);
            else
                m_desktop.MoveTo(record.hWnd, Point{0, 0});
        }
    }

    const bool dropped = !dropList.empty();
    if (dropped) {
        DropRecords(dropList);
        Renumber();
        RelayoutButtons();
    }

    if (m_bCapture) {
        TakeOfferedWindows();
        ForgetStaleAnnouncements();
        if (scope.enumerate) {
            ++m_counts.enumerations;
            // The desktop picks out the viewer's windows itself: one question, however
            // many other windows there are.
            m_desktop.EnumTopLevelWindowsOfClass(m_strClassName, [this](WindowId window) {
                // One still waiting in the queue is taken there, in its turn.
                if (!IsOffered(window) && !IsAnnounced(window) && ConsiderViewerWindow(window) == CaptureResult::Taken)
                    ++m_counts.takenByEnumeration;
                return true;
            });
        }
    }
    return dropped;
}

CaptureResult HostingEngine::ConsiderTopLevelWindow(WindowId window) {
    if (m_bReleased) return CaptureResult::NotOurs;
    if (!EqualNoCase(m_desktop.ClassName(window), m_strClassName)) return CaptureResult::NotOurs;
    return ConsiderViewerWindow(window);
}

CaptureResult HostingEngine::ConsiderViewerWindow(WindowId window) {
    if (m_bReleased) return CaptureResult::NotOurs;
    // Asking the window's program lets calls from other programs in while it waits;
    // one of them may lead here again for the window on its way in already.
    if (Hosts(window) || m_journeys.FindWindow(window) != nullptr) return CaptureResult::NotOurs;
    if (m_context.IsHostedElsewhere(window)) return CaptureResult::NotOurs;
    // A window we may not adopt (a process of higher integrity, or one that just died)
    // stays where it is; the next cycle tries again.
    TakeState state;
    {
        Stopwatch watch(m_counts.setParentMicros);
        state = BeginTakeIn(window, JourneyKind::Capture);
    }
    switch (state) {
    case TakeState::Refused: return CaptureResult::Refused;
    case TakeState::Pending: return CaptureResult::Taken;  // recorded once it is in
    case TakeState::Taken: break;
    }
    return CompleteTake(window, false);
}

TakeState HostingEngine::BeginTakeIn(WindowId window, JourneyKind kind) {
    const Ticket ticket = m_journeys.Begin(window, kind, JourneyState::MovingIn, m_desktop.Milliseconds()).ticket;
    const TakeState state = m_desktop.BeginReparent(ticket, window, m_hHostView, m_context.JourneyOwner());
    if (state != TakeState::Pending) m_journeys.Forget(ticket);
    return state;
}

TakeState HostingEngine::TakeHandedWindow(WindowId window) {
    if (m_bReleased || Hosts(window) || m_journeys.FindWindow(window) != nullptr) return TakeState::Refused;
    const TakeState state = BeginTakeIn(window, JourneyKind::Handed);
    // Refused: its program did not answer, and the window stays where it was.
    if (state == TakeState::Taken) CompleteTake(window, true);
    return state;
}

CaptureResult HostingEngine::CompleteTake(WindowId window, bool handed) {
    // Taking a window in waits for its program, and a release of everything (the
    // session ends) may have run meanwhile: then this one goes back out too.
    if (m_bReleased) {
        m_desktop.SetParent(window, kNoWindow);
        if (handed) m_context.TookOver(window);  // out of the frame it came from too
        return CaptureResult::NotOurs;
    }
    if (handed) {
        // Attached and shown already, by the frame that had it.
        AddHostedWindow(window);
        m_context.TookOver(window);
        return CaptureResult::Taken;
    }
    {
        Stopwatch watch(m_counts.attachMicros);
        m_desktop.AttachInput(window);
    }
    {
        Stopwatch watch(m_counts.showMicros);
        m_desktop.Show(window, ShowCommand::Show);
    }
    AddHostedWindow(window);
    return CaptureResult::Taken;
}

void HostingEngine::PollJourneys() {
    for (const Ticket ticket : m_journeys.Tickets()) Advance(ticket);
    FinishInOrder();
}

void HostingEngine::OnReparentDone(Ticket ticket) {
    Advance(ticket);
    FinishInOrder();
}

bool HostingEngine::ArrivedEarly(const Journey& journey) {
    const WindowId destination = journey.kind == JourneyKind::HandBack ? kNoWindow : m_hHostView;
    return m_desktop.Parent(journey.window) == destination &&
           m_desktop.Milliseconds() - journey.since >= kArrivalGrace;
}

void HostingEngine::Advance(Ticket ticket) {
    Journey* found = m_journeys.Find(ticket);
    if (found == nullptr || (found->state != JourneyState::MovingIn && found->state != JourneyState::Leaving)) return;
    const Journey journey = *found;
    TakeState state = m_desktop.ReparentResult(ticket);
    if (state == TakeState::Pending) {
        // A window that died on its way is nowhere to wait for, and one that arrived
        // counts as there: the re-parenting may still wait on a program that hangs,
        // but the record and button must follow the window now.
        if (!m_desktop.IsWindow(journey.window))
            state = TakeState::Refused;
        else if (ArrivedEarly(journey))
            state = TakeState::Taken;
        else
            return;
        m_desktop.ForgetReparent(ticket);
    }
    if (state == TakeState::Taken) {
        // Recorded, or announced, in its turn.
        found->state = journey.kind == JourneyKind::HandBack ? JourneyState::Out : JourneyState::In;
        return;
    }
    m_journeys.Forget(ticket);
    // Not out: its record stays, and it is asked again at the next turn.
    if (journey.kind == JourneyKind::Handed) m_context.NotTakenOver(journey.window);
}

// Windows that came in are recorded, and windows that went out announced, in the order
// their journeys began: one still on its way ahead of them holds them back for a
// while (its program is busy, likely with the windows behind it too), never longer
// than kOrderHold.
void HostingEngine::FinishInOrder() {
    if (m_journeys.Empty()) return;  // the cycle's common case
    const std::uint64_t now = m_desktop.Milliseconds();
    bool holdIn = false;
    bool holdOut = false;
    for (const Ticket ticket : m_journeys.Tickets()) {
        const Journey* journey = m_journeys.Find(ticket);  // recording lets calls in: looked up anew
        if (journey == nullptr) continue;
        const bool out = journey->kind == JourneyKind::HandBack;
        bool& hold = out ? holdOut : holdIn;
        if (journey->state != JourneyState::In && journey->state != JourneyState::Out) {
            if (journey->state != JourneyState::Asked && now - journey->since < kOrderHold) hold = true;
            continue;
        }
        if (hold) continue;
        const Journey done = *journey;
        m_journeys.Forget(ticket);
        if (out) {
            DropRecordOf(done.window);
            m_context.Released(done.window);
        } else if (m_desktop.IsWindow(done.window) && m_desktop.Parent(done.window) == m_hHostView) {
            // A window that came in and then died, or that its program took elsewhere,
            // is not recorded: the next cycle would only drop it again.
            CompleteTake(done.window, done.kind == JourneyKind::Handed);
        } else if (done.kind == JourneyKind::Handed) {
            m_context.NotTakenOver(done.window);
        }
    }
}

void HostingEngine::LetGoTick() {
    PollJourneys();
    std::vector<WindowId> gone;
    for (const HostedWindowRecord& record : m_windows) {
        const WindowId window = record.hWnd;
        if (record.bMoved) {
            gone.push_back(window);
            continue;
        }
        // On its way to another frame: that frame tells how it went.
        if (record.bHanding) continue;
        if (const Journey* journey = m_journeys.FindWindow(window)) {
            // A window that died before its program answered never gets its answer.
            if (journey->state == JourneyState::Asked && !m_desktop.IsWindow(window)) {
                m_journeys.Forget(journey->ticket);
                gone.push_back(window);
            }
            continue;
        }
        if (!m_desktop.IsWindow(window) || m_desktop.Parent(window) != m_hHostView) {
            gone.push_back(window);
            continue;
        }
        const Ticket ticket =
            m_journeys.Begin(window, JourneyKind::HandBack, JourneyState::Asked, m_desktop.Milliseconds()).ticket;
        if (!m_desktop.AskAnswer(ticket, window, m_context.JourneyOwner())) {
            m_journeys.Forget(ticket);
            gone.push_back(window);
        }
    }
    for (const WindowId window : gone) DropRecordOf(window);
}

// Its program has just answered, so handing the window back should not wait long;
// should it hang right after answering, the desktop waits elsewhere.
void HostingEngine::OnAnswered(Ticket ticket) {
    Journey* journey = m_journeys.Find(ticket);
    if (journey == nullptr || journey->state != JourneyState::Asked) return;
    const WindowId window = journey->window;
    const int index = IndexOfWindow(window);
    if (index < 0 || m_windows[static_cast<std::size_t>(index)].bMoved || !m_desktop.IsWindow(window) ||
        m_desktop.Parent(window) != m_hHostView) {
        m_journeys.Forget(ticket);  // gone, or elsewhere: only forgotten
        DropRecordOf(window);
        return;
    }
    journey->state = JourneyState::Leaving;
    journey->since = m_desktop.Milliseconds();
    const TakeState state = m_desktop.BeginReparent(ticket, window, kNoWindow, m_context.JourneyOwner());
    if (state == TakeState::Pending) return;
    if (state == TakeState::Taken) {
        journey->state = JourneyState::Out;
        FinishInOrder();
    } else {
        m_journeys.Forget(ticket);  // asked again at the next turn
    }
}

void HostingEngine::MarkHanding(std::size_t index, bool handing) {
    if (index < m_windows.size()) m_windows[index].bHanding = handing;
}

void HostingEngine::DropRecordOf(WindowId window) {
    const int index = IndexOfWindow(window);
    if (index < 0) return;
    DropRecords({static_cast<std::size_t>(index)});
    ++m_nReshapes;
    Renumber();
    RelayoutButtons();
}

void HostingEngine::SetCapture(bool capture) {
    m_bCapture = capture;
    if (!capture) {
        m_offers.clear();
        m_announced.clear();
    }
}

bool HostingEngine::IsOffered(WindowId window) const {
    return std::any_of(m_offers.begin(), m_offers.end(), [window](const Offer& offer) { return offer.window == window; });
}

void HostingEngine::AnnounceWindow(WindowId window) {
    if (!m_bCapture || window == kNoWindow || IsAnnounced(window)) return;
    m_announced.push_back(Announcement{window, m_desktop.Milliseconds()});
}

bool HostingEngine::IsAnnounced(WindowId window) const {
    return std::any_of(m_announced.begin(), m_announced.end(),
                       [window](const Announcement& a) { return a.window == window; });
}

// A window whose program never answers (it died, or hangs) is left to the enumeration.
void HostingEngine::ForgetStaleAnnouncements() {
    if (m_announced.empty()) return;
    const std::uint64_t now = m_desktop.Milliseconds();
    m_announced.erase(std::remove_if(m_announced.begin(), m_announced.end(),
                                     [&](const Announcement& a) {
                                         return now - a.since >= kAnnouncementWait || !m_desktop.IsWindow(a.window);
                                     }),
                      m_announced.end());
}

void HostingEngine::OfferWindow(WindowId window) {
    if (!m_bCapture || window == kNoWindow) return;
    m_announced.erase(std::remove_if(m_announced.begin(), m_announced.end(),
                                     [window](const Announcement& a) { return a.window == window; }),
                      m_announced.end());
    if (IsOffered(window)) return;  // created, then shown: one entry is enough
    m_offers.push_back(Offer{window, 0});
    if (!m_bOffersWait) TakeOfferedWindows();
}

CaptureResult HostingEngine::ConsiderOfferedWindow(WindowId window) {
    // Cheap questions first: most windows that come and go are neither top-level nor
    // the viewer's, and many are our own (buttons, menus, tooltips).
    if (!m_desktop.IsWindow(window) || m_desktop.Parent(window) != kNoWindow || m_desktop.IsOwnWindow(window))
        return CaptureResult::NotOurs;
    return ConsiderTopLevelWindow(window);
}

void HostingEngine::TakeOfferedWindows() {
    // A capture may let messages in while it waits for the viewer; an offer that
    // arrives then joins the queue and is taken by the loop already running.
    if (m_bTakingOffers) return;
    m_bTakingOffers = true;
    m_bOffersWait = false;
    while (!m_offers.empty() && m_bCapture) {
        const WindowId window = m_offers.front().window;
        const CaptureResult result = ConsiderOfferedWindow(window);
        if (m_offers.empty() || m_offers.front().window != window) break;  // cleared meanwhile
        if (result == CaptureResult::Refused && ++m_offers.front().attempts < kOfferAttempts) {
            m_bOffersWait = true;
            break;
        }
        if (result == CaptureResult::Taken) ++m_counts.takenFromOffers;
        m_offers.pop_front();
    }
    m_bTakingOffers = false;
}

void HostingEngine::AddHostedWindow(WindowId window) {
    if (window == kNoWindow) return;
    if (m_bReleased) {
        // Handed to a frame that has let go of everything: back to the desktop.
        if (m_desktop.Parent(window) == m_hHostView) m_desktop.SetParent(window, kNoWindow);
        return;
    }
    // Without a button the window is still ours: losing the record would strand it in
    // the host view, unreleased when the frame closes.
    ++m_counts.records;
    m_bZOrderStale = true;
    ButtonId button = kNoButton;
    {
        Stopwatch watch(m_counts.buttonMicros);
        button = m_buttons.Create(ControlIdOf(m_windows.size()));
    }
    // The caption comes with the button: a button without one tells the user nothing.
    if (button != kNoButton) {
        if (const std::optional<std::wstring> title = m_desktop.TitleIfAlive(window)) SyncButtonCaption(button, *title);
    }
    ++m_nGeneration;
    m_windows.push_back(HostedWindowRecord{window, button, false, false, true});
    {
        Stopwatch watch(m_counts.layoutMicros);
        RelayoutButtons();
    }

    if (!m_context.BringToFrontOnCapture()) return;
    const WindowId frame = m_context.OwnerFrame();
    if (frame != kNoWindow) {
        // A frame hidden to the tray stays hidden; a minimized one comes back.
        if (m_desktop.IsVisible(frame) && !m_desktop.IsZoomed(frame))
            m_desktop.Show(frame, ShowCommand::ShowNormal);
        m_desktop.SwitchTo(frame);
    }
    m_desktop.SetActive(window);
    m_desktop.SetForeground(window);
}

bool HostingEngine::SyncButtonTitle(ButtonId button, WindowId window) {
    if (button == kNoButton) return false;
    return SyncButtonCaption(button, m_desktop.Title(window));
}

bool HostingEngine::SyncButtonCaption(ButtonId button, const std::wstring& raw) {
    if (button == kNoButton) return false;
    const std::wstring title = ShownTitle(raw, kMaxTitle);
    // Letter case alone is not worth a resize and a re-layout.
    const std::wstring caption = m_buttons.Caption(button);
    if (EqualNoCase(caption, title)) return false;
    if (caption.empty()) {
        Stopwatch watch(m_counts.captionMicros);
        m_buttons.SetCaption(button, title);
    } else {
        m_buttons.SetCaption(button, title);
    }
    return true;
}

void HostingEngine::FitMaximizedWindow(std::size_t index) {
    if (index >= m_windows.size()) return;
    const HostedWindowRecord& record = m_windows[index];
    if (record.bMoved) return;
    if (!m_desktop.HasMaximizedStyle(record.hWnd)) return;
    // A maximized child keeps the size of the parent it was maximized in; the host
    // view may have been resized since, or the window may come from another frame.
    const Rect outer = m_desktop.WindowRect(record.hWnd);
    const Rect client = m_desktop.ClientRect(m_hHostView);
    if (outer.Width() != client.Width() || outer.Height() != client.Height()) {
        m_desktop.Move(record.hWnd, Rect{client.left, client.top, client.left + client.Width(),
                                         client.top + client.Height()});
    }
}

int HostingEngine::GetActiveIndex() { return IndexOfWindow(m_desktop.TopChild(m_hHostView)); }

void HostingEngine::ActivateIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return;
    m_bZOrderStale = true;
    m_desktop.SetActive(m_windows[static_cast<std::size_t>(index)].hWnd);
}

bool HostingEngine::PollShortcuts() {
    if (m_nKeyDelay > 0) return false;
    if (!m_desktop.IsKeyDown(Key::Control)) return false;
    const bool tab = m_desktop.IsKeyDown(Key::Tab);
    const bool f4 = m_desktop.IsKeyDown(Key::F4);
    if (!tab && !f4) return false;
    // The keys are global: every frame sees them, only the one the user works in acts.
    if (!m_context.IsUserWorkingHere()) return false;
    m_nKeyDelay = kKeyDelayAfterShortcut;

    const int active = GetActiveIndex();
    const int count = static_cast<int>(m_windows.size());
    if (tab) {
        if (!m_desktop.IsKeyDown(Key::Shift)) {
            ActivateIndex(active == count - 1 ? 0 : active + 1);  // none active: the first
        } else {
            ActivateIndex((active == 0 ? count : active) - 1);  // none active: nothing
        }
        return true;
    }
    // Shift is not looked at: Ctrl+Shift+F4 closes the active window too.
    if (active >= 0) m_desktop.Close(m_windows[static_cast<std::size_t>(active)].hWnd);
    return true;
}

const HostedWindowRecord* HostingEngine::CommandRecord(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return nullptr;
    const HostedWindowRecord& record = m_windows[static_cast<std::size_t>(index)];
    return record.bMoved || record.bHanding ? nullptr : &record;
}

void HostingEngine::CloseWindowAt(int index) {
    if (const HostedWindowRecord* record = CommandRecord(index)) m_desktop.Close(record->hWnd);
}

void HostingEngine::MaximizeWindowAt(int index) {
    m_bZOrderStale = true;  // a maximized window on top is fitted
    if (const HostedWindowRecord* record = CommandRecord(index))
        m_desktop.Show(record->hWnd, ShowCommand::ShowMaximized);
}

void HostingEngine::MinimizeWindowAt(int index) {
    m_bZOrderStale = true;
    if (const HostedWindowRecord* record = CommandRecord(index)) m_desktop.Show(record->hWnd, ShowCommand::Minimize);
}

void HostingEngine::CenterWindowAt(int index) {
    const HostedWindowRecord* record = CommandRecord(index);
    if (record == nullptr) return;
    const Rect outer = m_desktop.WindowRect(record->hWnd);
    const Rect client = m_desktop.ClientRect(m_hHostView);
    m_desktop.Move(record->hWnd, CenteredRect(Size{outer.Width(), outer.Height()}, client));
}

std::vector<WindowId> HostingEngine::HandleCopy() const {
    std::vector<WindowId> windows;
    windows.reserve(m_windows.size());
    for (const HostedWindowRecord& record : m_windows) windows.push_back(record.hWnd);
    return windows;
}

void HostingEngine::TileHorizontally() {
    m_bZOrderStale = true;
    const std::vector<WindowId> windows = HandleCopy();
    if (windows.empty()) return;
    PlaceWindows(m_desktop, windows, TileRows(windows.size(), m_desktop.ClientRect(m_hHostView)));
}

void HostingEngine::TileVertically() {
    m_bZOrderStale = true;
    const std::vector<WindowId> windows = HandleCopy();
    if (windows.empty()) return;
    PlaceWindows(m_desktop, windows, TileColumns(windows.size(), m_desktop.ClientRect(m_hHostView)));
}

void HostingEngine::CloseAllWindows() {
    // The cycle drops the windows that went; those that refuse keep their buttons.
    m_desktop.CloseInTurn(HandleCopy());
}

int HostingEngine::IndexOfButton(ButtonId button) const {
    if (button == kNoButton) return -1;
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i].pButton == button) return static_cast<int>(i);
    }
    return -1;
}

void HostingEngine::BringForward(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return;
    const HostedWindowRecord& record = m_windows[static_cast<std::size_t>(index)];
    m_bZOrderStale = true;
    if (!record.bMoved) m_desktop.SetForeground(record.hWnd);
}

bool HostingEngine::ReleaseAllWindows() {
    // A window on its way in is let in first, for a while, then handed back with the
    // others; one whose program makes it wait longer goes back once it is in.
    if (!m_journeys.Empty()) {
        m_desktop.WaitForReparents(m_journeys.Tickets(), kReleaseWait);
        PollJourneys();
    }
    // A window another frame was handing over and that has not come yet stays that
    // frame's: this one may be gone before its program lets the window in.
    for (const Journey& journey : std::vector<Journey>(m_journeys.All())) {
        if (journey.kind != JourneyKind::Handed || journey.state != JourneyState::MovingIn) continue;
        m_desktop.ForgetReparent(journey.ticket);
        m_journeys.Forget(journey.ticket);
        m_context.NotTakenOver(journey.window);
    }
    m_bReleased = true;
    m_bZOrderStale = true;
    if (m_bDragging) {
        m_buttons.ReleaseMouse();
        m_bDragging = false;
    }
    constexpr int kTries = 3;
    std::vector<HostedWindowRecord> kept;
    for (HostedWindowRecord& record : m_windows) {
        // A moved window belongs to another frame now, and one that has a new parent
        // was taken over by someone else; either way it is not ours to hand back.
        bool inside = !record.bMoved && m_desktop.IsWindow(record.hWnd) && m_desktop.Parent(record.hWnd) == m_hHostView;
        for (int attempt = 0; inside && attempt < kTries; ++attempt) {
            if (m_desktop.SetParent(record.hWnd, kNoWindow)) inside = false;
        }
        if (inside) {
            kept.push_back(record);  // still inside: its button stays with it
            continue;
        }
        if (record.pButton != kNoButton) m_buttons.Destroy(record.pButton);
    }
    // Forgotten at once, so a closing frame can never be asked for windows it gave back.
    m_windows = std::move(kept);
    ++m_nGeneration;
    m_offers.clear();
    m_announced.clear();
    ++m_nReshapes;
    if (m_windows.empty()) return true;
    Renumber();
    RelayoutButtons();
    return false;
}

void HostingEngine::RelayoutButtons() {
    std::vector<ButtonId> shown;
    std::vector<Size> sizes;
    shown.reserve(m_windows.size());
    sizes.reserve(m_windows.size());
    for (const HostedWindowRecord& record : m_windows) {
        if (record.pButton == kNoButton) continue;
        shown.push_back(record.pButton);
        sizes.push_back(m_buttons.OuterSize(record.pButton));
    }
    const std::vector<Point> positions = LayoutButtons(sizes, m_buttons.RowWidth(), m_buttons.Dpi());
    for (std::size_t i = 0; i < shown.size(); ++i) m_buttons.Place(shown[i], positions[i]);
}

void HostingEngine::OnButtonClicked(int controlId) {
    const auto index = RecordIndexOf(controlId, m_windows.size());
    if (!index) return;
    const HostedWindowRecord& record = m_windows[*index];
    if (record.bMoved) return;  // handed over; its button goes with the next cycle
    m_bZOrderStale = true;
    m_desktop.SetForeground(record.hWnd);
}

void HostingEngine::OnLeftButtonDown(Point cursor) { m_ptDragRef = cursor; }

void HostingEngine::OnLeftButtonUp() {
    if (!m_bDragging) return;
    m_buttons.ReleaseMouse();
    m_bDragging = false;
    if (m_nDragIndex < 0 || static_cast<std::size_t>(m_nDragIndex) >= m_windows.size()) return;
    const ButtonId button = m_windows[static_cast<std::size_t>(m_nDragIndex)].pButton;
    if (button != kNoButton) m_buttons.SetFaceColor(button, kAfterDragFaceColor);
}

void HostingEngine::OnMouseMove(Point cursor, bool onlyLeftButton, int controlId) {
    // Shift or a second mouse button turns the movement into something else than a drag.
    if (!onlyLeftButton) return;
    // Wide enough that far-apart screen coordinates cannot overflow.
    const long long dx = static_cast<long long>(cursor.x) - m_ptDragRef.x;
    const auto index = RecordIndexOf(controlId, m_windows.size());

    if ((dx > kDragStartDistance || dx < -kDragStartDistance) && !m_bDragging) {
        if (!index) return;
        const ButtonId button = m_windows[*index].pButton;
        if (button == kNoButton) return;
        m_buttons.CaptureMouse(button);
        m_bDragging = true;
        m_nDragIndex = static_cast<int>(*index);
        m_buttons.SetFaceColor(button, kDragFaceColor);
    } else if (dx > kDragSwapDistance && m_bDragging) {
        if (!index || *index + 1 >= m_windows.size()) return;
        SwapRecords(*index, *index + 1);
        ++m_nDragIndex;
        m_ptDragRef = cursor;
        RelayoutButtons();
    } else if (dx < -kDragSwapDistance && m_bDragging) {
        if (!index || *index == 0) return;
        SwapRecords(*index, *index - 1);
        --m_nDragIndex;
        m_ptDragRef = cursor;
        RelayoutButtons();
    }
}

int HostingEngine::IndexOfWindow(WindowId window) const {
    if (window == kNoWindow) return -1;
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i].hWnd == window) return static_cast<int>(i);
    }
    return -1;
}

void HostingEngine::MarkMoved(std::size_t index) {
    if (index >= m_windows.size()) return;
    m_windows[index].bMoved = true;
    m_bZOrderStale = true;
}

bool HostingEngine::ReleaseWindow(WindowId window) {
    const int index = IndexOfWindow(window);
    if (index < 0) return true;
    const HostedWindowRecord& record = m_windows[static_cast<std::size_t>(index)];
    const bool inside = !record.bMoved && m_desktop.IsWindow(window) && m_desktop.Parent(window) == m_hHostView;
    if (inside && !m_desktop.SetParent(window, kNoWindow)) return false;
    DropRecordOf(window);
    return true;
}

void HostingEngine::DropRecords(const std::vector<std::size_t>& indices) {
    m_bZOrderStale = true;
    ++m_nGeneration;
    // From the highest index down, so the indices still to come stay valid.
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        const std::size_t index = *it;
        if (index >= m_windows.size()) continue;
        if (m_windows[index].pButton != kNoButton) m_buttons.Destroy(m_windows[index].pButton);
        m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(index));

        // Keep the drag index naming the dragged record; a drag whose button is gone ends.
        if (!m_bDragging) continue;
        if (static_cast<int>(index) == m_nDragIndex) {
            m_buttons.ReleaseMouse();
            m_bDragging = false;
        } else if (static_cast<int>(index) < m_nDragIndex) {
            --m_nDragIndex;
        }
    }
}

void HostingEngine::Renumber() {
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i].pButton != kNoButton)
            m_buttons.SetControlId(m_windows[i].pButton, ControlIdOf(i));
    }
}

void HostingEngine::SwapRecords(std::size_t a, std::size_t b) {
    if (a >= m_windows.size() || b >= m_windows.size()) return;
    std::swap(m_windows[a], m_windows[b]);
    ++m_nReshapes;
    m_bZOrderStale = true;
    if (m_windows[a].pButton != kNoButton) m_buttons.SetControlId(m_windows[a].pButton, ControlIdOf(a));
    if (m_windows[b].pButton != kNoButton) m_buttons.SetControlId(m_windows[b].pButton, ControlIdOf(b));
}

}  // namespace vantrel

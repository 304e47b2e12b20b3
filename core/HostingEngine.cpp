// The engine's records: made when a window comes in, dropped when it goes, and
// handed back to the desktop when the frame lets go of them.

#include "core/HostingEngine.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "core/Stopwatch.h"

namespace vantrel {

HostingEngine::HostingEngine(Desktop& desktop, WindowButtons& buttons, HostingContext& context)
    : m_desktop(desktop), m_buttons(buttons), m_context(context) {}

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

int HostingEngine::IndexOfButton(ButtonId button) const {
    if (button == kNoButton) return -1;
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i].pButton == button) return static_cast<int>(i);
    }
    return -1;
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

void HostingEngine::DropRecordOf(WindowId window) {
    const int index = IndexOfWindow(window);
    if (index < 0) return;
    DropRecords({static_cast<std::size_t>(index)});
    ++m_nReshapes;
    Renumber();
    RelayoutButtons();
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

void HostingEngine::MarkHanding(std::size_t index, bool handing) {
    if (index < m_windows.size()) m_windows[index].bHanding = handing;
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
        if (!HandBack(record, kTries)) {
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

bool HostingEngine::ReleaseWindow(WindowId window) {
    const int index = IndexOfWindow(window);
    if (index < 0) return true;
    if (!HandBack(m_windows[static_cast<std::size_t>(index)], 1)) return false;
    DropRecordOf(window);
    return true;
}

bool HostingEngine::HandBack(const HostedWindowRecord& record, int tries) {
    // A moved window belongs to another frame now, and one that has a new parent was
    // taken over by someone else; either way it is not ours to hand back.
    const WindowId window = record.hWnd;
    bool inside = !record.bMoved && m_desktop.IsWindow(window) && m_desktop.Parent(window) == m_hHostView;
    for (int attempt = 0; inside && attempt < tries; ++attempt) {
        if (m_desktop.SetParent(window, kNoWindow)) inside = false;
    }
    return !inside;
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

}  // namespace vantrel

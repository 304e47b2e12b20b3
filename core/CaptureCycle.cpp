// The capture cycle and the journeys of windows on their way in: what each tick looks
// at, how a viewer window is taken in, and the order in which those that came are
// recorded.

#include "core/Log.h"
#include "core/HostingEngine.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "core/Stopwatch.h"
#include "core/Text.h"

namespace vantrel {

namespace {
constexpr int kKeyDelayStep = 80;  // the shortcut guard falls this much per visited record
}  // namespace

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

    // A frame with no documents still opens the find box and its taskbar from the keys,
    // its guard falling once per cycle as it would for one record.
    if (m_windows.empty()) {
        if (m_nKeyDelay <= 0 && m_desktop.IsKeyDown(Key::Control)) PollShortcuts();
        if (m_nKeyDelay > 0) m_nKeyDelay -= kKeyDelayStep;
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
        m_context.Recorded(window, true);
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
    m_context.Recorded(window, false);
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
    if (m_desktop.IsWindow(journey.window))
        Log("window %s could not be %s; %s", LogName(journey.window).c_str(),
            journey.kind == JourneyKind::HandBack ? "handed back" : "taken in",
            journey.kind == JourneyKind::Capture ? "tried again later" : "asked again at the next turn");
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
        if (result == CaptureResult::Refused)
            Log("window %s was not taken in after %d attempts; left to the enumeration", LogName(window).c_str(),
                kOfferAttempts);
        if (result == CaptureResult::Taken) ++m_counts.takenFromOffers;
        m_offers.pop_front();
    }
    m_bTakingOffers = false;
}

}  // namespace vantrel

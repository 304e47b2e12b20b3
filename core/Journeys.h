#pragma once
// A window on its way into, out of or between our frames. Re-parenting another
// program's window, and asking whether that program answers, may wait on the program:
// the desktop does it elsewhere and tells the outcome later under a ticket. Each
// journey has one owner, the frame that started it, and only the owner reads its
// outcome or forgets it.
//
//   taken in:    Offered -> MovingIn -> In -> (recorded)
//   handed over: MovingIn -> In -> (recorded here; the frame it came from drops its record)
//   let go:      (recorded) -> Asked -> Leaving -> Out -> (announced)
//
// Offered windows wait in the engine's queue of offers; a journey begins once the
// engine asks the desktop for something that may wait.

#include <cstdint>
#include <vector>

#include "core/Desktop.h"

namespace vantrel {

enum class JourneyKind {
    Capture,   // a top-level viewer window taken in
    Handed,    // a window another frame of ours hands over
    HandBack,  // a hosted window on its way back to the desktop
};

enum class JourneyState {
    Asked,     // its program asked whether it answers; the answer awaited
    MovingIn,  // being re-parented into our host view
    In,        // in our host view, recorded once the windows that came before are
    Leaving,   // being re-parented back to the desktop
    Out,       // on the desktop, announced once the windows that went before are
};

struct Journey {
    Ticket ticket = kNoTicket;
    WindowId window = kNoWindow;
    JourneyKind kind = JourneyKind::Capture;
    JourneyState state = JourneyState::MovingIn;
    std::uint64_t since = 0;  // the desktop's milliseconds when the state began
};

// The journeys one frame owns, in the order they began.
class Journeys {
public:
    Journey& Begin(WindowId window, JourneyKind kind, JourneyState state, std::uint64_t now);
    Journey* Find(Ticket ticket);
    Journey* FindWindow(WindowId window);
    const Journey* FindWindow(WindowId window) const;
    void Forget(Ticket ticket);
    bool Empty() const { return m_journeys.empty(); }
    std::size_t Count() const { return m_journeys.size(); }
    const std::vector<Journey>& All() const { return m_journeys; }
    std::vector<Ticket> Tickets() const;
    // Counts journeys begun and forgotten: a change shows as a new number.
    unsigned Generation() const { return m_nGeneration; }

private:
    std::vector<Journey> m_journeys;
    unsigned m_nGeneration = 0;
};

}  // namespace vantrel

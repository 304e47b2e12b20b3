#include "core/Journeys.h"

#include <algorithm>
#include <atomic>

namespace vantrel {

namespace {
// Tickets are unique in the process, so that an outcome told late can never be taken
// for another frame's, nor for a later journey of the same frame.
std::atomic<Ticket> s_nextTicket{1};
}  // namespace

Journey& Journeys::Begin(WindowId window, JourneyKind kind, JourneyState state, std::uint64_t now) {
    Journey journey;
    journey.ticket = s_nextTicket++;
    journey.window = window;
    journey.kind = kind;
    journey.state = state;
    journey.since = now;
    ++m_nGeneration;
    m_journeys.push_back(journey);
    return m_journeys.back();
}

Journey* Journeys::Find(Ticket ticket) {
    const auto it = std::find_if(m_journeys.begin(), m_journeys.end(),
                                 [ticket](const Journey& j) { return j.ticket == ticket; });
    return it == m_journeys.end() ? nullptr : &*it;
}

Journey* Journeys::FindWindow(WindowId window) {
    const auto it = std::find_if(m_journeys.begin(), m_journeys.end(),
                                 [window](const Journey& j) { return j.window == window; });
    return it == m_journeys.end() ? nullptr : &*it;
}

const Journey* Journeys::FindWindow(WindowId window) const {
    return const_cast<Journeys*>(this)->FindWindow(window);
}

void Journeys::Forget(Ticket ticket) {
    ++m_nGeneration;
    m_journeys.erase(std::remove_if(m_journeys.begin(), m_journeys.end(),
                                    [ticket](const Journey& j) { return j.ticket == ticket; }),
                     m_journeys.end());
}

std::vector<Ticket> Journeys::Tickets() const {
    std::vector<Ticket> tickets;
    tickets.reserve(m_journeys.size());
    for (const Journey& journey : m_journeys) tickets.push_back(journey.ticket);
    return tickets;
}

}  // namespace vantrel

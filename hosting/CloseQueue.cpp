#include "hosting/CloseQueue.h"

#include "hosting/Probe.h"

namespace hosting {
namespace {
const wchar_t kClassName[] = L"VantrelCloseQueue";
const UINT kAnswered = WM_APP + 1;
const UINT_PTR kTickTimerId = 1;
const UINT kTickElapse = 50;

void CALLBACK Ignore(HWND, UINT, ULONG_PTR, LRESULT) {}
}  // namespace

CloseQueue& CloseQueue::Instance() {
    // Never destroyed: closes may still be answered while the process ends.
    static CloseQueue* queue = new CloseQueue;
    return *queue;
}

bool CloseQueue::EnsureWindow() {
    if (Exists()) return true;
    return RegisterClassOnce(kClassName, 0, nullptr, nullptr, nullptr) &&
           CreateWnd(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr) != nullptr;
}

void CloseQueue::Close(HWND window) {
    if (!::SendMessageCallbackW(window, WM_CLOSE, 0, 0, Ignore, 0)) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

void CloseQueue::CloseInTurn(const std::vector<HWND>& windows) {
    if (!EnsureWindow()) {
        // Without our window there is nothing to pace the turn by: ask them all now.
        for (HWND window : windows) Close(window);
        return;
    }
    m_waiting.insert(m_waiting.end(), windows.begin(), windows.end());
    if (m_asked == nullptr) AskNext();
}

void CloseQueue::AskNext() {
    m_asked = nullptr;
    m_probeTicket = 0;
    while (!m_waiting.empty()) {
        HWND window = m_waiting.front();
        m_waiting.pop_front();
        if (!::IsWindow(window)) continue;
        m_askedTicket = ++m_lastTicket;
        if (!::SendMessageCallbackW(window, WM_CLOSE, 0, 0, CloseAnswered, m_askedTicket)) continue;
        m_asked = window;
        ::SetTimer(Hwnd(), kTickTimerId, kTickElapse, nullptr);
        return;
    }
    ::KillTimer(Hwnd(), kTickTimerId);
}

// Callbacks come while our thread takes messages, possibly inside a nested loop:
// they only note the answer, and the turn goes on from our own message.
void CALLBACK CloseQueue::CloseAnswered(HWND, UINT, ULONG_PTR ticket, LRESULT) {
    CloseQueue& queue = Instance();
    if (queue.m_asked != nullptr && ticket == queue.m_askedTicket && queue.Exists())
        ::PostMessageW(queue.Hwnd(), kAnswered, ticket, 0);
}

void CALLBACK CloseQueue::ProbeAnswered(HWND, UINT, ULONG_PTR ticket, LRESULT) {
    CloseQueue& queue = Instance();
    if (ticket == queue.m_probeTicket) queue.m_probeTicket = 0;
}

void CloseQueue::OnTick() {
    if (m_asked == nullptr) {
        AskNext();
        return;
    }
    if (!::IsWindow(m_asked)) {
        AskNext();
        return;
    }
    const ULONGLONG now = ::GetTickCount64();
    if (m_probeTicket != 0) {
        if (now - m_probeSentAt >= kProbeTimeout) AskNext();  // busy or hung: the next one is asked
        return;
    }
    m_probeTicket = ++m_lastTicket;
    m_probeSentAt = now;
    if (!Probe(m_asked, ProbeAnswered, m_probeTicket)) m_probeTicket = 0;
}

LRESULT CloseQueue::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTickTimerId) {
            OnTick();
            return 0;
        }
        break;
    case kAnswered:
        if (m_asked != nullptr && wParam == m_askedTicket) AskNext();
        return 0;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace hosting

#pragma once
// Closes viewer windows without waiting for them. A close is WM_CLOSE sent with a
// callback: the command that asks returns at once, and the viewer answers once it
// has dealt with it, perhaps after asking its user about unsaved changes.
//
// Closes in turn (close all) ask one window after the other, so that a viewer never
// has two questions open at once: the next window is asked once the previous one has
// answered, has gone, or has stopped answering a probe for a while (busy or hung;
// its close still stands and may take effect much later). A viewer that shows its
// own question still answers probes and is waited for.
//
// Only window handles are kept here, never a frame or a record: a frame may close
// while its windows are being asked, and an answer that comes late finds nothing.

#include <windows.h>

#include <deque>
#include <vector>

#include "ui/Window.h"

namespace hosting {

class CloseQueue final : public ui::Window {
public:
    static CloseQueue& Instance();

    void Close(HWND window);
    void CloseInTurn(const std::vector<HWND>& windows);

    // A probe unanswered this long means the viewer is busy or hung.
    static constexpr ULONGLONG kProbeTimeout = 200;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CloseQueue() = default;
    bool EnsureWindow();
    void AskNext();
    void OnTick();
    static void CALLBACK CloseAnswered(HWND, UINT, ULONG_PTR ticket, LRESULT);
    static void CALLBACK ProbeAnswered(HWND, UINT, ULONG_PTR ticket, LRESULT);

    std::deque<HWND> m_waiting;  // not asked yet, in order
    HWND m_asked = nullptr;      // asked, answer awaited
    ULONG_PTR m_askedTicket = 0;
    ULONG_PTR m_probeTicket = 0;  // 0: no probe out
    ULONGLONG m_probeSentAt = 0;
    ULONG_PTR m_lastTicket = 0;
};

}  // namespace hosting

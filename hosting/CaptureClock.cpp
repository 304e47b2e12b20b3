// The capture clock: one timer paces the cycles of every frame, and the capturing
// frame hears of windows that appear between its cycles.

#include "hosting/Responsiveness.h"

#include <atomic>
#include "hosting/WindowCtrl.h"

#include "hosting/Activator.h"
#include "hosting/Probe.h"
#include "hosting/SharedInput.h"
#include "hosting/Win32Desktop.h"
#include "hosting/WindowEvents.h"

namespace hosting {
namespace {
HWND s_clock = nullptr;  // the control whose timer paces every cycle
bool s_ticking = false;
std::atomic<unsigned> s_tick{0};  // read by the stall trace's thread too
HWND s_focus = nullptr;  // as the last tick that asked found it
bool s_clickedBefore = false;
unsigned s_activations = 0;  // as the last tick found the activator's count
}  // namespace

void CWindowCtrl::StartCapture() {
    m_bCycling = true;
    m_nTicksToEnumeration = 0;  // the first tick looks at every window
    if (m_engine.Captures() && WindowEvents::Wanted()) WindowEvents::Start(Hwnd());
    StartClock();
}

void CWindowCtrl::StopCapture() {
    m_bCycling = false;
    if (m_engine.Captures()) WindowEvents::Stop();
    if (s_clock != nullptr && s_clock == Hwnd()) ::KillTimer(Hwnd(), kCaptureTimerId);
    LeaveClock();
}

void CWindowCtrl::LeaveClock() {
    if (s_clock == nullptr || s_clock != Hwnd()) return;
    s_clock = nullptr;
    StartClock();
}

unsigned CWindowCtrl::Tick() { return s_tick.load(std::memory_order_relaxed); }

void CWindowCtrl::StartClock() {
    if (s_clock != nullptr) return;
    for (CWindowCtrl* control : LiveControls()) {
        if (!control->m_bCycling || control->Hwnd() == nullptr) continue;
        if (::SetTimer(control->Hwnd(), kCaptureTimerId, control->m_nElapse, nullptr) != 0) {
            s_clock = control->Hwnd();
            return;
        }
    }
    // No timer to be had: cycles that silently stopped would leave new documents
    // outside and dead ones on the taskbar, so the next tick comes posted.
    for (CWindowCtrl* control : LiveControls()) {
        if (control->m_bCycling && control->Hwnd() != nullptr) {
            ::PostMessageW(control->Hwnd(), kRetryClock, 0, 0);
            return;
        }
    }
}

// The timer keeps its pace whatever a cycle costs. A cycle that waits for a viewer
// lets messages in, ticks among them: those are skipped, so cycles never overlap.
// A cycle may close frames: each control is looked up anew before its turn.
void CWindowCtrl::OnClockTick() {
    if (s_ticking) return;
    s_ticking = true;
    Win32Desktop::NewTick();
    RejoinAnsweringInput();
    ++s_tick;
    // Hosted windows share their input with ours, so the focus tells of a click into
    // any of them, in any frame: then every frame looks at its z-order. The focus is
    // asked only around a click (pressed now or since the last tick, any button),
    // since asking costs a round trip to the system and the mouse state does not.
    bool focusMoved = false;
    const bool clicked = ((::GetAsyncKeyState(VK_LBUTTON) | ::GetAsyncKeyState(VK_RBUTTON) |
                           ::GetAsyncKeyState(VK_MBUTTON)) & 0x8001) != 0;
    if (clicked || s_clickedBefore) {
        HWND focus = ::GetFocus();
        focusMoved = focus != s_focus;
        s_focus = focus;
    }
    s_clickedBefore = clicked;
    // A window brought forward by the worker since the last tick moved the z-order.
    const unsigned activations = Activator::Instance().Finished();
    if (activations != s_activations) {
        s_activations = activations;
        focusMoved = true;
    }
    const std::vector<CWindowCtrl*> controls = LiveControls();
    for (CWindowCtrl* control : controls) {
        if (IsLive(control) && control->m_bCycling) control->RunCycle(focusMoved);
    }
    PublishSnapshot();
    CheckResponsiveness();
    s_ticking = false;
}

// Most ticks are light: titles in turn, the z-order when the focus moved or we moved
// something. Every so many ticks a frame looks at its z-order anyway, for a program
// that raised a window of its own, and the capturing one looks at every window there
// is, for anything an event missed; frames started at different times, so their full
// ticks fall apart.
void CWindowCtrl::RunCycle(bool focusMoved) {
    if (m_bInCycle || m_engine.IsReleased()) return;
    const bool due = m_nTicksToEnumeration == 0;
    m_nTicksToEnumeration = due ? kTicksPerEnumeration - 1 : m_nTicksToEnumeration - 1;
    vantrel::CycleScope scope;
    scope.enumerate = due || !WindowEvents::Active();
    scope.zOrder = due || focusMoved;
    scope.parents = due;
    scope.titlePeriod = kTitlePeriod;
    scope.tick = s_tick;
    m_bInCycle = true;
    m_engine.RunCaptureCycle(scope);
    m_bInCycle = false;
    if (m_bCycling && m_engine.Captures()) PrepareSpareButton();
}

// A window is taken in once its program has answered: right after creating a window a
// program is still busy with it, and re-parenting waits on it. The answer is asked
// without waiting; it comes back as a call on our thread, which may find us gone,
// and may come in the middle of any wait of ours (a re-parenting, say). So it is
// posted on: the window is taken from the message loop, never inside another capture.
void CWindowCtrl::OnWindowAppeared(HWND window) {
    if (!m_bCycling || !m_engine.Captures()) return;
    // Most windows that come are children, or ours: no need to ask anybody about them.
    if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow() ||
        m_desktop.IsOwnWindow(reinterpret_cast<vantrel::WindowId>(window)))
        return;
    if (!ProbeAndPost(window, Hwnd(), kWindowAnswered, reinterpret_cast<WPARAM>(window))) return;  // gone already
    m_engine.AnnounceWindow(reinterpret_cast<vantrel::WindowId>(window));
}

void CWindowCtrl::OnAppearedWindowAnswered(HWND window) {
    NoteAnswered(window);
    if (!m_bCycling || !m_engine.Captures()) return;
    m_engine.OfferWindow(reinterpret_cast<vantrel::WindowId>(window));
    PublishSnapshot();
    // The next capture takes the button made ahead, once this message is done.
    if (m_spare == nullptr) ::PostMessageW(Hwnd(), kMakeSpare, 0, 0);
}

}  // namespace hosting

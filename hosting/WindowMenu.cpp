// The per-window menu of a button, its "Move to" submenu, and handing windows from
// one frame to another.

#include "hosting/WindowCtrl.h"

#include "core/FrameTexts.h"
#include "resource.h"

namespace hosting {

ui::PopupMenu CWindowCtrl::BuildWindowMenu() {
    ui::PopupMenu popup = ui::PopupMenu::FromResource(IDR_WINDOW_POPUP);
    if (!popup) return popup;
    ui::PopupMenu moveTo(::GetSubMenu(popup.Handle(), 0));
    if (moveTo && m_pOwnerFrame != nullptr) {
        for (unsigned j = 0; j < m_pOwnerFrame->HostFrameCount() && ID_MOVE_TO_FIRST + j <= ID_MOVE_TO_LAST; ++j) {
            moveTo.InsertItem(j, ID_MOVE_TO_FIRST + j,
                              vantrel::MoveToEntryText(static_cast<int>(j + 1), m_pOwnerFrame->HostFrameTitle(j)),
                              false);
        }
        // "Main Window" makes no sense in the main frame's own menu.
        ::EnableMenuItem(moveTo.Handle(), ID_WINDOW_MOVE_TO_MAIN,
                         MF_BYCOMMAND | (m_engine.Captures() ? MF_GRAYED : MF_ENABLED));
    }
    moveTo.Release();  // a submenu goes with its menu
    return popup;
}

void CWindowCtrl::ShowWindowMenu(HWND button, POINT at, bool bringForward) {
    auto* clicked = dynamic_cast<ui::ImageButton*>(ui::Window::FromHandle(button));
    const int index = clicked != nullptr ? m_engine.IndexOfButton(reinterpret_cast<vantrel::ButtonId>(clicked)) : -1;
    if (index < 0) return;
    // The menu's commands act on the window of this button, whatever is in front by
    // the time one is chosen: bringing it forward may be held up by a program that hangs.
    const HWND window = reinterpret_cast<HWND>(m_engine.Windows()[static_cast<size_t>(index)].hWnd);
    if (bringForward) m_engine.BringForward(index);
    const UINT id = BuildWindowMenu().TrackForCommand(Hwnd(), at);
    if (id != 0 && Exists()) RunWindowCommand(id, window);
}

HWND CWindowCtrl::ActiveWindow() {
    const int index = m_engine.GetActiveIndex();
    return index >= 0 ? reinterpret_cast<HWND>(m_engine.Windows()[static_cast<size_t>(index)].hWnd) : nullptr;
}

bool CWindowCtrl::OnCommand(UINT id) { return RunWindowCommand(id, ActiveWindow()); }

bool CWindowCtrl::RunWindowCommand(UINT id, HWND window) {
    const bool moveTo = id >= ID_MOVE_TO_FIRST && id <= ID_MOVE_TO_LAST;
    switch (id) {
    case ID_WINDOW_CLOSE:
    case ID_WINDOW_MAXIMIZE:
    case ID_WINDOW_MINIMIZE:
    case ID_WINDOW_CENTER:
    case ID_WINDOW_MOVE_TO_NEW:
    case ID_WINDOW_MOVE_TO_MAIN: break;
    default:
        if (!moveTo) return false;
    }
    // A window that went, or went to another frame, while the menu was open is left alone.
    const int index = m_engine.IndexOfWindow(reinterpret_cast<vantrel::WindowId>(window));
    if (index < 0 || m_engine.Windows()[static_cast<size_t>(index)].bMoved) return true;
    if (moveTo) {
        MoveToFrame(window, id - ID_MOVE_TO_FIRST);
        PublishSnapshot();
        return true;
    }
    switch (id) {
    case ID_WINDOW_CLOSE: m_engine.CloseWindowAt(index); break;
    case ID_WINDOW_MAXIMIZE: m_engine.MaximizeWindowAt(index); break;
    case ID_WINDOW_MINIMIZE: m_engine.MinimizeWindowAt(index); break;
    case ID_WINDOW_CENTER: m_engine.CenterWindowAt(index); break;
    case ID_WINDOW_MOVE_TO_NEW: MoveToNewFrame(window); break;
    case ID_WINDOW_MOVE_TO_MAIN: MoveToMainFrame(window); break;
    default: break;
    }
    PublishSnapshot();
    return true;
}

void CWindowCtrl::TakeWindow(HWND window) {
    m_engine.TakeHandedWindow(reinterpret_cast<vantrel::WindowId>(window));
}

// A move hands the window over as soon as its program lets it; the frame that had it
// keeps its record until then and drops it at its next cycle. Should the target not
// take it (its viewer does not answer), the window stays here.
void CWindowCtrl::HandOver(HWND window, CWindowCtrl& target) {
    const auto id = reinterpret_cast<vantrel::WindowId>(window);
    const int index = m_engine.IndexOfWindow(id);
    if (&target == this || index < 0 || m_engine.Windows()[static_cast<size_t>(index)].bHanding) return;
    if (target.m_engine.TakeHandedWindow(id) != vantrel::TakeState::Pending) return;
    // On its way: no command of ours acts on it until the target tells how it went.
    const int now = m_engine.IndexOfWindow(id);
    if (now >= 0) m_engine.MarkHanding(static_cast<size_t>(now), true);
}

void CWindowCtrl::TookOver(vantrel::WindowId window) {
    for (CWindowCtrl* control : LiveControls()) {
        if (control == this) continue;
        const int index = control->m_engine.IndexOfWindow(window);
        if (index >= 0) control->m_engine.MarkMoved(static_cast<size_t>(index));
    }
}

void CWindowCtrl::NotTakenOver(vantrel::WindowId window) {
    for (CWindowCtrl* control : LiveControls()) {
        if (control == this) continue;
        const int index = control->m_engine.IndexOfWindow(window);
        if (index < 0) continue;
        control->m_engine.MarkHanding(static_cast<size_t>(index), false);
        control->FinishLettingGoWhenEmpty();
    }
}

void CWindowCtrl::MoveToFrame(HWND window, unsigned position) {
    if (m_pOwnerFrame == nullptr || position >= m_pOwnerFrame->HostFrameCount()) return;
    if (HostFrame* target = m_pOwnerFrame->HostFrameAt(position)) HandOver(window, target->HostCtrl());
}

void CWindowCtrl::MoveToMainFrame(HWND window) {
    HostFrame* main = m_pOwnerFrame != nullptr ? m_pOwnerFrame->MainHostFrame() : nullptr;
    if (m_engine.Captures() || main == nullptr) return;
    HandOver(window, main->HostCtrl());
}

void CWindowCtrl::MoveToNewFrame(HWND window) {
    HostFrame* main = m_pOwnerFrame != nullptr ? m_pOwnerFrame->MainHostFrame() : nullptr;
    if (main == nullptr) return;
    main->NewWindow();  // at its limit it says so and makes none: the newest frame takes the window
    // Our frame may have gone while the limit was shown; it has handed its windows back then.
    if (!Exists()) return;
    const unsigned count = main->HostFrameCount();
    if (count == 0 || !::IsWindow(window)) return;
    if (HostFrame* newest = main->HostFrameAt(count - 1)) HandOver(window, newest->HostCtrl());
}

}  // namespace hosting

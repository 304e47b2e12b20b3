// The taskbar without the mouse: the keyboard on its buttons, and what screen
// readers are told of them.

#include "hosting/WindowCtrl.h"

#include <windowsx.h>

#include <algorithm>

#include "hosting/Activator.h"

namespace hosting {

std::vector<ui::ImageButton*> CWindowCtrl::ButtonsInOrder() const {
    std::vector<ui::ImageButton*> order;
    order.reserve(m_engine.Windows().size());
    for (const vantrel::HostedWindowRecord& record : m_engine.Windows()) {
        if (record.pButton != vantrel::kNoButton) order.push_back(AsButton(record.pButton));
    }
    return order;
}

long CWindowCtrl::ChildIdOf(const ui::ImageButton* button) const {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    const auto it = std::find(order.begin(), order.end(), button);
    return it != order.end() ? static_cast<long>(it - order.begin()) + 1 : 0;
}

// Costs next to nothing while no reader listens.
void CWindowCtrl::Announce(DWORD event, const ui::ImageButton* button) {
    if (Hwnd() == nullptr) return;
    const long child = button != nullptr ? ChildIdOf(button) : CHILDID_SELF;
    if (button != nullptr && child == 0) return;
    ::NotifyWinEvent(event, Hwnd(), OBJID_CLIENT, child);
}

LRESULT CWindowCtrl::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (!ui::AsksForClient(lParam)) return DefaultProc(WM_GETOBJECT, wParam, lParam);
    if (m_accessible.Get() == nullptr) m_accessible.Keep(TaskbarAccessible::Make(Hwnd(), *this));
    return m_accessible.Get()->Answer(wParam);
}

// Keyboard ----------------------------------------------------------------------

void CWindowCtrl::FocusTaskbar() {
    if (Hwnd() == nullptr) return;
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    ui::ImageButton* start = order.empty() ? nullptr : order.front();
    for (ui::ImageButton* button : order) {
        if (button->IsChecked()) start = button;
    }
    SetFocusButton(start);
    TakeFocus();
}

void CWindowCtrl::TakeFocus() {
    // The focus may be in a hosted window, and taking it from there waits on its
    // program: the worker that activates windows moves it.
    if (!Activator::Instance().Request(Hwnd(), Activator::Kind::Focus)) {
        HWND focus = ::GetFocus();
        DWORD process = 0;
        if (focus != nullptr) ::GetWindowThreadProcessId(focus, &process);
        if (focus == nullptr || process == ::GetCurrentProcessId()) ::SetFocus(Hwnd());
    }
}

void CWindowCtrl::SetFocusButton(ui::ImageButton* button) {
    if (m_focusButton != nullptr && m_focusButton != button) m_focusButton->SetFocused(false);
    const bool moved = m_focusButton != button;
    m_focusButton = button;
    const bool focused = ::GetFocus() == Hwnd();
    if (m_focusButton != nullptr) m_focusButton->SetFocused(focused);
    if (moved && focused && m_focusButton != nullptr) Announce(EVENT_OBJECT_FOCUS, m_focusButton);
}

void CWindowCtrl::OnFocusChanged(bool focused) {
    if (m_focusButton == nullptr) {
        const std::vector<ui::ImageButton*> order = ButtonsInOrder();
        if (!order.empty()) m_focusButton = order.front();
    }
    if (m_focusButton != nullptr) m_focusButton->SetFocused(focused);
    if (focused) Announce(EVENT_OBJECT_FOCUS, m_focusButton);
}

bool CWindowCtrl::OnKeyDown(UINT key) {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    const auto it = std::find(order.begin(), order.end(), m_focusButton);
    const int at = it != order.end() ? static_cast<int>(it - order.begin()) : -1;
    const int last = static_cast<int>(order.size()) - 1;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT: {
        if (at < 0) return true;
        const int delta = key == VK_LEFT ? -1 : 1;
        if (control) {
            // As a drag moves it; the focus stays on the button it moved.
            const int index = m_engine.IndexOfButton(reinterpret_cast<vantrel::ButtonId>(m_focusButton));
            if (m_engine.MoveButton(index, delta) == index) return true;
            Announce(EVENT_OBJECT_REORDER, nullptr);
            Announce(EVENT_OBJECT_FOCUS, m_focusButton);  // the same button at another place
            return true;
        }
        SetFocusButton(order[static_cast<size_t>(std::clamp(at + delta, 0, last))]);
        return true;
    }
    case VK_HOME:
    case VK_END:
        if (!order.empty()) SetFocusButton(key == VK_HOME ? order.front() : order.back());
        return true;
    case VK_RETURN:
    case VK_SPACE:
        // The same as a click, which brings the document forward and the focus with it.
        if (m_focusButton != nullptr) m_engine.OnButtonClicked(::GetDlgCtrlID(m_focusButton->Hwnd()));
        return true;
    case VK_ESCAPE: {
        // Back to the document in front, the way a click on its button gets there.
        for (ui::ImageButton* button : order) {
            if (button->IsChecked()) {
                m_engine.OnButtonClicked(::GetDlgCtrlID(button->Hwnd()));
                return true;
            }
        }
        const HWND view = reinterpret_cast<HWND>(m_engine.HostView());
        if (view != nullptr) Activator::Instance().Request(view, Activator::Kind::Focus);
        return true;
    }
    default:
        return false;
    }
}

void CWindowCtrl::OnContextMenu(HWND clicked, LPARAM at) {
    // From the keyboard (Shift+F10, the menu key) the message gives no point: the
    // menu opens at the focused button, and its window stays where it is, so that the
    // focus stays on the taskbar. A click beside the buttons opens nothing.
    const POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x != -1 || point.y != -1) {
        ShowWindowMenu(clicked, point, true);
        return;
    }
    // The menu key over a button names it; else the focused button's menu opens.
    HWND button = clicked != Hwnd() && ::IsChild(Hwnd(), clicked) ? clicked : nullptr;
    if (button == nullptr && m_focusButton != nullptr) button = m_focusButton->Hwnd();
    if (button == nullptr) return;
    RECT rc{};
    ::GetWindowRect(button, &rc);
    ShowWindowMenu(button, POINT{rc.left, rc.bottom}, false);
}

// What readers ask ------------------------------------------------------------

int CWindowCtrl::TabCount() { return static_cast<int>(ButtonsInOrder().size()); }

std::wstring CWindowCtrl::TabName(int index) {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    return index >= 0 && index < static_cast<int>(order.size()) ? order[static_cast<size_t>(index)]->Caption()
                                                                  : std::wstring();
}

RECT CWindowCtrl::TabRect(int index) {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    return index >= 0 && index < static_cast<int>(order.size()) ? order[static_cast<size_t>(index)]->WindowRectOnScreen()
                                                                  : RECT{};
}

// The checked button, as the cycle keeps it: it is what the taskbar shows.
int CWindowCtrl::SelectedTab() {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i]->IsChecked()) return static_cast<int>(i);
    }
    return -1;
}

int CWindowCtrl::FocusedTab() {
    if (::GetFocus() != Hwnd()) return -1;
    return static_cast<int>(ChildIdOf(m_focusButton)) - 1;
}

// Posted: the reader's call returns at once, and the switch comes from the message
// loop as a click's does. The button is named, not its place, which may change meanwhile.
void CWindowCtrl::ActivateTab(int index) {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    if (index < 0 || index >= static_cast<int>(order.size())) return;
    ::PostMessageW(Hwnd(), kClickButton, reinterpret_cast<WPARAM>(order[static_cast<size_t>(index)]->Hwnd()), 0);
}

void CWindowCtrl::OnClickButton(HWND button) {
    for (const auto& b : m_buttons) {
        if (b->Hwnd() == button) m_engine.OnButtonClicked(::GetDlgCtrlID(button));
    }
}

void CWindowCtrl::FocusTab(int index) {
    const std::vector<ui::ImageButton*> order = ButtonsInOrder();
    if (index < 0 || index >= static_cast<int>(order.size())) return;
    SetFocusButton(order[static_cast<size_t>(index)]);
    if (::GetFocus() != Hwnd()) TakeFocus();
}

}  // namespace hosting

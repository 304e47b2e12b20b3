// The window buttons on the strip: made (one ahead of time), captioned, with their
// tips, placed in rows, and the strip drawn behind them and dragged on.

#include "hosting/WindowCtrl.h"

#include <algorithm>

#include "ui/Dpi.h"
#include "resource.h"

namespace hosting {

std::unique_ptr<ui::ImageButton> CWindowCtrl::MakeButton(int controlId, DWORD visible) {
    auto button = std::make_unique<ui::ImageButton>();
    if (!button->Create(Hwnd(), static_cast<UINT>(controlId), WS_CHILD | visible | BS_CHECKBOX | BS_NOTIFY))
        return nullptr;
    const bool manyColors = ui::ImageButton::ScreenColorDepth() >= 16;
    button->SetImage(manyColors ? IDB_WINDOW_BUTTON : IDB_WINDOW_BUTTON_16COLOR);
    button->SetCheckedImage(manyColors ? IDB_WINDOW_CHECKED : IDB_WINDOW_CHECKED_16COLOR);
    button->SizeToContent();
    return button;
}

// Making a button is most of what a capture costs us after the re-parenting: the
// capturing frame keeps one made ahead, hidden, and makes the next one after a cycle.
void CWindowCtrl::PrepareSpareButton() {
    if (m_spare == nullptr && Hwnd() != nullptr) m_spare = MakeButton(kSpareButtonId, 0);
}

vantrel::ButtonId CWindowCtrl::Create(int controlId) {
    std::unique_ptr<ui::ImageButton> button = std::move(m_spare);
    if (button != nullptr) {
        ::SetWindowLongPtrW(button->Hwnd(), GWLP_ID, controlId);
        ::ShowWindow(button->Hwnd(), SW_SHOWNA);
    } else {
        button = MakeButton(controlId, WS_VISIBLE);
        if (button == nullptr) return vantrel::kNoButton;
    }
    const auto id = reinterpret_cast<vantrel::ButtonId>(button.get());
    m_buttons.push_back(std::move(button));
    // The engine records it at the end of the row right after.
    if (Hwnd() != nullptr) ::NotifyWinEvent(EVENT_OBJECT_CREATE, Hwnd(), OBJID_CLIENT, TabCount() + 1);
    return id;
}

void CWindowCtrl::Destroy(vantrel::ButtonId button) {
    auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                           [button](const auto& b) { return reinterpret_cast<vantrel::ButtonId>(b.get()) == button; });
    if (it == m_buttons.end()) return;
    ui::ImageButton* going = it->get();
    // Still recorded: readers hear of the place it leaves. The keyboard moves on to
    // the button after it, or before it at the end of the row.
    Announce(EVENT_OBJECT_DESTROY, going);
    if (m_focusButton == going) {
        const std::vector<ui::ImageButton*> order = ButtonsInOrder();
        const auto at = std::find(order.begin(), order.end(), going);
        ui::ImageButton* next = nullptr;
        if (at != order.end() && at + 1 != order.end()) next = *(at + 1);
        else if (at != order.end() && at != order.begin()) next = *(at - 1);
        m_focusButton = nullptr;
        if (next != nullptr) SetFocusButton(next);
    }
    m_buttons.erase(it);  // the object destroys its window
}

const vantrel::HostedWindowRecord* CWindowCtrl::RecordOfButton(HWND button) const {
    for (const vantrel::HostedWindowRecord& record : m_engine.Windows()) {
        if (record.pButton != vantrel::kNoButton && AsButton(record.pButton)->Hwnd() == button) return &record;
    }
    return nullptr;
}

std::wstring CWindowCtrl::Caption(vantrel::ButtonId button) { return AsButton(button)->Caption(); }

std::wstring CWindowCtrl::ButtonCaption(const vantrel::HostedWindowRecord& record) const {
    return record.pButton != vantrel::kNoButton ? AsButton(record.pButton)->Caption() : std::wstring();
}

bool CWindowCtrl::BringForward(HWND window) {
    const int index = m_engine.IndexOfWindow(reinterpret_cast<vantrel::WindowId>(window));
    if (index < 0) return false;
    const vantrel::HostedWindowRecord& record = m_engine.Windows()[static_cast<std::size_t>(index)];
    if (record.bMoved || record.bHanding) return false;
    m_engine.OnButtonClicked(vantrel::ControlIdOf(static_cast<std::size_t>(index)));
    return true;
}

void CWindowCtrl::SetCaption(vantrel::ButtonId button, const std::wstring& text) {
    ui::ImageButton* b = AsButton(button);
    b->SetText(text);
    b->SizeToContent();
    Announce(EVENT_OBJECT_NAMECHANGE, b);  // nothing for a new button, announced once recorded
    // The tip follows once the caption shows: nobody hovers over a button that new,
    // and a tip's first text costs more than the caption itself.
    ::PostMessageW(Hwnd(), kUpdateTip, reinterpret_cast<WPARAM>(b), 0);
}

void CWindowCtrl::OnUpdateTip(const ui::ImageButton* button) {
    for (const auto& b : m_buttons) {
        if (b.get() == button) b->SetTooltip(m_tips, b->Caption());
    }
}

// Read from the object: the cycle asks for every button on every tick.
bool CWindowCtrl::IsChecked(vantrel::ButtonId button) { return AsButton(button)->IsChecked(); }

// Checked is how every change of the active document shows, whoever made it: a
// click, a shortcut, a capture, a close. Readers hear of it here.
void CWindowCtrl::SetChecked(vantrel::ButtonId button, bool checked) {
    ui::ImageButton* b = AsButton(button);
    const bool changed = b->IsChecked() != checked;
    ::SendMessageW(b->Hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (changed && checked) Announce(EVENT_OBJECT_SELECTION, b);
}

void CWindowCtrl::SetControlId(vantrel::ButtonId button, int controlId) {
    ::SetWindowLongPtrW(AsButton(button)->Hwnd(), GWLP_ID, controlId);
}

vantrel::Size CWindowCtrl::OuterSize(vantrel::ButtonId button) {
    const RECT rc = AsButton(button)->WindowRectOnScreen();
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void CWindowCtrl::Place(vantrel::ButtonId button, vantrel::Point topLeft) {
    HWND hwnd = AsButton(button)->Hwnd();
    // A button that stays where it is needs neither a move nor a repaint: a new one
    // at the end of the row leaves the others alone.
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    if (rc.left == topLeft.x && rc.top == topLeft.y) return;
    ::SetWindowPos(hwnd, nullptr, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

int CWindowCtrl::RowWidth() { return ClientRect().right; }

void CWindowCtrl::SetFaceColor(vantrel::ButtonId button, std::uint32_t rgb) {
    AsButton(button)->SetFaceColor(static_cast<COLORREF>(rgb), true);
}

int CWindowCtrl::Dpi() { return static_cast<int>(ui::DpiOf(Hwnd())); }

void CWindowCtrl::CaptureMouse(vantrel::ButtonId button) { ::SetCapture(AsButton(button)->Hwnd()); }

void CWindowCtrl::ReleaseMouse() { ::ReleaseCapture(); }

void CWindowCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const RECT rc = ClientRect();
    ::FillRect(dc, &rc, m_background);
    ::EndPaint(Hwnd(), &ps);
}

bool CWindowCtrl::PreTranslateMessage(MSG& msg) {
    // Only the window buttons' own mouse messages make a drag. The cursor is taken
    // where the message says it was, not where it is now: a busy moment between the
    // two must not shift the drag's reference point.
    if (msg.hwnd == Hwnd() || ::GetParent(msg.hwnd) != Hwnd()) return false;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
        m_engine.OnLeftButtonDown({msg.pt.x, msg.pt.y});
        break;
    case WM_LBUTTONUP:
        m_engine.OnLeftButtonUp();
        break;
    case WM_MOUSEMOVE:
        m_engine.OnMouseMove({msg.pt.x, msg.pt.y}, msg.wParam == MK_LBUTTON, ::GetDlgCtrlID(msg.hwnd));
        break;
    default:
        break;
    }
    return false;  // the message is dispatched as usual
}

}  // namespace hosting

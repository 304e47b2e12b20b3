#include "ui/DockablePane.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/Dpi.h"
#include "ui/Look.h"

namespace ui {
namespace {
const wchar_t kPaneClass[] = L"VantrelDockablePane";
const wchar_t kFloatingClass[] = L"VantrelFloatingPane";
const int kCaptionHeight = 18;
const int kSizingBand = 4;
const int kDockDistance = 32;  // a floating pane dropped this close to an edge docks there
const int kDragThreshold = 4;

// Where the cursor was when the message being handled was posted: the pane moves
// while it is sized, so its client coordinates are no steady reference.
POINT MessageCursor() {
    const DWORD pos = ::GetMessagePos();
    return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}
}  // namespace

// The small tool window that holds a floating pane. It has no system menu, so no
// close button: the pane can only go back to a frame edge.
class FloatingPaneFrame : public Window {
public:
    explicit FloatingPaneFrame(DockablePane& pane) : m_pane(pane) {}

    bool Create(HWND owner, const std::wstring& caption, const RECT& rc) {
        RegisterClassOnce(kFloatingClass, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                          nullptr, nullptr);
        return CreateWnd(WS_EX_TOOLWINDOW, kFloatingClass, caption.c_str(),
                         WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, rc.left, rc.top,
                         rc.right - rc.left, rc.bottom - rc.top, owner, nullptr) != nullptr;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND: {
            RECT rc{};
            ::GetClientRect(Hwnd(), &rc);
            Look::Current().DrawBar(reinterpret_cast<HDC>(wParam), rc);
            return 1;
        }
        case WM_SIZE: {
            RECT rc{};
            ::GetClientRect(Hwnd(), &rc);
            ::MoveWindow(m_pane.Hwnd(), 0, 0, rc.right, rc.bottom, TRUE);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            RECT rc{0, 0, m_pane.MinSize().cx, m_pane.MinSize().cy};
            ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongW(Hwnd(), GWL_STYLE)),
                                 FALSE, static_cast<DWORD>(::GetWindowLongW(Hwnd(), GWL_EXSTYLE)));
            info->ptMinTrackSize = {rc.right - rc.left, rc.bottom - rc.top};
            return 0;
        }
        case WM_MOVING:
            m_pane.OnFloatingMoving();
            break;
        case WM_WINDOWPOSCHANGED:
            if (!::IsIconic(Hwnd())) m_pane.OnFloatingPlaced(WindowRectOnScreen());
            break;  // the default handling sends WM_SIZE
        case WM_EXITSIZEMOVE:
            m_pane.OnFloatingMoved();
            return 0;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION) {
                m_pane.OnFloatingDoubleClick();
                return 0;
            }
            break;
        case WM_CLOSE:
            return 0;  // the pane cannot be closed
        default:
            break;
        }
        return DefaultProc(message, wParam, lParam);
    }

private:
    DockablePane& m_pane;
};

DockablePane::DockablePane() = default;
DockablePane::~DockablePane() = default;

bool DockablePane::Create(const std::wstring& caption, HWND frame, const RECT& initial, UINT id) {
    m_frame = frame;
    m_caption = caption;
    m_thickness = std::max<int>(initial.bottom - initial.top, m_minSize.cy);
    RegisterClassOnce(kPaneClass, CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                      nullptr, nullptr);
    return CreateWnd(0, kPaneClass, caption.c_str(),
                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, initial.left,
                     initial.top, initial.right - initial.left, initial.bottom - initial.top,
                     frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void DockablePane::SetThickness(int thickness) {
    const int minimum = (m_side == DockSide::Left || m_side == DockSide::Right) ? m_minSize.cx
                                                                               : m_minSize.cy;
    m_thickness = std::max(thickness, minimum);
    NotifyLayout();
}

// By the window's own style: a pane of a frame that is still hidden counts as shown.
bool DockablePane::IsVisible() const {
    if (!IsDocked()) return m_floating && (::GetWindowLongW(m_floating->Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    return (::GetWindowLongW(Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void DockablePane::Show(bool show) {
    if (!IsDocked() && m_floating) ::ShowWindow(m_floating->Hwnd(), show ? SW_SHOWNA : SW_HIDE);
    ::ShowWindow(Hwnd(), show ? SW_SHOWNA : SW_HIDE);
    NotifyLayout();
}

HWND DockablePane::FloatingFrame() const { return m_floating ? m_floating->Hwnd() : nullptr; }

void DockablePane::DockTo(DockSide side) {
    if (side == DockSide::Floating) return;
    const bool wasFloating = !IsDocked();
    m_side = side;
    m_lastDockedSide = side;
    if (wasFloating) {
        ::SetParent(Hwnd(), m_frame);
        m_floating.reset();  // destroys the tool window, which no longer holds the pane
    }
    SetThickness(m_thickness);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void DockablePane::Float(const RECT& screenRect) {
    if (!IsDocked()) {
        ::MoveWindow(m_floating->Hwnd(), screenRect.left, screenRect.top,
                     screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, TRUE);
        return;
    }
    auto floating = std::make_unique<FloatingPaneFrame>(*this);
    if (!floating->Create(m_frame, m_caption, screenRect)) return;  // stays docked
    m_side = DockSide::Floating;
    m_floating = std::move(floating);
    m_floatingRect = m_floating->WindowRectOnScreen();
    ::SetParent(Hwnd(), m_floating->Hwnd());
    RECT rc{};
    ::GetClientRect(m_floating->Hwnd(), &rc);
    ::MoveWindow(Hwnd(), 0, 0, rc.right, rc.bottom, TRUE);
    ::ShowWindow(m_floating->Hwnd(), SW_SHOWNA);
    NotifyLayout();
}

void DockablePane::OnFloatingMoving() {
    if (IsDocked() || !Look::Current().SmartDocking()) return;
    if (!m_markers.IsShown()) m_markers.Show(m_frame);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    m_markers.Track(cursor);
}

void DockablePane::OnFloatingMoved() {
    if (IsDocked()) return;
    const POINT cursor = MessageCursor();  // where the button went up, ending the move
    if (m_markers.IsShown()) {
        const std::optional<DockSide> side = m_markers.SideAt(cursor);
        m_markers.Hide();
        if (side) DockTo(*side);
        return;
    }
    if (Look::Current().SmartDocking()) return;  // a move too short to show the markers
    RECT client{};
    ::GetClientRect(m_frame, &client);
    ::MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!::PtInRect(&client, cursor)) return;
    const int distances[] = {client.bottom - cursor.y, cursor.y - client.top,
                             cursor.x - client.left, client.right - cursor.x};
    const DockSide sides[] = {DockSide::Bottom, DockSide::Top, DockSide::Left, DockSide::Right};
    const auto nearest = std::min_element(std::begin(distances), std::end(distances));
    if (*nearest <= Scale(m_frame, kDockDistance)) DockTo(sides[nearest - std::begin(distances)]);
}

RECT DockablePane::CaptionRect() const {
    if (!IsDocked()) return RECT{};
    RECT rc = ClientRect();
    if (m_side == DockSide::Bottom) rc.top += Scale(Hwnd(), kSizingBand);
    if (m_side == DockSide::Left) rc.right -= Scale(Hwnd(), kSizingBand);
    if (m_side == DockSide::Right) rc.left += Scale(Hwnd(), kSizingBand);
    rc.bottom = rc.top + Scale(Hwnd(), kCaptionHeight);
    return rc;
}

RECT DockablePane::SizingBand() const {
    RECT rc = ClientRect();
    switch (m_side) {
    case DockSide::Bottom: rc.bottom = rc.top + Scale(Hwnd(), kSizingBand); break;
    case DockSide::Top: rc.top = rc.bottom - Scale(Hwnd(), kSizingBand); break;
    case DockSide::Left: rc.left = rc.right - Scale(Hwnd(), kSizingBand); break;
    case DockSide::Right: rc.right = rc.left + Scale(Hwnd(), kSizingBand); break;
    case DockSide::Floating: return RECT{};
    }
    return rc;
}

RECT DockablePane::ContentRect() const {
    RECT rc = ClientRect();
    if (!IsDocked()) return rc;
    const RECT caption = CaptionRect();
    rc.top = caption.bottom;
    if (m_side == DockSide::Top) rc.bottom -= Scale(Hwnd(), kSizingBand);
    if (m_side == DockSide::Left) rc.right -= Scale(Hwnd(), kSizingBand);
    if (m_side == DockSide::Right) rc.left += Scale(Hwnd(), kSizingBand);
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void DockablePane::NotifyLayout() {
    if (m_layoutChanged) m_layoutChanged();
}

void DockablePane::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const RECT caption = CaptionRect();
    const Look& look = Look::Current();
    if (caption.bottom > caption.top) look.DrawPaneCaption(dc, caption, m_caption);
    const RECT band = SizingBand();
    if (band.bottom > band.top) look.DrawSizingBand(dc, band);
    ::EndPaint(Hwnd(), &ps);
}

void DockablePane::OnLButtonDown(POINT pt) {
    const RECT band = SizingBand();
    const RECT caption = CaptionRect();
    if (::PtInRect(&band, pt)) {
        m_drag = Drag::Size;
        m_dragStartThickness = m_thickness;
    } else if (::PtInRect(&caption, pt)) {
        m_drag = Drag::Caption;
    } else {
        return;
    }
    m_dragStart = MessageCursor();
    ::SetCapture(Hwnd());
}

void DockablePane::OnMouseMove(POINT) {
    if (m_drag == Drag::None) return;
    const POINT cursor = MessageCursor();
    const int dx = cursor.x - m_dragStart.x;
    const int dy = cursor.y - m_dragStart.y;
    if (m_drag == Drag::Size) {
        switch (m_side) {
        case DockSide::Bottom: SetThickness(m_dragStartThickness - dy); break;
        case DockSide::Top: SetThickness(m_dragStartThickness + dy); break;
        case DockSide::Left: SetThickness(m_dragStartThickness + dx); break;
        case DockSide::Right: SetThickness(m_dragStartThickness - dx); break;
        case DockSide::Floating: break;
        }
        return;
    }
    if (std::abs(dx) <= Scale(Hwnd(), kDragThreshold) && std::abs(dy) <= Scale(Hwnd(), kDragThreshold)) return;
    // Tear the pane off: it floats under the cursor and the system's move loop takes over.
    m_drag = Drag::None;
    ::ReleaseCapture();
    RECT rc = WindowRectOnScreen();
    const int width = rc.right - rc.left, height = std::max<int>(rc.bottom - rc.top, 80);
    Float(RECT{cursor.x - 20, cursor.y - 8, cursor.x - 20 + width, cursor.y - 8 + height});
    if (!IsDocked()) ::PostMessageW(FloatingFrame(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void DockablePane::OnLButtonUp() {
    if (m_drag == Drag::None) return;
    m_drag = Drag::None;
    ::ReleaseCapture();
}

LRESULT DockablePane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND: {
        const RECT rc = ClientRect();
        Look::Current().DrawBar(reinterpret_cast<HDC>(wParam), rc);
        return 1;
    }
    case WM_SIZE:
        OnContentSize(ContentRect());
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_LBUTTONDBLCLK: {
        const RECT caption = CaptionRect();
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (::PtInRect(&caption, pt)) {
            RECT rc = WindowRectOnScreen();
            Float(RECT{rc.left, rc.top - 120, rc.left + std::max<int>(rc.right - rc.left, 200),
                       rc.top - 120 + std::max<int>(rc.bottom - rc.top, 80)});
        } else {
            OnLButtonDown(pt);  // a quick second press on the sizing band sizes again
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_drag = Drag::None;
        return 0;
    case WM_SETCURSOR: {
        POINT pt{};
        ::GetCursorPos(&pt);
        ::ScreenToClient(Hwnd(), &pt);
        const RECT band = SizingBand();
        if (reinterpret_cast<HWND>(wParam) == Hwnd() && ::PtInRect(&band, pt)) {
            const bool vertical = m_side == DockSide::Bottom || m_side == DockSide::Top;
            ::SetCursor(::LoadCursorW(nullptr, vertical ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace ui

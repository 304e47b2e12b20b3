#include "ui/FrameWindow.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/ImageButton.h"
#include "ui/OwnerDrawMenu.h"

namespace ui {

bool FrameWindow::LoadFrame(UINT resourceId, DWORD style, const wchar_t* className,
                            HICON classIcon, const RECT* initial) {
    // A creation that fails after the window existed dooms this object on the way;
    // held, it stays until we return, and we can tell which way it failed.
    const Application::Hold hold;
    const std::wstring title = LoadStringResource(resourceId);
    // Made in its place rather than moved there: on a monitor of another resolution
    // it is then made for that one, and no change of resolution resizes it.
    const RECT rc = initial != nullptr ? *initial : RECT{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    const int width = initial != nullptr ? rc.right - rc.left : CW_USEDEFAULT;
    const int height = initial != nullptr ? rc.bottom - rc.top : CW_USEDEFAULT;
    if (!RegisterClassOnce(className, 0, nullptr, nullptr, classIcon) ||
        CreateWnd(0, className, title.c_str(), style, rc.left, rc.top, width, height, nullptr, nullptr) == nullptr) {
        // Without a window nothing else would ever free us.
        if (!m_bDoomed) Application::DeleteWhenUnwound(this);
        return false;
    }
    if (m_dpi == 0) m_dpi = DpiOf(Hwnd());
    return true;
}

void FrameWindow::OnFinalMessage() {
    m_bDoomed = true;
    Application::DeleteWhenUnwound(this);
}

void FrameWindow::DockPane(DockablePane& pane, DockSide side) {
    if (std::find(m_panes.begin(), m_panes.end(), &pane) == m_panes.end()) {
        m_panes.push_back(&pane);
        pane.SetLayoutChanged([this] { RecalcLayout(); });
    }
    pane.DockTo(side);
}

void FrameWindow::RecalcLayout() {
    if (Hwnd() == nullptr) return;
    RECT area = ClientRect();
    if (m_captionBar != nullptr && m_captionBar->IsVisible()) {
        const int height = m_captionBar->Height();
        ::MoveWindow(m_captionBar->Hwnd(), area.left, area.top, area.right - area.left, height, TRUE);
        area.top += height;
    }
    if (m_statusBar != nullptr && m_statusBar->IsVisible()) {
        m_statusBar->Resize();
        area.bottom -= m_statusBar->Height();
    }
    for (DockablePane* pane : m_panes) {
        if (!pane->IsDocked() || !pane->IsVisible()) continue;
        // A pane never takes all of the view's room: it keeps its minimum, the view the rest.
        const bool horizontal = pane->Side() == DockSide::Bottom || pane->Side() == DockSide::Top;
        const int room = horizontal ? area.bottom - area.top : area.right - area.left;
        const int thickness = std::max(0, std::min(pane->Thickness(), room));
        RECT rc = area;
        switch (pane->Side()) {
        case DockSide::Bottom: rc.top = area.bottom - thickness; area.bottom = rc.top; break;
        case DockSide::Top: rc.bottom = area.top + thickness; area.top = rc.bottom; break;
        case DockSide::Left: rc.right = area.left + thickness; area.left = rc.right; break;
        case DockSide::Right: rc.left = area.right - thickness; area.right = rc.left; break;
        case DockSide::Floating: break;
        }
        ::MoveWindow(pane->Hwnd(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
    if (m_view != nullptr) {
        ::MoveWindow(m_view, area.left, area.top, std::max<int>(0, area.right - area.left),
                     std::max<int>(0, area.bottom - area.top), TRUE);
    }
}

bool FrameWindow::OnCommand(UINT, UINT, HWND) { return false; }

void FrameWindow::UpdateCommandUI(CommandUI&) {}

bool FrameWindow::IsCommandEnabled(UINT id) {
    CommandUI ui;
    ui.id = id;
    UpdateCommandUI(ui);
    return ui.enabled;
}

void FrameWindow::UpdatePopup(HMENU popup) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        CommandUI ui;
        ui.id = id;
        UpdateCommandUI(ui);
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
        if (ui.radio) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            if (::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info)) {
                info.fType |= MFT_RADIOCHECK;  // keeps the item owner-drawn
                ::SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info);
            }
        }
        ::CheckMenuItem(popup, static_cast<UINT>(i),
                        MF_BYPOSITION | (ui.check != 0 || ui.radio ? MF_CHECKED : MF_UNCHECKED));
    }
}

namespace {
BOOL CALLBACK FollowDpi(HWND child, LPARAM) {
    if (auto* button = dynamic_cast<ImageButton*>(Window::FromHandle(child))) button->OnDpiChanged();
    ::InvalidateRect(child, nullptr, TRUE);
    return TRUE;
}
}  // namespace

void FrameWindow::OnDpiChanged(UINT newDpi, const RECT& suggested) {
    const UINT oldDpi = m_dpi != 0 ? m_dpi : 96;
    m_dpi = newDpi;
    for (DockablePane* pane : m_panes) {
        const SIZE min = pane->MinSize();
        pane->SetMinSize(SIZE{::MulDiv(min.cx, static_cast<int>(newDpi), static_cast<int>(oldDpi)),
                              ::MulDiv(min.cy, static_cast<int>(newDpi), static_cast<int>(oldDpi))});
        pane->SetThickness(::MulDiv(pane->Thickness(), static_cast<int>(newDpi), static_cast<int>(oldDpi)));
    }
    ::EnumChildWindows(Hwnd(), FollowDpi, 0);
    if (m_menuBar != nullptr) m_menuBar->FollowDpi();
    // The system's suggestion keeps the frame under the cursor at its new size.
    ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        // A command that has become disabled is not carried out, whether it comes from
        // a menu or from an accelerator that stands for a menu item.
        if ((code == 0 || code == 1) && lParam == 0 && !IsCommandEnabled(id)) return 0;
        if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return 0;
        break;
    }
    case WM_MENUSELECT:
        if (m_statusBar != nullptr && m_statusBar->IsVisible()) {
            const UINT flags = HIWORD(wParam);
            const bool closed = flags == 0xFFFF && lParam == 0;
            m_statusBar->ShowPrompt(closed || (flags & MF_POPUP) ? 0 : LOWORD(wParam));
        }
        return 0;
    case WM_MEASUREITEM:
        if (ownerdraw::OnMeasureItem(Hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (ownerdraw::OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR: {
        LRESULT result = 0;
        if (ownerdraw::OnMenuChar(wParam, lParam, result)) return result;
        break;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
        if (m_menuBar != nullptr) m_menuBar->FollowLook();
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (m_menuBar != nullptr) m_menuBar->PaintFreeSpace();
        return result;
    }
    case WM_EXITMENULOOP:
        if (m_statusBar != nullptr && m_statusBar->IsVisible()) {
            m_statusBar->ShowIdleText();
            m_statusBar->UpdateIndicators();
        }
        return 0;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace ui

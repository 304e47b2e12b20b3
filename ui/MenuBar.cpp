#include "ui/MenuBar.h"

#include "ui/Look.h"
#include "ui/OwnerDrawMenu.h"

namespace ui {

MenuBar::~MenuBar() {
    // A menu on a window goes with the window; one taken off it is ours to free.
    ownerdraw::Forget(m_menu);
    if (m_menu != nullptr && !(m_frame != nullptr && ::IsWindow(m_frame) && IsVisible()))
        ::DestroyMenu(m_menu);
}

bool MenuBar::Create(HWND frame, UINT menuId) {
    m_frame = frame;
    m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (m_menu == nullptr) return false;
    ownerdraw::Adopt(m_menu, true);
    m_lookGeneration = Look::Current().Generation();
    return ::SetMenu(frame, m_menu) != FALSE;
}

void MenuBar::PaintFreeSpace() {
    if (!IsVisible()) return;
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    const int count = ::GetMenuItemCount(m_menu);
    RECT last{};
    if (count <= 0 || !::GetMenuBarInfo(m_frame, OBJID_MENU, 0, &bar) ||
        !::GetMenuItemRect(m_frame, m_menu, static_cast<UINT>(count - 1), &last))
        return;
    RECT window{};
    ::GetWindowRect(m_frame, &window);
    RECT free{last.right, bar.rcBar.top, bar.rcBar.right, bar.rcBar.bottom};
    if (free.right <= free.left) return;
    ::OffsetRect(&free, -window.left, -window.top);
    HDC dc = ::GetWindowDC(m_frame);
    ::FillRect(dc, &free, Look::Current().Brush(Look::Current().MenuBarColour()));
    ::ReleaseDC(m_frame, dc);
}

void MenuBar::FollowDpi() {
    if (m_menu == nullptr) return;
    // Items set anew are measured anew: the system keeps their old size otherwise.
    ownerdraw::Adopt(m_menu, true);
    if (IsVisible()) ::DrawMenuBar(m_frame);
}

void MenuBar::FollowLook() {
    if (m_menu == nullptr || m_lookGeneration == Look::Current().Generation()) return;
    m_lookGeneration = Look::Current().Generation();
    ownerdraw::Adopt(m_menu, true);  // takes the new look's background
    if (IsVisible()) ::DrawMenuBar(m_frame);
}

void MenuBar::Show(bool show) {
    if (show == IsVisible()) return;
    ::SetMenu(m_frame, show ? m_menu : nullptr);
    ::DrawMenuBar(m_frame);
}

}  // namespace ui

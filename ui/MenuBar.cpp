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

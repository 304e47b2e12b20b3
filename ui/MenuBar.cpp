#include "ui/MenuBar.h"

namespace ui {

MenuBar::~MenuBar() {
    // A menu on a window goes with the window; one taken off it is ours to free.
    if (m_menu != nullptr && !(m_frame != nullptr && ::IsWindow(m_frame) && IsVisible()))
        ::DestroyMenu(m_menu);
}

bool MenuBar::Create(HWND frame, UINT menuId) {
    m_frame = frame;
    m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (m_menu == nullptr) return false;
    return ::SetMenu(frame, m_menu) != FALSE;
}

void MenuBar::Show(bool show) {
    if (show == IsVisible()) return;
    ::SetMenu(m_frame, show ? m_menu : nullptr);
    ::DrawMenuBar(m_frame);
}

}  // namespace ui

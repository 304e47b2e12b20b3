#pragma once
// The frame's menu bar: the menu resource shown in the frame's non-client area.
// Hiding it takes the menu off the window but keeps it for showing again.

#include <windows.h>

namespace ui {

class MenuBar {
public:
    MenuBar() = default;
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    bool Create(HWND frame, UINT menuId);
    HMENU Handle() const { return m_menu; }
    bool IsVisible() const { return m_frame != nullptr && ::GetMenu(m_frame) == m_menu; }
    void Show(bool show);

private:
    HWND m_frame = nullptr;
    HMENU m_menu = nullptr;
};

}  // namespace ui

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
    // Draws itself anew in the current look if the look changed since it last did.
    void FollowLook();
    // Paints what the items leave free of the bar, which not every system paints
    // in the menu's background colour; after the frame's non-client area is drawn.
    void PaintFreeSpace();
    // Measures its items anew, at the resolution of the monitor the frame is now on.
    void FollowDpi();

private:
    HWND m_frame = nullptr;
    HMENU m_menu = nullptr;
    unsigned m_lookGeneration = 0;
};

}  // namespace ui

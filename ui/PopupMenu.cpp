#include "ui/PopupMenu.h"

#include <utility>

#include "ui/OwnerDrawMenu.h"

namespace ui {

PopupMenu& PopupMenu::operator=(PopupMenu&& other) noexcept {
    if (this != &other) {
        Reset();
        m_menu = other.Release();
    }
    return *this;
}

PopupMenu PopupMenu::FromResource(UINT menuId) {
    HMENU loaded = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (loaded == nullptr) return PopupMenu();
    HMENU popup = ::GetSubMenu(loaded, 0);
    // Keep the popup and let the resource's outer menu go.
    if (popup != nullptr) ::RemoveMenu(loaded, 0, MF_BYPOSITION);
    ::DestroyMenu(loaded);
    return PopupMenu(popup);
}

HMENU PopupMenu::Release() { return std::exchange(m_menu, nullptr); }

void PopupMenu::Reset() {
    ownerdraw::Forget(m_menu);
    if (m_menu != nullptr) ::DestroyMenu(m_menu);
    m_menu = nullptr;
}

void PopupMenu::InsertItem(UINT position, UINT id, const std::wstring& text, bool checked) {
    if (m_menu == nullptr) return;
    ::InsertMenuW(m_menu, position, MF_BYPOSITION | MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id,
                  text.c_str());
}

void PopupMenu::Track(HWND owner, POINT screenPoint) const {
    if (m_menu == nullptr || owner == nullptr) return;
    ownerdraw::Adopt(m_menu, false);  // drawn by the look; the owner passes the drawing on
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(m_menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner, nullptr);
    // Lets the owner's thread notice the menu is gone before the next click.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace ui

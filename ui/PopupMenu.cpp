#include "ui/PopupMenu.h"

#include "ui/Activation.h"

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

void PopupMenu::Track(HWND owner, POINT screenPoint) const { TrackWith(owner, screenPoint, 0); }

UINT PopupMenu::TrackForCommand(HWND owner, POINT screenPoint) const {
    return TrackWith(owner, screenPoint, TPM_RETURNCMD);
}

UINT PopupMenu::TrackWith(HWND owner, POINT screenPoint, UINT flags) const {
    if (m_menu == nullptr || owner == nullptr) return 0;
    ownerdraw::Adopt(m_menu, false);  // drawn by the look; the owner passes the drawing on
    GuardedSetForegroundWindow(owner);
    const BOOL chosen = ::TrackPopupMenu(m_menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | flags, screenPoint.x,
                                         screenPoint.y, 0, owner, nullptr);
    // Lets the owner's thread notice the menu is gone before the next click.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return (flags & TPM_RETURNCMD) != 0 ? static_cast<UINT>(chosen) : 0;
}

}  // namespace ui

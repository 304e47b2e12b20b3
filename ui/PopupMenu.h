#pragma once
// A popup menu we own: loaded from a resource or made empty, filled, shown at a
// point for an owner window, destroyed when the object goes.

#include <windows.h>

#include <string>

namespace ui {

class PopupMenu {
public:
    PopupMenu() = default;
    explicit PopupMenu(HMENU popup) : m_menu(popup) {}
    ~PopupMenu() { Reset(); }
    PopupMenu(PopupMenu&& other) noexcept : m_menu(other.Release()) {}
    PopupMenu& operator=(PopupMenu&& other) noexcept;
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // The first popup of menu resource `menuId`, taken out of it; empty when the
    // resource or its popup is missing.
    static PopupMenu FromResource(UINT menuId);

    HMENU Handle() const { return m_menu; }
    explicit operator bool() const { return m_menu != nullptr; }
    // Hands the menu over; the caller destroys it.
    HMENU Release();

    // A text item at `position`. The text is menu text: "&" marks a mnemonic, so
    // titles shown literally are escaped first (vantrel::MenuLiteral).
    void InsertItem(UINT position, UINT id, const std::wstring& text, bool checked);

    // Shows the menu at a point on the screen and returns when it closes; its
    // commands reach `owner` as WM_COMMAND, and the owner passes its drawing
    // messages to ui::ownerdraw. The owner comes to the foreground
    // first, which is what lets the menu close when the user clicks elsewhere
    // or presses Escape, as a menu opened from the notification area must.
    void Track(HWND owner, POINT screenPoint) const;
    // The same, but the chosen command comes back (0 for none) instead of reaching
    // `owner`: for a menu whose commands act on what it was opened for.
    UINT TrackForCommand(HWND owner, POINT screenPoint) const;

private:
    UINT TrackWith(HWND owner, POINT screenPoint, UINT flags) const;
    void Reset();

    HMENU m_menu = nullptr;
};

}  // namespace ui

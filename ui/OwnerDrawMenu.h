#pragma once
// Menus drawn by the look. Every item of an adopted menu becomes owner-drawn but
// stays a real menu item, so the system keeps its keyboard handling and the
// readers of menus keep its text; mnemonics, which the system cannot see in an
// owner-drawn item, are answered through WM_MENUCHAR. The windows that own menus
// pass WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR here.

#include <windows.h>

#include <string>

namespace ui::ownerdraw {

// Makes every item of `menu` and of its submenus owner-drawn. `menuBar` marks a
// frame's menu bar, whose top items are drawn as bar items.
void Adopt(HMENU menu, bool menuBar);
// Drops what was kept for `menu` and its submenus; call it before destroying them.
void Forget(HMENU menu);
// The item's text as the menu holds it ("&" mnemonics, "\t" before a shortcut),
// whether or not the menu was adopted.
std::wstring ItemText(HMENU menu, UINT position);

// Each returns true when the message was about an adopted menu item; `result`
// is then what the window procedure returns.
bool OnMeasureItem(HWND owner, MEASUREITEMSTRUCT& measure);
bool OnDrawItem(const DRAWITEMSTRUCT& draw);
bool OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace ui::ownerdraw

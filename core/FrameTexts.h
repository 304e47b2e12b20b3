#pragma once
// Frame titles, and the texts of the menu entries that name frames by their
// titles. A title is shown as it is: an "&" in it must not turn the next letter
// into a mnemonic.

#include <cstddef>
#include <string>

namespace vantrel {

// The text with every "&" doubled, which a menu shows as one "&".
std::wstring MenuLiteral(const std::wstring& text);

// The most of a title a menu entry shows, as much as a window button shows; a
// longer one ends in an ellipsis, so that a frame with a huge title cannot make
// a menu that takes ages to measure and reaches far beyond any screen.
inline constexpr std::size_t kMenuTitleLength = 259;

// A title as the menu entries below show it: as ShownTitle makes it (no control
// character, which would also split the entry at a tab into label and shortcut),
// cut to kMenuTitleLength, and literal (MenuLiteral).
std::wstring MenuTitle(const std::wstring& title);

// "Window #%i: \"%s\"" of the per-window menu's "Move to" submenu.
std::wstring MoveToEntryText(int number, const std::wstring& title);

// The tray menu's entry for the main frame: "Hide main \"%s\"" while it is
// visible, "Show main \"%s\"" while it is hidden.
std::wstring TrayMainEntryText(bool visible, const std::wstring& title);
// The entry for additional frame `number` (1 for the first registry position):
// "Hide Window #%i: \"%s\"" or "Show Window #%i: \"%s\"".
std::wstring TrayFrameEntryText(int number, bool visible, const std::wstring& title);

// What marks the main frame's title.
inline constexpr const wchar_t* kMainFrameTitleSuffix = L" - [Main window]";

// The title a frame gets from a name the user entered: "NAME - Vantrel", and
// " - [Main window]" after it in the main frame. Built anew from the name each
// time, so renaming twice never piles names up.
std::wstring RenamedFrameTitle(const std::wstring& name, const std::wstring& appTitle, bool mainFrame);

}  // namespace vantrel

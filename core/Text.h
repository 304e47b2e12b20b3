#pragma once
// Text helpers that behave the same on every platform the core is built for.

#include <string>
#include <string_view>

namespace vantrel {

// Letter-case folding for comparisons of window titles and class names: ASCII,
// Latin-1, Greek and Cyrillic capitals, which covers what document titles carry.
wchar_t FoldCase(wchar_t c);
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// True when the whole argument text is "/MINIMIZE" in any letter case, ignoring
// blanks around it; anything else after it makes it an ordinary, ignored argument.
bool IsMinimizeSwitch(std::wstring_view arguments);

// A window title as it may be shown on a button, in a tooltip or in a menu. Any
// window can carry any title, so: at most `maxLength` UTF-16 units, never
// ending in the first half of a character (a cut, here or by a reader with a
// fixed buffer, leaves it alone there); control characters (line ends, tabs,
// C1 codes), which would break a line, split a menu item's label or draw as
// boxes, become blanks; a lone surrogate half becomes U+FFFD. Everything else is
// kept, "&" and "%" included: it is never interpreted here.
std::wstring ShownTitle(std::wstring_view title, std::size_t maxLength);

}  // namespace vantrel

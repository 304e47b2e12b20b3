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

}  // namespace vantrel

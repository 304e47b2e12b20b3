#include "core/Text.h"

namespace vantrel {

wchar_t FoldCase(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<wchar_t>(u + 32);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<wchar_t>(u + 32);  // Latin-1
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) return static_cast<wchar_t>(u + 32);  // Greek
    if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 32);  // Cyrillic
    if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 80);  // Cyrillic extensions
    return c;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

bool IsMinimizeSwitch(std::wstring_view arguments) {
    const std::wstring_view blanks = L" \t\r\n";
    const auto first = arguments.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) return false;
    const auto last = arguments.find_last_not_of(blanks);
    return EqualNoCase(arguments.substr(first, last - first + 1), L"/MINIMIZE");
}

}  // namespace vantrel

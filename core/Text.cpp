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

namespace {
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
}  // namespace

std::wstring ShownTitle(std::wstring_view title, std::size_t maxLength) {
    std::size_t length = title.size() < maxLength ? title.size() : maxLength;
    // A first half at the end is what is left of a character cut off, here or by
    // whoever read the title into a fixed buffer: it goes.
    if (length > 0 && IsHighSurrogate(title[length - 1])) --length;
    std::wstring shown(title.substr(0, length));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        wchar_t& c = shown[i];
        if (IsControl(c)) {
            c = L' ';
        } else if (IsHighSurrogate(c) && i + 1 < shown.size() && IsLowSurrogate(shown[i + 1])) {
            ++i;  // a whole pair
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = 0xFFFD;
        }
    }
    return shown;
}

}  // namespace vantrel

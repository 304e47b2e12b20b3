#include "core/Version.h"

namespace vantrel {
namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

std::wstring_view PublishedVersionText(std::wstring_view body) {
    const size_t equals = body.rfind(L'=');
    std::wstring_view text = equals == std::wstring_view::npos ? body : body.substr(equals + 1);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<Version> ParseVersion(std::wstring_view text) {
    Version version;
    size_t part = 0;
    size_t position = 0;
    for (;;) {
        if (part == version.parts.size()) return std::nullopt;
        std::uint32_t value = 0;
        size_t digits = 0;
        while (position < text.size() && IsDigit(text[position])) {
            if (++digits > 5) return std::nullopt;
            value = value * 10 + static_cast<std::uint32_t>(text[position] - L'0');
            ++position;
        }
        if (digits == 0 || value > 0xFFFF) return std::nullopt;
        version.parts[part++] = static_cast<std::uint16_t>(value);
        if (position == text.size()) return version;
        if (text[position] != L'.') return std::nullopt;
        ++position;
    }
}

int CompareVersions(const Version& a, const Version& b) {
    for (size_t i = 0; i < a.parts.size(); ++i) {
        if (a.parts[i] != b.parts[i]) return a.parts[i] < b.parts[i] ? -1 : 1;
    }
    return 0;
}

std::wstring FormatFileVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant) {
    const std::uint32_t parts[] = {mostSignificant >> 16, mostSignificant & 0xFFFF, leastSignificant >> 16,
                                   leastSignificant & 0xFFFF};
    std::wstring text;
    for (std::uint32_t part : parts) {
        if (!text.empty()) text += L'.';
        text += std::to_wstring(part);
    }
    return text;
}

}  // namespace vantrel

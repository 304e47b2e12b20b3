// How the fuzzers read their bytes as text: each pair of bytes one UTF-16 unit,
// so that every unit, surrogate halves and control characters included, can
// reach the code; wchar_t is 32 bits natively, but the values stay 16-bit as
// they are on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline std::wstring Units(const std::uint8_t* data, std::size_t size) {
    std::wstring units;
    units.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

// The text split at each U+0001 unit, for targets that take several strings.
inline std::vector<std::wstring> Fields(const std::wstring& text, std::size_t count) {
    std::vector<std::wstring> fields(1);
    for (wchar_t c : text) {
        if (c == 1 && fields.size() < count)
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    fields.resize(count);
    return fields;
}

}  // namespace fuzz

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "core/Settings.h"
#include "core/Text.h"

namespace vantrel {
namespace {

TEST(DecodeStoredInteger, AcceptsOnlyFourByteDwords) {
    const std::uint8_t bytes[8] = {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};
    constexpr std::uint32_t kRegSz = 1, kRegBinary = 3, kRegQword = 11;
    struct DecodeCase {
        const char* name;
        std::uint32_t type;
        const std::uint8_t* data;
        std::size_t size;
        std::optional<std::uint32_t> expected;
    };
    const DecodeCase cases[] = {
        {"dword", kRegDword, bytes, 4, 0x12345678u},
        {"string", kRegSz, bytes, 4, std::nullopt},
        {"binary of four bytes", kRegBinary, bytes, 4, std::nullopt},
        {"qword", kRegQword, bytes, 8, std::nullopt},
        {"dword type, three bytes", kRegDword, bytes, 3, std::nullopt},
        {"dword type, five bytes", kRegDword, bytes, 5, std::nullopt},
        {"dword type, no data", kRegDword, nullptr, 4, std::nullopt},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeStoredInteger(c.type, c.data, c.size), c.expected);
    }
}

class MapStore : public ProfileStore {
public:
    std::optional<std::uint32_t> Read(const wchar_t* section, const wchar_t* entry) override {
        const auto it = values.find({section, entry});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void Write(const wchar_t* section, const wchar_t* entry, std::uint32_t value) override {
        values[{section, entry}] = value;
    }
    std::map<std::pair<std::wstring, std::wstring>, std::uint32_t> values;
};

TEST(Settings, ToggleWritesOneOnlyAfterZeroOrNothing) {
    struct ToggleCase {
        std::optional<std::uint32_t> stored;
        std::uint32_t written;
    };
    const ToggleCase cases[] = {{std::nullopt, 1}, {0, 1}, {1, 0}, {2, 0}, {0xFFFFFFFFu, 0}};
    for (const ToggleCase& c : cases) {
        SCOPED_TRACE(c.stored.value_or(12345));
        MapStore store;
        if (c.stored) store.values[{L"Settings", L"TabMode"}] = *c.stored;
        Settings settings(store);
        EXPECT_EQ(settings.Toggle(profile::kTabMode), c.written);
        EXPECT_EQ((store.values[{L"Settings", L"TabMode"}]), c.written);
    }
}

TEST(Settings, MissingValueReadsAsItsDefault) {
    MapStore store;
    Settings settings(store);
    EXPECT_EQ(settings.Get(profile::kApplicationLook), 210u);
    EXPECT_FALSE(settings.IsOn(profile::kBringToFront));
    store.values[{L"Settings", L"BringToFront"}] = 7;
    EXPECT_TRUE(settings.IsOn(profile::kBringToFront));
}

TEST(Text, EqualNoCaseFoldsLettersOnly) {
    struct CaseCase {
        std::wstring a, b;
        bool equal;
    };
    const CaseCase cases[] = {
        {L"", L"", true},
        {L"Quarterly Report.doc", L"QUARTERLY report.DOC", true},
        {L"abc", L"abd", false},
        {L"abc", L"ab", false},
        {L"@[", L"`{", false},                        // neighbours of A-Z are not letters
        {L"\u00C9t\u00E9", L"\u00E9T\u00C9", true},   // Latin-1
        {L"\u00D7", L"\u00F7", false},                // multiplication and division signs
        {L"\u0416\u0401", L"\u0436\u0451", true},     // Cyrillic, with an extension letter
        {L"\u0391\u03A9", L"\u03B1\u03C9", true},     // Greek
    };
    for (const CaseCase& c : cases) {
        EXPECT_EQ(EqualNoCase(c.a, c.b), c.equal) << std::string(c.a.begin(), c.a.end());
        EXPECT_EQ(EqualNoCase(c.b, c.a), c.equal);
    }
}

TEST(Text, MinimizeSwitchIsTheWholeArgumentText) {
    struct SwitchCase {
        const wchar_t* arguments;
        bool isSwitch;
    };
    const SwitchCase cases[] = {
        {L"/MINIMIZE", true},       {L"/minimize", true},    {L"/MiNiMiZe", true},
        {L" /MINIMIZE ", true},     {L"\t/minimize\r\n", true}, {L"/MINIMIZE x", false},
        {L"", false},               {L"   ", false},         {L"/MINIMIZED", false},
        {L"MINIMIZE", false},
    };
    for (const SwitchCase& c : cases) {
        const std::wstring text = c.arguments;
        EXPECT_EQ(IsMinimizeSwitch(c.arguments), c.isSwitch) << std::string(text.begin(), text.end());
    }
}

}  // namespace
}  // namespace vantrel

#pragma once
// Version numbers as the update check reads them: the program's own and the one
// the author's web server publishes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// One to four dot-separated decimal parts, each 0-65535 (what a version resource
// holds); parts left out count as 0, so 1.2 equals 1.2.0.0.
struct Version {
    std::array<std::uint16_t, 4> parts{};
};

// The published version in the body of the version file: the text after the last
// "=" (all of it when there is none), with white space around it (a trailing line
// end, for instance) dropped.
std::wstring_view PublishedVersionText(std::wstring_view body);

// Nothing unless `text` is exactly a well-formed version: digits and dots only,
// no empty part, no sign, no blanks, at most 5 digits and 65535 per part.
std::optional<Version> ParseVersion(std::wstring_view text);

// Part by part, numerically: negative, zero or positive as a is older, equal or newer.
int CompareVersions(const Version& a, const Version& b);

// "major.minor.build.revision" from a version resource's two file-version double
// words, each part in full (a part of 256 stays 256).
std::wstring FormatFileVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

}  // namespace vantrel

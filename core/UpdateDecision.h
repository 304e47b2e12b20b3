#pragma once
// What the update check tells the user, decided from the version file's body and
// the program's own version.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// A version file is a line of text; anything longer is not one.
inline constexpr std::size_t kMaxVersionFileBytes = 4096;

enum class UpdateOutcome { Current, Newer, Error };

struct UpdateMessage {
    UpdateOutcome outcome = UpdateOutcome::Error;
    std::wstring text;
    std::wstring caption;  // empty: the application's name
};

// `body` is the version file's text, nothing when it could not be read (no
// connection, a status other than 200, too long). `ownVersion` is empty when
// the program's version resource could not be read. `serverRoot` ends the
// error text, so that the user can look for themselves.
UpdateMessage DecideUpdate(const std::optional<std::wstring>& body, std::wstring_view ownVersion,
                           std::wstring_view serverRoot);

// `format` with each "%s" replaced by the next argument, taken literally; every
// other character of the format stays as it is. Missing arguments give "".
std::wstring FormatArguments(std::wstring_view format, std::initializer_list<std::wstring_view> arguments);

// Whether an http:// or https:// address names this machine (127.x.x.x,
// localhost, [::1]): no proxy can reach that for us.
bool IsLoopbackAddress(std::wstring_view url);

}  // namespace vantrel

#include "core/UpdateDecision.h"

#include "core/Text.h"
#include "core/Version.h"

namespace vantrel {
namespace {
constexpr wchar_t kLatestText[] = L"You got the latest version of Vantrel";
constexpr wchar_t kNewVersionFormat[] = L"New version found!\nYou have %s, do you want to upgrade to %s?";
constexpr wchar_t kNewVersionCaption[] = L"Download now?";
constexpr wchar_t kErrorText[] = L"Error download the version file, please check manually at ";

UpdateMessage Error(std::wstring_view serverRoot) {
    return {UpdateOutcome::Error, std::wstring(kErrorText) + std::wstring(serverRoot), L""};
}
}  // namespace

UpdateMessage DecideUpdate(const std::optional<std::wstring>& body, std::wstring_view ownVersion,
                           std::wstring_view serverRoot) {
    if (!body) return Error(serverRoot);
    const std::wstring_view publishedText = PublishedVersionText(*body);
    const auto published = ParseVersion(publishedText);
    const auto own = ParseVersion(ownVersion);
    if (!published || !own) return Error(serverRoot);
    if (CompareVersions(*published, *own) <= 0) return {UpdateOutcome::Current, kLatestText, L""};
    return {UpdateOutcome::Newer, FormatArguments(kNewVersionFormat, {ownVersion, publishedText}), kNewVersionCaption};
}

std::wstring FormatArguments(std::wstring_view format, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    auto next = arguments.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L's') {
            if (next != arguments.end()) text += *next++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

bool IsLoopbackAddress(std::wstring_view url) {
    size_t start = 0;
    for (std::wstring_view scheme : {std::wstring_view(L"http://"), std::wstring_view(L"https://")}) {
        if (url.size() >= scheme.size() && EqualNoCase(url.substr(0, scheme.size()), scheme)) start = scheme.size();
    }
    if (start == 0) return false;
    std::wstring_view rest = url.substr(start);
    rest = rest.substr(0, rest.find_first_of(L"/?#"));
    if (const size_t at = rest.rfind(L'@'); at != std::wstring_view::npos) rest.remove_prefix(at + 1);
    if (!rest.empty() && rest.front() == L'[') return rest.substr(0, rest.find(L']') + 1) == L"[::1]";
    const std::wstring_view host = rest.substr(0, rest.find(L':'));
    if (EqualNoCase(host, L"localhost")) return true;
    // 127.0.0.0/8, written as four decimal parts.
    const auto parsed = ParseVersion(host);
    if (!parsed || host.substr(0, 4) != L"127.") return false;
    size_t dots = 0;
    for (wchar_t c : host) {
        if (c == L'.') ++dots;
    }
    for (auto part : parsed->parts) {
        if (part > 255) return false;
    }
    return dots == 3;
}

}  // namespace vantrel

#include "core/WebServer.h"

#include "core/Text.h"

namespace vantrel {
namespace {
bool HasHttpScheme(const std::wstring& address) {
    for (std::wstring_view scheme : {std::wstring_view(L"http://"), std::wstring_view(L"https://")}) {
        if (address.size() > scheme.size() && EqualNoCase(std::wstring_view(address).substr(0, scheme.size()), scheme))
            return true;
    }
    return false;
}

std::wstring WithoutTrailingSlashes(std::wstring address) {
    while (!address.empty() && address.back() == L'/') address.pop_back();
    return address;
}
}  // namespace

std::wstring ChooseWebServer(const std::wstring& override, const std::wstring& buildDefault) {
    // Anything else (empty, a bare host, text with blanks, a scheme followed by
    // nothing but slashes, which loses its own "//" with them) would make broken links.
    const std::wstring trimmed = WithoutTrailingSlashes(override);
    const bool usable = HasHttpScheme(trimmed) && trimmed.find_first_of(L" \t\r\n\"") == std::wstring::npos;
    return usable ? trimmed : WithoutTrailingSlashes(buildDefault);
}

std::wstring WebAddress(const std::wstring& server, WebPage page) {
    switch (page) {
    case WebPage::VersionFile: return server + L"/vantrel/version.txt";
    case WebPage::DownloadPage: return server + L"/vantrel/";
    case WebPage::DonationPage: return server + L"/donate/";
    case WebPage::HomePage: return server + L"/";
    }
    return server + L"/";
}

}  // namespace vantrel

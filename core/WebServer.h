#pragma once
// The author's web server: one configurable address and the four paths used on it.

#include <string>

namespace vantrel {

enum class WebPage { VersionFile, DownloadPage, DonationPage, HomePage };

// The server to use: the override when it is an http:// or https:// address, else
// the build's default. Trailing slashes are dropped so paths can be appended.
std::wstring ChooseWebServer(const std::wstring& override, const std::wstring& buildDefault);

// Full address of a page on the given server.
std::wstring WebAddress(const std::wstring& server, WebPage page);

}  // namespace vantrel

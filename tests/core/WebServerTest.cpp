#include <gtest/gtest.h>

#include "core/WebServer.h"

namespace vantrel {
namespace {

TEST(WebServer, OverrideWinsOnlyWhenItIsAnHttpAddress) {
    const std::wstring fallback = L"http://www.vantrel.example";
    const struct {
        std::wstring override;
        std::wstring expected;
    } cases[] = {
        {L"", fallback},
        {L"http://127.0.0.1:8123", L"http://127.0.0.1:8123"},
        {L"HTTPS://127.0.0.1/", L"HTTPS://127.0.0.1"},
        {L"http://127.0.0.1:8123///", L"http://127.0.0.1:8123"},
        {L"127.0.0.1:8123", fallback},
        {L"http://", fallback},
        {L"http:///", fallback},  // found by fuzzing: it gave "http:"
        {L"https:////", fallback},
        {L"ftp://127.0.0.1", fallback},
        {L"http://127.0.0.1/ evil", fallback},
        {L"http://a\"b", fallback},
    };
    for (const auto& c : cases) EXPECT_EQ(ChooseWebServer(c.override, fallback), c.expected);
}

TEST(WebServer, EveryPageHasItsPath) {
    const std::wstring server = L"http://127.0.0.1:8123";
    EXPECT_EQ(WebAddress(server, WebPage::VersionFile), L"http://127.0.0.1:8123/vantrel/version.txt");
    EXPECT_EQ(WebAddress(server, WebPage::DownloadPage), L"http://127.0.0.1:8123/vantrel/");
    EXPECT_EQ(WebAddress(server, WebPage::DonationPage), L"http://127.0.0.1:8123/donate/");
    EXPECT_EQ(WebAddress(server, WebPage::HomePage), L"http://127.0.0.1:8123/");
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/UpdateDecision.h"
#include "core/Version.h"

namespace vantrel {
namespace {

const std::wstring kOwn = L"0.8.9.2";
const std::wstring kRoot = L"http://127.0.0.1:8123/";
const std::wstring kError = L"Error download the version file, please check manually at http://127.0.0.1:8123/";
const std::wstring kLatest = L"You got the latest version of Vantrel";

std::wstring Offer(const std::wstring& published) {
    return L"New version found!\nYou have 0.8.9.2, do you want to upgrade to " + published + L"?";
}

TEST(Version, PublishedVersionIsAfterTheLastEqualsWithoutBlanksAround) {
    const struct {
        std::wstring body;
        std::wstring expected;
    } cases[] = {
        {L"version=0.8.9.3", L"0.8.9.3"},
        {L"0.8.9.1", L"0.8.9.1"},
        {L"a=b=0.8.9.2", L"0.8.9.2"},
        {L"version=0.8.9.2\r\n", L"0.8.9.2"},
        {L"version=0.8.9.2\n", L"0.8.9.2"},
        {L"  version = \t0.8.9.2 \r\n\r\n", L"0.8.9.2"},
        {L"version=", L""},
        {L"", L""},
        {L"\r\n", L""},
        {L"version=0.8 9.2", L"0.8 9.2"},
    };
    for (const auto& c : cases) EXPECT_EQ(PublishedVersionText(c.body), c.expected) << c.body.size();
}

TEST(Version, OnlyDigitsAndDotsInOneToFourPartsOfSixteenBitsParse) {
    const struct {
        std::wstring text;
        bool wellFormed;
        Version expected;
    } cases[] = {
        {L"0.8.9.2", true, {{0, 8, 9, 2}}},
        {L"0.8.10.0", true, {{0, 8, 10, 0}}},
        {L"1", true, {{1, 0, 0, 0}}},
        {L"1.2", true, {{1, 2, 0, 0}}},
        {L"65535.0.00007.65535", true, {{65535, 0, 7, 65535}}},
        {L"65536.0.0.0", false, {}},
        {L"000001", false, {}},  // six digits: no part of a version resource is written so
        {L"1.2.3.4.5", false, {}},
        {L"", false, {}},
        {L".", false, {}},
        {L"1.", false, {}},
        {L".1", false, {}},
        {L"1..2", false, {}},
        {L"-1.0", false, {}},
        {L"+1.0", false, {}},
        {L"1.0 ", false, {}},
        {L"0.8.9.2\n", false, {}},
        {L"1.0a", false, {}},
        {L"%s%n", false, {}},
        {L"\x0661.2", false, {}},  // an Arabic-Indic one is a digit elsewhere, not here
        {std::wstring(L"1\0.2", 4), false, {}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseVersion(c.text);
        ASSERT_EQ(parsed.has_value(), c.wellFormed) << std::string(c.text.begin(), c.text.end());
        if (parsed) {
            EXPECT_EQ(parsed->parts, c.expected.parts);
        }
    }
}

TEST(Version, ComparisonIsNumericPartByPart) {
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"0.8.10.0", L"0.8.9.2", 1}, {L"0.8.9.1", L"0.8.9.2", -1}, {L"0.8.9.2", L"0.8.9.2", 0},
        {L"0.8.9.2", L"0.08.9.2", 0}, {L"1", L"0.65535.65535.65535", 1}, {L"0.8.9", L"0.8.9.0", 0},
        {L"0.8.9", L"0.8.9.1", -1},   {L"0.9", L"0.8.99.99", 1},
    };
    for (const auto& c : cases) {
        const int result = CompareVersions(*ParseVersion(c.a), *ParseVersion(c.b));
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << std::wstring(c.a).size();
    }
}

TEST(Version, OwnVersionKeepsEveryPartWhole) {
    EXPECT_EQ(FormatFileVersion(0x00000008, 0x00090002), L"0.8.9.2");
    EXPECT_EQ(FormatFileVersion(0x01000008, 0x01000101), L"256.8.256.257");
    EXPECT_EQ(FormatFileVersion(0xFFFFFFFF, 0xFFFFFFFF), L"65535.65535.65535.65535");
}

TEST(UpdateDecision, EveryBodyGetsOneOfTheThreeAnswers) {
    const struct {
        std::wstring body;
        UpdateOutcome outcome;
        std::wstring text;
    } cases[] = {
        {L"version=0.8.9.2", UpdateOutcome::Current, kLatest},
        {L"version=0.8.9.3", UpdateOutcome::Newer, Offer(L"0.8.9.3")},
        {L"0.8.9.1", UpdateOutcome::Current, kLatest},
        {L"version=0.8.10.0", UpdateOutcome::Newer, Offer(L"0.8.10.0")},
        {L"version=0.8.9.2\r\n", UpdateOutcome::Current, kLatest},
        {L"version=0.8.9.3\n", UpdateOutcome::Newer, Offer(L"0.8.9.3")},
        {L"a=b=0.8.9.2", UpdateOutcome::Current, kLatest},
        {L"version=1", UpdateOutcome::Newer, Offer(L"1")},
        {L"version 0.8.9.3", UpdateOutcome::Error, kError},
        {L"", UpdateOutcome::Error, kError},
        {L"version=", UpdateOutcome::Error, kError},
        {L"<html>Not Found</html>", UpdateOutcome::Error, kError},
        {L"version=%s%n%x%p", UpdateOutcome::Error, kError},
        {L"version=0.8.9.3=", UpdateOutcome::Error, kError},
    };
    for (const auto& c : cases) {
        const UpdateMessage message = DecideUpdate(c.body, kOwn, kRoot);
        EXPECT_EQ(message.outcome, c.outcome) << std::string(c.body.begin(), c.body.end());
        EXPECT_EQ(message.text, c.text) << std::string(c.body.begin(), c.body.end());
        EXPECT_EQ(message.caption, c.outcome == UpdateOutcome::Newer ? L"Download now?" : L"");
    }
}

TEST(UpdateDecision, NoBodyOrNoOwnVersionIsTheErrorBox) {
    EXPECT_EQ(DecideUpdate(std::nullopt, kOwn, kRoot).text, kError);
    EXPECT_EQ(DecideUpdate(std::wstring(L"version=0.8.9.3"), L"", kRoot).outcome, UpdateOutcome::Error);
}

TEST(UpdateDecision, ArgumentsAreNeverReadAsFormat) {
    EXPECT_EQ(FormatArguments(L"%s and %s", {L"%s%n", L"%d"}), L"%s%n and %d");
    EXPECT_EQ(FormatArguments(L"%s, %s, %s", {L"a"}), L"a, , ");
    EXPECT_EQ(FormatArguments(L"100% %d%", {L"x"}), L"100% %d%");
}

TEST(UpdateDecision, LoopbackAddressesAreRecognised) {
    const struct {
        const wchar_t* url;
        bool loopback;
    } cases[] = {
        {L"http://127.0.0.1:8123/vantrel/version.txt", true},
        {L"HTTP://LOCALHOST/vantrel/", true},
        {L"https://127.4.5.6", true},
        {L"http://[::1]:80/x", true},
        {L"http://user@127.0.0.1/", true},
        {L"http://127.0.0.1.example/", false},
        {L"http://127.example/", false},
        {L"http://127.0.0.256/", false},
        {L"http://www.vantrel.example/vantrel/version.txt", false},
        {L"http://localhost.example/", false},
        {L"http://evil.example/?127.0.0.1", false},
        {L"ftp://127.0.0.1/", false},
        {L"127.0.0.1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLoopbackAddress(c.url), c.loopback) << std::wstring(c.url).size();
}

// Random bodies, biased towards the characters versions are made of: nothing
// crashes (the sanitizers watch), and whatever parses prints back as it was read.
TEST(UpdateDecision, RandomBodiesNeverBreakTheParser) {
    std::mt19937 random(20261207);
    const wchar_t alphabet[] = L"0123456789....===  \r\n\t%sna-+\x00e9\xffff";
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet / sizeof alphabet[0] - 1);
    std::uniform_int_distribution<int> any(0, 0xFFFF);
    std::uniform_int_distribution<size_t> length(0, 40);
    for (int round = 0; round < 50000; ++round) {
        std::wstring body(length(random), L'\0');
        for (auto& c : body) c = round % 4 == 0 ? static_cast<wchar_t>(any(random)) : alphabet[pick(random)];
        const std::wstring_view published = PublishedVersionText(body);
        const auto parsed = ParseVersion(published);
        const UpdateMessage message = DecideUpdate(body, kOwn, kRoot);
        ASSERT_EQ(message.outcome == UpdateOutcome::Error, !parsed);
        if (parsed) {
            ASSERT_EQ(published.find_first_not_of(L"0123456789."), std::wstring_view::npos);
            ASSERT_EQ(message.outcome == UpdateOutcome::Newer, CompareVersions(*parsed, *ParseVersion(kOwn)) > 0);
        }
    }
}

}  // namespace
}  // namespace vantrel

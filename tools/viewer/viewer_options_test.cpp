// Tests of the sample viewer's command line and of the control channel's
// argument parsing: a fault here would make a test drive the wrong window
// or start the wrong set of documents.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "viewer_options.h"
#include "viewer_protocol.h"

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool condition, const char* what, int line) {
    if (condition) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAILED line %d: %s\n", line, what);
    }
}
#define CHECK(condition) Check((condition), #condition, __LINE__)

using Names = std::vector<std::wstring>;

void TestStartupDocuments() {
    ViewerOptions none = ParseViewerOptions({});
    CHECK(none.strError.empty());
    CHECK(none.strClassName == L"AcrobatSDIWindow");
    CHECK(!none.bHidden && !none.bStay);
    CHECK(StartupDocuments(none) == (Names{L"Sample report.txt", L"Quarterly figures.txt", L"Reading list.txt"}));

    // Names keep their order and spaces; generic documents follow them.
    ViewerOptions mixed = ParseViewerOptions({L"A b.txt", L"--windows", L"2", L"C:\\x y\\c.txt"});
    CHECK(mixed.strError.empty());
    CHECK(StartupDocuments(mixed) == (Names{L"A b.txt", L"C:\\x y\\c.txt", L"Document 1", L"Document 2"}));

    // "--windows 0" is the way to start empty, and must not fall back to the samples.
    ViewerOptions empty = ParseViewerOptions({L"--windows", L"0"});
    CHECK(empty.strError.empty());
    CHECK(StartupDocuments(empty).empty());

    ViewerOptions flags = ParseViewerOptions({L"--hidden", L"--stay", L"--class", L"acrobatsdiwindow", L"one"});
    CHECK(flags.strError.empty());
    CHECK(flags.bHidden && flags.bStay);
    CHECK(flags.strClassName == L"acrobatsdiwindow");
    CHECK(StartupDocuments(flags) == Names{L"one"});
}

void TestBadCommandLines() {
    const std::vector<Names> bad = {
        {L"--class"},
        {L"--class", L""},
        {L"--windows"},
        {L"--windows", L""},
        {L"--windows", L"x"},
        {L"--windows", L"-1"},
        {L"--windows", L"2x"},
        {L"--windows", L"99999"},
        {L"--window", L"3"},
        {L"doc", L"--bogus"},
    };
    for (const Names& args : bad)
        CHECK(!ParseViewerOptions(args).strError.empty());
    // A value that looks like an option is still the value.
    CHECK(ParseViewerOptions({L"--class", L"--stay"}).strClassName == L"--stay");
}

void TestHandles() {
    using viewer_protocol::HandleText;
    using viewer_protocol::ParseHandle;
    std::uint64_t handle = 7;
    CHECK(ParseHandle(L"0", handle) && handle == 0);
    CHECK(ParseHandle(HandleText(0x1a2b3c), handle) && handle == 0x1a2b3c);
    CHECK(ParseHandle(HandleText(UINT64_MAX), handle) && handle == UINT64_MAX);

    handle = 7;
    const Names bad = {L"", L" 12", L"12 ", L"-1", L"+1", L"0x10", L"12a",
                       L"18446744073709551616", L"000000000000000000001"};
    for (const std::wstring& text : bad)
        CHECK(!ParseHandle(text, handle));
    CHECK(handle == 7);  // left alone on failure
}

void TestBarArguments() {
    using viewer_protocol::SplitAtBar;
    auto plain = SplitAtBar(L"Report");
    CHECK(!plain.hasBar && plain.head.empty() && plain.rest == L"Report");
    auto withClass = SplitAtBar(L"Other|A|B");
    CHECK(withClass.hasBar && withClass.head == L"Other" && withClass.rest == L"A|B");
    auto noClass = SplitAtBar(L"|x|y");
    CHECK(noClass.hasBar && noClass.head.empty() && noClass.rest == L"x|y");
    auto noTitle = SplitAtBar(L"123|");
    CHECK(noTitle.hasBar && noTitle.head == L"123" && noTitle.rest.empty());
}

// A bad duration must be refused, not freeze a viewer for good or not at all.
void TestHangDurations() {
    using viewer_protocol::ParseMilliseconds;
    unsigned long ms = 0;
    CHECK(ParseMilliseconds(L"4000", ms) && ms == 4000);
    CHECK(ParseMilliseconds(L"600000", ms) && ms == 600000);
    for (const wchar_t* text : {L"", L"0", L"600001", L"9999999", L"-5", L"1.5", L" 10"})
        CHECK(!ParseMilliseconds(text, ms));
}

}  // namespace

int main() {
    TestStartupDocuments();
    TestBadCommandLines();
    TestHandles();
    TestBarArguments();
    TestHangDurations();
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}

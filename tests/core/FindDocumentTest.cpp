#include <gtest/gtest.h>

#include "core/FindDocument.h"

namespace vantrel {
namespace {

std::vector<std::size_t> Order(const std::vector<FoundDocument>& found) {
    std::vector<std::size_t> order;
    for (const FoundDocument& f : found) order.push_back(f.candidate);
    return order;
}

TEST(FindDocument, EveryWordInTheTitleAndTitlesBeginningWithTheFirstWordFirst) {
    const std::vector<FindCandidate> candidates = {
        {L"Annual report 2023.pdf", L"main", 0, 1},   // 0
        {L"Report\t2024.PDF", L"main", 0, 0},         // 1
        {L"Budget.xlsx", L"Window #1", 1, 0},         // 2
        {L"  report draft", L"Window #2", 2, 3},      // 3
        {L"ÉTÉ report", L"Window #2", 2, 0},          // 4
    };
    struct Case {
        const wchar_t* typed;
        std::vector<std::size_t> order;
    };
    const Case cases[] = {
        {L"", {1, 0, 2, 4, 3}},
        {L"  \t ", {1, 0, 2, 4, 3}},
        {L"report", {1, 3, 0, 4}},
        {L"REPORT 2024", {1}},
        {L"2024 report", {1}},  // any order; begins with neither word first
        {L"pdf  rep", {1, 0}},
        {L"été", {4}},
        {L"report xyz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Order(FindDocuments(candidates, c.typed)), c.order) << c.typed;

    const auto found = FindDocuments({{L"Report.pdf\r\n", L"Window #2: \"Budget\"", 2, 0}}, L"");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, L"Report.pdf   \u2014 Window #2: \"Budget\"");
}

TEST(FindDocument, AThousandTitles) {
    std::vector<FindCandidate> candidates;
    for (unsigned i = 0; i < 1000; ++i)
        candidates.push_back({L"Doc " + std::to_wstring(i) + (i % 2 ? L" odd" : L" even"), L"f", 999 - i, i});
    const auto found = FindDocuments(candidates, L"ODD 9");
    // Odd numbers holding a 9, the last frame's first.
    std::vector<std::size_t> expected;
    for (std::size_t i = 999; i > 0; --i)
        if (i % 2 && std::to_wstring(i).find(L'9') != std::wstring::npos) expected.push_back(i);
    EXPECT_EQ(Order(found), expected);
    EXPECT_EQ(FindDocuments(candidates, L"doc").size(), 1000u);
}

TEST(FindDocument, FrameNamesAndTheSelectionKeptWhenTheListIsBuiltAnew) {
    struct Name {
        unsigned number;
        const wchar_t* title;
        const wchar_t* name;
    };
    const Name names[] = {
        {0, L"Vantrel - [Main window]", L"Main window: \"Vantrel\""},
        {0, L"Left - Vantrel - [Main window]", L"Main window: \"Left - Vantrel\""},
        {0, L" - [Main window] x", L"Main window: \" - [Main window] x\""},
        {0, L"", L"Main window: \"\""},
        {2, L"Budget", L"Window #2: \"Budget\""},
        {15, L"R&D - Vantrel", L"Window #15: \"R&D - Vantrel\""},  // a list shows "&" as it is
    };
    for (const Name& n : names) EXPECT_EQ(FindFrameName(n.number, n.title), n.name) << n.title;

    // Candidates 0..3 hold windows 10, 20, 30, 40; the list shows 2, 0, 3.
    const std::vector<std::uintptr_t> windowOf = {10, 20, 30, 40};
    const std::vector<FoundDocument> shown = {{2, L""}, {0, L""}, {3, L""}};
    struct Keep {
        std::vector<FoundDocument> found;
        std::uintptr_t selected;
        std::optional<std::size_t> line;
    };
    const Keep keeps[] = {
        {shown, 0, 0},              // nothing chosen yet: the best match
        {shown, 10, 1},             // the same window, wherever its line went
        {shown, 40, 2},
        {shown, 20, std::nullopt},  // gone, or filtered out: nothing, not its neighbour
        {{}, 0, std::nullopt},
        {{{7, L""}}, 10, std::nullopt},  // a stale candidate index finds nothing
    };
    for (const Keep& k : keeps) EXPECT_EQ(KeptSelection(k.found, windowOf, k.selected), k.line) << k.selected;
}

}  // namespace
}  // namespace vantrel

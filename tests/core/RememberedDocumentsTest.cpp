#include <gtest/gtest.h>

#include "core/RememberedDocuments.h"

namespace vantrel {
namespace {

constexpr std::uint64_t kNow = 1'700'000'000;
constexpr std::uint64_t kDay = 24 * 60 * 60;
const std::wstring kViewer = L"C:\\Viewer\\viewer.exe";

Remembered Decode(const std::vector<std::uint8_t>& bytes, std::uint32_t type = kRegBinary) {
    return DecodeRemembered(type, bytes.data(), bytes.size(), kNow);
}

std::vector<std::uint8_t> With32(std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) bytes[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(value >> (8 * b));
    return bytes;
}

TEST(RememberedDocuments, RoundTripsWithTextsTrimmedAndCut) {
    const std::wstring odd = L"a\xD83D\xDE00 b\xDC00";  // a pair, then half of one
    Remembered r;
    r.frames = {{3, L"Budget"}, {15, L" Letters\t"}};
    r.documents = {{kViewer, L"  Report.pdf ", 3, 0, kNow}, {L"D:\\other.exe", odd, 0, 7, kNow - 5},
                   {kViewer, std::wstring(300, L'x'), 15, 2, kNow}};
    const auto bytes = EncodeRemembered(r);
    ASSERT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<std::uint8_t>{'V', 'D', 'O', 'C'}));

    Remembered expected = r;
    expected.frames[1].name = L"Letters";
    expected.documents[0].title = L"Report.pdf";
    expected.documents[2].title = std::wstring(kMaxRememberedTitle, L'x');
    const Remembered back = Decode(bytes);
    EXPECT_EQ(back.frames, expected.frames);
    EXPECT_EQ(back.documents, expected.documents);
}

TEST(RememberedDocuments, AnythingMalformedReadsAsNothing) {
    // One frame (2, "B"), one program ("p"), one document ("t") at these offsets.
    Remembered r{{{2, L"B"}}, {{L"p", L"t", 2, 0, kNow}}};
    const auto good = EncodeRemembered(r);
    ASSERT_EQ(good.size(), 62u);
    ASSERT_EQ(Decode(good).documents.size(), 1u);
    std::vector<std::uint8_t> shorter(good.begin(), good.end() - 1), longer = good, huge = good;
    longer.push_back(0);
    huge.resize(kMaxRememberedBytes + 1);
    auto longTitle = With32(good, 56, kMaxRememberedTitle + 1);
    longTitle.resize(60 + 2 * (kMaxRememberedTitle + 1), 'x');
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t type;
    };
    const Case cases[] = {
        {"a string", good, 1},
        {"a DWORD", {1, 0, 0, 0}, kRegDword},
        {"empty", {}, kRegBinary},
        {"one byte short", shorter, kRegBinary},
        {"one byte more", longer, kRegBinary},
        {"beyond the size limit", huge, kRegBinary},
        {"bad magic", With32(good, 0, 0x434F4457), kRegBinary},
        {"another format", With32(good, 4, 2), kRegBinary},
        {"no frames counted", With32(good, 8, 0), kRegBinary},
        {"16 frames counted", With32(good, 8, 16), kRegBinary},
        {"two programs counted", With32(good, 12, 2), kRegBinary},
        {"501 documents counted", With32(good, 16, 501), kRegBinary},
        {"no documents counted", With32(good, 16, 0), kRegBinary},
        {"frame number 0", With32(good, 20, 0), kRegBinary},
        {"frame number 16", With32(good, 20, 16), kRegBinary},
        {"frame name past the end", With32(good, 24, 0xFFFFFFFF), kRegBinary},
        {"program index out of range", With32(good, 36, 1), kRegBinary},
        {"title past the end", With32(good, 56, 2), kRegBinary},
        {"title longer than stored ones", longTitle, kRegBinary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Remembered bad = Decode(c.bytes, c.type);
        EXPECT_TRUE(bad.frames.empty());
        EXPECT_TRUE(bad.documents.empty());
    }
    EXPECT_TRUE(DecodeRemembered(kRegBinary, nullptr, good.size(), kNow).documents.empty());

    // A document's frame beyond ours, or not remembered, is the main frame.
    const std::pair<unsigned, unsigned> frames[] = {{2, 2}, {16, 0}, {0xFFFFFFFF, 0}, {3, 0}};
    for (const auto& [stored, read] : frames) {
        const auto documents = Decode(With32(good, 40, stored)).documents;
        ASSERT_EQ(documents.size(), 1u);
        EXPECT_EQ(documents[0].frame, read) << stored;
    }
}

TEST(RememberedDocuments, ForgetsWhatWasNotSeenFor30DaysAndAllButThe500SeenLast) {
    Remembered r;
    for (const std::uint64_t seen : {kNow - 30 * kDay, kNow - 30 * kDay + 1, kNow + kDay, kNow - 400 * kDay})
        r.documents.push_back({kViewer, std::to_wstring(seen), 0, 0, seen});
    const auto kept = Decode(EncodeRemembered(r)).documents;
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].lastSeen, kNow - 30 * kDay + 1);
    EXPECT_EQ(kept[1].lastSeen, kNow + kDay);  // seen before the clock went back

    // 502 documents, the oldest two in the middle of the list: they go, the rest keep their order.
    r.documents.clear();
    for (unsigned i = 0; i < 502; ++i)
        r.documents.push_back({kViewer, L"t", 0, i, kNow - (i == 100 || i == 200 ? 9 : 1)});
    for (const bool stored : {false, true}) {
        Remembered pruned = r;
        if (stored) pruned = Decode(EncodeRemembered(r));
        else Prune(pruned, kNow);
        ASSERT_EQ(pruned.documents.size(), 500u);
        EXPECT_EQ(pruned.documents[99].position, 99u);
        EXPECT_EQ(pruned.documents[100].position, 101u);
        EXPECT_EQ(pruned.documents[499].position, 501u);
    }

    // Paths as long as they come: what fits in the value, the newest.
    r.documents.clear();
    for (unsigned i = 0; i < 40; ++i)
        r.documents.push_back({std::wstring(kMaxRememberedPath, L'a' + i % 26) + std::to_wstring(i), L"t", 0, i, kNow - 40 + i});
    const auto bytes = EncodeRemembered(r);
    EXPECT_LE(bytes.size(), kMaxRememberedBytes);
    const auto fitted = Decode(bytes).documents;
    ASSERT_EQ(fitted.size(), 15u);
    EXPECT_EQ(fitted.front().position, 25u);
}

TEST(RememberedDocuments, AClosedFramesDocumentsGoAfterTheMainFrames) {
    Remembered r{{{1, L"A"}, {2, L"B"}}, {{kViewer, L"a", 2, 0, kNow}, {kViewer, L"b", 0, 4, kNow}, {kViewer, L"c", 1, 0, kNow}}};
    ForgetFrame(r, 2);
    EXPECT_EQ(r.frames, (std::vector<RememberedFrame>{{1, L"A"}}));
    EXPECT_EQ(r.documents[0].frame, 0u);
    EXPECT_EQ(r.documents[0].position, 5u);
    EXPECT_EQ(r.documents[2].frame, 1u);
}

TEST(DocumentMatcher, ArrivingWindowsTakeTheirDocumentsInTurn) {
    DocumentMatcher matcher({{kViewer, L"Report.pdf", 2, 4, kNow},
                             {kViewer, L"Same.pdf", 1, 0, kNow},
                             {kViewer, L"Same.pdf", 2, 1, kNow},
                             {kViewer, L"Gone.pdf", 7, 3, kNow},
                             {L"C:\\Other\\other.exe", L"Other.pdf", 0, 2, kNow}});
    const std::vector<unsigned> open{1, 2};
    struct Case {
        std::wstring program, title;
        Placed placed;
    };
    const Case arrivals[] = {
        {L"c:\\VIEWER\\Viewer.EXE ", L"  report.PDF\t", {2, 4}},
        {kViewer, L"Report.pdf", {0, std::nullopt}},  // taken already
        {kViewer, L"Same.pdf", {1, 0}},
        {kViewer, L"Same.pdf", {2, 1}},
        {kViewer, L"Same.pdf", {0, std::nullopt}},
        {kViewer, L"Gone.pdf", {0, std::nullopt}},  // its frame is not open
        {kViewer, L"Other.pdf", {0, std::nullopt}},  // another program's
        {L"C:\\Other\\other.exe", L"Other.pdf", {0, 2}},
        {kViewer, L"Report", {0, std::nullopt}},
    };
    for (const Case& c : arrivals) EXPECT_EQ(matcher.Match(c.program, c.title, open), c.placed) << c.program.size();
    EXPECT_TRUE(matcher.NotTaken().empty());
    matcher.Reset();
    EXPECT_EQ(matcher.Match(kViewer, L"Same.pdf", open), (Placed{1, 0}));
    EXPECT_EQ(matcher.NotTaken().size(), 4u);
}

TEST(DocumentMatcher, AWindowGoesBeforeTheFirstButtonRememberedFurtherOn) {
    using P = std::vector<std::optional<unsigned>>;
    struct Case {
        P present;
        std::optional<unsigned> position;
        std::size_t index;
    };
    const Case cases[] = {
        {{}, 3, 0},
        {{1, 4}, 0, 0},
        {{1, 4}, 2, 1},
        {{1, 4}, 4, 2},  // after one remembered at the same place, which came first
        {{1, 4}, 9, 2},
        {{1, std::nullopt, 4}, 2, 1},
        {{1, 4}, std::nullopt, 2},
        {{std::nullopt}, std::nullopt, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(InsertionIndex(c.present, c.position), c.index) << c.present.size();
}

}  // namespace
}  // namespace vantrel

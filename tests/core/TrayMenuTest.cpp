// The tray icon's callback, the tray menu's frame entries and their texts, and the
// titles that renaming makes.
#include <gtest/gtest.h>

#include "core/FrameTexts.h"
#include "core/TrayMenu.h"

namespace vantrel {
namespace {

TEST(TrayCallback, OnlyOurIconIdIsAnsweredAndOnlyThreeMessagesAct) {
    struct Case {
        std::uintptr_t id, message;
        TrayAction action;
        std::intptr_t result;
    };
    const Case cases[] = {
        {2, 0x0203, TrayAction::None, 1},          // another icon: not ours
        {0, 0x0204, TrayAction::None, 1},
        {1, 0x0203, TrayAction::ShowAllFrames, 0},  // double click
        {1, 0x0204, TrayAction::OpenMenu, 0},       // right button down
        {1, 0x007B, TrayAction::OpenMenu, 0},       // context menu (keyboard)
        {1, 0x0201, TrayAction::None, 0},           // left button down
        {1, 0x0205, TrayAction::None, 0},           // right button up
        {1, 0x0200, TrayAction::None, 0},           // mouse move
        {1, 0x00010204, TrayAction::OpenMenu, 0},   // newer shells: icon id in the high word
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const TrayCallback got = DecodeTrayCallback(c.id, c.message);
        EXPECT_EQ(got.action, c.action);
        EXPECT_EQ(got.result, c.result);
    }
}

TEST(TrayMenu, FrameEntriesByPositionWithChecksForVisibleFrames) {
    const auto entries = TrayFrameEntries({L"Vantrel - [Main window]", true},
                                          {{L"Vantrel", true}, {L"Second - Vantrel", false}});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, 32768u);
    EXPECT_EQ(entries[0].text, L"Hide main \"Vantrel - [Main window]\"");
    EXPECT_TRUE(entries[0].checked);
    EXPECT_EQ(entries[1].id, 32769u);
    EXPECT_EQ(entries[1].text, L"Hide Window #1: \"Vantrel\"");
    EXPECT_TRUE(entries[1].checked);
    EXPECT_EQ(entries[2].id, 32770u);
    EXPECT_EQ(entries[2].text, L"Show Window #2: \"Second - Vantrel\"");
    EXPECT_FALSE(entries[2].checked);

    const auto hiddenMain = TrayFrameEntries({L"M", false}, {});
    ASSERT_EQ(hiddenMain.size(), 1u);
    EXPECT_EQ(hiddenMain[0].text, L"Show main \"M\"");
    EXPECT_FALSE(hiddenMain[0].checked);
}

TEST(TrayMenu, EntriesStopAtTheEndOfTheCommandRange) {
    const std::vector<TrayFrameState> many(40, TrayFrameState{L"F", true});
    const auto entries = TrayFrameEntries({L"M", true}, many);
    ASSERT_EQ(entries.size(), 35u);
    EXPECT_EQ(entries.back().id, 32802u);
    EXPECT_EQ(entries.back().text, L"Hide Window #34: \"F\"");
}

TEST(TrayMenu, TitlesAreShownLiterally) {
    // A menu shows "&&" as "&"; a lone "&" would underline the next letter.
    EXPECT_EQ(TrayMainEntryText(true, L"R&D - Vantrel"), L"Hide main \"R&&D - Vantrel\"");
    EXPECT_EQ(TrayFrameEntryText(3, false, L"&&&"), L"Show Window #3: \"&&&&&&\"");
    EXPECT_EQ(MoveToEntryText(2, L"A & B&"), L"Window #2: \"A && B&&\"");
    EXPECT_EQ(TrayMainEntryText(false, L""), L"Show main \"\"");
    EXPECT_EQ(TrayFrameEntryText(1, true, L""), L"Hide Window #1: \"\"");
    EXPECT_EQ(MoveToEntryText(12, L""), L"Window #12: \"\"");
    EXPECT_EQ(MoveToEntryText(3, L"\"q\" \u00e9"), L"Window #3: \"\"q\" \u00e9\"");

    const std::wstring longTitle(259, L'x');
    EXPECT_EQ(TrayFrameEntryText(15, true, longTitle), L"Hide Window #15: \"" + longTitle + L"\"");
    const std::wstring longAmpersands(259, L'&');
    EXPECT_EQ(TrayMainEntryText(true, longAmpersands), L"Hide main \"" + std::wstring(518, L'&') + L"\"");
}

TEST(TrayMenu, ChosenEntriesResolveAgainstTheRegistryAsItIsNow) {
    EXPECT_EQ(TrayEntryTarget(32768, 0), -1);
    EXPECT_EQ(TrayEntryTarget(32769, 2), 0);
    EXPECT_EQ(TrayEntryTarget(32770, 2), 1);
    EXPECT_EQ(TrayEntryTarget(32771, 2), std::nullopt);  // that frame closed meanwhile
    EXPECT_EQ(TrayEntryTarget(32769, 0), std::nullopt);
    EXPECT_EQ(TrayEntryTarget(32802, 40), 33);
    EXPECT_EQ(TrayEntryTarget(32767, 5), std::nullopt);
    EXPECT_EQ(TrayEntryTarget(32803, 40), std::nullopt);
}

TEST(RenamedFrameTitle, OneNameOneAppTitleAndTheMainMark) {
    EXPECT_EQ(RenamedFrameTitle(L"Left", L"Vantrel", true), L"Left - Vantrel - [Main window]");
    EXPECT_EQ(RenamedFrameTitle(L"Left", L"Vantrel", false), L"Left - Vantrel");
    EXPECT_EQ(RenamedFrameTitle(L"", L"Vantrel", false), L" - Vantrel");
    EXPECT_EQ(RenamedFrameTitle(L"", L"Vantrel", true), L" - Vantrel - [Main window]");
    EXPECT_EQ(RenamedFrameTitle(L"A&B", L"Vantrel", false), L"A&B - Vantrel");  // the title itself is not escaped
}

}  // namespace
}  // namespace vantrel

// Titles are whatever a window of another program says: empty, huge, with line
// ends, tabs, "&", printf-like sequences or broken UTF-16. What the buttons and
// the menus make of them.
#include <gtest/gtest.h>

#include <string>

#include "core/FrameTexts.h"
#include "core/Text.h"
#include "core/TrayMenu.h"
#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return narrow;
}

TEST(ShownTitle, ControlCharactersSurrogatesAndCuts) {
    struct TitleCase {
        std::wstring title;
        std::size_t maxLength;
        std::wstring shown;
    };
    const std::wstring emoji = L"\xD83D\xDE00";  // one character, two units
    const TitleCase cases[] = {
        {L"", 259, L""},
        {L"Report", 259, L"Report"},
        {L"R&D %s%n %%", 259, L"R&D %s%n %%"},  // nothing is interpreted
        {L"a\tb\r\nc", 259, L"a b  c"},
        {std::wstring(L"x\0y", 3), 259, L"x y"},
        {L"\x1B[31m\x7F\x85\x9F", 259, L" [31m   "},
        {L"\xA0\u00e9", 259, L"\xA0\u00e9"},  // not control characters
        {L"a" + emoji + L"b", 259, L"a" + emoji + L"b"},
        {L"a\xD83D" L"b", 259, L"a\xFFFD" L"b"},  // first half alone
        {L"a\xDE00\xD83D" L"b", 259, L"a\xFFFD\xFFFD" L"b"},  // halves the wrong way round
        {L"\xDE00", 259, L"\xFFFD"},
        {L"ab\xD83D", 259, L"ab"},  // a first half at the end was cut off by a reader
        {L"abc" + emoji, 4, L"abc"},  // the cut would split the pair
        {L"abc" + emoji, 5, L"abc" + emoji},
        {std::wstring(10000, L'a'), 259, std::wstring(259, L'a')},
        {std::wstring(260, L'a'), 259, std::wstring(259, L'a')},
        {std::wstring(259, L'a'), 259, std::wstring(259, L'a')},
        {L"abc", 0, L""},
    };
    for (const TitleCase& c : cases) {
        EXPECT_EQ(ShownTitle(c.title, c.maxLength), c.shown) << Narrow(c.title) << " / " << c.maxLength;
    }
}

TEST(MenuTitle, EntriesShowOneLineOfLiteralTextOfBoundedLength) {
    // A tab would split the entry into label and shortcut, "&" would make a mnemonic.
    EXPECT_EQ(MoveToEntryText(1, L"a\tb&c\r\n"), L"Window #1: \"a b&&c  \"");
    EXPECT_EQ(TrayMainEntryText(true, L"%s%n%d"), L"Hide main \"%s%n%d\"");
    EXPECT_EQ(TrayFrameEntryText(2, false, L"x\xD800"), L"Show Window #2: \"x\"");
    EXPECT_EQ(MoveToEntryText(1, L"\xDC00y"), L"Window #1: \"\xFFFDy\"");

    // Cut where the button is, with an ellipsis; ampersands doubled after the cut.
    const std::wstring huge(10000, L'&');
    EXPECT_EQ(MenuTitle(huge), std::wstring(2 * kMenuTitleLength, L'&') + L"\u2026");
    EXPECT_EQ(MenuTitle(std::wstring(kMenuTitleLength, L'a')), std::wstring(kMenuTitleLength, L'a'));
    EXPECT_EQ(MenuTitle(std::wstring(kMenuTitleLength + 1, L'a')), std::wstring(kMenuTitleLength, L'a') + L"\u2026");

    const auto entries = TrayFrameEntries({std::wstring(5000, L'\n'), true}, {{L"\t", false}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, L"Hide main \"" + std::wstring(kMenuTitleLength, L' ') + L"\u2026\"");
    EXPECT_EQ(entries[1].text, L"Show Window #1: \" \"");
}

using BadTitleSync = test::HostingTest;

TEST_F(BadTitleSync, ButtonsShowTheShownTitleAndSettle) {
    const std::wstring titles[] = {
        L"", std::wstring(259, L'b'), std::wstring(260, L'c'), std::wstring(10000, L'd'),
        L"line\r\nend\ttab", L"&File", L"%s%n", L"half \xD83D", L"\xDE00 lone",
        std::wstring(258, L'e') + L"\xD83D\xDE00",  // the pair would be cut at 259
    };
    for (const std::wstring& title : titles) {
        SCOPED_TRACE(Narrow(title.substr(0, 40)));
        const WindowId window = Capture(title);
        engine.RunCaptureCycle();
        const std::size_t index = engine.Windows().size() - 1;
        EXPECT_EQ(ButtonOf(index).caption, ShownTitle(title, 259));
        // A title that cannot be shown as it is still gives a caption that stays put.
        const int changes = ButtonOf(index).captionChanges;
        const int places = buttons.PlaceCalls();
        engine.RunCaptureCycle();
        EXPECT_EQ(ButtonOf(index).captionChanges, changes);
        EXPECT_EQ(buttons.PlaceCalls(), places);
        EXPECT_TRUE(engine.Hosts(window));
    }
    EXPECT_EQ(ButtonOf(3).caption, std::wstring(259, L'd'));
    EXPECT_EQ(ButtonOf(9).caption, std::wstring(258, L'e'));
}

using LeftHostView = test::HostingTest;

TEST_F(LeftHostView, AWindowThatLeavesTheHostViewLosesItsButtonAndIsTakenInAgain) {
    const WindowId stays = Capture(L"stays");
    const WindowId leaves = Capture(L"leaves");
    // Its program takes the window back to the desktop, or the handle now names a new
    // top-level window: either way a button for it here would stand for nothing of ours.
    desktop.Window(leaves).parent = kNoWindow;
    engine.SetCapture(false);
    EXPECT_TRUE(engine.RunCaptureCycle());
    EXPECT_FALSE(engine.Hosts(leaves));
    EXPECT_TRUE(engine.Hosts(stays));
    EXPECT_EQ(buttons.LiveCount(), 1u);
    ExpectIdsFollowRecords();

    // The capturing frame finds it top-level again and gives it one new button.
    engine.SetCapture(true);
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stays, leaves}));
    EXPECT_EQ(desktop.Window(leaves).parent, hostView);
    EXPECT_EQ(buttons.LiveCount(), 2u);

    // A window put into another program's window is not taken back.
    const WindowId elsewhere = desktop.AddWindow(L"Other");
    desktop.Window(stays).parent = elsewhere;
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{leaves}));
    EXPECT_EQ(desktop.Window(stays).parent, elsewhere);
}

}  // namespace
}  // namespace vantrel

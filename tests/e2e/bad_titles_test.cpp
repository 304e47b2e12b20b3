// Bad input from windows: titles of every shape on buttons and in the menus that
// list frames, and documents that die or leave while Vantrel works on them.
#include "e2e_fixture.h"

#include <string>
#include <vector>

#include "app/Messages.h"
#include "resource.h"
#include "viewer_protocol.h"

namespace {

using BadTitles = HostingTest;

std::string Shown(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text.substr(0, 60)) narrow += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return narrow;
}

TEST_F(BadTitles, ButtonsShowEveryTitleOnOneLineCutAt259) {
    struct TitleCase {
        std::wstring title, caption;
    };
    const std::wstring pair = L"\xD83D\xDE00";
    const std::vector<TitleCase> cases = {
        {L"", L""},
        {std::wstring(259, L'a'), std::wstring(259, L'a')},
        {std::wstring(260, L'b'), std::wstring(259, L'b')},
        {std::wstring(10000, L'c'), std::wstring(259, L'c')},
        {L"tab\there\r\nline\x01\x1B" L"end", L"tab here  line  end"},
        {L"&File && R&D", L"&File && R&D"},
        {L"%s%n%d%%", L"%s%n%d%%"},
        {L"lone \xD800 half \xDFFF", L"lone \xFFFD half \xFFFD"},
        {std::wstring(258, L'd') + pair, std::wstring(258, L'd')},  // the pair would be cut in two
        {L"pair " + pair, L"pair " + pair},
    };
    std::vector<std::wstring> expected;
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(Shown(c.title));
        // Opened with a plain name, then renamed: the title arrives exactly as given.
        HWND doc = viewer.Open(L"plain");
        ASSERT_NE(doc, nullptr);
        ASSERT_TRUE(WaitFor([&] { return WindowButtons(frame).size() == expected.size() + 1; }, 5000));
        ASSERT_TRUE(viewer.SetTitle(doc, c.title));
        expected.push_back(c.caption);
        EXPECT_TRUE(WaitFor([&] { return Captions() == expected; }, 5000));
    }
    EXPECT_EQ(Captions(), expected);
    // Still there and answering, every window with its button.
    EXPECT_TRUE(vantrel.IsRunning());
    DWORD_PTR result = 0;
    EXPECT_NE(::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result), 0);
    for (HWND doc : viewer.Windows()) EXPECT_TRUE(IsHosted(doc));
}

TEST_F(BadTitles, MenusListFramesOnOneLiteralLineOfBoundedLength) {
    HWND extra = vantrel.NewFrame(frame);
    ASSERT_NE(extra, nullptr);
    struct MenuCase {
        std::wstring title, moveTo, tray;
    };
    const std::wstring ellipsis = L"\u2026";
    const std::vector<MenuCase> cases = {
        {L"", L"Window #1: \"\"", L"Hide Window #1: \"\""},
        {L"a\tb&c\r\n", L"Window #1: \"a b&&c  \"", L"Hide Window #1: \"a b&&c  \""},
        {L"%s%n", L"Window #1: \"%s%n\"", L"Hide Window #1: \"%s%n\""},
        {L"x\xD800y", L"Window #1: \"x\xFFFDy\"", L"Hide Window #1: \"x\xFFFDy\""},
        {std::wstring(10000, L'z'), L"Window #1: \"" + std::wstring(259, L'z') + ellipsis + L"\"",
         L"Hide Window #1: \"" + std::wstring(259, L'z') + ellipsis + L"\""},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(Shown(c.title));
        ASSERT_TRUE(::SetWindowTextW(extra, c.title.c_str()));
        // The test hook hands texts over in atoms of at most 255 characters.
        EXPECT_EQ(FindMenuItem(frame, kTestMoveToMenu, ID_MOVE_TO_FIRST).text, c.moveTo.substr(0, 255));
        EXPECT_EQ(FindMenuItem(frame, kTestSystrayMenu, ID_SYSTRAY_FRAME_FIRST + 1).text, c.tray.substr(0, 255));
    }
    EXPECT_TRUE(vantrel.IsRunning());
}

using DyingWindows = HostingTest;

// Every window of the viewer is hosted in one of `frames`, with as many buttons
// there as it hosts windows, and there is no other button.
testing::AssertionResult OneButtonEach(const std::vector<HWND>& frames, const ViewerProcess& viewer) {
    size_t hosted = 0;
    const auto windows = viewer.Windows();
    for (HWND frame : frames) {
        size_t here = 0;
        for (HWND window : windows) here += ::GetAncestor(window, GA_PARENT) == HostView(frame) ? 1 : 0;
        if (WindowButtons(frame).size() != here)
            return testing::AssertionFailure() << WindowButtons(frame).size() << " buttons for " << here << " windows";
        hosted += here;
    }
    if (hosted != windows.size()) return testing::AssertionFailure() << hosted << " of " << windows.size() << " hosted";
    return testing::AssertionSuccess();
}
testing::AssertionResult OneButtonEach(HWND frame, const ViewerProcess& viewer) {
    return OneButtonEach(std::vector<HWND>{frame}, viewer);
}

TEST_F(DyingWindows, ThatDieInTheMiddleOfAMoveATileOrACaptureLeaveNoButton) {
    std::vector<HWND> docs;
    for (int i = 0; i < 4; ++i) docs.push_back(OpenHosted(L"Doc " + std::to_wstring(i)));
    HWND extra = vantrel.NewFrame(frame);
    ASSERT_NE(extra, nullptr);

    // The commands are queued as the windows go: they run before, between or after.
    ::PostMessageW(WindowButtons(frame)[0], BM_CLICK, 0, 0);
    ::PostMessageW(TaskbarControl(frame), WM_COMMAND, ID_MOVE_TO_FIRST, 0);
    ::PostMessageW(frame, WM_COMMAND, ID_TILE_HORIZONTALLY, 0);
    ::PostMessageW(frame, WM_COMMAND, ID_TILE_VERTICALLY, 0);
    ASSERT_TRUE(viewer.Destroy(docs[0]));
    ASSERT_TRUE(viewer.Destroy(docs[1]));

    // Windows that die as soon as they are born, while the capture takes them in.
    for (int i = 0; i < 10; ++i) {
        HWND brief = viewer.Open(L"Brief " + std::to_wstring(i));
        ASSERT_NE(brief, nullptr);
        if (i % 2 == 0) WaitFor([&] { return IsHosted(brief); }, 100);
        ASSERT_TRUE(viewer.Destroy(brief));
    }
    // The move takes the active window, which the click made the first one unless
    // that had gone by then.
    const std::vector<HWND> frames{frame, extra};
    EXPECT_TRUE(WaitFor([&] { return OneButtonEach(frames, viewer); }, 5000)) << OneButtonEach(frames, viewer).message();
    EXPECT_EQ(viewer.Windows().size(), 2u);
}

TEST_F(DyingWindows, ThatDieWhileCloseAllAsksLeaveNoButton) {
    HWND asks = OpenHosted(L"Asks");
    HWND second = OpenHosted(L"Dies meanwhile");
    OpenHosted(L"Closes");
    ASSERT_TRUE(viewer.MarkModified(asks));

    ::PostMessageW(frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000));
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    // The first document asks whether to save; the second dies while it asks.
    HWND save = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (save = FindMessageBoxOf(viewer.Pid())) != nullptr; }, 5000));
    ASSERT_TRUE(viewer.Destroy(second));
    ASSERT_TRUE(AnswerMessageBox(save, IDCANCEL));

    EXPECT_TRUE(WaitFor([&] { return viewer.Windows().size() == 1 && OneButtonEach(frame, viewer); }, 10000))
        << OneButtonEach(frame, viewer).message();
    EXPECT_TRUE(WaitFor([&] { return Captions() == std::vector<std::wstring>{L"Asks *"}; }, 5000));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Asks *"}));
}

TEST_F(DyingWindows, AWindowTakenOutOfTheFrameByOthersIsTakenInAgainWithOneButton) {
    HWND leaving = OpenHosted(L"Leaving");
    OpenHosted(L"Staying");
    // Its program (here: the test) puts it back on the desktop behind Vantrel's back.
    ::SetParent(leaving, nullptr);
    ASSERT_TRUE(IsTopLevel(leaving));
    const std::vector<std::wstring> expected{L"Staying", L"Leaving"};
    EXPECT_TRUE(WaitFor([&] { return IsHosted(leaving) && Captions() == expected; }, 5000));
    EXPECT_EQ(Captions(), expected);
    EXPECT_TRUE(OneButtonEach(frame, viewer));
}

}  // namespace

namespace {

// The soak test tells a lost document from a closed one by what the viewer says.
TEST_F(DyingWindows, TheViewerTellsHowEachDocumentEnded) {
    HWND closed = OpenHosted(L"Closed");
    HWND destroyed = OpenHosted(L"Destroyed");
    HWND lost = OpenHosted(L"Lost");
    OpenHosted(L"Stays");  // the viewer ends with its last document
    EXPECT_EQ(viewer.HowEnded(closed), viewer_protocol::kStillOpen);

    // Put into a window that is not a frame's, it loses its button there and stays.
    HWND holder = ::CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(holder, nullptr);
    ::SetParent(lost, holder);
    EXPECT_TRUE(WaitFor([&] { return Captions() == std::vector<std::wstring>{L"Closed", L"Destroyed", L"Stays"}; }, 5000));
    EXPECT_EQ(::GetAncestor(lost, GA_PARENT), holder);

    ASSERT_TRUE(viewer.Close(closed));
    ASSERT_TRUE(viewer.Destroy(destroyed));
    ::DestroyWindow(holder);  // takes the document inside with it
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(closed) && !::IsWindow(destroyed) && !::IsWindow(lost); }, 5000));
    EXPECT_EQ(viewer.HowEnded(closed), viewer_protocol::kClosed);
    EXPECT_EQ(viewer.HowEnded(destroyed), viewer_protocol::kDestroyedOnRequest);
    EXPECT_EQ(viewer.HowEnded(lost), viewer_protocol::kDestroyedOtherwise);
    EXPECT_TRUE(WaitFor([&] { return Captions() == std::vector<std::wstring>{L"Stays"}; }, 5000));
}

}  // namespace

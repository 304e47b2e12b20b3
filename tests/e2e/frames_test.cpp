// Additional container frames: New Window and its limit, closing frames, moving
// hosted windows between frames, and the window-manager menu across frames.
#include "e2e_fixture.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kLimitText[] = L"Sorry, you cannot have more than 15 windows (why do you even want more than that?)";
constexpr size_t kMaxAdditionalFrames = 15;

class MultiFrame : public HostingTest {
protected:
    void TearDown() override {
        ReleaseLeftButton();
        HostingTest::TearDown();
    }

    // New Window in the main frame; the frame it made, once shown, or null.
    HWND NewFrame() {
        const auto before = vantrel.Frames();
        ::SendMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);
        return WaitForNewFrame(before);
    }
    HWND WaitForNewFrame(const std::vector<HWND>& before) {
        HWND made = nullptr;
        WaitFor(
            [&] {
                for (HWND f : vantrel.Frames()) {
                    if (std::find(before.begin(), before.end(), f) == before.end()) {
                        made = f;
                        return ::IsWindowVisible(f) != FALSE;
                    }
                }
                return false;
            },
            5000);
        return made;
    }
    static bool HostedIn(HWND owner, HWND window) { return ::GetAncestor(window, GA_PARENT) == HostView(owner); }
    // Moves the window of button `index` of the main frame into registry entry `entry`.
    bool MoveFromMain(size_t index, int entry, HWND target) {
        HWND window = ActivateWindow(frame, index);
        if (window == nullptr) return false;
        const size_t buttons = WindowButtons(target).size();
        WindowCommand(frame, ID_MOVE_TO_FIRST + entry);
        // In, and recorded by the target's next cycle.
        return WaitFor([&] { return HostedIn(target, window) && WindowButtons(target).size() > buttons; }, 3000);
    }
    HWND WaitForBox(DWORD pid) {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindMessageBoxOf(pid)) != nullptr; }, 5000);
        return box;
    }
    static bool TabModeChecked(HWND f) { return FindMenuItem(f, 3, ID_TABMODE).checked; }
};

using Frames = MultiFrame;

TEST_F(Frames, NewWindowMakesPlainFramesUpToFifteen) {
    EXPECT_EQ(WindowTitle(frame), L"Vantrel - [Main window]");
    std::vector<HWND> added;
    for (size_t i = 0; i < kMaxAdditionalFrames; ++i) {
        HWND made = NewFrame();
        ASSERT_NE(made, nullptr) << "frame " << i + 1;
        added.push_back(made);
    }
    for (HWND f : added) EXPECT_EQ(WindowTitle(f), L"Vantrel");
    EXPECT_EQ(vantrel.MainFrame(), frame);
    ASSERT_EQ(vantrel.Frames().size(), kMaxAdditionalFrames + 1);

    // The sixteenth is refused by a box of the main frame, and nothing is made.
    ::PostMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);  // posted: the box is modal
    HWND box = WaitForBox(vantrel.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kLimitText);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), frame);
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(WaitFor([&] { return FindMessageBoxOf(vantrel.Pid()) == nullptr; }, 3000));
    EXPECT_EQ(vantrel.Frames().size(), kMaxAdditionalFrames + 1);

    // A closed frame makes room for one more.
    ::PostMessageW(added[3], WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(added[3]); }, 5000));
    EXPECT_TRUE(vantrel.IsRunning());
    EXPECT_NE(NewFrame(), nullptr);
    EXPECT_EQ(vantrel.Frames().size(), kMaxAdditionalFrames + 1);
    EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr);
}

TEST_F(Frames, AdditionalFramesDisableNewWindowAndExit) {
    HWND extra = NewFrame();
    ASSERT_NE(extra, nullptr);
    for (UINT id : std::initializer_list<UINT>{ID_NEW_WINDOW, ID_APP_EXIT}) {
        const MenuItem inMain = FindMenuItem(frame, 1, id);
        const MenuItem inExtra = FindMenuItem(extra, 1, id);
        ASSERT_EQ(inMain.id, id);
        ASSERT_EQ(inExtra.id, id);
        EXPECT_FALSE(inMain.grayed) << id;
        EXPECT_TRUE(inExtra.grayed) << id;
    }

    // Ctrl+N arrives as an accelerator command (code 1): ignored where disabled.
    ::SendMessageW(extra, WM_COMMAND, MAKEWPARAM(ID_NEW_WINDOW, 1), 0);
    ASSERT_TRUE(WaitForCycles(extra));  // nothing may appear
    EXPECT_EQ(vantrel.Frames().size(), 2u);
    const auto before = vantrel.Frames();
    ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_NEW_WINDOW, 1), 0);
    EXPECT_NE(WaitForNewFrame(before), nullptr);
}

TEST_F(Frames, ClosedFrameHandsItsWindowsToTheMainFrame) {
    HWND extra = NewFrame();
    ASSERT_NE(extra, nullptr);
    OpenHosted(L"Stays.pdf");
    HWND travels = OpenHosted(L"Travels.pdf");
    // Only the main frame captures, though another frame exists.
    EXPECT_TRUE(WindowButtons(extra).empty());

    ASSERT_TRUE(MoveFromMain(1, 0, extra));
    ASSERT_TRUE(WaitFor([&] { return Captions() == Texts{L"Stays.pdf"}; }, 3000));

    ::PostMessageW(extra, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(extra); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Stays.pdf", L"Travels.pdf"}; }, 5000));
    EXPECT_TRUE(IsHosted(travels));
    EXPECT_TRUE(vantrel.IsRunning());
    EXPECT_EQ(vantrel.Frames(), std::vector<HWND>{frame});
}

TEST_F(Frames, ExitClosesEveryFrameAndLeavesTheWindowsOnTheDesktop) {
    HWND inMain = OpenHosted(L"Main one.pdf");
    HWND inExtra = OpenHosted(L"Extra one.pdf");
    HWND first = NewFrame();
    HWND second = NewFrame();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(MoveFromMain(1, 1, second));
    ::ShowWindow(first, SW_HIDE);  // a hidden frame goes too

    ::PostMessageW(frame, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    for (HWND w : {inMain, inExtra}) {
        EXPECT_TRUE(::IsWindow(w));
        EXPECT_TRUE(IsTopLevel(w));
        EXPECT_TRUE(::IsWindowVisible(w));
    }
}

using MoveTo = MultiFrame;

TEST_F(MoveTo, SubmenuNumbersTheAdditionalFramesInOrder) {
    std::vector<HWND> extras;
    for (int i = 0; i < 3; ++i) extras.push_back(NewFrame());
    ASSERT_EQ(std::count(extras.begin(), extras.end(), nullptr), 0);

    auto menu = ReadMenu(frame, kTestMoveToMenu);
    ASSERT_EQ(menu.size(), 6u);
    for (UINT j = 0; j < 3; ++j) {
        EXPECT_EQ(menu[j].id, ID_MOVE_TO_FIRST + j);
        EXPECT_EQ(menu[j].text, L"Window #" + std::to_wstring(j + 1) + L": \"Vantrel\"");
    }
    EXPECT_EQ(menu[3].id, 0u);
    EXPECT_EQ(menu[4].id, static_cast<UINT>(ID_WINDOW_MOVE_TO_NEW));
    EXPECT_EQ(menu[4].text, L"&New Window");
    EXPECT_FALSE(menu[4].grayed);
    EXPECT_EQ(menu[5].id, static_cast<UINT>(ID_WINDOW_MOVE_TO_MAIN));
    EXPECT_EQ(menu[5].text, L"&Main Window");
    EXPECT_TRUE(menu[5].grayed);

    // An additional frame lists no frames, and can send windows to the main one.
    const auto inExtra = ReadMenu(extras[0], kTestMoveToMenu);
    ASSERT_EQ(inExtra.size(), 3u);
    EXPECT_EQ(inExtra[0].id, 0u);
    EXPECT_EQ(inExtra[1].id, static_cast<UINT>(ID_WINDOW_MOVE_TO_NEW));
    EXPECT_EQ(inExtra[2].id, static_cast<UINT>(ID_WINDOW_MOVE_TO_MAIN));
    EXPECT_FALSE(inExtra[2].grayed);

    // Closing the first frame renumbers the others: entry 1 is now the one made second.
    ::PostMessageW(extras[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(extras[0]); }, 5000));
    menu = ReadMenu(frame, kTestMoveToMenu);
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].id, static_cast<UINT>(ID_MOVE_TO_FIRST));
    EXPECT_EQ(menu[0].text, L"Window #1: \"Vantrel\"");
    EXPECT_EQ(menu[1].id, static_cast<UINT>(ID_MOVE_TO_FIRST + 1));
    EXPECT_EQ(menu[1].text, L"Window #2: \"Vantrel\"");
    HWND doc = OpenHosted(L"Numbered.pdf");
    ASSERT_TRUE(MoveFromMain(0, 0, extras[1])) << "went to " << ::GetAncestor(doc, GA_PARENT);
}

TEST_F(MoveTo, WindowsMoveBetweenFramesInEveryDirection) {
    HWND alpha = OpenHosted(L"Alpha.pdf");
    HWND beta = OpenHosted(L"Beta.pdf");
    HWND first = NewFrame();
    HWND second = NewFrame();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    // Main to registry entry 2: hosted there, with a button, once its viewer let it go.
    ASSERT_TRUE(Activate(frame, 0));
    WindowCommand(frame, ID_MOVE_TO_FIRST + 1);
    EXPECT_TRUE(WaitFor([&] { return HostedIn(second, alpha) && WindowButtons(second).size() == 1; }, 3000));
    EXPECT_TRUE(WindowButtons(first).empty());
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Beta.pdf"}; }, 3000));
    // The additional frame keeps the caption in step.
    viewer.SetTitle(alpha, L"Alpha renamed.pdf");
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(second) == Texts{L"Alpha renamed.pdf"}; }, 3000));

    // "Main Window" in the main frame itself does nothing.
    ASSERT_TRUE(Activate(frame, 0));
    WindowCommand(frame, ID_WINDOW_MOVE_TO_MAIN);
    ASSERT_TRUE(WaitForCycles(frame));  // nothing may change
    EXPECT_TRUE(IsHosted(beta));
    EXPECT_EQ(Captions(), Texts{L"Beta.pdf"});

    // Back to the main frame, at the end of its row.
    ASSERT_TRUE(Activate(second, 0));
    WindowCommand(second, ID_WINDOW_MOVE_TO_MAIN);
    EXPECT_TRUE(WaitFor([&] { return IsHosted(alpha) && WindowButtons(frame).size() == 2; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Beta.pdf", L"Alpha renamed.pdf"}; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return WindowButtons(second).empty(); }, 3000));

    // From an additional frame to a new one: the main frame's registry gets it.
    ASSERT_TRUE(MoveFromMain(0, 0, first));
    ASSERT_TRUE(Activate(first, 0));
    const auto before = vantrel.Frames();
    WindowCommand(first, ID_WINDOW_MOVE_TO_NEW);
    HWND third = WaitForNewFrame(before);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(WaitFor([&] { return HostedIn(third, beta); }, 3000));
    EXPECT_EQ(WindowTitle(third), L"Vantrel");
    EXPECT_TRUE(WaitFor([&] { return WindowButtons(first).empty(); }, 3000));
    const auto menu = ReadMenu(frame, kTestMoveToMenu);
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[2].id, static_cast<UINT>(ID_MOVE_TO_FIRST + 2));
}

TEST_F(MoveTo, NewWindowAtTheLimitMovesToTheNewestFrame) {
    HWND doc = OpenHosted(L"Latecomer.pdf");
    std::vector<HWND> extras;
    for (size_t i = 0; i < kMaxAdditionalFrames; ++i) extras.push_back(NewFrame());
    ASSERT_NE(extras.back(), nullptr);
    ASSERT_TRUE(Activate(frame, 0));

    ::PostMessageW(TaskbarControl(frame), WM_COMMAND, ID_WINDOW_MOVE_TO_NEW, 0);  // posted: the box is modal
    HWND box = WaitForBox(vantrel.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kLimitText);
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(WaitFor([&] { return HostedIn(extras.back(), doc); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(extras.back()) == Texts{L"Latecomer.pdf"}; }, 3000));
    EXPECT_EQ(vantrel.Frames().size(), kMaxAdditionalFrames + 1);
}

using WindowManagerMenu = MultiFrame;

TEST_F(WindowManagerMenu, ChecksAndTogglesReadTheStoredValue) {
    HWND extra = NewFrame();
    ASSERT_NE(extra, nullptr);
    auto checked = [](HWND f, UINT id) { return FindMenuItem(f, 3, id).checked; };
    EXPECT_FALSE(checked(frame, ID_BRING_TO_FRONT));
    // Written from outside while running: every menu shows it.
    WriteProfileDword(L"Settings", L"BringToFront", 1);
    EXPECT_TRUE(checked(frame, ID_BRING_TO_FRONT));
    EXPECT_TRUE(checked(extra, ID_BRING_TO_FRONT));
    ::SendMessageW(extra, WM_COMMAND, ID_BRING_TO_FRONT, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"BringToFront"), 0u);
    EXPECT_FALSE(checked(frame, ID_BRING_TO_FRONT));

    // A stored 2 is not "on": the toggle turns it into 0, and tab mode stays off.
    HWND doc = OpenHosted(L"Plain.pdf");
    WriteProfileDword(L"Settings", L"TabMode", 2);
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"TabMode"), 0u);
    EXPECT_FALSE(TabModeChecked(frame));
    ASSERT_TRUE(WaitForTitleReads(frame));  // tab mode would have maximized the window by now
    EXPECT_FALSE(::IsZoomed(doc));
}

TEST_F(WindowManagerMenu, TabModeFromAnAdditionalFrameAppliesToEveryFrame) {
    HWND inMain = OpenHosted(L"In main.pdf");
    HWND inExtra = OpenHosted(L"In extra.pdf");
    HWND extra = NewFrame();
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(MoveFromMain(1, 0, extra));
    ASSERT_FALSE(::IsZoomed(inMain));
    ASSERT_FALSE(::IsZoomed(inExtra));

    ::SendMessageW(extra, WM_COMMAND, ID_TABMODE, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"TabMode"), 1u);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(inMain) && ::IsZoomed(inExtra); }, 3000));
    EXPECT_TRUE(TabModeChecked(frame));
    EXPECT_TRUE(TabModeChecked(extra));

    // A frame made now starts in tab mode: it maximizes a window again that is restored in it.
    HWND later = NewFrame();
    ASSERT_NE(later, nullptr);
    ASSERT_TRUE(MoveFromMain(0, 1, later));
    ::ShowWindow(inMain, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(inMain) != FALSE; }, 3000));
    EXPECT_TRUE(TabModeChecked(later));

    // Off from the main frame: every menu follows.
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    for (HWND f : {frame, extra, later}) EXPECT_FALSE(TabModeChecked(f));
}

TEST_F(WindowManagerMenu, DockAtBottomBringsAFloatingPaneBackInItsOwnFrame) {
    HWND extra = NewFrame();
    ASSERT_NE(extra, nullptr);
    // Known places on the screen, apart. The main frame is put in front first, so
    // that the wait below ends only once the click has made the additional frame
    // the foreground window (see TaskbarMouse).
    ::SetWindowPos(frame, nullptr, 10, 640, 900, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(extra, nullptr, 10, 10, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000));
    HWND pane = TaskbarPane(extra);
    ASSERT_NE(pane, nullptr);
    RECT rc{};
    ::GetWindowRect(pane, &rc);
    MoveMouseTo(CenterOf(HostView(extra)));
    PressLeftButton();
    ReleaseLeftButton();
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == extra; }, 3000));

    // Dragged by its caption strip, the pane floats. (The click above was elsewhere:
    // a second press on the same spot would be a double click.)
    const POINT caption{rc.left + 60, rc.top + 12};
    ASSERT_TRUE(PressLeftButtonOn(pane, caption));
    MoveMouseTo(POINT{caption.x + 30, caption.y - 200});
    ASSERT_TRUE(WaitFor([&] { return ::GetParent(pane) != extra; }, 3000));
    HWND floating = ::GetParent(pane);
    ASSERT_TRUE(WaitFor([&] { return CaptureOf(floating) == floating; }, 3000));  // the move loop
    ReleaseLeftButton();
    ASSERT_TRUE(WaitFor([&] { return CaptureOf(floating) == nullptr; }, 3000));

    ::SendMessageW(extra, WM_COMMAND, ID_DOCK_TASKBAR_BOTTOM, 0);
    ASSERT_EQ(::GetParent(pane), extra);
    EXPECT_TRUE(DockedAtBottom(extra, pane));
}

}  // namespace

// The notification-area icon, the tray menu and its commands, frames hidden on
// close or minimize, and renaming frames. The icon is looked up in Wine's real
// notification area: asking it to modify an icon succeeds only for an icon it holds.
#include "e2e_fixture.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "input.h"
#include "resource.h"

namespace {

const wchar_t kRenameCaption[] = L"Please enter new window name";

bool TrayIconExists(HWND frame) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = frame;
    probe.uID = 1;
    probe.uFlags = 0;  // changes nothing
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

void TypeKey(WORD key) {
    PressKey(key);
    ReleaseKey(key);
}

class Tray : public HostingTest {
protected:
    void PrepareProfile() override { WriteProfileDword(L"Systray", L"Enable", 1); }
    void SetUp() override {
        HostingTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(WaitFor([&] { return TrayIconExists(frame); }, 5000));
    }
    HWND NewFrame() { return vantrel.NewFrame(frame); }
    std::vector<MenuItem> TrayMenu() { return ReadMenu(frame, kTestSystrayMenu); }
    // Opens the tray menu as a right click on the icon does, and waits for it.
    HWND OpenTrayMenu() {
        ::PostMessageW(frame, WM_SYSTRAY_NOTIFY, 1, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        WaitFor([&] { return (menu = OpenPopupMenuOf(vantrel.Pid())) != nullptr; }, 5000);
        return menu;
    }
    bool WaitForMenuClosed() {
        return WaitFor([&] { return OpenPopupMenuOf(vantrel.Pid()) == nullptr; }, 5000);
    }
};

TEST_F(Tray, IconIsAddedOnceAgainWhenTheShellRestartsAndGoesWithItsCommand) {
    // A restarted shell has forgotten every icon, then tells every top-level window.
    NOTIFYICONDATAW forget{};
    forget.cbSize = sizeof forget;
    forget.hWnd = frame;
    forget.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &forget));
    ASSERT_FALSE(TrayIconExists(frame));
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return TrayIconExists(frame); }, 5000));

    // An additional frame never has an icon of its own.
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(TrayIconExists(second));

    ::ShowWindow(frame, SW_HIDE);
    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_HIDE_ICON, 0);
    EXPECT_FALSE(TrayIconExists(frame));
    EXPECT_EQ(ReadProfileDword(L"Systray", L"Enable"), 0u);
    EXPECT_TRUE(::IsWindowVisible(frame));  // nothing stays hidden without the icon

    // Switched off, a new shell does not bring it back.
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ::SendMessageW(frame, WM_NULL, 0, 0);
    EXPECT_FALSE(TrayIconExists(frame));

    // "Enable systray" from the additional frame acts on the main frame's icon.
    ::SendMessageW(second, WM_COMMAND, ID_SYSTRAY_ENABLE, 0);
    EXPECT_TRUE(TrayIconExists(frame));
    EXPECT_FALSE(TrayIconExists(second));
}

TEST_F(Tray, MenuListsEveryFrameByPositionWithChecksForTheVisibleOnes) {
    auto items = TrayMenu();
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].id, 32768u);
    EXPECT_EQ(items[0].text, L"Hide main \"Vantrel - [Main window]\"");
    EXPECT_TRUE(items[0].checked);
    const std::vector<std::pair<UINT, std::wstring>> rest = {
        {0, L""},           {33797, L"&Hide all"},          {33796, L"Show all"}, {0, L""},
        {33773, L"&New window"}, {33800, L"&Hide systray icon"}, {0, L""},         {33795, L"&Exit"}};
    for (size_t i = 0; i < rest.size(); ++i) {
        EXPECT_EQ(items[i + 1].id, rest[i].first) << i;
        EXPECT_EQ(items[i + 1].text, rest[i].second) << i;
    }

    HWND first = NewFrame();
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    ::ShowWindow(second, SW_HIDE);
    items = TrayMenu();
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[1].id, 32769u);
    EXPECT_EQ(items[1].text, L"Hide Window #1: \"Vantrel\"");
    EXPECT_TRUE(items[1].checked);
    EXPECT_EQ(items[2].id, 32770u);
    EXPECT_EQ(items[2].text, L"Show Window #2: \"Vantrel\"");
    EXPECT_FALSE(items[2].checked);
    EXPECT_EQ(items[3].id, 0u);  // the frame entries stand above the first separator

    // Closing the first renumbers the second.
    ::SendMessageW(first, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(first); }, 5000));
    items = TrayMenu();
    EXPECT_EQ(items[1].id, 32769u);
    EXPECT_EQ(items[1].text, L"Show Window #1: \"Vantrel\"");
    EXPECT_EQ(items[2].id, 0u);
}

TEST_F(Tray, FrameEntriesHideAllShowAllAndTheCallback) {
    HWND first = NewFrame();
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    HWND doc = OpenHosted(L"Kept");

    ::SendMessageW(frame, WM_COMMAND, 32770, 0);  // second additional frame
    EXPECT_FALSE(::IsWindowVisible(second));
    EXPECT_TRUE(::IsWindowVisible(first));
    ::SendMessageW(frame, WM_COMMAND, 32770, 0);
    EXPECT_TRUE(::IsWindowVisible(second));
    ::SendMessageW(frame, WM_COMMAND, 32768, 0);  // the main frame
    EXPECT_FALSE(::IsWindowVisible(frame));
    ::SendMessageW(frame, WM_COMMAND, 32768, 0);
    EXPECT_TRUE(::IsWindowVisible(frame));
    ::SendMessageW(frame, WM_COMMAND, 32771, 0);  // no third frame: nothing happens
    EXPECT_TRUE(::IsWindowVisible(frame) && ::IsWindowVisible(first) && ::IsWindowVisible(second));

    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_HIDE_ALL, 0);
    EXPECT_FALSE(::IsWindowVisible(frame) || ::IsWindowVisible(first) || ::IsWindowVisible(second));
    EXPECT_TRUE(IsHosted(doc));  // hidden frames keep their windows
    EXPECT_EQ(TrayMenu().size(), 11u);  // and their places

    // Another icon's callback is not ours.
    EXPECT_EQ(::SendMessageW(frame, WM_SYSTRAY_NOTIFY, 2, WM_LBUTTONDBLCLK), 1);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(::SendMessageW(frame, WM_SYSTRAY_NOTIFY, 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(::IsWindowVisible(frame) && ::IsWindowVisible(first) && ::IsWindowVisible(second));

    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_HIDE_ALL, 0);
    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_SHOW_ALL, 0);
    EXPECT_TRUE(::IsWindowVisible(frame) && ::IsWindowVisible(first) && ::IsWindowVisible(second));
}

TEST_F(Tray, MenuClosesOnEscapeOrAClickElsewhereAndItsCommandsReachTheMainFrame) {
    HWND menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    TypeKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed());

    menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    RECT rc{};
    ::GetWindowRect(menu, &rc);
    MoveMouseTo(POINT{rc.left > 60 ? rc.left - 50 : rc.right + 50, rc.top});
    PressLeftButton();
    ReleaseLeftButton();
    EXPECT_TRUE(WaitForMenuClosed());

    // With an additional frame in front, "&New window" still makes a frame of the
    // main frame's registry.
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    ::SetForegroundWindow(second);
    // Taken late, the activation would close the menu before the key comes.
    ASSERT_TRUE(WaitFor([&] { return ActiveOf(second) == second; }, 3000));
    const size_t frames = vantrel.Frames().size();
    ASSERT_NE(OpenTrayMenu(), nullptr);
    TypeKey('N');
    EXPECT_TRUE(WaitForMenuClosed());
    EXPECT_TRUE(WaitFor([&] { return vantrel.Frames().size() == frames + 1; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return TrayMenu().size() == 11u; }, 3000));
}

TEST_F(Tray, ExitEndsTheProgramEvenWithHideOnCloseAndLeavesEveryWindowOnTheDesktop) {
    WriteProfileDword(L"Systray", L"OnClose", 1);
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    HWND inMain = OpenHosted(L"Main doc");
    HWND moved = OpenHosted(L"Moved doc");
    ASSERT_TRUE(Activate(frame, 1));
    WindowCommand(frame, ID_MOVE_TO_FIRST);
    ASSERT_TRUE(WaitFor([&] { return ::GetAncestor(moved, GA_PARENT) == HostView(second); }, 3000));

    ::PostMessageW(frame, WM_COMMAND, ID_SYSTRAY_EXIT, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    EXPECT_TRUE(::IsWindow(inMain) && IsTopLevel(inMain));
    EXPECT_TRUE(::IsWindow(moved) && IsTopLevel(moved));
    EXPECT_FALSE(TrayIconExists(frame));
}

using HideToTray = HostingTest;

TEST_F(HideToTray, CloseAndMinimizeHideAnAdditionalFrameThatKeepsItsWindowsAndPlace) {
    WriteProfileDword(L"Systray", L"OnClose", 1);
    WriteProfileDword(L"Systray", L"OnMinimize", 1);
    const auto before = vantrel.Frames();
    ::SendMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);
    HWND second = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND f : vantrel.Frames())
                if (std::find(before.begin(), before.end(), f) == before.end()) second = f;
            return second != nullptr && ::IsWindowVisible(second);
        },
        5000));
    HWND doc = OpenHosted(L"Travelling");
    ASSERT_TRUE(Activate(frame, 0));
    WindowCommand(frame, ID_MOVE_TO_FIRST);
    ASSERT_TRUE(WaitFor([&] { return ::GetAncestor(doc, GA_PARENT) == HostView(second); }, 3000));

    ::SendMessageW(second, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindowVisible(second));
    EXPECT_TRUE(::IsWindow(second));
    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_FRAME_FIRST + 1, 0);
    EXPECT_TRUE(::IsWindowVisible(second));
    ::SendMessageW(second, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(second));
    EXPECT_FALSE(::IsIconic(second));
    EXPECT_EQ(::GetAncestor(doc, GA_PARENT), HostView(second));
    EXPECT_EQ(FindMenuItem(frame, kTestSystrayMenu, ID_SYSTRAY_FRAME_FIRST + 1).text, L"Show Window #1: \"Vantrel\"");
}

// With the tray icon off there is no menu to bring hidden frames back: starting
// Vantrel again does.
TEST_F(HideToTray, FramesHiddenWithoutTheIconComeBackWhenVantrelStartsAgain) {
    WriteProfileDword(L"Systray", L"OnClose", 1);
    const auto before = vantrel.Frames();
    ::SendMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);
    ASSERT_TRUE(WaitFor([&] { return vantrel.Frames().size() == before.size() + 1; }, 5000));
    for (HWND f : vantrel.Frames()) {
        ASSERT_TRUE(WaitFor([f] { return ::IsWindowVisible(f) != FALSE; }, 5000));
        ::SendMessageW(f, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(::IsWindowVisible(f));
    }
    VantrelProcess again;
    again.Start();
    ASSERT_TRUE(again.WaitForExit(10000));
    for (HWND f : vantrel.Frames()) EXPECT_TRUE(WaitFor([f] { return ::IsWindowVisible(f) != FALSE; }, 5000));
}

class Rename : public HostingTest {
protected:
    HWND WaitForRenameDialog() {
        HWND dialog = nullptr;
        WaitFor(
            [&] {
                dialog = FindMessageBoxOf(vantrel.Pid());
                return dialog != nullptr && WindowTitle(dialog) == kRenameCaption;
            },
            5000);
        return dialog;
    }
    // Opens the dialog in `owner`, types `name` and ends it with `key` (Enter or Escape).
    void RenameWith(HWND owner, const std::wstring& name, WORD key) {
        ::PostMessageW(owner, WM_COMMAND, ID_CHANGE_WINDOW_NAME, 0);
        HWND dialog = WaitForRenameDialog();
        ASSERT_NE(dialog, nullptr);
        HWND edit = ::GetDlgItem(dialog, IDC_WINDOW_NAME);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(WindowTitle(edit), L"");  // empty at every opening
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        // Keys as the dialog's own loop sees them.
        ::PostMessageW(edit, WM_KEYDOWN, key, 0);
        ::PostMessageW(edit, WM_KEYUP, key, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
        // Answered once the command that ran the dialog has returned.
        ::SendMessageW(owner, WM_NULL, 0, 0);
    }
};

TEST_F(Rename, TitlesAreRebuiltFromTheNameAndEscapeChangesNothing) {
    RenameWith(frame, L"Left", VK_RETURN);
    EXPECT_EQ(WindowTitle(frame), L"Left - Vantrel - [Main window]");
    RenameWith(frame, L"Right", VK_RETURN);
    EXPECT_EQ(WindowTitle(frame), L"Right - Vantrel - [Main window]");
    RenameWith(frame, L"Never", VK_ESCAPE);
    EXPECT_EQ(WindowTitle(frame), L"Right - Vantrel - [Main window]");
    RenameWith(frame, L"", VK_RETURN);
    EXPECT_EQ(WindowTitle(frame), L" - Vantrel - [Main window]");

    const auto before = vantrel.Frames();
    ::SendMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);
    HWND second = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND f : vantrel.Frames())
                if (std::find(before.begin(), before.end(), f) == before.end()) second = f;
            return second != nullptr && ::IsWindowVisible(second);
        },
        5000));
    RenameWith(second, L"", VK_RETURN);
    EXPECT_EQ(WindowTitle(second), L" - Vantrel");
    RenameWith(second, L"R&D", VK_RETURN);
    EXPECT_EQ(WindowTitle(second), L"R&D - Vantrel");

    // Menus that list frames show the new title literally the next time they open.
    EXPECT_EQ(FindMenuItem(frame, kTestSystrayMenu, ID_SYSTRAY_FRAME_FIRST + 1).text,
              L"Hide Window #1: \"R&&D - Vantrel\"");
    EXPECT_EQ(FindMenuItem(frame, kTestMoveToMenu, ID_MOVE_TO_FIRST).text, L"Window #1: \"R&&D - Vantrel\"");

    // The "Cancel" button changes nothing either.
    ::PostMessageW(second, WM_COMMAND, ID_CHANGE_WINDOW_NAME, 0);
    HWND dialog = WaitForRenameDialog();
    ASSERT_NE(dialog, nullptr);
    ::SetDlgItemTextW(dialog, IDC_WINDOW_NAME, L"Ignored");
    EXPECT_TRUE(AnswerMessageBox(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
    EXPECT_EQ(WindowTitle(second), L"R&D - Vantrel");
}

TEST_F(Rename, CtrlShiftNOpensTheDialog) {
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000));
    PressKey(VK_CONTROL);
    PressKey(VK_SHIFT);
    TypeKey('N');
    ReleaseKey(VK_SHIFT);
    ReleaseKey(VK_CONTROL);
    HWND dialog = WaitForRenameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(AnswerMessageBox(dialog, IDCANCEL));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
    EXPECT_EQ(vantrel.Frames().size(), 1u);  // not New Window
}

}  // namespace

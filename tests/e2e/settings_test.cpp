#include "e2e_fixture.h"

#include <algorithm>

#include "resource.h"

namespace {

// The first tick has run once the run is counted.
bool StartAndWait(VantrelProcess& vantrel, const std::wstring& args = L"") {
    return vantrel.Start(args) &&
           WaitFor([] { return ReadProfileDword(L"Stats", L"ApplicationRuns").has_value(); }, 10000);
}

using Settings = VantrelTest;

TEST_F(Settings, EmptyProfileWritesOnlyTheRunCounterAndTheLook) {
    {
        VantrelProcess vantrel;
        ASSERT_TRUE(StartAndWait(vantrel));
        EXPECT_EQ(ReadProfileDword(L"Stats", L"ApplicationRuns"), 1u);
        EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 210u);
        for (auto [section, entry] : {std::pair{L"Settings", L"TabMode"}, {L"Settings", L"BringToFront"},
                                      {L"Settings", L"StartOnBoot"}, {L"Systray", L"Enable"},
                                      {L"Systray", L"OnClose"}, {L"Systray", L"OnMinimize"}}) {
            EXPECT_FALSE(ProfileValueExists(section, entry));
        }
    }
    // The counter goes on from the stored value at the next start.
    VantrelProcess again;
    ASSERT_TRUE(again.Start());
    EXPECT_TRUE(WaitFor([] { return ReadProfileDword(L"Stats", L"ApplicationRuns") == 2u; }, 10000));
}

TEST_F(Settings, StoredTwoCountsAsOnAndTogglesToZero) {
    WriteProfileDword(L"Systray", L"Enable", 1);  // the hide-on commands need the tray
    WriteProfileDword(L"Systray", L"OnMinimize", 2);
    WriteProfileDword(L"Settings", L"TabMode", 2);
    WriteProfileDword(L"Settings", L"BringToFront", 2);
    VantrelProcess vantrel;
    ASSERT_TRUE(StartAndWait(vantrel, L"/MINIMIZE"));
    HWND frame = vantrel.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(::IsWindowVisible(frame));  // 2 is on: hidden rather than minimized
    // and every menu that shows the setting shows it on.
    for (UINT id : {ID_TABMODE, ID_BRING_TO_FRONT}) EXPECT_TRUE(FindMenuItem(frame, 3, id).checked) << "command " << id;

    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    ::SendMessageW(frame, WM_COMMAND, ID_BRING_TO_FRONT, 0);
    ::SendMessageW(frame, WM_COMMAND, ID_SYSTRAY_HIDE_ON_MINIMIZE, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"TabMode"), 0u);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"BringToFront"), 0u);
    EXPECT_EQ(ReadProfileDword(L"Systray", L"OnMinimize"), 0u);
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"TabMode"), 1u);
}

TEST_F(Settings, MalformedValuesReadAsTheirDefaults) {
    const wchar_t text[] = L"1";
    WriteProfileRaw(L"Systray", L"OnMinimize", REG_SZ, text, sizeof text);       // a string
    const unsigned char runs[8] = {7, 0, 0, 0, 0, 0, 0, 0};
    WriteProfileRaw(L"Stats", L"ApplicationRuns", REG_BINARY, runs, sizeof runs);  // not a DWORD
    const unsigned long long look = 206;
    WriteProfileRaw(L"Workspace", L"ApplicationLook", REG_QWORD, &look, sizeof look);
    const unsigned char shortValue[2] = {1, 0};
    WriteProfileRaw(L"Systray", L"OnClose", REG_DWORD, shortValue, sizeof shortValue);  // truncated
    WriteProfileRaw(L"Settings", L"TabMode", REG_SZ, text, sizeof text);
    WriteProfileRaw(L"Settings", L"BringToFront", REG_BINARY, runs, sizeof runs);
    const wchar_t multi[] = L"1\0\0";
    WriteProfileRaw(L"Settings", L"StartOnBoot", REG_MULTI_SZ, multi, sizeof multi);
    WriteProfileRaw(L"Systray", L"Enable", REG_DWORD, shortValue, 1);  // one byte

    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start(L"/MINIMIZE"));
    ASSERT_TRUE(WaitFor([] { return ReadProfileDword(L"Stats", L"ApplicationRuns") == 1u; }, 10000));
    ASSERT_TRUE(vantrel.WaitForStartup());
    EXPECT_TRUE(::IsIconic(vantrel.MainFrame()));  // OnMinimize read as 0
    EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 210u);
    HWND frame = vantrel.MainFrame();
    EXPECT_FALSE(FindMenuItem(frame, 3, ID_TABMODE).checked);
    EXPECT_FALSE(FindMenuItem(frame, 3, ID_BRING_TO_FRONT).checked);
    EXPECT_FALSE(FindMenuItem(frame, 1, ID_START_WITH_WINDOWS).checked);
    EXPECT_FALSE(FindMenuItem(frame, 0, ID_SYSTRAY_ENABLE).checked);

    // Close reads OnClose as 0, so it really closes.
    ::PostMessageW(vantrel.MainFrame(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(vantrel.WaitForExit(10000));
}

TEST_F(Settings, HideOnCloseAndMinimizeHideTheFrame) {
    WriteProfileDword(L"Systray", L"OnClose", 1);
    WriteProfileDword(L"Systray", L"OnMinimize", 1);
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start());
    ASSERT_TRUE(vantrel.WaitForStartup());
    HWND frame = vantrel.MainFrame();
    ::SendMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_FALSE(::IsIconic(frame));
    ::ShowWindow(frame, SW_SHOW);
    ::SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_TRUE(vantrel.IsRunning());
}

using SystemMenu = VantrelTest;

// The system menu ends as: Restore, Move, Size, Minimize, Maximize, separator,
// "&File menu", "Enable systray", separator, Close.
TEST_F(SystemMenu, GainsTheFileMenuAndSystrayItemsBeforeClose) {
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start());
    ASSERT_TRUE(vantrel.WaitForStartup());
    const auto items = ReadMenu(vantrel.MainFrame(), 0);
    // Some systems add items after Close; the additions are placed relative to Close.
    const auto close = std::find_if(items.begin(), items.end(), [](const MenuItem& i) { return i.id == SC_CLOSE; });
    ASSERT_NE(close, items.end());
    ASSERT_GE(close - items.begin(), 5);
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const MenuItem& i) { return i.id == SC_CLOSE; }), 1);
    EXPECT_EQ(close[-1].id, 0u);  // separator
    EXPECT_EQ(close[-2].id, static_cast<UINT>(ID_SYSTRAY_ENABLE));
    EXPECT_EQ(close[-2].text, L"Enable systray");
    EXPECT_FALSE(close[-2].checked);
    EXPECT_EQ(close[-3].id, static_cast<UINT>(ID_SYSMENU_FILE_MENU));
    EXPECT_EQ(close[-3].text, L"&File menu");
    EXPECT_TRUE(close[-3].checked);  // the menu bar is shown
    EXPECT_EQ(close[-4].id, 0u);
    EXPECT_EQ(close[-5].id, static_cast<UINT>(SC_MAXIMIZE));
}

TEST_F(SystemMenu, FileMenuItemTogglesTheMenuBar) {
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start());
    ASSERT_TRUE(vantrel.WaitForStartup());
    HWND frame = vantrel.MainFrame();
    EXPECT_NE(::GetMenu(frame), nullptr);
    ::SendMessageW(frame, WM_SYSCOMMAND, ID_SYSMENU_FILE_MENU, 0);
    EXPECT_EQ(::GetMenu(frame), nullptr);
    EXPECT_FALSE(FindMenuItem(frame, 0, ID_SYSMENU_FILE_MENU).checked);
    ::SendMessageW(frame, WM_SYSCOMMAND, ID_SYSMENU_FILE_MENU, 0);
    EXPECT_NE(::GetMenu(frame), nullptr);
}

TEST_F(SystemMenu, TaskbarToggleHidesAndShowsThePaneAndTheViewFollows) {
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start());
    ASSERT_TRUE(vantrel.WaitForStartup());
    HWND frame = vantrel.MainFrame();
    RECT before{}, after{};
    ::GetWindowRect(HostView(frame), &before);
    ::SendMessageW(frame, WM_COMMAND, ID_WINDOW_TASKBAR, 0);
    EXPECT_FALSE(::IsWindowVisible(TaskbarPane(frame)));
    ::GetWindowRect(HostView(frame), &after);
    EXPECT_GT(after.bottom, before.bottom);
    ::SendMessageW(frame, WM_COMMAND, ID_WINDOW_TASKBAR, 0);
    EXPECT_TRUE(::IsWindowVisible(TaskbarPane(frame)));
    ::GetWindowRect(HostView(frame), &after);
    EXPECT_EQ(after.bottom, before.bottom);
}

}  // namespace

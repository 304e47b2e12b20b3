#include "e2e_fixture.h"

#include "resource.h"

namespace {

bool Counted(DWORD runs) {
    return WaitFor([runs] { return ReadProfileDword(L"Stats", L"ApplicationRuns") == runs; }, 10000);
}

using Startup = VantrelTest;

TEST_F(Startup, MainFrameIsTitledAndHiddenUntilItsFirstTick) {
    VantrelProcess vantrel;
    // A slow first tick leaves time to try showing the frame before it.
    ASSERT_TRUE(vantrel.Start(L"", {L"VANTREL_TEST_STARTUP_MS=1500"}));
    HWND frame = vantrel.Frames().front();
    // The window exists a moment before its creation handler has titled it.
    EXPECT_TRUE(WaitFor([frame] { return WindowTitle(frame) == L"Vantrel - [Main window]"; }, 5000))
        << "title: " << testing::PrintToString(WindowTitle(frame));
    ::ShowWindow(frame, SW_SHOW);
    ::SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_FALSE(ProfileValueExists(L"Stats", L"ApplicationRuns"));

    ASSERT_TRUE(vantrel.WaitForStartup());
    EXPECT_FALSE(::IsIconic(frame));
    EXPECT_EQ(ReadProfileDword(L"Stats", L"ApplicationRuns"), 1u);

    // The frame's parts are there, found by their ids.
    EXPECT_NE(HostView(frame), nullptr);
    EXPECT_TRUE(::IsWindowVisible(TaskbarPane(frame)));
    EXPECT_EQ(WindowTitle(TaskbarPane(frame)), L"Windows taskbar");
    EXPECT_NE(TaskbarControl(frame), nullptr);
    HWND caption = ::GetDlgItem(frame, kCaptionBarId);
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(::IsWindowVisible(caption));
    HWND status = ::GetDlgItem(frame, ID_VIEW_STATUS_BAR);
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(::IsWindowVisible(status));
}

TEST_F(Startup, MinimizeSwitchInAnyLetterCaseStartsMinimized) {
    for (const wchar_t* args : {L"/MINIMIZE", L"/minimize", L"/MiNiMiZe"}) {
        SCOPED_TRACE(testing::Message() << "argument " << std::string(args, args + wcslen(args)));
        ResetProfile();
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.Start(args));
        ASSERT_TRUE(vantrel.WaitForStartup());
        EXPECT_TRUE(::IsIconic(vantrel.MainFrame()));
    }
}

TEST_F(Startup, MinimizeSwitchWithHideOnMinimizeStartsHidden) {
    WriteProfileDword(L"Systray", L"OnMinimize", 1);
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start(L"/Minimize"));
    ASSERT_TRUE(Counted(1));
    HWND frame = vantrel.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_TRUE(vantrel.IsRunning());
}

TEST_F(Startup, OtherArgumentsAreIgnored) {
    for (const wchar_t* args : {L"/MINIMIZE now", L"/MINIMIZED", L"-minimize", L"document.pdf"}) {
        SCOPED_TRACE(testing::Message() << "argument " << std::string(args, args + wcslen(args)));
        ResetProfile();
        WriteProfileDword(L"Systray", L"OnMinimize", 1);
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.Start(args));
        ASSERT_TRUE(vantrel.WaitForStartup());
        EXPECT_FALSE(::IsIconic(vantrel.MainFrame()));
    }
}

// A first frame that cannot be made ends the program quietly, whether its window
// existed for a moment or never did.
TEST_F(Startup, FailedFrameCreationEndsTheProgramCleanly) {
    for (const wchar_t* failure : {L"create", L"register"}) {
        SCOPED_TRACE(std::string(failure, failure + wcslen(failure)));
        VantrelProcess failing;
        // A frame whose creation fails late may be seen for a moment: Start may say
        // either; what counts is that the program ends, cleanly.
        failing.Start(L"", {std::wstring(L"VANTREL_TEST_FAIL_FRAME=") + failure});
        ASSERT_TRUE(failing.WaitForExit(10000));
        EXPECT_EQ(failing.ExitCode(), 0u);
    }
}

TEST_F(Startup, ExitClosesTheProgram) {
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start());
    ASSERT_TRUE(vantrel.WaitForStartup());
    ::PostMessageW(vantrel.MainFrame(), WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    EXPECT_EQ(vantrel.ExitCode(), 0u);
}

using SecondCopy = VantrelTest;

TEST_F(SecondCopy, HandsOverToTheRunningCopyAndLeaves) {
    VantrelProcess first;
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitForStartup());
    HWND main = first.MainFrame();
    ::ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitFor([main] { return !::IsWindowVisible(main); }, 5000));

    VantrelProcess second;
    second.Start();  // may already be gone by the time its frame would be looked for
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);

    // The running copy shows itself again; it is still the one main frame, and it
    // counted one run only.
    EXPECT_TRUE(WaitFor([main] { return ::IsWindowVisible(main) != FALSE; }, 5000));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(ReadProfileDword(L"Stats", L"ApplicationRuns"), 1u);
}

}  // namespace

// Whatever way Vantrel ends, the documents it hosted stay on the desktop.
#include "e2e_fixture.h"

#include "app/Messages.h"
#include "resource.h"

namespace {

class Survival : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
    }

    // Starts Vantrel and has it host two documents.
    void StartHosting() {
        ASSERT_TRUE(vantrel.Start());
        ASSERT_TRUE(vantrel.WaitForStartup());
        docs = {viewer.Open(L"Survivor A.pdf"), viewer.Open(L"Survivor B.pdf")};
        HWND frame = vantrel.MainFrame();
        ASSERT_TRUE(WaitFor([frame] { return WindowButtons(frame).size() == 2; }, 5000));
        for (HWND doc : docs) ASSERT_FALSE(IsTopLevel(doc));
    }

    void ExpectDocumentsOnTheDesktop() {
        for (HWND doc : docs) {
            EXPECT_TRUE(::IsWindow(doc));
            EXPECT_TRUE(IsTopLevel(doc));
            EXPECT_TRUE(::IsWindowVisible(doc));
        }
    }

    void Crash(TestCrash kind) {
        StartHosting();
        ::PostMessageW(vantrel.MainFrame(), WM_VANTREL_TEST_CRASH, static_cast<WPARAM>(kind), 0);
        ASSERT_TRUE(vantrel.WaitForExit(15000));
        EXPECT_NE(vantrel.ExitCode(), 0u);
        ExpectDocumentsOnTheDesktop();
    }

    ViewerProcess viewer;
    VantrelProcess vantrel;
    std::vector<HWND> docs;
};

TEST_F(Survival, ExitCommand) {
    StartHosting();
    ::PostMessageW(vantrel.MainFrame(), WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    ExpectDocumentsOnTheDesktop();
}

TEST_F(Survival, CloseBox) {
    StartHosting();
    ::PostMessageW(vantrel.MainFrame(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    ExpectDocumentsOnTheDesktop();
}

// At the end of a session the process may be killed right after it has answered;
// the windows must already be out by then.
TEST_F(Survival, SessionEndThenKilled) {
    StartHosting();
    HWND frame = vantrel.MainFrame();
    EXPECT_TRUE(::SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    vantrel.Terminate();
    ExpectDocumentsOnTheDesktop();
}

TEST_F(Survival, CancelledSessionEndTakesTheWindowsBack) {
    StartHosting();
    HWND frame = vantrel.MainFrame();
    ::SendMessageW(frame, WM_QUERYENDSESSION, 0, 0);
    for (HWND doc : docs) EXPECT_TRUE(IsTopLevel(doc));
    ::SendMessageW(frame, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsTopLevel(docs[0]) && !IsTopLevel(docs[1]); }, 5000));
    EXPECT_TRUE(WaitFor([frame] { return WindowButtons(frame).size() == 2; }, 5000));
}

TEST_F(Survival, UnhandledException) { Crash(TestCrash::AccessViolation); }
TEST_F(Survival, Terminate) { Crash(TestCrash::Terminate); }
TEST_F(Survival, Abort) { Crash(TestCrash::Abort); }

}  // namespace

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

// Three frames, documents in each: nothing hosted anywhere is lost when the main frame
// ends the session, crashes, or closes under another frame's question.
class ThreeFrames : public HostingTest {
protected:
    void SetUp() override {
        HostingTest::SetUp();
        for (const wchar_t* title : {L"Main A.pdf", L"Main B.pdf", L"Second.pdf", L"First.pdf"})
            docs.push_back(OpenHosted(title));
        first = FrameWithWindow(3);
        ASSERT_NE(first, nullptr);
        second = FrameWithWindow(2);
        ASSERT_NE(second, nullptr);
        ASSERT_TRUE(WaitFor([&] { return Captions().size() == 2; }, 3000));
    }
    void ExpectAllOnTheDesktop() {
        for (HWND doc : docs) {
            EXPECT_TRUE(::IsWindow(doc));
            EXPECT_TRUE(IsTopLevel(doc));
            EXPECT_TRUE(::IsWindowVisible(doc));
        }
    }
    bool In(HWND doc, HWND owner) { return ::GetAncestor(doc, GA_PARENT) == HostView(owner); }

    std::vector<HWND> docs;
    HWND first = nullptr;
    HWND second = nullptr;
};

TEST_F(ThreeFrames, SessionEndHandsBackEveryFramesWindowsAndACancelGivesEachItsOwn) {
    EXPECT_TRUE(::SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ExpectAllOnTheDesktop();
    for (HWND owner : {frame, first, second}) EXPECT_TRUE(WindowButtons(owner).empty());

    ::SendMessageW(frame, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(WaitFor([&] { return In(docs[0], frame) && In(docs[1], frame); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return In(docs[3], first) && In(docs[2], second); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Captions() == std::vector<std::wstring>{L"Main A.pdf", L"Main B.pdf"}; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(first) == std::vector<std::wstring>{L"First.pdf"}; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(second) == std::vector<std::wstring>{L"Second.pdf"}; }, 3000));
}

TEST_F(ThreeFrames, SessionEndThenKilled) {
    EXPECT_TRUE(::SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    vantrel.Terminate();
    ExpectAllOnTheDesktop();
}

TEST_F(ThreeFrames, Crash) {
    ::PostMessageW(frame, WM_VANTREL_TEST_CRASH, static_cast<WPARAM>(TestCrash::AccessViolation), 0);
    ASSERT_TRUE(vantrel.WaitForExit(15000));
    EXPECT_NE(vantrel.ExitCode(), 0u);
    ExpectAllOnTheDesktop();
}

// The question of "Close all windows" in one frame is open when the main frame closes
// and takes every frame with it: the box goes with its frame, and nothing is closed.
TEST_F(ThreeFrames, MainFrameClosedWhileAnotherFrameAsks) {
    ::PostMessageW(first, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);  // posted: the question is modal
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000));
    EXPECT_EQ(::GetWindow(box, GW_OWNER), first);
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    EXPECT_EQ(vantrel.ExitCode(), 0u);
    ExpectAllOnTheDesktop();
}

}  // namespace

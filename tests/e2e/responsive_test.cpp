// A viewer that stops answering must not stop Vantrel: closing its window, the
// capture cycle and tab mode go on while it hangs, and take effect once it wakes.
#include "e2e_fixture.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

// Long enough for every check below to run inside the hang, with room to spare.
constexpr int kHangMs = 6000;

class ResponsiveTest : public HostingTest {
protected:
    void SetUp() override {
        HostingTest::SetUp();
        ASSERT_TRUE(other.Start(ViewerExe(), {L"--windows", L"0"}));
    }
    void TearDown() override {
        for (WORD key : std::initializer_list<WORD>{VK_F4, VK_CONTROL}) ReleaseKey(key);
        HostingTest::TearDown();
    }

    // Makes `viewer` hang and proves that it does: its window stops answering.
    testing::AssertionResult HangViewer(HWND document) {
        if (!viewer.Hang(kHangMs)) return testing::AssertionFailure() << "the viewer took no hang command";
        // The hang comes as a posted message, after any message sent meanwhile.
        if (!WaitFor([&] { return !AnswersSent(document, 100); }, 3000))
            return testing::AssertionFailure() << "the viewer still answers";
        return testing::AssertionSuccess();
    }
    // Posted messages need the frame's own message loop, which a frame stuck in a
    // send to the viewer does not run (it still answers sent messages then). A
    // toggle flipped there and back shows in the profile and changes nothing else.
    bool AnswersPosted() {
        for (int round = 0; round < 2; ++round) {
            const auto before = ReadProfileDword(L"Settings", L"BringToFront").value_or(0);
            ::PostMessageW(frame, WM_COMMAND, ID_BRING_TO_FRONT, 0);
            if (!WaitFor([&] { return ReadProfileDword(L"Settings", L"BringToFront").value_or(0) != before; }, 1000))
                return false;
        }
        return true;
    }
    // Whether the frame keeps answering, sent and posted messages alike, for `ms`.
    testing::AssertionResult KeepsAnswering(int ms) {
        const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(ms);
        do {
            if (!AnswersSent(frame, 1000)) return testing::AssertionFailure() << "a sent message went unanswered";
            if (!AnswersPosted()) return testing::AssertionFailure() << "a posted command went unhandled";
        } while (::GetTickCount64() < end);
        return testing::AssertionSuccess();
    }
    bool StillHung(HWND document) { return ::IsWindow(document) && !AnswersSent(document, 100); }
    // The rest of the test needs a viewer that answers again.
    bool WaitUntilAwake(HWND document) {
        return WaitFor([&] { return !::IsWindow(document) || AnswersSent(document, 100); }, kHangMs + 5000);
    }
    ViewerProcess other;
};

using Responsive = ResponsiveTest;

TEST_F(Responsive, ClosingAHungWindowLeavesVantrelWorking) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    ASSERT_TRUE(HangViewer(hung));
    ::PostMessageW(TaskbarControl(frame), WM_COMMAND, ID_WINDOW_CLOSE, 0);
    EXPECT_TRUE(KeepsAnswering(1500));
    // A new window waits to be taken in while a hosted one hangs (taking it in would
    // make its program wait on the hung one, and us on it), without stopping us.
    other.Open(L"Fresh.pdf");
    EXPECT_TRUE(KeepsAnswering(1000));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";

    // Once the viewer wakes, the close takes effect and the new window comes in.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hung); }, kHangMs + 5000)) << "the close was lost";
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Fresh.pdf"}; }, 5000));
}

TEST_F(Responsive, ClickingAnotherDocumentWhileOneHangsLeavesVantrelWorking) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    OpenHosted(other, L"Live.pdf");
    ASSERT_TRUE(Activate(frame, 0));
    ASSERT_TRUE(HangViewer(hung));
    // Posted: a frame stuck in the click would hold up the sender too.
    ::PostMessageW(WindowButtons(frame)[1], BM_CLICK, 0, 0);
    EXPECT_TRUE(KeepsAnswering(1500));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(WaitUntilAwake(hung));
}

// The frame's activation may still be on its way when the viewer hangs: taking it
// must not wait on the document that holds the focus either.
TEST_F(Responsive, NewWindowWhileTheActiveDocumentHangsLeavesVantrelWorking) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    ASSERT_TRUE(Activate(frame, 0));
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000));
    ASSERT_TRUE(HangViewer(hung));
    ::PostMessageW(frame, WM_COMMAND, ID_NEW_WINDOW, 0);
    EXPECT_TRUE(KeepsAnswering(1500));
    EXPECT_EQ(vantrel.Frames().size(), 2u);
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(WaitUntilAwake(hung));
}

TEST_F(Responsive, CtrlF4OnAHungWindowLeavesVantrelWorking) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    // The shortcuts act only in the frame in front; the polled keys need no focus.
    // The frame takes the activation from a posted message: a round trip of posted
    // messages makes sure it is done before the hang, not held up by it.
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000));
    ASSERT_TRUE(AnswersPosted());
    ASSERT_TRUE(HangViewer(hung));

    // Held over several cycles, but well within the repeat guard of one window.
    PressKey(VK_CONTROL);
    PressKey(VK_F4);
    const auto whileHeld = KeepsAnswering(300);
    ReleaseKey(VK_F4);
    ReleaseKey(VK_CONTROL);
    EXPECT_TRUE(whileHeld);
    EXPECT_TRUE(KeepsAnswering(1000));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";

    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hung); }, kHangMs + 5000)) << "the close was lost";
}

TEST_F(Responsive, TabModeKeepsCyclingPastAHungWindow) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(hung) != FALSE; }, 3000));
    ASSERT_TRUE(HangViewer(hung));

    // Every cycle moves the maximized window back to the origin: that must not block.
    EXPECT_TRUE(KeepsAnswering(1500));
    HWND fresh = other.Open(L"Fresh.pdf");
    EXPECT_TRUE(KeepsAnswering(1000));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(WaitUntilAwake(hung));
    // Taken in once the hung window answers again, and kept maximized like the others.
    EXPECT_TRUE(WaitFor([&] { return IsHosted(fresh) && ::IsZoomed(fresh); }, 5000));
    EXPECT_TRUE(::IsZoomed(hung));
}

TEST_F(Responsive, CloseAllGoesPastAHungWindow) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    HWND live = OpenHosted(other, L"Live.pdf");
    ASSERT_TRUE(other.MarkModified(live));
    ::PostMessageW(frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);  // posted: the question is modal
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000));
    ASSERT_TRUE(HangViewer(hung));
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));

    // The hung window does not answer, so the next one is asked without waiting for it:
    // its viewer asks about its changes. (Its window cannot go before the hang ends:
    // the viewers' input is shared through ours, and destroying a window waits on it.)
    HWND question = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (question = FindMessageBoxOf(other.Pid())) != nullptr; }, 3000))
        << "the next window waited for the hung one";
    EXPECT_TRUE(KeepsAnswering(1000));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hung); }, kHangMs + 5000)) << "the close was lost";
    if (question != nullptr) {
        EXPECT_TRUE(AnswerMessageBox(question, IDYES));
    }
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(live); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Captions().empty(); }, 3000));
}

// Handing windows back waits, under Wine, on the programs in the host views: a frame
// closed while one of them hangs goes at once, and lets its windows go once they can.
TEST_F(Responsive, ClosingAFrameWhoseDocumentHangsLeavesVantrelWorking) {
    OpenHosted(viewer, L"Hung.pdf");
    HWND extra = FrameWithWindow(0);
    ASSERT_NE(extra, nullptr);
    HWND hung = ::GetTopWindow(HostView(extra));
    ASSERT_TRUE(HangViewer(hung));
    ::PostMessageW(extra, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(extra); }, 1000)) << "the frame stayed in sight";
    EXPECT_TRUE(KeepsAnswering(1500));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(::IsWindow(hung)) << "the document went with its frame";

    EXPECT_TRUE(WaitUntilAwake(hung));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(extra); }, 5000)) << "the frame never finished closing";
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Hung.pdf"}; }, 5000));
    EXPECT_TRUE(IsHosted(hung));
}

TEST_F(Responsive, ClosingAFrameWhileAnotherFramesDocumentHangsLeavesVantrelWorking) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    HWND live = OpenHosted(other, L"Live.pdf");
    HWND extra = FrameWithWindow(1);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(HangViewer(hung));
    ::PostMessageW(extra, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(extra); }, 1000)) << "the frame stayed in sight";
    EXPECT_TRUE(KeepsAnswering(1500));
    EXPECT_TRUE(StillHung(hung)) << "the hang ended before the checks were done";
    EXPECT_TRUE(::IsWindow(live)) << "the document went with its frame";

    EXPECT_TRUE(WaitUntilAwake(hung));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(extra); }, 5000)) << "the frame never finished closing";
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Hung.pdf", L"Live.pdf"}; }, 5000));
    EXPECT_TRUE(IsHosted(live));
}

// A close that is not answered yet does not hold the frame: it closes, and the window
// whose close is pending goes back to the desktop (under Wine, handing a window back
// waits until its program answers again).
TEST_F(Responsive, TheFrameClosesWhileAHungWindowIsAskedToClose) {
    HWND hung = OpenHosted(viewer, L"Hung.pdf");
    ASSERT_TRUE(HangViewer(hung));
    ::PostMessageW(TaskbarControl(frame), WM_COMMAND, ID_WINDOW_CLOSE, 0);
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(vantrel.WaitForExit(kHangMs + 5000)) << "the frame did not close";
    EXPECT_EQ(vantrel.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntilAwake(hung));
    EXPECT_TRUE(!::IsWindow(hung) || IsTopLevel(hung)) << "not handed back";
}

}  // namespace

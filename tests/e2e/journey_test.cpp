// A window on its way between frames, and a button menu used while a viewer hangs:
// every command acts on the document it was meant for, and no document is lost.
#include "e2e_fixture.h"

#include <string>
#include <vector>

#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

constexpr int kHangMs = 3000;

void TypeKey(WORD key) {
    PressKey(key);
    ReleaseKey(key);
}

class JourneyTest : public HostingTest {
protected:
    void SetUp() override {
        HostingTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(other.Start(ViewerExe(), {L"--windows", L"0"}));
    }
    void TearDown() override {
        TypeKey(VK_ESCAPE);
        HostingTest::TearDown();
    }
    // Opens the menu of `owner`'s button `index` as a right click does, and waits for it.
    // Taken late, the activation would close a menu before the keys come.
    static bool BringToFront(HWND owner) {
        ::SetForegroundWindow(owner);
        return WaitFor([&] { return ActiveOf(owner) == owner; }, 3000);
    }
    bool OpenButtonMenu(HWND owner, size_t index) {
        const auto buttons = WindowButtons(owner);
        if (index >= buttons.size()) return false;
        const POINT at = CenterOf(buttons[index]);
        // Posted: the menu runs a modal loop until it is dismissed.
        ::PostMessageW(TaskbarControl(owner), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(buttons[index]),
                       MAKELPARAM(at.x, at.y));
        return WaitFor([&] { return OpenPopupMenuOf(vantrel.Pid()) != nullptr; }, 3000);
    }
    bool WaitForMenuClosed() { return WaitFor([&] { return OpenPopupMenuOf(vantrel.Pid()) == nullptr; }, 3000); }
    ViewerProcess other;
};

using Journeys = JourneyTest;

// The frame a document left lets go of it for good: its close-all asks only its own.
TEST_F(Journeys, AMovedDocumentIsNotClosedByTheFrameItLeft) {
    HWND moved = OpenHosted(L"Moved.pdf");
    HWND stays = OpenHosted(L"Stays.pdf");
    HWND extra = vantrel.NewFrame(frame);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(BringToFront(frame));
    ASSERT_TRUE(OpenButtonMenu(frame, 0));
    TypeKey('O');       // "M&ove to ->"
    TypeKey(VK_RETURN);  // its first entry, Window #1
    ASSERT_TRUE(WaitForMenuClosed());
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(extra) == Texts{L"Moved.pdf"}; }, 3000))
        << "moved: " << (ButtonCaptions(extra).empty() ? "none" : ButtonCaptions(extra)[0] == L"Stays.pdf" ? "the other" : "?");
    ASSERT_TRUE(WaitFor([&] { return Captions() == Texts{L"Stays.pdf"}; }, 3000));

    ::PostMessageW(frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);  // posted: the question is modal
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000));
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(stays); }, 5000));
    ASSERT_TRUE(WaitForCycles(extra, 8));
    EXPECT_TRUE(::IsWindow(moved)) << "the frame it left closed it";
    EXPECT_EQ(ButtonCaptions(extra), Texts{L"Moved.pdf"});
}

// A button's menu acts on that button's document, even when bringing it forward is
// held up by another document's viewer that hangs.
TEST_F(Journeys, AButtonMenuClosesItsOwnDocumentWhileAnotherViewerHangs) {
    HWND mine = OpenHosted(L"Mine.pdf");
    HWND front = OpenHosted(L"Front.pdf");
    HWND hung = OpenHosted(other, L"Hung.pdf");
    ASSERT_TRUE(BringToFront(frame));
    ASSERT_TRUE(Activate(frame, 1));
    ASSERT_TRUE(other.Hang(kHangMs));
    ASSERT_TRUE(WaitFor([&] { return !AnswersSent(hung, 100); }, 3000)) << "the viewer still answers";
    ::PostMessageW(WindowButtons(frame)[2], BM_CLICK, 0, 0);
    ASSERT_TRUE(OpenButtonMenu(frame, 0));
    // A click on its last item, "C&lose": the keyboard goes to the hung document now.
    RECT menu{};
    ::GetWindowRect(OpenPopupMenuOf(vantrel.Pid()), &menu);
    MoveMouseTo(POINT{(menu.left + menu.right) / 2, menu.bottom - 8});
    PressLeftButton();
    ReleaseLeftButton();
    ASSERT_TRUE(WaitForMenuClosed());

    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(mine); }, kHangMs + 5000)) << "its own document stayed";
    ASSERT_TRUE(WaitFor([&] { return AnswersSent(hung, 100); }, kHangMs + 5000));
    ASSERT_TRUE(WaitForCycles(frame, 8));
    EXPECT_TRUE(::IsWindow(front)) << "the document in front was closed";
    EXPECT_TRUE(::IsWindow(hung));
}

}  // namespace

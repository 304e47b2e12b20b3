#include "e2e_fixture.h"

#include <algorithm>

#include "resource.h"

namespace {

using Hosting = HostingTest;

using Capture = Hosting;

TEST_F(Capture, ViewerWindowsAreHostedWithAButtonEach) {
    HWND a = viewer.Open(L"Alpha.pdf");
    HWND b = viewer.Open(L"Beta.pdf");
    ASSERT_TRUE(WaitForButtons(2));
    EXPECT_TRUE(IsHosted(a));
    EXPECT_TRUE(IsHosted(b));
    EXPECT_TRUE(::IsWindowVisible(a));
    auto captions = Captions();
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Alpha.pdf", L"Beta.pdf"}));

    // Later windows get buttons at the end of the row.
    HWND c = viewer.Open(L"Gamma.pdf");
    ASSERT_TRUE(WaitForButtons(3));
    EXPECT_TRUE(IsHosted(c));
    EXPECT_EQ(Captions().back(), L"Gamma.pdf");
}

TEST_F(Capture, ClassNameMatchesInAnyLetterCaseAndOtherClassesAreLeftAlone) {
    ViewerProcess oddCase, otherClass;
    ASSERT_TRUE(oddCase.Start(ViewerExe(), {L"--class", L"acrobatSDIwindow", L"--windows", L"0"}));
    ASSERT_TRUE(otherClass.Start(ViewerExe(), {L"--class", L"AcrobatSDIWindowX", L"--windows", L"0"}));
    HWND odd = oddCase.Open(L"Odd case.pdf");
    HWND other = otherClass.Open(L"Other class.pdf");
    HWND hidden = viewer.Open(L"Marker.pdf");
    ASSERT_TRUE(WaitForButtons(2));
    // A whole enumeration, which looks at every window of the class again, changes
    // nothing: no window is captured twice, and the other class stays out.
    ASSERT_TRUE(WaitForEnumeration(frame));
    EXPECT_EQ(WindowButtons(frame).size(), 2u);
    EXPECT_TRUE(IsHosted(odd));
    EXPECT_TRUE(IsHosted(hidden));
    EXPECT_TRUE(IsTopLevel(other));
}

TEST_F(Capture, ClosedWindowsAreDroppedAndButtonsRenumbered) {
    std::vector<HWND> docs;
    for (const wchar_t* title : {L"One", L"Two", L"Three", L"Four", L"Five"}) docs.push_back(viewer.Open(title));
    ASSERT_TRUE(WaitForButtons(5));
    const auto before = Captions();

    // Two windows die at once, then one more.
    ASSERT_EQ(WindowTitle(docs[1]), L"Two");
    ASSERT_EQ(WindowTitle(docs[3]), L"Four");
    viewer.Destroy(docs[1]);
    viewer.Destroy(docs[3]);
    ASSERT_FALSE(::IsWindow(docs[1]));
    ASSERT_FALSE(::IsWindow(docs[3]));
    auto expected = before;
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const std::wstring& c) { return c == L"Two" || c == L"Four"; }),
                   expected.end());
    // Order kept, ids 400.. without gaps. (Read until it holds: a read made while a
    // cycle renumbers can see ids half-way.)
    EXPECT_TRUE(WaitFor([&] { return Captions() == expected; }, 5000));

    viewer.Destroy(docs[0]);
    ASSERT_TRUE(WaitForButtons(2));
    EXPECT_EQ(::GetDlgItem(TaskbarControl(frame), kFirstButtonId + 2), nullptr);
}

TEST_F(Capture, HiddenViewerWindowsAreShownWhenCaptured) {
    ViewerProcess hiddenViewer;
    ASSERT_TRUE(hiddenViewer.Start(ViewerExe(), {L"--hidden", L"--windows", L"0"}));
    HWND doc = hiddenViewer.Open(L"Hidden.pdf");
    ASSERT_TRUE(WaitForButtons(1));
    EXPECT_TRUE(IsHosted(doc));
    // Shown without waiting on its program: the button may come a moment before.
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(doc) != FALSE; }, 3000));
}

TEST_F(Capture, BringToFrontRestoresTheFrameOnlyWhenSet) {
    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(frame) != FALSE; }, 3000));
    viewer.Open(L"Quiet.pdf");
    ASSERT_TRUE(WaitForButtons(1));
    EXPECT_TRUE(::IsIconic(frame));  // off by default: the frame is left alone

    WriteProfileDword(L"Settings", L"BringToFront", 1);
    HWND loud = viewer.Open(L"Loud.pdf");
    ASSERT_TRUE(WaitForButtons(2));
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(frame); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return ::GetTopWindow(HostView(frame)) == loud; }, 3000));

    // A hidden frame stays hidden.
    ::ShowWindow(frame, SW_HIDE);
    viewer.Open(L"Unseen.pdf");
    ASSERT_TRUE(WaitForButtons(3));
    EXPECT_FALSE(::IsWindowVisible(frame));
}

TEST_F(Capture, ReleasedOnCloseAsTopLevelVisibleWindows) {
    HWND a = viewer.Open(L"Keep me.pdf");
    HWND b = viewer.Open(L"Keep me too.pdf");
    ASSERT_TRUE(WaitForButtons(2));
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    for (HWND w : {a, b}) {
        EXPECT_TRUE(::IsWindow(w));
        EXPECT_TRUE(IsTopLevel(w));
        EXPECT_TRUE(::IsWindowVisible(w));
    }
}

using TitleSync = Hosting;

TEST_F(TitleSync, CaptionsFollowTitlesButNotCaseOnlyChanges) {
    HWND doc = viewer.Open(L"Draft.pdf");
    ASSERT_TRUE(WaitForButtons(1));
    viewer.SetTitle(doc, L"Final report.pdf");
    EXPECT_TRUE(WaitFor([&] { return Captions() == std::vector<std::wstring>{L"Final report.pdf"}; }, 3000));

    ASSERT_TRUE(viewer.SetTitle(doc, L"FINAL REPORT.PDF"));
    ASSERT_TRUE(WaitForTitleReads(frame));
    EXPECT_EQ(Captions().front(), L"Final report.pdf");

    const std::wstring longTitle(300, L'x');
    viewer.SetTitle(doc, longTitle);
    EXPECT_TRUE(WaitFor([&] { return Captions().front() == longTitle.substr(0, 259); }, 3000));
}

TEST_F(TitleSync, ButtonGrowsWithItsCaptionAndRowsAreLaidOut) {
    HWND a = viewer.Open(L"A");
    HWND b = viewer.Open(L"B");
    ASSERT_TRUE(WaitForButtons(2));
    HWND control = TaskbarControl(frame);
    auto rectOf = [&](int index) {
        RECT rc{};
        ::GetWindowRect(WindowButtons(frame)[index], &rc);
        ::MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const RECT first = rectOf(0);
    const LONG narrow = first.right - first.left;
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(rectOf(1).left, first.right + 5);
    EXPECT_EQ(rectOf(1).top, 0);

    // The first button grows past the row: the second opens a row of its own.
    RECT client{};
    ::GetClientRect(control, &client);
    viewer.SetTitle(Captions()[0] == L"A" ? a : b, std::wstring(250, L'W'));
    ASSERT_TRUE(WaitFor([&] { return rectOf(0).right - rectOf(0).left > narrow; }, 3000));
    const RECT wide = rectOf(0);
    ASSERT_GT(wide.right + 5 + narrow, client.right) << "the control is wider than expected";
    EXPECT_TRUE(WaitFor([&] { return rectOf(1).top == wide.bottom - wide.top + 1; }, 3000));
    EXPECT_EQ(rectOf(1).left, 0);
}

using Taskbar = Hosting;

TEST_F(Taskbar, ClickBringsTheWindowForwardAndTheCheckFollows) {
    viewer.Open(L"First");
    viewer.Open(L"Second");
    viewer.Open(L"Third");
    ASSERT_TRUE(WaitForButtons(3));
    ASSERT_TRUE(WaitFor([&] { return CheckedButton(frame) >= 0; }, 3000));
    const auto buttons = WindowButtons(frame);
    for (int target : {0, 2, 1}) {
        ::SendMessageW(buttons[target], BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return CheckedButton(frame) == target; }, 3000)) << "button " << target;
        HWND top = ::GetTopWindow(HostView(frame));
        EXPECT_EQ(WindowTitle(top), Captions()[target]);
    }
}

TEST_F(Taskbar, PaneHasItsCaptionIdAndGreyControl) {
    HWND pane = TaskbarPane(frame);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pane), kTaskbarPaneId);
    HWND control = TaskbarControl(frame);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(WindowClass(control), L"Static");
    RECT rc{};
    ::GetClientRect(control, &rc);
    EXPECT_GT(rc.right, 0);
    EXPECT_GE(rc.bottom, 0);
    // Docked at the bottom: the pane sits below the host view.
    RECT view{}, paneRect{};
    ::GetWindowRect(HostView(frame), &view);
    ::GetWindowRect(pane, &paneRect);
    EXPECT_GE(paneRect.top, view.bottom);
    EXPECT_GE(paneRect.bottom - paneRect.top, 50);
}

using TabMode = Hosting;

TEST_F(TabMode, KeepsHostedWindowsMaximizedWhileOn) {
    HWND doc = viewer.Open(L"Tabbed.pdf");
    ASSERT_TRUE(WaitForButtons(1));
    EXPECT_FALSE(::IsZoomed(doc));
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    EXPECT_EQ(ReadProfileDword(L"Settings", L"TabMode"), 1u);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(doc) != FALSE; }, 3000));

    // A restored window is maximized again at the next cycles, and sits at the origin.
    ::ShowWindow(doc, SW_RESTORE);
    auto topLeft = [&] {
        RECT rc{};
        ::GetWindowRect(doc, &rc);
        ::MapWindowPoints(nullptr, HostView(frame), reinterpret_cast<POINT*>(&rc), 2);
        return POINT{rc.left, rc.top};
    };
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(doc) && topLeft().x == 0 && topLeft().y == 0; }, 3000));

    // Off: maximized windows stay as they are, but are no longer kept so.
    ::SendMessageW(frame, WM_COMMAND, ID_TABMODE, 0);
    ASSERT_TRUE(WaitForTitleReads(frame));
    EXPECT_TRUE(::IsZoomed(doc));
    ::ShowWindow(doc, SW_RESTORE);
    ASSERT_FALSE(::IsZoomed(doc));
    ASSERT_TRUE(WaitForTitleReads(frame));
    EXPECT_FALSE(::IsZoomed(doc));
}

}  // namespace

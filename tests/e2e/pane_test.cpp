// The window taskbar under a real mouse: dragging buttons, and moving, floating,
// docking and sizing the pane.
#include "e2e_fixture.h"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>

#include "input.h"
#include "resource.h"

namespace {

const COLORREF kDragRed = RGB(190, 20, 20);
const COLORREF kAfterDrag = RGB(212, 208, 200);

class TaskbarMouse : public HostingTest {
protected:
    void SetUp() override {
        HostingTest::SetUp();
        // A known place on the screen, with nothing over it.
        ::SetWindowPos(frame, HWND_TOP, 10, 10, 900, 600, SWP_SHOWWINDOW);
        // The frame must be the foreground window, as it is when a user works in it:
        // only then do mouse capture and keys reach it. A click on the pane's caption
        // strip does that and nothing else.
        RECT pane{};
        ::GetWindowRect(TaskbarPane(frame), &pane);
        MoveMouseTo(POINT{pane.left + 80, pane.top + 12});
        PressLeftButton();
        ReleaseLeftButton();
        ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000));
    }
    void TearDown() override {
        ReleaseLeftButton();
        ReleaseRightButton();
        HostingTest::TearDown();
    }

    // Whether the button shows the given face colour (sampled away from its picture and text).
    static COLORREF FaceOf(HWND button) {
        RECT rc{};
        ::GetWindowRect(button, &rc);
        return ScreenPixel(POINT{rc.right - 3, rc.top + 3});
    }
    static bool HasFace(HWND button, COLORREF color) { return FaceOf(button) == color; }
};

using Drag = TaskbarMouse;

TEST_F(Drag, FirstButtonMovesOnePlacePerHundredPixels) {
    for (const wchar_t* title : {L"Left", L"Middle", L"Right"}) viewer.Open(title);
    ASSERT_TRUE(WaitForButtons(3));
    const auto before = ButtonCaptions(frame);
    HWND dragged = WindowButtons(frame)[0];
    const POINT start = CenterOf(dragged);

    ASSERT_TRUE(PressLeftButtonOn(dragged, start));
    MoveMouseTo(POINT{start.x + 5, start.y});
    ASSERT_TRUE(WaitForCycles(frame));  // 5 pixels must not start a drag
    EXPECT_FALSE(HasFace(dragged, kDragRed));

    MoveMouseTo(POINT{start.x + 6, start.y});
    EXPECT_TRUE(WaitFor([&] { return HasFace(dragged, kDragRed); }, 3000))
        << "6 pixels start the drag; face " << std::hex << FaceOf(dragged);

    MoveMouseTo(POINT{start.x + 101, start.y});
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(frame) == std::vector{before[1], before[0], before[2]}; }, 3000));
    EXPECT_EQ(::GetDlgCtrlID(dragged), kFirstButtonId + 1);  // the id follows the record

    // The next place needs another 100 pixels beyond the point of the first swap.
    MoveMouseTo(POINT{start.x + 190, start.y});
    ASSERT_TRUE(WaitForCycles(frame));
    EXPECT_EQ(::GetDlgCtrlID(dragged), kFirstButtonId + 1);
    MoveMouseTo(POINT{start.x + 205, start.y});
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(frame) == std::vector{before[1], before[2], before[0]}; }, 3000));

    // Already last: further movement colours but reorders nothing.
    MoveMouseTo(POINT{start.x + 320, start.y});
    ASSERT_TRUE(WaitForCycles(frame));
    EXPECT_EQ(::GetDlgCtrlID(dragged), kFirstButtonId + 2);

    ReleaseLeftButton();
    EXPECT_TRUE(WaitFor([&] { return HasFace(dragged, kAfterDrag); }, 3000));
}

// Only a move with the left button alone drags. (Shift is not tried here: under Wine
// a key injected from another process does not reach the mouse messages' key flags
// of a frame whose input is attached to the viewer's.)
TEST_F(Drag, SecondButtonHeldDoesNotDrag) {
    for (const wchar_t* title : {L"Left", L"Right"}) viewer.Open(title);
    ASSERT_TRUE(WaitForButtons(2));
    const auto before = ButtonCaptions(frame);
    HWND button = WindowButtons(frame)[0];
    const POINT start = CenterOf(button);
    ASSERT_TRUE(PressLeftButtonOn(button, start));
    PressRightButton();
    for (int dx = 20; dx <= 240; dx += 20) MoveMouseTo(POINT{start.x + dx, start.y});
    ASSERT_TRUE(WaitForCycles(frame));
    EXPECT_FALSE(HasFace(button, kDragRed));
    EXPECT_EQ(ButtonCaptions(frame), before);
    ReleaseRightButton();
    ReleaseLeftButton();
}

using Pane = TaskbarMouse;

TEST_F(Pane, SizingBandResizesDownToTheMinimum) {
    HWND pane = TaskbarPane(frame);
    RECT rc{};
    ::GetWindowRect(pane, &rc);
    const LONG height = rc.bottom - rc.top;
    const POINT band{(rc.left + rc.right) / 2, rc.top + 1};
    ASSERT_TRUE(PressLeftButtonOn(pane, band));
    MoveMouseTo(POINT{band.x, band.y - 40});
    ReleaseLeftButton();
    auto paneHeight = [&] {
        RECT now{};
        ::GetWindowRect(pane, &now);
        return now.bottom - now.top;
    };
    EXPECT_TRUE(WaitFor([&] { return paneHeight() == height + 40; }, 3000)) << paneHeight();

    ::GetWindowRect(pane, &rc);
    // Below the minimum, staying inside the frame: under Wine a captured mouse
    // that leaves our windows is not reported to us.
    ASSERT_TRUE(PressLeftButtonOn(pane, POINT{band.x, rc.top + 1}));
    MoveMouseTo(POINT{band.x, rc.top + 61});
    ReleaseLeftButton();
    EXPECT_TRUE(WaitFor([&] { return paneHeight() == 50; }, 3000)) << paneHeight();
    // The host view takes what the pane gives up.
    RECT view{};
    ::GetWindowRect(HostView(frame), &view);
    ::GetWindowRect(pane, &rc);
    EXPECT_LE(view.bottom, rc.top);
}

TEST_F(Pane, FloatsDocksAtAnEdgeAndComesBackAtTheBottom) {
    viewer.Open(L"Still here.pdf");
    ASSERT_TRUE(WaitForButtons(1));
    HWND pane = TaskbarPane(frame);
    RECT rc{};
    ::GetWindowRect(pane, &rc);

    // Drag the caption strip away: the pane floats in a tool window of its own.
    const POINT caption{rc.left + 60, rc.top + 12};
    ASSERT_TRUE(PressLeftButtonOn(pane, caption));
    MoveMouseTo(POINT{caption.x + 8, caption.y});
    ASSERT_TRUE(WaitFor([&] { return ::GetParent(pane) != frame; }, 3000));
    HWND floating = ::GetParent(pane);
    EXPECT_EQ(::GetWindow(floating, GW_OWNER), frame);
    EXPECT_EQ(TaskbarPane(frame), pane);
    EXPECT_EQ(ButtonCaptions(frame), std::vector<std::wstring>{L"Still here.pdf"});
    EXPECT_FALSE(::GetWindowLongW(floating, GWL_STYLE) & WS_SYSMENU);  // no close button

    // The system's move loop carries it on; dropped near the left edge of the
    // frame, it docks there.
    ASSERT_TRUE(WaitFor([&] { return CaptureOf(floating) == floating; }, 3000));
    RECT client{};
    ::GetClientRect(frame, &client);
    ::MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MoveMouseTo(POINT{client.left + 10, (client.top + client.bottom) / 2});
    ReleaseLeftButton();
    RECT paneRect{}, view{};
    auto dockedLeft = [&] {
        ::GetWindowRect(pane, &paneRect);
        ::GetWindowRect(HostView(frame), &view);
        return ::GetParent(pane) == frame && paneRect.right <= view.left;
    };
    EXPECT_TRUE(WaitFor(dockedLeft, 3000)) << "pane " << paneRect.left << ".." << paneRect.right << ", view from "
                                           << view.left;
    EXPECT_GE(paneRect.right - paneRect.left, 50);

    // The menu command puts it back under the host view, 50 pixels high.
    ::SendMessageW(frame, WM_COMMAND, ID_DOCK_TASKBAR_BOTTOM, 0);
    EXPECT_TRUE(DockedAtBottom(frame, pane));
}

}  // namespace

namespace {

// The docking markers that process `pid` shows, each titled by its edge.
std::vector<HWND> VisibleMarkers(DWORD pid) { return VisibleWindowsOf(pid, L"VantrelDockMarker"); }

// What a screen reader calls the window.
std::wstring SpokenName(HWND window) {
    void* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), &object)))
        return L"(no object)";
    auto* accessible = static_cast<IAccessible*>(object);
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring spoken = SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr ? name : L"";
    ::SysFreeString(name);
    accessible->Release();
    return spoken;
}

class DockMarkers : public Pane {
protected:
    // Tears the pane off and waits until the system's move loop carries it.
    HWND TearOff(HWND pane) {
        RECT rc{};
        ::GetWindowRect(pane, &rc);
        const POINT caption{rc.left + 60, rc.top + 12};
        EXPECT_TRUE(PressLeftButtonOn(pane, caption));
        MoveMouseTo(POINT{caption.x + 8, caption.y});
        EXPECT_TRUE(WaitFor([&] { return ::GetParent(pane) != frame; }, 3000));
        HWND floating = ::GetParent(pane);
        EXPECT_TRUE(WaitFor([&] { return CaptureOf(floating) == floating; }, 3000));
        return floating;
    }
    POINT FrameCentre() {
        RECT client{};
        ::GetClientRect(frame, &client);
        ::MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    }
};

TEST_F(DockMarkers, AppearWhileThePaneMovesInEveryLookAndOnlyADropOnOneDocks) {
    // For the markers' names, read across processes.
    struct Com {
        Com() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Com() { ::CoUninitialize(); }
    } com;
    HWND pane = TaskbarPane(frame);
    for (UINT look : {210u, 205u}) {
        SCOPED_TRACE(testing::Message() << "look " << look);
        ::SendMessageW(frame, WM_COMMAND, look, 0);
        HWND floating = TearOff(pane);
        ASSERT_NE(floating, frame);
        const POINT centre = FrameCentre();
        MoveMouseTo(POINT{centre.x + 30, centre.y + 20});
        std::vector<HWND> markers;
        ASSERT_TRUE(WaitFor([&] { return (markers = VisibleMarkers(vantrel.Pid())).size() == 4; }, 3000));
        std::vector<std::wstring> edges, spoken;
        for (HWND marker : markers) {
            edges.push_back(WindowTitle(marker));
            spoken.push_back(SpokenName(marker));
        }
        std::sort(edges.begin(), edges.end());
        std::sort(spoken.begin(), spoken.end());
        EXPECT_EQ(edges, (std::vector<std::wstring>{L"Bottom", L"Left", L"Right", L"Top"}));
        EXPECT_EQ(spoken, (std::vector<std::wstring>{L"Dock at the bottom", L"Dock at the top", L"Dock on the left",
                                                     L"Dock on the right"}));

        // Dropped away from the markers, it keeps floating and they go.
        MoveMouseTo(centre);
        ReleaseLeftButton();
        EXPECT_TRUE(WaitFor([&] { return VisibleMarkers(vantrel.Pid()).empty(); }, 3000));
        EXPECT_EQ(::GetParent(pane), floating);

        // Moved again and dropped on the bottom marker, it docks at the bottom.
        RECT caption{};
        ::GetWindowRect(floating, &caption);
        MoveMouseTo(POINT{caption.left + 40, caption.top + ::GetSystemMetrics(SM_CYSMCAPTION) / 2});
        PressLeftButton();
        MoveMouseTo(POINT{caption.left + 50, caption.top + 20});
        ASSERT_TRUE(WaitFor([&] { return (markers = VisibleMarkers(vantrel.Pid())).size() == 4; }, 3000));
        HWND bottom = *std::find_if(markers.begin(), markers.end(),
                                    [](HWND m) { return WindowTitle(m) == L"Bottom"; });
        RECT target{};
        ::GetWindowRect(bottom, &target);
        MoveMouseTo(POINT{(target.left + target.right) / 2, (target.top + target.bottom) / 2});
        ReleaseLeftButton();
        EXPECT_TRUE(WaitFor([&] { return ::GetParent(pane) == frame && DockedAtBottom(frame, pane); }, 3000));
        EXPECT_TRUE(DockedAtBottom(frame, pane));
        EXPECT_TRUE(VisibleMarkers(vantrel.Pid()).empty());
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <climits>

#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

using test::HostingTest;
using Strings = std::vector<std::string>;

std::string Call(const char* name, WindowId window, const std::string& argument = "") {
    std::string call = std::string(name) + " " + std::to_string(window);
    return argument.empty() ? call : call + " " + argument;
}

// Bringing the frame forward on capture

TEST_F(HostingTest, BringToFrontOffMakesNoCallsBeyondCapture) {
    const WindowId window = Capture();
    EXPECT_TRUE(desktop.CallsOn(frame).empty());
    EXPECT_EQ(desktop.Calls().size(), 3u);  // SetParent, AttachInput, Show
    EXPECT_EQ(desktop.Calls().back(), Call("Show", window, "Show"));
}

TEST_F(HostingTest, BringToFrontRestoresOnlyAVisibleUnmaximizedFrame) {
    struct FrameCase {
        const char* name;
        bool visible;
        bool zoomed;
        bool expectRestore;
    };
    const FrameCase cases[] = {
        {"visible, restored or minimized", true, false, true},
        {"visible, maximized", true, true, false},
        {"hidden to the tray", false, false, false},
    };
    context.bringToFront = true;
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.Window(frame).visible = c.visible;
        desktop.Window(frame).zoomed = c.zoomed;
        const WindowId window = desktop.AddViewerWindow();
        desktop.ClearCalls();
        engine.RunCaptureCycle();

        Strings expected{Call("SetParent", window, std::to_string(hostView)), Call("AttachInput", window),
                         Call("Show", window, "Show")};
        if (c.expectRestore) expected.push_back(Call("Show", frame, "ShowNormal"));
        expected.push_back(Call("SwitchTo", frame));
        expected.push_back(Call("SetActive", window));
        expected.push_back(Call("SetForeground", window));
        EXPECT_EQ(desktop.Calls(), expected);
        EXPECT_EQ(desktop.Window(frame).visible, c.visible);
    }
}

// Handing windows back

TEST_F(HostingTest, ReleaseHandsBackOnlyWhatIsStillOursAndForgetsEverything) {
    const WindowId ours = Capture(), moved = Capture(), taken = Capture(), dead = Capture();
    engine.MarkMoved(1);
    const WindowId otherView = desktop.AddWindow(L"HostView");
    desktop.Window(taken).parent = otherView;
    desktop.Kill(dead);
    desktop.ClearCalls();

    engine.ReleaseAllWindows();
    EXPECT_EQ(desktop.Calls(), (Strings{Call("SetParent", ours, "0")}));
    EXPECT_EQ(desktop.Parent(ours), kNoWindow);
    EXPECT_EQ(desktop.Parent(moved), hostView);
    EXPECT_EQ(desktop.Parent(taken), otherView);
    EXPECT_EQ(buttons.LiveCount(), 0u);
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_FALSE(engine.Hosts(ours));

    engine.ReleaseAllWindows();
    EXPECT_EQ(desktop.Calls().size(), 1u);
}

TEST_F(HostingTest, ReleaseEndsARunningDrag) {
    Capture();
    engine.OnLeftButtonDown(Point{0, 0});
    engine.OnMouseMove(Point{10, 0}, true, kFirstButtonId);
    ASSERT_TRUE(engine.IsDragging());
    engine.ReleaseAllWindows();
    EXPECT_FALSE(engine.IsDragging());
    EXPECT_EQ(buttons.Captured(), kNoButton);
    engine.OnLeftButtonUp();  // must not reach for the destroyed button
}

// Clicks and activation by index

TEST_F(HostingTest, ClickBringsForwardOnlyTheWindowOfAValidId) {
    const WindowId w0 = Capture(), w1 = Capture();
    desktop.ClearCalls();
    for (int id : {INT_MIN, -1, 0, 1, kFirstButtonId - 1, kFirstButtonId + 2, INT_MAX})
        engine.OnButtonClicked(id);
    EXPECT_TRUE(desktop.Calls().empty());

    engine.OnButtonClicked(kFirstButtonId + 1);
    engine.OnButtonClicked(kFirstButtonId);
    EXPECT_EQ(desktop.Calls(), (Strings{Call("SetForeground", w1), Call("SetForeground", w0)}));

    engine.MarkMoved(0);
    desktop.ClearCalls();
    engine.OnButtonClicked(kFirstButtonId);
    EXPECT_TRUE(desktop.Calls().empty());
}

TEST_F(HostingTest, ActivateIndexIgnoresIndicesOutOfRange) {
    Capture();
    const WindowId w1 = Capture();
    desktop.ClearCalls();
    for (int index : {INT_MIN, -2, -1, 2, INT_MAX}) engine.ActivateIndex(index);
    EXPECT_TRUE(desktop.Calls().empty());
    engine.ActivateIndex(1);
    EXPECT_EQ(desktop.Calls(), (Strings{Call("SetActive", w1)}));
}

}  // namespace
}  // namespace vantrel

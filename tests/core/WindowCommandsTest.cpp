#include <gtest/gtest.h>

#include <climits>

#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

using Strings = std::vector<std::string>;

std::string Call(const char* name, WindowId window, const std::string& argument = "") {
    std::string call = std::string(name) + " " + std::to_string(window);
    return argument.empty() ? call : call + " " + argument;
}

class WindowCommands : public test::HostingTest {
protected:
    WindowCommands() { desktop.Window(hostView).clientRect = Rect{0, 0, 1000, 700}; }

    void RunAllActiveCommands() {
        engine.CloseActiveWindow();
        engine.MaximizeActiveWindow();
        engine.MinimizeActiveWindow();
        engine.CenterActiveWindow();
    }
};

// Commands on the active window

TEST_F(WindowCommands, ActOnlyOnTheActiveRecordAndNotOnAMovedOne) {
    struct CommandCase {
        const char* name;
        void (HostingEngine::*command)();
        std::string argument;
        const char* call;
    };
    const CommandCase cases[] = {
        {"close", &HostingEngine::CloseActiveWindow, "", "Close"},
        {"maximize", &HostingEngine::MaximizeActiveWindow, "ShowMaximized", "Show"},
        {"minimize", &HostingEngine::MinimizeActiveWindow, "Minimize", "Show"},
        {"center keeps the size", &HostingEngine::CenterActiveWindow, "300,200,700,500", "Move"},
    };
    const WindowId w0 = Capture();
    Capture();
    for (bool moved : {false, true}) {
        for (const CommandCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (moved ? ", moved" : ""));
            desktop.Window(w0).alive = true;
            desktop.Window(w0).windowRect = Rect{50, 60, 450, 360};  // 400 x 300, screen position
            desktop.BringToTop(w0);
            if (moved) engine.MarkMoved(0);
            desktop.ClearCalls();
            (engine.*c.command)();
            // A window handed to another frame is that frame's to close.
            EXPECT_EQ(desktop.Calls(), !moved ? Strings{Call(c.call, w0, c.argument)} : Strings{});
        }
    }
}

TEST_F(WindowCommands, DoNothingWithoutAnActiveRecord) {
    RunAllActiveCommands();
    Capture();
    desktop.AddWindow(L"SomethingElse", L"", hostView);  // on top, not ours
    desktop.ClearCalls();
    RunAllActiveCommands();
    EXPECT_TRUE(desktop.Calls().empty());
}

TEST_F(WindowCommands, BringForwardAndIndexOfButtonFollowTheRecords) {
    buttons.FailNextCreate();
    const WindowId bare = Capture();
    const WindowId w1 = Capture();
    Capture();
    EXPECT_EQ(engine.IndexOfButton(engine.Windows()[2].pButton), 2);
    EXPECT_EQ(engine.IndexOfButton(engine.Windows()[1].pButton), 1);
    EXPECT_EQ(engine.IndexOfButton(kNoButton), -1) << "the record without a button is not its owner";
    EXPECT_EQ(engine.IndexOfButton(engine.Windows()[2].pButton + 100), -1);

    desktop.ClearCalls();
    for (int index : {INT_MIN, -1, 3, INT_MAX}) engine.BringForward(index);
    engine.MarkMoved(2);
    engine.BringForward(2);
    EXPECT_TRUE(desktop.Calls().empty());
    engine.BringForward(1);
    engine.BringForward(0);
    EXPECT_EQ(desktop.Calls(), (Strings{Call("SetForeground", w1), Call("SetForeground", bare)}));
}

// Tiling

using Tiling = WindowCommands;

TEST_F(Tiling, RowsRestoreOnlyMaximizedWindowsFirst) {
    desktop.Window(hostView).clientRect = Rect{0, 0, 500, 301};
    const WindowId w0 = Capture(), w1 = Capture(), w2 = Capture();
    desktop.Window(w1).zoomed = true;
    desktop.ClearCalls();
    engine.TileHorizontally();
    EXPECT_EQ(desktop.Calls(), (Strings{Call("Move", w0, "0,0,500,100"), Call("Show", w1, "Restore"),
                                        Call("Move", w1, "0,100,500,200"), Call("Move", w2, "0,200,500,300")}));
}

TEST_F(Tiling, ColumnsFollowTheButtonOrderAfterADrag) {
    desktop.Window(hostView).clientRect = Rect{0, 0, 802, 600};
    const WindowId w0 = Capture(), w1 = Capture(), w2 = Capture(), w3 = Capture();
    engine.OnLeftButtonDown(Point{1000, 0});
    engine.OnMouseMove(Point{1006, 0}, true, kFirstButtonId);
    engine.OnMouseMove(Point{1107, 0}, true, kFirstButtonId);
    engine.OnLeftButtonUp();
    ASSERT_EQ(HostedOrder(), (std::vector<WindowId>{w1, w0, w2, w3}));

    desktop.ClearCalls();
    engine.TileVertically();
    EXPECT_EQ(desktop.Calls(), (Strings{Call("Move", w1, "0,0,200,600"), Call("Move", w0, "200,0,400,600"),
                                        Call("Move", w2, "400,0,600,600"), Call("Move", w3, "600,0,800,600")}));
}

TEST_F(Tiling, SingleWindowGetsTheWholeClientEitherWay) {
    const WindowId window = Capture();
    for (void (HostingEngine::*tile)() : {&HostingEngine::TileHorizontally, &HostingEngine::TileVertically}) {
        desktop.Window(window).zoomed = true;
        desktop.ClearCalls();
        (engine.*tile)();
        EXPECT_EQ(desktop.Calls(), (Strings{Call("Show", window, "Restore"), Call("Move", window, "0,0,1000,700")}));
    }
}

TEST_F(Tiling, NothingHappensWithoutRecords) {
    engine.TileHorizontally();
    engine.TileVertically();
    engine.CloseAllWindows();
    EXPECT_TRUE(desktop.Calls().empty());
}

// Close all

using CloseAll = WindowCommands;

TEST_F(CloseAll, AsksEveryWindowInOrderAndLeavesTheRecordsToTheCycle) {
    const WindowId w0 = Capture(), keeps = Capture(), w2 = Capture();
    desktop.Window(keeps).staysOpen = true;
    desktop.ClearCalls();
    engine.CloseAllWindows();
    EXPECT_EQ(desktop.Calls(), (Strings{Call("Close", w0), Call("Close", keeps), Call("Close", w2)}));
    EXPECT_EQ(engine.Windows().size(), 3u);

    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{keeps}));
    EXPECT_EQ(ButtonOf(0).controlId, kFirstButtonId);
}

TEST_F(CloseAll, GoesOnWithTheCopyWhenTheFrameLetsGoOfItsWindows) {
    const WindowId w0 = Capture(), w1 = Capture(), w2 = Capture();
    desktop.onClose = [this](WindowId) { engine.ReleaseAllWindows(); };
    desktop.ClearCalls();
    engine.CloseAllWindows();
    EXPECT_TRUE(engine.Windows().empty());
    // The first close hands every window back; the others are still asked to close.
    EXPECT_EQ(desktop.Calls(), (Strings{Call("Close", w0), Call("SetParent", w0, "0"), Call("SetParent", w1, "0"),
                                        Call("SetParent", w2, "0"), Call("Close", w1), Call("Close", w2)}));
}

}  // namespace
}  // namespace vantrel

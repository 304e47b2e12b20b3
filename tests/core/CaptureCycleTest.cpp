#include <gtest/gtest.h>

#include <algorithm>

#include "core/ButtonLayout.h"
#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

using test::HostingTest;
using Strings = std::vector<std::string>;

std::string Call(const char* name, WindowId window, const std::string& argument = "") {
    std::string call = std::string(name) + " " + std::to_string(window);
    return argument.empty() ? call : call + " " + argument;
}

// Capture filtering

using CaptureFilter = HostingTest;

TEST_F(CaptureFilter, TakesViewerWindowsOfAnyLetterCaseAndNothingElse) {
    const WindowId lower = desktop.AddWindow(L"acrobatsdiwindow");
    const WindowId upper = desktop.AddWindow(L"ACROBATSDIWINDOW");
    const WindowId other = desktop.AddWindow(std::wstring(kViewerWindowClass) + L"2");
    engine.RunCaptureCycle();

    EXPECT_TRUE(engine.Hosts(lower));
    EXPECT_TRUE(engine.Hosts(upper));
    EXPECT_FALSE(engine.Hosts(other));
    EXPECT_TRUE(desktop.CallsOn(other).empty());
    EXPECT_EQ(desktop.CallsOn(lower),
              (Strings{Call("SetParent", lower, std::to_string(hostView)), Call("AttachInput", lower),
                       Call("Show", lower, "Show")}));
    ExpectIdsFollowRecords();
}

TEST_F(CaptureFilter, NeverTakesAWindowTwiceOrOneAnotherFrameHosts) {
    const WindowId window = Capture();
    // Top-level again behind our back: still ours, not a second record.
    desktop.Window(window).parent = kNoWindow;
    const WindowId elsewhere = desktop.AddViewerWindow();
    context.hostedElsewhere.insert(elsewhere);
    desktop.ClearCalls();
    engine.RunCaptureCycle();

    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{window}));
    EXPECT_TRUE(desktop.CallsOn(elsewhere).empty());
    EXPECT_EQ(buttons.LiveCount(), 1u);
}

TEST_F(CaptureFilter, WindowThatCannotBeReparentedIsNotRecorded) {
    const WindowId window = desktop.AddViewerWindow();
    desktop.Window(window).refusesNewParent = true;
    engine.RunCaptureCycle();
    EXPECT_FALSE(engine.Hosts(window));
    EXPECT_EQ(buttons.LiveCount(), 0u);
    EXPECT_EQ(desktop.CallsOn(window).size(), 1u);  // the failed SetParent only
}

// A window whose program lets it in later: no record and no button until it is in,
// never a second take meanwhile, and one that will not come is tried again.
TEST_F(CaptureFilter, AWindowOnItsWayInIsRecordedOnceItIsIn) {
    desktop.takesWait = true;
    const WindowId slow = desktop.AddViewerWindow(L"Slow");
    const WindowId refusing = desktop.AddViewerWindow(L"Refusing");
    const WindowId dying = desktop.AddViewerWindow(L"Dying");
    engine.RunCaptureCycle();
    engine.RunCaptureCycle();
    EXPECT_TRUE(engine.JourneysUnderWay());
    EXPECT_TRUE(HostedOrder().empty());
    EXPECT_EQ(buttons.LiveCount(), 0u);
    EXPECT_EQ(desktop.CallsOn(slow), (Strings{Call("BeginTake", slow, std::to_string(hostView))}));

    desktop.EndTake(slow, true);
    desktop.EndTake(refusing, false);
    desktop.Kill(dying);
    desktop.EndTake(dying, true);
    desktop.ClearCalls();
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{slow}));
    EXPECT_EQ(buttons.LiveCount(), 1u);
    EXPECT_EQ(desktop.CallsOn(slow), (Strings{Call("AttachInput", slow), Call("Show", slow, "Show")}));
    EXPECT_EQ(desktop.CallsOn(refusing), (Strings{Call("BeginTake", refusing, std::to_string(hostView))}));
    EXPECT_TRUE(desktop.CallsOn(dying).empty());
    ExpectIdsFollowRecords();
}

// A release of everything (the frame closes, the session ends) waits for the windows
// on their way in and hands them back with the rest: none is left inside.
TEST_F(CaptureFilter, ReleasingEverythingLetsTheWindowsOnTheirWayInBackOut) {
    const WindowId hosted = Capture();
    desktop.takesWait = true;
    const WindowId coming = desktop.AddViewerWindow(L"Coming");
    engine.RunCaptureCycle();
    ASSERT_TRUE(engine.JourneysUnderWay());

    EXPECT_TRUE(engine.ReleaseAllWindows());
    EXPECT_EQ(desktop.takeWaits, 1);
    EXPECT_FALSE(engine.JourneysUnderWay());
    EXPECT_EQ(desktop.Window(hosted).parent, kNoWindow);
    EXPECT_EQ(desktop.Window(coming).parent, kNoWindow);
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_EQ(buttons.LiveCount(), 0u);
}

// A window another frame hands over: the frame that had it lets go only once the
// window is in here, and one that its program does not let in stays where it was.
TEST_F(CaptureFilter, AHandedWindowIsOursOnlyOnceItIsIn) {
    const WindowId other = desktop.AddWindow(L"HostView", L"", frame);
    const WindowId handed = desktop.AddViewerWindow(L"Handed");
    const WindowId stuck = desktop.AddViewerWindow(L"Stuck");
    desktop.Window(handed).parent = other;
    desktop.Window(stuck).parent = other;
    desktop.takesWait = true;
    engine.TakeHandedWindow(handed);
    engine.TakeHandedWindow(handed);  // asked twice: one take
    engine.TakeHandedWindow(stuck);
    engine.RunCaptureCycle();
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_TRUE(context.tookOver.empty());
    EXPECT_EQ(desktop.CallsOn(handed).size(), 1u);

    desktop.EndTake(handed, true);
    desktop.EndTake(stuck, false);
    desktop.ClearCalls();
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{handed}));
    EXPECT_EQ(context.tookOver, (std::vector<WindowId>{handed}));
    EXPECT_TRUE(desktop.CallsOn(handed).empty());  // attached and shown by the frame it came from
    EXPECT_EQ(desktop.Window(stuck).parent, other);
    EXPECT_EQ(buttons.LiveCount(), 1u);
}

TEST_F(CaptureFilter, AdditionalFrameDoesNotCaptureButKeepsItsRecordsInStep) {
    engine.SetCapture(false);
    const WindowId kept = desktop.AddWindow(kViewerWindowClass, L"Kept", hostView);
    const WindowId dying = desktop.AddWindow(kViewerWindowClass, L"Dying", hostView);
    engine.AddHostedWindow(kept);
    engine.AddHostedWindow(dying);
    const WindowId newcomer = desktop.AddViewerWindow();
    desktop.Kill(dying);

    EXPECT_TRUE(engine.RunCaptureCycle());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{kept}));
    EXPECT_EQ(ButtonOf(0).caption, L"Kept");
    EXPECT_TRUE(desktop.CallsOn(newcomer).empty());
}

// Dropping and renumbering

using Dropping = HostingTest;

TEST_F(Dropping, TwoDeadWindowsGoInOneCycleHighestFirstAndIdsCloseUp) {
    const WindowId w0 = Capture(), w1 = Capture(), w2 = Capture(), w3 = Capture();
    const ButtonId b1 = engine.Windows()[1].pButton, b2 = engine.Windows()[2].pButton;
    desktop.Kill(w1);
    desktop.Kill(w2);

    EXPECT_TRUE(engine.RunCaptureCycle());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w3}));
    EXPECT_EQ(buttons.DestroyOrder(), (std::vector<ButtonId>{b2, b1}));
    ExpectIdsFollowRecords();
    EXPECT_EQ(ButtonOf(1).position, (Point{test::FakeButtons::WidthFor(0) + kButtonGap, 0}));
    EXPECT_FALSE(engine.RunCaptureCycle());
}

TEST_F(Dropping, MovedRecordGoesWithoutTouchingItsWindow) {
    const WindowId stays = Capture();
    const WindowId moved = Capture();
    engine.SetTabMode(true);
    engine.MarkMoved(1);
    desktop.BringToTop(moved);
    desktop.ClearCalls();

    EXPECT_TRUE(engine.RunCaptureCycle());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stays}));
    EXPECT_TRUE(desktop.CallsOn(moved).empty());
    EXPECT_EQ(desktop.Parent(moved), hostView);
}

TEST_F(Dropping, RecordWithoutButtonIsKeptAndDroppedLikeAnyOther) {
    buttons.FailNextCreate();
    const WindowId bare = Capture(L"bare");
    const WindowId next = Capture(L"next");
    engine.RunCaptureCycle();  // title sync and check marks must skip the missing button
    EXPECT_EQ(engine.Windows()[0].pButton, kNoButton);
    EXPECT_EQ(ButtonOf(1).controlId, kFirstButtonId + 1);

    desktop.Kill(bare);
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{next}));
    ExpectIdsFollowRecords();
}

TEST_F(Dropping, FrameClosedWhileCtrlF4WaitsEndsTheVisit) {
    const WindowId w0 = Capture();
    const WindowId w1 = Capture();
    // Ctrl+F4 waits for the viewer; meanwhile this additional frame may be closed.
    engine.SetCapture(false);
    engine.SetTabMode(true);
    desktop.Press(Key::Control);
    desktop.Press(Key::F4);
    desktop.onClose = [this](WindowId) { engine.ReleaseAllWindows(); };
    desktop.ClearCalls();
    EXPECT_FALSE(engine.RunCaptureCycle());
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_EQ(desktop.Calls(),
              (Strings{Call("Close", w1), Call("SetParent", w0, "0"), Call("SetParent", w1, "0")}))
        << "nothing more is done to windows that were handed back";
}

TEST_F(Dropping, RecordsRenewedWhileCtrlF4WaitsAreNotDroppedByStaleIndices) {
    const WindowId dead = Capture();
    const WindowId closing = Capture();
    desktop.Kill(dead);
    desktop.Press(Key::Control);
    desktop.Press(Key::F4);
    // Released and taken in again before the cycle goes on: index 0 is a new, live record.
    const WindowId fresh = desktop.AddWindow(kViewerWindowClass, L"", hostView);
    desktop.BringToTop(closing);
    desktop.onClose = [&](WindowId) {
        engine.ReleaseAllWindows();
        engine.AcceptWindows();  // a session end that was cancelled
        engine.AddHostedWindow(fresh);
        engine.AddHostedWindow(closing);
    };
    engine.SetCapture(false);
    EXPECT_FALSE(engine.RunCaptureCycle());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{fresh, closing}));
    EXPECT_EQ(buttons.LiveCount(), 2u);
}

// Title sync

TEST_F(HostingTest, TitleSyncFollowsTheWindowTitle) {
    struct TitleCase {
        const char* name;
        std::wstring before, after, expectedCaption;
        bool expectRelayout;
    };
    const TitleCase cases[] = {
        {"changed title", L"Report", L"Report 2", L"Report 2", true},
        {"letter case only", L"Report", L"REPORT", L"Report", false},
        {"unchanged", L"Report", L"Report", L"Report", false},
        {"cut to 259", L"x", std::wstring(300, L'a'), std::wstring(259, L'a'), true},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowId window = Capture(c.before);
        engine.RunCaptureCycle();
        const std::size_t index = engine.Windows().size() - 1;
        const int changesBefore = ButtonOf(index).captionChanges;
        desktop.Window(window).title = c.after;
        const int placesBefore = buttons.PlaceCalls();

        engine.RunCaptureCycle();
        EXPECT_EQ(ButtonOf(index).caption, c.expectedCaption);
        EXPECT_EQ(ButtonOf(index).captionChanges, changesBefore + (c.expectRelayout ? 1 : 0));
        EXPECT_EQ(buttons.PlaceCalls() > placesBefore, c.expectRelayout);
    }
    EXPECT_FALSE(engine.SyncButtonTitle(kNoButton, engine.Windows()[0].hWnd));
}

// Light cycles: titles in turn, the z-order only when something may have moved it

class LightCycles : public HostingTest {
protected:
    static constexpr unsigned kPeriod = 4;
    // One light cycle of the steady pace, numbered on from the last; a due one also
    // looks at the z-order and the parents.
    bool RunLight(bool due = false) {
        CycleScope scope;
        scope.enumerate = false;
        scope.zOrder = due;
        scope.parents = due;
        scope.titlePeriod = kPeriod;
        scope.tick = ++m_tick;
        return engine.RunCaptureCycle(scope);
    }
    void Settle() {
        for (unsigned i = 0; i < kPeriod; ++i) RunLight(true);
    }
    unsigned m_tick = 0;
};

TEST_F(LightCycles, ReadEachTitleOncePerPeriodAndNoZOrderWithoutCause) {
    for (int i = 0; i < 8; ++i) Capture(L"Doc " + std::to_wstring(i));
    Settle();
    desktop.ClearCalls();
    desktop.titleReads = desktop.topChildReads = 0;
    for (unsigned i = 0; i < 3 * kPeriod; ++i) RunLight();
    EXPECT_EQ(desktop.titleReads, 3 * 8);
    EXPECT_EQ(desktop.topChildReads, 0);
    EXPECT_TRUE(desktop.Calls().empty());
}

TEST_F(LightCycles, ChangesReachTheButtonsWithinAPeriod) {
    std::vector<WindowId> windows;
    for (int i = 0; i < 6; ++i) windows.push_back(Capture(L"Doc " + std::to_wstring(i)));
    Settle();
    desktop.Window(windows[1]).title = L"Renamed";
    desktop.Kill(windows[4]);
    desktop.Window(windows[2]).parent = kNoWindow;  // taken back by its program
    for (unsigned i = 0; i < kPeriod; ++i) RunLight();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{windows[0], windows[1], windows[2], windows[3], windows[5]}));
    EXPECT_EQ(ButtonOf(1).caption, L"Renamed");
    // Where a window lives is asked when the cycle is due.
    RunLight(true);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{windows[0], windows[1], windows[3], windows[5]}));
    ExpectIdsFollowRecords();
}

TEST_F(LightCycles, WhatMustNotWaitIsDoneByTheNextOne) {
    const WindowId w0 = Capture(L"First");
    const WindowId w1 = Capture(L"Second");
    const WindowId w2 = Capture(L"Third");
    Settle();
    ASSERT_TRUE(ButtonOf(2).checked);

    // A window just taken in gets its caption and its check mark at once.
    const WindowId fresh = desktop.AddViewerWindow(L"Fresh");
    engine.OfferWindow(fresh);
    RunLight();
    EXPECT_EQ(ButtonOf(3).caption, L"Fresh");
    EXPECT_TRUE(ButtonOf(3).checked);
    EXPECT_FALSE(ButtonOf(2).checked);

    // A click brings its window forward, and the mark follows.
    engine.OnButtonClicked(kFirstButtonId + 0);
    RunLight();
    EXPECT_TRUE(ButtonOf(0).checked);
    EXPECT_FALSE(ButtonOf(3).checked);

    // A record handed to another frame goes at once.
    engine.MarkMoved(1);
    RunLight();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w2, fresh}));
    ExpectIdsFollowRecords();

    // Raised by its own program: seen when the z-order is due.
    RunLight();  // the drop may have changed the z-order: read once more
    desktop.BringToTop(w2);
    RunLight();
    EXPECT_TRUE(ButtonOf(0).checked);
    RunLight(true);
    EXPECT_TRUE(ButtonOf(1).checked);
    EXPECT_FALSE(ButtonOf(0).checked);
    (void)w1;
}

TEST_F(LightCycles, ANewHostViewSizeRefitsTheMaximizedWindowOnTop) {
    const WindowId window = Capture();
    desktop.Window(window).maximizedStyle = true;
    desktop.Window(window).windowRect = Rect{0, 0, 800, 600};
    Settle();
    desktop.ClearCalls();
    desktop.Window(hostView).clientRect = Rect{0, 0, 640, 480};
    RunLight();
    EXPECT_EQ(desktop.CallsOn(window), (Strings{Call("Move", window, "0,0,640,480")}));
}

TEST_F(LightCycles, TabModeReachesEveryWindowWithinAPeriod) {
    std::vector<WindowId> windows;
    for (int i = 0; i < 5; ++i) windows.push_back(Capture());
    Settle();
    engine.SetTabMode(true);
    desktop.ClearCalls();
    for (unsigned i = 0; i < kPeriod; ++i) RunLight();
    for (WindowId w : windows) EXPECT_EQ(desktop.CallsOn(w), (Strings{Call("Show", w, "ShowMaximized")}));
}

// Check marks and the active record

using CheckMarks = HostingTest;

TEST_F(CheckMarks, FollowTheTopChildOfTheHostView) {
    const WindowId w0 = Capture(), w1 = Capture();
    desktop.BringToTop(w0);
    engine.RunCaptureCycle();
    EXPECT_TRUE(ButtonOf(0).checked);
    EXPECT_FALSE(ButtonOf(1).checked);
    EXPECT_EQ(engine.GetActiveIndex(), 0);

    desktop.BringToTop(w1);
    engine.RunCaptureCycle();
    EXPECT_FALSE(ButtonOf(0).checked);
    EXPECT_TRUE(ButtonOf(1).checked);
    EXPECT_EQ(engine.GetActiveIndex(), 1);
}

TEST_F(CheckMarks, NoneWhenAForeignWindowIsOnTop) {
    Capture();
    engine.RunCaptureCycle();
    ASSERT_TRUE(ButtonOf(0).checked);
    desktop.AddWindow(L"SomethingElse", L"", hostView);
    engine.RunCaptureCycle();
    EXPECT_FALSE(ButtonOf(0).checked);
    EXPECT_EQ(engine.GetActiveIndex(), -1);
}

// Tab mode and fitting maximized windows

TEST_F(HostingTest, TabModeMaximizesThenKeepsAtOriginEveryCycle) {
    const WindowId window = Capture();
    engine.RunCaptureCycle();
    EXPECT_EQ(desktop.CallsOn(window).size(), 3u) << "tab mode off: capture calls only";

    engine.SetTabMode(true);
    desktop.ClearCalls();
    engine.RunCaptureCycle();
    EXPECT_EQ(desktop.CallsOn(window), (Strings{Call("Show", window, "ShowMaximized")}));

    desktop.Window(window).windowRect = Rect{0, 0, 800, 600};  // already fills the host view
    desktop.ClearCalls();
    engine.RunCaptureCycle();
    engine.RunCaptureCycle();
    EXPECT_EQ(desktop.CallsOn(window), (Strings{Call("MoveTo", window, "0,0"), Call("MoveTo", window, "0,0")}));
}

TEST_F(HostingTest, FitMaximizedWindowSizesOnlyMaximizedWindowsThatDiffer) {
    struct FitCase {
        const char* name;
        bool maximized;
        bool moved;
        Rect outer;
        bool expectMove;
    };
    const FitCase cases[] = {
        {"maximized, smaller", true, false, {0, 0, 400, 300}, true},
        {"maximized, same size elsewhere", true, false, {10, 10, 810, 610}, false},
        {"maximized, one pixel short in height", true, false, {0, 0, 800, 599}, true},
        {"maximized, one pixel wide", true, false, {0, 0, 801, 600}, true},
        {"restored", false, false, {0, 0, 400, 300}, false},
        {"maximized but moved away", true, true, {0, 0, 400, 300}, false},
    };
    desktop.Window(hostView).clientRect = Rect{0, 0, 800, 600};
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowId window = Capture();
        const std::size_t index = engine.Windows().size() - 1;
        desktop.Window(window).maximizedStyle = c.maximized;
        desktop.Window(window).windowRect = c.outer;
        if (c.moved) engine.MarkMoved(index);
        desktop.ClearCalls();
        engine.FitMaximizedWindow(index);
        EXPECT_EQ(desktop.CallsOn(window),
                  c.expectMove ? Strings{Call("Move", window, "0,0,800,600")} : Strings{});
    }
    desktop.ClearCalls();
    engine.FitMaximizedWindow(engine.Windows().size());
    EXPECT_TRUE(desktop.Calls().empty());
}

TEST_F(HostingTest, CycleFitsOnlyTheWindowOnTop) {
    const WindowId below = Capture(), top = Capture();
    for (WindowId window : {below, top}) {
        desktop.Window(window).maximizedStyle = true;
        desktop.Window(window).windowRect = Rect{0, 0, 100, 100};
    }
    desktop.BringToTop(top);
    engine.RunCaptureCycle();
    EXPECT_EQ(desktop.WindowRect(top), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(desktop.WindowRect(below), (Rect{0, 0, 100, 100}));
}

// Releasing everything

using Release = HostingTest;

TEST_F(Release, ReleaseDuringTakeInSendsTheNewcomerBackAndTakesNoMore) {
    const WindowId hosted = Capture();
    const WindowId newcomer = desktop.AddViewerWindow();
    const WindowId later = desktop.AddViewerWindow();
    // The session ends while taking the first of them in waits for its program.
    desktop.onTakeIn = [this](WindowId) { engine.ReleaseAllWindows(); };
    desktop.ClearCalls();
    engine.RunCaptureCycle();

    EXPECT_TRUE(engine.Windows().empty());
    for (WindowId w : {hosted, newcomer, later}) EXPECT_EQ(desktop.Parent(w), kNoWindow);
    const auto& calls = desktop.Calls();
    const auto takeIns = std::count(calls.begin(), calls.end(), Call("SetParent", newcomer, std::to_string(hostView))) +
                         std::count(calls.begin(), calls.end(), Call("SetParent", later, std::to_string(hostView)));
    EXPECT_EQ(takeIns, 1) << "nothing is taken in after the release";
    EXPECT_EQ(buttons.LiveCount(), 0u);

    // Nor by later cycles, nor by a frame handing a window over...
    engine.RunCaptureCycle();
    desktop.Window(later).parent = hostView;
    engine.AddHostedWindow(later);
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_EQ(desktop.Parent(later), kNoWindow);
    // ...until windows are accepted again.
    engine.AcceptWindows();
    engine.RunCaptureCycle();
    EXPECT_EQ(engine.Windows().size(), 3u);
}

TEST_F(Release, WindowThatWillNotLeaveKeepsItsRecordUntilALaterReleaseSucceeds) {
    const WindowId stuck = Capture();
    const WindowId free = Capture();
    desktop.Window(stuck).refusesNewParent = true;
    EXPECT_FALSE(engine.ReleaseAllWindows());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stuck}));
    EXPECT_EQ(buttons.LiveCount(), 1u);
    EXPECT_EQ(desktop.Parent(free), kNoWindow);
    ExpectIdsFollowRecords();

    desktop.Window(stuck).refusesNewParent = false;
    EXPECT_TRUE(engine.ReleaseAllWindows());
    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_EQ(desktop.Parent(stuck), kNoWindow);
    EXPECT_EQ(buttons.LiveCount(), 0u);
}

// One window at a time, as a closing frame lets go of each once its program answers.
TEST_F(Release, OneWindowLeavesAloneAndTheButtonsCloseUp) {
    const WindowId first = Capture();
    const WindowId stuck = Capture();
    const WindowId last = Capture();
    EXPECT_TRUE(engine.ReleaseWindow(first));
    EXPECT_EQ(desktop.Parent(first), kNoWindow);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stuck, last}));
    ExpectIdsFollowRecords();

    desktop.Window(stuck).refusesNewParent = true;
    EXPECT_FALSE(engine.ReleaseWindow(stuck));
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stuck, last}));
    EXPECT_EQ(buttons.LiveCount(), 2u);

    // A window that went meanwhile is only forgotten; one never hosted is no matter.
    desktop.Kill(last);
    EXPECT_TRUE(engine.ReleaseWindow(last));
    EXPECT_TRUE(engine.ReleaseWindow(first));
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{stuck}));
    EXPECT_EQ(buttons.LiveCount(), 1u);
    ExpectIdsFollowRecords();
}

// Windows the desktop announces

using Offers = HostingTest;

TEST_F(Offers, ViewerWindowIsTakenAtOnceThroughTheCapturePath) {
    const WindowId window = desktop.AddViewerWindow(L"Announced");
    engine.OfferWindow(window);
    EXPECT_TRUE(engine.Hosts(window));
    EXPECT_EQ(desktop.CallsOn(window),
              (Strings{Call("SetParent", window, std::to_string(hostView)), Call("AttachInput", window),
                       Call("Show", window, "Show")}));
    EXPECT_EQ(engine.Counts().takenFromOffers, 1u);
    ExpectIdsFollowRecords();

    // Announced again (shown after created), or found by the enumeration: still one record.
    engine.OfferWindow(window);
    engine.RunCaptureCycle();
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{window}));
    EXPECT_EQ(engine.Counts().takenByEnumeration, 0u);
}

// The announcement of a window can arrive while the enumeration is taking that very
// window in (re-parenting lets other programs' calls in): one record, one button.
TEST_F(Offers, AnnouncementArrivingWhileTheWindowIsBeingTakenInAddsNothing) {
    const WindowId window = desktop.AddViewerWindow(L"Twice");
    desktop.onTakeIn = [this](WindowId w) { engine.OfferWindow(w); };
    engine.RunCaptureCycle();

    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{window}));
    EXPECT_EQ(buttons.LiveCount(), 1u);
    const auto& calls = desktop.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), Call("SetParent", window, std::to_string(hostView))), 1);
    ExpectIdsFollowRecords();
}

TEST_F(Offers, WhatIsNotATopLevelViewerWindowOfAnotherProgramIsLeftAlone) {
    const WindowId child = desktop.AddWindow(kViewerWindowClass, L"", frame);
    const WindowId ours = desktop.AddViewerWindow();
    desktop.Window(ours).ours = true;
    const WindowId other = desktop.AddWindow(L"SomethingElse");
    const WindowId dead = desktop.AddViewerWindow();
    desktop.Kill(dead);
    const WindowId elsewhere = desktop.AddViewerWindow();
    context.hostedElsewhere.insert(elsewhere);
    for (WindowId window : {child, ours, other, dead, elsewhere, kNoWindow}) engine.OfferWindow(window);

    EXPECT_TRUE(engine.Windows().empty());
    EXPECT_TRUE(desktop.Calls().empty());
    EXPECT_EQ(engine.PendingOffers(), 0u);
}

TEST_F(Offers, RefusedWindowWaitsForTheCyclesAndTheOnesAfterItWaitBehind) {
    const WindowId first = desktop.AddViewerWindow(L"first");
    const WindowId second = desktop.AddViewerWindow(L"second");
    desktop.Window(first).refusesNewParent = true;  // its program is busy, say
    engine.OfferWindow(first);
    engine.OfferWindow(second);
    EXPECT_TRUE(engine.Windows().empty()) << "the second must not overtake the first";
    EXPECT_EQ(engine.PendingOffers(), 2u);

    // The enumeration finds both, newest first, but leaves them to the queue.
    engine.RunCaptureCycle(true);
    EXPECT_TRUE(engine.Windows().empty());
    desktop.Window(first).refusesNewParent = false;
    engine.RunCaptureCycle(true);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{first, second}));
    EXPECT_EQ(engine.PendingOffers(), 0u);
}

TEST_F(Offers, WindowThatKeepsRefusingIsLeftToTheEnumeration) {
    const WindowId stubborn = desktop.AddViewerWindow();
    const WindowId next = desktop.AddViewerWindow();
    desktop.Window(stubborn).refusesNewParent = true;
    engine.OfferWindow(stubborn);
    engine.OfferWindow(next);
    for (int i = 1; i < kOfferAttempts; ++i) engine.RunCaptureCycle(false);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{next}));
    EXPECT_EQ(engine.PendingOffers(), 0u);

    desktop.Window(stubborn).refusesNewParent = false;
    engine.RunCaptureCycle(false);
    EXPECT_FALSE(engine.Hosts(stubborn));
    engine.RunCaptureCycle(true);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{next, stubborn}));
}

TEST_F(Offers, CycleWithoutEnumerationFindsNothingNewAndCountsSo) {
    const WindowId unannounced = desktop.AddViewerWindow();
    engine.RunCaptureCycle(false);
    EXPECT_FALSE(engine.Hosts(unannounced));
    engine.RunCaptureCycle(true);
    EXPECT_TRUE(engine.Hosts(unannounced));
    EXPECT_EQ(engine.Counts().cycles, 2u);
    EXPECT_EQ(engine.Counts().enumerations, 1u);
    EXPECT_EQ(engine.Counts().takenByEnumeration, 1u);
}

TEST_F(Offers, PendingOnesAreForgottenWhenCaptureStopsOrEverythingIsReleased) {
    const WindowId waiting = desktop.AddViewerWindow();
    desktop.Window(waiting).refusesNewParent = true;
    engine.OfferWindow(waiting);
    engine.SetCapture(false);
    EXPECT_EQ(engine.PendingOffers(), 0u);
    engine.OfferWindow(waiting);
    EXPECT_EQ(engine.PendingOffers(), 0u) << "a frame that does not capture takes no offers";

    engine.SetCapture(true);
    engine.OfferWindow(waiting);
    engine.ReleaseAllWindows();
    EXPECT_EQ(engine.PendingOffers(), 0u);
    desktop.Window(waiting).refusesNewParent = false;
    engine.RunCaptureCycle(false);
    EXPECT_FALSE(engine.Hosts(waiting));
}

}  // namespace
}  // namespace vantrel

// Windows on their way into, out of and between frames, on a desktop whose programs
// answer late or never: each frame reads only the outcomes of its own journeys, records
// a window as soon as it is told, and never loses one.
#include <string>
#include <vector>

#include "tests/core/HostingFixture.h"

namespace vantrel::test {
namespace {

using Windows = std::vector<WindowId>;

// A second frame beside the fixture's: its own host view, buttons and engine.
struct OtherFrame {
    explicit OtherFrame(FakeDesktop& desktop)
        : frame(desktop.AddWindow(L"FrameWindow")),
          hostView(desktop.AddWindow(L"HostView", L"", frame)),
          engine(desktop, buttons, context) {
        desktop.Window(hostView).clientRect = Rect{0, 0, 800, 600};
        context.ownerFrame = frame;
        engine.SetHostView(hostView);
    }
    const WindowId frame;
    const WindowId hostView;
    FakeButtons buttons;
    FakeContext context;
    HostingEngine engine;
};

class JourneyTest : public HostingTest {
protected:
    JourneyTest() { desktop.takesWait = true; }

    // A window hosted by the fixture's frame, in, recorded and captioned.
    WindowId Hosted(const std::wstring& title) {
        desktop.takesWait = false;
        const WindowId window = Capture(title);
        desktop.takesWait = true;
        return window;
    }

    // The fixture's frame hands its record of `window` to `to`, as a move does.
    TakeState HandOver(WindowId window, OtherFrame& to) {
        const TakeState state = to.engine.TakeHandedWindow(window);
        if (state == TakeState::Pending) engine.MarkHanding(static_cast<std::size_t>(engine.IndexOfWindow(window)), true);
        return state;
    }
    // What the target tells the frame the window came from, as the frames' glue does.
    void TellSource(OtherFrame& to) {
        for (WindowId w : to.context.tookOver) {
            const int index = engine.IndexOfWindow(w);
            if (index >= 0) engine.MarkMoved(static_cast<std::size_t>(index));
        }
        to.context.tookOver.clear();
    }

    OtherFrame target{desktop};
};

using Journeys = JourneyTest;

// How a window's way in ends, and when its frame hears of it: the outcome told by the
// desktop records it at once, without waiting for a cycle; one that arrived and whose
// re-parenting still waits counts as in after the grace; one that died is forgotten.
TEST_F(Journeys, AWindowOnItsWayInIsRecordedAsSoonAsItsOutcomeIsKnown) {
    enum class End { Told, Refused, ArrivedLongAgo, ArrivedJustNow, Died };
    struct Case {
        const char* name;
        End end;
        bool recorded;
        bool underWay;   // still on its way after the cycle
        int forgotten;   // outcomes the frame said it will not read
    };
    const Case cases[] = {
        {"told, recorded without a cycle", End::Told, true, false, 0},
        {"refused, tried again by the cycle", End::Refused, false, true, 0},
        {"arrived, the program still busy", End::ArrivedLongAgo, true, false, 1},
        {"arrived within the grace", End::ArrivedJustNow, false, true, 0},
        {"died on its way", End::Died, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.forgotten = 0;
        const WindowId window = desktop.AddViewerWindow(L"Coming");
        desktop.now = 1000;
        engine.OfferWindow(window);
        ASSERT_TRUE(engine.JourneysUnderWay());
        ASSERT_FALSE(engine.Hosts(window));
        switch (c.end) {
        case End::Told:
            engine.OnReparentDone(desktop.EndTake(window, true));
            break;
        case End::Refused:
            engine.OnReparentDone(desktop.EndTake(window, false));
            break;
        case End::ArrivedLongAgo:
        case End::ArrivedJustNow:
            desktop.Window(window).parent = hostView;  // moved, its program not done yet
            desktop.now += c.end == End::ArrivedLongAgo ? kArrivalGrace : kArrivalGrace - 1;
            engine.RunCaptureCycle(false);
            break;
        case End::Died:
            desktop.Kill(window);
            engine.RunCaptureCycle(false);
            break;
        }
        EXPECT_EQ(engine.Hosts(window), c.recorded);
        if (c.end == End::Refused) engine.RunCaptureCycle(true);  // found again, asked anew
        EXPECT_EQ(engine.JourneysUnderWay(), c.underWay);
        EXPECT_EQ(desktop.forgotten, c.forgotten);
        if (c.recorded) {
            EXPECT_EQ(ButtonOf(engine.Windows().size() - 1).caption, L"Coming");
        }
        // Clean slate for the next case.
        while (engine.JourneysUnderWay()) {
            const WindowId w = engine.JourneyList().All().front().window;
            desktop.Kill(w);
            engine.RunCaptureCycle(false);
        }
        if (engine.Hosts(window)) desktop.Kill(window);
        engine.RunCaptureCycle(false);
    }
}

// A frame closes while one of its windows is on its way to another frame: it asks
// nothing about that window and reads nothing of the other frame's journey, and it is
// done once the window is in there; the window is recorded exactly once.
TEST_F(Journeys, AFrameClosingWhileItsWindowMovesLeavesItToTheTarget) {
    for (bool arrives : {true, false}) {
        SCOPED_TRACE(arrives ? "the move succeeds" : "the move is refused");
        const WindowId moving = Hosted(L"Moving");
        ASSERT_EQ(HandOver(moving, target), TakeState::Pending);
        EXPECT_EQ(engine.Windows()[0].bHanding, true);
        desktop.ClearCalls();
        engine.LetGoTick();
        EXPECT_TRUE(desktop.CallsOn(moving).empty()) << "asked about a window on its way elsewhere";
        EXPECT_FALSE(engine.LetGoDone());

        const Ticket ticket = desktop.EndTake(moving, arrives);
        engine.LetGoTick();  // not its journey: it reads nothing of it
        target.engine.OnReparentDone(ticket);
        if (arrives)
            TellSource(target);
        else
            engine.MarkHanding(0, false);  // what NotTakenOver does
        EXPECT_EQ(target.engine.Hosts(moving), arrives);
        engine.LetGoTick();
        if (!arrives) {
            EXPECT_EQ(desktop.CallsOn(moving), (std::vector<std::string>{"AskAnswer " + std::to_string(moving)}));
            engine.OnAnswered(desktop.Answer(moving));
            engine.OnReparentDone(desktop.EndTake(moving, true));
            EXPECT_EQ(desktop.Window(moving).parent, kNoWindow);
            EXPECT_EQ(context.released, (Windows{moving}));
        }
        EXPECT_TRUE(engine.LetGoDone());
        EXPECT_EQ(target.buttons.LiveCount(), arrives ? 1u : 0u);
        // Back to a frame with nothing, for the next round.
        context.released.clear();
        if (arrives) {
            desktop.Kill(moving);
            target.engine.RunCaptureCycle(false);
        }
        engine.AcceptWindows();
    }
}

// Letting go: a window is asked once per turn, handed back once its program answered,
// and asked again only at the next turn when it could not go (its re-parenting
// refused, or under way elsewhere): no asking round after round in between.
TEST_F(Journeys, AClosingFrameAsksEachWindowOncePerTurn) {
    const WindowId window = Hosted(L"Leaving");
    desktop.ClearCalls();
    engine.LetGoTick();
    engine.LetGoTick();  // the answer is still awaited: not asked twice
    EXPECT_EQ(desktop.CallsOn(window).size(), 1u);

    // Another re-parenting of it is under way (another frame's, say): refused for now.
    ASSERT_EQ(target.engine.TakeHandedWindow(window), TakeState::Pending);
    engine.OnAnswered(desktop.Answer(window));
    EXPECT_TRUE(engine.Hosts(window));
    EXPECT_FALSE(engine.JourneysUnderWay());
    EXPECT_FALSE(desktop.Asked(window));
    target.engine.OnReparentDone(desktop.EndTake(window, false));

    engine.LetGoTick();  // the next turn asks again, and this time it goes
    engine.OnAnswered(desktop.Answer(window));
    engine.OnReparentDone(desktop.EndTake(window, true));
    EXPECT_EQ(desktop.Window(window).parent, kNoWindow);
    EXPECT_TRUE(engine.LetGoDone());
    EXPECT_EQ(context.released, (Windows{window}));
}

// A release of everything waits for its own journeys only, and not for ever; one that
// it gave up on never keeps the window from being taken in again later.
TEST_F(Journeys, AReleaseWaitsForItsOwnJourneysForAWhileAndLeavesNothingBehind) {
    const WindowId leaving = Hosted(L"Leaving");
    const WindowId elsewhere = desktop.AddViewerWindow(L"Elsewhere");
    ASSERT_EQ(target.engine.TakeHandedWindow(elsewhere), TakeState::Pending);
    engine.LetGoTick();
    engine.OnAnswered(desktop.Answer(leaving));
    ASSERT_TRUE(engine.JourneysUnderWay());
    desktop.neverEnding.insert(leaving);  // its program hangs in the hand-back

    engine.ReleaseAllWindows();
    EXPECT_EQ(desktop.lastWaitMs, kReleaseWait);
    EXPECT_TRUE(target.engine.JourneysUnderWay()) << "waited for another frame's journey";

    // The target goes while the window it was being handed is still on its way: the
    // frame that had the window keeps it.
    desktop.neverEnding.insert(elsewhere);
    target.engine.ReleaseAllWindows();
    EXPECT_FALSE(target.engine.JourneysUnderWay());
    EXPECT_EQ(target.context.notTakenOver, (Windows{elsewhere}));

    // The hang ends long after: the hand-back's outcome is never read, and the window,
    // now on the desktop, can be taken in again (the session end was cancelled).
    desktop.EndTake(leaving, true);
    engine.AcceptWindows();
    target.engine.AcceptWindows();
    desktop.takesWait = false;
    target.engine.SetCapture(true);
    target.engine.RunCaptureCycle(true);
    EXPECT_TRUE(target.engine.Hosts(leaving) || engine.Hosts(leaving));
}

}  // namespace
}  // namespace vantrel::test

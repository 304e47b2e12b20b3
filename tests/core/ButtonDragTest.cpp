#include <gtest/gtest.h>

#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

class ButtonDrag : public test::HostingTest {
protected:
    ButtonDrag() {
        w0 = Capture(L"zero");
        w1 = Capture(L"one");
        w2 = Capture(L"two");
        engine.RunCaptureCycle();
    }

    // Mouse messages go to the button holding the capture once a drag runs.
    int CapturedId() { return buttons.Button(buttons.Captured()).controlId; }

    void StartDrag(std::size_t index, int startX = 1000) {
        engine.OnLeftButtonDown(Point{startX, 50});
        engine.OnMouseMove(Point{startX + 6, 50}, true, kFirstButtonId + static_cast<int>(index));
        ASSERT_TRUE(engine.IsDragging());
    }

    WindowId w0 = kNoWindow, w1 = kNoWindow, w2 = kNoWindow;
};

// A record put back at its old place: the others keep their order, and every
// button's id follows its record.
TEST_F(ButtonDrag, MoveRecordClosesUpBehindIt) {
    struct MoveCase {
        std::size_t from, to;
        std::vector<int> order;  // of w0, w1, w2 by their first places
    };
    const MoveCase cases[] = {
        {2, 0, {2, 0, 1}}, {0, 2, {1, 2, 0}}, {1, 1, {0, 1, 2}}, {0, 1, {1, 0, 2}}, {3, 0, {0, 1, 2}}, {0, 7, {0, 1, 2}},
    };
    const std::vector<WindowId> first = HostedOrder();
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        // Back to the first order, whatever the case before did.
        for (std::size_t i = 0; i < first.size(); ++i) engine.MoveRecord(static_cast<std::size_t>(engine.IndexOfWindow(first[i])), i);
        ASSERT_EQ(HostedOrder(), first);
        engine.MoveRecord(c.from, c.to);
        std::vector<WindowId> expected;
        for (int k : c.order) expected.push_back(first[static_cast<std::size_t>(k)]);
        EXPECT_EQ(HostedOrder(), expected);
        ExpectIdsFollowRecords();
    }
}

TEST_F(ButtonDrag, StartsOnlyBeyondFivePixelsSideways) {
    struct StartCase {
        Point to;
        bool starts;
    };
    const StartCase cases[] = {
        {{1000, 50}, false}, {{1005, 50}, false}, {{995, 50}, false}, {{1000, 500}, false},
        {{1006, 50}, true},  {{994, 50}, true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.to.x);
        engine.OnLeftButtonDown(Point{1000, 50});
        engine.OnMouseMove(c.to, true, kFirstButtonId + 1);
        EXPECT_EQ(engine.IsDragging(), c.starts);
        if (c.starts) {
            EXPECT_EQ(engine.DragIndex(), 1);
            EXPECT_EQ(buttons.Captured(), engine.Windows()[1].pButton);
            EXPECT_EQ(ButtonOf(1).faceColor, kDragFaceColor);
        }
        engine.OnLeftButtonUp();
    }
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
}

TEST_F(ButtonDrag, FirstButtonMovesOnePlacePerHundredPixelsPastTheLastSwap) {
    StartDrag(0);
    engine.OnMouseMove(Point{1100, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2})) << "100 pixels are not enough";

    engine.OnMouseMove(Point{1101, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w1, w0, w2}));
    EXPECT_EQ(engine.DragIndex(), 1);
    ExpectIdsFollowRecords();
    EXPECT_EQ(ButtonOf(0).position, (Point{0, 0}));

    engine.OnMouseMove(Point{1201, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w1, w0, w2})) << "measured from the swap";
    engine.OnMouseMove(Point{1202, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w1, w2, w0}));
    ExpectIdsFollowRecords();

    engine.OnLeftButtonUp();
    EXPECT_FALSE(engine.IsDragging());
    EXPECT_EQ(buttons.Captured(), kNoButton);
    EXPECT_EQ(ButtonOf(2).faceColor, kAfterDragFaceColor);
    EXPECT_EQ(ButtonOf(0).faceColor, 0u);
}

TEST_F(ButtonDrag, LeftwardSwapsToo) {
    StartDrag(2);
    engine.OnMouseMove(Point{899, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w2, w1}));
    EXPECT_EQ(engine.DragIndex(), 1);
    ExpectIdsFollowRecords();
}

TEST_F(ButtonDrag, EndButtonsColourButDoNotMovePastTheEnds) {
    StartDrag(2);
    engine.OnMouseMove(Point{1500, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
    EXPECT_EQ(ButtonOf(2).faceColor, kDragFaceColor);
    EXPECT_EQ(buttons.Captured(), engine.Windows()[2].pButton);
    engine.OnLeftButtonUp();
    EXPECT_EQ(ButtonOf(2).faceColor, kAfterDragFaceColor);

    StartDrag(0);
    engine.OnMouseMove(Point{500, 50}, true, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
    EXPECT_EQ(ButtonOf(0).faceColor, kDragFaceColor);
}

TEST_F(ButtonDrag, MovesWithOtherButtonsOrKeysAreIgnored) {
    engine.OnLeftButtonDown(Point{1000, 50});
    engine.OnMouseMove(Point{1050, 50}, false, kFirstButtonId);
    EXPECT_FALSE(engine.IsDragging());

    StartDrag(0);
    engine.OnMouseMove(Point{1300, 50}, false, CapturedId());
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
}

TEST_F(ButtonDrag, ForeignOrStaleIdsStartNothingAndMoveNothing) {
    engine.OnLeftButtonDown(Point{1000, 50});
    for (int id : {1, kFirstButtonId - 1, kFirstButtonId + 3}) engine.OnMouseMove(Point{1050, 50}, true, id);
    EXPECT_FALSE(engine.IsDragging());

    StartDrag(1);
    engine.OnMouseMove(Point{1300, 50}, true, kFirstButtonId + 3);
    engine.OnMouseMove(Point{700, 50}, true, 1);
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
}

TEST_F(ButtonDrag, ButtonUpNeverRecoloursAnIndexPastTheRecords) {
    desktop.Kill(Capture(L"three"));
    engine.RunCaptureCycle();
    StartDrag(2);
    // Moves from another button (the capture was lost) push the drag index past the end.
    engine.OnMouseMove(Point{1200, 50}, true, kFirstButtonId);
    ASSERT_EQ(engine.DragIndex(), 3);
    engine.OnLeftButtonUp();  // FakeButtons fails the test on a call to the destroyed button
    EXPECT_FALSE(engine.IsDragging());
}

TEST_F(ButtonDrag, DroppingTheDraggedRecordEndsTheDrag) {
    StartDrag(2);
    desktop.Kill(w2);
    engine.RunCaptureCycle();
    EXPECT_FALSE(engine.IsDragging());
    EXPECT_EQ(buttons.Captured(), kNoButton);
    engine.OnLeftButtonUp();
    EXPECT_EQ(ButtonOf(0).faceColor, 0u);
    EXPECT_EQ(ButtonOf(1).faceColor, 0u);
}

TEST_F(ButtonDrag, DroppingAnEarlierRecordKeepsTheDragOnItsButton) {
    StartDrag(2);
    desktop.Kill(w0);
    engine.RunCaptureCycle();
    ASSERT_TRUE(engine.IsDragging());
    EXPECT_EQ(engine.DragIndex(), 1);
    engine.OnLeftButtonUp();
    EXPECT_EQ(ButtonOf(1).faceColor, kAfterDragFaceColor);
    EXPECT_EQ(ButtonOf(0).faceColor, 0u);
}

// From the keyboard a button moves as a drag moves it, place by place, with the ids
// and the layout following; stale indices and the ends stop it.
TEST_F(ButtonDrag, KeyboardMovesGoPlaceByPlaceAndStopAtTheEnds) {
    struct MoveCase {
        int index;
        int delta;
        int result;
        std::vector<int> order;  // of w0, w1, w2 afterwards
    };
    const MoveCase cases[] = {
        {0, 1, 1, {1, 0, 2}},  {0, 2, 2, {1, 2, 0}},  {2, -1, 1, {0, 2, 1}}, {2, -5, 0, {2, 0, 1}},
        {1, 9, 2, {0, 2, 1}},  {0, -1, 0, {0, 1, 2}}, {2, 1, 2, {0, 1, 2}},  {1, 0, 1, {0, 1, 2}},
        {-1, 1, -1, {0, 1, 2}}, {3, -1, -1, {0, 1, 2}}, {1, -2147483647 - 1, 0, {1, 0, 2}},
    };
    const WindowId original[] = {w0, w1, w2};
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " by " << c.delta);
        EXPECT_EQ(engine.MoveButton(c.index, c.delta), c.result);
        std::vector<WindowId> expected;
        for (int i : c.order) expected.push_back(original[i]);
        EXPECT_EQ(HostedOrder(), expected);
        ExpectIdsFollowRecords();
        EXPECT_EQ(ButtonOf(0).position, (Point{0, 0}));
        // Back to the original order for the next case.
        for (std::size_t i = 0; i < 3; ++i) {
            const int at = engine.IndexOfWindow(original[i]);
            engine.MoveButton(at, static_cast<int>(i) - at);
        }
    }

    StartDrag(0);
    EXPECT_EQ(engine.MoveButton(0, 1), 0) << "a drag owns the order";
    EXPECT_EQ(HostedOrder(), (std::vector<WindowId>{w0, w1, w2}));
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include "core/ButtonLayout.h"
#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

struct LayoutCase {
    const char* name;
    std::vector<Size> sizes;
    int rowWidth;
    std::vector<Point> expected;
};

TEST(LayoutButtons, PlacesButtonsInRows) {
    const LayoutCase cases[] = {
        {"empty", {}, 300, {}},
        {"third of three 100s wraps in 300", {{100, 22}, {100, 22}, {100, 22}}, 300,
         {{0, 0}, {105, 0}, {0, 23}}},
        {"single button wider than the row", {{500, 22}}, 300, {{0, 0}}},
        {"x + w + 5 equal to the width stays", {{100, 22}, {100, 22}}, 210, {{0, 0}, {105, 0}}},
        {"one pixel less wraps", {{100, 22}, {100, 22}}, 209, {{0, 0}, {0, 23}}},
        {"wide button in the middle takes a row of its own", {{50, 22}, {400, 22}, {50, 22}}, 300,
         {{0, 0}, {0, 23}, {0, 46}}},
        {"row step is the height of the button opening the row",
         {{100, 22}, {100, 40}, {100, 10}}, 150, {{0, 0}, {0, 41}, {0, 52}}},
        {"second row fills like the first", {{60, 22}, {60, 22}, {60, 22}, {60, 22}, {60, 22}}, 200,
         {{0, 0}, {65, 0}, {130, 0}, {0, 23}, {65, 23}}},
        {"zero width: one button per row", {{10, 22}, {10, 22}}, 0, {{0, 0}, {0, 23}}},
        {"negative width: one button per row", {{10, 22}, {10, 22}}, -5, {{0, 0}, {0, 23}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Point> actual = LayoutButtons(c.sizes, c.rowWidth);
        ASSERT_EQ(actual.size(), c.expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i].x, c.expected[i].x) << "button " << i;
            EXPECT_EQ(actual[i].y, c.expected[i].y) << "button " << i;
        }
    }
}

using Relayout = test::HostingTest;

TEST_F(Relayout, PlacesButtonsByCaptionWidthAndSkipsMissingOnes) {
    buttons.SetRowWidth(140);
    buttons.FailNextCreate();
    Capture(L"no button");
    Capture(L"Alpha");       // 20 + 7 * 5 = 55 wide
    Capture(L"Bravo two");   // 20 + 7 * 9 = 83: 60 + 83 + 5 > 140, next row
    engine.RunCaptureCycle();
    EXPECT_EQ(engine.Windows()[0].pButton, kNoButton);
    EXPECT_EQ(ButtonOf(1).position, (Point{0, 0}));
    EXPECT_EQ(ButtonOf(2).position, (Point{0, test::FakeButtons::kHeight + 1}));
}

}  // namespace
}  // namespace vantrel

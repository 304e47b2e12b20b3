#include <gtest/gtest.h>

#include <climits>

#include "core/WindowArithmetic.h"
#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

TEST(CenteredRect, CentresAndCutsToTheClientArea) {
    struct CenterCase {
        const char* name;
        Size window;
        Rect client;
        Rect expected;
    };
    const Rect client{0, 0, 1000, 700};
    const CenterCase cases[] = {
        {"fits: size kept", {400, 300}, client, {300, 200, 700, 500}},
        {"too wide: cut to the client width", {1200, 300}, client, {0, 200, 1000, 500}},
        {"too high: cut to the client height", {400, 900}, client, {300, 0, 700, 700}},
        {"odd leftovers: halves dropped", {401, 301}, client, {299, 199, 700, 500}},
        {"odd client", {400, 300}, {0, 0, 1001, 701}, {300, 200, 700, 500}},
        {"exact fit", {1000, 700}, client, client},
        {"client not at the origin", {400, 300}, {10, 20, 1010, 720}, {310, 220, 710, 520}},
        {"empty window: a point in the middle", {0, 0}, client, {500, 350, 500, 350}},
        {"negative window counts as empty", {-5, -7}, client, {500, 350, 500, 350}},
        {"empty client", {400, 300}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"inverted client counts as empty", {400, 300}, {0, 0, -10, -20}, {0, 0, 0, 0}},
        {"client wider than int", {INT_MAX, 10}, {-2000000000, 0, 2000000000, 10},
         {-1073741824, 0, 1073741823, 10}},
    };
    for (const CenterCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CenteredRect(c.window, c.client), c.expected);
    }
}

struct TileCase {
    const char* name;
    std::size_t count;
    Rect client;
    std::vector<Rect> expected;
};

TEST(TileRows, EqualFullWidthRowsFromTheTop) {
    const TileCase cases[] = {
        {"none", 0, {0, 0, 800, 600}, {}},
        {"one gets everything", 1, {0, 0, 800, 600}, {{0, 0, 800, 600}}},
        {"remainder uncovered at the bottom", 3, {0, 0, 500, 301},
         {{0, 0, 500, 100}, {0, 100, 500, 200}, {0, 200, 500, 300}}},
        {"exact division covers all", 2, {0, 0, 500, 300}, {{0, 0, 500, 150}, {0, 150, 500, 300}}},
        {"client not at the origin", 2, {10, 20, 110, 221}, {{10, 20, 110, 120}, {10, 120, 110, 220}}},
        {"more windows than pixel rows", 4, {0, 0, 500, 3},
         {{0, 0, 500, 0}, {0, 0, 500, 0}, {0, 0, 500, 0}, {0, 0, 500, 0}}},
        {"empty client", 2, {0, 0, 0, 0}, {{0, 0, 0, 0}, {0, 0, 0, 0}}},
        {"inverted client: no negative sizes", 2, {0, 0, -10, -50}, {{0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TileRows(c.count, c.client), c.expected);
    }
}

TEST(TileColumns, EqualFullHeightColumnsFromTheLeft) {
    const TileCase cases[] = {
        {"none", 0, {0, 0, 800, 600}, {}},
        {"one gets everything", 1, {0, 0, 800, 600}, {{0, 0, 800, 600}}},
        {"remainder uncovered at the right", 4, {0, 0, 802, 50},
         {{0, 0, 200, 50}, {200, 0, 400, 50}, {400, 0, 600, 50}, {600, 0, 800, 50}}},
        {"client not at the origin", 2, {10, 20, 211, 120}, {{10, 20, 110, 120}, {110, 20, 210, 120}}},
        {"more windows than pixel columns", 3, {0, 0, 2, 50}, {{0, 0, 0, 50}, {0, 0, 0, 50}, {0, 0, 0, 50}}},
        {"inverted client: no negative sizes", 2, {0, 0, -10, -50}, {{0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TileColumns(c.count, c.client), c.expected);
    }
}

}  // namespace
}  // namespace vantrel

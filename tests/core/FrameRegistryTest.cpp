// The registry of additional frames: positions after frames close, the limit, and
// the hosting query, over frames that are only what the registry asks of them.
#include <gtest/gtest.h>

#include <set>

#include "core/FrameRegistry.h"

namespace vantrel {
namespace {

struct TestFrame final : RegisteredFrame {
    explicit TestFrame(std::wstring t) : title(std::move(t)) {}
    bool IsAlive() const override { return alive; }
    std::wstring Title() const override { return title; }
    bool HostsWindow(WindowId w) const override { return hosted.count(w) != 0; }
    std::wstring title;
    bool alive = true;
    std::set<WindowId> hosted;
};

TEST(FrameRegistry, ClosedFramesLeaveAtTheNextCountAndTheRestMoveUpInOrder) {
    FrameRegistry registry;
    TestFrame a(L"A"), b(L"B"), c(L"C");
    registry.Add(a);
    registry.Add(b);
    registry.Add(c);
    ASSERT_EQ(registry.Count(), 3u);

    a.alive = false;                       // closed with its own close box
    EXPECT_EQ(registry.TitleAt(0), L"A");  // titles do not prune
    EXPECT_EQ(registry.Count(), 2u);
    EXPECT_EQ(registry.TitleAt(0), L"B");
    EXPECT_EQ(registry.TitleAt(1), L"C");
    EXPECT_EQ(registry.At(1), &c);

    registry.Forget(b);  // on its way out, before it frees itself
    EXPECT_EQ(registry.At(0), nullptr);
    EXPECT_EQ(registry.TitleAt(0), kInvalidFramePosition);
    EXPECT_EQ(registry.Count(), 1u);
    EXPECT_EQ(registry.At(0), &c);
}

// A frame that closes is stored under the number it has then.
TEST(FrameRegistry, PositionOfHoldsWhileEarlierFramesLeaveUntilTheNextCount) {
    FrameRegistry registry;
    TestFrame a(L"A"), b(L"B"), c(L"C"), stranger(L"S");
    registry.Add(a);
    registry.Add(b);
    registry.Add(c);
    EXPECT_EQ(registry.PositionOf(c), 2u);
    EXPECT_EQ(registry.PositionOf(stranger), std::nullopt);
    registry.Forget(a);
    a.alive = false;
    EXPECT_EQ(registry.PositionOf(b), 1u);  // as the main frame's walk over closing frames needs
    EXPECT_EQ(registry.PositionOf(a), std::nullopt);
    registry.Count();
    EXPECT_EQ(registry.PositionOf(b), 0u);
    EXPECT_EQ(registry.PositionOf(c), 1u);
}

TEST(FrameRegistry, PositionsPastTheEndHaveNoFrameAndTheInvalidTitle) {
    FrameRegistry registry;
    EXPECT_EQ(registry.TitleAt(0), L"Invalid position, please report");
    TestFrame a(L"A");
    registry.Add(a);
    EXPECT_EQ(registry.At(1), nullptr);
    EXPECT_EQ(registry.TitleAt(1), L"Invalid position, please report");
    EXPECT_EQ(registry.TitleAt(0xFFFFFFFFu), L"Invalid position, please report");
}

TEST(FrameRegistry, FullAtFifteenLiveFramesAndFreeAgainWhenOneCloses) {
    FrameRegistry registry;
    std::vector<std::unique_ptr<TestFrame>> frames;
    for (int i = 0; i < 15; ++i) {
        EXPECT_FALSE(registry.IsFull()) << i;
        frames.push_back(std::make_unique<TestFrame>(L"F"));
        registry.Add(*frames.back());
    }
    EXPECT_TRUE(registry.IsFull());
    frames[7]->alive = false;
    EXPECT_FALSE(registry.IsFull());
    EXPECT_EQ(registry.Count(), 14u);
}

TEST(FrameRegistry, HostedElsewhereAsksLiveFramesOnly) {
    FrameRegistry registry;
    EXPECT_FALSE(registry.IsHostedElsewhere(42));  // empty registry
    TestFrame a(L"A"), b(L"B");
    a.hosted = {42};
    b.hosted = {43};
    registry.Add(a);
    registry.Add(b);
    EXPECT_TRUE(registry.IsHostedElsewhere(42));
    EXPECT_TRUE(registry.IsHostedElsewhere(43));
    EXPECT_FALSE(registry.IsHostedElsewhere(44));
    a.alive = false;  // its records no longer count
    EXPECT_FALSE(registry.IsHostedElsewhere(42));
    registry.Forget(b);
    EXPECT_FALSE(registry.IsHostedElsewhere(43));
}

}  // namespace
}  // namespace vantrel

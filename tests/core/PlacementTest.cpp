#include <gtest/gtest.h>

#include <cstring>

#include "core/Placement.h"

namespace vantrel {
namespace {

FramePlacement Sample() {
    FramePlacement p;
    p.frame = {-1200, 40, -300, 700};  // on a monitor left of the primary one
    p.maximized = true;
    p.paneSide = PaneSide::Floating;
    p.paneThickness = 73;
    p.floatingRect = {100, -20, 400, 90};
    return p;
}

std::optional<FramePlacement> Decode(const std::vector<std::uint8_t>& bytes, std::uint32_t type = kRegBinary) {
    return DecodePlacement(type, bytes.data(), bytes.size());
}

// The stored bytes with field `index` (0 is the format number) set to `value`.
std::vector<std::uint8_t> WithField(std::vector<std::uint8_t> bytes, std::size_t index, std::int32_t value) {
    for (int b = 0; b < 4; ++b)
        bytes[index * 4 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * b));
    return bytes;
}

TEST(Placement, RoundTripsEverySideAndKeepsNegativeCoordinates) {
    for (PaneSide side : {PaneSide::Bottom, PaneSide::Top, PaneSide::Left, PaneSide::Right, PaneSide::Floating}) {
        FramePlacement p = Sample();
        p.paneSide = side;
        if (side != PaneSide::Floating) p.floatingRect = {};
        const auto bytes = EncodePlacement(p);
        ASSERT_EQ(bytes.size(), kPlacementBytes);
        EXPECT_EQ(Decode(bytes), p) << static_cast<int>(side);
    }
    // Little-endian 32-bit fields after the format number, as the registry shows them.
    const auto bytes = EncodePlacement(Sample());
    const std::uint8_t head[] = {1, 0, 0, 0, 0x50, 0xFB, 0xFF, 0xFF};  // format 1, left -1200
    EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof head), 0);
}

TEST(Placement, AnythingMalformedReadsAsNone) {
    const auto good = EncodePlacement(Sample());
    ASSERT_TRUE(Decode(good));
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t type;
    };
    std::vector<std::uint8_t> shorter(good.begin(), good.end() - 1), longer = good;
    longer.push_back(0);
    const Case cases[] = {
        {"a DWORD", std::vector<std::uint8_t>(good.begin(), good.begin() + 4), 4},
        {"the right bytes as a string", good, 1},
        {"one byte short", shorter, kRegBinary},
        {"one byte long", longer, kRegBinary},
        {"empty", {}, kRegBinary},
        {"another format", WithField(good, 0, 2), kRegBinary},
        {"the spare field set", WithField(good, 12, 1), kRegBinary},
        {"empty frame", WithField(good, 3, -1200), kRegBinary},
        {"inverted frame", WithField(good, 4, 39), kRegBinary},
        {"frame beyond 16 bits", WithField(good, 3, 40000), kRegBinary},
        {"maximized 2", WithField(good, 5, 2), kRegBinary},
        {"maximized -1", WithField(good, 5, -1), kRegBinary},
        {"side 5", WithField(good, 6, 5), kRegBinary},
        {"side -1", WithField(good, 6, -1), kRegBinary},
        {"thickness 0", WithField(good, 7, 0), kRegBinary},
        {"thickness beyond 16 bits", WithField(good, 7, 32768), kRegBinary},
        {"floating and an empty floating rectangle", WithField(good, 10, 100), kRegBinary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Decode(c.bytes, c.type));
    }
    EXPECT_FALSE(DecodePlacement(kRegBinary, nullptr, kPlacementBytes));

    // Docked, the floating rectangle is not looked at and reads as empty.
    const auto docked = Decode(WithField(WithField(good, 6, 2), 10, 100));
    ASSERT_TRUE(docked);
    EXPECT_EQ(docked->floatingRect, Rect{});
}

TEST(Placement, EntriesAreNumberedFromTheMainFrame) {
    EXPECT_EQ(PlacementEntry(0), L"Frame0");
    EXPECT_EQ(PlacementEntry(15), L"Frame15");
}

TEST(BringWithinReach, KeepsWhatCanBeReachedAndMovesTheRestOntoTheWorkArea) {
    const Rect area{0, 0, 1280, 984};  // a 1280x1024 monitor with a taskbar at the bottom
    struct Case {
        const char* name;
        Rect rect;
        Rect expected;
    };
    const Case cases[] = {
        {"inside", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"hanging off the right, caption reachable", {1200, 100, 2000, 700}, {1200, 100, 2000, 700}},
        {"exactly the reachable part on the left", {-752, 100, 48, 700}, {-752, 100, 48, 700}},
        {"one pixel too few on the left", {-753, 100, 47, 700}, {0, 100, 800, 700}},
        {"top at the last reachable row", {100, 936, 900, 1536}, {100, 936, 900, 1536}},
        {"top one row lower", {100, 937, 900, 1537}, {100, 384, 900, 984}},
        {"caption above the work area", {100, -1, 900, 599}, {100, 0, 900, 600}},
        {"far away on a monitor that is gone", {5000, 4000, 5800, 4600}, {480, 384, 1280, 984}},
        {"far away to the upper left", {-3000, -3000, -2700, -2900}, {0, 0, 300, 100}},
        {"larger than the work area", {-5000, -5000, 5000, 5000}, {0, 0, 1280, 984}},
        {"a narrow window counts as reachable when all of it overlaps", {1250, 10, 1270, 50}, {1250, 10, 1270, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BringWithinReach(c.rect, area), c.expected);
    }
    // A secondary monitor's work area away from the origin.
    EXPECT_EQ(BringWithinReach({0, 0, 400, 300}, {-1920, 0, 0, 1040}), (Rect{-400, 0, 0, 300}));
    // No work area to go by: left as it is.
    EXPECT_EQ(BringWithinReach({5000, 5000, 5100, 5100}, {}), (Rect{5000, 5000, 5100, 5100}));
}

}  // namespace
}  // namespace vantrel

#include "core/Placement.h"

#include <algorithm>
#include <cstring>

namespace vantrel {
namespace {

// Window coordinates travel in 16 bits in many messages; nothing real goes beyond.
constexpr std::int32_t kCoordinateLimit = 32767;

bool IsSensibleRect(const Rect& rc) {
    const auto inRange = [](int v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; };
    return inRange(rc.left) && inRange(rc.top) && inRange(rc.right) && inRange(rc.bottom) &&
           rc.right > rc.left && rc.bottom > rc.top;
}

void Put(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

std::int32_t Get(const std::uint8_t* data, std::size_t index) {
    std::uint32_t bits = 0;
    for (int b = 3; b >= 0; --b) bits = (bits << 8) | data[index * 4 + static_cast<std::size_t>(b)];
    std::int32_t value = 0;
    std::memcpy(&value, &bits, sizeof value);  // two's complement, without relying on the cast
    return value;
}

// Moves [low, high) the shortest way into [areaLow, areaHigh), cut to the area's length.
void FitSpan(int& low, int& high, int areaLow, int areaHigh) {
    const long long length = std::min<long long>(static_cast<long long>(high) - low,
                                                 static_cast<long long>(areaHigh) - areaLow);
    const long long start = std::clamp<long long>(low, areaLow, areaHigh - length);
    low = static_cast<int>(start);
    high = static_cast<int>(start + length);
}

}  // namespace

std::wstring PlacementEntry(unsigned number) { return L"Frame" + std::to_wstring(number); }

std::vector<std::uint8_t> EncodePlacement(const FramePlacement& p) {
    std::vector<std::uint8_t> out;
    out.reserve(kPlacementBytes);
    for (std::int32_t v : {kPlacementFormat, p.frame.left, p.frame.top, p.frame.right, p.frame.bottom,
                           p.maximized ? 1 : 0, static_cast<std::int32_t>(p.paneSide), p.paneThickness,
                           p.floatingRect.left, p.floatingRect.top, p.floatingRect.right, p.floatingRect.bottom,
                           0 /* room for a flag; always 0 in this format */})
        Put(out, v);
    return out;
}

std::optional<FramePlacement> DecodePlacement(std::uint32_t type, const std::uint8_t* data, std::size_t size) {
    if (type != kRegBinary || data == nullptr || size != kPlacementBytes) return std::nullopt;
    if (Get(data, 0) != kPlacementFormat || Get(data, 12) != 0) return std::nullopt;
    FramePlacement p;
    p.frame = Rect{Get(data, 1), Get(data, 2), Get(data, 3), Get(data, 4)};
    const std::int32_t maximized = Get(data, 5);
    const std::int32_t side = Get(data, 6);
    p.paneThickness = Get(data, 7);
    p.floatingRect = Rect{Get(data, 8), Get(data, 9), Get(data, 10), Get(data, 11)};
    if (!IsSensibleRect(p.frame) || (maximized != 0 && maximized != 1)) return std::nullopt;
    if (side < static_cast<std::int32_t>(PaneSide::Bottom) || side > static_cast<std::int32_t>(PaneSide::Floating))
        return std::nullopt;
    if (p.paneThickness < 1 || p.paneThickness > kCoordinateLimit) return std::nullopt;
    p.maximized = maximized == 1;
    p.paneSide = static_cast<PaneSide>(side);
    if (p.paneSide == PaneSide::Floating) {
        if (!IsSensibleRect(p.floatingRect)) return std::nullopt;
    } else {
        p.floatingRect = Rect{};  // whatever was there means nothing
    }
    return p;
}

bool IsWithinReach(const Rect& rect, const Rect& area) {
    if (rect.top < area.top || rect.top > area.bottom - kMinReachable) return false;
    const long long overlap = static_cast<long long>(std::min(rect.right, area.right)) -
                              std::max(rect.left, area.left);
    const long long width = static_cast<long long>(rect.right) - rect.left;
    return overlap >= std::min<long long>(kMinReachable, width);
}

Rect BringWithinReach(const Rect& rect, const Rect& area) {
    if (area.Width() <= 0 || area.Height() <= 0 || IsWithinReach(rect, area)) return rect;
    Rect fitted = rect;
    FitSpan(fitted.left, fitted.right, area.left, area.right);
    FitSpan(fitted.top, fitted.bottom, area.top, area.bottom);
    return fitted;
}

}  // namespace vantrel

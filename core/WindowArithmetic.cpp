#include "core/WindowArithmetic.h"

#include <algorithm>

namespace vantrel {

namespace {

// Extents in 64 bits: a rectangle spanning most of the int range must not overflow,
// and an inverted one counts as empty.
long long Extent(int from, int to) { return std::max(0LL, static_cast<long long>(to) - from); }

int At(int origin, long long offset) { return static_cast<int>(origin + offset); }

}  // namespace

Rect CenteredRect(Size window, Rect client) {
    const long long clientWidth = Extent(client.left, client.right);
    const long long clientHeight = Extent(client.top, client.bottom);
    const long long w = std::min(std::max(0LL, static_cast<long long>(window.cx)), clientWidth);
    const long long h = std::min(std::max(0LL, static_cast<long long>(window.cy)), clientHeight);
    const long long x = (clientWidth - w) / 2;
    const long long y = (clientHeight - h) / 2;
    return Rect{At(client.left, x), At(client.top, y), At(client.left, x + w), At(client.top, y + h)};
}

std::vector<Rect> TileRows(std::size_t count, Rect client) {
    std::vector<Rect> rows;
    if (count == 0) return rows;
    const long long width = Extent(client.left, client.right);
    const unsigned long long height = static_cast<unsigned long long>(Extent(client.top, client.bottom));
    const auto step = static_cast<long long>(height / count);
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const long long y = static_cast<long long>(i) * step;
        rows.push_back(Rect{client.left, At(client.top, y), At(client.left, width), At(client.top, y + step)});
    }
    return rows;
}

std::vector<Rect> TileColumns(std::size_t count, Rect client) {
    std::vector<Rect> columns;
    if (count == 0) return columns;
    const unsigned long long width = static_cast<unsigned long long>(Extent(client.left, client.right));
    const long long height = Extent(client.top, client.bottom);
    const auto step = static_cast<long long>(width / count);
    columns.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const long long x = static_cast<long long>(i) * step;
        columns.push_back(Rect{At(client.left, x), client.top, At(client.left, x + step), At(client.top, height)});
    }
    return columns;
}

}  // namespace vantrel

#include "core/ButtonLayout.h"

namespace vantrel {

std::vector<Point> LayoutButtons(const std::vector<Size>& sizes, int rowWidth) {
    std::vector<Point> positions;
    positions.reserve(sizes.size());
    int x = 0;
    int y = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const Size& size = sizes[i];
        // The first button never wraps, so even one wider than the row is shown.
        if (i > 0 && x + size.cx + kButtonGap > rowWidth) {
            x = 0;
            y += size.cy + kRowGap;
        }
        positions.push_back(Point{x, y});
        x += size.cx + kButtonGap;
    }
    return positions;
}

}  // namespace vantrel

#include "core/ButtonLayout.h"

namespace vantrel {

std::vector<Point> LayoutButtons(const std::vector<Size>& sizes, int rowWidth, int dpi) {
    if (dpi <= 0) dpi = 96;
    const int buttonGap = (kButtonGap * dpi + 48) / 96;
    const int rowGap = (kRowGap * dpi + 48) / 96;
    std::vector<Point> positions;
    positions.reserve(sizes.size());
    int x = 0;
    int y = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const Size& size = sizes[i];
        // The first button never wraps, so even one wider than the row is shown.
        if (i > 0 && x + size.cx + buttonGap > rowWidth) {
            x = 0;
            y += size.cy + rowGap;
        }
        positions.push_back(Point{x, y});
        x += size.cx + buttonGap;
    }
    return positions;
}

}  // namespace vantrel

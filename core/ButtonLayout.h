#pragma once
// Row layout of the window buttons: own widths, 5 pixels apart, rows 1 pixel apart.

#include <vector>

#include "core/Geometry.h"

namespace vantrel {

inline constexpr int kButtonGap = 5;
inline constexpr int kRowGap = 1;

// Top-left corner of each button, in order. A new row starts when x + w + 5 would
// pass the row width (never for the first button); the row's height step is the
// height of the button that opens it. A button wider than the row gets a row of its own.
// The gaps are for 96 dots per inch and scale with `dpi`.
std::vector<Point> LayoutButtons(const std::vector<Size>& sizes, int rowWidth, int dpi = 96);

}  // namespace vantrel

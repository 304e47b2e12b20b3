#pragma once
// Where the window commands put hosted windows.

#include <cstddef>
#include <vector>

#include "core/Geometry.h"

namespace vantrel {

// The window centred in the client area, cut to the client area's size where it is
// larger; its size is kept otherwise. Odd leftovers go to the right and bottom.
Rect CenteredRect(Size window, Rect client);

// `count` full-width rows of equal height from the top, or full-height columns of equal
// width from the left. What the division leaves over stays uncovered at the far edge.
std::vector<Rect> TileRows(std::size_t count, Rect client);
std::vector<Rect> TileColumns(std::size_t count, Rect client);

}  // namespace vantrel

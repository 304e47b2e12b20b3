#pragma once
// Where the window commands put hosted windows, and the text of the move-to menu entries.

#include <cstddef>
#include <string>
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

// Entry of the move-to menu for another container frame: Window #2: "Title".
std::wstring MoveToEntryText(int number, const std::wstring& title);

}  // namespace vantrel

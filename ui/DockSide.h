#pragma once

namespace ui {

// Where a pane is: along one edge of its frame, or floating.
enum class DockSide { Bottom, Top, Left, Right, Floating };

}  // namespace ui

#pragma once
// Frames reopen where they were: the profile side of the placement kept in the
// core, and the monitors a saved rectangle must come back onto.

#include <windows.h>

#include <optional>

#include "core/Placement.h"
#include "core/Settings.h"
#include "ui/DockSide.h"

namespace hosting {
class CWindowsManagerView;
}
namespace ui {
class FrameWindow;
}

namespace frameplacement {

// Frame `number`'s saved placement, or nothing when none is stored or it is malformed.
std::optional<vantrel::FramePlacement> Load(const vantrel::ProfileStore& profile, unsigned number);
void Save(vantrel::ProfileStore& profile, unsigned number, const vantrel::FramePlacement& placement);

// The rectangle moved onto the work area of the monitor nearest to it, when the
// user could no longer get hold of a window there (its monitor is gone, say).
RECT WithinReach(const RECT& rect);

RECT ToRECT(const vantrel::Rect& rect);
vantrel::Rect FromRECT(const RECT& rect);
ui::DockSide ToDockSide(vantrel::PaneSide side);
vantrel::PaneSide FromDockSide(ui::DockSide side);

// The frame's placement as it stands: `normal` is its rectangle while neither
// minimized nor maximized.
vantrel::FramePlacement Current(HWND frame, const RECT& normal, const hosting::CWindowsManagerView& pane);
// The saved placement's parts that apply once the frame exists, and once it shows.
void RestorePane(ui::FrameWindow& frame, hosting::CWindowsManagerView& pane, const vantrel::FramePlacement& saved);
void RestoreFloatingPane(hosting::CWindowsManagerView& pane, const vantrel::FramePlacement& saved);
void RestoreToMaximized(HWND frame, const vantrel::FramePlacement& saved);

}  // namespace frameplacement

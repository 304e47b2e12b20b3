#pragma once
// Where a frame and its window taskbar were when the frame closed, so that the
// frame of the same number reopens there. Kept in the profile as one binary value
// per frame; anything stored that does not read back as a sensible placement
// counts as none, and the frame opens where the system puts new windows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Geometry.h"

namespace vantrel {

// The section of the profile, and the entry of frame `number` in it: 0 is the main
// frame, n the additional frame the user knows as number n.
inline constexpr const wchar_t* kPlacementSection = L"Placement";
std::wstring PlacementEntry(unsigned number);

// The edge the taskbar is docked on, or none; the numbers are what is stored.
enum class PaneSide : std::int32_t { Bottom = 0, Top = 1, Left = 2, Right = 3, Floating = 4 };

struct FramePlacement {
    Rect frame;               // the frame's restored rectangle on the screen
    bool maximized = false;
    PaneSide paneSide = PaneSide::Bottom;
    int paneThickness = 50;   // height docked at the top or bottom, width at a side
    Rect floatingRect;        // the floating taskbar's rectangle; unused while docked
    friend bool operator==(const FramePlacement& a, const FramePlacement& b) {
        return a.frame == b.frame && a.maximized == b.maximized && a.paneSide == b.paneSide &&
               a.paneThickness == b.paneThickness && a.floatingRect == b.floatingRect;
    }
};

// Registry value types, as the registry reports them.
inline constexpr std::uint32_t kRegBinary = 3;

// The stored form: a format number and then the fields, each a little-endian
// 32-bit integer. A later format gets a new number, so an old program never
// misreads it.
inline constexpr std::int32_t kPlacementFormat = 1;
inline constexpr std::size_t kPlacementBytes = 13 * 4;

std::vector<std::uint8_t> EncodePlacement(const FramePlacement& placement);
// Nothing unless it is a binary value of exactly the stored size, of our format,
// whose rectangles are non-empty and of a size a screen can hold, whose flags are
// 0 or 1 and whose side is one of ours.
std::optional<FramePlacement> DecodePlacement(std::uint32_t type, const std::uint8_t* data, std::size_t size);

// How much of a window must show in a work area for the user to reach it.
inline constexpr int kMinReachable = 48;

// Whether the user can still get hold of a window at `rect` on a monitor whose work
// area is `area`: its top edge, where the caption is, lies inside the area with room
// below it, and enough of its width overlaps the area.
bool IsWithinReach(const Rect& rect, const Rect& area);
// `rect` itself when it is within reach of `area`; otherwise cut to the area's size
// where it is larger and moved the shortest way into the area.
Rect BringWithinReach(const Rect& rect, const Rect& area);

}  // namespace vantrel

#pragma once
// Docking markers: while a floating pane is moved, one small marker at the middle
// of each edge of its frame; dropping the pane with the cursor on a marker docks
// it on that edge.

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "ui/DockSide.h"

namespace ui {

class DockMarker;

class DockMarkers {
public:
    DockMarkers();
    ~DockMarkers();
    DockMarkers(const DockMarkers&) = delete;
    DockMarkers& operator=(const DockMarkers&) = delete;

    // Shows the markers over `frame`'s client area, none lit.
    void Show(HWND frame);
    // Lights the marker under the cursor, if any.
    void Track(POINT cursor);
    void Hide();
    bool IsShown() const { return m_shown; }
    // The edge of the marker under `cursor`.
    std::optional<DockSide> SideAt(POINT cursor) const;

private:
    std::array<std::unique_ptr<DockMarker>, 4> m_markers;
    bool m_shown = false;
};

}  // namespace ui

#include "frame/FramePlacement.h"

#include "hosting/WindowsManagerView.h"
#include "ui/FrameWindow.h"

namespace frameplacement {

std::optional<vantrel::FramePlacement> Load(const vantrel::ProfileStore& profile, unsigned number) {
    const vantrel::ProfileStore::RawValue value =
        profile.ReadRaw(vantrel::kPlacementSection, vantrel::PlacementEntry(number), vantrel::kPlacementBytes);
    return vantrel::DecodePlacement(value.type, value.data.data(), value.data.size());
}

void Save(vantrel::ProfileStore& profile, unsigned number, const vantrel::FramePlacement& placement) {
    profile.WriteBinary(vantrel::kPlacementSection, vantrel::PlacementEntry(number),
                        vantrel::EncodePlacement(placement));
}

RECT WithinReach(const RECT& rect) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return rect;  // no monitor to go by: as it was
    return ToRECT(vantrel::BringWithinReach(FromRECT(rect), FromRECT(monitor.rcWork)));
}

RECT ToRECT(const vantrel::Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

vantrel::Rect FromRECT(const RECT& rect) { return vantrel::Rect{rect.left, rect.top, rect.right, rect.bottom}; }

ui::DockSide ToDockSide(vantrel::PaneSide side) {
    switch (side) {
    case vantrel::PaneSide::Top: return ui::DockSide::Top;
    case vantrel::PaneSide::Left: return ui::DockSide::Left;
    case vantrel::PaneSide::Right: return ui::DockSide::Right;
    case vantrel::PaneSide::Floating: return ui::DockSide::Floating;
    case vantrel::PaneSide::Bottom: break;
    }
    return ui::DockSide::Bottom;
}

vantrel::PaneSide FromDockSide(ui::DockSide side) {
    switch (side) {
    case ui::DockSide::Top: return vantrel::PaneSide::Top;
    case ui::DockSide::Left: return vantrel::PaneSide::Left;
    case ui::DockSide::Right: return vantrel::PaneSide::Right;
    case ui::DockSide::Floating: return vantrel::PaneSide::Floating;
    case ui::DockSide::Bottom: break;
    }
    return vantrel::PaneSide::Bottom;
}

vantrel::FramePlacement Current(HWND frame, const RECT& normal, const hosting::CWindowsManagerView& pane) {
    vantrel::FramePlacement placement;
    placement.frame = FromRECT(normal);
    WINDOWPLACEMENT system{};
    system.length = sizeof system;
    placement.maximized = ::IsZoomed(frame) || (::IsIconic(frame) && ::GetWindowPlacement(frame, &system) &&
                                                (system.flags & WPF_RESTORETOMAXIMIZED) != 0);
    placement.paneSide = FromDockSide(pane.Side());
    placement.paneThickness = pane.Thickness();
    if (!pane.IsDocked()) placement.floatingRect = FromRECT(pane.FloatingRect());
    return placement;
}

// Docked sides apply while the frame is still hidden; a floating taskbar waits for
// the frame to show (RestoreFloatingPane), as its own window would show first.
void RestorePane(ui::FrameWindow& frame, hosting::CWindowsManagerView& pane, const vantrel::FramePlacement& saved) {
    const ui::DockSide side = ToDockSide(saved.paneSide);
    if (side != ui::DockSide::Floating) frame.DockPane(pane, side);
    pane.SetThickness(saved.paneThickness);
}

void RestoreFloatingPane(hosting::CWindowsManagerView& pane, const vantrel::FramePlacement& saved) {
    if (saved.paneSide == vantrel::PaneSide::Floating) pane.Float(WithinReach(ToRECT(saved.floatingRect)));
}

// A frame started minimized that was left maximized comes back maximized.
void RestoreToMaximized(HWND frame, const vantrel::FramePlacement& saved) {
    if (!saved.maximized) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(frame, &placement)) return;  // restores to its normal place instead
    placement.flags |= WPF_RESTORETOMAXIMIZED;
    placement.showCmd = SW_SHOWMINIMIZED;
    ::SetWindowPlacement(frame, &placement);
}

}  // namespace frameplacement

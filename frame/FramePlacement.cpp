#include "frame/FramePlacement.h"

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

}  // namespace frameplacement

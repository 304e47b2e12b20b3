#pragma once
// The notification-area icon's logic: what a callback asks for, the frame entries
// of the tray menu, and which frame an entry stands for when it is chosen.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

inline constexpr unsigned kTrayIconId = 1;
// Commands of the frame entries: the main frame, then additional frame p at +p.
inline constexpr unsigned kTrayFrameFirst = 32768;
inline constexpr unsigned kTrayFrameLast = 32802;

enum class TrayAction { None, ShowAllFrames, OpenMenu };

struct TrayCallback {
    TrayAction action;
    std::intptr_t result;  // what the callback message returns
};

// The callback carries the icon id and the mouse message. Another icon's
// callback is not ours: nothing happens and 1 is returned.
TrayCallback DecodeTrayCallback(std::uintptr_t iconId, std::uintptr_t mouseMessage);

struct TrayFrameState {
    std::wstring title;
    bool visible;
};

struct TrayMenuEntry {
    unsigned id;
    std::wstring text;  // menu text: the title inside is escaped
    bool checked;
};

// The entries above the menu's first separator, main frame first, one per
// additional frame in registry order, as many as the command range holds.
std::vector<TrayMenuEntry> TrayFrameEntries(const TrayFrameState& mainFrame,
                                            const std::vector<TrayFrameState>& additionalFrames);

// Which frame a chosen entry stands for, resolved against the registry as it is
// now (after a prune): nullopt for none, -1 for the main frame, else the
// registry position. A frame closed while the menu was open shifts positions.
std::optional<int> TrayEntryTarget(unsigned id, unsigned frameCount);

}  // namespace vantrel

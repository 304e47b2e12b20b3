#include "core/TrayMenu.h"

#include "core/FrameTexts.h"

namespace vantrel {
namespace {
constexpr std::uintptr_t kLeftButtonDoubleClick = 0x0203;
constexpr std::uintptr_t kRightButtonDown = 0x0204;
constexpr std::uintptr_t kContextMenu = 0x007B;
}  // namespace

TrayCallback DecodeTrayCallback(std::uintptr_t iconId, std::uintptr_t mouseMessage) {
    if (iconId != kTrayIconId) return {TrayAction::None, 1};
    // The mouse message is in the low word; newer shells put more above it.
    switch (mouseMessage & 0xFFFF) {
    case kLeftButtonDoubleClick: return {TrayAction::ShowAllFrames, 0};
    case kRightButtonDown:
    case kContextMenu: return {TrayAction::OpenMenu, 0};
    default: return {TrayAction::None, 0};
    }
}

std::vector<TrayMenuEntry> TrayFrameEntries(const TrayFrameState& mainFrame,
                                            const std::vector<TrayFrameState>& additionalFrames) {
    std::vector<TrayMenuEntry> entries;
    entries.push_back({kTrayFrameFirst, TrayMainEntryText(mainFrame.visible, mainFrame.title), mainFrame.visible});
    for (std::size_t i = 0; i < additionalFrames.size() && kTrayFrameFirst + i + 1 <= kTrayFrameLast; ++i) {
        const TrayFrameState& frame = additionalFrames[i];
        const int number = static_cast<int>(i + 1);
        entries.push_back({kTrayFrameFirst + static_cast<unsigned>(number),
                           TrayFrameEntryText(number, frame.visible, frame.title), frame.visible});
    }
    return entries;
}

std::optional<int> TrayEntryTarget(unsigned id, unsigned frameCount) {
    if (id < kTrayFrameFirst || id > kTrayFrameLast) return std::nullopt;
    const unsigned number = id - kTrayFrameFirst;
    if (number == 0) return -1;
    if (number > frameCount) return std::nullopt;
    return static_cast<int>(number - 1);
}

}  // namespace vantrel

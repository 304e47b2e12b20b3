#pragma once
// The main frame's list of the additional container frames, in creation order;
// position i is shown to the user as number i + 1. The list does not own the
// frames: a frame frees itself when its window goes, and says so on its way out
// (Forget), so an entry never points to a freed frame.

#include <optional>
#include <string>
#include <vector>

#include "core/Desktop.h"

namespace vantrel {

// At most this many additional frames whose windows exist at once.
inline constexpr unsigned kMaxAdditionalFrames = 15;

// The title given for a position that holds no frame.
inline constexpr const wchar_t* kInvalidFramePosition = L"Invalid position, please report";

// What the registry asks of a frame in it.
class RegisteredFrame {
public:
    // Whether the frame's window still exists.
    virtual bool IsAlive() const = 0;
    virtual std::wstring Title() const = 0;
    // Whether the frame's hosting engine has a record of the window.
    virtual bool HostsWindow(WindowId window) const = 0;

protected:
    ~RegisteredFrame() = default;
};

class FrameRegistry {
public:
    // Appends a frame; it may not have its window yet.
    void Add(RegisteredFrame& frame) { m_frames.push_back(&frame); }
    // The frame is going away: its entry is never used again and leaves at the
    // next prune, so positions shift only then.
    void Forget(const RegisteredFrame& frame);

    // Drops the entries of frames that are gone, then counts the rest.
    unsigned Count();
    bool IsFull() { return Count() >= kMaxAdditionalFrames; }
    // The frame at a position, or null past the end or for a frame that is gone;
    // does not prune.
    RegisteredFrame* At(unsigned position) const;
    // Where a frame is, or nothing for one not in the list; does not prune, so a
    // frame keeps its number while the frames before it are on their way out.
    std::optional<unsigned> PositionOf(const RegisteredFrame& frame) const;
    // The title of the frame at a position, or kInvalidFramePosition; does not prune.
    std::wstring TitleAt(unsigned position) const;
    // Prunes, then asks each frame in order whether it hosts the window.
    bool IsHostedElsewhere(WindowId window);

private:
    std::vector<RegisteredFrame*> m_frames;  // null: forgotten, awaiting the prune
};

}  // namespace vantrel

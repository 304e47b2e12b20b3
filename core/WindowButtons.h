#pragma once
// The window buttons of one taskbar, as the hosting logic sees them.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Geometry.h"

namespace vantrel {

using ButtonId = std::uintptr_t;
inline constexpr ButtonId kNoButton = 0;

inline constexpr int kFirstButtonId = 400;  // button of record i has control id 400 + i

inline int ControlIdOf(std::size_t index) { return kFirstButtonId + static_cast<int>(index); }

class WindowButtons {
public:
    virtual ~WindowButtons() = default;

    // A new button with an empty caption, sized to its content; kNoButton on failure.
    virtual ButtonId Create(int controlId) = 0;
    virtual void Destroy(ButtonId button) = 0;
    virtual std::wstring Caption(ButtonId button) = 0;
    // Sets caption and tooltip and sizes the button to its new content.
    virtual void SetCaption(ButtonId button, const std::wstring& text) = 0;
    virtual bool IsChecked(ButtonId button) = 0;
    virtual void SetChecked(ButtonId button, bool checked) = 0;
    virtual void SetControlId(ButtonId button, int controlId) = 0;
    virtual Size OuterSize(ButtonId button) = 0;
    // Moves the button without resizing it and has it redrawn.
    virtual void Place(ButtonId button, Point topLeft) = 0;
    virtual int RowWidth() = 0;  // client width of the taskbar control
    // Dots per inch of the taskbar's monitor: the gaps between buttons scale with it.
    virtual int Dpi() { return 96; }
    virtual void SetFaceColor(ButtonId button, std::uint32_t rgb) = 0;  // 0x00BBGGRR, redraws
    virtual void CaptureMouse(ButtonId button) = 0;
    virtual void ReleaseMouse() = 0;
};

}  // namespace vantrel

#pragma once
// Status bar with a message pane and key-state indicators; shows the prompt of the
// menu item under the cursor and the idle text otherwise.

#include <windows.h>

#include <vector>

#include "ui/Window.h"

namespace ui {

// The system's status bar control keeps the parts and their texts; we draw it,
// in the current look.
class StatusBar : public Window {
public:
    bool Create(HWND parent, UINT id, bool visible);
    void SetIndicators(const std::vector<UINT>& stringIds);
    bool IsVisible() const { return Hwnd() != nullptr && (::GetWindowLongW(Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Show(bool show);
    // Prompt of a menu command: the text before "\n" of its string; empty for none.
    void ShowPrompt(UINT commandId);
    void ShowIdleText();
    void UpdateIndicators();
    int Height() const;
    void Resize();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    std::vector<UINT> m_indicators;
};

}  // namespace ui

#pragma once
// Status bar with a message pane and key-state indicators; shows the prompt of the
// menu item under the cursor and the idle text otherwise.

#include <windows.h>

#include <vector>

namespace ui {

class StatusBar {
public:
    bool Create(HWND parent, UINT id, bool visible);
    void SetIndicators(const std::vector<UINT>& stringIds);
    HWND Hwnd() const { return m_hWnd; }
    bool IsVisible() const { return m_hWnd != nullptr && (::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    void Show(bool show);
    // Prompt of a menu command: the text before "\n" of its string; empty for none.
    void ShowPrompt(UINT commandId);
    void ShowIdleText();
    void UpdateIndicators();
    int Height() const;
    void Resize();

private:
    HWND m_hWnd = nullptr;
    std::vector<UINT> m_indicators;
};

}  // namespace ui

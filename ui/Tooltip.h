#pragma once
// One tooltip window that shows the tips of many controls: a row of buttons shares
// one, instead of a popup window per button that would outlive its button.

#include <windows.h>

#include <string>

namespace ui {

class Tooltip {
public:
    Tooltip() = default;
    ~Tooltip() { Destroy(); }
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    // The tip of `tool`, shown while the mouse rests on it. Made on first use, owned
    // by `owner`'s frame; a tooltip that cannot be made leaves the tools without tips.
    void SetText(HWND owner, HWND tool, const std::wstring& text);
    // Forgets `tool`; its window is about to go.
    void Remove(HWND tool);
    void Destroy();
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

}  // namespace ui

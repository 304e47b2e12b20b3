#pragma once
// A flat push button with a small picture before its caption, a second picture for
// the checked state, a tooltip and an adjustable face colour. It never checks itself:
// its owner sets the check with BM_SETCHECK. A click is reported to the parent as
// WM_COMMAND with BN_CLICKED.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Window.h"

namespace ui {

class ImageButton : public Window {
public:
    ImageButton() = default;
    ~ImageButton() override;

    bool Create(HWND parent, UINT id, DWORD style);
    void SetImage(UINT bitmapId) { LoadImageList(bitmapId, m_image); }
    void SetCheckedImage(UINT bitmapId) { LoadImageList(bitmapId, m_checkedImage); }
    void SetTooltip(const std::wstring& text);
    void SizeToContent();
    void SetFaceColor(COLORREF color, bool redraw);
    bool IsChecked() const { return m_checked; }

    // Bits per pixel of the screen, which decides between the two sets of pictures.
    static int ScreenColorDepth();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadImageList(UINT bitmapId, HIMAGELIST& list);
    void OnPaint();
    void Click();

    HIMAGELIST m_image = nullptr;
    HIMAGELIST m_checkedImage = nullptr;
    HWND m_tooltip = nullptr;
    std::wstring m_tooltipText;
    COLORREF m_face = CLR_INVALID;  // CLR_INVALID: the system's button face
    bool m_checked = false;
    bool m_pressed = false;
    bool m_hot = false;
};

}  // namespace ui

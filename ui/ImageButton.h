#pragma once
// A flat push button with a small picture before its caption, a second picture for
// the checked state, a tip in a tooltip it may share with other buttons, and an
// adjustable face colour. It never checks itself:
// its owner sets the check with BM_SETCHECK. A click is reported to the parent as
// WM_COMMAND with BN_CLICKED.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Tooltip.h"
#include "ui/Window.h"

namespace ui {

class ImageButton : public Window {
public:
    ImageButton() = default;
    ~ImageButton() override;

    bool Create(HWND parent, UINT id, DWORD style);
    // A 16-pixel picture; on screens of more dots per inch its larger variant,
    // found at bitmapId + kVariant24Offset or + kVariant32Offset, where there is one.
    void SetImage(UINT bitmapId);
    void SetCheckedImage(UINT bitmapId);
    // The button's tip, shown by `tips`, which must outlive the button.
    void SetTooltip(Tooltip& tips, const std::wstring& text);
    void SizeToContent();
    void SetFaceColor(COLORREF color, bool redraw);
    bool IsChecked() const { return m_checked; }
    // What the button shows, kept as it was set: asking the window sends it two
    // messages, through the shared tooltip's hook, and the taskbar compares every
    // caption with its document's title tick after tick.
    const std::wstring& Caption() const { return m_caption; }
    // The keyboard works on this button of its strip: drawn with a focus rectangle.
    // The strip holds the focus itself, so the button never takes it.
    void SetFocused(bool focused);
    bool IsFocused() const { return m_focused; }

    // Bits per pixel of the screen, which decides between the two sets of pictures.
    static int ScreenColorDepth();

    // Pictures and size anew, for the resolution of the monitor the button is now on.
    void OnDpiChanged();

    static constexpr UINT kVariant24Offset = 1000;
    static constexpr UINT kVariant32Offset = 2000;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Points `list` at the shared picture list of the bitmap at this button's size.
    void LoadImageList(UINT bitmapId, HIMAGELIST& list);
    int ImageSize() const;
    int Padding() const;
    void OnPaint();
    void Click();

    UINT m_imageId = 0;
    UINT m_checkedImageId = 0;
    HIMAGELIST m_image = nullptr;         // shared, not owned
    HIMAGELIST m_checkedImage = nullptr;  // shared, not owned
    Tooltip* m_tips = nullptr;  // not owned
    std::wstring m_caption;
    COLORREF m_face = CLR_INVALID;  // CLR_INVALID: the system's button face
    bool m_checked = false;
    bool m_pressed = false;
    bool m_hot = false;
    bool m_focused = false;
};

}  // namespace ui

#pragma once
// A strip across the top of the frame's client area with a picture, a message
// and an action button, each with a tooltip; hidden until something has to be
// said. Drawn through the current look.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/Window.h"

namespace ui {

class CaptionButtonReader;

class CaptionBar : public Window {
public:
    enum class Align { Left = 1, Right = 2 };

    CaptionBar();
    ~CaptionBar() override;

    bool Create(HWND parent, UINT id);
    bool IsVisible() const { return Hwnd() != nullptr && (::GetWindowLongW(Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
    // Shows or hides the bar without activating anything; the frame lays itself out anew.
    void Show(bool show);
    // The bar's own height for what it holds; 0 while hidden.
    int Height() const;

    // The button sends WM_COMMAND `commandId` to the frame.
    void SetButton(const std::wstring& label, UINT commandId, Align align, bool dropDownArrow);
    void SetButtonToolTip(const std::wstring& title, const std::wstring& description);
    // Takes the bitmap resource; pixels of `transparent` show the bar behind them.
    void SetBitmap(UINT bitmapId, COLORREF transparent, bool stretch, Align align);
    void SetImageToolTip(const std::wstring& title, const std::wstring& description);
    // The message; it is also the window's text, for tools that read the bar.
    void SetText(const std::wstring& text, Align align);

    void SetLayoutChanged(std::function<void()> callback) { m_layoutChanged = std::move(callback); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnSize();
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    int Margin() const;
    SIZE ButtonSize() const;
    RECT ImageRect() const;
    RECT ButtonRect() const;
    HWND MakeToolTip();

    std::wstring m_text;
    Align m_textAlign = Align::Left;
    HWND m_button = nullptr;
    std::unique_ptr<CaptionButtonReader> m_buttonReader;  // what readers are told of the button
    Align m_buttonAlign = Align::Right;
    bool m_dropDownArrow = false;
    HWND m_buttonTip = nullptr;
    HWND m_imageTip = nullptr;
    HBITMAP m_bitmap = nullptr;  // shared, not ours to delete
    SIZE m_bitmapSize{};
    COLORREF m_transparent = CLR_INVALID;
    bool m_stretch = false;
    Align m_imageAlign = Align::Left;
    std::function<void()> m_layoutChanged;
};

}  // namespace ui

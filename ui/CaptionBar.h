#pragma once
// A strip across the top of the frame's client area with a message, a picture and an
// action button; hidden until something has to be said.

#include <windows.h>

#include <string>

#include "ui/Window.h"

namespace ui {

class CaptionBar : public Window {
public:
    bool Create(HWND parent, UINT id);
    bool IsVisible() const { return Hwnd() != nullptr && (::GetWindowLongW(Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Show(bool show);
    int Height() const { return IsVisible() ? kHeight : 0; }
    void SetMessageText(const std::wstring& text);
    void SetButton(const std::wstring& text, UINT commandId);
    void SetBitmap(HBITMAP bitmap) { m_bitmap = bitmap; }

    static const int kHeight = 84;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnSize();

    std::wstring m_message;
    HWND m_button = nullptr;
    HBITMAP m_bitmap = nullptr;
};

}  // namespace ui

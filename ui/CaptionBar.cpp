#include "ui/CaptionBar.h"

namespace ui {
namespace {
const wchar_t kCaptionBarClass[] = L"VantrelCaptionBar";
}

bool CaptionBar::Create(HWND parent, UINT id) {
    RegisterClassOnce(kCaptionBarClass, 0, ::LoadCursorW(nullptr, IDC_ARROW),
                      reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1), nullptr);
    return CreateWnd(0, kCaptionBarClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void CaptionBar::Show(bool show) { ::ShowWindow(Hwnd(), show ? SW_SHOWNA : SW_HIDE); }

void CaptionBar::SetMessageText(const std::wstring& text) {
    m_message = text;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CaptionBar::SetButton(const std::wstring& text, UINT commandId) {
    if (m_button == nullptr) {
        m_button = ::CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                     0, 0, 80, 24, Hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId)),
                                     ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(m_button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    } else {
        ::SetWindowTextW(m_button, text.c_str());
    }
    OnSize();
}

void CaptionBar::OnSize() {
    if (m_button == nullptr) return;
    const RECT rc = ClientRect();
    ::MoveWindow(m_button, rc.right - 90, (rc.bottom - 24) / 2, 80, 24, TRUE);
}

void CaptionBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    RECT rc = ClientRect();
    if (m_bitmap != nullptr) {
        BITMAP info{};
        ::GetObjectW(m_bitmap, sizeof info, &info);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, m_bitmap);
        ::BitBlt(dc, 2, (rc.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        rc.left += info.bmWidth + 8;
    }
    rc.right -= 100;
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextW(dc, m_message.c_str(), -1, &rc, DT_WORDBREAK | DT_VCENTER);
    ::SelectObject(dc, oldFont);
    ::EndPaint(Hwnd(), &ps);
}

LRESULT CaptionBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_COMMAND:
        // The action button speaks to the frame, which owns the commands.
        return ::SendMessageW(::GetParent(Hwnd()), WM_COMMAND, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

}  // namespace ui

#include "ui/StatusBar.h"

#include <commctrl.h>

#include <string>

#include "ui/Look.h"

namespace ui {
namespace {
const UINT kIdleMessageId = 57345;  // "Ready"
const int kIndicatorWidth = 48;
const UINT kCapsId = 59137, kNumId = 59138, kScrollId = 59139;
}  // namespace

bool StatusBar::Create(HWND parent, UINT id, bool visible) {
    DWORD style = WS_CHILD | CCS_BOTTOM | SBARS_SIZEGRIP;
    if (visible) style |= WS_VISIBLE;
    HWND hwnd = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    return hwnd != nullptr && Subclass(hwnd);
}

void StatusBar::SetIndicators(const std::vector<UINT>& stringIds) {
    m_indicators = stringIds;
    Resize();
    ShowIdleText();
    UpdateIndicators();
}

void StatusBar::Show(bool show) {
    ::ShowWindow(Hwnd(), show ? SW_SHOW : SW_HIDE);
    if (show) UpdateIndicators();
}

void StatusBar::ShowPrompt(UINT commandId) {
    std::wstring text = commandId != 0 ? LoadStringResource(commandId) : std::wstring();
    const auto newline = text.find(L'\n');
    if (newline != std::wstring::npos) text.resize(newline);
    if (text.empty()) text = LoadStringResource(kIdleMessageId);
    ::SendMessageW(Hwnd(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::ShowIdleText() { ShowPrompt(0); }

void StatusBar::UpdateIndicators() {
    for (size_t i = 1; i < m_indicators.size(); ++i) {
        const UINT id = m_indicators[i];
        const int key = id == kCapsId ? VK_CAPITAL : id == kNumId ? VK_NUMLOCK
                                                   : id == kScrollId ? VK_SCROLL : 0;
        const bool on = key != 0 && (::GetKeyState(key) & 1) != 0;
        const std::wstring text = on ? LoadStringResource(id) : std::wstring();
        ::SendMessageW(Hwnd(), SB_SETTEXTW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text.c_str()));
    }
}

int StatusBar::Height() const {
    if (!IsVisible()) return 0;
    RECT rc{};
    ::GetWindowRect(Hwnd(), &rc);
    return rc.bottom - rc.top;
}

void StatusBar::Resize() {
    if (Hwnd() == nullptr) return;
    ::SendMessageW(Hwnd(), WM_SIZE, 0, 0);
    RECT rc{};
    ::GetClientRect(Hwnd(), &rc);
    // The message pane takes what the indicators leave.
    std::vector<int> edges(m_indicators.empty() ? 1 : m_indicators.size());
    int right = rc.right - ::GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = edges.size(); i-- > 1;) {
        edges[i] = right;
        right -= kIndicatorWidth;
    }
    edges[0] = right;
    ::SendMessageW(Hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const Look& look = Look::Current();
    const RECT rc = ClientRect();
    look.DrawBar(dc, rc);
    RECT top{rc.left, rc.top, rc.right, rc.top + 1};
    ::FillRect(dc, &top, look.Brush(look.Palette().paneBorder));
    const int parts = static_cast<int>(::SendMessageW(Hwnd(), SB_GETPARTS, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.Palette().barText);
    HGDIOBJ old = ::SelectObject(dc, look.FontFor(Hwnd()));
    for (int i = 0; i < parts; ++i) {
        RECT part{};
        ::SendMessageW(Hwnd(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part));
        const LRESULT length = ::SendMessageW(Hwnd(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
        std::wstring text(LOWORD(length) + 1, L'\0');
        ::SendMessageW(Hwnd(), SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(length));
        if (i > 0) {
            RECT divider{part.left - 1, part.top + 2, part.left, part.bottom - 2};
            ::FillRect(dc, &divider, look.Brush(look.Palette().paneBorder));
        }
        ::InflateRect(&part, -3, 0);
        ::DrawTextW(dc, text.c_str(), -1, &part, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    ::SelectObject(dc, old);
    ::EndPaint(Hwnd(), &ps);
}

LRESULT StatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

}  // namespace ui

#include "ui/StatusBar.h"

#include <commctrl.h>

#include "ui/Window.h"

namespace ui {
namespace {
const UINT kIdleMessageId = 57345;  // "Ready"
const int kIndicatorWidth = 48;
const UINT kCapsId = 59137, kNumId = 59138, kScrollId = 59139;
}  // namespace

bool StatusBar::Create(HWND parent, UINT id, bool visible) {
    DWORD style = WS_CHILD | CCS_BOTTOM | SBARS_SIZEGRIP;
    if (visible) style |= WS_VISIBLE;
    m_hWnd = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void StatusBar::SetIndicators(const std::vector<UINT>& stringIds) {
    m_indicators = stringIds;
    Resize();
    ShowIdleText();
    UpdateIndicators();
}

void StatusBar::Show(bool show) {
    ::ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE);
    if (show) UpdateIndicators();
}

void StatusBar::ShowPrompt(UINT commandId) {
    std::wstring text = commandId != 0 ? LoadStringResource(commandId) : std::wstring();
    const auto newline = text.find(L'\n');
    if (newline != std::wstring::npos) text.resize(newline);
    if (text.empty()) text = LoadStringResource(kIdleMessageId);
    ::SendMessageW(m_hWnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::ShowIdleText() { ShowPrompt(0); }

void StatusBar::UpdateIndicators() {
    for (size_t i = 1; i < m_indicators.size(); ++i) {
        const UINT id = m_indicators[i];
        const int key = id == kCapsId ? VK_CAPITAL : id == kNumId ? VK_NUMLOCK
                                                   : id == kScrollId ? VK_SCROLL : 0;
        const bool on = key != 0 && (::GetKeyState(key) & 1) != 0;
        const std::wstring text = on ? LoadStringResource(id) : std::wstring();
        ::SendMessageW(m_hWnd, SB_SETTEXTW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text.c_str()));
    }
}

int StatusBar::Height() const {
    if (!IsVisible()) return 0;
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc.bottom - rc.top;
}

void StatusBar::Resize() {
    if (m_hWnd == nullptr) return;
    ::SendMessageW(m_hWnd, WM_SIZE, 0, 0);
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    // The message pane takes what the indicators leave.
    std::vector<int> edges(m_indicators.empty() ? 1 : m_indicators.size());
    int right = rc.right - ::GetSystemMetrics(SM_CXVSCROLL);
    for (size_t i = edges.size(); i-- > 1;) {
        edges[i] = right;
        right -= kIndicatorWidth;
    }
    edges[0] = right;
    ::SendMessageW(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

}  // namespace ui

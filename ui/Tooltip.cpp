#include "ui/Tooltip.h"

#include <commctrl.h>

#include "ui/Dpi.h"

namespace ui {
namespace {
TOOLINFOW ToolOf(HWND tool) {
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}
}  // namespace

void Tooltip::SetText(HWND owner, HWND tool, const std::wstring& text) {
    // Gone with a window that owned it: made anew.
    if (m_hwnd != nullptr && !::IsWindow(m_hwnd)) m_hwnd = nullptr;
    if (m_hwnd == nullptr) {
        // Owned by the frame at the root of the owner chain, which outlives a floating
        // pane's own window.
        HWND root = ::GetAncestor(owner, GA_ROOTOWNER);
        m_hwnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   root != nullptr ? root : owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (m_hwnd == nullptr) return;
        ::SendMessageW(m_hwnd, TTM_SETMAXTIPWIDTH, 0, Scale(owner, 200));
    }
    // Taken out and in again rather than asked whether it is known: the control keeps
    // its own copy of the text, and a tool that is not there is simply not removed.
    TOOLINFOW info = ToolOf(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(m_hwnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::Remove(HWND tool) {
    if (m_hwnd == nullptr) return;
    TOOLINFOW info = ToolOf(tool);
    ::SendMessageW(m_hwnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::Destroy() {
    // Owned popups go with their owner: the window may be gone already.
    if (m_hwnd != nullptr && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

}  // namespace ui

#include "control_window.h"

#include <cstdint>

namespace {
// Posted to the control window itself; wParam is the duration in ms.
constexpr UINT kHangMessage = WM_APP + 1;
}  // namespace

bool ControlWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = viewer_protocol::kControlClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    const std::wstring title = viewer_protocol::ControlTitle(GetCurrentProcessId());
    // Never shown; a tool window stays off the taskbar should anything show it.
    m_hWnd = CreateWindowExW(WS_EX_TOOLWINDOW, viewer_protocol::kControlClass, title.c_str(), WS_POPUP,
                             0, 0, 0, 0, nullptr, nullptr, instance, this);
    return m_hWnd != nullptr;
}

bool ControlWindow::PostHang(unsigned long milliseconds) {
    return m_hWnd && PostMessageW(m_hWnd, kHangMessage, milliseconds, 0);
}

ControlWindow::~ControlWindow() {
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

LRESULT CALLBACK ControlWindow::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<ControlWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self) {
        switch (message) {
        case WM_COPYDATA:
            return self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kHangMessage:
            // Sleep, not a wait that pumps: sent messages must stay unanswered.
            Sleep(static_cast<DWORD>(wParam));
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            break;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT ControlWindow::OnCopyData(const COPYDATASTRUCT& data) {
    if (static_cast<std::uint64_t>(data.dwData) > UINT32_MAX)
        return 0;  // would alias a command once narrowed
    std::wstring argument;
    if (data.lpData && data.cbData >= sizeof(wchar_t))
        argument.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    if (!argument.empty() && argument.back() == L'\0')
        argument.pop_back();
    return m_handler.OnViewerCommand(static_cast<viewer_protocol::Command>(data.dwData), argument);
}

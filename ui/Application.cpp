#include "ui/Application.h"

#include "ui/Window.h"

namespace ui {

int Application::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 1;
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

void Application::Dispatch(MSG& msg) {
    if (PreTranslate(msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool Application::PreTranslate(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        Window* window = Window::FromHandle(hwnd);
        if (window != nullptr && window->PreTranslateMessage(msg)) return true;
        if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;  // stop at the top-level window
    }
    return false;
}

}  // namespace ui

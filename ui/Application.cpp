#include "ui/Application.h"

#include "ui/Window.h"

namespace ui {

int Application::s_holds = 0;
std::vector<Window*> Application::s_doomed;

Application::Hold::~Hold() {
    if (--s_holds > 0) return;
    // Held again while deleting: a destructor may destroy windows of its own, and
    // what that dooms is deleted by this same loop.
    ++s_holds;
    while (!s_doomed.empty()) {
        Window* window = s_doomed.back();
        s_doomed.pop_back();
        delete window;
    }
    --s_holds;
}

void Application::DeleteWhenUnwound(Window* window) {
    if (window == nullptr) return;
    if (s_holds == 0) {
        delete window;
        return;
    }
    s_doomed.push_back(window);
}

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

#include "ui/Activation.h"

namespace ui {
namespace {
ActivationGuard s_guard = nullptr;  // the user-interface thread's
}  // namespace

void SetActivationGuard(ActivationGuard guard) { s_guard = guard; }

void GuardActivation() {
    if (s_guard != nullptr) s_guard();
}

int GuardedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    GuardActivation();
    return ::MessageBoxW(owner, text, caption, type);
}

void GuardedShowWindow(HWND window, int command) {
    // Hiding moves the activation away too, when the window had it.
    GuardActivation();
    ::ShowWindow(window, command);
}

void GuardedSetForegroundWindow(HWND window) {
    GuardActivation();
    ::SetForegroundWindow(window);
}

}  // namespace ui

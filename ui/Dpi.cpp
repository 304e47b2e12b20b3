#include "ui/Dpi.h"

namespace ui {

UINT DpiOf(HWND hwnd) {
    // Looked up at run time: systems before Windows 10 lack it and must still start.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && hwnd != nullptr) {
        if (const UINT dpi = getDpiForWindow(hwnd); dpi != 0) return dpi;
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int Scale(HWND hwnd, int pixelsAt96) { return ::MulDiv(pixelsAt96, static_cast<int>(DpiOf(hwnd)), 96); }

}  // namespace ui

#include "input.h"

#include "viewer_client.h"

namespace {
void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

// Whether the cursor stays at `screen` for the next `ms` milliseconds.
bool CursorStaysAt(POINT screen, int ms) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(ms);
    do {
        POINT now{};
        ::GetCursorPos(&now);
        if (now.x != screen.x || now.y != screen.y) return false;
        ::Sleep(5);
    } while (::GetTickCount64() < end);
    return true;
}
}  // namespace

// Under Wine an injected move also moves the X pointer, and the X server reports
// that back, a little later, to the program whose window is under it; a late report
// of an earlier move would put the cursor back there, and a press would land there.
// So the move is given again until the cursor stays where it was sent.
void MoveMouseTo(POINT screen) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const ULONGLONG end = ::GetTickCount64() + 3000;
    do {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (screen.x * 65535 + width / 2) / (width - 1),
                  (screen.y * 65535 + height / 2) / (height - 1));
    } while (!CursorStaysAt(screen, 50) && ::GetTickCount64() < end);
}

void PressLeftButton() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void ReleaseLeftButton() { SendMouse(MOUSEEVENTF_LEFTUP); }
void PressRightButton() { SendMouse(MOUSEEVENTF_RIGHTDOWN); }
void ReleaseRightButton() { SendMouse(MOUSEEVENTF_RIGHTUP); }
void PressKey(WORD virtualKey) { SendKey(virtualKey, 0); }
void ReleaseKey(WORD virtualKey) { SendKey(virtualKey, KEYEVENTF_KEYUP); }

POINT CenterOf(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

namespace {
GUITHREADINFO InputOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return GUITHREADINFO{};
    return info;
}
}  // namespace

HWND CaptureOf(HWND window) { return InputOf(window).hwndCapture; }
HWND ActiveOf(HWND window) { return InputOf(window).hwndActive; }

bool PressLeftButtonOn(HWND window, POINT at) {
    MoveMouseTo(at);
    PressLeftButton();
    return WaitFor([&] { return CaptureOf(window) == window; }, 3000);
}

COLORREF ScreenPixel(POINT screen) {
    HDC dc = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return color;
}

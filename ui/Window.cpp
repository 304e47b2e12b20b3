#include "ui/Window.h"

#include <unordered_map>

#include "ui/Application.h"

namespace ui {
namespace {
// Which object each of our windows belongs to. Kept here rather than in a window
// property: a property lives in the system (under Wine, a round trip to its server
// for every message dispatched), and a handle of somebody else's window finds
// nothing here, whatever that window holds.
std::unordered_map<HWND, Window*>& Objects() {
    static std::unordered_map<HWND, Window*> objects;
    return objects;
}

void Forget(HWND hwnd, const Window* window) {
    auto& objects = Objects();
    const auto found = objects.find(hwnd);
    if (found != objects.end() && found->second == window) objects.erase(found);
}
}  // namespace

Window::~Window() {
    // An object that goes while its window lives must not be called again.
    if (m_hWnd != nullptr) {
        if (m_previousProc != nullptr)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        Forget(m_hWnd, this);
        ::DestroyWindow(m_hWnd);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    const auto& objects = Objects();
    const auto found = objects.find(hwnd);
    return found != objects.end() ? found->second : nullptr;
}

bool Window::PreTranslateMessage(MSG&) { return false; }

std::wstring Window::Text() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT Window::ClientRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT Window::WindowRectOnScreen() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

bool Window::RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor,
                               HBRUSH background, HICON icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

HWND Window::CreateWnd(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                       DWORD style, int x, int y, int width, int height, HWND parent,
                       HMENU menuOrId) {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                             menuOrId, ::GetModuleHandleW(nullptr), this);
}

bool Window::Subclass(HWND hwnd) {
    if (hwnd == nullptr) return false;
    Attach(hwnd);
    m_previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticProc)));
    return m_previousProc != nullptr;
}

void Window::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    Objects()[hwnd] = this;
}

void Window::Detach() {
    Forget(m_hWnd, this);
    m_hWnd = nullptr;
    m_previousProc = nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_previousProc != nullptr)
        return ::CallWindowProcW(m_previousProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(hwnd);
    if (self == nullptr && message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self != nullptr) self->Attach(hwnd);
    }
    if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    const Application::Hold hold;
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code; the message counts as unhandled.
        result = self->DefaultProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage();
    }
    return result;
}

std::wstring LoadStringResource(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id,
                                     reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<size_t>(length))
                                         : std::wstring();
}

}  // namespace ui

#pragma once
// One C++ object per window. The static window procedure finds the object (stored at
// WM_NCCREATE, or when an existing window is subclassed) and hands every message to
// HandleMessage; no exception leaves a window procedure.

#include <windows.h>

#include <string>

namespace ui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    bool Exists() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    // The object behind a window of ours, or null for anybody else's window.
    static Window* FromHandle(HWND hwnd);

    // Offered every queued message aimed at this window or one of its children before
    // it is dispatched; true means the message was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg);

    std::wstring Text() const;
    void SetText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
    RECT ClientRect() const;
    RECT WindowRectOnScreen() const;

protected:
    // Registers a window class once per process; the class procedure is ours.
    static bool RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor,
                                  HBRUSH background, HICON icon);
    // CreateWindowExW with this object as the creation parameter.
    HWND CreateWnd(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                   int x, int y, int width, int height, HWND parent, HMENU menuOrId);
    // Takes over an existing window (for instance a system "STATIC"): its own procedure
    // still runs for everything this class passes to DefaultProc.
    bool Subclass(HWND hwnd);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the last message; the object may delete itself here.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();

    HWND m_hWnd = nullptr;
    WNDPROC m_previousProc = nullptr;
};

// Loads a string of the program's string table.
std::wstring LoadStringResource(UINT id);

}  // namespace ui

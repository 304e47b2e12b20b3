// One document of the sample viewer in a top-level window of its own.
#pragma once

#include <windows.h>

#include <string>

#include "viewer_protocol.h"

class DocumentWindow;

// What a document window asks of the application.
class DocumentHost {
public:
    virtual void NewDocument() = 0;
    // The window is gone. The object frees itself right after; do not keep it.
    // `hwnd` was its window.
    virtual void DocumentDestroyed(DocumentWindow* document, HWND hwnd) = 0;

protected:
    ~DocumentHost() = default;
};

class DocumentWindow {
public:
    // Registering a class that exists already (in any letter case) succeeds:
    // the existing class is then used.
    static bool RegisterWindowClass(HINSTANCE instance, const std::wstring& className);

    // Creates the window, shown or not. The object frees itself once its
    // window is destroyed. Returns null on failure.
    static DocumentWindow* Create(DocumentHost& host, HINSTANCE instance,
                                  const std::wstring& className, const std::wstring& name, bool show);

    DocumentWindow(const DocumentWindow&) = delete;
    DocumentWindow& operator=(const DocumentWindow&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    void SetName(const std::wstring& name);
    void MarkModified();
    // Destroys the window without asking.
    void Destroy();
    // What brought the window down; meaningful once it is being destroyed.
    viewer_protocol::DocumentEnd HowEnded() const { return m_end; }
    long long CreatedAt() const { return m_createdAt; }
    long long ReadyAt() const { return m_readyAt; }

private:
    DocumentWindow(DocumentHost& host, const std::wstring& name);
    ~DocumentWindow() = default;

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void Paint(HDC dc);
    bool OnCommand(int id);
    void OnClose();
    void OnNcDestroy();

    void UpdateTitle();

    DocumentHost& m_host;
    HWND m_hWnd = nullptr;
    std::wstring m_strName;
    std::wstring m_strText;
    bool m_bModified = false;
    bool m_bAsking = false;  // the "save changes" box is open
    viewer_protocol::DocumentEnd m_end = viewer_protocol::kDestroyedOtherwise;
    // Nesting of window procedure calls: a window may be destroyed while a
    // message box runs inside OnClose, and the object must outlive that call.
    int m_nCallDepth = 0;
    long long m_createdAt = 0;
    long long m_readyAt = 0;
};

#include "document_window.h"

#include "document_text.h"
#include "viewer_ids.h"

namespace {

constexpr const wchar_t* kAppCaption = L"Sample Viewer";
constexpr int kDefaultWidth = 520;
constexpr int kDefaultHeight = 380;
constexpr int kTextMargin = 12;

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, IDM_NEW_DOCUMENT, L"&New document\tCtrl+N");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, IDM_CLOSE_DOCUMENT, L"&Close");
    HMENU document = CreatePopupMenu();
    AppendMenuW(document, MF_STRING, IDM_MARK_MODIFIED, L"&Mark modified\tCtrl+M");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(document), L"&Document");
    return bar;
}

}  // namespace

bool DocumentWindow::RegisterWindowClass(HINSTANCE instance, const std::wstring& className) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;  // the text wraps to the width
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

DocumentWindow* DocumentWindow::Create(DocumentHost& host, HINSTANCE instance,
                                       const std::wstring& className, const std::wstring& name,
                                       bool show) {
    DocumentWindow* document = new DocumentWindow(host, name);
    // Held across creation: should creation fail after WM_NCCREATE, the window
    // procedure sees the window die but leaves the freeing to us.
    document->m_nCallDepth = 1;
    HMENU menu = BuildMenu();
    LARGE_INTEGER createdAt;
    QueryPerformanceCounter(&createdAt);
    document->m_createdAt = createdAt.QuadPart;
    HWND hwnd = CreateWindowExW(0, className.c_str(), name.c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, kDefaultWidth, kDefaultHeight,
                                nullptr, menu, instance, document);
    document->m_nCallDepth = 0;
    if (!hwnd) {
        // A window that got as far as WM_NCCREATE took the menu down with it.
        if (IsMenu(menu))
            DestroyMenu(menu);
        delete document;
        return nullptr;
    }
    if (show) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
    }
    LARGE_INTEGER readyAt;
    QueryPerformanceCounter(&readyAt);
    document->m_readyAt = readyAt.QuadPart;
    return document;
}

DocumentWindow::DocumentWindow(DocumentHost& host, const std::wstring& name)
    : m_host(host), m_strName(name) {}

void DocumentWindow::SetName(const std::wstring& name) {
    m_strName = name;
    UpdateTitle();
}

void DocumentWindow::Destroy() {
    m_end = viewer_protocol::kDestroyedOnRequest;
    DestroyWindow(m_hWnd);
}

void DocumentWindow::MarkModified() {
    if (m_bModified)
        return;
    m_bModified = true;
    UpdateTitle();
}

void DocumentWindow::UpdateTitle() {
    const std::wstring title = m_bModified ? m_strName + L" *" : m_strName;
    SetWindowTextW(m_hWnd, title.c_str());
}

LRESULT CALLBACK DocumentWindow::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DocumentWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<DocumentWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<DocumentWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after WM_NCDESTROY.
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);

    ++self->m_nCallDepth;
    const LRESULT result = self->WndProc(message, wParam, lParam);
    if (--self->m_nCallDepth == 0 && !self->m_hWnd)
        delete self;
    return result;
}

LRESULT DocumentWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // Paint fills the whole client area
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:  // a host may print the window, say for a thumbnail
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_NCDESTROY: {
        HWND hwnd = m_hWnd;
        OnNcDestroy();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    }
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void DocumentWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    Paint(dc);
    EndPaint(m_hWnd, &ps);
}

void DocumentWindow::Paint(HDC dc) {
    // Read lazily: a benchmark may open many hidden windows that never paint.
    if (m_strText.empty())
        m_strText = LoadDocumentText(m_strName);
    // Client coordinates only: the window may have been re-parented into
    // another program's window, and nothing here depends on being top-level.
    RECT area;
    GetClientRect(m_hWnd, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    InflateRect(&area, -kTextMargin, -kTextMargin);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, m_strText.c_str(), static_cast<int>(m_strText.size()), &area,
              DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

bool DocumentWindow::OnCommand(int id) {
    switch (id) {
    case IDM_NEW_DOCUMENT:
        m_host.NewDocument();
        return true;
    case IDM_CLOSE_DOCUMENT:
        SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    case IDM_MARK_MODIFIED:
        MarkModified();
        return true;
    }
    return false;
}

void DocumentWindow::OnClose() {
    // A second close while the question is open (the host program sends one,
    // the user clicks the close box) must not stack a second question.
    if (m_bAsking)
        return;
    if (m_bModified) {
        const std::wstring question = L"Save changes to " + m_strName + L"?";
        m_bAsking = true;
        const int answer = MessageBoxW(m_hWnd, question.c_str(), kAppCaption,
                                       MB_YESNOCANCEL | MB_ICONQUESTION);
        m_bAsking = false;
        if (!m_hWnd)
            return;  // destroyed while the question was open
        // Yes closes too: there is nothing to save in a sample. Anything but
        // Yes or No (Cancel, or a box ended by WM_QUIT) keeps the window.
        if (answer != IDYES && answer != IDNO)
            return;
    }
    m_end = viewer_protocol::kClosed;
    DestroyWindow(m_hWnd);
}

void DocumentWindow::OnNcDestroy() {
    HWND hwnd = m_hWnd;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_host.DocumentDestroyed(this, hwnd);
}

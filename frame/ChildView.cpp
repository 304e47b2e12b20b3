#include "frame/ChildView.h"

namespace {
const wchar_t kChildViewClass[] = L"VantrelHostView";
}

bool CChildView::Create(HWND parent, UINT id) {
    if (!RegisterClassOnce(kChildViewClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                           ::LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                           nullptr))
        return false;
    // Sunken edge instead of a border; hosted windows of another process paint
    // themselves, so the view keeps off their area.
    return CreateWnd(WS_EX_CLIENTEDGE, kChildViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                     0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

LRESULT CChildView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        // Hosted windows are fitted to the new size by the capture cycle, not here.
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

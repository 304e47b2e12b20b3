#include "hosting/WindowsManagerView.h"

namespace hosting {

namespace {
const UINT kControlId = 1;
}

bool CWindowsManagerView::Create(const std::wstring& caption, HWND frame, const RECT& initial, UINT id) {
    if (!DockablePane::Create(caption, frame, initial, id)) return false;
    if (!m_wndCtrl.Create(Hwnd(), kControlId)) return false;
    OnContentSize(ContentRect());
    return true;
}

void CWindowsManagerView::OnContentSize(const RECT& content) {
    if (m_wndCtrl.Hwnd() == nullptr) return;
    ::SetWindowPos(m_wndCtrl.Hwnd(), nullptr, content.left, content.top, content.right - content.left,
                   content.bottom - content.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace hosting

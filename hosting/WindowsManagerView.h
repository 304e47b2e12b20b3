#pragma once
// The window taskbar: a dockable pane whose whole content is the hosting control.

#include "hosting/WindowCtrl.h"
#include "ui/DockablePane.h"

namespace hosting {

class CWindowsManagerView final : public ui::DockablePane {
public:
    CWindowsManagerView(vantrel::Desktop& desktop, vantrel::Settings& settings)
        : m_wndCtrl(desktop, settings) {}

    bool Create(const std::wstring& caption, HWND frame, const RECT& initial, UINT id);

    CWindowCtrl m_wndCtrl;

protected:
    void OnContentSize(const RECT& content) override;
};

}  // namespace hosting

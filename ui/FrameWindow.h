#pragma once
// A top-level frame: menu bar, optional caption bar at the top, status bar at the
// bottom, docked panes along the edges and one view filling the rest. Commands are
// routed through OnCommand; menus and accelerators ask UpdateCommandUI first.

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

#include <vector>

#include "ui/CaptionBar.h"
#include "ui/CommandUI.h"
#include "ui/DockablePane.h"
#include "ui/MenuBar.h"
#include "ui/StatusBar.h"
#include "ui/Window.h"

namespace ui {

class FrameWindow : public Window {
public:
    // Registers the class and creates the window with the menu, icon and title of
    // resource `resourceId`, at `initial` on the screen or, without one, where the
    // system puts new windows. The frame deletes itself once its window is gone (when
    // no code runs on it any more); false means it is gone already, with or
    // without ever having had a window, and must not be touched.
    bool LoadFrame(UINT resourceId, DWORD style, const wchar_t* className, HICON classIcon,
                   const RECT* initial = nullptr);

    void RecalcLayout();
    // Moved to a monitor of another resolution: sizes scale and the frame takes the
    // rectangle the system suggests.
    void OnDpiChanged(UINT newDpi, const RECT& suggested);
    void DockPane(DockablePane& pane, DockSide side);

protected:
    // Parts of the frame that the layout places; set by the derived class while it
    // builds itself.
    void SetView(HWND view) { m_view = view; }
    void SetStatusBar(StatusBar* bar) { m_statusBar = bar; }
    void SetCaptionBar(CaptionBar* bar) {
        m_captionBar = bar;
        bar->SetLayoutChanged([this] { RecalcLayout(); });
    }
    void SetMenuBar(MenuBar* bar) { m_menuBar = bar; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A command from a menu, an accelerator or a control; false when not handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // Fills in the state of a command; the default leaves it enabled and unmarked.
    virtual void UpdateCommandUI(CommandUI& ui);
    // Applies UpdateCommandUI to every item of a popup that is about to open.
    void UpdatePopup(HMENU popup);
    bool IsCommandEnabled(UINT id);

    void OnFinalMessage() override;

private:
    HWND m_view = nullptr;
    StatusBar* m_statusBar = nullptr;
    CaptionBar* m_captionBar = nullptr;
    MenuBar* m_menuBar = nullptr;
    std::vector<DockablePane*> m_panes;
    UINT m_dpi = 0;  // what the sizes are made for; set at creation
    bool m_bDoomed = false;  // the last message came: deleted once unwound
};

}  // namespace ui

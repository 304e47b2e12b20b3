#pragma once
// The container frame: menu bar, hidden status bar, hidden caption bar, the window
// taskbar pane and the host view. The first frame of the first process is the main
// frame: it alone captures viewer windows, keeps the registry of the others and
// shows the tray icon. The frame dispatches; the features live beside it.

#include <windows.h>

#include <optional>

#include "core/FrameRegistry.h"
#include "frame/FrameManager.h"
#include "core/Placement.h"
#include "frame/ChildView.h"
#include "hosting/HostFrame.h"
#include "hosting/WindowsManagerView.h"
#include "tray/DonationReminder.h"
#include "tray/StartWithWindows.h"
#include "tray/TrayIcon.h"
#include "tray/UpdateCheck.h"
#include "ui/FrameWindow.h"

#include "frame/Program.h"

struct FrameCommandTable;

class CMainFrame final : public ui::FrameWindow,
                         public hosting::HostFrame,
                         public vantrel::RegisteredFrame {
public:
    // `number`: what the frame is stored under, 0 for the first frame, the menus'
    // number for an additional one.
    explicit CMainFrame(frame::Program& app, unsigned number = 0);
    ~CMainFrame() override;

    // Creates the window (held invisible until its first start-up tick).
    bool LoadFrame();

    bool IsMainFrame() const { return m_bMainFrame != 0; }
    CMainFrame* GetMainFrame();

    hosting::CWindowCtrl& WindowCtrl() { return m_wndWindowsManager.m_wndCtrl; }
    void ApplyTabMode(bool tabMode);

    // HostFrame
    HWND FrameHwnd() const override { return Hwnd(); }
    HostFrame* MainHostFrame() override { return GetMainFrame(); }
    hosting::CWindowCtrl& HostCtrl() override { return WindowCtrl(); }
    // Only the main frame keeps the registry of the others.
    unsigned HostFrameCount() override;
    std::wstring HostFrameTitle(unsigned position) override;
    HostFrame* HostFrameAt(unsigned position) override;
    bool IsHostedElsewhere(HWND window) override;
    void NewWindow() override;
    void OnWindowRecorded(HWND window, bool handed) override;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void UpdateCommandUI(ui::CommandUI& ui) override;

    // RegisteredFrame
    bool IsAlive() const override { return Exists() && !m_bClosing; }
    std::wstring Title() const override { return Text(); }
    bool HostsWindow(vantrel::WindowId window) const override;

private:
    friend struct FrameCommandTable;

    int OnCreate();
    void ExtendSystemMenu();
    void OnTimer();
    void OnWindowPosChanging(WINDOWPOS& pos);
    bool OnClose();
    void OnDestroy();
    bool OnActivate(bool active);
    void OnInitMenuPopup(HMENU popup, bool isSystemMenu);
    bool OnSysCommand(UINT command);
    void OnEndSession();
    LRESULT OnTestMenuItem(WPARAM which);

    void OnApplicationLook(unsigned id);
    // The system's settings or colours changed: high contrast may have come or gone.
    void OnSettingChange();
    void OnToggleWindowTaskbar();
    void OnToggleStatusBar();
    void ToggleBringToFront();
    void ToggleTabMode();
    void DockTaskbarAtBottom();
    void ToggleMenuBar();
    void OnChangeWindowName();
    void OnCloseAllWindows();
    void OnFindDocument();
    // Shows this frame wherever it is (hidden to the tray, minimized, behind others)
    // and brings a document it hosts forward, as a click on its button does.
    void ShowDocument(HWND window);
    void OnGoToTaskbar();
    bool CreateCaptionBar();
    void CountApplicationRun();
    void OnCaptionAction();
    void OnVisitHomepage();
    void ToggleStartWithWindows();

    // Placement
    void SavePlacement();


    frame::Program& m_app;
    ui::MenuBar m_wndMenuBar;
    ui::StatusBar m_wndStatusBar;
    hosting::CWindowsManagerView m_wndWindowsManager;
    tray::DonationReminder m_donationReminder;
    CChildView m_wndView;
    int m_bMainFrame = 0;
    HACCEL m_hAccel = nullptr;
    tray::UpdateCheck m_updateCheck;
    int m_bStartupComplete = 0;
    int m_bClosing = 0;  // out of sight, letting go of its windows
    // What this frame is stored under when it is created: 0 for the first frame, the
    // registry number for an additional one.
    unsigned m_nFrameNumber = 0;
    std::optional<vantrel::FramePlacement> m_savedPlacement;
    RECT m_rcNormal{};  // the rectangle on the screen while neither minimized nor maximized
};

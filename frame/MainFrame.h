#pragma once
// The container frame: menu bar, hidden status bar, hidden caption bar, the window
// taskbar pane and the host view. The first frame of the first process is the main
// frame: it alone captures viewer windows and keeps the registry of the others.

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "frame/ChildView.h"
#include "hosting/WindowsManagerView.h"
#include "ui/FrameWindow.h"

class CVantrelApp;

class CMainFrame final : public ui::FrameWindow {
public:
    explicit CMainFrame(CVantrelApp& app);
    ~CMainFrame() override;

    // Creates the window (held invisible until its first start-up tick).
    bool LoadFrame();

    bool IsMainFrame() const { return m_bMainFrame != 0; }
    CMainFrame* GetMainFrame();
    unsigned GetFrameCount();
    std::wstring GetFrameTitle(unsigned position) const;
    bool IsHostedElsewhere(HWND window);
    CMainFrame* FrameAt(unsigned position) const { return m_frames[position]; }

    hosting::CWindowCtrl& WindowCtrl() { return m_wndWindowsManager.m_wndCtrl; }
    void ApplyTabMode(bool tabMode);
    void ShowAllFrames();
    void NewWindow();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void UpdateCommandUI(ui::CommandUI& ui) override;

private:
    int OnCreate();
    void ExtendSystemMenu();
    void OnTimer();
    UINT StartupElapse() const;
    void OnWindowPosChanging(WINDOWPOS& pos);
    void OnDestroy();
    void OnInitMenuPopup(HMENU popup, bool isSystemMenu);
    bool OnSysCommand(UINT command);
    void OnEndSession();
    void OnTestCrash(WPARAM kind);
    LRESULT OnTestMenuItem(WPARAM which);

    void OnApplicationLook(unsigned id);
    void OnToggleWindowTaskbar();
    void OnToggleStatusBar();
    void ToggleBringToFront();
    void ToggleTabMode();
    void DockTaskbarAtBottom();
    void ToggleMenuBar();
    void ToggleSystray();
    void SetSystrayIcon(bool show);
    void CountApplicationRun();
    void ForgetFrame(CMainFrame* frame);
    void OnCloseAllWindows();
    bool OnClose();

    CVantrelApp& m_app;
    ui::MenuBar m_wndMenuBar;
    ui::StatusBar m_wndStatusBar;
    hosting::CWindowsManagerView m_wndWindowsManager;
    ui::CaptionBar m_wndCaptionBar;
    CChildView m_wndView;
    HANDLE m_hMutex = nullptr;
    int m_bMainFrame = 0;
    // A frame takes itself off (its entry becomes null) on its way out, before it
    // frees itself, so an entry never points to a freed frame.
    std::vector<CMainFrame*> m_frames;
    HACCEL m_hAccel = nullptr;
    NOTIFYICONDATAW m_trayIcon{};
    int m_bStartupComplete = 0;
    bool m_bTestHooks = false;
};

#pragma once
// The tray's policy: the main frame's icon and its callback, the tray menu and its
// commands, and whether a frame may hide (to the tray) on minimize or close, which
// it may only where the icon can bring it back.

#include <windows.h>

#include <vector>

#include "core/Settings.h"
#include "tray/TrayIcon.h"
#include "ui/PopupMenu.h"

namespace tray {

// What the tray asks of the frames it stands for.
class TrayFrames {
public:
    // The main frame, which owns the icon; null in a second copy of the program.
    virtual HWND MainFrameWindow() = 0;
    // The additional frames, in the order the menus number them.
    virtual std::vector<HWND> AdditionalFrameWindows() = 0;
    virtual void ShowAllFrames() = 0;
    virtual void HideAllFrames() = 0;

protected:
    ~TrayFrames() = default;
};

class TrayController {
public:
    TrayController(vantrel::Settings& settings, TrayFrames& frames) : m_settings(settings), m_frames(frames) {}

    // The icon shows, or goes; without it every frame shows, as a hidden one would be
    // out of reach.
    void SetIcon(bool enable);
    void ApplySetting() { SetIcon(m_settings.IsOn(vantrel::profile::kSystrayEnable)); }
    void Remove() { m_icon.Remove(); }
    // With the icon on, a hidden frame is reached through it; an icon the shell did
    // not take would leave it out of reach. With the icon off, starting the program
    // again shows every frame.
    bool CanHide() const;
    // Minimize or close of `frame`, hidden instead when the settings ask for it:
    // true when handled here.
    bool OnSysCommand(HWND frame, UINT command);
    // The icon's callback message.
    LRESULT OnNotify(WPARAM iconId, LPARAM mouseMessage);
    void OnTaskbarCreated();
    // The menu with an entry per frame, as it would open now.
    ui::PopupMenu BuildMenu();
    // The tray's commands, wherever they come from, arriving at `frame`: true when
    // `id` is one of them.
    bool OnCommand(HWND frame, UINT id);

private:
    void ToggleIcon();
    void OpenMenu();
    void OnFrameEntry(UINT id);

    vantrel::Settings& m_settings;
    TrayFrames& m_frames;
    TrayIcon m_icon;
};

}  // namespace tray

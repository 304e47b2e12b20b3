#pragma once
// The main frame's icon in the notification area: owns the icon record, adds and
// removes the icon, adds it again when the shell restarts, and builds the tray
// menu from the frames' states.

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/TrayMenu.h"
#include "ui/PopupMenu.h"

namespace tray {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon for `owner`, whose callback message is WM_SYSTRAY_NOTIFY;
    // false when the shell did not take it (it is tried again when a taskbar starts).
    bool Add(HWND owner);
    // Removes the icon, if any; the record is all zero afterwards.
    void Remove();
    bool IsShown() const { return m_record.hWnd != nullptr; }
    // Whether the shell holds the icon now, so that a hidden frame can be reached.
    bool IsInNotificationArea() const { return IsShown() && m_bAdded; }

    // The shell announces a new taskbar (Explorer started again after a crash):
    // it has forgotten every icon, so ours is added again if it was shown.
    static bool IsTaskbarCreated(UINT message);
    void OnTaskbarCreated();

    // The tray menu (menu resource 321) with the frame entries above its first
    // separator; empty when the resource is missing.
    static ui::PopupMenu BuildSystrayMenu(const vantrel::TrayFrameState& mainFrame,
                                          const std::vector<vantrel::TrayFrameState>& additionalFrames);

private:
    NOTIFYICONDATAW m_record{};
    HICON m_icon = nullptr;
    bool m_bAdded = false;
};

}  // namespace tray

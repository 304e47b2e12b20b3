#include "tray/TrayController.h"

#include <string>

#include "core/TrayMenu.h"
#include "resource.h"
#include "ui/Activation.h"

namespace tray {
namespace {
std::wstring TitleOf(HWND window) {
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    return title;
}

vantrel::TrayFrameState StateOf(HWND window) { return {TitleOf(window), ::IsWindowVisible(window) != FALSE}; }
}  // namespace

void TrayController::SetIcon(bool enable) {
    HWND main = m_frames.MainFrameWindow();
    if (main == nullptr) return;
    if (!enable) {
        m_icon.Remove();
        m_frames.ShowAllFrames();
        return;
    }
    m_icon.Add(main);
}

bool TrayController::CanHide() const {
    if (!m_settings.IsOn(vantrel::profile::kSystrayEnable)) return true;
    return m_frames.MainFrameWindow() != nullptr && m_icon.IsInNotificationArea();
}

bool TrayController::OnSysCommand(HWND frame, UINT command) {
    // Kept, as asked; but only hidden where the icon can bring it back.
    const bool hide = (command == SC_MINIMIZE && m_settings.IsOn(vantrel::profile::kSystrayOnMinimize)) ||
                      (command == SC_CLOSE && m_settings.IsOn(vantrel::profile::kSystrayOnClose));
    if (!hide) return false;
    ::ShowWindow(frame, CanHide() ? SW_HIDE : SW_MINIMIZE);
    return true;
}

LRESULT TrayController::OnNotify(WPARAM iconId, LPARAM mouseMessage) {
    const vantrel::TrayCallback callback =
        vantrel::DecodeTrayCallback(iconId, static_cast<std::uintptr_t>(mouseMessage));
    if (m_frames.MainFrameWindow() == nullptr) return callback.result;
    switch (callback.action) {
    case vantrel::TrayAction::ShowAllFrames: m_frames.ShowAllFrames(); break;
    case vantrel::TrayAction::OpenMenu: OpenMenu(); break;
    case vantrel::TrayAction::None: break;
    }
    return callback.result;
}

void TrayController::OnTaskbarCreated() {
    if (m_frames.MainFrameWindow() != nullptr && m_settings.IsOn(vantrel::profile::kSystrayEnable))
        m_icon.OnTaskbarCreated();
}

ui::PopupMenu TrayController::BuildMenu() {
    HWND main = m_frames.MainFrameWindow();
    if (main == nullptr) return {};
    std::vector<vantrel::TrayFrameState> frames;
    for (HWND frame : m_frames.AdditionalFrameWindows()) frames.push_back(StateOf(frame));
    return TrayIcon::BuildSystrayMenu(StateOf(main), frames);
}

// The menu's commands come to the main frame, whichever frame is in front.
void TrayController::OpenMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    BuildMenu().Track(m_frames.MainFrameWindow(), cursor);
}

void TrayController::ToggleIcon() {
    SetIcon(m_settings.Toggle(vantrel::profile::kSystrayEnable) != 0);
}

void TrayController::OnFrameEntry(UINT id) {
    if (m_frames.MainFrameWindow() == nullptr) return;
    const std::vector<HWND> additional = m_frames.AdditionalFrameWindows();
    const std::optional<int> target = vantrel::TrayEntryTarget(id, static_cast<unsigned>(additional.size()));
    if (!target) return;
    HWND frame = *target < 0 ? m_frames.MainFrameWindow() : additional[static_cast<std::size_t>(*target)];
    ui::GuardedShowWindow(frame, ::IsWindowVisible(frame) ? SW_HIDE : SW_SHOW);
}

bool TrayController::OnCommand(HWND frame, UINT id) {
    if (id >= ID_SYSTRAY_FRAME_FIRST && id <= ID_SYSTRAY_FRAME_LAST) {
        OnFrameEntry(id);
        return true;
    }
    switch (id) {
    case ID_SYSTRAY_ENABLE:
    case ID_SYSTRAY_HIDE_ICON: ToggleIcon(); return true;
    case ID_SYSTRAY_HIDE_ON_CLOSE: m_settings.Toggle(vantrel::profile::kSystrayOnClose); return true;
    case ID_SYSTRAY_HIDE_ON_MINIMIZE: m_settings.Toggle(vantrel::profile::kSystrayOnMinimize); return true;
    case ID_SYSTRAY_HIDE_ALL: m_frames.HideAllFrames(); return true;
    case ID_SYSTRAY_SHOW_ALL: m_frames.ShowAllFrames(); return true;
    case ID_SYSTRAY_EXIT:  // not the Close system command, so hide-on-close does not stop it
        ::SendMessageW(frame, WM_CLOSE, 0, 0);
        return true;
    default: return false;
    }
}

}  // namespace tray

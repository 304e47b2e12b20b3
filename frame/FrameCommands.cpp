#include "frame/FrameCommands.h"

#include <iterator>

#include "core/FrameTexts.h"
#include "core/RememberedDocuments.h"
#include "core/Settings.h"
#include "frame/FindDocumentDlg.h"
#include "frame/MainFrame.h"
#include "frame/WindowName.h"
#include "resource.h"
#include "tray/WebServer.h"
#include "ui/Activation.h"
#include "ui/Dpi.h"
#include "ui/Look.h"

// The rows reach into the frame as its own handlers would.
struct FrameCommandTable {
    static void Setting(CMainFrame& frame, ui::CommandUI& ui, const vantrel::ProfileValue& value) {
        // Any value but 0 counts as on, as it does everywhere the setting is read.
        ui.SetCheck(frame.m_app.Settings().IsOn(value));
    }
    static void TraySetting(CMainFrame& frame, ui::CommandUI& ui, const vantrel::ProfileValue& value) {
        Setting(frame, ui, value);
        ui.Enable(frame.m_app.Settings().IsOn(vantrel::profile::kSystrayEnable));
    }
    static void Tray(CMainFrame& frame, UINT id) { frame.m_app.Frames().Tray().OnCommand(frame.Hwnd(), id); }
    static void Nothing(CMainFrame&, UINT) {}

    static const frame::CommandRow kRows[];
};

using frame::Scope;
using F = CMainFrame;
using UI = ui::CommandUI;
using T = FrameCommandTable;

const frame::CommandRow FrameCommandTable::kRows[] = {
    // The frame's own parts.
    {ID_WINDOW_TASKBAR, ID_WINDOW_TASKBAR, Scope::Frame, [](F& f, UINT) { f.OnToggleWindowTaskbar(); }, nullptr},
    {ID_VIEW_STATUS_BAR, ID_VIEW_STATUS_BAR, Scope::Frame, [](F& f, UINT) { f.OnToggleStatusBar(); },
     [](F& f, UI& ui) { ui.SetCheck(f.m_wndStatusBar.IsVisible()); }},
    {ID_SYSMENU_FILE_MENU, ID_SYSMENU_FILE_MENU, Scope::Frame, [](F& f, UINT) { f.ToggleMenuBar(); },
     [](F& f, UI& ui) { ui.SetCheck(f.m_wndMenuBar.IsVisible()); }},
    {ID_DOCK_TASKBAR_BOTTOM, ID_DOCK_TASKBAR_BOTTOM, Scope::Frame, [](F& f, UINT) { f.DockTaskbarAtBottom(); },
     nullptr},
    {ID_CHANGE_WINDOW_NAME, ID_CHANGE_WINDOW_NAME, Scope::Frame, [](F& f, UINT) { f.OnChangeWindowName(); }, nullptr},
    {ID_CHECK_FOR_UPDATE, ID_CHECK_FOR_UPDATE, Scope::Frame, [](F& f, UINT) { f.m_updateCheck.CheckForUpdate(f.Hwnd()); },
     nullptr},
    {ID_CAPTION_ACTION, ID_CAPTION_ACTION, Scope::Frame, [](F& f, UINT) { f.OnCaptionAction(); }, nullptr},
    {ID_DONATE, ID_DONATE, Scope::Frame, [](F& f, UINT) { f.m_donationReminder.Donate(); }, nullptr},
    {ID_HIDE_CAPTION, ID_HIDE_CAPTION, Scope::Frame, [](F& f, UINT) { f.m_donationReminder.Hide(); }, nullptr},
    // Consumed: Ctrl+Tab is the capture cycle's to handle, the others are no menu items.
    {ID_CTRL_TAB, ID_CTRL_TAB, Scope::Frame, T::Nothing, nullptr},
    {IDS_WINDOWS_TASKBAR, IDS_WINDOWS_TASKBAR, Scope::Frame, T::Nothing, nullptr},
    {ID_CAPTION_BAR, ID_CAPTION_BAR, Scope::Frame, T::Nothing, nullptr},

    // The frame's hosted windows.
    {ID_TILE_HORIZONTALLY, ID_TILE_HORIZONTALLY, Scope::Frame,
     [](F& f, UINT) { f.WindowCtrl().Engine().TileHorizontally(); }, nullptr},
    {ID_TILE_VERTICALLY, ID_TILE_VERTICALLY, Scope::Frame, [](F& f, UINT) { f.WindowCtrl().Engine().TileVertically(); },
     nullptr},
    {ID_CLOSE_ALL_WINDOWS, ID_CLOSE_ALL_WINDOWS, Scope::Frame, [](F& f, UINT) { f.OnCloseAllWindows(); }, nullptr},
    {ID_FIND_DOCUMENT, ID_FIND_DOCUMENT, Scope::Frame, [](F& f, UINT) { f.OnFindDocument(); }, nullptr},
    {ID_GO_TO_TASKBAR, ID_GO_TO_TASKBAR, Scope::Frame, [](F& f, UINT) { f.OnGoToTaskbar(); }, nullptr},
    // As the window taskbar's own menu would, on the window in front.
    {ID_WINDOW_CLOSE, ID_WINDOW_CENTER, Scope::ActiveWindow,
     [](F& f, UINT id) { ::SendMessageW(f.WindowCtrl().Hwnd(), WM_COMMAND, id, 0); }, nullptr},

    // Every frame at once.
    {ID_VIEW_APPLOOK_FIRST, ID_VIEW_APPLOOK_LAST, Scope::EveryFrame, [](F& f, UINT id) { f.OnApplicationLook(id); },
     [](F& f, UI& ui) { ui.SetRadio(ui.id == f.m_app.Settings().Look()); }},
    {ID_TABMODE, ID_TABMODE, Scope::EveryFrame, [](F& f, UINT) { f.ToggleTabMode(); },
     [](F& f, UI& ui) { T::Setting(f, ui, vantrel::profile::kTabMode); }},

    // The program, and its settings.
    {ID_NEW_WINDOW, ID_NEW_WINDOW, Scope::Program,
     [](F& f, UINT) {
         if (CMainFrame* main = f.GetMainFrame()) main->NewWindow();
     },
     [](F& f, UI& ui) { ui.Enable(f.IsMainFrame()); }},
    {ID_APP_EXIT, ID_APP_EXIT, Scope::Program,
     [](F& f, UINT) {
         // Closes the application's main window, whichever frame asks.
         if (ui::Window* main = f.m_app.Loop().MainWindow()) ::PostMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
     },
     [](F& f, UI& ui) { ui.Enable(f.IsMainFrame()); }},
    {ID_APP_ABOUT, ID_APP_ABOUT, Scope::Program, [](F& f, UINT) { f.m_app.ShowAbout(f.Hwnd()); }, nullptr},
    {ID_OPEN_DIAGNOSTICS, ID_OPEN_DIAGNOSTICS, Scope::Program, [](F& f, UINT) { f.m_app.OpenDiagnosticsFolder(); },
     nullptr},
    {ID_VISIT_HOMEPAGE, ID_VISIT_HOMEPAGE, Scope::Program, [](F& f, UINT) { f.OnVisitHomepage(); }, nullptr},
    {ID_BRING_TO_FRONT, ID_BRING_TO_FRONT, Scope::Program,
     [](F& f, UINT) { f.ToggleBringToFront(); },
     [](F& f, UI& ui) { T::Setting(f, ui, vantrel::profile::kBringToFront); }},
    {ID_RESTORE_FRAMES, ID_RESTORE_FRAMES, Scope::Program,
     [](F& f, UINT) { f.m_app.Settings().Toggle(vantrel::profile::kRestoreFrames); },
     [](F& f, UI& ui) { T::Setting(f, ui, vantrel::profile::kRestoreFrames); }},
    {ID_START_WITH_WINDOWS, ID_START_WITH_WINDOWS, Scope::Program, [](F& f, UINT) { f.ToggleStartWithWindows(); },
     [](F& f, UI& ui) { T::Setting(f, ui, vantrel::profile::kStartOnBoot); }},

    // The tray's, which its controller carries out.
    {ID_SYSTRAY_ENABLE, ID_SYSTRAY_ENABLE, Scope::Program, T::Tray,
     [](F& f, UI& ui) { T::Setting(f, ui, vantrel::profile::kSystrayEnable); }},
    {ID_SYSTRAY_HIDE_ON_CLOSE, ID_SYSTRAY_HIDE_ON_CLOSE, Scope::Program, T::Tray,
     [](F& f, UI& ui) { T::TraySetting(f, ui, vantrel::profile::kSystrayOnClose); }},
    {ID_SYSTRAY_HIDE_ON_MINIMIZE, ID_SYSTRAY_HIDE_ON_MINIMIZE, Scope::Program, T::Tray,
     [](F& f, UI& ui) { T::TraySetting(f, ui, vantrel::profile::kSystrayOnMinimize); }},
    {ID_SYSTRAY_HIDE_ICON, ID_SYSTRAY_HIDE_ICON, Scope::Program, T::Tray, nullptr},
    {ID_SYSTRAY_EXIT, ID_SYSTRAY_EXIT, Scope::Program, T::Tray, nullptr},
    {ID_SYSTRAY_SHOW_ALL, ID_SYSTRAY_SHOW_ALL, Scope::EveryFrame, T::Tray, nullptr},
    {ID_SYSTRAY_HIDE_ALL, ID_SYSTRAY_HIDE_ALL, Scope::EveryFrame, T::Tray, nullptr},
    {ID_SYSTRAY_FRAME_FIRST, ID_SYSTRAY_FRAME_LAST, Scope::Frame, T::Tray, nullptr},
};

namespace frame {

const CommandRow* FindCommand(UINT id) {
    for (const CommandRow& row : FrameCommandTable::kRows) {
        if (id >= row.first && id <= row.last) return &row;
    }
    return nullptr;
}

}  // namespace frame

// Commands ---------------------------------------------------------------------------

void CMainFrame::ExtendSystemMenu() {
    HMENU system = ::GetSystemMenu(Hwnd(), FALSE);
    if (system == nullptr) return;
    const int count = ::GetMenuItemCount(system);
    for (int p = 0; p < count; ++p) {
        if (::GetMenuItemID(system, p) != SC_CLOSE) continue;
        ::InsertMenuW(system, static_cast<UINT>(p - 1), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        const ui::PopupMenu addition = ui::PopupMenu::FromResource(IDR_SYSMENU_ADDITION);
        const int items = addition ? ::GetMenuItemCount(addition.Handle()) : 0;
        for (int k = 0; k < items; ++k) {
            wchar_t text[256] = {};
            ::GetMenuStringW(addition.Handle(), static_cast<UINT>(k), text, 256, MF_BYPOSITION);
            ::InsertMenuW(system, static_cast<UINT>(p + k), MF_BYPOSITION | MF_STRING,
                          ::GetMenuItemID(addition.Handle(), k), text);
        }
    }
}


bool CMainFrame::OnCommand(UINT id, UINT, HWND) {
    const frame::CommandRow* row = frame::FindCommand(id);
    if (row == nullptr) return false;
    row->run(*this, id);
    return true;
}

void CMainFrame::UpdateCommandUI(ui::CommandUI& ui) {
    if (const frame::CommandRow* row = frame::FindCommand(ui.id); row != nullptr && row->state != nullptr)
        row->state(*this, ui);
}

void CMainFrame::OnInitMenuPopup(HMENU popup, bool isSystemMenu) {
    if (!isSystemMenu) {
        UpdatePopup(popup);
        return;
    }
    // The system menu keeps its own greying; only the marks of our items follow.
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        ui::CommandUI ui;
        ui.id = ::GetMenuItemID(popup, i);
        const frame::CommandRow* row = frame::FindCommand(ui.id);
        if (row == nullptr || row->state == nullptr) continue;
        row->state(*this, ui);
        ::CheckMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (ui.check != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
}

// Returns true when the command was handled and the default processing must not run.
bool CMainFrame::OnSysCommand(UINT command) {
    if (command == SC_MINIMIZE || command == SC_CLOSE) return m_app.Frames().Tray().OnSysCommand(Hwnd(), command);
    // Ours from the system menu take the same route as from any other menu.
    if (command == ID_SYSMENU_FILE_MENU || command == ID_SYSTRAY_ENABLE) OnCommand(command, 0, nullptr);
    return false;
}

void CMainFrame::OnApplicationLook(unsigned id) {
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ui::Look::Current().Select(id);
    // The title bar stays the system's; the black style asks it for a dark one.
    const bool dark = ui::Look::Current().Palette().darkTitleBar;
    ui::ApplyTitleBarDarkness(Hwnd(), dark);
    m_app.Frames().ForEachFrame([this, dark](CMainFrame& frame) {
        if (&frame != this) ui::ApplyTitleBarDarkness(frame.Hwnd(), dark);
    });
    m_wndMenuBar.FollowLook();
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_app.Settings().SetLook(id);
    ::SetCursor(previous);
}

// One look serves every frame: the main frame follows the system for all of them.
void CMainFrame::OnSettingChange() {
    if (!m_bMainFrame) return;
    const bool was = ui::Look::Current().HighContrast();
    ui::Look::Current().FollowHighContrast();
    if (!was && !ui::Look::Current().HighContrast()) return;
    m_app.Frames().ForEachFrame([](CMainFrame& frame) {
        frame.m_wndMenuBar.FollowLook();
        ::RedrawWindow(frame.Hwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
}

void CMainFrame::OnToggleWindowTaskbar() {
    m_wndWindowsManager.Show(!m_wndWindowsManager.IsVisible());
    RecalcLayout();
}

void CMainFrame::OnToggleStatusBar() {
    m_wndStatusBar.Show(!m_wndStatusBar.IsVisible());
    RecalcLayout();
}

// The find box. Asked for again while it is open, from whichever frame, it comes
// forward instead.
void CMainFrame::OnFindDocument() {
    if (HWND open = CFindDocumentDlg::Open()) {
        ui::GuardedSetForegroundWindow(open);
        return;
    }
    CFindDocumentDlg dialog(m_app.Frames());
    if (dialog.DoModal(Hwnd()) != IDOK || !Exists()) return;
    // Going away lets messages in: the document may have left its frame by now.
    CMainFrame* host = CFindDocumentDlg::HostOf(m_app.Frames(), dialog.m_hChosenFrame, dialog.m_hChosenWindow);
    if (host != nullptr) host->ShowDocument(dialog.m_hChosenWindow);
}

void CMainFrame::ShowDocument(HWND window) {
    if (!::IsWindowVisible(Hwnd())) ui::GuardedShowWindow(Hwnd(), SW_SHOW);
    if (::IsIconic(Hwnd())) ui::GuardedShowWindow(Hwnd(), SW_RESTORE);
    ui::GuardedSetForegroundWindow(Hwnd());
    // The activation worker raises the document, so that a viewer that hangs holds up
    // nothing here.
    WindowCtrl().BringForward(window);
}

// Keyboard focus onto the window taskbar.
void CMainFrame::OnGoToTaskbar() {
    // A hidden taskbar shows first: the keyboard cannot work on what is not there.
    if (!m_wndWindowsManager.IsVisible()) OnToggleWindowTaskbar();
    WindowCtrl().FocusTaskbar();
}

void CMainFrame::ToggleBringToFront() { m_app.Settings().Toggle(vantrel::profile::kBringToFront); }

void CMainFrame::ToggleTabMode() { ApplyTabMode(m_app.Settings().Toggle(vantrel::profile::kTabMode) != 0); }

void CMainFrame::DockTaskbarAtBottom() {
    DockPane(m_wndWindowsManager, ui::DockSide::Bottom);
    m_wndWindowsManager.SetThickness(ui::Scale(Hwnd(), 50));
}

void CMainFrame::OnCloseAllWindows() {
    const int answer = ui::GuardedMessageBox(Hwnd(), L"Do you really want to close all windows?",
                                     ui::LoadStringResource(IDS_APP_TITLE).c_str(), MB_YESNO | MB_ICONQUESTION);
    // Only a Yes closes anything: a box that went with its frame answers neither, and
    // then this frame's windows have been handed back already.
    if (answer == IDYES && Exists()) WindowCtrl().Engine().CloseAllWindows();
}

void CMainFrame::OnChangeWindowName() {
    CWindowName dialog;
    if (dialog.DoModal(Hwnd()) != IDOK || !Exists()) return;
    SetText(vantrel::RenamedFrameTitle(dialog.m_strWindowName, ui::LoadStringResource(IDS_FRAME_TITLE),
                                       m_bMainFrame != 0));
    ::UpdateWindow(Hwnd());
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

void CMainFrame::ToggleMenuBar() {
    m_wndMenuBar.Show(!m_wndMenuBar.IsVisible());
    RecalcLayout();
}

void CMainFrame::OnVisitHomepage() { OpenAuthorWebPage(vantrel::WebPage::HomePage, SW_SHOWNORMAL); }

void CMainFrame::OnCaptionAction() { m_donationReminder.OnCaptionAction(Hwnd()); }

void CMainFrame::ToggleStartWithWindows() {
    const bool enable = !m_app.Settings().IsOn(vantrel::profile::kStartOnBoot);
    // Declined or failed, the setting stays as it was: off.
    if (tray::ApplyStartWithWindows(Hwnd(), enable)) m_app.Settings().Set(vantrel::profile::kStartOnBoot, enable);
}

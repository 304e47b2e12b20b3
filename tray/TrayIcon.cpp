#include "tray/TrayIcon.h"

#include <iterator>
#include <string>

#include "tray/TrayMessages.h"
#include "resource.h"
#include "ui/Window.h"

namespace tray {
namespace {
const wchar_t kTipSuffix[] = L" - rightclick for menu";
}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(HWND owner) {
    Remove();
    // The notification area shows small icons; the system's size for them keeps
    // the icon crisp at any DPI.
    m_icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                             IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                             ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    m_record = NOTIFYICONDATAW{};
    m_record.cbSize = sizeof m_record;
    m_record.hWnd = owner;
    m_record.uID = vantrel::kTrayIconId;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = WM_SYSTRAY_NOTIFY;
    m_record.hIcon = m_icon;
    const std::wstring tip = ui::LoadStringResource(IDS_FRAME_TITLE) + kTipSuffix;
    tip.copy(m_record.szTip, std::size(m_record.szTip) - 1);
    // May fail while no shell runs; TaskbarCreated tries again.
    m_bAdded = ::Shell_NotifyIconW(NIM_ADD, &m_record) != FALSE;
    return m_bAdded;
}

void TrayIcon::Remove() {
    if (m_record.hWnd != nullptr) ::Shell_NotifyIconW(NIM_DELETE, &m_record);
    m_record = NOTIFYICONDATAW{};
    m_bAdded = false;
    if (m_icon != nullptr) ::DestroyIcon(m_icon);
    m_icon = nullptr;
}

bool TrayIcon::IsTaskbarCreated(UINT message) {
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    return taskbarCreated != 0 && message == taskbarCreated;
}

void TrayIcon::OnTaskbarCreated() {
    if (IsShown()) m_bAdded = ::Shell_NotifyIconW(NIM_ADD, &m_record) != FALSE;
}

ui::PopupMenu TrayIcon::BuildSystrayMenu(const vantrel::TrayFrameState& mainFrame,
                                         const std::vector<vantrel::TrayFrameState>& additionalFrames) {
    ui::PopupMenu menu = ui::PopupMenu::FromResource(IDR_SYSTRAY_MENU);
    if (!menu) return menu;
    UINT position = 0;
    for (const auto& entry : vantrel::TrayFrameEntries(mainFrame, additionalFrames))
        menu.InsertItem(position++, entry.id, entry.text, entry.checked);
    return menu;
}

}  // namespace tray

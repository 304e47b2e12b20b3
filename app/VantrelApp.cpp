#include "app/VantrelApp.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include "app/AboutDlg.h"
#include "app/CrashReport.h"
#include "app/Diagnostics.h"
#include "frame/FrameMessages.h"
#include "frame/MainFrame.h"
#include "resource.h"
#include "ui/Activation.h"

namespace {
const wchar_t kRegistryKey[] = L"Vantrel";
const wchar_t kAppUserModelId[] = L"Quorvel.Vantrel.Beta.0.15";

BOOL CALLBACK PostShowAll(HWND hwnd, LPARAM) {
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    if (std::wstring(className) == L"VantrelFrame") ::PostMessageW(hwnd, WM_VANTREL_SHOW_ALL_FRAMES, 0, 0);
    return TRUE;
}

}  // namespace

CVantrelApp::CVantrelApp(std::wstring commandLine)
    : m_commandLine(std::move(commandLine)),
      m_profile(kRegistryKey, ui::LoadStringResource(IDS_APP_TITLE)),
      m_settings(m_profile) {
    // Restart after an update or reboot, but never after a crash or hang.
    ::RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG);
    ::SetCurrentProcessExplicitAppUserModelID(kAppUserModelId);
}

bool CVantrelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    ::InitCommonControlsEx(&controls);

    auto* frame = new (std::nothrow) CMainFrame(*this);
    if (frame == nullptr) return false;
    SetMainWindow(frame);
    // A frame that could not be made has freed itself and taken itself off.
    if (!frame->LoadFrame()) return false;
    if (!frame->IsMainFrame()) {
        // Another copy runs and owns the capture: hand over to it instead of showing a
        // frame that could never capture anything. Our frame was never visible.
        HandOverToRunningCopy();
        ::DestroyWindow(frame->Hwnd());
        SetMainWindow(nullptr);
        return false;
    }
    return true;
}

bool CVantrelApp::HandOverToRunningCopy() {
    ::AllowSetForegroundWindow(ASFW_ANY);
    ::EnumWindows(PostShowAll, 0);
    return true;
}

void CVantrelApp::OnAppAbout(HWND owner) {
    // Owned by the main window, as the program's own boxes are; the asking frame
    // stands in while there is none.
    CAboutDlg about;
    about.DoModal(MainWindow() != nullptr ? MainWindow()->Hwnd() : owner);
}

// Once per crash, at the first normal start after it: started minimized, the user is
// not there to be asked, and the report waits.
void CVantrelApp::OnMainFrameShown(HWND frame) {
    if (!crashreport::TakeUnshownReport()) return;
    const int answer = ui::GuardedMessageBox(
        frame,
        L"Vantrel closed unexpectedly last time. Your documents were handed back to the desktop.\n"
        L"A crash report was saved. Open its folder?",
        L"Vantrel", MB_YESNO | MB_ICONINFORMATION);
    if (answer == IDYES) diagnostics::OpenFolder(diagnostics::CrashReportsFolder());
}

void CVantrelApp::OpenDiagnosticsFolder() { diagnostics::OpenFolder(diagnostics::Folder()); }

#include "app/AboutDlg.h"

#include <shellapi.h>

#include "resource.h"

namespace {
const wchar_t kAuthorMail[] = L"mailto:author@vantrel.example";
}

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_ABOUT_NOTE && code == STN_CLICKED) {
        OnAboutLinkClicked();
        return true;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

void CAboutDlg::OnAboutLinkClicked() {
    // Without a mail program nothing happens, which is all the user can be offered.
    ::ShellExecuteW(nullptr, L"open", kAuthorMail, nullptr, nullptr, SW_SHOWNORMAL);
}

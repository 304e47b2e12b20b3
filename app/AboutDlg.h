#pragma once
// Help > About: the program's name, logo, version and a note from the author
// that opens a mail to the author when clicked.

#include "ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
public:
    CAboutDlg();

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void OnAboutLinkClicked();
};

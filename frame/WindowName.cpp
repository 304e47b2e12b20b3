#include "frame/WindowName.h"

#include "resource.h"

CWindowName::CWindowName() : ui::Dialog(IDD_WINDOWNAME) {}

// OK, the default button, is also what Enter presses.
void CWindowName::OnOK() {
    m_strWindowName = ItemText(IDC_WINDOW_NAME);
    ui::Dialog::OnOK();
}

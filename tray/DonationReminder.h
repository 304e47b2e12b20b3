#pragma once
// The donation reminder: the caption bar every frame carries, shown by the main
// frame on every 25th start of the program, with a menu to donate or hide it.

#include <windows.h>

#include "core/Settings.h"
#include "ui/CaptionBar.h"

namespace tray {

class DonationReminder {
public:
    ui::CaptionBar& Bar() { return m_bar; }

    // Makes the bar, hidden, in `frame`; false when it cannot be made.
    bool CreateCaptionBar(HWND frame);
    // Counts a start of the program and shows the reminder when it is due. Only
    // the main frame counts: additional frames and second copies do not.
    void CountApplicationRun(vantrel::Settings& settings, bool mainFrame);
    // The bar's "Action" button: the menu at the cursor, its commands to `frame`.
    void OnCaptionAction(HWND frame);
    void Donate();
    void Hide() { m_bar.Show(false); }

private:
    ui::CaptionBar m_bar;
};

}  // namespace tray

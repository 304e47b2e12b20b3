#include "tray/DonationReminder.h"

#include "core/RunCounter.h"
#include "resource.h"
#include "tray/WebServer.h"
#include "ui/PopupMenu.h"

namespace tray {

bool DonationReminder::CreateCaptionBar(HWND frame) {
    if (!m_bar.Create(frame, ID_CAPTION_BAR)) return false;
    m_bar.SetButton(L"Action", ID_CAPTION_ACTION, ui::CaptionBar::Align::Right, true);
    m_bar.SetButtonToolTip(L"Action", L"Select your action, donate or hide");
    m_bar.SetBitmap(IDB_DONATE_BANNER, RGB(212, 208, 200), false, ui::CaptionBar::Align::Left);
    m_bar.SetImageToolTip(L"Donate", L"Consider donating?\n\nPress the \"Action\" button!");
    m_bar.Show(false);
    return true;
}

void DonationReminder::CountApplicationRun(vantrel::Settings& settings, bool mainFrame) {
    if (!mainFrame) return;
    const std::uint32_t runs = vantrel::NextRunCount(settings.Get(vantrel::profile::kApplicationRuns));
    if (vantrel::ShowsDonationReminder(runs)) {
        m_bar.SetText(vantrel::DonationReminderText(runs), ui::CaptionBar::Align::Left);
        m_bar.Show(true);
    }
    settings.Set(vantrel::profile::kApplicationRuns, runs);
}

void DonationReminder::OnCaptionAction(HWND frame) {
    ui::PopupMenu menu = ui::PopupMenu::FromResource(IDR_DONATE_POPUP);
    if (!menu) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    menu.Track(frame, cursor);
}

void DonationReminder::Donate() { OpenAuthorWebPage(vantrel::WebPage::DonationPage, SW_SHOW); }

}  // namespace tray

// The application looks: every look command is stored and marked, a stored value
// outside the table is kept as it is, and the looks can be told apart on the
// screen, in the frame that asked at once.
#include "e2e_fixture.h"

#include <set>
#include <tuple>
#include <vector>

#include "app/Messages.h"
#include "input.h"
#include "resource.h"

namespace {

// View > Application Look, and its Office 2007 submenu.
constexpr int kLookMenu = kTestMenuPath | 0x22;
constexpr int kOffice2007Menu = kTestMenuPath | 0x226;

struct Sample {
    COLORREF paneCaption, checkedButton, button, statusBar, captionBar;
    bool operator<(const Sample& o) const {
        return std::tie(paneCaption, checkedButton, button, statusBar, captionBar) <
               std::tie(o.paneCaption, o.checkedButton, o.button, o.statusBar, o.captionBar);
    }
};

class Looks : public HostingTest {
protected:
    // The 25th start: the caption bar shows, to be drawn in every look too.
    void PrepareProfile() override { WriteProfileDword(L"Stats", L"ApplicationRuns", 24); }
    // Whether the item `id` carries the radio mark, looked up in both look menus.
    bool Marked(UINT id) {
        for (int menu : {kLookMenu, kOffice2007Menu}) {
            for (const MenuItem& item : ReadMenu(frame, menu)) {
                if (item.id == id) return item.checked;
            }
        }
        ADD_FAILURE() << "no item " << id;
        return false;
    }
    std::vector<UINT> MarkedItems() {
        std::vector<UINT> marked;
        for (int menu : {kLookMenu, kOffice2007Menu}) {
            for (const MenuItem& item : ReadMenu(frame, menu)) {
                if (item.id != 0 && item.checked) marked.push_back(item.id);
            }
        }
        return marked;
    }
    // Pixels away from pictures and text: the right end of the pane's caption
    // strip, the right edge of a checked and of an unchecked button, the status
    // bar, the caption bar right of its button.
    Sample Take() {
        RECT pane{}, checked{}, plain{}, status{}, caption{};
        ::GetWindowRect(::GetDlgItem(frame, kCaptionBarId), &caption);
        ::GetWindowRect(TaskbarPane(frame), &pane);
        const auto buttons = WindowButtons(frame);
        const int active = CheckedButton(frame);
        ::GetWindowRect(buttons[static_cast<size_t>(active)], &checked);
        ::GetWindowRect(buttons[active == 0 ? 1 : 0], &plain);
        ::GetWindowRect(::GetDlgItem(frame, ID_VIEW_STATUS_BAR), &status);
        return Sample{ScreenPixel(POINT{pane.right - 6, pane.top + 12}),
                      ScreenPixel(POINT{checked.right - 3, (checked.top + checked.bottom) / 2}),
                      ScreenPixel(POINT{plain.right - 3, (plain.top + plain.bottom) / 2}),
                      ScreenPixel(POINT{status.right - 60, (status.top + status.bottom) / 2}),
                      ScreenPixel(POINT{caption.right - 3, caption.top + 10})};
    }
};

TEST_F(Looks, EveryLookIsStoredMarkedAndDrawnAtOnceInItsOwnColours) {
    OpenHosted(L"First");
    OpenHosted(L"Second");
    ASSERT_TRUE(Activate(frame, 1));
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    ::SetForegroundWindow(frame);
    ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 210u);  // the default
    EXPECT_EQ(MarkedItems(), std::vector<UINT>{210});

    const UINT looks[] = {205, 206, 207, 208, 209, 210, 215, 216, 217, 218};
    std::set<Sample> seen;
    std::set<COLORREF> captionBars;
    for (UINT id : looks) {
        SCOPED_TRACE(id);
        ::SendMessageW(frame, WM_COMMAND, id, 0);
        // No waiting: the frame that asked has painted itself before the command returned.
        const Sample sample = Take();
        seen.insert(sample);
        captionBars.insert(sample.captionBar);
        EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), id);
        EXPECT_EQ(MarkedItems(), std::vector<UINT>{id});
    }
    EXPECT_EQ(seen.size(), std::size(looks));
    // The caption bar follows the look too (some looks share its colours).
    EXPECT_GE(captionBars.size(), 5u);
}

TEST_F(Looks, AnyOtherValueIsKeptUnmarkedAndDrawsAsOffice2007InItsCurrentStyle) {
    OpenHosted(L"First");
    OpenHosted(L"Second");
    ASSERT_TRUE(Activate(frame, 1));
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_APPLOOK_OFF_2007_BLACK, 0);
    const Sample black = Take();
    ::SendMessageW(frame, WM_COMMAND, 213, 0);  // no item has this id
    EXPECT_TRUE(MarkedItems().empty());
    EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 213u);
    const Sample fallback = Take();
    EXPECT_EQ(fallback.paneCaption, black.paneCaption);
    EXPECT_EQ(fallback.checkedButton, black.checkedButton);
    EXPECT_EQ(fallback.statusBar, black.statusBar);
    EXPECT_EQ(fallback.captionBar, black.captionBar);

    // Stored values without an item survive a restart as they are.
    for (DWORD stored : {0u, 219u}) {
        SCOPED_TRACE(stored);
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        ASSERT_TRUE(vantrel.WaitForExit(10000));
        WriteProfileDword(L"Workspace", L"ApplicationLook", stored);
        ASSERT_TRUE(vantrel.Start());
        ASSERT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        EXPECT_TRUE(MarkedItems().empty());
        EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), stored);
    }
}

// High contrast, as the test hook has the system report it: every element in the
// system's colours, whichever look is chosen meanwhile; the look's own colours and
// its stored id come back once it is off.
TEST_F(Looks, HighContrastDrawsInSystemColoursAndTheChosenLookComesBack) {
    OpenHosted(L"First");
    OpenHosted(L"Second");
    ASSERT_TRUE(Activate(frame, 1));
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SendMessageW(frame, WM_COMMAND, 208, 0);
    const Sample chosenLater = Take();
    ::SendMessageW(frame, WM_COMMAND, 215, 0);
    const Sample chosen = Take();

    auto contrast = [&](int state) {
        ::SendMessageW(frame, WM_VANTREL_TEST_HIGH_CONTRAST, static_cast<WPARAM>(state), 0);
        ::SendMessageW(frame, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    };
    const Sample system{::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE),
                        ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW)};
    auto expectSample = [&](const Sample& expected) {
        const Sample sample = Take();
        EXPECT_EQ(sample.paneCaption, expected.paneCaption);
        EXPECT_EQ(sample.checkedButton, expected.checkedButton);
        EXPECT_EQ(sample.button, expected.button);
        EXPECT_EQ(sample.statusBar, expected.statusBar);
        EXPECT_EQ(sample.captionBar, expected.captionBar);
    };
    contrast(1);
    expectSample(system);
    ::SendMessageW(frame, WM_COMMAND, 208, 0);  // chosen while on: stored, drawn once off
    expectSample(system);
    EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 208u);
    EXPECT_EQ(MarkedItems(), std::vector<UINT>{208});
    contrast(-1);  // as the system says, which here is off
    expectSample(chosenLater);
    ::SendMessageW(frame, WM_COMMAND, 215, 0);
    expectSample(chosen);
    EXPECT_EQ(ReadProfileDword(L"Workspace", L"ApplicationLook"), 215u);
}

}  // namespace

// The layout at 96, 144 and 192 dots per inch: Wine takes the resolution from
// the registry when a program starts, so each run starts Vantrel anew with its
// own. Sizes made for 96 scale, nothing overlaps and captions fit.
#include "e2e_fixture.h"

#include <map>

#include "resource.h"

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

int At(int pixels96, int dpi) { return ::MulDiv(pixels96, dpi, 96); }

RECT RectOf(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both{};
    return ::IntersectRect(&both, &a, &b) != FALSE;
}

class Dpi : public VantrelTest {
protected:
    void TearDown() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        VantrelTest::TearDown();
    }
    static void SetDpi(DWORD dpi) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
};

TEST_F(Dpi, SizesScaleNothingOverlapsAndCaptionsFit) {
    std::map<int, int> buttonWidth;
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(testing::Message() << dpi << " dpi");
        ResetProfile();
        WriteProfileDword(L"Stats", L"ApplicationRuns", 24);  // shows the caption bar
        SetDpi(static_cast<DWORD>(dpi));
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.Start());
        ASSERT_TRUE(vantrel.WaitForStartup());
        HWND frame = vantrel.MainFrame();
        ::SetWindowPos(frame, nullptr, 0, 0, 1200, 900, SWP_NOZORDER | SWP_NOACTIVATE);
        ViewerProcess viewer;
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
        const std::vector<std::wstring> titles = {L"Annual report 2026.pdf", L"Notes", L"Contract draft.pdf"};
        // One at a time, so that the buttons come in this order.
        for (size_t n = 1; n <= titles.size(); ++n) {
            viewer.Open(titles[n - 1]);
            const std::vector<std::wstring> expected(titles.begin(), titles.begin() + static_cast<long>(n));
            ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(frame) == expected; }, 5000));
        }

        // The taskbar pane: docked at the bottom, 50 pixels at 96 dpi, under the view.
        HWND pane = TaskbarPane(frame);
        const RECT paneRect = RectOf(pane), view = RectOf(HostView(frame));
        EXPECT_EQ(paneRect.bottom - paneRect.top, At(50, dpi));
        EXPECT_LE(view.bottom, paneRect.top);

        // Buttons: the picture, the padding and the caption at this resolution, 5
        // pixels apart at 96 dpi, inside the taskbar and clear of each other.
        const auto buttons = WindowButtons(frame);
        ASSERT_EQ(buttons.size(), titles.size());
        const RECT control = RectOf(TaskbarControl(frame));
        for (size_t i = 0; i < buttons.size(); ++i) {
            const RECT b = RectOf(buttons[i]);
            EXPECT_GE(b.bottom - b.top, At(16, dpi) + 2 * At(4, dpi)) << i;
            EXPECT_TRUE(b.left >= control.left && b.right <= control.right && b.top >= control.top) << i;
            if (i > 0) {
                const RECT previous = RectOf(buttons[i - 1]);
                EXPECT_FALSE(Overlap(previous, b)) << i;
                if (previous.top == b.top) {
                    EXPECT_EQ(b.left - previous.right, (5 * dpi + 48) / 96) << i;
                }
            }
        }
        buttonWidth[dpi] = RectOf(buttons[0]).right - RectOf(buttons[0]).left;

        // The caption bar: across the top, tall enough for its picture, its button
        // inside it, the view below it.
        HWND bar = ::GetDlgItem(frame, kCaptionBarId);
        ASSERT_TRUE(::IsWindowVisible(bar));
        const RECT barRect = RectOf(bar);
        EXPECT_GE(barRect.bottom - barRect.top, At(80, dpi));
        const RECT action = RectOf(::GetDlgItem(bar, ID_CAPTION_ACTION));
        EXPECT_EQ(action.right - action.left, At(80, dpi));
        EXPECT_TRUE(action.top >= barRect.top && action.bottom <= barRect.bottom);
        EXPECT_GE(view.top, barRect.bottom);
        EXPECT_FALSE(Overlap(barRect, paneRect));
    }
    // Captions fit: the buttons grow with the font, which grows with the resolution.
    EXPECT_GE(buttonWidth[144] * 96, buttonWidth[96] * 144 * 9 / 10);
    EXPECT_GE(buttonWidth[192] * 96, buttonWidth[96] * 192 * 9 / 10);
}

}  // namespace

// The donation reminder in the caption bar, counted over real starts, and the
// About box with its version and mail link. Pages open through the URL recorder,
// never a browser.
#include "e2e_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "input.h"
#include "resource.h"
#include "url_recorder_client.h"

namespace {

std::wstring ReminderText(unsigned runs) {
    return L"Please consider donating, you have used this software " + std::to_wstring(runs) +
           L" times. Support the author and suggest improvements!";
}

std::wstring ServerRoot() {
    wchar_t server[512] = {};
    ::GetEnvironmentVariableW(L"VANTREL_SERVER", server, 512);
    std::wstring root = server;
    while (!root.empty() && root.back() == L'/') root.pop_back();
    return root;
}

HWND CaptionBarOf(HWND frame) { return ::GetDlgItem(frame, kCaptionBarId); }

bool BarShown(HWND frame) {
    HWND bar = CaptionBarOf(frame);
    return bar != nullptr && ::IsWindowVisible(bar);
}

class DonationReminder : public VantrelTest {
protected:
    // One start of the program, run to its first tick; the count it stored.
    std::optional<DWORD> StartOnce(DWORD expectedRuns) {
        EXPECT_TRUE(vantrel.Start());
        EXPECT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        WaitFor([&] { return ReadProfileDword(L"Stats", L"ApplicationRuns") == expectedRuns; }, 5000);
        return ReadProfileDword(L"Stats", L"ApplicationRuns");
    }
    void Stop() {
        ::SendMessageW(frame, WM_CLOSE, 0, 0);
        EXPECT_TRUE(vantrel.WaitForExit(10000));
    }
    HWND OpenActionMenu() {
        HWND button = ::GetDlgItem(CaptionBarOf(frame), ID_CAPTION_ACTION);
        EXPECT_NE(button, nullptr);
        ::PostMessageW(button, BM_CLICK, 0, 0);
        HWND menu = nullptr;
        WaitFor([&] { return (menu = OpenPopupMenuOf(vantrel.Pid())) != nullptr; }, 5000);
        return menu;
    }

    VantrelProcess vantrel;
    HWND frame = nullptr;
};

TEST_F(DonationReminder, ShowsOnTheTwentyFifthStartOnlyAndAboveTheView) {
    WriteProfileDword(L"Stats", L"ApplicationRuns", 23);
    EXPECT_EQ(StartOnce(24), 24u);
    EXPECT_FALSE(BarShown(frame));
    Stop();

    EXPECT_EQ(StartOnce(25), 25u);
    ASSERT_TRUE(WaitFor([&] { return BarShown(frame); }, 3000));
    HWND bar = CaptionBarOf(frame);
    EXPECT_EQ(WindowTitle(bar), ReminderText(25));
    HWND action = ::GetDlgItem(bar, ID_CAPTION_ACTION);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(WindowTitle(action), L"Action");
    // Across the top of the client area, with the view below it.
    RECT barRect{}, view{}, client{};
    ::GetWindowRect(bar, &barRect);
    ::GetWindowRect(HostView(frame), &view);
    ::GetClientRect(frame, &client);
    POINT origin{0, 0};
    ::ClientToScreen(frame, &origin);
    EXPECT_EQ(barRect.top, origin.y);
    EXPECT_EQ(barRect.right - barRect.left, client.right);
    EXPECT_GE(barRect.bottom - barRect.top, 80);  // room for the picture
    EXPECT_GE(view.top, barRect.bottom);
    // The button sits at the right end of the bar.
    RECT actionRect{};
    ::GetWindowRect(action, &actionRect);
    EXPECT_GT(actionRect.left, (barRect.left + barRect.right) / 2);

    // Additional frames neither count nor show it.
    HWND added = vantrel.NewFrame(frame);
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(BarShown(added));
    EXPECT_EQ(ReadProfileDword(L"Stats", L"ApplicationRuns"), 25u);
    Stop();

    EXPECT_EQ(StartOnce(26), 26u);
    EXPECT_FALSE(BarShown(frame));
}

TEST_F(DonationReminder, TheCounterWrapsAtThirtyTwoBitsAndShowsNothingAtZero) {
    WriteProfileDword(L"Stats", L"ApplicationRuns", 0xFFFFFFFFu);
    EXPECT_EQ(StartOnce(0), 0u);
    EXPECT_FALSE(BarShown(frame));
}

TEST_F(DonationReminder, ActionMenuDonatesWithTheBarLeftOrHidesIt) {
    UrlRecorder recorder;
    WriteProfileDword(L"Stats", L"ApplicationRuns", 49);
    EXPECT_EQ(StartOnce(50), 50u);
    ASSERT_TRUE(WaitFor([&] { return BarShown(frame); }, 3000));
    EXPECT_EQ(WindowTitle(CaptionBarOf(frame)), ReminderText(50));

    ASSERT_NE(OpenActionMenu(), nullptr);
    PressKey('D');
    ReleaseKey('D');
    EXPECT_TRUE(recorder.WaitForUrl(ServerRoot() + L"/donate/"));
    EXPECT_TRUE(WaitFor([&] { return OpenPopupMenuOf(vantrel.Pid()) == nullptr; }, 5000));
    EXPECT_TRUE(BarShown(frame));

    RECT before{};
    ::GetWindowRect(HostView(frame), &before);
    ASSERT_NE(OpenActionMenu(), nullptr);
    // "Hide" has no mnemonic: up from nothing selected reaches the last item.
    for (WORD key : {WORD{VK_UP}, WORD{VK_RETURN}}) {
        PressKey(key);
        ReleaseKey(key);
    }
    EXPECT_TRUE(WaitFor([&] { return !BarShown(frame); }, 5000));
    // The view takes the bar's room back.
    POINT origin{0, 0};
    ::ClientToScreen(frame, &origin);
    RECT after{};
    EXPECT_TRUE(WaitFor(
        [&] {
            ::GetWindowRect(HostView(frame), &after);
            return after.top == origin.y;
        },
        3000));
    EXPECT_LT(after.top, before.top);
}

class About : public HostingTest {
protected:
    HWND OpenAbout(HWND from) {
        ::PostMessageW(from, WM_COMMAND, ID_APP_ABOUT, 0);
        HWND dialog = nullptr;
        WaitFor(
            [&] {
                dialog = FindMessageBoxOf(vantrel.Pid());
                return dialog != nullptr && WindowTitle(dialog) == L"About Vantrel";
            },
            5000);
        return dialog;
    }
    static std::vector<std::wstring> Texts(HWND dialog) {
        std::vector<std::wstring> texts;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
            texts.push_back(WindowTitle(child));
        return texts;
    }
};

// The version as the program's version resource gives it, in the About box's form.
std::wstring ResourceVersion() {
    const std::wstring exe = VantrelExe();
    DWORD ignored = 0;
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (info.empty() || !::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
        !::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size))
        return L"";
    return L"v" + std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L", " + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L", " + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L", " + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

TEST_F(About, ShowsTheVersionOfTheResourceAndItsNoteMailsTheAuthorWithTheBoxLeftOpen) {
    UrlRecorder recorder;
    HWND dialog = OpenAbout(frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), frame);
    EXPECT_EQ(ResourceVersion(), L"v0, 8, 9, 2");
    const auto texts = Texts(dialog);
    EXPECT_NE(std::find(texts.begin(), texts.end(), ResourceVersion()), texts.end());
    HWND logo = nullptr;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) logo = child;
    }
    ASSERT_NE(logo, nullptr);
    EXPECT_NE(::SendMessageW(logo, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    // A click on the note, as the mouse gives it.
    HWND note = ::GetDlgItem(dialog, IDC_ABOUT_NOTE);
    ASSERT_NE(note, nullptr);
    ::PostMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageW(note, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(WaitFor([&] { return !recorder.Urls().empty(); }, 5000));
    EXPECT_EQ(recorder.Urls().front().rfind(L"mailto:", 0), 0u);
    EXPECT_TRUE(::IsWindow(dialog));

    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
}

TEST_F(About, HomepageAndAboutWorkInAnAdditionalFrameWithoutWindows) {
    UrlRecorder recorder;
    HWND second = vantrel.NewFrame(frame);
    ASSERT_NE(second, nullptr);
    ::SendMessageW(second, WM_COMMAND, ID_VISIT_HOMEPAGE, 0);
    EXPECT_TRUE(recorder.WaitForUrl(ServerRoot() + L"/"));

    HWND dialog = OpenAbout(second);
    ASSERT_NE(dialog, nullptr);
    // The program's boxes belong to its main window.
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), frame);
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
}

}  // namespace

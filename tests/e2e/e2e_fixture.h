// Every end-to-end test starts from an empty profile and no running copy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "resource.h"
#include "vantrel_client.h"
#include "viewer_client.h"

class VantrelTest : public testing::Test {
protected:
    void SetUp() override { ResetProfile(); }
    void TearDown() override { ResetProfile(); }
};

// A running Vantrel main frame and one sample viewer without documents, both ended
// by the fixture.
class HostingTest : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        PrepareProfile();
        ASSERT_TRUE(vantrel.Start());
        ASSERT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
    }

    // Settings the test wants in place before Vantrel starts; the profile is empty.
    virtual void PrepareProfile() {}
    // Buttons get their captions from the cycle after the one that made them.
    bool WaitForButtons(size_t count) {
        return WaitFor(
            [&] {
                const auto captions = Captions();
                return captions.size() == count &&
                       std::none_of(captions.begin(), captions.end(), [](const auto& c) { return c.empty(); });
            },
            5000);
    }
    bool IsHosted(HWND window) { return ::GetAncestor(window, GA_PARENT) == HostView(frame); }
    // Opens a document in `owner` and waits until the main frame lists it last,
    // captioned, and shows it in front with its button checked: its program may
    // still be activating it as it comes in. One at a time, so that button order is
    // opening order.
    HWND OpenHosted(ViewerProcess& owner, const std::wstring& title) {
        const size_t count = WindowButtons(frame).size();
        HWND doc = owner.Open(title);
        EXPECT_TRUE(WaitFor(
            [&] {
                const auto captions = Captions();
                return captions.size() == count + 1 && captions.back() == title &&
                       CheckedButton(frame) == static_cast<int>(count);
            },
            5000))
            << "not hosted: " << std::string(title.begin(), title.end());
        return doc;
    }
    HWND OpenHosted(const std::wstring& title) { return OpenHosted(viewer, title); }
    // Brings the window of button `index` to the top of `owner`'s host view, as a click does.
    static bool Activate(HWND owner, size_t index) {
        const auto buttons = WindowButtons(owner);
        if (index >= buttons.size()) return false;
        ::SendMessageW(buttons[index], BM_CLICK, 0, 0);
        return WaitFor([&] { return CheckedButton(owner) == static_cast<int>(index); }, 3000);
    }
    // Activates button `index` and returns its window once on top (the button is checked
    // at the click, the window comes forward a moment later), or nullptr. For windows
    // whose title is their caption.
    static HWND ActivateWindow(HWND owner, size_t index) {
        if (!Activate(owner, index)) return nullptr;
        const std::wstring caption = ButtonCaptions(owner)[index];
        HWND window = nullptr;
        const bool onTop = WaitFor([&] { return WindowTitle(window = ::GetTopWindow(HostView(owner))) == caption; }, 3000);
        return onTop ? window : nullptr;
    }
    // A per-window command: it acts on the active window of `owner`.
    static void WindowCommand(HWND owner, UINT id) { ::SendMessageW(TaskbarControl(owner), WM_COMMAND, id, 0); }
    std::vector<std::wstring> Captions() { return ButtonCaptions(frame); }
    // A new additional frame hosting the window of the main frame's button `index`.
    HWND FrameWithWindow(size_t index) {
        const size_t position = vantrel.Frames().size() - 1;  // the new frame's place in "Move to"
        HWND extra = vantrel.NewFrame(frame);
        HWND window = extra == nullptr ? nullptr : ActivateWindow(frame, index);
        if (window == nullptr) return nullptr;
        WindowCommand(frame, ID_MOVE_TO_FIRST + static_cast<UINT>(position));
        const bool moved = WaitFor([&] { return ::GetAncestor(window, GA_PARENT) == HostView(extra); }, 3000);
        return moved ? extra : nullptr;
    }

    VantrelProcess vantrel;
    ViewerProcess viewer;
    HWND frame = nullptr;
};

// A plain window of this test program, standing for another application.
class OtherApplication {
public:
    OtherApplication() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VantrelTestOtherApplication";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   200, 200, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~OtherApplication() {
        if (m_hwnd != nullptr) ::DestroyWindow(m_hwnd);
    }
    OtherApplication(const OtherApplication&) = delete;
    OtherApplication& operator=(const OtherApplication&) = delete;
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

// Whether `frame`'s taskbar pane lies under its host view, across all of it, 50
// pixels high, as "&Dock window taskbar at bottom" puts it.
inline testing::AssertionResult DockedAtBottom(HWND frame, HWND pane) {
    RECT paneRect{}, view{};
    ::GetWindowRect(pane, &paneRect);
    ::GetWindowRect(HostView(frame), &view);
    if (paneRect.bottom - paneRect.top == 50 && paneRect.top >= view.bottom &&
        paneRect.left <= view.left && paneRect.right >= view.right)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pane (" << paneRect.left << "," << paneRect.top << ")-(" << paneRect.right
                                       << "," << paneRect.bottom << "), view (" << view.left << "," << view.top
                                       << ")-(" << view.right << "," << view.bottom << ")";
}

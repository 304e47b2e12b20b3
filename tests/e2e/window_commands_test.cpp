// Commands on hosted windows: the per-window menu, tiling and close-all of the
// window-manager menu, and the keyboard shortcuts polled by the capture cycle.
#include "e2e_fixture.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "core/HostingEngine.h"
#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

class WindowCommandTest : public HostingTest {
protected:
    HWND TopWindow() const { return ::GetTopWindow(HostView(frame)); }
    HWND WaitForBox(DWORD pid) {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindMessageBoxOf(pid)) != nullptr; }, 5000);
        return box;
    }
    // A window's place in the host view's client area.
    RECT PlaceOf(HWND window) const {
        RECT rc{};
        ::GetWindowRect(window, &rc);
        ::MapWindowPoints(nullptr, HostView(frame), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    SIZE ViewSize() const {
        RECT rc{};
        ::GetClientRect(HostView(frame), &rc);
        return SIZE{rc.right, rc.bottom};
    }
};

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

std::string Describe(const RECT& rc) {
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

struct PopupSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK ConsiderPopup(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<PopupSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.pid || !::IsWindowVisible(hwnd) || WindowClass(hwnd) != L"#32768") return TRUE;
    search.found = hwnd;
    return FALSE;
}

// A shown popup menu of the process, or null.
HWND OpenPopupMenu(DWORD pid) {
    PopupSearch search{pid, nullptr};
    ::EnumWindows(ConsiderPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends the popup menu that `control`'s process shows, by Escape if cancelling does not.
bool DismissMenu(HWND control) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(control, &pid);
    ::PostMessageW(control, WM_CANCELMODE, 0, 0);
    if (!WaitFor([&] { return OpenPopupMenu(pid) == nullptr; }, 1000)) {
        PressKey(VK_ESCAPE);
        ReleaseKey(VK_ESCAPE);
    }
    return WaitFor([&] { return OpenPopupMenu(pid) == nullptr; }, 3000);
}

using WindowCommands = WindowCommandTest;

TEST_F(WindowCommands, RightClickBringsTheWindowForwardBeforeTheMenuOpens) {
    HWND behind = OpenHosted(L"Behind.pdf");
    HWND front = OpenHosted(L"In front.pdf");
    ASSERT_TRUE(Activate(frame, 1));
    ASSERT_EQ(TopWindow(), front);

    HWND control = TaskbarControl(frame);
    HWND button = WindowButtons(frame)[0];
    const POINT at = CenterOf(button);
    // Posted: the menu runs a modal loop until it is dismissed.
    ::PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button), MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(WaitFor([&] { return TopWindow() == behind; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return OpenPopupMenu(vantrel.Pid()) != nullptr; }, 3000));
    ASSERT_TRUE(DismissMenu(control));

    // "Maximize" now acts on that window, not on the one in front before.
    WindowCommand(frame, ID_WINDOW_MAXIMIZE);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(behind) != FALSE; }, 3000));
    EXPECT_FALSE(::IsZoomed(front));

    // From the keyboard (no point), over a button: that button's menu, at the button.
    ::PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(WindowButtons(frame)[1]), MAKELPARAM(-1, -1));
    EXPECT_TRUE(WaitFor([&] { return OpenPopupMenu(vantrel.Pid()) != nullptr; }, 3000));
    ASSERT_TRUE(DismissMenu(control));
}

TEST_F(WindowCommands, CenterMaximizeAndMinimizeActOnTheActiveWindow) {
    HWND active = OpenHosted(L"Active.pdf");
    HWND other = OpenHosted(L"Other.pdf");
    ASSERT_TRUE(Activate(frame, 0));
    const SIZE view = ViewSize();
    const RECT otherBefore = PlaceOf(other);

    // Taller than the view and of odd width: clipped to the view's height, half a pixel dropped.
    ::MoveWindow(active, 3, 4, 401, view.cy + 100, TRUE);
    WindowCommand(frame, ID_WINDOW_CENTER);
    const LONG x = (view.cx - 401) / 2;
    const RECT expected{x, 0, x + 401, view.cy};
    EXPECT_TRUE(WaitFor([&] { return SameRect(PlaceOf(active), expected); }, 3000))
        << Describe(PlaceOf(active)) << " not " << Describe(expected);
    EXPECT_TRUE(SameRect(PlaceOf(other), otherBefore));

    WindowCommand(frame, ID_WINDOW_MAXIMIZE);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(active) != FALSE; }, 3000));
    EXPECT_FALSE(::IsZoomed(other));
    WindowCommand(frame, ID_WINDOW_MINIMIZE);
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(active) != FALSE; }, 3000));
    EXPECT_FALSE(::IsIconic(other));
}

TEST_F(WindowCommands, TilingFillsTheHostViewInButtonOrderAndLeavesTheRemainder) {
    std::vector<HWND> docs;
    for (const wchar_t* title : {L"Top", L"Middle", L"Bottom"}) docs.push_back(OpenHosted(title));
    // A host view whose sides are not multiples of three, so that a remainder is left.
    RECT placement{};
    ::GetWindowRect(frame, &placement);
    int width = placement.right - placement.left, height = placement.bottom - placement.top;
    for (int i = 0; i < 3 && ViewSize().cx % 3 == 0; ++i)
        ::SetWindowPos(frame, nullptr, 0, 0, ++width, height, SWP_NOMOVE | SWP_NOZORDER);
    for (int i = 0; i < 3 && ViewSize().cy % 3 == 0; ++i)
        ::SetWindowPos(frame, nullptr, 0, 0, width, ++height, SWP_NOMOVE | SWP_NOZORDER);
    const SIZE view = ViewSize();
    ASSERT_NE(view.cx % 3, 0);
    ASSERT_NE(view.cy % 3, 0);

    // A maximized window is restored before it is tiled.
    ::ShowWindow(docs[1], SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(docs[1]) != FALSE; }, 3000));

    ::SendMessageW(frame, WM_COMMAND, ID_TILE_HORIZONTALLY, 0);
    const LONG h = view.cy / 3;
    for (size_t i = 0; i < docs.size(); ++i) {
        const LONG y = static_cast<LONG>(i) * h;
        const RECT row{0, y, view.cx, y + h};
        EXPECT_TRUE(WaitFor([&] { return SameRect(PlaceOf(docs[i]), row); }, 3000))
            << "row " << i << ": " << Describe(PlaceOf(docs[i])) << " not " << Describe(row);
    }
    EXPECT_FALSE(::IsZoomed(docs[1]));

    ::SendMessageW(frame, WM_COMMAND, ID_TILE_VERTICALLY, 0);
    const LONG w = view.cx / 3;
    for (size_t i = 0; i < docs.size(); ++i) {
        const LONG x = static_cast<LONG>(i) * w;
        const RECT column{x, 0, x + w, view.cy};
        EXPECT_TRUE(WaitFor([&] { return SameRect(PlaceOf(docs[i]), column); }, 3000))
            << "column " << i << ": " << Describe(PlaceOf(docs[i])) << " not " << Describe(column);
    }
}

TEST_F(WindowCommands, CloseAllAsksThenClosesThisFramesWindowsOneAfterTheOther) {
    HWND first = OpenHosted(L"First.pdf");
    HWND unsaved = OpenHosted(L"Unsaved.pdf");
    HWND last = OpenHosted(L"Last.pdf");
    HWND elsewhere = OpenHosted(L"Elsewhere.pdf");
    ASSERT_TRUE(viewer.MarkModified(unsaved));
    HWND extra = FrameWithWindow(3);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Captions() == Texts{L"First.pdf", L"Unsaved.pdf *", L"Last.pdf"}; }, 3000));

    // Posted: the question is modal.
    ::PostMessageW(frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);
    HWND box = WaitForBox(vantrel.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Do you really want to close all windows?");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), frame);
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    ASSERT_TRUE(AnswerMessageBox(box, IDNO));
    ASSERT_TRUE(WaitForCycles(frame));  // nothing may close
    for (HWND w : {first, unsaved, last, elsewhere}) EXPECT_TRUE(::IsWindow(w));

    ::PostMessageW(frame, WM_COMMAND, ID_CLOSE_ALL_WINDOWS, 0);
    box = WaitForBox(vantrel.Pid());
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    // The modified window asks; the one after it waits for that answer.
    HWND question = WaitForBox(viewer.Pid());
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question), L"Save changes to Unsaved.pdf?");
    EXPECT_FALSE(::IsWindow(first));
    ASSERT_TRUE(WaitForCycles(frame, 6));  // the next window is not asked yet
    EXPECT_TRUE(::IsWindow(last));
    ASSERT_TRUE(AnswerMessageBox(question, IDCANCEL));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(last); }, 3000));

    // The window that refused keeps its button; the other frame's window is not touched.
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Unsaved.pdf *"}; }, 3000));
    EXPECT_TRUE(IsHosted(unsaved));
    EXPECT_TRUE(::IsWindow(elsewhere));
    EXPECT_EQ(::GetAncestor(elsewhere, GA_PARENT), HostView(extra));
    EXPECT_EQ(FindMessageBoxOf(viewer.Pid()), nullptr);
}

// Shortcuts act in the frame in front, as a user types them there.
class KeyboardTest : public WindowCommandTest {
protected:
    void SetUp() override {
        WindowCommandTest::SetUp();
        ::SetWindowPos(frame, HWND_TOP, 10, 10, 900, 600, SWP_SHOWWINDOW);
        ASSERT_TRUE(ClickIntoFront(frame));
    }
    void TearDown() override {
        for (WORD key : std::initializer_list<WORD>{VK_TAB, VK_F4, VK_SHIFT, VK_CONTROL}) ReleaseKey(key);
        ReleaseLeftButton();
        WindowCommandTest::TearDown();
    }
    // The foreground window is the frame or, once a hosted window has been
    // activated, that window inside it.
    static bool InFront(HWND target) { return ::GetAncestor(::GetForegroundWindow(), GA_ROOT) == target; }
    // A click on the pane's caption strip makes a frame the foreground window and
    // does nothing else. Another window is put in front first, so that the wait ends
    // only once the click has arrived, not later while keys are held.
    static bool ClickIntoFront(HWND target) {
        OtherApplication other;
        ::SetForegroundWindow(other.Hwnd());
        if (!WaitFor([&] { return ::GetForegroundWindow() == other.Hwnd(); }, 3000)) return false;
        ::SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RECT pane{};
        ::GetWindowRect(TaskbarPane(target), &pane);
        MoveMouseTo(POINT{pane.left + 80, pane.top + 12});
        PressLeftButton();
        ReleaseLeftButton();
        return WaitFor([&] { return InFront(target); }, 3000);
    }
    // Holds the keys down until `condition` holds, then lets them go: held no
    // longer than needed, so that the repeat guard does not fire them twice.
    static bool HoldUntil(std::initializer_list<WORD> keys, const std::function<bool()>& condition,
                          int timeoutMs = 3000) {
        for (WORD key : keys) PressKey(key);
        const bool met = WaitFor(condition, timeoutMs);
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) ReleaseKey(*key);
        return met;
    }
};

using Keyboard = KeyboardTest;

TEST_F(Keyboard, CtrlTabAndCtrlShiftTabWrapAroundInTheFrameInFront) {
    std::vector<HWND> docs;
    for (const wchar_t* title : {L"Zero", L"One", L"Two"}) docs.push_back(OpenHosted(title));
    ASSERT_TRUE(Activate(frame, 2));
    ASSERT_TRUE(WaitFor([&] { return InFront(frame); }, 3000));

    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_TAB}, [&] { return TopWindow() == docs[0]; }));
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_SHIFT, VK_TAB}, [&] { return TopWindow() == docs[2]; }));
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_SHIFT, VK_TAB}, [&] { return TopWindow() == docs[1]; }));
    EXPECT_TRUE(WaitFor([&] { return CheckedButton(frame) == 1; }, 3000));
}

TEST_F(Keyboard, CtrlF4ClosesTheActiveWindowOnly) {
    HWND doomed = OpenHosted(L"Doomed.pdf");
    HWND spared = OpenHosted(L"Spared.pdf");
    ASSERT_TRUE(Activate(frame, 0));
    ASSERT_TRUE(WaitFor([&] { return InFront(frame); }, 3000));
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_F4}, [&] { return !::IsWindow(doomed); }));
    EXPECT_TRUE(WaitFor([&] { return Captions() == Texts{L"Spared.pdf"}; }, 3000));
    EXPECT_TRUE(::IsWindow(spared));
}

TEST_F(Keyboard, OnlyTheFrameInFrontActsAndNoneWhileAnotherApplicationIs) {
    HWND a = OpenHosted(L"Main A");
    HWND b = OpenHosted(L"Main B");
    HWND c = OpenHosted(L"Extra C");
    HWND d = OpenHosted(L"Extra D");
    HWND extra = FrameWithWindow(2);
    ASSERT_NE(extra, nullptr);
    // Clear of the main frame, so that clicks meant for the main frame reach it.
    ::SetWindowPos(extra, nullptr, 10, 640, 900, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Activate(frame, 2));
    ::SendMessageW(TaskbarControl(frame), WM_COMMAND, ID_MOVE_TO_FIRST, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowButtons(extra).size() == 2 && WindowButtons(frame).size() == 2; }, 3000));
    const HWND extraTop = ActivateWindow(extra, 0);
    ASSERT_NE(extraTop, nullptr);
    ASSERT_TRUE(ClickIntoFront(frame));
    ASSERT_TRUE(Activate(frame, 0));
    ASSERT_TRUE(InFront(frame));

    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_TAB}, [&] { return TopWindow() == b; }));
    ASSERT_TRUE(WaitForCycles(extra));  // the other frame must not have switched
    EXPECT_EQ(::GetTopWindow(HostView(extra)), extraTop);

    OtherApplication other;
    ASSERT_NE(other.Hwnd(), nullptr);
    ::SetForegroundWindow(other.Hwnd());
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other.Hwnd(); }, 3000));
    // Held until a window switches in either frame (one that fires again and again
    // could switch back), or else until the guard after the Ctrl+Tab above has lapsed
    // (it falls by more than a cycle's milliseconds on every cycle) and a cycle more
    // has polled the keys (one more again for the cycle under way as the count
    // starts): any frame would have fired by then. The guard stays lapsed if none
    // fires, so the second shortcut needs only a few cycles.
    const auto cycles = [&] { return ReadTestCount(frame, static_cast<int>(TestCount::Cycles)); };
    const long long guardLapsed = cycles() + vantrel::kKeyDelayAfterShortcut / vantrel::kCaptureElapse + 2;
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_TAB}, [&] {
        return TopWindow() != b || ::GetTopWindow(HostView(extra)) != extraTop || cycles() >= guardLapsed;
    }));
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_F4}, [&] { return WaitForCycles(frame); }));
    EXPECT_EQ(TopWindow(), b);
    EXPECT_EQ(::GetTopWindow(HostView(extra)), extraTop);
    for (HWND w : {a, b, c, d}) EXPECT_TRUE(::IsWindow(w));
}

}  // namespace

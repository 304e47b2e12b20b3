#include <gtest/gtest.h>


#include "tests/core/HostingFixture.h"

namespace vantrel {
namespace {

using Strings = std::vector<std::string>;

std::string Call(const char* name, WindowId window) { return std::string(name) + " " + std::to_string(window); }

class Shortcuts : public test::HostingTest {
protected:
    void CaptureWindows(int count) {
        for (int i = 0; i < count; ++i) windows.push_back(Capture());
        engine.RunCaptureCycle();
    }
    void Hold(const std::vector<Key>& keys) {
        desktop.ReleaseKeys();
        for (Key key : keys) desktop.Press(key);
    }

    std::vector<WindowId> windows;
};

TEST_F(Shortcuts, SwitchAndCloseTheActiveWindow) {
    using K = Key;
    constexpr int kNone = -1;
    struct KeyCase {
        const char* name;
        std::vector<Key> keys;
        int guardBefore;
        int active;
        const char* call;  // on window `target`, or nothing when null
        int target;
        int guardAfter;
    };
    const KeyCase cases[] = {
        {"next from the last wraps", {K::Control, K::Tab}, 0, 2, "SetActive", 0, 1000},
        {"next from the first", {K::Control, K::Tab}, 0, 0, "SetActive", 1, 1000},
        {"next with none active: the first", {K::Control, K::Tab}, 0, kNone, "SetActive", 0, 1000},
        {"previous from the first wraps", {K::Control, K::Shift, K::Tab}, 0, 0, "SetActive", 2, 1000},
        {"previous from the last", {K::Control, K::Shift, K::Tab}, 0, 2, "SetActive", 1, 1000},
        {"previous with none active: nothing", {K::Control, K::Shift, K::Tab}, 0, kNone, nullptr, 0, 1000},
        {"close", {K::Control, K::F4}, 0, 1, "Close", 1, 1000},
        {"close with Shift held too", {K::Control, K::Shift, K::F4}, 0, 1, "Close", 1, 1000},
        {"close with none active: nothing", {K::Control, K::F4}, 0, kNone, nullptr, 0, 1000},
        {"next goes before close", {K::Control, K::Tab, K::F4}, 0, 0, "SetActive", 1, 1000},
        {"guard below zero lets it fire", {K::Control, K::Tab}, -40, 0, "SetActive", 1, 1000},
        {"guard above zero holds it back", {K::Control, K::Tab}, 40, 0, nullptr, 0, 40},
        {"Tab without Ctrl", {K::Tab}, 0, 0, nullptr, 0, 0},
        {"Shift+F4 without Ctrl", {K::Shift, K::F4}, 0, 0, nullptr, 0, 0},
        {"Ctrl+Shift alone", {K::Control, K::Shift}, 0, 0, nullptr, 0, 0},
    };
    CaptureWindows(3);
    const WindowId foreign = desktop.AddWindow(L"SomethingElse", L"", hostView);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (WindowId window : windows) desktop.Window(window).alive = true;
        desktop.BringToTop(c.active == kNone ? foreign : windows[static_cast<std::size_t>(c.active)]);
        Hold(c.keys);
        engine.KeyDelay() = c.guardBefore;
        desktop.ClearCalls();

        engine.PollShortcuts();
        EXPECT_EQ(desktop.Calls(),
                  c.call ? Strings{Call(c.call, windows[static_cast<std::size_t>(c.target)])} : Strings{});
        EXPECT_EQ(engine.KeyDelay(), c.guardAfter);
    }
}

// The find box and the taskbar are the frame's to open; the engine only tells it,
// and the viewer keeps Ctrl+Space and Ctrl+T.
TEST_F(Shortcuts, FrameShortcutsNeedCtrlAndShift) {
    using K = Key;
    using S = std::vector<Shortcut>;
    struct FrameCase {
        const char* name;
        std::vector<Key> keys;
        bool workingHere;
        S told;
    };
    const FrameCase cases[] = {
        {"Ctrl+Shift+Space", {K::Control, K::Shift, K::Space}, true, S{Shortcut::FindDocument}},
        {"Ctrl+Shift+T", {K::Control, K::Shift, K::T}, true, S{Shortcut::GoToTaskbar}},
        {"Ctrl+Space", {K::Control, K::Space}, true, S{}},
        {"Ctrl+T", {K::Control, K::T}, true, S{}},
        {"Ctrl+Shift+Space in another frame", {K::Control, K::Shift, K::Space}, false, S{}},
        {"Ctrl+Shift+Tab still switches", {K::Control, K::Shift, K::Tab, K::Space}, true, S{}},
    };
    CaptureWindows(2);
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        Hold(c.keys);
        context.userWorkingHere = c.workingHere;
        context.shortcuts.clear();
        engine.KeyDelay() = 0;
        desktop.ClearCalls();

        const bool fired = engine.PollShortcuts();
        EXPECT_EQ(context.shortcuts, c.told);
        EXPECT_EQ(fired, !c.told.empty() || desktop.Calls().size() == 1);
        EXPECT_EQ(engine.KeyDelay(), fired ? 1000 : 0);
    }
}

TEST_F(Shortcuts, AFrameWithNoDocumentsStillOpensTheFindBoxOnceAtATime) {
    Hold({Key::Control, Key::Shift, Key::Space});
    int cycles = 0;
    for (; cycles < 30; ++cycles) engine.RunCaptureCycle(false);
    // Held for 30 cycles: once at the first, then each time the guard has run down.
    EXPECT_EQ(context.shortcuts.size(), 3u);
    EXPECT_EQ(context.shortcuts.front(), Shortcut::FindDocument);
}

TEST_F(Shortcuts, GuardFallsOncePerLiveRecordWhileAboveZero) {
    CaptureWindows(3);
    desktop.Kill(windows[2]);
    struct GuardCase {
        int before, after;
    };
    const GuardCase cases[] = {{1000, 840}, {40, -40}, {0, 0}, {-40, -40}};
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.before);
        engine.KeyDelay() = c.before;
        engine.RunCaptureCycle();
        EXPECT_EQ(engine.KeyDelay(), c.after);
    }
}

TEST_F(Shortcuts, ActOnlyInTheFrameTheUserWorksIn) {
    CaptureWindows(2);
    context.userWorkingHere = false;
    const std::vector<Key> held[] = {{Key::Control, Key::Tab}, {Key::Control, Key::F4}};
    for (const std::vector<Key>& keys : held) {
        for (int guard : {0, -40}) {
            Hold(keys);
            engine.KeyDelay() = guard;
            desktop.ClearCalls();
            engine.RunCaptureCycle();
            EXPECT_TRUE(desktop.Calls().empty());
            EXPECT_EQ(engine.KeyDelay(), guard) << "an ignored key leaves the guard as it was";
        }
    }

    // Asking the frame is for when a shortcut is actually held.
    context.workingHereAsked = 0;
    const std::vector<Key> noShortcut[] = {{}, {Key::Control}, {Key::Tab, Key::F4}};
    for (const std::vector<Key>& keys : noShortcut) {
        Hold(keys);
        engine.RunCaptureCycle();
    }
    EXPECT_EQ(context.workingHereAsked, 0);
}

// Holding Ctrl+Tab: the guard falls by 80 per visited record, so a shortcut fires at
// every 13th visit, and with more records after fewer cycles.
struct HeldCase {
    int records;
    std::vector<int> firingCycles;  // 1-based, within the first 27 cycles
};

void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.records; }

class HeldCtrlTab : public Shortcuts, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldCtrlTab, FiresEveryThirteenthVisitAndWalksTheRecords) {
    const HeldCase& c = GetParam();
    CaptureWindows(c.records);
    Hold({Key::Control, Key::Tab});
    std::vector<int> firing;
    std::vector<WindowId> activated;
    for (int cycle = 1; cycle <= 27; ++cycle) {
        desktop.ClearCalls();
        engine.RunCaptureCycle();
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (desktop.CallsOn(windows[i]) == Strings{Call("SetActive", windows[i])}) {
                firing.push_back(cycle);
                activated.push_back(windows[i]);
            }
        }
        if (cycle == 1) {
            EXPECT_EQ(engine.KeyDelay(), 1000 - 80 * c.records);
        }
    }
    EXPECT_EQ(firing, c.firingCycles);
    // The last window was on top at the start, so the first press wraps to window 0.
    for (std::size_t n = 0; n < activated.size(); ++n)
        EXPECT_EQ(activated[n], windows[n % windows.size()]) << "press " << n;
}

INSTANTIATE_TEST_SUITE_P(Records, HeldCtrlTab,
                         ::testing::Values(HeldCase{1, {1, 14, 27}}, HeldCase{2, {1, 7, 14, 20, 27}},
                                           HeldCase{3, {1, 5, 9, 14, 18, 22, 27}}),
                         [](const ::testing::TestParamInfo<HeldCase>& held) {
                             return std::to_string(held.param.records);
                         });

}  // namespace
}  // namespace vantrel

// Capture as the system announces windows, the full enumeration behind it, the
// switch back to polling, and resources that stay flat while windows come and go.
#include "e2e_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "resource.h"

namespace {

long long Count(HWND frame, TestCount which) { return ReadTestCount(frame, static_cast<int>(which)); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Joined(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const std::wstring& text : texts) joined += (joined.empty() ? L"" : L", ") + text;
    return joined;
}

std::vector<std::wstring> Numbered(const std::wstring& prefix, int count) {
    std::vector<std::wstring> names;
    for (int i = 1; i <= count; ++i) names.push_back(prefix + L" " + std::to_wstring(i));
    return names;
}

// A viewer that keeps running when its last document goes, for tests that close
// every document and go on.
class StayingViewer : public HostingTest {
protected:
    void SetUp() override {
        HostingTest::SetUp();
        ASSERT_TRUE(staying.Start(ViewerExe(), {L"--windows", L"0", L"--stay"}));
    }
    ViewerProcess staying;
};

using CaptureEvents = HostingTest;
using CaptureEventsStaying = StayingViewer;

TEST_F(CaptureEvents, WindowCreatedHiddenIsTakenAndStaysWhenShownLater) {
    ASSERT_EQ(Count(frame, TestCount::EventsActive), 1);
    const long long fromEvents = Count(frame, TestCount::TakenFromEvents);
    HWND doc = viewer.OpenHidden(L"Hidden first.pdf");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(WaitForButtons(1));
    EXPECT_TRUE(IsHosted(doc));
    EXPECT_TRUE(::IsWindowVisible(doc)) << "capture shows what it takes";
    EXPECT_EQ(Count(frame, TestCount::TakenFromEvents), fromEvents + 1);

    // The viewer shows it itself now: still ours, still one button, and the next
    // window comes after it.
    ASSERT_TRUE(viewer.Show(doc));
    HWND next = viewer.Open(L"Next.pdf");
    ASSERT_TRUE(WaitForButtons(2));
    ASSERT_TRUE(WaitForCycles(frame, 3));
    EXPECT_TRUE(IsHosted(doc));
    EXPECT_TRUE(IsHosted(next));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Hidden first.pdf", L"Next.pdf"}));
}

TEST_F(CaptureEventsStaying, WindowDestroyedAsSoonAsCreatedLeavesNoButton) {
    // Its creation is announced, but by the time we look it is gone; mixed with
    // windows that stay, so that a stale announcement could take a wrong place.
    for (int i = 0; i < 5; ++i) {
        HWND gone = staying.OpenAndDestroy(L"Gone " + std::to_wstring(i));
        ASSERT_NE(gone, nullptr);
        EXPECT_FALSE(::IsWindow(gone));
        ASSERT_NE(staying.Open(L"Kept " + std::to_wstring(i + 1)), nullptr);
    }
    EXPECT_TRUE(WaitFor([&] { return Captions() == Numbered(L"Kept", 5); }, 5000));
    ASSERT_TRUE(WaitForCycles(frame, 3));
    EXPECT_EQ(Captions(), Numbered(L"Kept", 5));
    EXPECT_EQ(staying.Windows().size(), 5u);
}

TEST_F(CaptureEvents, BurstOfThirtyIsTakenWholeInCreationOrder) {
    const DWORD started = ::GetTickCount();
    ASSERT_EQ(viewer.OpenBurst(30, L"Burst"), 30);
    const DWORD took = ::GetTickCount() - started;
    RecordProperty("burst_ms", static_cast<int>(took));
    EXPECT_TRUE(WaitFor([&] { return Captions() == Numbered(L"Burst", 30); }, 15000))
        << "burst of 30 took " << took << " ms to open; buttons: " << Narrow(Joined(Captions()));
    for (HWND doc : viewer.Windows()) EXPECT_TRUE(IsHosted(doc));
    ASSERT_TRUE(WaitForCycles(frame, 3));
    EXPECT_EQ(WindowButtons(frame).size(), 30u);
}

TEST_F(CaptureEvents, WindowsOfAClosedFrameComeBackWithoutWaitingForTheEnumeration) {
    HWND first = OpenHosted(L"Traveller 1");
    HWND second = OpenHosted(L"Traveller 2");
    HWND extra = vantrel.NewFrame(frame);
    ASSERT_NE(extra, nullptr);
    size_t left = 2;
    for (HWND doc : {first, second}) {
        ASSERT_TRUE(Activate(frame, 0)) << "the first button is the one to move";
        WindowCommand(frame, ID_MOVE_TO_FIRST);
        --left;
        // Moved, and the main frame's record of it gone, before the next one.
        ASSERT_TRUE(WaitFor(
            [&] { return ::GetAncestor(doc, GA_PARENT) == HostView(extra) && WindowButtons(frame).size() == left; },
            5000));
    }
    const std::vector<std::wstring> expected{L"Traveller 1", L"Traveller 2"};
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(extra) == expected; }, 5000));
    const long long fromEvents = Count(frame, TestCount::TakenFromEvents);
    const long long byEnumeration = Count(frame, TestCount::TakenByEnumeration);

    ::PostMessageW(extra, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Captions() == expected; }, 5000))
        << Captions().size() << " buttons, first " << (Captions().empty() ? "-" : "'" + Narrow(Captions()[0]) + "'")
        << ", from events " << Count(frame, TestCount::TakenFromEvents) - fromEvents << ", by enumeration "
        << Count(frame, TestCount::TakenByEnumeration) - byEnumeration;
    EXPECT_TRUE(IsHosted(first));
    EXPECT_TRUE(IsHosted(second));
    EXPECT_EQ(Count(frame, TestCount::TakenFromEvents), fromEvents + 2);
    EXPECT_EQ(Count(frame, TestCount::TakenByEnumeration), byEnumeration);
}

TEST_F(CaptureEvents, FullEnumerationRunsOnlyNowAndThen) {
    OpenHosted(L"Watched.pdf");
    const long long cycles0 = Count(frame, TestCount::Cycles);
    const long long enumerations0 = Count(frame, TestCount::Enumerations);
    ASSERT_TRUE(WaitForCycles(frame, 60));
    const long long cycles = Count(frame, TestCount::Cycles) - cycles0;
    const long long enumerations = Count(frame, TestCount::Enumerations) - enumerations0;
    EXPECT_GE(enumerations, 1) << "the safety net still runs";
    EXPECT_LE(enumerations * 10, cycles) << enumerations << " enumerations in " << cycles << " cycles";
}

// Vantrel started with the window events switched off.
class PollOnly : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        ASSERT_TRUE(vantrel.Start(L"", {L"VANTREL_POLL_ONLY=1"}));
        ASSERT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
    }

    VantrelProcess vantrel;
    ViewerProcess viewer;
    HWND frame = nullptr;
};

TEST_F(PollOnly, EveryCycleEnumeratesAndNoEventTakesAWindow) {
    EXPECT_EQ(Count(frame, TestCount::EventsActive), 0);
    HWND doc = viewer.Open(L"Polled.pdf");
    HWND hidden = viewer.OpenHidden(L"Polled hidden.pdf");
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(frame).size() == 2; }, 5000));
    EXPECT_EQ(::GetAncestor(doc, GA_PARENT), HostView(frame));
    EXPECT_EQ(::GetAncestor(hidden, GA_PARENT), HostView(frame));
    EXPECT_EQ(Count(frame, TestCount::TakenFromEvents), 0);
    EXPECT_EQ(Count(frame, TestCount::TakenByEnumeration), 2);

    const long long cycles0 = Count(frame, TestCount::Cycles);
    const long long enumerations0 = Count(frame, TestCount::Enumerations);
    ASSERT_TRUE(WaitForCycles(frame, 10));
    // Read one after the other: a cycle may run in between.
    const long long enumerations = Count(frame, TestCount::Enumerations) - enumerations0;
    const long long cycles = Count(frame, TestCount::Cycles) - cycles0;
    EXPECT_GE(enumerations, cycles - 1);
    EXPECT_LE(enumerations, cycles);
}

using Resources = StayingViewer;

TEST_F(Resources, OneTooltipPerTaskbarAndNoGrowthOverOpenAndClose) {
    const auto tooltips = [&] { return TopLevelWindowsOf(vantrel.Pid(), L"tooltips_class32").size(); };
    const auto openAndClose = [&](const std::wstring& title) {
        HWND doc = OpenHosted(staying, title);  // captioned, so its tip is set
        ASSERT_TRUE(staying.Destroy(doc));
        ASSERT_TRUE(WaitFor([&] { return WindowButtons(frame).empty(); }, 5000));
    };
    // Several at once: their buttons share one tooltip.
    const auto sixAtOnce = [&](size_t expectedTooltips) {
        std::vector<HWND> docs;
        for (int i = 0; i < 6; ++i) docs.push_back(OpenHosted(staying, L"Shared tip " + std::to_wstring(i)));
        EXPECT_EQ(tooltips(), expectedTooltips);
        for (HWND doc : docs) staying.Destroy(doc);
        ASSERT_TRUE(WaitFor([&] { return WindowButtons(frame).empty(); }, 5000));
    };
    // The first rounds fill the caches the system keeps for drawing.
    openAndClose(L"Warm-up");
    const size_t tooltipsBefore = tooltips();
    sixAtOnce(tooltipsBefore);
    // A burst from one program takes its turn at the few threads there are: more would
    // only queue at the same program, and each costs a megabyte under Wine. Idle
    // threads live on a second, so the count after the burst holds them all.
    ASSERT_EQ(staying.OpenBurst(10, L"Burst"), 10);
    long long mostWorkers = 0;
    EXPECT_TRUE(WaitFor(
        [&] {
            mostWorkers = std::max(mostWorkers, Count(frame, TestCount::Workers));
            return ButtonCaptions(frame).size() == 10;
        },
        10000));
    EXPECT_LE(std::max(mostWorkers, Count(frame, TestCount::Workers)), 3);
    for (HWND doc : staying.Windows()) staying.Destroy(doc);
    ASSERT_TRUE(WaitFor([&] { return WindowButtons(frame).empty(); }, 5000));
    // Counted once what went with the last buttons has gone: the system frees some of
    // it a moment later, so a count right away may still hold it.
    ASSERT_TRUE(WaitForCycles(frame, 10));
    const long long userBefore = Count(frame, TestCount::UserObjects);
    const long long gdiBefore = Count(frame, TestCount::GdiObjects);
    ASSERT_GT(userBefore, 0);
    ASSERT_GT(gdiBefore, 0);

    for (int i = 0; i < 20; ++i) openAndClose(L"Round " + std::to_wstring(i));
    sixAtOnce(tooltipsBefore);
    EXPECT_EQ(tooltips(), tooltipsBefore);
    // A leak stays; what is freed a moment later does not.
    EXPECT_TRUE(WaitFor([&] { return Count(frame, TestCount::UserObjects) <= userBefore; }, 3000))
        << Count(frame, TestCount::UserObjects) << " USER objects, " << userBefore << " before";
    EXPECT_TRUE(WaitFor([&] { return Count(frame, TestCount::GdiObjects) <= gdiBefore; }, 3000))
        << Count(frame, TestCount::GdiObjects) << " GDI objects, " << gdiBefore << " before";
}

}  // namespace

// Frames reopen where they were: the main frame after a restart, an additional
// frame when the frame of its number opens again, a rectangle whose monitor is
// gone back on the screen, and a malformed stored value as if none were there.
#include "e2e_fixture.h"

#include <cstring>
#include <ostream>
#include <vector>

#include "core/Placement.h"
#include "input.h"
#include "resource.h"

// Where the arguments' type lives, so that the test macros find them.
static bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

static std::ostream& operator<<(std::ostream& out, const RECT& rc) {
    return out << "(" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom << ")";
}

namespace {

RECT RectOf(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

void WritePlacement(unsigned number, const vantrel::FramePlacement& placement) {
    const auto bytes = vantrel::EncodePlacement(placement);
    WriteProfileRaw(vantrel::kPlacementSection, vantrel::PlacementEntry(number).c_str(), REG_BINARY, bytes.data(),
                    static_cast<DWORD>(bytes.size()));
}

vantrel::FramePlacement Stored(const RECT& frame) {
    vantrel::FramePlacement placement;
    placement.frame = {frame.left, frame.top, frame.right, frame.bottom};
    return placement;
}

class Placement : public VantrelTest {
protected:
    void TearDown() override {
        ReleaseLeftButton();
        VantrelTest::TearDown();
    }

    // Starts a copy and waits for its first tick; its main frame, or null.
    static HWND Start(VantrelProcess& vantrel) {
        if (!vantrel.Start() || !vantrel.WaitForStartup()) return nullptr;
        return vantrel.MainFrame();
    }
    // Closes the program as the user does, which keeps where its frames were.
    static bool Close(VantrelProcess& vantrel, HWND frame) {
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        return vantrel.WaitForExit(5000);
    }
    // Floats the taskbar, as a double click on its caption strip does; its tool window.
    static HWND FloatTaskbar(HWND frame) {
        HWND pane = TaskbarPane(frame);
        ::PostMessageW(pane, WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 12));
        HWND floating = nullptr;
        WaitFor([&] { return (floating = ::GetParent(pane)) != frame; }, 3000);
        return floating != frame ? floating : nullptr;
    }
    static bool IsFloatingAt(HWND frame, const RECT& where) {
        HWND floating = ::GetParent(TaskbarPane(frame));
        return floating != frame && RectOf(floating) == where;
    }
    // Lets the frame take the mouse, as a click on its taskbar's caption strip does.
    static bool MakeForeground(HWND frame) {
        const RECT pane = RectOf(TaskbarPane(frame));
        MoveMouseTo(POINT{pane.left + 80, pane.top + 12});
        PressLeftButton();
        ReleaseLeftButton();
        return WaitFor([&] { return ::GetForegroundWindow() == frame; }, 3000);
    }
};

TEST_F(Placement, MainFrameAndItsTaskbarReopenWhereTheyWere) {
    const RECT normal{60, 40, 860, 640};
    const RECT floatingAt{300, 700, 700, 820};
    {
        VantrelProcess vantrel;
        HWND frame = Start(vantrel);
        ASSERT_NE(frame, nullptr);
        ::SetWindowPos(frame, nullptr, normal.left, normal.top, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        HWND floating = FloatTaskbar(frame);
        ASSERT_NE(floating, nullptr);
        ::SetWindowPos(floating, nullptr, floatingAt.left, floatingAt.top, 400, 120, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(Close(vantrel, frame));
    }
    {
        VantrelProcess vantrel;
        HWND frame = Start(vantrel);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(RectOf(frame), normal);
        EXPECT_FALSE(::IsZoomed(frame));
        EXPECT_TRUE(WaitFor([&] { return IsFloatingAt(frame, floatingAt); }, 3000))
            << RectOf(::GetParent(TaskbarPane(frame)));

        // Maximized, with the taskbar docked again (a double click on the floating
        // caption) and made 40 pixels higher with the mouse.
        ::SendMessageW(::GetParent(TaskbarPane(frame)), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
        ASSERT_EQ(::GetParent(TaskbarPane(frame)), frame);
        ::ShowWindow(frame, SW_MAXIMIZE);
        ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(frame) != FALSE; }, 3000));
        ASSERT_TRUE(MakeForeground(frame));
        HWND pane = TaskbarPane(frame);
        const RECT rc = RectOf(pane);
        const POINT band{(rc.left + rc.right) / 2, rc.top + 1};
        ASSERT_TRUE(PressLeftButtonOn(pane, band));
        MoveMouseTo(POINT{band.x, band.y - 40});
        ReleaseLeftButton();
        ASSERT_TRUE(WaitFor([&] { return RectOf(pane).bottom - RectOf(pane).top == 90; }, 3000));
        ASSERT_TRUE(Close(vantrel, frame));
    }
    VantrelProcess vantrel;
    HWND frame = Start(vantrel);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(::IsZoomed(frame));
    HWND pane = TaskbarPane(frame);
    EXPECT_EQ(::GetParent(pane), frame);
    EXPECT_EQ(RectOf(pane).bottom - RectOf(pane).top, 90);
    EXPECT_LE(RectOf(HostView(frame)).bottom, RectOf(pane).top);  // under the view
    ::ShowWindow(frame, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return RectOf(frame) == normal; }, 3000)) << RectOf(frame);
}

TEST_F(Placement, AnAdditionalFrameReopensWhereTheFrameOfItsNumberWas) {
    VantrelProcess vantrel;
    HWND frame = Start(vantrel);
    ASSERT_NE(frame, nullptr);
    const RECT mainRect = RectOf(frame);
    const RECT there{400, 300, 1000, 800};
    HWND first = vantrel.NewFrame(frame);
    ASSERT_NE(first, nullptr);
    ::SetWindowPos(first, nullptr, there.left, there.top, 600, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ::PostMessageW(first, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(first); }, 5000));
    EXPECT_TRUE(ProfileValueExists(L"Placement", L"Frame1"));

    HWND again = vantrel.NewFrame(frame);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(RectOf(again), there);
    // Number 2 has nothing stored, and the main frame did not move.
    HWND second = vantrel.NewFrame(frame);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(RectOf(second) == there);
    EXPECT_FALSE(ProfileValueExists(L"Placement", L"Frame2"));
    EXPECT_EQ(RectOf(frame), mainRect);
}

TEST_F(Placement, StoredPlacesOffTheScreenComeBackOntoItAndDockedSidesApply) {
    const RECT area = WorkArea();
    {
        // Where a monitor was that is gone: frame and floating taskbar come back whole.
        vantrel::FramePlacement placement = Stored(RECT{5000, 4000, 5800, 4600});
        placement.paneSide = vantrel::PaneSide::Floating;
        placement.floatingRect = {-3000, -3000, -2700, -2900};
        WritePlacement(0, placement);
        VantrelProcess vantrel;
        HWND frame = Start(vantrel);
        ASSERT_NE(frame, nullptr);
        const RECT rc = RectOf(frame);
        EXPECT_TRUE(Contains(area, rc)) << rc;
        EXPECT_EQ(rc.right - rc.left, 800);
        EXPECT_EQ(rc.bottom - rc.top, 600);
        HWND floating = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (floating = ::GetParent(TaskbarPane(frame))) != frame; }, 3000));
        EXPECT_TRUE(Contains(area, RectOf(floating))) << RectOf(floating);
        EXPECT_EQ(RectOf(floating).right - RectOf(floating).left, 300);
    }
    ResetProfile();
    vantrel::FramePlacement placement = Stored(RECT{100, 100, 900, 700});
    placement.paneSide = vantrel::PaneSide::Left;
    placement.paneThickness = 120;
    WritePlacement(0, placement);
    VantrelProcess vantrel;
    HWND frame = Start(vantrel);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(RectOf(frame), (RECT{100, 100, 900, 700}));
    const RECT pane = RectOf(TaskbarPane(frame));
    EXPECT_EQ(pane.right - pane.left, 120);
    EXPECT_LE(pane.right, RectOf(HostView(frame)).left);
}

TEST_F(Placement, StartedMinimizedAFrameLeftMaximizedIsRestoredMaximized) {
    vantrel::FramePlacement placement = Stored(RECT{100, 100, 900, 700});
    placement.maximized = true;
    WritePlacement(0, placement);
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start(L"/MINIMIZE"));
    ASSERT_TRUE(vantrel.WaitForStartup());
    HWND frame = vantrel.MainFrame();
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(frame) != FALSE; }, 3000));
    ::ShowWindow(frame, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(frame) != FALSE; }, 3000));
    ::ShowWindow(frame, SW_RESTORE);
    EXPECT_TRUE(WaitFor([&] { return RectOf(frame) == (RECT{100, 100, 900, 700}); }, 3000)) << RectOf(frame);
}

TEST_F(Placement, AMalformedStoredValueGivesTheDefaultPlace) {
    RECT defaultRect{};
    {
        VantrelProcess vantrel;
        HWND frame = Start(vantrel);
        ASSERT_NE(frame, nullptr);
        defaultRect = RectOf(frame);
    }
    const RECT stored{111, 122, 733, 644};
    ASSERT_FALSE(stored == defaultRect);
    auto good = vantrel::EncodePlacement(Stored(stored));
    auto withField = [&](size_t index, std::int32_t value) {
        auto bytes = good;
        std::memcpy(bytes.data() + index * 4, &value, 4);
        return bytes;
    };
    struct Case {
        const char* name;
        DWORD type;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"a DWORD", REG_DWORD, std::vector<std::uint8_t>(good.begin(), good.begin() + 4)},
        {"one byte short", REG_BINARY, std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"inverted frame", REG_BINARY, withField(3, 50)},
        {"side 7", REG_BINARY, withField(6, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProfile();
        WriteProfileRaw(L"Placement", L"Frame0", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        VantrelProcess vantrel;
        HWND frame = Start(vantrel);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(RectOf(frame), defaultRect);
        EXPECT_TRUE(DockedAtBottom(frame, TaskbarPane(frame)));
    }
}

}  // namespace

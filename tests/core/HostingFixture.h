#pragma once
// One container frame on a fake desktop: a frame window, its host view, and an engine
// that captures into that view.

#include <gtest/gtest.h>

#include <ostream>
#include <set>

#include "core/HostingEngine.h"
#include "tests/core/FakeButtons.h"
#include "tests/core/FakeDesktop.h"

namespace vantrel {

// Readable failure messages for the geometry of the core.
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

}  // namespace vantrel

namespace vantrel::test {

class FakeContext : public HostingContext {
public:
    bool IsHostedElsewhere(WindowId window) override { return hostedElsewhere.count(window) != 0; }
    bool BringToFrontOnCapture() override { return bringToFront; }
    WindowId OwnerFrame() override { return ownerFrame; }
    bool IsUserWorkingHere() override {
        ++workingHereAsked;
        return userWorkingHere;
    }
    void TookOver(WindowId window) override { tookOver.push_back(window); }
    void Released(WindowId window) override { released.push_back(window); }
    void NotTakenOver(WindowId window) override { notTakenOver.push_back(window); }
    void OnShortcut(Shortcut shortcut) override { shortcuts.push_back(shortcut); }

    std::set<WindowId> hostedElsewhere;
    bool bringToFront = false;
    WindowId ownerFrame = kNoWindow;
    bool userWorkingHere = true;
    int workingHereAsked = 0;
    std::vector<WindowId> tookOver;
    std::vector<WindowId> released;
    std::vector<WindowId> notTakenOver;
    std::vector<Shortcut> shortcuts;
};

class HostingTest : public ::testing::Test {
protected:
    HostingTest() {
        desktop.Window(hostView).clientRect = Rect{0, 0, 800, 600};
        context.ownerFrame = frame;
        engine.SetHostView(hostView);
        engine.SetCapture(true);
    }

    // A new viewer window, taken in by one cycle.
    WindowId Capture(const std::wstring& title = L"") {
        const WindowId window = desktop.AddViewerWindow(title);
        engine.RunCaptureCycle();
        EXPECT_TRUE(engine.Hosts(window));
        return window;
    }

    std::vector<WindowId> HostedOrder() const {
        std::vector<WindowId> order;
        for (const HostedWindowRecord& record : engine.Windows()) order.push_back(record.hWnd);
        return order;
    }

    FakeButton& ButtonOf(std::size_t index) { return buttons.Button(engine.Windows().at(index).pButton); }

    void ExpectIdsFollowRecords() {
        for (std::size_t i = 0; i < engine.Windows().size(); ++i)
            EXPECT_EQ(ButtonOf(i).controlId, kFirstButtonId + static_cast<int>(i)) << "record " << i;
    }

    FakeDesktop desktop;
    FakeButtons buttons;
    FakeContext context;
    const WindowId frame = desktop.AddWindow(L"FrameWindow");
    const WindowId hostView = desktop.AddWindow(L"HostView", L"", frame);
    HostingEngine engine{desktop, buttons, context};
};

}  // namespace vantrel::test

// Every end-to-end test starts from an empty profile and no running copy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

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
        ASSERT_TRUE(vantrel.Start());
        ASSERT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
    }

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
    std::vector<std::wstring> Captions() { return ButtonCaptions(frame); }

    VantrelProcess vantrel;
    ViewerProcess viewer;
    HWND frame = nullptr;
};

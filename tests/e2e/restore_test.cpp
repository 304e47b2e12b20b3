// Frames and documents brought back at the next start: through every way the program
// ends, for windows the viewer opens again later, and not at all with the setting off.
#include "e2e_fixture.h"

#include <memory>

#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

class Restore : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
    }
    void TearDown() override {
        vantrel.reset();
        VantrelTest::TearDown();
    }

    bool StartVantrel() {
        vantrel = std::make_unique<VantrelProcess>();
        if (!vantrel->Start() || !vantrel->WaitForStartup()) return false;
        main = vantrel->MainFrame();
        return main != nullptr;
    }
    // Waits for `count` additional frames, shown; none when the count is not reached.
    std::vector<HWND> AdditionalFrames(size_t count) {
        std::vector<HWND> extra;
        WaitFor(
            [&] {
                extra.clear();
                for (HWND f : vantrel->Frames()) {
                    if (f != main && ::IsWindowVisible(f)) extra.push_back(f);
                }
                return extra.size() == count;
            },
            8000);
        return extra.size() == count ? extra : std::vector<HWND>{};
    }
    HWND FrameTitled(const std::wstring& title) {
        for (HWND f : vantrel->Frames()) {
            if (WindowTitle(f) == title) return f;
        }
        return nullptr;
    }
    static testing::AssertionResult Shows(HWND owner, const Texts& captions) {
        if (WaitFor([&] { return owner != nullptr && ButtonCaptions(owner) == captions; }, 8000))
            return testing::AssertionSuccess();
        testing::AssertionResult failure = testing::AssertionFailure() << "shows";
        for (const std::wstring& caption : ButtonCaptions(owner)) failure << " [" << std::string(caption.begin(), caption.end()) << "]";
        return failure;
    }
    // The main frame's button `index` moves into additional frame `entry` ("Move to" order).
    bool Move(size_t index, int entry, HWND target) {
        const auto buttons = WindowButtons(main);
        if (index >= buttons.size()) return false;
        ::SendMessageW(buttons[index], BM_CLICK, 0, 0);
        if (!WaitFor([&] { return CheckedButton(main) == static_cast<int>(index); }, 3000)) return false;
        const size_t before = WindowButtons(target).size();
        ::SendMessageW(TaskbarControl(main), WM_COMMAND, ID_MOVE_TO_FIRST + entry, 0);
        return WaitFor([&] { return WindowButtons(target).size() == before + 1 && WindowButtons(main).size() == buttons.size() - 1; },
                       5000);
    }
    // Opens a document and waits until a frame hosts it.
    HWND Open(const std::wstring& title) {
        HWND doc = opener->Open(title);
        EXPECT_TRUE(WaitFor([&] { return doc != nullptr && !IsTopLevel(doc); }, 5000));
        return doc;
    }

    ViewerProcess viewer;
    ViewerProcess* opener = &viewer;
    std::unique_ptr<VantrelProcess> vantrel;
    HWND main = nullptr;
};

// Two named frames with documents in an order of their own; each way of ending brings
// back the same frames, names, documents and button order.
TEST_F(Restore, EveryWayOfEndingBringsTheFramesAndTheirDocumentsBack) {
    ASSERT_TRUE(StartVantrel());
    for (const wchar_t* title : {L"A.pdf", L"B.pdf", L"C.pdf", L"D.pdf", L"E.pdf", L"F.pdf"}) Open(title);
    HWND budget = vantrel->NewFrame(main);
    HWND notes = vantrel->NewFrame(main);
    ASSERT_TRUE(budget != nullptr && notes != nullptr);
    ::SendMessageW(budget, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Budget - Vantrel"));
    ::SendMessageW(notes, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"R&D notes - Vantrel"));
    ASSERT_TRUE(Move(4, 0, budget));  // E first, then C: not the order they came in
    ASSERT_TRUE(Move(2, 0, budget));
    ASSERT_TRUE(Move(3, 1, notes));   // F
    const Texts mainDocs{L"A.pdf", L"B.pdf", L"D.pdf"}, budgetDocs{L"E.pdf", L"C.pdf"}, notesDocs{L"F.pdf"};
    ASSERT_TRUE(Shows(main, mainDocs) && Shows(budget, budgetDocs) && Shows(notes, notesDocs));

    struct Ending {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Ending endings[] = {
        {"File > Exit", WM_COMMAND, ID_APP_EXIT},
        {"the main frame's Close", WM_CLOSE, 0},
        {"the tray's Exit", WM_COMMAND, ID_SYSTRAY_EXIT},
        {"session end", WM_QUERYENDSESSION, 0},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        if (ending.message == WM_QUERYENDSESSION) {
            EXPECT_TRUE(::SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
            ::SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            vantrel->Terminate();
        } else {
            ::PostMessageW(main, ending.message, ending.wParam, 0);
            ASSERT_TRUE(vantrel->WaitForExit(10000));
        }
        ASSERT_EQ(viewer.Windows().size(), 6u);
        for (HWND doc : viewer.Windows()) ASSERT_TRUE(IsTopLevel(doc));

        ASSERT_TRUE(StartVantrel());
        ASSERT_EQ(AdditionalFrames(2).size(), 2u);
        EXPECT_TRUE(Shows(main, mainDocs));
        EXPECT_TRUE(Shows(FrameTitled(L"Budget - Vantrel"), budgetDocs));
        EXPECT_TRUE(Shows(FrameTitled(L"R&D notes - Vantrel"), notesDocs));
    }
}

// Documents the viewer opens again in a later run: two of one title in their old
// order, one whose title comes a moment after its window, one never seen before.
// With the setting off nothing comes back and nothing new is remembered, and a
// stored value that is not ours starts Vantrel as if nothing was.
TEST_F(Restore, ReopenedDocumentsFindTheirFramesAndTheSettingOffChangesNothing) {
    ASSERT_TRUE(StartVantrel());
    for (const wchar_t* title : {L"Same.pdf", L"Same.pdf", L"Late.pdf", L"Kept.pdf"}) Open(title);
    HWND extra = vantrel->NewFrame(main);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(Move(1, 0, extra));  // the second Same.pdf
    ASSERT_TRUE(Move(1, 0, extra));  // Late.pdf
    ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel->WaitForExit(10000));
    // The viewer ends with its documents, and starts again another day.
    ASSERT_TRUE(viewer.Quit());
    ViewerProcess later;
    ASSERT_TRUE(later.Start(ViewerExe(), {L"--windows", L"0"}));
    opener = &later;

    ASSERT_TRUE(StartVantrel());
    const std::vector<HWND> frames = AdditionalFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    HWND late = Open(L" ");  // no title yet, as far as anyone can read
    later.SetTitle(late, L"Late.pdf");
    Open(L"Same.pdf");
    Open(L"Same.pdf");
    Open(L"New.pdf");
    EXPECT_TRUE(Shows(main, (Texts{L"Same.pdf", L"New.pdf"})));
    EXPECT_TRUE(Shows(frames[0], (Texts{L"Same.pdf", L"Late.pdf"})));

    // Off: the next start has no frame but the main one, and leaves what is stored.
    ::PostMessageW(main, WM_COMMAND, ID_RESTORE_FRAMES, 0);
    EXPECT_TRUE(WaitFor([&] { return ReadProfileDword(L"Settings", L"RestoreFrames") == 0u; }, 3000));
    const std::vector<BYTE> stored = ReadProfileBytes(L"Documents", L"Remembered");
    ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel->WaitForExit(10000));
    ASSERT_TRUE(StartVantrel());
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(main).size() == 4u; }, 8000));
    EXPECT_EQ(vantrel->Frames().size(), 1u);
    ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel->WaitForExit(10000));
    EXPECT_EQ(ReadProfileBytes(L"Documents", L"Remembered"), stored);

    // On again, over a value of another kind: nothing remembered, and the start goes on.
    WriteProfileDword(L"Settings", L"RestoreFrames", 1);
    WriteProfileRaw(L"Documents", L"Remembered", REG_SZ, L"VDOC", 10);
    ASSERT_TRUE(StartVantrel());
    EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(main).size() == 4u; }, 8000));
    EXPECT_EQ(vantrel->Frames().size(), 1u);
}

}  // namespace

// The find box: the documents of every frame filtered as the user types, Enter
// showing the chosen one's frame and bringing the document forward, Escape leaving
// everything as it was, and Ctrl+Shift+Space opening the box in the frame in use.
#include "e2e_fixture.h"

#include <shellapi.h>

#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kBoxCaption[] = L"Find document";
const std::wstring kInMain = L" \u2014 Main window: \"Vantrel\"";
const std::wstring kInFirst = L" \u2014 Window #1: \"Vantrel\"";

bool TrayIconExists(HWND frame) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = frame;
    probe.uID = 1;
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;  // changes nothing
}

// Any find box shown, and the frame that owns it.
HWND ShownBox() {
    HWND box = ::FindWindowW(L"#32770", kBoxCaption);
    return box != nullptr && ::IsWindowVisible(box) ? box : nullptr;
}

Texts Lines(HWND box) {
    HWND list = ::GetDlgItem(box, IDC_FIND_LIST);
    Texts lines;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring line(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        const LRESULT copied = ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        lines.push_back(copied >= 0 ? line : L"(unreadable " + std::to_wstring(length) + L")");
    }
    return lines;
}

std::wstring Selected(HWND box) {
    const LRESULT line = ::SendMessageW(::GetDlgItem(box, IDC_FIND_LIST), LB_GETCURSEL, 0, 0);
    const Texts lines = Lines(box);
    return line >= 0 && static_cast<size_t>(line) < lines.size() ? lines[static_cast<size_t>(line)] : L"(none)";
}

bool GoEnabled(HWND box) { return ::IsWindowEnabled(::GetDlgItem(box, IDOK)) != FALSE; }

// As typing does: the edit box tells the dialog of every change of its text.
void Type(HWND box, const std::wstring& text) {
    ::SendMessageW(::GetDlgItem(box, IDC_FIND_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A key in the edit box, as the dialog's own loop sees it.
void Key(HWND box, WORD key) {
    HWND edit = ::GetDlgItem(box, IDC_FIND_TEXT);
    ::PostMessageW(edit, WM_KEYDOWN, key, 0);
    ::PostMessageW(edit, WM_KEYUP, key, 0);
}

class Find : public HostingTest {
protected:
    void PrepareProfile() override {
        WriteProfileDword(L"Systray", L"Enable", 1);
        WriteProfileDword(L"Systray", L"OnClose", 1);
    }
    void SetUp() override {
        HostingTest::SetUp();
        if (HasFatalFailure()) return;
        // Only a frame the icon can bring back hides on close.
        ASSERT_TRUE(WaitFor([&] { return TrayIconExists(frame); }, 5000));
    }
    void TearDown() override {
        for (WORD key : {VK_SPACE, VK_SHIFT, VK_CONTROL}) ReleaseKey(key);
        HostingTest::TearDown();
    }
    HWND OpenBox(HWND owner) {
        ::PostMessageW(owner, WM_COMMAND, ID_FIND_DOCUMENT, 0);
        HWND box = nullptr;
        WaitFor([&] { return (box = ShownBox()) != nullptr; }, 5000);
        EXPECT_TRUE(box != nullptr && ::GetWindow(box, GW_OWNER) == owner);
        return box;
    }
    // Moves the window of the main frame's button `index` to additional frame 1.
    bool MoveToFirst(HWND extra, size_t index) {
        HWND window = ActivateWindow(frame, index);
        if (window == nullptr) return false;
        WindowCommand(frame, ID_MOVE_TO_FIRST);
        return WaitFor([&] { return ::GetAncestor(window, GA_PARENT) == HostView(extra); }, 3000);
    }
};

TEST_F(Find, ListsTheDocumentsOfEveryFrameThatTheWordsTypedFind) {
    OpenHosted(L"Annual report.pdf");
    OpenHosted(L"Budget & plan.xlsx");
    HWND draft = OpenHosted(L"Report draft.pdf");
    HWND extra = FrameWithWindow(2);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(WaitForCycles(extra));

    HWND box = OpenBox(frame);
    ASSERT_NE(box, nullptr);
    struct Case {
        const wchar_t* typed;
        Texts lines;  // the first one selected
    };
    const Case cases[] = {
        {L"", {L"Annual report.pdf" + kInMain, L"Budget & plan.xlsx" + kInMain, L"Report draft.pdf" + kInFirst}},
        {L"REPORT", {L"Report draft.pdf" + kInFirst, L"Annual report.pdf" + kInMain}},  // the title begins with it
        {L"plan &", {L"Budget & plan.xlsx" + kInMain}},
        {L"pdf draft", {L"Report draft.pdf" + kInFirst}},
        {L"nowhere", {}},
    };
    for (const Case& c : cases) {
        Type(box, c.typed);
        const std::string typed(c.typed, c.typed + std::wcslen(c.typed));
        EXPECT_EQ(Lines(box), c.lines) << typed;
        EXPECT_EQ(Selected(box), c.lines.empty() ? L"(none)" : c.lines.front()) << typed;
        EXPECT_EQ(GoEnabled(box), !c.lines.empty()) << typed;
    }

    // Down and Up in the edit box move the selection of the list.
    Type(box, L"pdf");
    Key(box, VK_DOWN);
    EXPECT_TRUE(WaitFor([&] { return Selected(box) == L"Report draft.pdf" + kInFirst; }, 3000)) << "Down";
    Key(box, VK_UP);
    EXPECT_TRUE(WaitFor([&] { return Selected(box) == L"Annual report.pdf" + kInMain; }, 3000)) << "Up";
    Key(box, VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return Selected(box) == L"Report draft.pdf" + kInFirst; }, 3000));

    // The selected document closes while the box is open: it leaves the list, nothing
    // else is selected in its place, and Enter does nothing.
    ASSERT_TRUE(viewer.Destroy(draft));
    EXPECT_TRUE(WaitFor([&] { return Lines(box) == Texts{L"Annual report.pdf" + kInMain}; }, 3000));
    EXPECT_EQ(Selected(box), L"(none)");
    EXPECT_FALSE(GoEnabled(box));
    Key(box, VK_RETURN);
    ASSERT_TRUE(WaitForCycles(frame));
    EXPECT_TRUE(::IsWindowVisible(box));
    Key(box, VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000));
}

TEST_F(Find, EnterShowsTheHiddenFrameOfTheDocumentAndBringsItForwardEscapeChangesNothing) {
    HWND left = OpenHosted(L"Left.pdf");
    HWND minutes = OpenHosted(L"Minutes.pdf");
    HWND notes = OpenHosted(L"Notes.pdf");
    HWND extra = FrameWithWindow(1);
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Captions() == Texts{L"Left.pdf", L"Notes.pdf"}; }, 3000));
    ASSERT_TRUE(MoveToFirst(extra, 1));
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(extra) == Texts{L"Minutes.pdf", L"Notes.pdf"}; }, 3000));
    ASSERT_EQ(ActivateWindow(extra, 1), notes);
    ASSERT_EQ(ActivateWindow(frame, 0), left);
    ::SendMessageW(extra, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_FALSE(::IsWindowVisible(extra));

    struct Case {
        WORD key;
        bool shown;      // the hidden frame is shown, in front
        HWND extraTop;   // and this document on top of it, its button checked
        int checked;
    };
    const Case cases[] = {
        {VK_ESCAPE, false, notes, 1},
        {VK_RETURN, true, minutes, 0},
    };
    for (const Case& c : cases) {
        HWND box = OpenBox(frame);
        ASSERT_NE(box, nullptr);
        Type(box, L"minutes");
        ASSERT_EQ(Selected(box), L"Minutes.pdf" + kInFirst);
        Key(box, c.key);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000)) << c.key;
        if (c.shown) {
            EXPECT_TRUE(WaitFor([&] { return ::GetTopWindow(HostView(extra)) == c.extraTop; }, 3000));
            EXPECT_TRUE(WaitFor([&] { return CheckedButton(extra) == c.checked; }, 3000));
            EXPECT_TRUE(::IsWindowVisible(extra));
            EXPECT_EQ(::GetAncestor(::GetForegroundWindow(), GA_ROOT), extra);
        } else {
            ASSERT_TRUE(WaitForCycles(extra));
            EXPECT_FALSE(::IsWindowVisible(extra)) << c.key;
            EXPECT_EQ(::GetTopWindow(HostView(extra)), c.extraTop) << c.key;
            EXPECT_EQ(CheckedButton(extra), c.checked) << c.key;
        }
        EXPECT_EQ(::GetTopWindow(HostView(frame)), left) << c.key;
    }
}

TEST_F(Find, CtrlShiftSpaceOpensTheBoxInTheFrameInUse) {
    OpenHosted(L"Kept.pdf");
    OpenHosted(L"Moved.pdf");
    // The cycle polls the keys as it goes over the frame's windows.
    HWND extra = FrameWithWindow(1);
    ASSERT_NE(extra, nullptr);
    ::SetWindowPos(frame, nullptr, 10, 10, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(extra, nullptr, 10, 440, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    // The additional frame first: frames poll in the order they came, so the main
    // frame acting out of turn would own the box.
    for (HWND inUse : {extra, frame}) {
        ::SetForegroundWindow(inUse);
        ASSERT_TRUE(WaitFor([&] { return ::GetAncestor(::GetForegroundWindow(), GA_ROOT) == inUse; }, 3000));
        // Wine takes the state of the modifier keys from X when one of its windows gets
        // the X focus, which may come after the keys went down: they are pressed anew.
        HWND box = nullptr;
        for (int attempt = 0; attempt < 3 && box == nullptr; ++attempt) {
            for (WORD key : {VK_CONTROL, VK_SHIFT, VK_SPACE}) PressKey(key);
            WaitFor([&] { return (box = ShownBox()) != nullptr; }, 1500);
            for (WORD key : {VK_SPACE, VK_SHIFT, VK_CONTROL}) ReleaseKey(key);
        }
        ASSERT_NE(box, nullptr) << (inUse == extra ? "in the additional frame" : "in the main frame");
        EXPECT_EQ(::GetWindow(box, GW_OWNER), inUse);
        EXPECT_EQ(Lines(box), (Texts{L"Kept.pdf" + kInMain, L"Moved.pdf" + kInFirst}));
        Key(box, VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000));
    }
}

}  // namespace

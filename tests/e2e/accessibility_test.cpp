// The window taskbar as a screen reader finds it, from another process: a tab list
// read through the system's accessibility interfaces, its events, and the keyboard
// that reaches it.
#include "e2e_fixture.h"

#include <ole2.h>
#include <oleacc.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "input.h"
#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;

// Owns one reference.
class Accessible {
public:
    Accessible() = default;
    explicit Accessible(HWND window) {
        void* object = nullptr;
        result = ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), &object);
        if (SUCCEEDED(result)) m_object = static_cast<IAccessible*>(object);
    }
    ~Accessible() {
        if (m_object != nullptr) m_object->Release();
    }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    IAccessible* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    HRESULT result = E_FAIL;

private:
    IAccessible* m_object = nullptr;
};

VARIANT Child(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring taken = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return taken;
}

long IntOf(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

// One tab as a reader gets it.
struct Tab {
    long role = 0;
    std::wstring name;
    long state = 0;
    RECT location{};
    std::wstring action;
};

struct TabList {
    long role = 0;
    std::wstring name;
    long count = -1;
    long selection = -1;  // the child id get_accSelection gives, 0 for none
    long focus = -1;      // the child id get_accFocus gives, -1 for none
    std::vector<Tab> tabs;
};

TabList Read(HWND control) {
    TabList list;
    Accessible object(control);
    if (!object) return list;
    VARIANT v;
    ::VariantInit(&v);
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accRole(Child(CHILDID_SELF), &v))) list.role = IntOf(v);
    if (SUCCEEDED(object->get_accName(Child(CHILDID_SELF), &text))) list.name = Take(text);
    object->get_accChildCount(&list.count);
    ::VariantInit(&v);
    list.selection = object->get_accSelection(&v) == S_OK ? IntOf(v) : 0;
    ::VariantInit(&v);
    list.focus = object->get_accFocus(&v) == S_OK ? IntOf(v) : -1;
    for (long id = 1; id <= list.count; ++id) {
        Tab tab;
        ::VariantInit(&v);
        if (SUCCEEDED(object->get_accRole(Child(id), &v))) tab.role = IntOf(v);
        text = nullptr;
        if (SUCCEEDED(object->get_accName(Child(id), &text))) tab.name = Take(text);
        ::VariantInit(&v);
        if (SUCCEEDED(object->get_accState(Child(id), &v))) tab.state = IntOf(v);
        long x = 0, y = 0, w = 0, h = 0;
        if (SUCCEEDED(object->accLocation(&x, &y, &w, &h, Child(id)))) tab.location = RECT{x, y, x + w, y + h};
        text = nullptr;
        if (SUCCEEDED(object->get_accDefaultAction(Child(id), &text))) tab.action = Take(text);
        list.tabs.push_back(tab);
    }
    return list;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Whether the reader's view is the taskbar as it shows: the tabs named as the buttons
// are captioned, where the buttons are, and only the checked one selected.
testing::AssertionResult ShowsAsTabs(const TabList& list, HWND frame, const Texts& names, int selected) {
    auto failure = [&](const std::string& what) { return testing::AssertionFailure() << what; };
    if (list.role != ROLE_SYSTEM_PAGETABLIST || list.name != L"Windows taskbar")
        return failure("list role " + std::to_string(list.role) + " name " + Narrow(list.name));
    if (list.count != static_cast<long>(names.size())) return failure("count " + std::to_string(list.count));
    if (list.selection != selected + 1) return failure("selection " + std::to_string(list.selection));
    const std::vector<HWND> buttons = WindowButtons(frame);
    for (size_t i = 0; i < names.size(); ++i) {
        const Tab& tab = list.tabs.at(i);
        RECT button{};
        if (i < buttons.size()) ::GetWindowRect(buttons[i], &button);
        const long expectedState = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE |
                                   (static_cast<int>(i) == selected ? STATE_SYSTEM_SELECTED : 0);
        if (tab.role != ROLE_SYSTEM_PAGETAB || tab.name != names[i] || (tab.state & ~STATE_SYSTEM_FOCUSED) != expectedState ||
            ::EqualRect(&tab.location, &button) == FALSE || tab.action != L"Switch")
            return failure("tab " + std::to_string(i + 1) + ": role " + std::to_string(tab.role) + " name " +
                           Narrow(tab.name) + " state " + std::to_string(tab.state) + " action " + Narrow(tab.action) +
                           " at " + std::to_string(tab.location.left) + "," + std::to_string(tab.location.top));
    }
    return testing::AssertionSuccess();
}

// Selection events heard through an out-of-context hook, as a reader hears them.
struct HeardEvent {
    HWND hwnd;
    LONG object;
    LONG child;
};
std::vector<HeardEvent> g_heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    g_heard.push_back(HeardEvent{hwnd, object, child});
}

class AccessibilityTest : public HostingTest {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        HostingTest::SetUp();
        ::SetWindowPos(frame, HWND_TOP, 10, 10, 900, 600, SWP_SHOWWINDOW);
        ASSERT_TRUE(ClickIntoFront());
    }
    void TearDown() override {
        for (WORD key : std::initializer_list<WORD>{VK_RIGHT, VK_TAB, 'T', VK_SHIFT, VK_CONTROL}) ReleaseKey(key);
        HostingTest::TearDown();
        ::CoUninitialize();
    }
    HWND Control() const { return TaskbarControl(frame); }
    bool InFront() const { return ::GetAncestor(::GetForegroundWindow(), GA_ROOT) == frame; }
    // A click on the pane's caption strip makes the frame the foreground window and
    // does nothing else; another window goes in front first, so that the wait ends
    // only once the click has arrived.
    bool ClickIntoFront() {
        OtherApplication other;
        ::SetForegroundWindow(other.Hwnd());
        if (!WaitFor([&] { return ::GetForegroundWindow() == other.Hwnd(); }, 3000)) return false;
        ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RECT pane{};
        ::GetWindowRect(TaskbarPane(frame), &pane);
        MoveMouseTo(POINT{pane.left + 80, pane.top + 12});
        PressLeftButton();
        ReleaseLeftButton();
        return WaitFor([&] { return InFront(); }, 3000);
    }
    // Holds the keys until `condition` holds, then lets them go: no longer than
    // needed, so that the repeat guard of the polled shortcuts does not fire twice.
    static bool HoldUntil(const std::vector<WORD>& keys, const std::function<bool()>& condition,
                          int timeoutMs = 3000) {
        for (WORD key : keys) PressKey(key);
        const bool met = WaitFor(condition, timeoutMs);
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) ReleaseKey(*key);
        return met;
    }
    // The keyboard focus of Vantrel's thread.
    HWND FocusInVantrel() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(frame, nullptr), &info) ? info.hwndFocus : nullptr;
    }
};

using Accessibility = AccessibilityTest;

TEST_F(Accessibility, TaskbarReadsAsTabsThroughSwitchRenameCloseAndCtrlTab) {
    Accessible probe(Control());
    ASSERT_TRUE(probe) << "no object for the taskbar across processes: " << std::hex << probe.result;
    std::vector<HWND> docs;
    for (const wchar_t* title : {L"Alpha.pdf", L"Beta.pdf", L"Gamma.pdf"}) docs.push_back(OpenHosted(title));
    ASSERT_TRUE(ShowsAsTabs(Read(Control()), frame, {L"Alpha.pdf", L"Beta.pdf", L"Gamma.pdf"}, 2));

    struct Step {
        const char* what;
        std::function<void()> act;
        Texts names;
        int selected;
    };
    const Step steps[] = {
        {"the reader switches to the first",
         [&] { EXPECT_EQ(probe->accDoDefaultAction(Child(1)), S_OK); },
         {L"Alpha.pdf", L"Beta.pdf", L"Gamma.pdf"}, 0},
        {"a document is renamed",
         [&] { EXPECT_TRUE(viewer.SetTitle(docs[1], L"Beta, second draft.pdf")); },
         {L"Alpha.pdf", L"Beta, second draft.pdf", L"Gamma.pdf"}, 0},
        {"a document closes", [&] { EXPECT_TRUE(viewer.Close(docs[2])); },
         {L"Alpha.pdf", L"Beta, second draft.pdf"}, 0},
        {"Ctrl+Tab", [&] { EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_TAB}, [&] { return CheckedButton(frame) == 1; })); },
         {L"Alpha.pdf", L"Beta, second draft.pdf"}, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_TRUE(WaitFor([&] { return ShowsAsTabs(Read(Control()), frame, step.names, step.selected); }, 5000));
        EXPECT_TRUE(ShowsAsTabs(Read(Control()), frame, step.names, step.selected));
        EXPECT_TRUE(WaitFor([&] { return ::GetTopWindow(HostView(frame)) == docs[static_cast<size_t>(step.selected)]; }, 3000));
    }
    // Stale and malformed child ids are refused, not obeyed.
    BSTR name = nullptr;
    EXPECT_EQ(probe->get_accName(Child(3), &name), E_INVALIDARG);
    EXPECT_EQ(probe->accDoDefaultAction(Child(-1)), E_INVALIDARG);
    EXPECT_EQ(probe->accDoDefaultAction(Child(99)), E_INVALIDARG);
}

TEST_F(Accessibility, CtrlTabTellsReadersOfTheNewSelection) {
    OpenHosted(L"First.pdf");
    OpenHosted(L"Second.pdf");
    ASSERT_TRUE(Activate(frame, 0));
    ASSERT_TRUE(WaitFor([&] { return InFront(); }, 3000));
    g_heard.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_SELECTION, nullptr, Hear,
                                           vantrel.Pid(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    EXPECT_TRUE(HoldUntil({VK_CONTROL, VK_TAB}, [&] { return CheckedButton(frame) == 1; }));
    // Wine 8 delivers it across processes as Windows does (measured: this one event
    // and no other); a few cycles more would show a second one.
    EXPECT_TRUE(WaitFor([&] { return !g_heard.empty(); }, 3000));
    EXPECT_TRUE(WaitForCycles(frame, 5));
    ::UnhookWinEvent(hook);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].hwnd, Control());
    EXPECT_EQ(g_heard[0].object, OBJID_CLIENT);
    EXPECT_EQ(g_heard[0].child, 2);
}

TEST_F(Accessibility, KeyboardReachesTheTaskbarAndWorksItsButtons) {
    std::vector<HWND> docs;
    for (const wchar_t* title : {L"One.pdf", L"Two.pdf", L"Three.pdf"}) docs.push_back(OpenHosted(title));
    ASSERT_TRUE(Activate(frame, 0));
    ASSERT_TRUE(WaitFor([&] { return InFront(); }, 3000));
    const auto focused = [&](long child) { return FocusInVantrel() == Control() && Read(Control()).focus == child; };
    const auto menu = [&] { return OpenPopupMenuOf(vantrel.Pid()); };
    // The screen just inside the left edge of button `index`, where a focus rectangle
    // shows; the second and third buttons are alike there but for it.
    const auto InnerEdge = [&](size_t index) {
        RECT rc{};
        ::GetWindowRect(WindowButtons(frame)[index], &rc);
        std::vector<COLORREF> pixels;
        for (LONG y = rc.top + 4; y < rc.bottom - 4; ++y) pixels.push_back(ScreenPixel(POINT{rc.left + 2, y}));
        return pixels;
    };
    // Where the menu opened, against the bottom left of the third button.
    const auto menuAtButton = [&] {
        RECT popup{}, button{};
        if (menu() == nullptr || !::GetWindowRect(menu(), &popup)) return false;
        ::GetWindowRect(WindowButtons(frame)[2], &button);
        return std::abs(popup.left - button.left) <= 4 && std::abs(popup.top - button.bottom) <= 4;
    };

    struct KeyStep {
        const char* what;
        std::vector<WORD> keys;
        std::function<bool()> done;
    };
    const KeyStep steps[] = {
        {"Ctrl+Shift+T, onto the active document's button", {VK_CONTROL, VK_SHIFT, 'T'}, [&] { return focused(1); }},
        {"Right", {VK_RIGHT}, [&] { return focused(2); }},
        {"End, the focus rectangle with it", {VK_END}, [&] { return focused(3) && InnerEdge(2) != InnerEdge(1); }},
        {"Home", {VK_HOME}, [&] { return focused(1) && InnerEdge(2) == InnerEdge(1); }},
        {"Right again", {VK_RIGHT}, [&] { return focused(2); }},
        {"Enter switches to its document",
         {VK_RETURN},
         [&] { return CheckedButton(frame) == 1 && ::GetTopWindow(HostView(frame)) == docs[1]; }},
        {"the focus went with it: Ctrl+Shift+T brings it back", {VK_CONTROL, VK_SHIFT, 'T'},
         [&] { return focused(2); }},
        {"Ctrl+Right moves the button, the focus with it",
         {VK_CONTROL, VK_RIGHT},
         [&] { return Captions() == Texts{L"One.pdf", L"Three.pdf", L"Two.pdf"} && focused(3); }},
        {"Shift+F10 opens its menu at the button", {VK_SHIFT, VK_F10}, menuAtButton},
        {"Escape closes the menu", {VK_ESCAPE}, [&] { return menu() == nullptr && focused(3); }},
        {"Escape gives the focus back to the document",
         {VK_ESCAPE},
         [&] { return FocusInVantrel() == docs[1] && Read(Control()).focus == -1; }},
    };
    for (const KeyStep& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_TRUE(HoldUntil(step.keys, step.done)) << "focus " << FocusInVantrel() << " tab "
                                                     << Read(Control()).focus << " menu " << menu();
    }
    EXPECT_EQ(CheckedButton(frame), 2) << "the document stays the active one";
}

// A reader may hold an object past its window; it then hears that the window went.
// The small controls around the taskbar say what they are for.
TEST_F(Accessibility, AGoneTaskbarAnswersNothingAndTheActionButtonIsDescribed) {
    HWND extra = vantrel.NewFrame(frame);
    ASSERT_NE(extra, nullptr);
    Accessible held(TaskbarControl(extra));
    ASSERT_TRUE(held);
    long count = -1;
    EXPECT_EQ(held->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    ::PostMessageW(extra, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(extra); }, 5000));
    BSTR text = nullptr;
    EXPECT_EQ(held->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(held->get_accName(Child(CHILDID_SELF), &text), RPC_E_DISCONNECTED);
    EXPECT_EQ(held->accDoDefaultAction(Child(1)), RPC_E_DISCONNECTED);

    Accessible action(::GetDlgItem(::GetDlgItem(frame, kCaptionBarId), ID_CAPTION_ACTION));
    ASSERT_TRUE(action);
    VARIANT role;
    ::VariantInit(&role);
    EXPECT_EQ(action->get_accRole(Child(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(IntOf(role), ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_EQ(action->get_accName(Child(CHILDID_SELF), &text), S_OK);
    EXPECT_EQ(Take(text), L"Action");
    text = nullptr;
    ASSERT_EQ(action->get_accDescription(Child(CHILDID_SELF), &text), S_OK);
    EXPECT_EQ(Take(text), L"Select your action, donate or hide");
}

}  // namespace

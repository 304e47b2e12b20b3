#pragma once
// The hosting engine of one container frame as a window: a grey "STATIC" strip that
// holds the window buttons, runs the capture cycle on its timer and hands every
// hosted window back to the desktop when it goes.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/HostingEngine.h"
#include "hosting/HostFrame.h"
#include "hosting/TaskbarAccessible.h"
#include "core/Settings.h"
#include "ui/ImageButton.h"
#include "ui/PopupMenu.h"
#include "ui/Window.h"

namespace hosting {

inline constexpr UINT_PTR kCaptureTimerId = 1025;
inline constexpr UINT_PTR kLetGoTimerId = 1026;
// Posted to the owner frame once a control letting go of its windows has none left.
inline constexpr UINT WM_VANTREL_WINDOWS_LET_GO = WM_APP + 0x31;
// With window events on, the full enumeration runs on every this many ticks only, as
// a safety net for anything an event missed; without them, on every tick. A z-order
// check without cause comes as often.
inline constexpr unsigned kTicksPerEnumeration = 20;
// Each hosted window's title (which also tells that it lives) is read on one tick in
// this many: 400 ms at the most between a change and its button. Each read asks the
// system, about 35 microseconds of processor under Wine.
inline constexpr unsigned kTitlePeriod = 8;
// The hidden button kept ready for the next capture, outside the window buttons' ids.
inline constexpr int kSpareButtonId = 0xFFFE;
// At a crash, how long windows on their way in are given to arrive, all together.
inline constexpr ULONGLONG kCrashArrivalWait = 2000;

class CWindowCtrl final : public ui::Window,
                          private vantrel::WindowButtons,
                          private vantrel::HostingContext,
                          private TaskbarTabs {
public:
    CWindowCtrl(vantrel::Desktop& desktop, vantrel::Settings& settings);
    ~CWindowCtrl() override;

    bool Create(HWND parent, UINT id);
    // Starts the capture cycle, and in the capturing frame the window events; the
    // frame calls it once it has set the host view. One timer paces the cycles of
    // every frame, one after the other, so that a tick wakes the program once.
    void StartCapture();
    void StopCapture();

    vantrel::HostingEngine& Engine() { return m_engine; }
    const std::vector<vantrel::HostedWindowRecord>& Windows() const { return m_engine.Windows(); }
    // Hands every hosted window back to the desktop; a frame that still captures
    // hears of them and takes them in. False when a window would not leave (it
    // keeps its button, and the next release tries again).
    bool ReleaseAllWindows();
    bool Hosts(vantrel::WindowId window) const { return m_engine.Hosts(window); }
    // The frame is closing: its cycle stops, and each hosted window goes back to the
    // desktop as soon as its program answers (handing a window back waits on its
    // program), so that a hung viewer holds up nothing but its own window. The owner
    // frame hears WM_VANTREL_WINDOWS_LET_GO once none is left.
    void LetGoOfWindows();
    bool IsLettingGo() const { return m_bLettingGo; }
    bool IsCycling() const { return m_bCycling; }
    static unsigned Tick();  // of the clock every frame's cycle runs on
    bool IsInCycle() const { return m_bInCycle; }
    // The record whose button is `button`, or null: for tests that ask what a button stands for.
    const vantrel::HostedWindowRecord* RecordOfButton(HWND button) const;
    // What the record's button says, read from the button: asking the window itself
    // would wait on its program. Empty for a record without a button.
    std::wstring ButtonCaption(const vantrel::HostedWindowRecord& record) const;
    // Brings a window this frame hosts forward as a click on its button does; false
    // when it is not here, or on its way to another frame.
    bool BringForward(HWND window);

    HostFrame* m_pOwnerFrame = nullptr;

    // Last resort on the way out of a dying process: re-parents every hosted window
    // of every control to the desktop, as the controls last published them, touching
    // nothing else.
    static void ReleaseEverywhereNow();
    // Publishes every control's windows for that, when they changed.
    static void PublishSnapshot();
    // The session ends: every control stops its cycle and hands its windows back,
    // since the process may be ended before any other frame hears of it.
    static void HandBackEverywhere();
    // The session goes on after all: every control takes back the windows it
    // handed back (those still on the desktop) and starts its cycle again.
    static void TakeBackEverywhere();

    // Takes in a window that another frame hands over: it becomes a child of our
    // host view with a new button at the end.
    void TakeWindow(HWND window);
    // Hands the window to additional frame `position` of the main frame's registry,
    // as the "Move to" menu does.
    void MoveToFrame(HWND window, unsigned position);
    // The per-window menu as it opens for this frame.
    ui::PopupMenu BuildWindowMenu();

    bool PreTranslateMessage(MSG& msg) override;

    // The keyboard comes to the taskbar, onto the active document's button. Returns
    // at once: the focus leaves a hosted window only once its program lets it go.
    void FocusTaskbar();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Posted to ourselves, so that the work is done from the message loop.
    static constexpr UINT kRetryClock = WM_APP + 0x40;
    static constexpr UINT kWindowAnswered = WM_APP + 0x41;
    static constexpr UINT kMakeSpare = WM_APP + 0x42;
    static constexpr UINT kUpdateTip = WM_APP + 0x43;
    static constexpr UINT kClickButton = WM_APP + 0x48;  // wParam: one of our buttons, as a click on it

    // Every live control, for the crash and session-end paths that must find them all.
    static std::vector<CWindowCtrl*>& LiveControls();
    static bool IsLive(const CWindowCtrl* control);

    void RunCycle(bool focusMoved);
    void OnWindowAppeared(HWND window);
    void OnAppearedWindowAnswered(HWND window);
    // The hosted windows that are ours to hand back (not handed to another frame), in
    // button order.
    std::vector<HWND> OwnWindows() const;
    void OnLetGoTick();
    void FinishLettingGoWhenEmpty();
    void AnnounceReleased(const std::vector<HWND>& windows);
    // The timer lives on one cycling control; when it stops, another takes it.
    static void StartClock();
    // A control that stops or goes hands the timer on, if it has it.
    void LeaveClock();
    static void OnClockTick();
    void OnPaint();
    // The button's menu at `at`; from the mouse its window comes forward first.
    void ShowWindowMenu(HWND button, POINT at, bool bringForward);
    void OnContextMenu(HWND clicked, LPARAM at);
    bool OnCommand(UINT id);
    // A per-window command on `window`; false when `id` is no such command.
    bool RunWindowCommand(UINT id, HWND window);
    void MoveToMainFrame(HWND window);
    void MoveToNewFrame(HWND window);
    void HandOver(HWND window, CWindowCtrl& target);
    HWND ActiveWindow();

    std::unique_ptr<ui::ImageButton> MakeButton(int controlId, DWORD visible);
    void PrepareSpareButton();
    void OnUpdateTip(const ui::ImageButton* button);

    // The keyboard and readers on the taskbar (hosting/TaskbarAccess.cpp).
    bool OnKeyDown(UINT key);
    // Asks for the keyboard focus, without waiting on the program that holds it.
    void TakeFocus();
    void OnClickButton(HWND button);
    void OnFocusChanged(bool focused);
    void SetFocusButton(ui::ImageButton* button);
    // The buttons in button order, which is the order of the records.
    std::vector<ui::ImageButton*> ButtonsInOrder() const;
    // A button's child id for readers (its place from 1), or 0 when it has no record yet.
    long ChildIdOf(const ui::ImageButton* button) const;
    void Announce(DWORD event, const ui::ImageButton* button);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    // TaskbarTabs
    int TabCount() override;
    std::wstring TabName(int index) override;
    RECT TabRect(int index) override;
    int SelectedTab() override;
    int FocusedTab() override;
    void ActivateTab(int index) override;
    void FocusTab(int index) override;

    // WindowButtons
    vantrel::ButtonId Create(int controlId) override;
    void Destroy(vantrel::ButtonId button) override;
    std::wstring Caption(vantrel::ButtonId button) override;
    void SetCaption(vantrel::ButtonId button, const std::wstring& text) override;
    bool IsChecked(vantrel::ButtonId button) override;
    void SetChecked(vantrel::ButtonId button, bool checked) override;
    void SetControlId(vantrel::ButtonId button, int controlId) override;
    vantrel::Size OuterSize(vantrel::ButtonId button) override;
    void Place(vantrel::ButtonId button, vantrel::Point topLeft) override;
    int RowWidth() override;
    int Dpi() override;
    void SetFaceColor(vantrel::ButtonId button, std::uint32_t rgb) override;
    void CaptureMouse(vantrel::ButtonId button) override;
    void ReleaseMouse() override;

    // HostingContext
    bool IsHostedElsewhere(vantrel::WindowId window) override;
    bool BringToFrontOnCapture() override;
    vantrel::WindowId OwnerFrame() override;
    bool IsUserWorkingHere() override;
    void TookOver(vantrel::WindowId window) override;
    void NotTakenOver(vantrel::WindowId window) override;
    void Released(vantrel::WindowId window) override;
    vantrel::WindowId JourneyOwner() override;
    void OnShortcut(vantrel::Shortcut shortcut) override;
    void Recorded(vantrel::WindowId window, bool handed) override;

    static ui::ImageButton* AsButton(vantrel::ButtonId button) {
        return reinterpret_cast<ui::ImageButton*>(button);
    }

    vantrel::Desktop& m_desktop;
    vantrel::Settings& m_settings;
    vantrel::HostingEngine m_engine;
    ui::Tooltip m_tips;  // shared by the buttons, so declared before them: it goes after
    std::vector<std::unique_ptr<ui::ImageButton>> m_buttons;
    std::vector<HWND> m_handedBack;  // at a session end, in button order
    std::unique_ptr<ui::ImageButton> m_spare;  // hidden, made ahead for the next capture
    HBRUSH m_background = nullptr;
    UINT m_nElapse = vantrel::kCaptureElapse;
    bool m_bCycling = false;  // between StartCapture and StopCapture
    bool m_bInCycle = false;
    bool m_bLettingGo = false;
    unsigned m_nTicksToEnumeration = 0;
    // The button the keyboard works on while the taskbar has the focus; one of m_buttons or null.
    ui::ImageButton* m_focusButton = nullptr;
    ui::AccessibleSlot<TaskbarAccessible> m_accessible;
};

}  // namespace hosting

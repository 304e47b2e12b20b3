#pragma once
// The hosting logic of one container frame: its hosted-window records and buttons,
// the capture cycle, and button dragging. It reaches windows only through Desktop
// and WindowButtons, so it runs against the real desktop and against a fake one.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/Desktop.h"
#include "core/Journeys.h"
#include "core/WindowButtons.h"

namespace vantrel {

inline constexpr wchar_t kViewerWindowClass[] = L"AcrobatSDIWindow";
inline constexpr unsigned kCaptureElapse = 50;  // milliseconds between capture cycles
inline constexpr int kKeyDelayAfterShortcut = 1000;  // shortcut guard right after one fired
// A window announced by the desktop whose program does not answer yet is tried again
// this many times, once per cycle; after that only the full enumeration finds it.
inline constexpr int kOfferAttempts = 20;
// The system re-parents a window first and then tells its program and the programs
// whose input it shares, any of which may hang: a window that has been where it was
// going for this long is there, whatever the re-parenting still waits for.
inline constexpr std::uint64_t kArrivalGrace = 250;
// Windows that came in wait this long at most for one on its way ahead of them, so
// that buttons come in the order the windows did.
inline constexpr std::uint64_t kOrderHold = 2000;
// A window announced by the desktop is left to its announcement, which comes once its
// program has answered, for this long; after that the enumeration may take it.
inline constexpr std::uint64_t kAnnouncementWait = 2000;
// A release of everything waits this long at most for the windows on their way in.
inline constexpr unsigned kReleaseWait = 5000;

// What became of a window looked at for capture.
enum class CaptureResult {
    Taken,    // hosted now, with a button
    NotOurs,  // no viewer window, hosted already, or gone: nothing to do
    Refused,  // a viewer window we could not adopt now (its program is busy, say)
};

// How often each way of finding windows ran and what it took in, and where the time
// of the captures went, summed in microseconds.
struct CaptureCounts {
    unsigned cycles = 0;
    unsigned enumerations = 0;
    unsigned takenFromOffers = 0;
    unsigned takenByEnumeration = 0;
    unsigned records = 0;  // records added, by capture or by a move from another frame
    unsigned cutShort = 0;  // cycles that stopped early since the records changed under them
    std::uint64_t setParentMicros = 0;  // re-parenting, the answer checks before it included
    std::uint64_t attachMicros = 0;
    std::uint64_t showMicros = 0;
    std::uint64_t buttonMicros = 0;  // making the button
    std::uint64_t layoutMicros = 0;
    std::uint64_t captionMicros = 0;  // caption and tooltip, the first time
};

// What one capture cycle looks at. The full cycle, the default, reads every record's
// title and parent and the z-order of the host view. A light one reads the titles of
// a share of the records in turn (a title read also proves the window alive), the
// parents now and then, and the z-order only when something may have changed it:
// under an idle program the cycle then costs next to nothing, whatever is hosted.
struct CycleScope {
    bool enumerate = true;     // look at every top-level window for new viewer windows
    bool zOrder = true;        // check marks and the fit of a maximized window on top
    bool parents = true;       // that every hosted window is still in the host view
    unsigned titlePeriod = 1;  // each record's title is read on one cycle in this many
    unsigned tick = 0;         // the number of this cycle, which picks the share
};

struct HostedWindowRecord {
    WindowId hWnd = kNoWindow;      // belongs to the viewer, never owned
    ButtonId pButton = kNoButton;   // owned: destroyed with the record
    bool bMoved = false;            // handed to another frame; dropped by the next cycle
    bool bHanding = false;          // on its way to another frame, which tells how it went
    bool bFresh = true;             // its title not read yet: the next cycle reads it
    unsigned nVisited = 0;          // the cycle that last looked at it, for tests
};

// Shortcuts the cycle polls that the frame around it carries out.
enum class Shortcut {
    FindDocument,  // Ctrl+Shift+Space
    GoToTaskbar,   // Ctrl+Shift+T
};

// What the engine asks of the frame around it.
class HostingContext {
public:
    virtual ~HostingContext() = default;
    // True when another container frame already hosts the window.
    virtual bool IsHostedElsewhere(WindowId window) = 0;
    // "Settings"/"BringToFront", read anew each time.
    virtual bool BringToFrontOnCapture() = 0;
    // The container frame's own window.
    virtual WindowId OwnerFrame() = 0;
    // True when the frame is the foreground window or contains it: the shortcuts
    // are global keys, and only the frame the user works in may act on them.
    virtual bool IsUserWorkingHere() = 0;
    // A window another frame handed to this one is in: that frame lets go of it.
    virtual void TookOver(WindowId window) { (void)window; }
    // A window another frame was handing over did not come: that frame keeps it.
    virtual void NotTakenOver(WindowId window) { (void)window; }
    // A window this frame let go of is back on the desktop.
    virtual void Released(WindowId window) { (void)window; }
    // The window the desktop tells of the outcomes of this frame's journeys.
    virtual WindowId JourneyOwner() { return kNoWindow; }
    // A window has its record and button now: taken in, or handed by another frame.
    virtual void Recorded(WindowId window, bool handed) {
        (void)window;
        (void)handed;
    }
    // A polled shortcut fired in this frame; carried out once the cycle is over.
    virtual void OnShortcut(Shortcut shortcut) { (void)shortcut; }
};

// Face colours of a dragged button.
inline constexpr std::uint32_t kDragFaceColor = 0x001414BE;      // RGB(190, 20, 20)
inline constexpr std::uint32_t kAfterDragFaceColor = 0x00C8D0D4; // RGB(212, 208, 200)
inline constexpr int kDragStartDistance = 5;   // more than this starts a drag
inline constexpr int kDragSwapDistance = 100;  // more than this moves the button one place

class HostingEngine {
public:
    HostingEngine(Desktop& desktop, WindowButtons& buttons, HostingContext& context);
    HostingEngine(const HostingEngine&) = delete;
    HostingEngine& operator=(const HostingEngine&) = delete;

    void SetHostView(WindowId hostView) { m_hHostView = hostView; }
    WindowId HostView() const { return m_hHostView; }
    // Off also forgets the windows offered and not yet taken.
    void SetCapture(bool capture);
    bool Captures() const { return m_bCapture; }
    void SetTabMode(bool tabMode) { m_bTabMode = tabMode; }
    bool TabMode() const { return m_bTabMode; }

    // One tick: drop dead and moved-away records, keep titles, check marks and tab
    // mode in step and, when capturing, take in new viewer windows: those offered and
    // not yet taken, then, when the scope says so, every top-level window there is.
    // A light cycle still reads the z-order when our own doing may have changed it,
    // and the title of a record whose button has none yet. Returns whether a record
    // was dropped.
    bool RunCaptureCycle(const CycleScope& scope);
    bool RunCaptureCycle(bool enumerate = true) {
        CycleScope scope;
        scope.enumerate = enumerate;
        return RunCaptureCycle(scope);
    }
    // Looks at one top-level window and captures it when it is a viewer window that
    // no frame hosts yet.
    CaptureResult ConsiderTopLevelWindow(WindowId window);
    // A window the desktop reports as created or shown, which may be anything: taken
    // in at once when it is a top-level viewer window that no frame hosts. Windows
    // whose program does not answer yet wait for the next cycles, and so do the ones
    // offered after them, so that windows are taken in the order they came.
    void OfferWindow(WindowId window);
    // A window the desktop reports, whose program is being asked whether it answers:
    // the enumeration leaves it to its offer, which comes with the answer, so that
    // windows that come together are taken in the order they came.
    void AnnounceWindow(WindowId window);
    std::size_t PendingOffers() const { return m_offers.size(); }
    // The journeys of windows on their way in or out, which this frame began: every
    // cycle looks at them, and so does the outcome told by the desktop.
    bool JourneysUnderWay() const { return !m_journeys.Empty(); }
    const Journeys& JourneyList() const { return m_journeys; }
    // Changes whenever a record or a journey comes or goes.
    unsigned Generation() const { return m_nGeneration + m_journeys.Generation(); }
    void PollJourneys();
    void OnReparentDone(Ticket ticket);
    void OnAnswered(Ticket ticket);
    // Takes in a window that another frame of ours hands over, now or once its
    // program lets it in; until then the other frame keeps it. Refused when the
    // window is on its way already, here or elsewhere.
    TakeState TakeHandedWindow(WindowId window);
    // The record's window is on its way to another frame (or no longer is).
    void MarkHanding(std::size_t index, bool handing);
    // The frame is closing: each hosted window is let go of once its program has
    // answered, on a journey of its own, and announced once it is out. Called on a
    // timer until LetGoDone.
    void LetGoTick();
    bool LetGoDone() const { return m_windows.empty() && m_journeys.Empty(); }
    const CaptureCounts& Counts() const { return m_counts; }
    // Records a window that is already a child of the host view.
    void AddHostedWindow(WindowId window);
    bool SyncButtonTitle(ButtonId button, WindowId window);
    // The same with the title read already.
    bool SyncButtonCaption(ButtonId button, const std::wstring& title);
    void FitMaximizedWindow(std::size_t index);
    int GetActiveIndex();
    void ActivateIndex(int index);
    // Ctrl+Tab, Ctrl+Shift+Tab and Ctrl+F4, polled by the cycle once per visited record,
    // and Ctrl+Shift+Space and Ctrl+Shift+T, which the frame carries out. Returns
    // whether a shortcut fired.
    bool PollShortcuts();
    // Hands every hosted window back to the desktop and forgets it; from then on no
    // window is taken in (not even by a cycle that was waiting on a window while the
    // release ran) until AcceptWindows. A window that will not leave keeps its
    // record, so that the next release tries again; returns whether all left.
    bool ReleaseAllWindows();
    // Hands one hosted window back to the desktop and forgets it, or just forgets it
    // when it is gone or lives elsewhere now. A window that will not leave keeps its
    // record; returns whether the record went.
    bool ReleaseWindow(WindowId window);
    void AcceptWindows() { m_bReleased = false; }
    bool IsReleased() const { return m_bReleased; }
    void RelayoutButtons();

    // A click on the button with this control id brings its window forward.
    void OnButtonClicked(int controlId);
    // Button dragging; controlId is that of the button under the message.
    void OnLeftButtonDown(Point cursor);
    void OnLeftButtonUp();
    void OnMouseMove(Point cursor, bool onlyLeftButton, int controlId);
    bool IsDragging() const { return m_bDragging; }
    int DragIndex() const { return m_nDragIndex; }
    // Moves the button of the record at `index` by `delta` places, as a drag moves it
    // one place at a time, stopping at the ends. Returns the record's index now, or -1
    // for a stale index; nothing moves while a drag owns the order.
    int MoveButton(int index, int delta);

    // Commands of the button menu on the record at `index`; nothing for a stale index
    // or a record handed to another frame.
    void CloseWindowAt(int index);
    void MaximizeWindowAt(int index);
    void MinimizeWindowAt(int index);
    void CenterWindowAt(int index);
    // The same on the active record, if there is one.
    void CloseActiveWindow() { CloseWindowAt(GetActiveIndex()); }
    void MaximizeActiveWindow() { MaximizeWindowAt(GetActiveIndex()); }
    void MinimizeActiveWindow() { MinimizeWindowAt(GetActiveIndex()); }
    void CenterActiveWindow() { CenterWindowAt(GetActiveIndex()); }

    // Commands on every hosted window of this frame, in button order.
    void TileHorizontally();
    void TileVertically();
    void CloseAllWindows();

    // Index of the record owning the button, or -1.
    int IndexOfButton(ButtonId button) const;
    // Moves the record, and its button, from one place to another; the records between
    // close up, as a drag over them would leave them.
    void MoveRecord(std::size_t from, std::size_t to);
    // Puts the record's window in front, so that it becomes the active record.
    void BringForward(int index);

    const std::vector<HostedWindowRecord>& Windows() const { return m_windows; }
    bool Hosts(WindowId window) const { return IndexOfWindow(window) >= 0; }
    // Index of the record of this window, or -1.
    int IndexOfWindow(WindowId window) const;
    // Hands the record's window to another frame: the next cycle drops the record.
    void MarkMoved(std::size_t index);
    // Drops the record of a window that left or died, and its button.
    void DropRecordOf(WindowId window);

    int& KeyDelay() { return m_nKeyDelay; }

private:
    void DropRecords(const std::vector<std::size_t>& indices);
    // Hands the record's window back to the desktop, trying this many times; false
    // while it is still in the host view. One that is not ours to hand back counts as out.
    bool HandBack(const HostedWindowRecord& record, int tries);
    void Renumber();
    void SwapRecords(std::size_t a, std::size_t b);
    // The record at `index` when a command may act on it, or null.
    const HostedWindowRecord* CommandRecord(int index) const;
    std::vector<WindowId> HandleCopy() const;
    void TakeOfferedWindows();
    bool IsOffered(WindowId window) const;
    bool IsAnnounced(WindowId window) const;
    void ForgetStaleAnnouncements();
    // ConsiderTopLevelWindow once the class is known to be the viewer's.
    CaptureResult ConsiderViewerWindow(WindowId window);
    CaptureResult ConsiderOfferedWindow(WindowId window);
    // A window that has come into the host view: attached, shown and recorded.
    CaptureResult CompleteTake(WindowId window, bool handed);
    // Begins re-parenting a window into the host view on a journey of `kind`.
    TakeState BeginTakeIn(WindowId window, JourneyKind kind);
    // Moves a journey on once its outcome is known, or once its window arrived or died.
    void Advance(Ticket ticket);
    void FinishInOrder();
    bool ArrivedEarly(const Journey& journey);

    Desktop& m_desktop;
    WindowButtons& m_buttons;
    HostingContext& m_context;

    bool m_bTabMode = false;
    Point m_ptDragRef;
    bool m_bDragging = false;
    int m_nDragIndex = 0;
    WindowId m_hHostView = kNoWindow;
    bool m_bCapture = false;
    bool m_bReleased = false;
    Journeys m_journeys;
    unsigned m_nGeneration = 0;
    // Something of ours may have changed the z-order (a capture, an activation, a
    // drop): the next cycle reads it, light or not.
    bool m_bZOrderStale = true;
    Size m_hostViewSize;  // as the last z-order check found it: a new size refits
    std::vector<HostedWindowRecord> m_windows;
    std::wstring m_strClassName = kViewerWindowClass;
    int m_nKeyDelay = 0;
    // Counts releases and reorderings, so a cycle can tell that its indices went stale
    // while it waited for a window.
    unsigned m_nReshapes = 0;

    struct Offer {
        WindowId window;
        int attempts;
    };
    std::deque<Offer> m_offers;  // in the order the desktop announced them
    struct Announcement {
        WindowId window;
        std::uint64_t since;
    };
    std::vector<Announcement> m_announced;  // their programs asked, not answered yet
    bool m_bOffersWait = false;  // the first one was refused: the rest waits for a cycle
    bool m_bTakingOffers = false;
    CaptureCounts m_counts;
};

}  // namespace vantrel

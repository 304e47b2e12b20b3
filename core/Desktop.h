#pragma once
// What the hosting logic does to windows, as a narrow interface. Window handles are
// opaque ids here; the Win32 adapter passes them straight to the platform, and the
// tests' fake desktop keeps its own.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Geometry.h"

namespace vantrel {

using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;
// Names one journey of a window (core/Journeys.h): the outcome of something that may
// wait on the window's program comes back under it.
using Ticket = std::uint32_t;
inline constexpr Ticket kNoTicket = 0;

enum class ShowCommand { Show, ShowNormal, ShowMaximized, Minimize, Restore, Hide };

// How a re-parenting stands: it may wait on the window's program.
enum class TakeState { Taken, Refused, Pending };

// The keys of the window-switching shortcuts.
enum class Key { Control, Shift, Tab, F4, Space, T };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Every top-level window of the class (in any letter case), in z-order, listed
    // before the first is visited; the visitor returns false to stop early.
    virtual void EnumTopLevelWindowsOfClass(const std::wstring& className,
                                            const std::function<bool(WindowId)>& visit) = 0;
    // Both read into 260 characters, so at most 259 come back.
    virtual std::wstring ClassName(WindowId window) = 0;
    virtual std::wstring Title(WindowId window) = 0;
    // The title, or nothing when the window is gone: one question where two would do.
    virtual std::optional<std::wstring> TitleIfAlive(WindowId window) = 0;

    virtual bool IsWindow(WindowId window) = 0;
    // Whether the window belongs to this program: we never capture our own windows.
    virtual bool IsOwnWindow(WindowId window) = 0;
    virtual bool IsVisible(WindowId window) = 0;
    virtual bool IsZoomed(WindowId window) = 0;
    virtual bool HasMaximizedStyle(WindowId window) = 0;  // the WS_MAXIMIZE style bit
    virtual Rect WindowRect(WindowId window) = 0;           // outer rectangle, screen coordinates
    virtual Rect ClientRect(WindowId window) = 0;           // client coordinates
    virtual WindowId Parent(WindowId window) = 0;           // kNoWindow for a top-level window
    virtual WindowId TopChild(WindowId parent) = 0;         // first child in z-order

    // kNoWindow as the new parent hands the window back to the desktop. Waits for
    // the window's program if it must.
    virtual bool SetParent(WindowId window, WindowId newParent) = 0;
    // Begins re-parenting the window into `parent` (kNoWindow: the desktop) under
    // `ticket`. Taking a window in first makes sure that its program and the programs
    // hosted already answer, and is refused when they do not. A window that is on its
    // way somewhere already is refused too: one re-parenting at a time. A desktop on
    // which re-parenting may wait does it elsewhere and answers Pending; it tells
    // `owner` once the outcome is known, and ReparentResult then reads it, once.
    virtual TakeState BeginReparent(Ticket ticket, WindowId window, WindowId parent, WindowId owner) {
        (void)ticket;
        (void)owner;
        return SetParent(window, parent) ? TakeState::Taken : TakeState::Refused;
    }
    virtual TakeState ReparentResult(Ticket ticket) {
        (void)ticket;
        return TakeState::Refused;
    }
    // The owner will not read this outcome: the window died or arrived meanwhile.
    virtual void ForgetReparent(Ticket ticket) { (void)ticket; }
    // Returns once these re-parentings are over, or after `timeoutMs`.
    virtual void WaitForReparents(const std::vector<Ticket>& tickets, unsigned timeoutMs) {
        (void)tickets;
        (void)timeoutMs;
    }
    // Asks the window's program whether it answers, without waiting: `owner` is told
    // under `ticket` once it has. False when the window is gone.
    virtual bool AskAnswer(Ticket ticket, WindowId window, WindowId owner) = 0;
    // A clock in milliseconds, for how long a journey has been under way.
    virtual std::uint64_t Milliseconds() = 0;
    // Attaches our input processing to the window's thread, for good.
    virtual void AttachInput(WindowId window) = 0;
    virtual void Show(WindowId window, ShowCommand command) = 0;
    // Top-left corner to a point of the parent's client area, size and z-order kept.
    virtual void MoveTo(WindowId window, Point topLeft) = 0;
    virtual void Move(WindowId window, const Rect& rect) = 0;  // repaints
    // Activation calls leave the window on top of its siblings, which is where the
    // logic looks for the window the user is working with.
    virtual void SetActive(WindowId window) = 0;
    virtual void SetForeground(WindowId window) = 0;
    virtual void SwitchTo(WindowId window) = 0;
    // Asks the window to close and returns at once; the answer is not waited for.
    virtual void Close(WindowId window) = 0;
    // Asks the windows to close one after the other, each once the one before has
    // answered, gone or stopped answering; returns at once.
    virtual void CloseInTurn(const std::vector<WindowId>& windows) = 0;

    // Whether the key is held down right now, whichever program has the keyboard.
    virtual bool IsKeyDown(Key key) = 0;
};

}  // namespace vantrel

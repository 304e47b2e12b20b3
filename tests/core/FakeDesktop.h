#pragma once
// An in-memory desktop: windows with a class, a title, a parent and flags, one z-order
// for all of them, and a log of the calls that change what the user sees.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Desktop.h"
#include "core/HostingEngine.h"

namespace vantrel::test {

struct FakeWindow {
    std::wstring className;
    std::wstring title;
    WindowId parent = kNoWindow;
    bool alive = true;
    bool visible = true;
    bool zoomed = false;
    bool maximizedStyle = false;
    bool refusesNewParent = false;  // SetParent fails, as for a window of a higher integrity level
    bool staysOpen = false;         // answers WM_CLOSE by keeping the window, as after "Cancel"
    bool ours = false;              // belongs to the program under test
    bool answers = true;            // its program answers: taking it in is not refused
    Rect windowRect;
    Rect clientRect;
};

class FakeDesktop : public Desktop {
public:
    // New windows go to the top of the z-order.
    WindowId AddWindow(const std::wstring& className, const std::wstring& title = L"",
                       WindowId parent = kNoWindow);
    WindowId AddViewerWindow(const std::wstring& title = L"") {
        return AddWindow(kViewerWindowClass, title);
    }
    FakeWindow& Window(WindowId window) { return m_windows.at(window); }
    void Kill(WindowId window) { Window(window).alive = false; }
    void BringToTop(WindowId window);

    void Press(Key key) { m_keysDown.insert(key); }
    void ReleaseKeys() { m_keysDown.clear(); }
    // Runs while a close waits for the viewer, before the window goes.
    std::function<void(WindowId)> onClose;
    // Runs while taking a window in waits for its program (our messages keep coming
    // then), before the new parent is set; it gets the window.
    std::function<void(WindowId)> onTakeIn;

    // Re-parentings begun while this is set wait, as on a program that is busy, until
    // the test ends them; WaitForReparents ends them all but those of a window whose
    // program never lets go (`neverEnding`). EndTake tells under which ticket.
    bool takesWait = false;
    Ticket EndTake(WindowId window, bool taken);
    std::set<WindowId> neverEnding;
    int takeWaits = 0;
    unsigned lastWaitMs = 0;
    int forgotten = 0;  // re-parentings whose outcome the owner said it will not read
    // Programs asked whether they answer, and the test answering for one.
    bool Asked(WindowId window) const { return m_asks.count(window) != 0; }
    Ticket Answer(WindowId window);
    std::uint64_t now = 0;  // what Milliseconds says

    // Calls that change windows, as "Name window [argument]"; queries are not logged.
    const std::vector<std::string>& Calls() const { return m_calls; }
    std::vector<std::string> CallsOn(WindowId window) const;
    void ClearCalls() { m_calls.clear(); }
    // How often the titles and the z-order were asked for: what a cycle costs.
    int titleReads = 0;
    int topChildReads = 0;

    void EnumTopLevelWindowsOfClass(const std::wstring& className,
                                    const std::function<bool(WindowId)>& visit) override;
    std::wstring ClassName(WindowId window) override;
    std::wstring Title(WindowId window) override;
    std::optional<std::wstring> TitleIfAlive(WindowId window) override;
    bool IsWindow(WindowId window) override;
    bool IsOwnWindow(WindowId window) override;
    bool IsVisible(WindowId window) override;
    bool IsZoomed(WindowId window) override;
    bool HasMaximizedStyle(WindowId window) override;
    Rect WindowRect(WindowId window) override;
    Rect ClientRect(WindowId window) override;
    WindowId Parent(WindowId window) override;
    WindowId TopChild(WindowId parent) override;
    bool SetParent(WindowId window, WindowId newParent) override;
    TakeState BeginReparent(Ticket ticket, WindowId window, WindowId parent, WindowId owner) override;
    TakeState ReparentResult(Ticket ticket) override;
    void ForgetReparent(Ticket ticket) override;
    void WaitForReparents(const std::vector<Ticket>& tickets, unsigned timeoutMs) override;
    bool AskAnswer(Ticket ticket, WindowId window, WindowId owner) override;
    std::uint64_t Milliseconds() override { return now; }
    void AttachInput(WindowId window) override;
    void Show(WindowId window, ShowCommand command) override;
    void MoveTo(WindowId window, Point topLeft) override;
    void Move(WindowId window, const Rect& rect) override;
    void SetActive(WindowId window) override;
    void SetForeground(WindowId window) override;
    void SwitchTo(WindowId window) override;
    void Close(WindowId window) override;
    // Each in order, as if every one answered at once.
    void CloseInTurn(const std::vector<WindowId>& windows) override;
    bool IsKeyDown(Key key) override { return m_keysDown.count(key) != 0; }

private:
    struct Waiting {
        WindowId window;
        WindowId parent;
    };
    std::map<Ticket, Waiting> m_waiting;
    std::map<Ticket, TakeState> m_ended;
    std::map<WindowId, Ticket> m_asks;
    void End(Ticket ticket, bool taken);
    const FakeWindow* Find(WindowId window) const;
    void Log(const char* call, WindowId window, const std::string& argument = "");

    std::map<WindowId, FakeWindow> m_windows;
    std::vector<WindowId> m_zOrder;  // front first, all parents mixed
    std::vector<std::string> m_calls;
    std::set<Key> m_keysDown;
    WindowId m_nextId = 0x100;
};

}  // namespace vantrel::test

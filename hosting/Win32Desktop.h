#pragma once
// The real desktop behind the hosting logic: each call is the platform's own.
// Calls on another program's window must never freeze us when that program hangs:
// showing and moving are asynchronous, activation first checks that the window
// answers, and a close is asked and never waited for.

#include <windows.h>

#include "core/Desktop.h"

namespace hosting {

// Posted to a journey's owner with the ticket in wParam: a re-parenting is over, or
// the program asked whether it answers has answered.
inline constexpr UINT WM_VANTREL_REPARENTED = WM_APP + 0x44;
inline constexpr UINT WM_VANTREL_ANSWERED = WM_APP + 0x45;

class Win32Desktop final : public vantrel::Desktop {
public:
    void EnumTopLevelWindowsOfClass(const std::wstring& className,
                                    const std::function<bool(vantrel::WindowId)>& visit) override;
    std::wstring ClassName(vantrel::WindowId window) override;
    std::wstring Title(vantrel::WindowId window) override;
    std::optional<std::wstring> TitleIfAlive(vantrel::WindowId window) override;
    bool IsWindow(vantrel::WindowId window) override;
    bool IsOwnWindow(vantrel::WindowId window) override;
    bool IsVisible(vantrel::WindowId window) override;
    bool IsZoomed(vantrel::WindowId window) override;
    bool HasMaximizedStyle(vantrel::WindowId window) override;
    vantrel::Rect WindowRect(vantrel::WindowId window) override;
    vantrel::Rect ClientRect(vantrel::WindowId window) override;
    vantrel::WindowId Parent(vantrel::WindowId window) override;
    vantrel::WindowId TopChild(vantrel::WindowId parent) override;
    bool SetParent(vantrel::WindowId window, vantrel::WindowId newParent) override;
    vantrel::TakeState BeginReparent(vantrel::Ticket ticket, vantrel::WindowId window, vantrel::WindowId parent,
                                     vantrel::WindowId owner) override;
    vantrel::TakeState ReparentResult(vantrel::Ticket ticket) override;
    void ForgetReparent(vantrel::Ticket ticket) override;
    void WaitForReparents(const std::vector<vantrel::Ticket>& tickets, unsigned timeoutMs) override;
    bool AskAnswer(vantrel::Ticket ticket, vantrel::WindowId window, vantrel::WindowId owner) override;
    std::uint64_t Milliseconds() override;
    void AttachInput(vantrel::WindowId window) override;
    void Show(vantrel::WindowId window, vantrel::ShowCommand command) override;
    void MoveTo(vantrel::WindowId window, vantrel::Point topLeft) override;
    void Move(vantrel::WindowId window, const vantrel::Rect& rect) override;
    void SetActive(vantrel::WindowId window) override;
    void SetForeground(vantrel::WindowId window) override;
    void SwitchTo(vantrel::WindowId window) override;
    void Close(vantrel::WindowId window) override;
    void CloseInTurn(const std::vector<vantrel::WindowId>& windows) override;
    bool IsKeyDown(vantrel::Key key) override;

    // A new round of capture cycles: the key state is read anew.
    static void NewTick();
    // Microseconds spent asking windows whether they answer before taking them in.
    static unsigned long long ProbeMicros();

private:
    static bool CanActivate(HWND window);
};

}  // namespace hosting

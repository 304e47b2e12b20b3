#include "tests/core/FakeDesktop.h"

#include <gtest/gtest.h>

#include "core/Text.h"

#include <algorithm>

namespace vantrel::test {

namespace {

const char* NameOf(ShowCommand command) {
    switch (command) {
        case ShowCommand::Show: return "Show";
        case ShowCommand::ShowNormal: return "ShowNormal";
        case ShowCommand::ShowMaximized: return "ShowMaximized";
        case ShowCommand::Minimize: return "Minimize";
        case ShowCommand::Restore: return "Restore";
        case ShowCommand::Hide: return "Hide";
    }
    return "?";
}

std::string IdText(WindowId window) { return std::to_string(window); }

}  // namespace

WindowId FakeDesktop::AddWindow(const std::wstring& className, const std::wstring& title,
                                WindowId parent) {
    const WindowId id = m_nextId++;
    FakeWindow window;
    window.className = className;
    window.title = title;
    window.parent = parent;
    window.windowRect = Rect{0, 0, 400, 300};
    window.clientRect = Rect{0, 0, 400, 300};
    m_windows[id] = window;
    m_zOrder.insert(m_zOrder.begin(), id);
    return id;
}

void FakeDesktop::BringToTop(WindowId window) {
    m_zOrder.erase(std::remove(m_zOrder.begin(), m_zOrder.end(), window), m_zOrder.end());
    m_zOrder.insert(m_zOrder.begin(), window);
}

std::vector<std::string> FakeDesktop::CallsOn(WindowId window) const {
    const std::string id = " " + IdText(window);
    std::vector<std::string> calls;
    for (const std::string& call : m_calls) {
        const auto at = call.find(id);
        if (at != std::string::npos && (at + id.size() == call.size() || call[at + id.size()] == ' '))
            calls.push_back(call);
    }
    return calls;
}

const FakeWindow* FakeDesktop::Find(WindowId window) const {
    const auto it = m_windows.find(window);
    return it != m_windows.end() && it->second.alive ? &it->second : nullptr;
}

void FakeDesktop::Log(const char* call, WindowId window, const std::string& argument) {
    std::string entry = std::string(call) + " " + IdText(window);
    if (!argument.empty()) entry += " " + argument;
    m_calls.push_back(entry);
}

void FakeDesktop::EnumTopLevelWindowsOfClass(const std::wstring& className,
                                             const std::function<bool(WindowId)>& visit) {
    // Listed first, visited after: re-parenting during the walk is safe.
    std::vector<WindowId> topLevel;
    for (WindowId id : m_zOrder) {
        const FakeWindow* window = Find(id);
        if (window && window->parent == kNoWindow && EqualNoCase(window->className, className)) topLevel.push_back(id);
    }
    for (WindowId id : topLevel) {
        if (!visit(id)) return;
    }
}

std::wstring FakeDesktop::ClassName(WindowId window) {
    const FakeWindow* found = Find(window);
    return found ? found->className.substr(0, 259) : std::wstring();
}

std::wstring FakeDesktop::Title(WindowId window) {
    const FakeWindow* found = Find(window);
    return found ? found->title : std::wstring();  // uncut: the engine must cut it itself
}

std::optional<std::wstring> FakeDesktop::TitleIfAlive(WindowId window) {
    ++titleReads;
    if (!Find(window)) return std::nullopt;
    return Title(window);
}

bool FakeDesktop::IsWindow(WindowId window) { return Find(window) != nullptr; }

bool FakeDesktop::IsOwnWindow(WindowId window) {
    const FakeWindow* found = Find(window);
    return found && found->ours;
}

bool FakeDesktop::IsVisible(WindowId window) {
    const FakeWindow* found = Find(window);
    return found && found->visible;
}

bool FakeDesktop::IsZoomed(WindowId window) {
    const FakeWindow* found = Find(window);
    return found && found->zoomed;
}

bool FakeDesktop::HasMaximizedStyle(WindowId window) {
    const FakeWindow* found = Find(window);
    return found && found->maximizedStyle;
}

Rect FakeDesktop::WindowRect(WindowId window) {
    const FakeWindow* found = Find(window);
    return found ? found->windowRect : Rect{};
}

Rect FakeDesktop::ClientRect(WindowId window) {
    const FakeWindow* found = Find(window);
    return found ? found->clientRect : Rect{};
}

WindowId FakeDesktop::Parent(WindowId window) {
    const FakeWindow* found = Find(window);
    return found ? found->parent : kNoWindow;
}

WindowId FakeDesktop::TopChild(WindowId parent) {
    ++topChildReads;
    for (WindowId id : m_zOrder) {
        const FakeWindow* window = Find(id);
        if (window && window->parent == parent) return id;
    }
    return kNoWindow;
}

bool FakeDesktop::SetParent(WindowId window, WindowId newParent) {
    Log("SetParent", window, IdText(newParent));
    if (newParent != kNoWindow && onTakeIn) {
        auto hook = std::move(onTakeIn);  // once
        onTakeIn = nullptr;
        hook(window);
    }
    if (!Find(window) || Window(window).refusesNewParent) return false;
    Window(window).parent = newParent;
    BringToTop(window);
    return true;
}

TakeState FakeDesktop::BeginReparent(Ticket ticket, WindowId window, WindowId parent, WindowId) {
    for (const auto& waiting : m_waiting) {
        if (waiting.second.window == window) return TakeState::Refused;  // on its way already
    }
    if (parent != kNoWindow && Find(window) && !Window(window).answers) return TakeState::Refused;
    if (!takesWait) return SetParent(window, parent) ? TakeState::Taken : TakeState::Refused;
    Log(parent != kNoWindow ? "BeginTake" : "BeginHandBack", window, IdText(parent));
    m_waiting[ticket] = Waiting{window, parent};
    return TakeState::Pending;
}

void FakeDesktop::End(Ticket ticket, bool taken) {
    const Waiting waiting = m_waiting.at(ticket);
    m_waiting.erase(ticket);
    if (taken && Find(waiting.window) && Window(waiting.window).alive) {
        Window(waiting.window).parent = waiting.parent;
        BringToTop(waiting.window);
    }
    m_ended[ticket] = taken ? TakeState::Taken : TakeState::Refused;
}

Ticket FakeDesktop::EndTake(WindowId window, bool taken) {
    for (const auto& waiting : m_waiting) {
        if (waiting.second.window != window) continue;
        const Ticket ticket = waiting.first;
        End(ticket, taken);
        return ticket;
    }
    ADD_FAILURE() << "no re-parenting of " << window << " waits";
    return kNoTicket;
}

TakeState FakeDesktop::ReparentResult(Ticket ticket) {
    if (m_waiting.count(ticket) != 0) return TakeState::Pending;
    const auto ended = m_ended.find(ticket);
    if (ended == m_ended.end()) return TakeState::Refused;
    const TakeState state = ended->second;
    m_ended.erase(ended);
    return state;
}

void FakeDesktop::ForgetReparent(Ticket ticket) {
    ++forgotten;
    m_ended.erase(ticket);
    // Its program may still let it go some day; the outcome is never read then.
    const auto waiting = m_waiting.find(ticket);
    if (waiting != m_waiting.end()) waiting->second.window = kNoWindow;
}

void FakeDesktop::WaitForReparents(const std::vector<Ticket>& tickets, unsigned timeoutMs) {
    ++takeWaits;
    lastWaitMs = timeoutMs;
    for (const Ticket ticket : tickets) {
        const auto waiting = m_waiting.find(ticket);
        if (waiting != m_waiting.end() && neverEnding.count(waiting->second.window) == 0) End(ticket, true);
    }
}

bool FakeDesktop::AskAnswer(Ticket ticket, WindowId window, WindowId) {
    if (!IsWindow(window)) return false;
    Log("AskAnswer", window);
    m_asks[window] = ticket;
    return true;
}

Ticket FakeDesktop::Answer(WindowId window) {
    const auto asked = m_asks.find(window);
    if (asked == m_asks.end()) return kNoTicket;
    const Ticket ticket = asked->second;
    m_asks.erase(asked);
    return ticket;
}

void FakeDesktop::AttachInput(WindowId window) { Log("AttachInput", window); }

void FakeDesktop::Show(WindowId window, ShowCommand command) {
    Log("Show", window, NameOf(command));
    if (!Find(window)) return;
    FakeWindow& target = Window(window);
    switch (command) {
        case ShowCommand::Show: target.visible = true; break;
        case ShowCommand::ShowMaximized:
            target.visible = true;
            target.zoomed = target.maximizedStyle = true;
            break;
        case ShowCommand::ShowNormal:
        case ShowCommand::Restore:
            target.visible = true;
            target.zoomed = target.maximizedStyle = false;
            break;
        case ShowCommand::Minimize: target.zoomed = target.maximizedStyle = false; break;
        case ShowCommand::Hide: target.visible = false; break;
    }
}

void FakeDesktop::MoveTo(WindowId window, Point topLeft) {
    Log("MoveTo", window, std::to_string(topLeft.x) + "," + std::to_string(topLeft.y));
    if (!Find(window)) return;
    Rect& rect = Window(window).windowRect;
    rect = Rect{topLeft.x, topLeft.y, topLeft.x + rect.Width(), topLeft.y + rect.Height()};
}

void FakeDesktop::Move(WindowId window, const Rect& rect) {
    Log("Move", window,
        std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
            std::to_string(rect.right) + "," + std::to_string(rect.bottom));
    if (Find(window)) Window(window).windowRect = rect;
}

void FakeDesktop::SetActive(WindowId window) {
    Log("SetActive", window);
    if (Find(window)) BringToTop(window);
}

void FakeDesktop::SetForeground(WindowId window) {
    Log("SetForeground", window);
    if (Find(window)) BringToTop(window);
}

void FakeDesktop::SwitchTo(WindowId window) { Log("SwitchTo", window); }

void FakeDesktop::Close(WindowId window) {
    Log("Close", window);
    if (onClose) onClose(window);
    if (Find(window) && !Window(window).staysOpen) Kill(window);
}

void FakeDesktop::CloseInTurn(const std::vector<WindowId>& windows) {
    for (WindowId window : windows) Close(window);
}

}  // namespace vantrel::test

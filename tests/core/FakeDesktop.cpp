#include "tests/core/FakeDesktop.h"

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

TakeState FakeDesktop::BeginTake(WindowId window, WindowId parent) {
    if (!takesWait) return SetParent(window, parent) ? TakeState::Taken : TakeState::Refused;
    Log("BeginTake", window, IdText(parent));
    m_waitingTakes[window] = parent;
    return TakeState::Pending;
}

void FakeDesktop::EndTake(WindowId window, bool taken) {
    const WindowId parent = m_waitingTakes.at(window);
    m_waitingTakes.erase(window);
    if (taken && Find(window) && Window(window).alive) {
        Window(window).parent = parent;
        BringToTop(window);
    }
    m_endedTakes[window] = taken ? TakeState::Taken : TakeState::Refused;
}

TakeState FakeDesktop::TakeResult(WindowId window) {
    if (m_waitingTakes.count(window) != 0) return TakeState::Pending;
    const auto ended = m_endedTakes.find(window);
    if (ended == m_endedTakes.end()) return TakeState::Refused;
    const TakeState state = ended->second;
    m_endedTakes.erase(ended);
    return state;
}

void FakeDesktop::WaitForTakes() {
    ++takeWaits;
    while (!m_waitingTakes.empty()) EndTake(m_waitingTakes.begin()->first, true);
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

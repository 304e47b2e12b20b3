// What the user asks of hosted windows: the button menu's commands, the commands on
// every window of the frame, and the switching shortcuts.

#include "core/HostingEngine.h"

#include <cstddef>
#include <vector>

#include "core/WindowArithmetic.h"

namespace vantrel {

namespace {
// Takes only the desktop and the handle copy: a window may answer a call by having
// our frame closed, and then nothing of the engine may be touched any more.
void PlaceWindows(Desktop& desktop, const std::vector<WindowId>& windows, const std::vector<Rect>& tiles) {
    for (std::size_t i = 0; i < windows.size() && i < tiles.size(); ++i) {
        // A maximized window ignores a new size until it is restored; a minimized one
        // stays minimized and takes the position for when it comes back.
        if (desktop.IsZoomed(windows[i])) desktop.Show(windows[i], ShowCommand::Restore);
        desktop.Move(windows[i], tiles[i]);
    }
}
}  // namespace

void HostingEngine::FitMaximizedWindow(std::size_t index) {
    if (index >= m_windows.size()) return;
    const HostedWindowRecord& record = m_windows[index];
    if (record.bMoved) return;
    if (!m_desktop.HasMaximizedStyle(record.hWnd)) return;
    // A maximized child keeps the size of the parent it was maximized in; the host
    // view may have been resized since, or the window may come from another frame.
    const Rect outer = m_desktop.WindowRect(record.hWnd);
    const Rect client = m_desktop.ClientRect(m_hHostView);
    if (outer.Width() != client.Width() || outer.Height() != client.Height()) {
        m_desktop.Move(record.hWnd, Rect{client.left, client.top, client.left + client.Width(),
                                         client.top + client.Height()});
    }
}

int HostingEngine::GetActiveIndex() { return IndexOfWindow(m_desktop.TopChild(m_hHostView)); }

void HostingEngine::ActivateIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return;
    m_bZOrderStale = true;
    m_desktop.SetActive(m_windows[static_cast<std::size_t>(index)].hWnd);
}

bool HostingEngine::PollShortcuts() {
    if (m_nKeyDelay > 0) return false;
    if (!m_desktop.IsKeyDown(Key::Control)) return false;
    const bool tab = m_desktop.IsKeyDown(Key::Tab);
    const bool f4 = m_desktop.IsKeyDown(Key::F4);
    // Ctrl+Shift+Space and Ctrl+Shift+T need Shift: Ctrl+Space and Ctrl+T are the
    // viewer's own.
    const bool shift = (tab || f4) ? false : m_desktop.IsKeyDown(Key::Shift);
    const bool space = shift && m_desktop.IsKeyDown(Key::Space);
    const bool t = shift && !space && m_desktop.IsKeyDown(Key::T);
    if (!tab && !f4 && !space && !t) return false;
    // The keys are global: every frame sees them, only the one the user works in acts.
    if (!m_context.IsUserWorkingHere()) return false;
    m_nKeyDelay = kKeyDelayAfterShortcut;
    if (space || t) {
        m_context.OnShortcut(space ? Shortcut::FindDocument : Shortcut::GoToTaskbar);
        return true;
    }

    const int active = GetActiveIndex();
    const int count = static_cast<int>(m_windows.size());
    if (tab) {
        if (!m_desktop.IsKeyDown(Key::Shift)) {
            ActivateIndex(active == count - 1 ? 0 : active + 1);  // none active: the first
        } else {
            ActivateIndex((active == 0 ? count : active) - 1);  // none active: nothing
        }
        return true;
    }
    // Shift is not looked at: Ctrl+Shift+F4 closes the active window too.
    if (active >= 0) m_desktop.Close(m_windows[static_cast<std::size_t>(active)].hWnd);
    return true;
}

const HostedWindowRecord* HostingEngine::CommandRecord(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return nullptr;
    const HostedWindowRecord& record = m_windows[static_cast<std::size_t>(index)];
    return record.bMoved || record.bHanding ? nullptr : &record;
}

void HostingEngine::CloseWindowAt(int index) {
    if (const HostedWindowRecord* record = CommandRecord(index)) m_desktop.Close(record->hWnd);
}

void HostingEngine::MaximizeWindowAt(int index) {
    m_bZOrderStale = true;  // a maximized window on top is fitted
    if (const HostedWindowRecord* record = CommandRecord(index))
        m_desktop.Show(record->hWnd, ShowCommand::ShowMaximized);
}

void HostingEngine::MinimizeWindowAt(int index) {
    m_bZOrderStale = true;
    if (const HostedWindowRecord* record = CommandRecord(index)) m_desktop.Show(record->hWnd, ShowCommand::Minimize);
}

void HostingEngine::CenterWindowAt(int index) {
    const HostedWindowRecord* record = CommandRecord(index);
    if (record == nullptr) return;
    const Rect outer = m_desktop.WindowRect(record->hWnd);
    const Rect client = m_desktop.ClientRect(m_hHostView);
    m_desktop.Move(record->hWnd, CenteredRect(Size{outer.Width(), outer.Height()}, client));
}

std::vector<WindowId> HostingEngine::HandleCopy() const {
    std::vector<WindowId> windows;
    windows.reserve(m_windows.size());
    for (const HostedWindowRecord& record : m_windows) windows.push_back(record.hWnd);
    return windows;
}

void HostingEngine::TileHorizontally() {
    m_bZOrderStale = true;
    const std::vector<WindowId> windows = HandleCopy();
    if (windows.empty()) return;
    PlaceWindows(m_desktop, windows, TileRows(windows.size(), m_desktop.ClientRect(m_hHostView)));
}

void HostingEngine::TileVertically() {
    m_bZOrderStale = true;
    const std::vector<WindowId> windows = HandleCopy();
    if (windows.empty()) return;
    PlaceWindows(m_desktop, windows, TileColumns(windows.size(), m_desktop.ClientRect(m_hHostView)));
}

void HostingEngine::CloseAllWindows() {
    // The cycle drops the windows that went; those that refuse keep their buttons.
    m_desktop.CloseInTurn(HandleCopy());
}

void HostingEngine::BringForward(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return;
    const HostedWindowRecord& record = m_windows[static_cast<std::size_t>(index)];
    m_bZOrderStale = true;
    if (!record.bMoved) m_desktop.SetForeground(record.hWnd);
}

}  // namespace vantrel

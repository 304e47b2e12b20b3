// The button strip: captions, the layout of the buttons in rows, their control ids in
// record order, and dragging a button to another place.

#include "core/HostingEngine.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "core/ButtonLayout.h"
#include "core/Stopwatch.h"
#include "core/Text.h"

namespace vantrel {

namespace {

constexpr std::size_t kMaxTitle = 259;  // what a 260-character buffer holds

// Control ids come from window messages, so a stale or foreign one must map to nothing.
std::optional<std::size_t> RecordIndexOf(int controlId, std::size_t count) {
    if (controlId < kFirstButtonId) return std::nullopt;
    const auto index = static_cast<std::size_t>(controlId - kFirstButtonId);
    if (index >= count) return std::nullopt;
    return index;
}

}  // namespace

bool HostingEngine::SyncButtonTitle(ButtonId button, WindowId window) {
    if (button == kNoButton) return false;
    return SyncButtonCaption(button, m_desktop.Title(window));
}

bool HostingEngine::SyncButtonCaption(ButtonId button, const std::wstring& raw) {
    if (button == kNoButton) return false;
    const std::wstring title = ShownTitle(raw, kMaxTitle);
    // Letter case alone is not worth a resize and a re-layout.
    const std::wstring caption = m_buttons.Caption(button);
    if (EqualNoCase(caption, title)) return false;
    if (caption.empty()) {
        Stopwatch watch(m_counts.captionMicros);
        m_buttons.SetCaption(button, title);
    } else {
        m_buttons.SetCaption(button, title);
    }
    return true;
}

void HostingEngine::RelayoutButtons() {
    std::vector<ButtonId> shown;
    std::vector<Size> sizes;
    shown.reserve(m_windows.size());
    sizes.reserve(m_windows.size());
    for (const HostedWindowRecord& record : m_windows) {
        if (record.pButton == kNoButton) continue;
        shown.push_back(record.pButton);
        sizes.push_back(m_buttons.OuterSize(record.pButton));
    }
    const std::vector<Point> positions = LayoutButtons(sizes, m_buttons.RowWidth(), m_buttons.Dpi());
    for (std::size_t i = 0; i < shown.size(); ++i) m_buttons.Place(shown[i], positions[i]);
}

void HostingEngine::OnButtonClicked(int controlId) {
    const auto index = RecordIndexOf(controlId, m_windows.size());
    if (!index) return;
    const HostedWindowRecord& record = m_windows[*index];
    if (record.bMoved) return;  // handed over; its button goes with the next cycle
    m_bZOrderStale = true;
    m_desktop.SetForeground(record.hWnd);
}

void HostingEngine::OnLeftButtonDown(Point cursor) { m_ptDragRef = cursor; }

void HostingEngine::OnLeftButtonUp() {
    if (!m_bDragging) return;
    m_buttons.ReleaseMouse();
    m_bDragging = false;
    if (m_nDragIndex < 0 || static_cast<std::size_t>(m_nDragIndex) >= m_windows.size()) return;
    const ButtonId button = m_windows[static_cast<std::size_t>(m_nDragIndex)].pButton;
    if (button != kNoButton) m_buttons.SetFaceColor(button, kAfterDragFaceColor);
}

void HostingEngine::OnMouseMove(Point cursor, bool onlyLeftButton, int controlId) {
    // Shift or a second mouse button turns the movement into something else than a drag.
    if (!onlyLeftButton) return;
    // Wide enough that far-apart screen coordinates cannot overflow.
    const long long dx = static_cast<long long>(cursor.x) - m_ptDragRef.x;
    const auto index = RecordIndexOf(controlId, m_windows.size());

    if ((dx > kDragStartDistance || dx < -kDragStartDistance) && !m_bDragging) {
        if (!index) return;
        const ButtonId button = m_windows[*index].pButton;
        if (button == kNoButton) return;
        m_buttons.CaptureMouse(button);
        m_bDragging = true;
        m_nDragIndex = static_cast<int>(*index);
        m_buttons.SetFaceColor(button, kDragFaceColor);
    } else if (dx > kDragSwapDistance && m_bDragging) {
        if (!index || *index + 1 >= m_windows.size()) return;
        SwapRecords(*index, *index + 1);
        ++m_nDragIndex;
        m_ptDragRef = cursor;
        RelayoutButtons();
    } else if (dx < -kDragSwapDistance && m_bDragging) {
        if (!index || *index == 0) return;
        SwapRecords(*index, *index - 1);
        --m_nDragIndex;
        m_ptDragRef = cursor;
        RelayoutButtons();
    }
}

int HostingEngine::MoveButton(int index, int delta) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_windows.size()) return -1;
    if (m_bDragging) return index;
    const int last = static_cast<int>(m_windows.size()) - 1;
    const int target = delta < 0 ? (delta < -index ? 0 : index + delta) : (delta > last - index ? last : index + delta);
    for (int i = index; i < target; ++i) SwapRecords(static_cast<std::size_t>(i), static_cast<std::size_t>(i) + 1);
    for (int i = index; i > target; --i) SwapRecords(static_cast<std::size_t>(i), static_cast<std::size_t>(i) - 1);
    if (target != index) RelayoutButtons();
    return target;
}

void HostingEngine::Renumber() {
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i].pButton != kNoButton)
            m_buttons.SetControlId(m_windows[i].pButton, ControlIdOf(i));
    }
}

void HostingEngine::MoveRecord(std::size_t from, std::size_t to) {
    if (from >= m_windows.size() || to >= m_windows.size() || from == to) return;
    for (std::size_t i = from; i < to; ++i) SwapRecords(i, i + 1);
    for (std::size_t i = from; i > to; --i) SwapRecords(i, i - 1);
    RelayoutButtons();
}

void HostingEngine::SwapRecords(std::size_t a, std::size_t b) {
    if (a >= m_windows.size() || b >= m_windows.size()) return;
    std::swap(m_windows[a], m_windows[b]);
    ++m_nReshapes;
    m_bZOrderStale = true;
    if (m_windows[a].pButton != kNoButton) m_buttons.SetControlId(m_windows[a].pButton, ControlIdOf(a));
    if (m_windows[b].pButton != kNoButton) m_buttons.SetControlId(m_windows[b].pButton, ControlIdOf(b));
}

}  // namespace vantrel

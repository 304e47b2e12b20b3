#include "ui/DockMarkers.h"

#include "ui/Accessible.h"
#include "ui/Dpi.h"
#include "ui/Look.h"
#include "ui/Window.h"

namespace ui {
namespace {
const wchar_t kMarkerClass[] = L"VantrelDockMarker";
constexpr DockSide kSides[4] = {DockSide::Bottom, DockSide::Top, DockSide::Left, DockSide::Right};
// Marker size and its distance from the edge, at 96 DPI.
constexpr int kMarkerSize = 32;
constexpr int kMarkerInset = 8;

const wchar_t* SideName(DockSide side) {
    switch (side) {
    case DockSide::Bottom: return L"Bottom";
    case DockSide::Top: return L"Top";
    case DockSide::Left: return L"Left";
    case DockSide::Right: return L"Right";
    case DockSide::Floating: break;
    }
    return L"";
}

// What a reader says of a marker: its title names only the edge.
const wchar_t* SpokenName(DockSide side) {
    switch (side) {
    case DockSide::Bottom: return L"Dock at the bottom";
    case DockSide::Top: return L"Dock at the top";
    case DockSide::Left: return L"Dock on the left";
    case DockSide::Right: return L"Dock on the right";
    case DockSide::Floating: break;
    }
    return L"";
}
}  // namespace

// One marker: a small square with an arrow towards its edge, lit while the
// cursor is on it. Named after its edge, so that tools can tell them apart.
class DockMarker : public Window {
public:
    explicit DockMarker(DockSide side) : m_side(side) {}

    bool Make(HWND frame) {
        if (Hwnd() != nullptr) return true;
        RegisterClassOnce(kMarkerClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
        return CreateWnd(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMarkerClass, SideName(m_side),
                         WS_POPUP, 0, 0, 0, 0, frame, nullptr) != nullptr;
    }
    void Place(const RECT& rc) {
        ::SetWindowPos(Hwnd(), HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    void Light(bool lit) {
        if (lit == m_lit) return;
        m_lit = lit;
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    bool Contains(POINT cursor) const {
        if (Hwnd() == nullptr || !::IsWindowVisible(Hwnd())) return false;
        const RECT rc = WindowRectOnScreen();
        return ::PtInRect(&rc, cursor) != FALSE;
    }
    DockSide Side() const { return m_side; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the pane being moved stays the one under the cursor
        case WM_GETOBJECT:
            if (!AsksForClient(lParam)) break;
            if (m_reader.Get() == nullptr) m_reader.Keep(NamedAccessible::Make(Hwnd(), SpokenName(m_side)));
            return m_reader.Get()->Answer(wParam);
        case WM_DESTROY:
            m_reader.Reset();
            break;
        default:
            break;
        }
        return DefaultProc(message, wParam, lParam);
    }

private:
    void OnPaint() {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Hwnd(), &ps);
        const Look& look = Look::Current();
        const RECT rc = ClientRect();
        ButtonState state;
        state.hot = m_lit;
        state.checked = m_lit;
        look.DrawButton(dc, rc, state);
        // A triangle pointing at the edge.
        const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
        const int s = (rc.right - rc.left) / 4;
        POINT arrow[3];
        switch (m_side) {
        case DockSide::Bottom: arrow[0] = {cx - s, cy - s / 2}; arrow[1] = {cx + s, cy - s / 2}; arrow[2] = {cx, cy + s}; break;
        case DockSide::Top: arrow[0] = {cx - s, cy + s / 2}; arrow[1] = {cx + s, cy + s / 2}; arrow[2] = {cx, cy - s}; break;
        case DockSide::Left: arrow[0] = {cx + s / 2, cy - s}; arrow[1] = {cx + s / 2, cy + s}; arrow[2] = {cx - s, cy}; break;
        default: arrow[0] = {cx - s / 2, cy - s}; arrow[1] = {cx - s / 2, cy + s}; arrow[2] = {cx + s, cy}; break;
        }
        HGDIOBJ oldBrush = ::SelectObject(dc, look.Brush(look.ButtonTextColour()));
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, arrow, 3);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::EndPaint(Hwnd(), &ps);
    }

    DockSide m_side;
    bool m_lit = false;
    AccessibleSlot<NamedAccessible> m_reader;
};

DockMarkers::DockMarkers() {
    for (size_t i = 0; i < m_markers.size(); ++i) m_markers[i] = std::make_unique<DockMarker>(kSides[i]);
}

DockMarkers::~DockMarkers() {
    for (auto& marker : m_markers) {
        if (marker->Hwnd() != nullptr) ::DestroyWindow(marker->Hwnd());
    }
}

void DockMarkers::Show(HWND frame) {
    RECT client{};
    ::GetClientRect(frame, &client);
    ::MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int size = Scale(frame, kMarkerSize);
    const int inset = Scale(frame, kMarkerInset);
    const int cx = (client.left + client.right - size) / 2, cy = (client.top + client.bottom - size) / 2;
    for (auto& marker : m_markers) {
        if (!marker->Make(frame)) continue;  // no marker, no docking on that edge
        POINT at{};
        switch (marker->Side()) {
        case DockSide::Bottom: at = {cx, client.bottom - inset - size}; break;
        case DockSide::Top: at = {cx, client.top + inset}; break;
        case DockSide::Left: at = {client.left + inset, cy}; break;
        default: at = {client.right - inset - size, cy}; break;
        }
        marker->Light(false);
        marker->Place(RECT{at.x, at.y, at.x + size, at.y + size});
    }
    m_shown = true;
}

void DockMarkers::Track(POINT cursor) {
    for (auto& marker : m_markers) marker->Light(marker->Contains(cursor));
}

void DockMarkers::Hide() {
    for (auto& marker : m_markers) {
        if (marker->Hwnd() != nullptr) ::ShowWindow(marker->Hwnd(), SW_HIDE);
    }
    m_shown = false;
}

std::optional<DockSide> DockMarkers::SideAt(POINT cursor) const {
    for (const auto& marker : m_markers) {
        if (marker->Contains(cursor)) return marker->Side();
    }
    return std::nullopt;
}

}  // namespace ui

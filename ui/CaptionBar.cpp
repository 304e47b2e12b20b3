#include "ui/CaptionBar.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "ui/Accessible.h"
#include "ui/Dpi.h"
#include "ui/Look.h"

namespace ui {
namespace {
const wchar_t kCaptionBarClass[] = L"VantrelCaptionBar";
constexpr UINT_PTR kImageToolId = 1;

}  // namespace

// The action button as readers get it: named by its label, as the system names any
// button, described by its tip, which only the mouse would show, and a push button
// also where the system knows no owner-drawn buttons (Wine calls it a client area).
class CaptionButtonReader final : public Window {
public:
    bool Take(HWND button) { return Subclass(button); }
    void Describe(const std::wstring& description) {
        m_description = description;
        m_reader.Reset();  // the next question gets the new text
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_GETOBJECT:
            if (!AsksForClient(lParam)) break;
            if (m_reader.Get() == nullptr) m_reader.Keep(NamedAccessible::Make(Hwnd(), L"", m_description, ROLE_SYSTEM_PUSHBUTTON));
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
    std::wstring m_description;
    AccessibleSlot<NamedAccessible> m_reader;
};

CaptionBar::CaptionBar() = default;

CaptionBar::~CaptionBar() = default;

bool CaptionBar::Create(HWND parent, UINT id) {
    RegisterClassOnce(kCaptionBarClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
    return CreateWnd(0, kCaptionBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void CaptionBar::Show(bool show) {
    ::ShowWindow(Hwnd(), show ? SW_SHOWNA : SW_HIDE);
    if (m_layoutChanged) m_layoutChanged();
}

int CaptionBar::Margin() const { return Scale(Hwnd(), 2); }

int CaptionBar::Height() const {
    if (!IsVisible()) return 0;
    int content = ButtonSize().cy;
    if (m_bitmap != nullptr) content = std::max(content, Scale(Hwnd(), m_bitmapSize.cy));
    HDC dc = ::GetDC(Hwnd());
    HGDIOBJ old = ::SelectObject(dc, Look::Current().FontFor(Hwnd()));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(Hwnd(), dc);
    content = std::max(content, static_cast<int>(metrics.tmHeight));
    return content + 2 * Margin();
}

SIZE CaptionBar::ButtonSize() const {
    if (m_button == nullptr) return SIZE{0, 0};
    return SIZE{Scale(Hwnd(), m_dropDownArrow ? 80 : 68), Scale(Hwnd(), 24)};
}

RECT CaptionBar::ImageRect() const {
    const RECT client = ClientRect();
    if (m_bitmap == nullptr) return RECT{client.left, client.top, client.left, client.top};
    const int m = Margin();
    // The picture is drawn for 96 dots per inch and grows with the screen's.
    const int width = m_stretch ? (client.bottom - client.top - 2 * m) * m_bitmapSize.cx / std::max<LONG>(1, m_bitmapSize.cy)
                                : Scale(Hwnd(), m_bitmapSize.cx);
    const int height = m_stretch ? client.bottom - client.top - 2 * m : Scale(Hwnd(), m_bitmapSize.cy);
    const int top = (client.top + client.bottom - height) / 2;
    const int left = m_imageAlign == Align::Right ? client.right - m - width : client.left + m;
    return RECT{left, top, left + width, top + height};
}

RECT CaptionBar::ButtonRect() const {
    const RECT client = ClientRect();
    const SIZE size = ButtonSize();
    const int m = Scale(Hwnd(), 8);
    const int top = (client.top + client.bottom - size.cy) / 2;
    const int left = m_buttonAlign == Align::Right ? client.right - m - size.cx : client.left + m;
    return RECT{left, top, left + size.cx, top + size.cy};
}

void CaptionBar::SetButton(const std::wstring& label, UINT commandId, Align align, bool dropDownArrow) {
    m_buttonAlign = align;
    m_dropDownArrow = dropDownArrow;
    if (m_button == nullptr) {
        m_button = ::CreateWindowExW(0, L"BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                     0, 0, 0, 0, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId)),
                                     ::GetModuleHandleW(nullptr), nullptr);
        // Without it the button still works, and readers still read its label.
        m_buttonReader = std::make_unique<CaptionButtonReader>();
        if (!m_buttonReader->Take(m_button)) m_buttonReader.reset();
    } else {
        ::SetWindowTextW(m_button, label.c_str());
        ::SetWindowLongPtrW(m_button, GWLP_ID, static_cast<LONG_PTR>(commandId));
    }
    OnSize();
}

HWND CaptionBar::MakeToolTip() {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) return nullptr;  // the bar works without its tips
    // Wide enough for the description's lines to break only where it breaks them.
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, Scale(Hwnd(), 400));
    return tip;
}

void CaptionBar::SetButtonToolTip(const std::wstring& title, const std::wstring& description) {
    if (m_button == nullptr) return;
    if (m_buttonReader != nullptr) m_buttonReader->Describe(description);
    if (m_buttonTip == nullptr) m_buttonTip = MakeToolTip();
    if (m_buttonTip == nullptr) return;
    ::SendMessageW(m_buttonTip, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(title.c_str()));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(m_button);
    tool.lpszText = const_cast<wchar_t*>(description.c_str());
    ::SendMessageW(m_buttonTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_buttonTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CaptionBar::SetBitmap(UINT bitmapId, COLORREF transparent, bool stretch, Align align) {
    // Every frame's bar shows the same picture: one copy, kept for the life of the
    // program, serves them all (a picture of its own in each of 16 frames was
    // three quarters of a megabyte).
    static std::map<UINT, HBITMAP> shared;
    auto it = shared.find(bitmapId);
    if (it == shared.end())
        it = shared.emplace(bitmapId, static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                                        MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0,
                                                                        0, LR_CREATEDIBSECTION)))
                 .first;
    m_bitmap = it->second;
    BITMAP info{};
    if (m_bitmap != nullptr && ::GetObjectW(m_bitmap, sizeof info, &info) != 0)
        m_bitmapSize = SIZE{info.bmWidth, info.bmHeight};
    m_transparent = transparent;
    m_stretch = stretch;
    m_imageAlign = align;
    OnSize();
}

void CaptionBar::SetImageToolTip(const std::wstring& title, const std::wstring& description) {
    if (m_imageTip == nullptr) m_imageTip = MakeToolTip();
    if (m_imageTip == nullptr) return;
    ::SendMessageW(m_imageTip, TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(title.c_str()));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = Hwnd();
    tool.uId = kImageToolId;
    tool.rect = ImageRect();
    tool.lpszText = const_cast<wchar_t*>(description.c_str());
    ::SendMessageW(m_imageTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_imageTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CaptionBar::SetText(const std::wstring& text, Align align) {
    m_text = text;
    m_textAlign = align;
    ::SetWindowTextW(Hwnd(), text.c_str());
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CaptionBar::OnSize() {
    if (m_button != nullptr) {
        const RECT rc = ButtonRect();
        ::MoveWindow(m_button, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
    if (m_imageTip != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = Hwnd();
        tool.uId = kImageToolId;
        tool.rect = ImageRect();
        ::SendMessageW(m_imageTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CaptionBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const Look& look = Look::Current();
    const RECT client = ClientRect();
    look.DrawCaptionBar(dc, client);

    RECT textArea = client;
    textArea.left += Margin();
    textArea.right -= Margin();
    if (m_bitmap != nullptr) {
        const RECT image = ImageRect();
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, m_bitmap);
        const int width = image.right - image.left;
        const int height = image.bottom - image.top;
        if (m_transparent != CLR_INVALID)
            ::TransparentBlt(dc, image.left, image.top, width, height, memory, 0, 0, m_bitmapSize.cx, m_bitmapSize.cy,
                             m_transparent);
        else
            ::StretchBlt(dc, image.left, image.top, width, height, memory, 0, 0, m_bitmapSize.cx, m_bitmapSize.cy,
                         SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        if (m_imageAlign == Align::Left)
            textArea.left = image.right + Scale(Hwnd(), 8);
        else
            textArea.right = image.left - Scale(Hwnd(), 8);
    }
    if (m_button != nullptr) {
        const RECT button = ButtonRect();
        if (m_buttonAlign == Align::Right)
            textArea.right = std::min(textArea.right, button.left - Scale(Hwnd(), 8));
        else
            textArea.left = std::max(textArea.left, button.right + Scale(Hwnd(), 8));
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.Palette().captionBarText);
    HGDIOBJ oldFont = ::SelectObject(dc, look.FontFor(Hwnd()));
    // One line, centred in the bar's height; what does not fit ends in an ellipsis.
    const UINT align = m_textAlign == Align::Right ? DT_RIGHT : DT_LEFT;
    ::DrawTextW(dc, m_text.c_str(), -1, &textArea,
                align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    ::EndPaint(Hwnd(), &ps);
}

void CaptionBar::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const Look& look = Look::Current();
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    look.DrawCaptionBar(dc, ClientRect());  // what the button's corners leave shows the bar
    ButtonState state;
    state.pressed = (item.itemState & ODS_SELECTED) != 0;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    RECT onScreen{};
    ::GetWindowRect(item.hwndItem, &onScreen);
    state.hot = ::PtInRect(&onScreen, cursor) != FALSE;
    look.DrawButton(dc, rc, state);

    wchar_t label[64] = {};
    ::GetWindowTextW(item.hwndItem, label, 64);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.ButtonTextColour());
    HGDIOBJ oldFont = ::SelectObject(dc, look.FontFor(Hwnd()));
    RECT textRect = rc;
    if (m_dropDownArrow) {
        // A small downward triangle at the right tells that the button opens a menu.
        const int size = Scale(item.hwndItem, 4);
        const int right = rc.right - Scale(item.hwndItem, 8);
        const int middle = (rc.top + rc.bottom) / 2;
        const POINT arrow[3] = {{right - 2 * size, middle - size / 2},
                                {right, middle - size / 2},
                                {right - size, middle + size / 2 + 1}};
        HBRUSH brush = look.Brush(look.ButtonTextColour());
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, arrow, 3);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        textRect.right = right - 2 * size;
    }
    ::DrawTextW(dc, label, -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = rc;
        ::InflateRect(&focus, -Scale(item.hwndItem, 3), -Scale(item.hwndItem, 3));
        ::DrawFocusRect(dc, &focus);
    }
}

LRESULT CaptionBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        // The action button speaks to the frame, which owns the commands. Posted:
        // the button tells of a click while it still holds the mouse, and a menu
        // the command opens must not start under that capture.
        ::PostMessageW(::GetParent(Hwnd()), WM_COMMAND, wParam, lParam);
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

}  // namespace ui

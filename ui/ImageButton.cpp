#include "ui/ImageButton.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <utility>

#include "ui/Dpi.h"
#include "ui/Look.h"

namespace ui {
namespace {
const wchar_t kImageButtonClass[] = L"VantrelImageButton";
const int kImageSize = 16;
const int kPadding = 4;

bool HasBitmap(UINT id) {
    return ::FindResourceW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)) != nullptr;
}
}  // namespace

int ImageButton::ImageSize() const { return Scale(Hwnd(), kImageSize); }
int ImageButton::Padding() const { return Scale(Hwnd(), kPadding); }

void ImageButton::SetImage(UINT bitmapId) {
    m_imageId = bitmapId;
    LoadImageList(bitmapId, m_image);
}

void ImageButton::SetCheckedImage(UINT bitmapId) {
    m_checkedImageId = bitmapId;
    LoadImageList(bitmapId, m_checkedImage);
}

void ImageButton::OnDpiChanged() {
    ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Look::Current().FontFor(Hwnd())), FALSE);
    if (m_imageId != 0) LoadImageList(m_imageId, m_image);
    if (m_checkedImageId != 0) LoadImageList(m_checkedImageId, m_checkedImage);
    SizeToContent();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

ImageButton::~ImageButton() {
    // The shared tooltip lives on and must not keep a tool whose window is gone.
    if (m_tips != nullptr && Hwnd() != nullptr) m_tips->Remove(Hwnd());
}

int ImageButton::ScreenColorDepth() {
    HDC screen = ::GetDC(nullptr);
    const int depth = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return depth;
}

bool ImageButton::Create(HWND parent, UINT id, DWORD style) {
    RegisterClassOnce(kImageButtonClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr);
    if (CreateWnd(0, kImageButtonClass, L"", style, 0, 0, 0, 0, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) == nullptr)
        return false;
    ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Look::Current().FontFor(Hwnd())), FALSE);
    return true;
}

namespace {
// A picture list made from the bitmap at the size, or null.
HIMAGELIST MakeImageList(UINT bitmapId, int size) {
    // The drawing made for the size wins over a stretched smaller one.
    UINT source = bitmapId;
    if (size >= 32 && HasBitmap(bitmapId + ImageButton::kVariant32Offset))
        source = bitmapId + ImageButton::kVariant32Offset;
    else if (size >= 24 && HasBitmap(bitmapId + ImageButton::kVariant24Offset))
        source = bitmapId + ImageButton::kVariant24Offset;
    auto bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(source),
                                                    IMAGE_BITMAP, size, size, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return nullptr;  // a button without a picture still works
    HIMAGELIST list = nullptr;
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    if (info.bmBitsPixel == 32) {
        list = ImageList_Create(size, size, ILC_COLOR32, 1, 0);
        if (list != nullptr) ImageList_Add(list, bitmap, nullptr);
    } else {
        // Palette pictures: the colour of the top-left pixel is the transparent one.
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const COLORREF transparent = ::GetPixel(memory, 0, 0);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0);
        if (list != nullptr) ImageList_AddMasked(list, bitmap, transparent);
    }
    ::DeleteObject(bitmap);
    return list;
}
}  // namespace

// Every button of a kind shows the same pictures: one list per bitmap and size serves
// them all, kept for the life of the program, so a new button loads nothing.
void ImageButton::LoadImageList(UINT bitmapId, HIMAGELIST& list) {
    static std::map<std::pair<UINT, int>, HIMAGELIST> shared;
    const int size = ImageSize();
    auto it = shared.find({bitmapId, size});
    if (it == shared.end()) it = shared.emplace(std::make_pair(bitmapId, size), MakeImageList(bitmapId, size)).first;
    list = it->second;
}

void ImageButton::SetTooltip(Tooltip& tips, const std::wstring& text) {
    m_tips = &tips;
    tips.SetText(Hwnd(), Hwnd(), text);
}

void ImageButton::SizeToContent() {
    HDC dc = ::GetDC(Hwnd());
    HGDIOBJ old = ::SelectObject(dc, Look::Current().FontFor(Hwnd()));
    const std::wstring& text = m_caption;
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(Hwnd(), dc);
    const int padding = Padding(), image = ImageSize();
    const int width = padding + image + (text.empty() ? 0 : padding + extent.cx) + padding;
    const int height = std::max<int>(image, metrics.tmHeight) + 2 * padding;
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void ImageButton::SetFaceColor(COLORREF color, bool redraw) {
    m_face = color;
    if (redraw) ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ImageButton::SetFocused(bool focused) {
    if (focused == m_focused) return;
    m_focused = focused;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ImageButton::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    RECT rc = ClientRect();
    const Look& look = Look::Current();
    ButtonState state;
    state.hot = m_hot;
    state.pressed = m_pressed;
    state.checked = m_checked;
    state.face = m_face;
    look.DrawButton(dc, rc, state);

    HIMAGELIST image = m_checked && m_checkedImage != nullptr ? m_checkedImage : m_image;
    const int offset = (m_checked || m_pressed) ? 1 : 0;
    if (image != nullptr)
        ImageList_Draw(image, 0, dc, Padding() + offset, (rc.bottom - ImageSize()) / 2 + offset, ILD_TRANSPARENT);
    RECT text = rc;
    text.left = Padding() + ImageSize() + Padding() + offset;
    text.top += offset;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look.ButtonTextColour());
    HGDIOBJ old = ::SelectObject(dc, look.FontFor(Hwnd()));
    const std::wstring& caption = m_caption;
    ::DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
    if (m_focused) {
        // Inverted pixels show on every look's face, light or dark.
        RECT focus = rc;
        const int inset = Scale(Hwnd(), 2);
        ::InflateRect(&focus, -inset, -inset);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &focus);
    }
    ::EndPaint(Hwnd(), &ps);
}

void ImageButton::Click() {
    ::SendMessageW(::GetParent(Hwnd()), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(Hwnd()), BN_CLICKED), reinterpret_cast<LPARAM>(Hwnd()));
}

LRESULT ImageButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case BM_GETCHECK:
        return m_checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (m_checked != (wParam == BST_CHECKED)) {
            m_checked = wParam == BST_CHECKED;
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (result) m_caption = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return result;
    }
    case WM_LBUTTONDOWN:
        m_pressed = true;
        ::SetCapture(Hwnd());
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        if (::GetCapture() == Hwnd()) ::ReleaseCapture();
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT rc = ClientRect();
        if (wasPressed && ::PtInRect(&rc, pt)) Click();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!m_hot) {
            m_hot = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return 0;
    case WM_MOUSELEAVE:
        m_hot = false;
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return 0;
    case WM_CAPTURECHANGED:
        if (m_pressed) {
            m_pressed = false;
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

}  // namespace ui

#include "ui/Look.h"

#include "ui/Dpi.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <map>

namespace ui {
namespace {
// The window taskbar keeps its grey whatever the look.
const COLORREF kTaskbarGrey = RGB(133, 133, 133);
const int kMenuGutter = 24;
const int kMenuItemHeight = 22;
const int kMenuSeparatorHeight = 7;
const int kMenuBarPadding = 8;

COLORREF Mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

void FrameRect(HDC dc, const RECT& rc, COLORREF colour) {
    HBRUSH brush = Look::Current().Brush(colour);
    ::FrameRect(dc, &rc, brush);
}

// The system's visual styles, when it has them switched on (never under Wine's
// default settings): one theme per control class, opened when first needed.
class Themes {
public:
    static HTHEME Button() { return Get(L"BUTTON", s_button); }
    static HTHEME Menu() { return Get(L"MENU", s_menu); }

private:
    static HTHEME Get(const wchar_t* className, HTHEME& cached) {
        if (!::IsThemeActive()) return nullptr;
        if (cached == nullptr) cached = ::OpenThemeData(nullptr, className);
        return cached;
    }
    static HTHEME s_button;
    static HTHEME s_menu;
};
HTHEME Themes::s_button = nullptr;
HTHEME Themes::s_menu = nullptr;
}  // namespace

Look& Look::Current() {
    static Look look;
    return look;
}

namespace {
int s_forcedHighContrast = -1;
}  // namespace

Look::Look() : m_palette(&vantrel::PaletteOf(m_family, m_office2007Style)) { FollowHighContrast(); }

void Look::ForceHighContrast(int state) { s_forcedHighContrast = state; }

void Look::FollowHighContrast() {
    bool on = s_forcedHighContrast > 0;
    if (s_forcedHighContrast < 0) {
        HIGHCONTRASTW contrast{};
        contrast.cbSize = sizeof contrast;
        on = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
             (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    }
    m_contrastPalette = vantrel::HighContrastPalette(
        {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHT),
         ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT),
         ::GetSysColor(COLOR_GRAYTEXT)});
    m_highContrast = on;
    m_palette = on ? &m_contrastPalette : &vantrel::PaletteOf(m_family, m_office2007Style);
    ++m_generation;
}

void Look::Select(std::uint32_t id) {
    const vantrel::LookSelection selection = vantrel::SelectLook(id);
    if (selection.setsStyle) m_office2007Style = selection.style;
    if (selection.setsSmartDocking) m_smartDocking = true;
    m_id = id;
    m_family = selection.family;
    m_palette = m_highContrast ? &m_contrastPalette : &vantrel::PaletteOf(m_family, m_office2007Style);
    ++m_generation;
}

// The dialog font of the system, which the window buttons' sizes are made for.
HFONT Look::FontFor(HWND hwnd) const { return FontAtDpi(hwnd != nullptr ? DpiOf(hwnd) : 0); }

HFONT Look::FontAtDpi(UINT dpi) const {
    // The system's font is made for the system's resolution; a monitor of another
    // gets the same font scaled, made once per resolution.
    HFONT system = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const UINT systemDpi = DpiOf(nullptr);
    if (dpi == 0 || dpi == systemDpi) return system;
    static std::map<UINT, HFONT> scaled;
    auto it = scaled.find(dpi);
    if (it != scaled.end()) return it->second;
    LOGFONTW font{};
    if (::GetObjectW(system, sizeof font, &font) == 0) return system;
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi));
    HFONT made = ::CreateFontIndirectW(&font);
    if (made == nullptr) return system;
    return scaled.emplace(dpi, made).first->second;
}

HBRUSH Look::Brush(COLORREF colour) const {
    static std::map<COLORREF, HBRUSH> brushes;  // a handful: the colours of the looks
    auto it = brushes.find(colour);
    if (it == brushes.end()) it = brushes.emplace(colour, ::CreateSolidBrush(colour)).first;
    return it->second;
}

void Look::Fill(HDC dc, const RECT& rc, COLORREF from, COLORREF to, bool vertical) const {
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    if (!Palette().gradients || from == to) {
        ::FillRect(dc, &rc, Brush(from));
        return;
    }
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rc.left;
    vertices[0].y = rc.top;
    vertices[0].Red = static_cast<COLOR16>(GetRValue(from) << 8);
    vertices[0].Green = static_cast<COLOR16>(GetGValue(from) << 8);
    vertices[0].Blue = static_cast<COLOR16>(GetBValue(from) << 8);
    vertices[1].x = rc.right;
    vertices[1].y = rc.bottom;
    vertices[1].Red = static_cast<COLOR16>(GetRValue(to) << 8);
    vertices[1].Green = static_cast<COLOR16>(GetGValue(to) << 8);
    vertices[1].Blue = static_cast<COLOR16>(GetBValue(to) << 8);
    GRADIENT_RECT gradient{0, 1};
    if (!::GradientFill(dc, vertices, 2, &gradient, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H))
        ::FillRect(dc, &rc, Brush(Mix(from, to)));
}

void Look::DrawBar(HDC dc, const RECT& rc) const {
    Fill(dc, rc, Palette().barFrom, Palette().barTo);
}

void Look::DrawPaneCaption(HDC dc, const RECT& rc, const std::wstring& caption) const {
    const vantrel::LookPalette& p = Palette();
    Fill(dc, rc, p.paneCaptionFrom, p.paneCaptionTo, false);
    if (p.edges3D) {
        RECT edge = rc;
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    } else {
        RECT line{rc.left, rc.bottom - 1, rc.right, rc.bottom};
        ::FillRect(dc, &line, Brush(p.paneBorder));
    }
    // Gripper: two short lines that say the strip can be dragged.
    for (int i = 0; i < 2; ++i) {
        RECT grip{rc.left + 3 + i * 4, rc.top + 4, rc.left + 5 + i * 4, rc.bottom - 4};
        ::FillRect(dc, &grip, Brush(p.paneBorder));
    }
    RECT text = rc;
    text.left += 14;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, p.paneCaptionText);
    HGDIOBJ old = ::SelectObject(dc, FontFor(dc));
    ::DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

void Look::DrawSizingBand(HDC dc, const RECT& rc) const {
    const vantrel::LookPalette& p = Palette();
    ::FillRect(dc, &rc, Brush(p.sizingBand));
    if (p.edges3D) {
        RECT edge = rc;
        ::DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }
}

void Look::DrawButton(HDC dc, const RECT& rc, const ButtonState& state) const {
    const vantrel::LookPalette& p = Palette();
    if (state.face != CLR_INVALID) {  // a drag colours the button, whatever the look
        ::FillRect(dc, &rc, Brush(state.face));
        RECT edge = rc;
        if (p.edges3D)
            ::DrawEdge(dc, &edge, state.checked || state.pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        else
            FrameRect(dc, rc, p.buttonBorder);
        return;
    }
    if (p.visualStyles) {
        if (HTHEME theme = Themes::Button()) {
            const int part = BP_PUSHBUTTON;
            const int themeState = state.pressed || state.checked ? PBS_PRESSED : state.hot ? PBS_HOT : PBS_NORMAL;
            if (SUCCEEDED(::DrawThemeBackground(theme, dc, part, themeState, &rc, nullptr))) return;
        }
    }
    RECT edge = rc;
    if (state.checked || state.pressed) {
        if (state.pressed)
            Fill(dc, rc, p.buttonPressedFrom, p.buttonPressedTo);
        else
            Fill(dc, rc, p.buttonCheckedFrom, p.buttonCheckedTo);
        if (p.edges3D)
            ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        else
            FrameRect(dc, rc, p.buttonCheckedBorder);
    } else if (state.hot) {
        Fill(dc, rc, p.buttonHotFrom, p.buttonHotTo);
        if (p.edges3D)
            ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
        else
            FrameRect(dc, rc, p.buttonHotBorder);
    } else {
        ::FillRect(dc, &rc, Brush(p.buttonFace));
        if (p.edges3D)
            ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
        else
            FrameRect(dc, rc, p.buttonBorder);
    }
}

COLORREF Look::ButtonTextColour() const { return Palette().buttonText; }

void Look::DrawCaptionBar(HDC dc, const RECT& rc) const {
    const vantrel::LookPalette& p = Palette();
    Fill(dc, rc, p.captionBarFrom, p.captionBarTo);
    RECT line{rc.left, rc.bottom - 1, rc.right, rc.bottom};
    ::FillRect(dc, &line, Brush(p.captionBarBorder));
}

COLORREF Look::TaskbarBackground() const { return kTaskbarGrey; }

COLORREF Look::MenuBarColour() const { return Mix(Palette().barFrom, Palette().barTo); }

SIZE Look::MeasureMenuItem(HDC dc, const MenuItem& item) const {
    const auto px = [dc](int at96) { return Scale(::WindowFromDC(dc), at96); };
    if (item.separator) return SIZE{0, px(kMenuSeparatorHeight)};
    HGDIOBJ old = ::SelectObject(dc, FontFor(dc));
    RECT label{0, 0, 0, 0};
    ::DrawTextW(dc, item.text.c_str(), -1, &label, DT_SINGLELINE | DT_CALCRECT);
    RECT shortcut{0, 0, 0, 0};
    if (!item.shortcut.empty()) ::DrawTextW(dc, item.shortcut.c_str(), -1, &shortcut, DT_SINGLELINE | DT_CALCRECT);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    if (item.menuBar) return SIZE{label.right + px(kMenuBarPadding), metrics.tmHeight + px(4)};
    const int height = std::max<int>(px(kMenuItemHeight), metrics.tmHeight + px(6));
    const int width = px(kMenuGutter + 8) + label.right + (item.shortcut.empty() ? 0 : px(24) + shortcut.right) + px(16);
    return SIZE{width, height};
}

void Look::DrawMenuItem(HDC dc, const RECT& rc, const MenuItem& item) const {
    const vantrel::LookPalette& p = Palette();
    const int gutter = Scale(::WindowFromDC(dc), kMenuGutter);
    const bool themed = p.visualStyles && !item.menuBar && Themes::Menu() != nullptr;
    if (item.menuBar) {
        ::FillRect(dc, &rc, Brush(MenuBarColour()));
    } else if (themed) {
        ::DrawThemeBackground(Themes::Menu(), dc, MENU_POPUPBACKGROUND, 0, &rc, nullptr);
    } else {
        ::FillRect(dc, &rc, Brush(p.menuBack));
        if (p.flatMenus) {
            RECT strip{rc.left, rc.top, rc.left + gutter, rc.bottom};
            ::FillRect(dc, &strip, Brush(p.menuGutter));
        }
    }
    if (item.separator) {
        const int y = (rc.top + rc.bottom) / 2;
        RECT line{rc.left + (p.flatMenus ? gutter + 6 : 2), y, rc.right - 2, y + 1};
        ::FillRect(dc, &line, Brush(p.menuSeparator));
        if (p.edges3D) {
            RECT light{line.left, y + 1, line.right, y + 2};
            ::FillRect(dc, &light, Brush(RGB(255, 255, 255)));
        }
        return;
    }
    COLORREF textColour = item.menuBar ? p.barText : p.menuText;
    if (item.selected && !item.disabled) {
        RECT box = rc;
        if (themed) {
            ::DrawThemeBackground(Themes::Menu(), dc, MENU_POPUPITEM, MPI_HOT, &box, nullptr);
        } else if (p.flatMenus) {
            ::InflateRect(&box, -1, item.menuBar ? 0 : -1);
            Fill(dc, box, p.highlightFrom, p.highlightTo);
            FrameRect(dc, box, p.highlightBorder);
            textColour = p.highlightText;
        } else {
            Fill(dc, box, p.highlightFrom, p.highlightTo);
            textColour = p.highlightText;
        }
    }
    if (item.disabled) textColour = p.menuTextDisabled;

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColour);
    HGDIOBJ old = ::SelectObject(dc, FontFor(dc));
    const UINT prefix = item.hideAccelerators ? DT_HIDEPREFIX : 0;
    if (item.menuBar) {
        RECT text = rc;
        ::DrawTextW(dc, item.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
    } else {
        if (item.checked) {
            RECT mark{rc.left + 4, rc.top + 3, rc.left + gutter - 4, rc.bottom - 3};
            if (item.radio) {
                const int cx = (mark.left + mark.right) / 2, cy = (mark.top + mark.bottom) / 2;
                RECT dot{cx - 3, cy - 3, cx + 3, cy + 3};
                HBRUSH brush = Brush(textColour);
                HGDIOBJ oldBrush = ::SelectObject(dc, brush);
                HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
                ::Ellipse(dc, dot.left, dot.top, dot.right + 1, dot.bottom + 1);
                ::SelectObject(dc, oldPen);
                ::SelectObject(dc, oldBrush);
            } else {
                // A tick drawn with two strokes, in the text colour.
                HPEN pen = ::CreatePen(PS_SOLID, 2, textColour);
                HGDIOBJ oldPen = ::SelectObject(dc, pen);
                const int cx = (mark.left + mark.right) / 2, cy = (mark.top + mark.bottom) / 2;
                ::MoveToEx(dc, cx - 4, cy, nullptr);
                ::LineTo(dc, cx - 1, cy + 3);
                ::LineTo(dc, cx + 4, cy - 3);
                ::SelectObject(dc, oldPen);
                ::DeleteObject(pen);
            }
        }
        RECT text = rc;
        text.left += gutter + 8;
        text.right -= 16;
        ::DrawTextW(dc, item.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
        if (!item.shortcut.empty())
            ::DrawTextW(dc, item.shortcut.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    ::SelectObject(dc, old);
}

void ApplyTitleBarDarkness(HWND frame, bool dark) {
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static SetAttribute set = [] {
        // By its full path in the system folder, on every system.
        wchar_t path[MAX_PATH] = {};
        const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + 12 >= MAX_PATH) return static_cast<SetAttribute>(nullptr);
        wcscat_s(path, L"\\dwmapi.dll");
        HMODULE dwm = ::LoadLibraryW(path);
        return dwm != nullptr ? reinterpret_cast<SetAttribute>(
                                    reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmSetWindowAttribute")))
                              : nullptr;
    }();
    if (set == nullptr || frame == nullptr) return;
    const BOOL value = dark ? TRUE : FALSE;
    const DWORD kUseImmersiveDarkMode = 20;  // the attribute's number on systems that have it
    set(frame, kUseImmersiveDarkMode, &value, sizeof value);  // refused by systems without it
}

}  // namespace ui

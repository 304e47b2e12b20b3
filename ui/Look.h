#pragma once
// The look every control of ours draws through: the colours and drawing choices
// of the current application look, its font, and the drawing of each element
// (bars, pane caption and sizing band, buttons in their states, menu items, the
// caption bar). One look holds for the whole process, as the user picks one for
// the whole program; controls read it when they paint.

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Looks.h"

namespace ui {

struct ButtonState {
    bool hot = false;
    bool pressed = false;
    bool checked = false;
    COLORREF face = CLR_INVALID;  // a face colour forced by the owner, or none
};

class Look {
public:
    static Look& Current();

    // Applies a look id as the table says. Ids outside it select the Office 2007
    // look in its current style.
    void Select(std::uint32_t id);
    std::uint32_t Id() const { return m_id; }
    vantrel::LookFamily Family() const { return m_family; }
    const vantrel::LookPalette& Palette() const { return *m_palette; }
    // While the system's high contrast is on, every look draws in the system's
    // colours; the chosen look stays chosen (its stored id too) and comes back when
    // it goes off. Read anew at each call, the system's colours included.
    void FollowHighContrast();
    bool HighContrast() const { return m_highContrast; }
    // For tests, where the system cannot turn it on: 1 on, 0 off, -1 as the system says.
    static void ForceHighContrast(int state);
    // Counts the selections, so that what caches drawing state can tell it is stale.
    unsigned Generation() const { return m_generation; }

    // Smart docking: set by the frame and by the looks that ask for it.
    bool SmartDocking() const { return m_smartDocking; }
    void SetSmartDocking(bool on) { m_smartDocking = on; }

    // The font of menus, bars, panes and buttons, at the resolution of a window
    // or of the window a device context draws on (the system's when it has none).
    HFONT Font() const { return FontAtDpi(0); }
    HFONT FontFor(HWND hwnd) const;
    HFONT FontFor(HDC dc) const { return FontFor(::WindowFromDC(dc)); }
    HFONT FontAtDpi(UINT dpi) const;
    // A solid brush of `colour`, kept for the life of the process.
    HBRUSH Brush(COLORREF colour) const;

    // Elements.
    void Fill(HDC dc, const RECT& rc, COLORREF from, COLORREF to, bool vertical = true) const;
    void DrawBar(HDC dc, const RECT& rc) const;
    void DrawPaneCaption(HDC dc, const RECT& rc, const std::wstring& caption) const;
    void DrawSizingBand(HDC dc, const RECT& rc) const;
    void DrawButton(HDC dc, const RECT& rc, const ButtonState& state) const;
    COLORREF ButtonTextColour() const;
    void DrawCaptionBar(HDC dc, const RECT& rc) const;
    COLORREF TaskbarBackground() const;
    // The menu bar is one colour: what its items leave free cannot take a gradient.
    COLORREF MenuBarColour() const;
    // A popup or menu-bar item: background, highlight, check mark, text.
    struct MenuItem {
        std::wstring text;      // label, "&" marking the mnemonic
        std::wstring shortcut;  // after the tab, drawn at the right
        bool menuBar = false;
        bool separator = false;
        bool selected = false;
        bool disabled = false;
        bool checked = false;
        bool radio = false;
        bool hideAccelerators = false;
    };
    SIZE MeasureMenuItem(HDC dc, const MenuItem& item) const;
    void DrawMenuItem(HDC dc, const RECT& rc, const MenuItem& item) const;

private:
    Look();

    std::uint32_t m_id = vantrel::kDefaultLookId;
    vantrel::LookFamily m_family = vantrel::LookFamily::VisualStudio2008;
    vantrel::Office2007Style m_office2007Style = vantrel::Office2007Style::Blue;
    const vantrel::LookPalette* m_palette = nullptr;
    vantrel::LookPalette m_contrastPalette{};
    bool m_highContrast = false;
    unsigned m_generation = 0;
    bool m_smartDocking = false;
};

// Asks the system for a dark or a light title bar on `frame`, where it offers
// the choice; older systems simply keep theirs.
void ApplyTitleBarDarkness(HWND frame, bool dark);

}  // namespace ui

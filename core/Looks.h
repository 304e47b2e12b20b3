#pragma once
// The application looks: which look a stored id selects, and each look as data,
// the colours and drawing choices that every bar, pane, button and menu is drawn
// with. Colours are 0x00BBGGRR, as the platform keeps them.

#include <cstdint>

namespace vantrel {

using Colour = std::uint32_t;

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

enum class LookFamily {
    Windows2000,
    OfficeXP,
    WindowsXP,
    Office2003,
    VisualStudio2005,
    VisualStudio2008,
    Office2007,
    Windows7,
};

// The styles of the Office 2007 look, numbered as stored and chosen.
enum class Office2007Style : int { Blue = 0, Black = 1, Aqua = 2, Silver = 3 };

inline constexpr std::uint32_t kDefaultLookId = 210;

struct LookSelection {
    LookFamily family;
    // 215-218 set the Office 2007 style before the look is selected; any other id
    // leaves the style as it was.
    bool setsStyle;
    Office2007Style style;
    // All but 205, 206 and 207 switch the docking mode to smart docking; those
    // three leave it as it was.
    bool setsSmartDocking;
    // Whether the id has a menu item to carry the radio mark.
    bool hasMenuItem;
};

// The look of a stored or chosen id. Ids outside the table (211-214, 0, any
// other value) select the Office 2007 look in its current style.
LookSelection SelectLook(std::uint32_t id);

// How a look draws.
struct LookPalette {
    bool edges3D;         // raised and sunken edges, as opposed to flat borders
    bool gradients;       // bars and highlights in gradients rather than flat colours
    bool visualStyles;    // drawn with the system's visual styles where it has them
    bool darkTitleBar;    // asks the system for a dark frame title bar
    bool flatMenus;       // highlight as a bordered box, with an image gutter

    Colour barFrom, barTo;              // menu bar, status bar, pane background
    Colour barText;
    Colour menuBack, menuGutter, menuText, menuTextDisabled, menuSeparator;
    Colour highlightFrom, highlightTo, highlightBorder, highlightText;
    Colour paneCaptionFrom, paneCaptionTo, paneCaptionText, paneBorder;
    Colour sizingBand;
    Colour buttonFace, buttonBorder, buttonText;
    Colour buttonHotFrom, buttonHotTo, buttonHotBorder;
    Colour buttonPressedFrom, buttonPressedTo;
    Colour buttonCheckedFrom, buttonCheckedTo, buttonCheckedBorder;
    Colour captionBarFrom, captionBarTo, captionBarText, captionBarBorder;
};

// The palette of a look; `style` counts only for the Office 2007 look.
const LookPalette& PaletteOf(LookFamily family, Office2007Style style);

// The system's colours that high contrast draws with, as the system reports them.
struct SystemColours {
    Colour window, windowText;        // COLOR_WINDOW, COLOR_WINDOWTEXT
    Colour highlight, highlightText;  // COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT
    Colour buttonFace, buttonText;    // COLOR_BTNFACE, COLOR_BTNTEXT
    Colour grayText;                  // COLOR_GRAYTEXT
};

// What every look draws with while the system's high contrast is on: the user's
// system colours, flat, each text on the background the system pairs it with, and
// every border in a text colour so that it shows on any background.
LookPalette HighContrastPalette(const SystemColours& system);

}  // namespace vantrel

#include "core/Looks.h"

namespace vantrel {

LookSelection SelectLook(std::uint32_t id) {
    const auto plain = [](LookFamily family, bool smart) {
        return LookSelection{family, false, Office2007Style::Blue, smart, true};
    };
    const auto office2007 = [](Office2007Style style) {
        return LookSelection{LookFamily::Office2007, true, style, true, true};
    };
    switch (id) {
    case 205: return plain(LookFamily::Windows2000, false);
    case 206: return plain(LookFamily::OfficeXP, false);
    case 207: return plain(LookFamily::WindowsXP, false);
    case 208: return plain(LookFamily::Office2003, true);
    case 209: return plain(LookFamily::VisualStudio2005, true);
    case 210: return plain(LookFamily::VisualStudio2008, true);
    case 215: return office2007(Office2007Style::Blue);
    case 216: return office2007(Office2007Style::Black);
    case 217: return office2007(Office2007Style::Silver);
    case 218: return office2007(Office2007Style::Aqua);
    case 219: return LookSelection{LookFamily::Windows7, false, Office2007Style::Blue, true, false};
    default: return LookSelection{LookFamily::Office2007, false, Office2007Style::Blue, true, false};
    }
}

namespace {

// Classic grey 3D: raised bars, navy highlight with white text.
constexpr LookPalette kWindows2000{
    true, false, false, false, false,
    Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(0, 0, 0),
    Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(0, 0, 0), Rgb(128, 128, 128), Rgb(128, 128, 128),
    Rgb(10, 36, 106), Rgb(10, 36, 106), Rgb(10, 36, 106), Rgb(255, 255, 255),
    Rgb(10, 36, 106), Rgb(166, 202, 240), Rgb(255, 255, 255), Rgb(128, 128, 128),
    Rgb(212, 208, 200),
    Rgb(212, 208, 200), Rgb(64, 64, 64), Rgb(0, 0, 0),
    Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(255, 255, 255),
    Rgb(190, 186, 178), Rgb(190, 186, 178),
    Rgb(228, 226, 222), Rgb(228, 226, 222), Rgb(64, 64, 64),
    Rgb(255, 255, 225), Rgb(255, 255, 225), Rgb(0, 0, 0), Rgb(128, 128, 128),
};

// Flat, light: a pale blue box with a navy border around what the mouse is on.
constexpr LookPalette kOfficeXP{
    false, false, false, false, true,
    Rgb(219, 216, 209), Rgb(219, 216, 209), Rgb(0, 0, 0),
    Rgb(249, 248, 247), Rgb(219, 216, 209), Rgb(0, 0, 0), Rgb(167, 166, 170), Rgb(166, 166, 166),
    Rgb(182, 189, 210), Rgb(182, 189, 210), Rgb(10, 36, 106), Rgb(0, 0, 0),
    Rgb(219, 216, 209), Rgb(219, 216, 209), Rgb(0, 0, 0), Rgb(132, 130, 132),
    Rgb(219, 216, 209),
    Rgb(219, 216, 209), Rgb(132, 130, 132), Rgb(0, 0, 0),
    Rgb(182, 189, 210), Rgb(182, 189, 210), Rgb(10, 36, 106),
    Rgb(133, 146, 181), Rgb(133, 146, 181),
    Rgb(212, 213, 216), Rgb(212, 213, 216), Rgb(10, 36, 106),
    Rgb(249, 248, 247), Rgb(249, 248, 247), Rgb(0, 0, 0), Rgb(132, 130, 132),
};

// The system's visual styles where they exist; otherwise the blue and beige of
// that system's default theme.
constexpr LookPalette kWindowsXP{
    false, true, true, false, false,
    Rgb(241, 239, 226), Rgb(236, 233, 216), Rgb(0, 0, 0),
    Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(172, 168, 153), Rgb(172, 168, 153),
    Rgb(49, 106, 197), Rgb(49, 106, 197), Rgb(49, 106, 197), Rgb(255, 255, 255),
    Rgb(0, 84, 227), Rgb(61, 149, 255), Rgb(255, 255, 255), Rgb(0, 60, 116),
    Rgb(236, 233, 216),
    Rgb(244, 243, 238), Rgb(0, 60, 116), Rgb(0, 0, 0),
    Rgb(255, 240, 207), Rgb(248, 179, 48), Rgb(229, 151, 0),
    Rgb(226, 226, 218), Rgb(214, 208, 197),
    Rgb(255, 255, 255), Rgb(214, 208, 197), Rgb(0, 60, 116),
    Rgb(255, 255, 225), Rgb(255, 255, 225), Rgb(0, 0, 0), Rgb(0, 60, 116),
};

// Blue gradients with an orange highlight.
constexpr LookPalette kOffice2003{
    false, true, false, false, true,
    Rgb(221, 236, 254), Rgb(129, 169, 226), Rgb(0, 0, 0),
    Rgb(246, 246, 246), Rgb(227, 239, 255), Rgb(0, 0, 0), Rgb(141, 141, 141), Rgb(106, 140, 203),
    Rgb(255, 244, 204), Rgb(255, 208, 145), Rgb(0, 0, 128), Rgb(0, 0, 0),
    Rgb(227, 239, 255), Rgb(123, 164, 224), Rgb(0, 0, 0), Rgb(59, 97, 156),
    Rgb(158, 190, 245),
    Rgb(221, 236, 254), Rgb(59, 97, 156), Rgb(0, 0, 0),
    Rgb(255, 244, 204), Rgb(255, 208, 145), Rgb(0, 0, 128),
    Rgb(254, 145, 78), Rgb(255, 211, 142),
    Rgb(255, 213, 140), Rgb(255, 173, 85), Rgb(0, 0, 128),
    Rgb(227, 239, 255), Rgb(171, 199, 236), Rgb(0, 0, 0), Rgb(59, 97, 156),
};

// Warm beige gradients with a pale blue highlight.
constexpr LookPalette kVisualStudio2005{
    false, true, false, false, true,
    Rgb(250, 249, 245), Rgb(222, 219, 205), Rgb(0, 0, 0),
    Rgb(252, 252, 249), Rgb(239, 237, 227), Rgb(0, 0, 0), Rgb(172, 168, 153), Rgb(197, 194, 184),
    Rgb(193, 210, 238), Rgb(193, 210, 238), Rgb(49, 106, 197), Rgb(0, 0, 0),
    Rgb(236, 233, 216), Rgb(212, 208, 187), Rgb(0, 0, 0), Rgb(172, 168, 153),
    Rgb(229, 226, 210),
    Rgb(244, 242, 232), Rgb(172, 168, 153), Rgb(0, 0, 0),
    Rgb(193, 210, 238), Rgb(193, 210, 238), Rgb(49, 106, 197),
    Rgb(152, 181, 226), Rgb(152, 181, 226),
    Rgb(225, 230, 232), Rgb(225, 230, 232), Rgb(49, 106, 197),
    Rgb(252, 252, 249), Rgb(236, 233, 216), Rgb(0, 0, 0), Rgb(172, 168, 153),
};

// Cool grey-blue gradients, the default look.
constexpr LookPalette kVisualStudio2008{
    false, true, false, false, true,
    Rgb(233, 236, 250), Rgb(193, 200, 217), Rgb(0, 0, 0),
    Rgb(250, 250, 253), Rgb(233, 236, 250), Rgb(0, 0, 0), Rgb(160, 160, 160), Rgb(197, 197, 197),
    Rgb(255, 243, 207), Rgb(255, 226, 148), Rgb(229, 195, 101), Rgb(0, 0, 0),
    Rgb(205, 212, 232), Rgb(153, 168, 204), Rgb(0, 0, 0), Rgb(133, 145, 162),
    Rgb(214, 219, 233),
    Rgb(238, 240, 248), Rgb(133, 145, 162), Rgb(0, 0, 0),
    Rgb(255, 243, 207), Rgb(255, 226, 148), Rgb(229, 195, 101),
    Rgb(255, 214, 122), Rgb(255, 188, 75),
    Rgb(255, 233, 168), Rgb(255, 204, 102), Rgb(194, 155, 41),
    Rgb(250, 250, 253), Rgb(214, 219, 233), Rgb(0, 0, 0), Rgb(133, 145, 162),
};

// The four Office 2007 styles share their shape: soft gradients, rounded-looking
// highlights in amber.
constexpr LookPalette kOffice2007Blue{
    false, true, false, false, true,
    Rgb(227, 239, 255), Rgb(175, 210, 255), Rgb(21, 66, 139),
    Rgb(250, 250, 250), Rgb(233, 238, 238), Rgb(0, 0, 0), Rgb(141, 141, 141), Rgb(197, 197, 197),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41), Rgb(0, 0, 0),
    Rgb(227, 239, 255), Rgb(153, 191, 240), Rgb(21, 66, 139), Rgb(101, 147, 207),
    Rgb(191, 219, 255),
    Rgb(221, 236, 254), Rgb(101, 147, 207), Rgb(21, 66, 139),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41),
    Rgb(248, 181, 106), Rgb(251, 140, 60),
    Rgb(255, 224, 136), Rgb(255, 191, 64), Rgb(194, 118, 43),
    Rgb(227, 239, 255), Rgb(191, 219, 255), Rgb(21, 66, 139), Rgb(101, 147, 207),
};
constexpr LookPalette kOffice2007Black{
    false, true, false, true, true,
    Rgb(83, 83, 83), Rgb(40, 40, 40), Rgb(255, 255, 255),
    Rgb(250, 250, 250), Rgb(233, 238, 238), Rgb(0, 0, 0), Rgb(141, 141, 141), Rgb(197, 197, 197),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41), Rgb(0, 0, 0),
    Rgb(96, 96, 96), Rgb(35, 35, 35), Rgb(255, 255, 255), Rgb(20, 20, 20),
    Rgb(70, 70, 70),
    Rgb(120, 120, 120), Rgb(20, 20, 20), Rgb(255, 255, 255),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41),
    Rgb(248, 181, 106), Rgb(251, 140, 60),
    Rgb(255, 224, 136), Rgb(255, 191, 64), Rgb(194, 118, 43),
    Rgb(90, 90, 90), Rgb(45, 45, 45), Rgb(255, 255, 255), Rgb(20, 20, 20),
};
constexpr LookPalette kOffice2007Silver{
    false, true, false, false, true,
    Rgb(242, 244, 247), Rgb(200, 205, 214), Rgb(76, 83, 92),
    Rgb(250, 250, 250), Rgb(233, 238, 238), Rgb(0, 0, 0), Rgb(141, 141, 141), Rgb(197, 197, 197),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41), Rgb(0, 0, 0),
    Rgb(237, 240, 245), Rgb(189, 196, 207), Rgb(76, 83, 92), Rgb(145, 153, 164),
    Rgb(208, 212, 221),
    Rgb(229, 232, 238), Rgb(145, 153, 164), Rgb(76, 83, 92),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41),
    Rgb(248, 181, 106), Rgb(251, 140, 60),
    Rgb(255, 224, 136), Rgb(255, 191, 64), Rgb(194, 118, 43),
    Rgb(242, 244, 247), Rgb(208, 212, 221), Rgb(76, 83, 92), Rgb(145, 153, 164),
};
constexpr LookPalette kOffice2007Aqua{
    false, true, false, false, true,
    Rgb(224, 235, 245), Rgb(164, 190, 219), Rgb(46, 70, 104),
    Rgb(250, 250, 250), Rgb(233, 238, 238), Rgb(0, 0, 0), Rgb(141, 141, 141), Rgb(197, 197, 197),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41), Rgb(0, 0, 0),
    Rgb(221, 232, 243), Rgb(151, 180, 213), Rgb(46, 70, 104), Rgb(110, 140, 178),
    Rgb(190, 209, 231),
    Rgb(214, 227, 241), Rgb(110, 140, 178), Rgb(46, 70, 104),
    Rgb(255, 246, 205), Rgb(255, 213, 77), Rgb(194, 155, 41),
    Rgb(248, 181, 106), Rgb(251, 140, 60),
    Rgb(255, 224, 136), Rgb(255, 191, 64), Rgb(194, 118, 43),
    Rgb(224, 235, 245), Rgb(190, 209, 231), Rgb(46, 70, 104), Rgb(110, 140, 178),
};

// The system's visual styles where they exist; otherwise that system's light
// glassy blue.
constexpr LookPalette kWindows7{
    false, true, true, false, true,
    Rgb(245, 246, 247), Rgb(219, 227, 238), Rgb(30, 57, 91),
    Rgb(240, 240, 240), Rgb(241, 241, 241), Rgb(0, 0, 0), Rgb(109, 109, 109), Rgb(215, 215, 215),
    Rgb(242, 247, 253), Rgb(221, 236, 253), Rgb(164, 206, 249), Rgb(0, 0, 0),
    Rgb(228, 236, 247), Rgb(199, 216, 237), Rgb(30, 57, 91), Rgb(160, 175, 195),
    Rgb(214, 224, 238),
    Rgb(242, 242, 242), Rgb(112, 112, 112), Rgb(0, 0, 0),
    Rgb(234, 246, 253), Rgb(190, 230, 253), Rgb(60, 127, 177),
    Rgb(196, 229, 246), Rgb(152, 209, 239),
    Rgb(205, 232, 250), Rgb(166, 214, 245), Rgb(44, 98, 139),
    Rgb(255, 255, 255), Rgb(228, 236, 247), Rgb(30, 57, 91), Rgb(160, 175, 195),
};

}  // namespace

const LookPalette& PaletteOf(LookFamily family, Office2007Style style) {
    switch (family) {
    case LookFamily::Windows2000: return kWindows2000;
    case LookFamily::OfficeXP: return kOfficeXP;
    case LookFamily::WindowsXP: return kWindowsXP;
    case LookFamily::Office2003: return kOffice2003;
    case LookFamily::VisualStudio2005: return kVisualStudio2005;
    case LookFamily::VisualStudio2008: return kVisualStudio2008;
    case LookFamily::Windows7: return kWindows7;
    case LookFamily::Office2007: break;
    }
    switch (style) {
    case Office2007Style::Black: return kOffice2007Black;
    case Office2007Style::Silver: return kOffice2007Silver;
    case Office2007Style::Aqua: return kOffice2007Aqua;
    case Office2007Style::Blue: break;
    }
    return kOffice2007Blue;
}

LookPalette HighContrastPalette(const SystemColours& c) {
    LookPalette p{};
    p.edges3D = false;
    p.gradients = false;
    p.visualStyles = false;  // the system's visual styles keep their own colours
    p.darkTitleBar = false;
    p.flatMenus = true;
    p.barFrom = p.barTo = c.buttonFace;
    p.barText = c.buttonText;
    p.menuBack = p.menuGutter = c.window;
    p.menuText = c.windowText;
    p.menuTextDisabled = c.grayText;
    p.menuSeparator = c.windowText;
    p.highlightFrom = p.highlightTo = c.highlight;
    p.highlightBorder = c.highlightText;
    p.highlightText = c.highlightText;
    p.paneCaptionFrom = p.paneCaptionTo = c.highlight;
    p.paneCaptionText = c.highlightText;
    p.paneBorder = c.windowText;
    p.sizingBand = c.buttonFace;
    // Button text has one colour whatever the state, so every state keeps the face
    // it is drawn on; hot and checked show in their borders.
    p.buttonFace = c.buttonFace;
    p.buttonBorder = c.buttonText;
    p.buttonText = c.buttonText;
    p.buttonHotFrom = p.buttonHotTo = c.buttonFace;
    p.buttonHotBorder = c.highlight;
    p.buttonPressedFrom = p.buttonPressedTo = c.buttonFace;
    p.buttonCheckedFrom = p.buttonCheckedTo = c.buttonFace;
    p.buttonCheckedBorder = c.highlight;
    p.captionBarFrom = p.captionBarTo = c.window;
    p.captionBarText = c.windowText;
    p.captionBarBorder = c.windowText;
    return p;
}

}  // namespace vantrel

// Which look a stored id selects, and that the looks can be told apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "core/Looks.h"

namespace vantrel {
namespace {

TEST(SelectLook, EveryIdOfTheTableAndTheFallback) {
    struct Case {
        std::uint32_t id;
        LookFamily family;
        bool setsStyle;
        Office2007Style style;
        bool smart;
        bool menuItem;
    };
    const Case cases[] = {
        {205, LookFamily::Windows2000, false, Office2007Style::Blue, false, true},
        {206, LookFamily::OfficeXP, false, Office2007Style::Blue, false, true},
        {207, LookFamily::WindowsXP, false, Office2007Style::Blue, false, true},
        {208, LookFamily::Office2003, false, Office2007Style::Blue, true, true},
        {209, LookFamily::VisualStudio2005, false, Office2007Style::Blue, true, true},
        {210, LookFamily::VisualStudio2008, false, Office2007Style::Blue, true, true},
        {215, LookFamily::Office2007, true, Office2007Style::Blue, true, true},
        {216, LookFamily::Office2007, true, Office2007Style::Black, true, true},
        {217, LookFamily::Office2007, true, Office2007Style::Silver, true, true},
        {218, LookFamily::Office2007, true, Office2007Style::Aqua, true, true},
        {219, LookFamily::Windows7, false, Office2007Style::Blue, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const LookSelection got = SelectLook(c.id);
        EXPECT_EQ(got.family, c.family);
        EXPECT_EQ(got.setsStyle, c.setsStyle);
        if (c.setsStyle) {
            EXPECT_EQ(got.style, c.style);
        }
        EXPECT_EQ(got.setsSmartDocking, c.smart);
        EXPECT_EQ(got.hasMenuItem, c.menuItem);
    }
    // Anything else is the Office 2007 look in whatever style it has, with smart
    // docking and no item to mark.
    for (std::uint32_t id : {0u, 1u, 204u, 211u, 212u, 213u, 214u, 220u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(id);
        const LookSelection got = SelectLook(id);
        EXPECT_EQ(got.family, LookFamily::Office2007);
        EXPECT_FALSE(got.setsStyle);
        EXPECT_TRUE(got.setsSmartDocking);
        EXPECT_FALSE(got.hasMenuItem);
    }
    EXPECT_EQ(SelectLook(kDefaultLookId).family, LookFamily::VisualStudio2008);
}

TEST(PaletteOf, EveryLookDiffersFromEveryOtherWhereTheUserLooks) {
    struct Named {
        LookFamily family;
        Office2007Style style;
    };
    const std::vector<Named> looks = {
        {LookFamily::Windows2000, Office2007Style::Blue},      {LookFamily::OfficeXP, Office2007Style::Blue},
        {LookFamily::WindowsXP, Office2007Style::Blue},        {LookFamily::Office2003, Office2007Style::Blue},
        {LookFamily::VisualStudio2005, Office2007Style::Blue}, {LookFamily::VisualStudio2008, Office2007Style::Blue},
        {LookFamily::Office2007, Office2007Style::Blue},       {LookFamily::Office2007, Office2007Style::Black},
        {LookFamily::Office2007, Office2007Style::Silver},     {LookFamily::Office2007, Office2007Style::Aqua},
        {LookFamily::Windows7, Office2007Style::Blue},
    };
    for (size_t i = 0; i < looks.size(); ++i) {
        const LookPalette& a = PaletteOf(looks[i].family, looks[i].style);
        for (size_t j = i + 1; j < looks.size(); ++j) {
            const LookPalette& b = PaletteOf(looks[j].family, looks[j].style);
            SCOPED_TRACE(testing::Message() << i << " vs " << j);
            // The pane caption and a checked button are what a screenshot shows first.
            const bool caption = a.paneCaptionFrom != b.paneCaptionFrom || a.paneCaptionTo != b.paneCaptionTo;
            const bool checked = a.buttonCheckedFrom != b.buttonCheckedFrom || a.buttonCheckedTo != b.buttonCheckedTo;
            const bool bar = a.barFrom != b.barFrom || a.barTo != b.barTo;
            EXPECT_TRUE(caption || bar);
            EXPECT_TRUE(caption || checked || bar);
        }
    }
    // The style counts only for the Office 2007 look.
    EXPECT_EQ(&PaletteOf(LookFamily::Office2003, Office2007Style::Black),
              &PaletteOf(LookFamily::Office2003, Office2007Style::Blue));
    EXPECT_TRUE(PaletteOf(LookFamily::Office2007, Office2007Style::Black).darkTitleBar);
    EXPECT_TRUE(PaletteOf(LookFamily::Windows2000, Office2007Style::Blue).edges3D);
    EXPECT_TRUE(PaletteOf(LookFamily::WindowsXP, Office2007Style::Blue).visualStyles);
    EXPECT_TRUE(PaletteOf(LookFamily::Windows7, Office2007Style::Blue).visualStyles);
}

// High contrast: no colour of any look is left, and every text stands on the
// background the system pairs it with, so that the user's scheme holds throughout.
TEST(HighContrastPalette, EveryTextOnItsSystemBackground) {
    const SystemColours system{Rgb(1, 0, 0), Rgb(2, 0, 0), Rgb(3, 0, 0), Rgb(4, 0, 0),
                               Rgb(5, 0, 0), Rgb(6, 0, 0), Rgb(7, 0, 0)};
    const LookPalette p = HighContrastPalette(system);
    EXPECT_FALSE(p.gradients || p.visualStyles || p.darkTitleBar);

    using Pair = std::pair<Colour, Colour>;  // text, background
    const std::vector<Pair> systemPairs{{system.windowText, system.window},
                                        {system.highlightText, system.highlight},
                                        {system.buttonText, system.buttonFace},
                                        {system.grayText, system.window}};
    struct Drawn {
        const char* element;
        Colour text, from, to;
    };
    const Drawn drawn[] = {
        {"bar", p.barText, p.barFrom, p.barTo},
        {"menu", p.menuText, p.menuBack, p.menuGutter},
        {"disabled menu item", p.menuTextDisabled, p.menuBack, p.menuBack},
        {"highlighted menu item", p.highlightText, p.highlightFrom, p.highlightTo},
        {"pane caption", p.paneCaptionText, p.paneCaptionFrom, p.paneCaptionTo},
        {"button", p.buttonText, p.buttonFace, p.buttonFace},
        {"hot button", p.buttonText, p.buttonHotFrom, p.buttonHotTo},
        {"pressed button", p.buttonText, p.buttonPressedFrom, p.buttonPressedTo},
        {"checked button", p.buttonText, p.buttonCheckedFrom, p.buttonCheckedTo},
        {"caption bar", p.captionBarText, p.captionBarFrom, p.captionBarTo},
    };
    for (const Drawn& d : drawn) {
        SCOPED_TRACE(d.element);
        EXPECT_EQ(d.from, d.to);
        EXPECT_NE(std::find(systemPairs.begin(), systemPairs.end(), Pair{d.text, d.from}), systemPairs.end());
    }
    // Borders and lines are drawn in a text or highlight colour, never in a background's.
    for (const Colour border : {p.menuSeparator, p.highlightBorder, p.paneBorder, p.buttonBorder, p.buttonHotBorder,
                                p.buttonCheckedBorder, p.captionBarBorder}) {
        EXPECT_TRUE(border == system.windowText || border == system.buttonText || border == system.highlightText ||
                    border == system.highlight)
            << border;
    }
    // The active document's button stands out from the others by its border.
    EXPECT_NE(p.buttonCheckedBorder, p.buttonBorder);
}

}  // namespace
}  // namespace vantrel

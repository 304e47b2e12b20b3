// Which look a stored id selects, and that the looks can be told apart.
#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace
}  // namespace vantrel

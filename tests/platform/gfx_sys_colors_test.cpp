// The desktop colour scheme: the classic button greys until changed, changes kept until reset.
#include <gtest/gtest.h>

#include "platform/gfx/sys_colors.h"

namespace {

TEST(SysColors, ClassicButtonGreysChangesAndReset)
{
    struct Case {
        int index;
        plat::ColorRef classic;
    };
    const Case cases[] = {
        {plat::kColorBtnFace, plat::Rgb(192, 192, 192)},
        {plat::kColorBtnShadow, plat::Rgb(128, 128, 128)},
        {plat::kColorBtnText, plat::Rgb(0, 0, 0)},
        {plat::kColorBtnHighlight, plat::Rgb(255, 255, 255)},
        {plat::kColorActiveBorder, plat::Rgb(192, 192, 192)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(plat::GetSysColor(c.index), c.classic);
        EXPECT_EQ(plat::SetSysColor(c.index, plat::Rgb(1, 2, 3) | 0xFF000000u), c.classic);
        EXPECT_EQ(plat::GetSysColor(c.index), plat::Rgb(1, 2, 3)) << "only the colour bits are kept";
    }
    EXPECT_EQ(plat::GetSysColor(plat::kColorWindow), plat::Rgb(255, 255, 255)) << "others are untouched";
    plat::ResetSysColors();
    for (const Case& c : cases) EXPECT_EQ(plat::GetSysColor(c.index), c.classic);
}

TEST(SysColors, IndicesOutsideTheSchemeAreBlackAndIgnored)
{
    for (int index : {-1, plat::kColorInfoBk + 1, 1000}) {
        EXPECT_EQ(plat::GetSysColor(index), plat::Rgb(0, 0, 0));
        plat::SetSysColor(index, plat::Rgb(9, 9, 9));
        EXPECT_EQ(plat::GetSysColor(index), plat::Rgb(0, 0, 0));
    }
}

} // namespace

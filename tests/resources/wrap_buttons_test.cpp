// The wrap-mode buttons of the object property dialogs: the pictures, the pressed face of
// the current mode and the flat face of the others.
#include <gtest/gtest.h>

#include "platform/gfx/sys_colors.h"
#include "resources/res_bitmaps.h"
#include "resources/res_dib.h"
#include "resources/res_wrap_buttons.h"
#include "tests/support/pixel_probe.h"

namespace {

using testsupport::kBlack;
using testsupport::kWhite;
constexpr plat::ColorRef kNavy = plat::Rgb(0, 0, 128);

TEST(WrapButtons, EachModeHasItsPicture)
{
    const char16_t* names[] = {u"IDB_BLEXATTR_NONE", u"IDB_BLEXATTR_LEFT", u"IDB_BLEXATTR_RIGHT",
                               u"IDB_BLEXATTR_BOTH"};
    for (int mode = 0; mode < kWrapButtonCount; ++mode) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(WrapButtonBitmapName(mode), plat::StringView(names[mode]));
        CResDib dib;
        ASSERT_TRUE(dib.Load(names[mode]));
        EXPECT_EQ(dib.Width(), 16);
        EXPECT_EQ(dib.Height(), 16);
    }
    EXPECT_TRUE(WrapButtonBitmapName(-1).empty());
    EXPECT_TRUE(WrapButtonBitmapName(4).empty());
}

// Which side of the picture the object block stands on tells the modes apart: the left
// picture has text on the left (block on the right) and the right one the other way.
TEST(WrapButtons, PicturesShowWhereTheTextRuns)
{
    struct Row {
        int mode;
        plat::ColorRef leftSide, middle, rightSide;
    } rows[] = {
        {0, kWhite, kNavy, kWhite},
        {1, plat::Rgb(128, 128, 128), kNavy, kNavy},
        {2, kNavy, kNavy, plat::Rgb(128, 128, 128)},
        {3, plat::Rgb(128, 128, 128), kNavy, plat::Rgb(128, 128, 128)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        const plat::Bitmap* bmp = LoadResBitmap(WrapButtonBitmapName(r.mode));
        ASSERT_NE(bmp, nullptr);
        EXPECT_EQ(bmp->GetPixel(2, 7), r.leftSide);
        EXPECT_EQ(bmp->GetPixel(7, 7), r.middle);
        EXPECT_EQ(bmp->GetPixel(13, 7), r.rightSide);
    }
}

// The current mode's button is pressed (black first column and row), the others flat; the
// picture fills the rectangle shrunk by 2 pixels.
TEST(WrapButtons, OnlyTheCurrentModeIsPressed)
{
    const plat::ColorRef face = plat::GetSysColor(plat::kColorActiveBorder);
    for (int mode = 0; mode < kWrapButtonCount; ++mode) {
        SCOPED_TRACE(mode);
        testsupport::Canvas canvas(24, 24, plat::Rgb(1, 2, 3));
        DrawWrapButton(canvas.dc, plat::Rect(0, 0, 20, 20), mode, 3);
        const bool pressed = mode == 3;
        EXPECT_EQ(canvas.At(0, 10), pressed ? kBlack : face);
        EXPECT_EQ(canvas.At(10, 0), pressed ? kBlack : face);
        // The picture's white margin starts 2 pixels in; the block sits in the middle.
        EXPECT_EQ(canvas.At(2, 2), kWhite);
        EXPECT_EQ(canvas.At(9, 9), kNavy);
        EXPECT_EQ(canvas.At(20, 10), plat::Rgb(1, 2, 3)); // nothing outside
    }
}

TEST(WrapButtons, ItemsAndModesByControlId)
{
    const std::vector<plat::DialogItemTemplate> items = WrapButtonItems(5941, 16, 19, 29);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].id, 5941);
    EXPECT_EQ(items[0].text, u"None");
    EXPECT_EQ(items[3].text, u"Both");
    EXPECT_EQ(items[3].rect, plat::Rect(103, 19, 124, 40));
    const CWrapButtons buttons(5941);
    EXPECT_EQ(buttons.ModeOf(5941), 0);
    EXPECT_EQ(buttons.ModeOf(5944), 3);
    EXPECT_FALSE(buttons.ModeOf(5945));
    EXPECT_FALSE(buttons.ModeOf(5940));
}

} // namespace

// Resource pictures drawn plain, stretched, AND-blended and transparent; the face and cell
// painters' pixels.
#include <gtest/gtest.h>

#include <set>

#include "resources/res_dib.h"
#include "platform/gfx/sys_colors.h"
#include "tests/support/dib_bytes.h"
#include "tests/support/pixel_probe.h"

namespace {

using test_support::DibSpec;
using test_support::MakeDib;

using testsupport::kBlack;
using testsupport::kWhite;
constexpr plat::ColorRef kGrey = plat::Rgb(128, 128, 128);
constexpr plat::ColorRef kLightGrey = plat::Rgb(192, 192, 192);
constexpr plat::ColorRef kGreen = testsupport::kLime;
constexpr plat::ColorRef kBackdrop = plat::Rgb(200, 150, 100);

// A canvas filled with the backdrop, drawn on through a memory DC.
struct Canvas : testsupport::Canvas {
    Canvas(int w, int h) : testsupport::Canvas(w, h, kBackdrop) {}
};

// A 3 x 2 picture in four colours of an 8-bit table; colour-used count as given.
std::vector<std::uint8_t> SmallPicture(std::uint32_t colorsUsed)
{
    DibSpec s;
    s.width = 3;
    s.height = 2;
    s.bitCount = 8;
    s.colorsUsed = colorsUsed;
    s.table = {kWhite, kBlack, plat::Rgb(128, 255, 0), kGreen};
    if (colorsUsed == 0) s.table.resize(256, plat::Rgb(1, 2, 3));
    s.rows = {{0, 1, 2}, {3, 2, 1}};
    return MakeDib(s);
}
const plat::ColorRef kSmall[2][3] = {{kWhite, kBlack, plat::Rgb(128, 255, 0)},
                                     {kGreen, plat::Rgb(128, 255, 0), kBlack}};

TEST(ResDib, PaletteOnlyWhenTheHeaderCountsItsColours)
{
    CResDib dib;
    ASSERT_TRUE(dib.Load(u"zero", SmallPicture(0)));
    EXPECT_TRUE(dib.GetPalette().empty()); // 8 bits a pixel, yet no palette
    ASSERT_TRUE(dib.Load(u"four", SmallPicture(4)));
    EXPECT_EQ(dib.GetPalette(), (std::vector<plat::ColorRef>{kWhite, kBlack, plat::Rgb(128, 255, 0), kGreen}));
    EXPECT_EQ(dib.GetName(), u"four");
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);

    // A core header has no colour-used field, so no palette either.
    DibSpec core{12, 2, 1, 4, 0, std::vector<plat::ColorRef>(16, kGrey), {{1, 2}}};
    ASSERT_TRUE(dib.Load(u"core", MakeDib(core)));
    EXPECT_TRUE(dib.GetPalette().empty());
}

TEST(ResDib, AFailedLoadKeepsWhatWasThere)
{
    CResDib dib;
    ASSERT_TRUE(dib.Load(u"IDB_ENDPAR"));
    EXPECT_FALSE(dib.Load(u"IDB_NOSUCH"));
    EXPECT_FALSE(dib.Load(u"broken", std::vector<std::uint8_t>(10, 0)));
    EXPECT_EQ(dib.GetName(), u"IDB_ENDPAR");
    EXPECT_EQ(dib.Width(), 9);
    EXPECT_EQ(dib.Height(), 11);
    dib.Free();
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(ResDib, EmptyDrawsNothing)
{
    CResDib dib;
    Canvas c(8, 8);
    EXPECT_FALSE(dib.DrawAt(c.dc, 0, 0));
    EXPECT_FALSE(dib.Draw(c.dc, 0, 0, 4, 4));
    EXPECT_FALSE(dib.DrawAtOrigin(c.dc));
    EXPECT_FALSE(dib.StretchDraw(c.dc, 0, 0, 4, 4));
    EXPECT_FALSE(dib.DrawTransparent(c.dc, 0, 0, 4, 4, kGreen));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(c.At(x, y), kBackdrop);
}

TEST(ResDib, OwnSizeCopiesPixelForPixelOtherSizesStretchWithoutBlending)
{
    CResDib dib;
    ASSERT_TRUE(dib.Load(u"small", SmallPicture(4)));
    {
        Canvas c(6, 4);
        ASSERT_TRUE(dib.DrawAt(c.dc, 1, 1));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(c.At(1 + x, 1 + y), kSmall[y][x]) << x << "," << y;
        EXPECT_EQ(c.At(0, 0), kBackdrop);
        EXPECT_EQ(c.At(4, 3), kBackdrop);
    }
    {
        Canvas c(6, 4);
        ASSERT_TRUE(dib.DrawInRect(c.dc, 0, 0, 6, 4)); // twice the size: 2 x 2 blocks
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(c.At(x, y), kSmall[y / 2][x / 2]) << x << "," << y;
    }
    {
        Canvas c(7, 5); // an odd scale still gives only the picture's own colours
        ASSERT_TRUE(dib.Draw(c.dc, 0, 0, 7, 5));
        const std::set<plat::ColorRef> own = {kWhite, kBlack, plat::Rgb(128, 255, 0), kGreen};
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_TRUE(own.count(c.At(x, y))) << x << "," << y;
        EXPECT_EQ(c.At(0, 0), kWhite);
        EXPECT_EQ(c.At(6, 4), kBlack);
    }
}

TEST(ResDib, StretchDrawAndsWithTheDestination)
{
    CResDib dib;
    ASSERT_TRUE(dib.Load(u"small", SmallPicture(4)));
    Canvas c(3, 2);
    ASSERT_TRUE(dib.StretchDraw(c.dc, 0, 0, 3, 2));
    EXPECT_EQ(c.At(0, 0), kBackdrop);                 // white leaves it
    EXPECT_EQ(c.At(1, 0), kBlack);                    // black blackens it
    EXPECT_EQ(c.At(2, 0), plat::Rgb(128, 150, 0));    // 200&128, 150&255, 100&0
    EXPECT_EQ(c.At(0, 1), plat::Rgb(0, 150, 0));      // green keeps the green channel
}

TEST(ResDib, DrawTransparentLeavesOutExactlyTheTransparentColour)
{
    DibSpec s;
    s.width = 2;
    s.height = 2;
    s.bitCount = 4;
    s.colorsUsed = 3;
    s.table = {kGreen, plat::Rgb(0, 254, 0), kBlack};
    s.rows = {{0, 1}, {2, 0}};
    CResDib dib;
    ASSERT_TRUE(dib.Load(u"marker", MakeDib(s)));

    Canvas c(6, 6);
    ASSERT_TRUE(dib.DrawTransparent(c.dc, 1, 1, 4, 4, kGreen));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            plat::ColorRef expected = kBackdrop;
            if (x >= 1 && x < 5 && y >= 1 && y < 5) {
                const int px = (x - 1) / 2;
                const int py = (y - 1) / 2;
                const plat::ColorRef pic[2][2] = {{kGreen, plat::Rgb(0, 254, 0)}, {kBlack, kGreen}};
                expected = pic[py][px] == kGreen ? kBackdrop : pic[py][px];
            }
            EXPECT_EQ(c.At(x, y), expected) << x << "," << y;
        }
}

class Painters : public ::testing::Test {
protected:
    void TearDown() override { plat::ResetSysColors(); }
};

// What a painter leaves on a 14 x 12 canvas when it paints (2, 3, 12, 10).
struct EdgeCase {
    const char* name;
    void (*paint)(plat::Dc&, const plat::Rect&);
    plat::Point probe;
    plat::ColorRef expected;
};

void Selected(plat::Dc& dc, const plat::Rect& r) { DrawSelectedCell(dc, r, plat::Rgb(255, 0, 0)); }
void Cell(plat::Dc& dc, const plat::Rect& r) { DrawColourCell(dc, r, plat::Rgb(0, 0, 255)); }

TEST_F(Painters, EdgePixels)
{
    plat::SetSysColor(plat::kColorActiveBorder, plat::Rgb(212, 208, 200));
    const plat::ColorRef face = plat::Rgb(212, 208, 200);
    const EdgeCase cases[] = {
        {"face inside", FillButtonFace, {2, 3}, face},
        {"face corner", FillButtonFace, {11, 9}, face},
        {"raised left", DrawRaisedButton, {2, 6}, kWhite},
        {"raised top", DrawRaisedButton, {6, 3}, kWhite},
        {"raised inside", DrawRaisedButton, {6, 6}, face},
        {"raised second to last column", DrawRaisedButton, {10, 6}, kGrey},
        {"raised second to last row", DrawRaisedButton, {6, 8}, kGrey},
        {"raised last column", DrawRaisedButton, {11, 6}, kBlack},
        {"raised last row", DrawRaisedButton, {6, 9}, kBlack},
        {"raised top right corner", DrawRaisedButton, {11, 3}, kBlack},
        {"pressed left", DrawPressedButton, {2, 6}, kBlack},
        {"pressed top", DrawPressedButton, {6, 3}, kBlack},
        {"pressed second column", DrawPressedButton, {3, 6}, kGrey},
        {"pressed second row", DrawPressedButton, {6, 4}, kGrey},
        {"pressed second to last column", DrawPressedButton, {10, 6}, kLightGrey},
        {"pressed last column", DrawPressedButton, {11, 6}, kWhite},
        {"pressed last row", DrawPressedButton, {6, 9}, kWhite},
        {"pressed pattern, even", DrawPressedButton, {5, 5}, kWhite},
        {"pressed pattern, odd", DrawPressedButton, {5, 6}, kLightGrey},
        {"cell outer ring", Cell, {2, 6}, kLightGrey},
        {"cell black ring", Cell, {3, 6}, kBlack},
        {"cell black ring bottom", Cell, {6, 8}, kBlack},
        {"cell colour", Cell, {4, 5}, plat::Rgb(0, 0, 255)},
        {"selected outer ring", Selected, {11, 6}, kWhite},
        {"selected inverse ring", Selected, {10, 6}, plat::Rgb(0, 255, 255)},
        {"selected colour", Selected, {9, 6}, plat::Rgb(255, 0, 0)},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(14, 12);
        c.paint(canvas.dc, plat::Rect(2, 3, 12, 10));
        EXPECT_EQ(canvas.At(c.probe.x, c.probe.y), c.expected);
        // Nothing outside the rectangle.
        for (int x = 0; x < 14; ++x) {
            EXPECT_EQ(canvas.At(x, 2), kBackdrop) << x;
            EXPECT_EQ(canvas.At(x, 10), kBackdrop) << x;
        }
        for (int y = 0; y < 12; ++y) {
            EXPECT_EQ(canvas.At(1, y), kBackdrop) << y;
            EXPECT_EQ(canvas.At(12, y), kBackdrop) << y;
        }
    }
}

TEST_F(Painters, FrameRectOutlinesAndShrinks)
{
    Canvas canvas(10, 10);
    plat::Rect r(1, 1, 9, 8);
    DrawFrameRect(canvas.dc, r, plat::Rgb(0, 0, 128));
    EXPECT_EQ(r, plat::Rect(2, 2, 8, 7));
    EXPECT_EQ(canvas.At(1, 1), plat::Rgb(0, 0, 128));
    EXPECT_EQ(canvas.At(8, 4), plat::Rgb(0, 0, 128));
    EXPECT_EQ(canvas.At(4, 7), plat::Rgb(0, 0, 128));
    EXPECT_EQ(canvas.At(4, 8), kBackdrop);
    EXPECT_EQ(canvas.At(2, 2), kBackdrop); // the inside is left alone
    EXPECT_EQ(canvas.At(9, 4), kBackdrop);
}

} // namespace

// The pictures of the text-border palette: one 16 x 16 picture a border kind (and the
// bomb the palette does not show), each different from the others, on one sheet compared
// with the expected picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "resources/res_bitmaps.h"
#include "tests/support/pixel_probe.h"

namespace {

const char16_t* const kNames[] = {
    u"IDB_TXTBORDER_NONE",       u"IDB_TXTBORDER_RECT",        u"IDB_TXTBORDER_RECTDOT",
    u"IDB_TXTBORDER_RECTSHADOW", u"IDB_TXTBORDER_RECTARROW",   u"IDB_TXTBORDER_ROUND",
    u"IDB_TXTBORDER_ROUNDDOT",   u"IDB_TXTBORDER_ROUNDSHADOW", u"IDB_TXTBORDER_ROUNDARROW",
    u"IDB_TXTBORDER_CIRCLE",     u"IDB_TXTBORDER_CIRCLEDOT",   u"IDB_TXTBORDER_ELLIPSE",
    u"IDB_TXTBORDER_ELLIPSEDOT", u"IDB_TXTBORDER_ELLIPSESHADOW", u"IDB_TXTBORDER_ELLIPSEARROW",
    u"IDB_TXTBORDER_DIAMOND",    u"IDB_TXTBORDER_DOUBLERECT",  u"IDB_TXTBORDER_DOT",
    u"IDB_TXTBORDER_LINE",       u"IDB_TXTBORDER_LINE2",       u"IDB_TXTBORDER_LINE3",
    u"IDB_TXTBORDER_BOMB",
};
constexpr int kCount = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));

std::vector<plat::ColorRef> Pixels(const plat::Bitmap& b)
{
    std::vector<plat::ColorRef> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.push_back(b.GetPixel(x, y));
    return out;
}

TEST(TextBorderPictures, EveryKindHasItsOwnPicture)
{
    std::vector<std::vector<plat::ColorRef>> seen;
    for (const char16_t* name : kNames) {
        SCOPED_TRACE(plat::Utf16ToUtf8(name));
        const plat::Bitmap* b = LoadResBitmap(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Width(), 16);
        EXPECT_EQ(b->Height(), 16);
        const auto pixels = Pixels(*b);
        for (const auto& other : seen) EXPECT_NE(pixels, other);
        seen.push_back(pixels);
    }
}

// All the pictures side by side, four times their size. Looked at once and committed;
// QUILN_WRITE_EXPECTED=1 writes it afresh.
TEST(TextBorderPictures, SheetMatchesTheExpectedOne)
{
    constexpr int kScale = 4, kPitch = 16 * kScale + 8;
    auto sheet = plat::Bitmap::Create(kCount * kPitch, kPitch);
    sheet->Fill(0xC0C0C0);
    for (int i = 0; i < kCount; ++i) {
        const plat::Bitmap* b = LoadResBitmap(kNames[i]);
        ASSERT_NE(b, nullptr);
        for (int y = 0; y < 16 * kScale; ++y)
            for (int x = 0; x < 16 * kScale; ++x)
                sheet->SetPixel(i * kPitch + 4 + x, 4 + y, b->GetPixel(x / kScale, y / kScale));
    }
    EXPECT_EQ(testsupport::DifferenceFromExpected(*sheet, "resources/text_border_pictures.png"), 0);
}

} // namespace

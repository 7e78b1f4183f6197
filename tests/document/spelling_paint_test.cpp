// Red marks on the rendered text: a frame bound to the real spelling library, painted on
// a bitmap, shows the zigzag under its misspelt word and nothing under its correct one.
#include <algorithm>

#include "document/line_layout.h"
#include "document/ql_doc.h"
#include "document/render_context.h"
#include "document/text_frame.h"
#include "document/units.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/document/spelling_support.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::ColorRef;
using plat::Rgb;

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr int kX0 = 10;
constexpr int kY0 = 10;

class SpellPaintTest : public testing::Test {
protected:
    SpellPaintTest() : bmp(plat::Bitmap::Create(600, 120))
    {
        doc.GetAuthors().Append(0, u"");
        doc.ResetFormatState();
        dc.Select(bmp.get());
        //                          0123456789012345678
        frame.InsertItemsAtCaret(u"receive recieve it");
    }

    void Paint(int pass)
    {
        bmp->Fill(kWhite);
        CRenderContext rc(&doc, dc);
        frame.Draw(dc, 1.0, kX0, kY0, pass, rc, false);
        rc.Restore(dc);
    }
    int Px(int twips) const { return TwipsToPixels(dc, 1.0, twips); }
    // Red pixels in the band of the zigzag under items first..last: from the baseline
    // down to 4/96 inch and a pixel below it.
    int RedUnder(int first, int last) const
    {
        const CTextItem* a = frame.GetItem(first);
        const CTextItem* b = frame.GetItem(last);
        const int baseline = kY0 + Px(a->GetTop() + a->GetAscent());
        const plat::Rect band(kX0 + Px(a->GetLeft()), baseline, kX0 + Px(b->GetLeft() + b->GetDrawnWidth()),
                              baseline + 6);
        return testsupport::InkOf(*bmp, band, kRed).count;
    }

    CQlDoc doc;
    CTextFrameObj frame{&doc, nullptr, kNodeTextShape, 8000, 2000, kAlignLeft};
    CSpellErrorList& errors = doc.GetSpellErrors();
    std::unique_ptr<plat::Bitmap> bmp;
    plat::MemoryDc dc;
};

TEST_F(SpellPaintTest, MisspeltWordIsUnderlinedInRedOnTheScreen)
{
    ASSERT_TRUE(spelltest::RealEngine().IsBound());
    frame.MarkSpelling(spelltest::RealEngine(), 0, 0);
    ASSERT_EQ(errors.GetCount(), 1);
    Paint(1);
    EXPECT_EQ(RedUnder(0, 6), 0) << "receive";
    EXPECT_GT(RedUnder(8, 14), 2 * Px(frame.GetItem(14)->GetLeft() - frame.GetItem(8)->GetLeft()) / 4) << "recieve";
    EXPECT_EQ(RedUnder(16, 17), 0) << "it";
    // The zigzag runs the whole word: red in its first and its last letter.
    EXPECT_GT(RedUnder(8, 8), 0);
    EXPECT_GT(RedUnder(14, 14), 0);
    // Pictures and prints carry no marks.
    Paint(4);
    EXPECT_EQ(RedUnder(8, 14), 0);
}

TEST_F(SpellPaintTest, NoMarksWithoutTheLibraryOrOnceTheListIsEmptied)
{
    CSpellEngine unbound;
    frame.MarkSpelling(unbound, 0, 0);
    Paint(1);
    EXPECT_EQ(RedUnder(0, 17), 0);

    frame.MarkSpelling(spelltest::RealEngine(), 0, 0);
    errors.RemoveAll();
    Paint(1);
    EXPECT_EQ(RedUnder(0, 17), 0);
}

} // namespace

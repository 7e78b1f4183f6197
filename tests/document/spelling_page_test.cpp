// Spelling marks on the document's rendered page and the document's replacement of a
// marked word: a headless document bound to the real spelling library in bin/.
#include <algorithm>
#include <memory>
#include <string>

#include "document/doc_body.h"
#include "document/doc_window.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/document/spelling_support.h"

namespace {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);
// "I recieve it": the misspelt word is items 2-8, "it" items 10-11.
constexpr int kWordFirst = 2;
constexpr int kWordLast = 8;

class SpellPageTest : public testing::Test {
protected:
    SpellPageTest() : bmp(plat::Bitmap::Create(800, 200))
    {
        dc.Select(bmp.get());
        doc.Reset();
        doc.SetSpellEngine(&spelltest::RealEngine());
        doc.SetSpellMarks(true);
        body().SetCaret(CTextPos(0, body().GetName()));
        body().InsertItemsAtCaret(u"I recieve it");
        body().Relayout(1, 0);
        doc.SetModified(false);
    }
    CDocBody& body() const { return *doc.GetBody(); }

    // Page 1 on the screen with its top left corner at (0, 0).
    void Render()
    {
        bmp->Fill(kWhite);
        doc.DrawPage(dc, 1.0, 0, 0, 0, 1);
    }
    int Px(int twips) const { return TwipsToPixels(dc, 1.0, twips); }
    // Red pixels from the baseline of items first..last down to 6 pixels below it.
    int RedUnder(int first, int last) const
    {
        const plat::Rect page = doc.GetPageRect(0);
        const int x0 = -Px(page.left);
        const int y0 = Px96ToPixels(dc, 1.0, 8) - Px(page.top);
        const CTextItem* a = body().GetItem(first);
        const CTextItem* b = body().GetItem(last);
        const int baseline = y0 + Px(a->GetTop() + a->GetAscent());
        int red = 0;
        for (int y = baseline; y <= baseline + 6; ++y)
            for (int x = x0 + Px(a->GetLeft()); x < x0 + Px(b->GetLeft() + b->GetDrawnWidth()); ++x)
                red += bmp->GetPixel(x, y) == kRed;
        return red;
    }
    std::string Text() const
    {
        std::u16string out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out += body().GetItem(i)->GetCode();
        return plat::Utf16ToUtf8(out);
    }
    // The marked word's record with its suggestions filled as the context menu fills
    // them; the slot of "receive" in it.
    CSpellError* Suggest(int& slot)
    {
        const CTextItem* item = body().GetItem(kWordFirst + 1);
        CSpellError* error = nullptr;
        const int end = body().AddSpellingSuggestions(item->GetLeft() + 5, item->GetTop() + 5,
                                                      spelltest::RealEngine(), nullptr, 0, &error);
        slot = -1;
        for (int k = 0; error && k < end; ++k)
            if (error->GetSuggestion(k) == u"receive") slot = k;
        return error;
    }

    CHeadlessDocWindow window;
    CQlDoc doc{&window};
    std::unique_ptr<plat::Bitmap> bmp;
    plat::MemoryDc dc;
};

TEST_F(SpellPageTest, ScreenPageMarksTheMisspeltWordOnly)
{
    ASSERT_TRUE(spelltest::RealEngine().IsBound());
    Render();
    EXPECT_GT(RedUnder(kWordFirst, kWordLast), 10);
    EXPECT_EQ(RedUnder(0, 0), 0);
    EXPECT_EQ(RedUnder(10, 11), 0);
    ASSERT_EQ(doc.GetSpellErrors().GetCount(), 1);
    EXPECT_EQ(doc.GetSpellErrors().GetAt(0)->GetWord(), u"recieve");

    // Painting again checks afresh: one record still, not one a paint.
    Render();
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 1);
}

TEST_F(SpellPageTest, NoMarksWhenSwitchedOffWithoutEngineOrInPrint)
{
    Render();
    ASSERT_GT(RedUnder(kWordFirst, kWordLast), 10);
    doc.SetSpellMarks(false);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);
    EXPECT_EQ(body().GetItem(kWordFirst)->GetMisspelt(), nullptr);
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);

    doc.SetSpellMarks(true);
    doc.SetSpellEngine(nullptr);
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);

    // Print mode never checks.
    doc.SetSpellEngine(&spelltest::RealEngine());
    bmp->Fill(kWhite);
    doc.DrawPage(dc, 1.0, 0, 0, 0, 3);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);
}

TEST_F(SpellPageTest, ReplacingWithASuggestionIsOneUndoableEdit)
{
    Render();
    int slot = -1;
    CSpellError* error = Suggest(slot);
    ASSERT_NE(error, nullptr);
    ASSERT_GE(slot, 0);

    ASSERT_TRUE(doc.ReplaceWithSuggestion(error, slot));
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_TRUE(doc.IsModified());
    Render();
    EXPECT_EQ(RedUnder(kWordFirst, kWordLast), 0);
    EXPECT_EQ(doc.GetSpellErrors().GetCount(), 0);

    doc.EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
    Render();
    EXPECT_GT(RedUnder(kWordFirst, kWordLast), 10);
}

TEST_F(SpellPageTest, RefusedReplacementChangesNothingAndPushesNoUndo)
{
    Render();
    int slot = -1;
    CSpellError* error = Suggest(slot);
    ASSERT_NE(error, nullptr);
    // A record that is not in the document's list, an empty slot, a null record.
    CSpellError stray(&body(), kWordFirst, kWordLast - kWordFirst + 1);
    stray.SetSuggestion(0, u"receive");
    EXPECT_FALSE(doc.ReplaceWithSuggestion(&stray, 0));
    EXPECT_FALSE(doc.ReplaceWithSuggestion(error, CSpellError::kMaxSuggestions));
    EXPECT_FALSE(doc.ReplaceWithSuggestion(nullptr, 0));
    // A read-only document.
    doc.SetReadOnly(true);
    EXPECT_FALSE(doc.ReplaceWithSuggestion(error, slot));
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
}

} // namespace

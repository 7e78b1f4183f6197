// The screen pass writes its characters a run at a time; the pictures it gives must be
// those of drawing item by item, each item's Draw and then its marks, as the screen did
// before. The reference below is that item-by-item painter; both draw the same pages of
// documents with formats, revisions shown and hidden, spelling marks, annotations,
// objects and a selection, and of the native files the fixtures hold, pixel for pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/doc_password.h"
#include "document/render_context.h"
#include "document/spell_error.h"
#include "document/text_paint.h"
#include "objects/object_kinds.h"
#include "platform/base/system.h"
#include "tests/document/page_body_support.h"
#include "tests/support/fixture_walk.h"
#include "tests/support/pixel_probe.h"

using namespace pagebody;

namespace {

// The screen's page painting one item at a time: every item that is not hidden, from the
// lines reaching into the rectangle to a frame's height below it, then the objects.
void PaintItemByItem(CDocBody& body, plat::Dc& dc, int x0, int y0, const plat::Rect& rect)
{
    CDocContext* doc = body.GetDoc();
    if (doc) doc->GetAnnotations().ResetDrawn();
    CRenderContext rc(doc, dc);
    rc.SetDocOrigin(plat::Point(x0, y0));
    const bool showDeleted = doc && doc->IsRevisionsShown();
    const plat::Rect frame = body.GetPageFrame(0).m_rect;
    const std::int64_t stopBelow = std::int64_t(rect.bottom) + frame.bottom - frame.top;
    for (int i = 0; i < body.GetCount(); ++i) {
        const CTextItem* item = body.GetItem(i);
        if (item->IsDeleted() && !showDeleted) continue;
        if (item->GetTop() > stopBelow) break;
        if (std::int64_t(item->GetTop()) + item->GetLineHeight() < rect.top) continue;
        item->Draw(dc, 1.0, x0, y0, 1, rc, true);
        DrawItemMarks(dc, 1.0, x0, y0, *item, rc, true);
    }
    body.GetObjectList().Draw(dc, 1.0, x0, y0, 1, rect.top, rect.bottom, rc);
    rc.Restore(dc);
}

// Pixels that differ between two bitmaps of one size.
int Differing(const plat::Bitmap& a, const plat::Bitmap& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.GetPixel(x, y) != b.GetPixel(x, y);
    return n;
}

// Every page of the body, with the caret or selection over it, drawn both ways; blank
// pages would prove nothing, so the pages must hold at least minInk pixels of ink.
void ExpectSamePages(CQlDoc& doc, int minInk = 500)
{
    CDocBody& body = *doc.GetBody();
    const plat::Size paper = doc.GetPaperSizeTwips();
    const int width = paper.cx / 15 + 4, height = paper.cy / 15 + 4;
    int inked = 0;
    for (int page = 0; page < body.GetPageCount(); ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page + 1);
        const plat::Rect rect = body.GetPageRect(page);
        const int x0 = -TwipsToPixels(plat::MemoryDc(), 1.0, rect.left);
        const int y0 = -TwipsToPixels(plat::MemoryDc(), 1.0, rect.top);
        testsupport::Canvas batched(width, height), single(width, height);
        body.DrawPage(batched.dc, 1.0, x0, y0, 1, rect);
        body.DrawCaret(batched.dc, 1.0, x0, y0);
        PaintItemByItem(body, single.dc, x0, y0, rect);
        body.DrawCaret(single.dc, 1.0, x0, y0);
        EXPECT_EQ(Differing(*batched.bitmap, *single.bitmap), 0);
        inked += testsupport::InkOn(*single.bitmap, testsupport::Whole(*single.bitmap), testsupport::kWhite).count;
    }
    EXPECT_GE(inked, minInk);
}

class ScreenTextPaint : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        doc.GetAuthors().Append(7, u"第二位作者");
        doc.GetAuthors().Append(8, u"Third author");
        Append(u"Plain Latin words, 汉字排版“引号”（括号）。Bold and big, super and sub: x2 H2O.\r"
               u"Underlined once, twice, dotted. 删除的文字 inserted text, a   wide gap.\r"
               u"Misspelt recieve typjng here; 批注的文字 and coloured ink.\f"
               u"第二页：the second page, with more text to wrap over a line or two of it.");
    }
    // Items from..to-1 take the format as changed by `change`.
    template <class Change>
    void Format(int from, int to, Change change)
    {
        for (int i = from; i < to; ++i) {
            CCharFormat f(Item(i).GetFormat());
            change(f);
            body().GetItem(i)->SetFormat(f);
        }
    }
    int Find(const std::u16string& text) const
    {
        for (int i = 0; i + static_cast<int>(text.size()) <= body().GetCount(); ++i) {
            int k = 0;
            while (k < static_cast<int>(text.size()) && Item(i + k).GetCode() == text[k]) ++k;
            if (k == static_cast<int>(text.size())) return i;
        }
        ADD_FAILURE() << "no such text";
        return 0;
    }
    void Mark(const std::u16string& word)
    {
        const int at = Find(word);
        CSpellError* error = doc.GetSpellErrors().Add(std::make_unique<CSpellError>(&body(), at, int(word.size())));
        for (int i = at; i < at + int(word.size()); ++i) body().GetItem(i)->SetMisspelt(error);
    }
    // Formats, revisions, marks and an object, as the test documents of the screen show.
    void Dress()
    {
        Format(Find(u"Bold"), Find(u"Bold") + 4, [](CCharFormat& f) { f.m_bold = 1; });
        Format(Find(u"big"), Find(u"big") + 3, [](CCharFormat& f) { f.m_size = 420; });
        Format(Find(u"2 H"), Find(u"2 H") + 1, [](CCharFormat& f) { f.m_position = 1; });
        Format(Find(u"2O"), Find(u"2O") + 1, [](CCharFormat& f) { f.m_position = 2; });
        Format(Find(u"once"), Find(u"once") + 4, [](CCharFormat& f) { f.m_underline = 1; });
        Format(Find(u"twice"), Find(u"twice") + 5, [](CCharFormat& f) { f.m_underline = 2; });
        Format(Find(u"dotted"), Find(u"dotted") + 6, [](CCharFormat& f) { f.m_underline = 3; });
        Format(Find(u"删除的"), Find(u"删除的") + 5, [](CCharFormat& f) { f.m_deletedBy = 1; });
        Format(Find(u" inserted"), Find(u" inserted") + 14, [](CCharFormat& f) { f.m_insertedBy = 2; });
        Format(Find(u"   wide"), Find(u"   wide") + 3, [](CCharFormat& f) { f.m_deletedBy = 2; });
        Format(Find(u"批注的"), Find(u"批注的") + 5, [](CCharFormat& f) { f.m_annotation = 1; });
        Format(Find(u"coloured"), Find(u"coloured") + 8, [](CCharFormat& f) { f.m_color = 0x0000C0; });
        Format(Find(u"the second"), Find(u"the second") + 10, [](CCharFormat& f) {
            f.m_italic = 1;
            f.m_westernFace = u"Arial";
        });
        doc.GetAnnotations().Add(0, 1700000000, u"批注");
        body().RelayoutWhole();
        Mark(u"recieve");
        Mark(u"typjng");
        const plat::Rect t = TextArea(0);
        AddObject(plat::Rect(t.left + 1200, t.top + 900, t.left + 2000, t.top + 1500));
    }
};

} // namespace

TEST_F(ScreenTextPaint, PlainTextAndCaret)
{
    Caret(5);
    ExpectSamePages(doc);
}

TEST_F(ScreenTextPaint, FormatsMarksAndObjectsWithRevisionsHiddenAndShown)
{
    Dress();
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "revisions shown" : "revisions hidden");
        doc.SetRevisionsShown(shown);
        body().RelayoutWhole();
        Caret(Find(u"typjng") + 2);
        ExpectSamePages(doc);
        // A selection across lines and pages is inverted over the text.
        Select(Find(u"Plain") + 3, Find(u"第二页") + 6);
        ExpectSamePages(doc);
    }
}

TEST(ScreenTextPaintFixtures, NativeFilesPaintTheSameBothWays)
{
    RegisterObjectKinds();
    objtest::ScopedTestKind kind;
    SetPasswordPrompt([] { return plat::String(u"fuzz"); });
    int files = 0;
    for (const auto& file : testsupport::FixtureFiles("native", testsupport::FixtureKind::kPass)) {
        SCOPED_TRACE(file.filename().string());
        CQlDoc doc;
        doc.FileNew();
        ASSERT_EQ(doc.FileOpen(plat::Utf8ToUtf16(file.string()), false), 1);
        for (bool shown : {false, true}) {
            doc.SetRevisionsShown(shown);
            doc.GetBody()->RelayoutWhole();
            ExpectSamePages(doc, 40);
        }
        ++files;
    }
    SetPasswordPrompt({});
    EXPECT_GT(files, 0);
}

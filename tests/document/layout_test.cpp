// Line layout: character widths from the desktop, the measuring rules, break marking,
// runs, over-wide words and the placing of lines in a column of fixed width. Expected
// positions are worked out from the faces' metrics as the drawing layer reports them.
#include <functional>
#include <string>
#include <vector>

#include "document/char_width_cache.h"
#include "document/line_layout.h"
#include "tests/document/layout_support.h"

namespace {

using layouttest::FaceMetrics;
using layouttest::TextBox;

class LayoutTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_m = layouttest::ReadMetrics().release(); }
    static void TearDownTestSuite()
    {
        delete s_m;
        s_m = nullptr;
    }
    static const FaceMetrics& M() { return *s_m; }

    CColumnLayout LayOut(int width, int align, int spacing = 1)
    {
        CLineLayout layout(*t.box);
        return layout.LayOutColumn(0, t.Count(), width, align, spacing);
    }
    void Measure()
    {
        CLineLayout layout(*t.box);
        layout.MeasureItems(0, t.Count());
        layout.MarkBreaks(0, t.Count());
    }
    int Width(int i) const { return t.Item(i)->GetWidth(); }
    // Indices of the items that begin a line (a change of line top).
    std::vector<int> LineStarts() const
    {
        std::vector<int> starts;
        for (int i = 0; i < t.Count(); ++i)
            if (i == 0 || t.Item(i)->GetLineTop() != t.Item(i - 1)->GetLineTop()) starts.push_back(i);
        return starts;
    }
    std::vector<int> Flagged() const
    {
        std::vector<int> out;
        for (int i = 0; i < t.Count(); ++i)
            if (t.Item(i)->GetBreakBefore()) out.push_back(i);
        return out;
    }

    static inline FaceMetrics* s_m = nullptr;
    TextBox t;
};

// ---- the width cache -------------------------------------------------------------

TEST_F(LayoutTest, CacheMeasuresItemsWithTheDesktopMetrics)
{
    t.Set(u"中a\u2030\uFF11 ");
    t.box->InsertItem(0, std::make_unique<CAnchorItem>(t.box.get()));
    CCharWidthCache cache;
    struct Want {
        int index, width, height, ascent;
    };
    const FaceMetrics& m = M();
    const Want wants[] = {
        {0, 1, 210, 210},                                           // anchor: 1 twip, as tall as its size
        {1, m.C(), m.C(), m.cjkAscent},                             // CJK: a square
        {2, m.W(u'a'), m.westernHeight, m.westernAscent},           // from the table
        {3, m.W(0x2030), m.westernHeight, m.westernAscent},         // per mille: beyond the table
        {4, m.W(0xFF11), m.westernHeight, m.westernAscent},         // full-width digit
        {5, m.W(u' '), m.westernHeight, m.westernAscent},
        {6, 0, m.C(), m.cjkAscent},                                 // final paragraph end
    };
    for (const Want& w : wants) {
        int width = -1, height = -1, ascent = -1;
        cache.Measure(*t.Item(w.index), width, height, ascent);
        EXPECT_EQ(width, w.width) << w.index;
        EXPECT_EQ(height, w.height) << w.index;
        EXPECT_EQ(ascent, w.ascent) << w.index;
    }
    EXPECT_EQ(m.C(), 225) << "宋体 at 10.5 pt is 15 pixels high on the desktop";
}

TEST_F(LayoutTest, ScriptItemsAreTwoThirdsAsWide)
{
    t.Set(u"Wd中W中");
    t.Modify(2, [](CCharFormat& f) { f.m_position = 1; });
    t.Modify(3, [](CCharFormat& f) { f.m_position = 2; });
    t.Modify(4, [](CCharFormat& f) { f.m_position = 1; });
    CCharWidthCache cache;
    for (int i = 0; i < t.Count(); ++i) t.Item(i)->Measure(cache);
    EXPECT_EQ(Width(0), M().W(u'W'));
    EXPECT_EQ(Width(3), 2 * M().W(u'W') / 3);
    EXPECT_EQ(Width(2), 2 * M().C() / 3);
    EXPECT_EQ(Width(4), 2 * M().C() / 3);
    // Heights and ascents stay those of the full size.
    EXPECT_EQ(t.Item(3)->GetHeight(), M().westernHeight);
    EXPECT_EQ(t.Item(4)->GetAscent(), M().cjkAscent);
}

TEST_F(LayoutTest, CacheIsRebuiltOnlyWhenTheFontChanges)
{
    t.Set(u"abcdef");
    t.Modify(1, [](CCharFormat& f) { f.m_color = 0x0000FF; f.m_insertedBy = 3; }); // no font change
    t.Modify(2, [](CCharFormat& f) { f.m_bold = 1; });
    t.Modify(4, [](CCharFormat& f) { f.m_size = 315; });
    CCharWidthCache cache;
    std::vector<int> rebuilds;
    for (int i = 0; i < t.Count(); ++i) {
        t.Item(i)->Measure(cache);
        rebuilds.push_back(cache.GetRebuildCount());
    }
    // a: first; b: colour only; c: bold; d: back to a's font (kept); e: new size; f; $.
    EXPECT_EQ(rebuilds, (std::vector<int>{1, 1, 2, 2, 3, 3, 3}));
    auto big = layouttest::ReadMetrics(315);
    EXPECT_EQ(Width(4), big->W(u'e'));
    EXPECT_EQ(t.Item(4)->GetHeight(), big->westernHeight);
    EXPECT_EQ(Width(3), M().W(u'd'));
}

TEST_F(LayoutTest, DocumentsWithoutAFrameShareTheProcessCache)
{
    CQlDoc other;
    EXPECT_EQ(&CCharWidthCache::For(&t.doc), &CCharWidthCache::For(&other));
    CCharWidthCache frameCache;
    t.doc.SetWidthCache(&frameCache);
    EXPECT_EQ(&CCharWidthCache::For(&t.doc), &frameCache);
    t.doc.SetWidthCache(nullptr);
}

// ---- measuring rules -------------------------------------------------------------

TEST_F(LayoutTest, LeadingSpacesOfAParagraphAreFullWidth)
{
    t.Set(u"  a b\r  c");
    Measure();
    const int c = M().C(), s = M().W(u' ');
    EXPECT_EQ(Width(0), c);
    EXPECT_EQ(Width(1), c);
    EXPECT_EQ(Width(3), s) << "a space after a letter keeps the Western width";
    EXPECT_EQ(Width(6), c);
    EXPECT_EQ(Width(7), c);
}

TEST_F(LayoutTest, InnerOfTwoChinesePunctuationMarksIsHalved)
{
    t.Set(u"（（甲））");
    Measure();
    const int c = M().C();
    EXPECT_EQ(Width(0), c);
    EXPECT_EQ(Width(1), c / 2);
    EXPECT_EQ(Width(2), c);
    EXPECT_EQ(Width(3), c / 2);
    EXPECT_EQ(Width(4), c);
}

TEST_F(LayoutTest, HiddenDeletedCharactersDoNotSeparatePunctuation)
{
    t.AddAuthors();
    t.Set(u"（x（");
    t.Modify(1, [](CCharFormat& f) { f.m_deletedBy = 2; });
    Measure();
    EXPECT_EQ(Width(1), 0) << "hidden";
    EXPECT_EQ(Width(2), M().C() / 2);
    t.doc.SetRevisionsShown(true);
    Measure();
    EXPECT_EQ(Width(1), M().W(u'x'));
    EXPECT_EQ(Width(2), M().C());
}

TEST_F(LayoutTest, ClosingMarksLookOnlyInsideTheMeasuredRange)
{
    t.Set(u"））");
    CLineLayout layout(*t.box);
    layout.MeasureItems(0, 1);
    EXPECT_EQ(Width(0), M().C());
    layout.MeasureItems(0, 2);
    EXPECT_EQ(Width(0), M().C() / 2);
}

TEST_F(LayoutTest, MeasureAllAppliesNoNeighbourRules)
{
    t.Set(u"  （（");
    t.box->MeasureAll();
    EXPECT_EQ(Width(0), M().W(u' '));
    EXPECT_EQ(Width(3), M().C());
}

TEST_F(LayoutTest, ParagraphEndTakesTheFormatOfTheLastVisibleCharacter)
{
    t.AddAuthors();
    t.Set(u"ab\rc");
    t.Modify(0, [](CCharFormat& f) { f.m_size = 315; });
    t.Modify(1, [](CCharFormat& f) { f.m_size = 315; f.m_deletedBy = 2; });
    t.doc.SetRevisionsShown(true);
    Measure();
    auto big = layouttest::ReadMetrics(315);
    EXPECT_EQ(t.Item(2)->GetFormat().m_size, 315);
    EXPECT_EQ(t.Item(2)->GetHeight(), big->cjkHeight);
    // It takes the size but not the deletion mark: hiding revisions must not hide the break.
    EXPECT_FALSE(t.Item(2)->IsDeleted());
    t.doc.SetRevisionsShown(false);
    LayOut(100000, kAlignLeft);
    EXPECT_EQ(LineStarts(), (std::vector<int>{0, 3}));
}

// ---- break marks and runs ----------------------------------------------------------

TEST_F(LayoutTest, BreaksAreMarkedByCharacterClass)
{
    struct Case {
        std::u16string text;
        std::vector<int> flagged;
    };
    const Case cases[] = {
        {u"3.14 abc", {0, 5}},     // a number with its decimal point, then a word
        {u"中文", {0, 1}},
        {u"\u201C中", {0}},        // an opening quotation mark sticks to what follows
        {u"甲，乙", {0, 2}},       // closing punctuation sticks to what precedes
        {u"x  y", {0, 2, 3}},      // a space after a space starts a run
        {u"(a) 1.5%", {0, 4}},
        {u"$5", {0}},
        {u"甲\r乙", {0, 2}},
        {u"甲，  乙", {0, 4}},     // spaces after a closing mark stay with it
        {u"\u201C 中", {0}},      // and so do those after an opening mark
        {u"a.b", {0, 2}},          // a full stop after a letter is a closing mark
    };
    for (const Case& c : cases) {
        t.Set(c.text);
        Measure();
        EXPECT_EQ(Flagged(), c.flagged) << plat::Utf16ToUtf8(c.text);
    }
}

TEST_F(LayoutTest, ScriptCharactersNeverStartARun)
{
    t.Set(u"a b 2 中");
    for (int i : {2, 4, 6}) t.Modify(i, [](CCharFormat& f) { f.m_position = 1; });
    Measure();
    EXPECT_EQ(Flagged(), (std::vector<int>{0}));
}

TEST_F(LayoutTest, RunsEndBeforeTheNextWordOrWithTheParagraphEnd)
{
    t.Set(u"abc def\rg\fh");
    Measure();
    CLineLayout layout(*t.box);
    CRunMeasure run;
    EXPECT_EQ(layout.MeasureRun(0, run), 4) << "the space sticks to the word";
    EXPECT_EQ(run.kind, kBreakWord);
    EXPECT_EQ(run.width, M().W(u"abc "));
    EXPECT_EQ(run.nonSpaces, 3);
    EXPECT_EQ(run.spaces, 1);
    EXPECT_EQ(run.height, M().westernHeight);

    EXPECT_EQ(layout.MeasureRun(4, run), 8);
    EXPECT_EQ(run.kind, kBreakPara);
    EXPECT_EQ(run.width, M().W(u"def") + 1) << "a paragraph end takes one twip";
    EXPECT_EQ(run.ascent, std::max(M().westernAscent, M().cjkAscent));
    EXPECT_EQ(layout.MeasureRun(8, run), 10);
    EXPECT_EQ(run.kind, kBreakPage);
    EXPECT_EQ(layout.MeasureRun(10, run), 12);
    EXPECT_EQ(run.kind, kBreakFinal);
}

TEST_F(LayoutTest, FillLineCutsAWordWhereTheNextLetterWouldReachTheWidth)
{
    t.Set(u"abcdefgh");
    Measure();
    CLineLayout layout(*t.box);
    CRunMeasure line;
    EXPECT_EQ(layout.FillLine(0, line, M().W(u"abc") + 1), 3);
    EXPECT_EQ(line.width, M().W(u"abc"));
    EXPECT_EQ(line.kind, kBreakWord);
    EXPECT_TRUE(t.Item(3)->GetBreakBefore()) << "the next line starts with d";
    // Reaching the width exactly does not fit either.
    EXPECT_EQ(layout.FillLine(0, line, M().W(u"abc")), 2);
    // The first item is taken even when it alone is too wide.
    EXPECT_EQ(layout.FillLine(0, line, 1), 1);
}

// A word wider than the line is cut line by line. After each cut the rest of it, asked for
// before the line is placed or only after (placing takes the width of wrapped and trailing
// spaces), measures as a fresh walk from the cut finds it, whatever sizes, deletions and
// spaces the word holds.
TEST_F(LayoutTest, TheRestOfACutWordMeasuresAsAFreshWalk)
{
    // The space after the word ends its run: the paragraph end, as tall as the largest
    // letter before it, stays out of it.
    const std::u16string word = std::u16string(240, u'm') + u" x";
    struct Case {
        const char* name;
        std::u16string text;
        std::function<void(TextBox&)> shape;
    };
    const std::vector<Case> cases = {
        {"one size", word, [](TextBox&) {}},
        {"sizes falling to the end", word,
         [](TextBox& b) {
             for (int i = 0; i < 240; ++i) b.Modify(i, [&](CCharFormat& f) { f.m_size = 450 - i; });
         }},
        {"one tall letter in the middle", word,
         [](TextBox& b) { b.Modify(120, [](CCharFormat& f) { f.m_size = 900; }); }},
        {"raised letters near the end", word,
         [](TextBox& b) {
             for (int i = 200; i < 230; i += 3) b.Modify(i, [](CCharFormat& f) { f.m_position = 1; });
         }},
        {"hidden deletions", word,
         [](TextBox& b) {
             b.AddAuthors();
             for (int i = 5; i < 240; i += 7) b.Modify(i, [](CCharFormat& f) { f.m_deletedBy = 2; });
         }},
        {"spaces after an opening mark", u"(" + std::u16string(150, u' ') + std::u16string(90, u'm') + u" x",
         [](TextBox&) {}},
        {"letters and spaces after an opening mark", u"(" + std::u16string(60, u' ') + std::u16string(40, u'm') +
                                                         std::u16string(60, u' ') + std::u16string(80, u'm'),
         [](TextBox&) {}},
        {"ended by its paragraph", std::u16string(240, u'm') + u"\rnext", [](TextBox&) {}},
    };
    const int width = M().W(u"mmmmmmmmmmmm");
    auto expectSame = [](const CRunMeasure& a, const CRunMeasure& b, int at) {
        EXPECT_EQ(a.width, b.width) << "at " << at;
        EXPECT_EQ(a.height, b.height) << "at " << at;
        EXPECT_EQ(a.ascent, b.ascent) << "at " << at;
        EXPECT_EQ(a.kind, b.kind) << "at " << at;
        EXPECT_EQ(a.nonSpaces, b.nonSpaces) << "at " << at;
        EXPECT_EQ(a.spaces, b.spaces) << "at " << at;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.Set(c.text);
        c.shape(t);
        Measure();
        CLineLayout layout(*t.box);
        CRunMeasure run;
        const int end = layout.MeasureRun(0, run);
        ASSERT_GT(run.width, 3 * width);
        int cuts = 0;
        for (int at = 0; at < end;) {
            CRunMeasure line;
            const int cut = layout.FillLine(at, line, width);
            if (cut >= end) break;
            ++cuts;
            CRunMeasure rest, fresh;
            // The page body asks before it places the line; ask only after on every other.
            if (cuts % 2 == 1) {
                EXPECT_EQ(layout.MeasureRun(cut, rest), end);
                EXPECT_EQ(CLineLayout(*t.box).MeasureRun(cut, fresh), end);
                expectSame(rest, fresh, cut);
            }
            CLinePlacement p;
            p.from = at;
            p.to = cut;
            p.line = line;
            p.paraStart = at == 0;
            p.alignment = kAlignJustify;
            p.available = width;
            layout.PlaceLine(p);
            EXPECT_EQ(layout.MeasureRun(cut, rest), end);
            EXPECT_EQ(CLineLayout(*t.box).MeasureRun(cut, fresh), end);
            expectSame(rest, fresh, cut);
            at = cut;
        }
        EXPECT_GT(cuts, 3);
    }
}

TEST_F(LayoutTest, FillLineStopsAtTheEndOfTheParagraph)
{
    t.Set(u"ab\rcd");
    Measure();
    CLineLayout layout(*t.box);
    CRunMeasure line;
    EXPECT_EQ(layout.FillLine(0, line, 100000), 3);
    EXPECT_EQ(line.kind, kBreakPara);
}

// ---- placing lines in a column ------------------------------------------------------

// Expected place of one item.
struct At {
    int index;
    int left;
    int lineTop;
};

struct FrameCase {
    const char* name;
    std::u16string text;
    std::function<void(TextBox&)> prepare; // formats to change before layout
    std::function<int(const FaceMetrics&)> width;
    int align;
    int spacing;
    std::vector<int> lineStarts;
    std::function<std::vector<At>(const FaceMetrics&, int width)> expect;
};

// The mixed paragraph of the alignment cases: four CJK characters, "ab cd ", a word of
// six M that cannot follow on the first line, and a CJK character.
//   0-3 甲乙丙丁  4 a  5 b  6 sp  7 c  8 d  9 sp  10-15 M  16 戊  17 final end
const std::u16string kMixed = u"甲乙丙丁ab cd MMMMMM戊";
// Wide enough that the first line, justified, stretches its CJK characters and the space
// between the words exactly twice (stretchable width 4C + space, slack as much again).
int MixedWidth(const FaceMetrics& m)
{
    return 2 * (4 * m.C() + m.W(u' ')) + m.W(u"abcd");
}
int Gap(int spacing)
{
    const int gaps[] = {0, 109, 220, 329, 441, 661}; // the spacing gaps x 2.1
    return gaps[spacing];
}
int Top1()
{
    return Gap(1) / 2;
}
int MixedTop2(const FaceMetrics& m)
{
    return Top1() + m.MixedHeight() + Gap(1);
}
// Line 1 set from x, with the widths as measured (trailing space kept).
std::vector<At> MixedLine1(const FaceMetrics& m, int x, int spaceWidth)
{
    const int c = m.C();
    const int top = Top1();
    return {{0, x, top},
            {3, x + 3 * c, top},
            {4, x + 4 * c, top},
            {5, x + 4 * c + m.W(u'a'), top},
            {6, x + 4 * c + m.W(u"ab"), top},
            {7, x + 4 * c + m.W(u"ab") + spaceWidth, top},
            {8, x + 4 * c + m.W(u"ab") + spaceWidth + m.W(u'c'), top}};
}
std::vector<At> MixedLine2(const FaceMetrics& m, int x)
{
    const int top = MixedTop2(m);
    const int mm = 6 * m.W(u'M');
    return {{10, x, top}, {15, x + 5 * m.W(u'M'), top}, {16, x + mm, top}, {17, x + mm + m.C(), top}};
}
std::vector<At> Join(std::vector<At> a, const std::vector<At>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FrameLayout : public LayoutTest, public testing::WithParamInterface<FrameCase> {};

TEST_P(FrameLayout, BreaksAndPositions)
{
    const FrameCase& c = GetParam();
    const FaceMetrics& m = M();
    // The mixed paragraph must wrap before the word of M, whatever the alignment.
    ASSERT_GT(6 * m.W(u'M'), MixedWidth(m) - (4 * m.C() + m.W(u"ab cd ")));
    t.Set(c.text);
    if (c.prepare) c.prepare(t);
    const int width = c.width(m);
    LayOut(width, c.align, c.spacing);
    EXPECT_EQ(LineStarts(), c.lineStarts);
    for (const At& at : c.expect(m, width)) {
        EXPECT_EQ(t.Item(at.index)->GetLeft(), at.left) << "item " << at.index;
        EXPECT_EQ(t.Item(at.index)->GetLineTop(), at.lineTop) << "item " << at.index;
    }
}

const FrameCase kFrameCases[] = {
    {"MixedLeft", kMixed, nullptr, MixedWidth, kAlignLeft, 1, {0, 10},
     [](const FaceMetrics& m, int) { return Join(MixedLine1(m, 0, m.W(u' ')), MixedLine2(m, 0)); }},
    // Right: the trailing space of line 1 takes no room, so "cd" ends at the right edge;
    // the last line ends one twip short of it (the room of the paragraph end).
    {"MixedRight", kMixed, nullptr, MixedWidth, kAlignRight, 1, {0, 10},
     [](const FaceMetrics& m, int w) {
         const int x1 = w - (4 * m.C() + m.W(u"ab cd"));
         const int x2 = w - (6 * m.W(u'M') + m.C() + 1);
         auto v = Join(MixedLine1(m, x1, m.W(u' ')), MixedLine2(m, x2));
         v.push_back({9, w, Top1()});
         return v;
     }},
    {"MixedCentre", kMixed, nullptr, MixedWidth, kAlignCentre, 1, {0, 10},
     [](const FaceMetrics& m, int w) {
         const int line1 = 4 * m.C() + m.W(u"ab cd ");
         const int x1 = (w - line1) / 2 + m.W(u' ') / 2;
         const int x2 = (w - (6 * m.W(u'M') + m.C() + 1)) / 2;
         return Join(MixedLine1(m, x1, m.W(u' ')), MixedLine2(m, x2));
     }},
    // Justified: CJK characters and the inner space are stretched twice, letters never;
    // "cd" ends at the right edge; the paragraph's last line is set flush left.
    {"MixedJustified", kMixed, nullptr, MixedWidth, kAlignJustify, 1, {0, 10},
     [](const FaceMetrics& m, int w) {
         const int c = m.C(), top = Top1();
         const int b = 8 * c + m.W(u"ab");
         return Join({{0, 0, top}, {1, 2 * c, top}, {2, 4 * c, top}, {3, 6 * c, top}, {4, 8 * c, top},
                      {5, 8 * c + m.W(u'a'), top}, {6, b, top}, {7, b + 2 * m.W(u' '), top},
                      {8, w - m.W(u'd'), top}, {9, w, top}},
                     MixedLine2(m, 0));
     }},
    // Doubled punctuation: the inner marks are halved, so "（（乙））" (3C + 2 x C/2)
    // fits in four CJK widths and stays together on a line of its own.
    {"HalvedPunctuation", u"甲（（乙））丙", nullptr, [](const FaceMetrics& m) { return 4 * m.C(); },
     kAlignLeft, 1, {0, 1, 6},
     [](const FaceMetrics& m, int) {
         const int c = m.C(), h = c / 2;
         const int top2 = Top1() + c + Gap(1), top3 = top2 + c + Gap(1);
         return std::vector<At>{{0, 0, Top1()}, {1, 0, top2},          {2, c, top2},
                                {3, c + h, top2}, {4, 2 * c + h, top2}, {5, 2 * c + 2 * h, top2},
                                {6, 0, top3},     {7, c, top3}};
     }},
    {"FullWidthLeadingSpaces", u"  ab甲\r  c", nullptr, [](const FaceMetrics& m) { return 20 * m.C(); },
     kAlignLeft, 1, {0, 6},
     [](const FaceMetrics& m, int) {
         const int c = m.C(), top2 = Top1() + m.MixedHeight() + Gap(1);
         return std::vector<At>{{1, c, Top1()},  {2, 2 * c, Top1()}, {3, 2 * c + m.W(u'a'), Top1()},
                                {4, 2 * c + m.W(u"ab"), Top1()}, {6, 0, top2}, {7, c, top2},
                                {8, 2 * c, top2}};
     }},
    {"ScriptWidths", u"xyz xyz", [](TextBox& b) {
         b.Modify(1, [](CCharFormat& f) { f.m_position = 1; });
         b.Modify(5, [](CCharFormat& f) { f.m_position = 2; });
     },
     [](const FaceMetrics& m) { return 20 * m.C(); }, kAlignLeft, 1, {0},
     [](const FaceMetrics& m, int) {
         const int x = m.W(u'x'), s = 2 * m.W(u'y') / 3, z = m.W(u'z'), sp = m.W(u' ');
         return std::vector<At>{{1, x, Top1()},         {2, x + s, Top1()},
                                {3, x + s + z, Top1()}, {5, 2 * x + s + z + sp, Top1()},
                                {6, 2 * x + 2 * s + z + sp, Top1()}};
     }},
};

std::vector<FrameCase> SpacingCases()
{
    std::vector<FrameCase> out;
    static const char* names[] = {"Spacing0", "Spacing1", "Spacing2", "Spacing3", "Spacing4", "Spacing5"};
    for (int k = 0; k <= 5; ++k) {
        out.push_back({names[k], u"甲\r乙", nullptr, [](const FaceMetrics& m) { return 10 * m.C(); },
                       kAlignLeft, k, {0, 2}, [k](const FaceMetrics& m, int) {
                           const int g = Gap(k);
                           return std::vector<At>{{0, 0, g / 2}, {2, 0, g / 2 + m.C() + g}};
                       }});
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameLayout, testing::ValuesIn(kFrameCases),
                         [](const testing::TestParamInfo<FrameCase>& i) { return i.param.name; });
INSTANTIATE_TEST_SUITE_P(LineSpacing, FrameLayout, testing::ValuesIn(SpacingCases()),
                         [](const testing::TestParamInfo<FrameCase>& i) { return i.param.name; });

TEST_F(LayoutTest, JustifiedLineSpreadsTheSlackAndKeepsWordsWhole)
{
    t.Set(kMixed);
    const int w = MixedWidth(M()) + 7; // a ratio that does not come out even
    LayOut(w, kAlignJustify);
    int stretched = 0;
    for (int i : {0, 1, 2, 3, 6}) {
        EXPECT_GE(t.Item(i)->GetDrawnWidth(), 2 * t.Item(i)->GetWidth()) << i;
        stretched += t.Item(i)->GetDrawnWidth();
    }
    EXPECT_EQ(stretched, w - M().W(u"abcd")) << "rounding is absorbed, nothing is lost";
    for (int i : {4, 5, 7, 8}) EXPECT_EQ(t.Item(i)->GetDrawnWidth(), t.Item(i)->GetWidth()) << i;
    EXPECT_EQ(t.Item(8)->GetLeft() + t.Item(8)->GetWidth(), w);
}

TEST_F(LayoutTest, RightAlignedLineEndingInTwoSpacesEndsAtTheEdge)
{
    t.Set(u"ab  cd");
    const int w = M().W(u"ab  ") + M().W(u'c');
    LayOut(w, kAlignRight);
    ASSERT_EQ(LineStarts(), (std::vector<int>{0, 4}));
    EXPECT_EQ(Width(2), 0);
    EXPECT_EQ(Width(3), 0);
    EXPECT_EQ(t.Item(1)->GetLeft() + Width(1), w);
}

TEST_F(LayoutTest, ContinuationLineDropsItsLeadingSpaces)
{
    t.Set(u"ab  cd");
    const int w = M().W(u"ab ") + M().W(u' ') - 1;
    ASSERT_LE(M().W(u" cd") + 1, w);
    LayOut(w, kAlignLeft);
    ASSERT_EQ(LineStarts(), (std::vector<int>{0, 3}));
    EXPECT_EQ(Width(3), 0);
    EXPECT_EQ(t.Item(4)->GetLeft(), 0);
}

TEST_F(LayoutTest, WordWiderThanTheFrameIsBrokenAtTheFrameWidth)
{
    t.Set(u"mmmmmmmmmm");
    const CColumnLayout out = LayOut(4 * M().W(u'm') + 1, kAlignLeft);
    EXPECT_EQ(LineStarts(), (std::vector<int>{0, 4, 8}));
    EXPECT_TRUE(t.Item(4)->GetBreakBefore());
    EXPECT_TRUE(t.Item(8)->GetBreakBefore());
    EXPECT_EQ(out.lineBreaks, 2);
    // Each line is one run (or part of one): as tall as its tallest item; the last one
    // holds the paragraph end with the CJK metrics.
    const int last = std::max(M().westernHeight, M().cjkHeight);
    EXPECT_EQ(out.contentHeight, Top1() + 2 * M().westernHeight + last + 2 * Gap(1));
}

TEST_F(LayoutTest, ColumnReportsLineBreaksAndContentHeight)
{
    t.Set(u"甲\r乙\f丙");
    const CColumnLayout out = LayOut(10 * M().C(), kAlignLeft, 2);
    EXPECT_EQ(out.gap, 220);
    EXPECT_EQ(out.lineBreaks, 2);
    EXPECT_EQ(out.contentHeight, 110 + 3 * M().C() + 2 * 220);
}

TEST_F(LayoutTest, PartialLayoutStopsWhereALineIsAlreadyInPlace)
{
    t.Set(u"甲乙\r丙丁");
    LayOut(10 * M().C(), kAlignLeft);
    CLineLayout layout(*t.box);
    CLinePlacement p;
    p.all = false;
    p.reflowEnd = 3;
    p.from = 3;
    p.to = 6;
    layout.MeasureRun(3, p.line);
    p.paraStart = true;
    p.lineTop = t.Item(3)->GetLineTop();
    p.alignment = kAlignLeft;
    p.available = 10 * M().C();
    EXPECT_EQ(layout.PlaceLine(p), 1);
    p.reflowEnd = 4; // not yet past the end of the edited range
    EXPECT_EQ(layout.PlaceLine(p), 0);
    p.reflowEnd = 3;
    p.lineTop += 15; // the line moved
    EXPECT_EQ(layout.PlaceLine(p), 0);
    EXPECT_EQ(t.Item(4)->GetLineTop(), p.lineTop);
}

TEST_F(LayoutTest, HugeCharactersInLargeNumbersDoNotOverflowTheLayout)
{
    // What a hostile file could hold: the largest size, a word of 40,000 letters and
    // 40,000 paragraphs, each sum beyond the range of 32 bits.
    t.format.m_size = 0xFFFF;
    t.Set(std::u16string(40000, u'W') + u" " + std::u16string(40000, u'\r'));
    const CColumnLayout out = LayOut(0x7FFFFFFF, kAlignRight, 5);
    EXPECT_GT(out.contentHeight, 0);
    EXPECT_GT(t.Item(t.Count() - 1)->GetLineTop(), t.Item(40001)->GetLineTop());
    CLineLayout layout(*t.box);
    CRunMeasure run;
    EXPECT_EQ(layout.MeasureRun(0, run), 40002) << "the word, its space and the paragraph end";
    EXPECT_GT(run.width, 0);
}

TEST_F(LayoutTest, HiddenDeletedTextTakesNoRoom)
{
    t.AddAuthors();
    t.Set(u"甲乙丙");
    t.Modify(1, [](CCharFormat& f) { f.m_deletedBy = 2; });
    LayOut(10 * M().C(), kAlignLeft);
    EXPECT_EQ(t.Item(1)->GetLeft(), M().C());
    EXPECT_EQ(t.Item(2)->GetLeft(), M().C());
    EXPECT_EQ(t.Item(1)->GetDrawnWidth(), 0);
}

} // namespace

// Keys that add or take away a line early in a long body: the partial relayout stacks the
// unchanged paragraphs below again as they were broken, and measures a paragraph only
// where one of its lines cannot be taken as it stands. Two copies of one document take the
// same edits; one is only ever laid out partially, the other wholly after every edit, and
// the two must agree item for item through the whole series, so that the lines a partial
// layout leaves are as good to stack again as those of a whole one.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

const std::u16string kLatin = u"Plain words of a paragraph that runs over a few lines of the small page. ";
const std::u16string kChinese = u"中文段落包括标点符号：逗号、句号。还有（括号）和“引号”。";

// A body of many small pages whose later pages hold what a line cannot simply be stacked
// again over: a word wider than the line, a page break, a character taller than the text
// area, other line spacings and alignments, empty paragraphs, an object the text flows
// around, hidden deleted text.
class RestackTwin {
public:
    explicit RestackTwin(bool withObject, bool withHidden)
    {
        doc.Reset();
        doc.SetPageSettings(kSmallMargins, kSmallPaper);
        Body().SetPageGeometry(kSmallMargins.left, kSmallMargins.top, kSmallMargins.right, kSmallMargins.bottom,
                               kSmallPaper.cx, kSmallPaper.cy);
        Body().BuildPageRegions();
        if (withHidden) {
            doc.GetAuthors().Append(0, u"");
            doc.GetAuthors().Append(5, u"甲");
            doc.GetAuthors().Append(7, u"乙");
            doc.SetCurAuthorIndex(1);
        }
        for (int k = 0; k < 6; ++k) Append(kLatin + kChinese + u"\r" + kChinese + kLatin + u"\r");
        Append(u"Before a long word " + std::u16string(70, u'w') + u" and after it " + kChinese + u"\r");
        // A word wider than the line whose end is in a larger size: its first line is
        // lower than the word, and the whole word's height decides where that line goes.
        const CCharFormat plain = Body().GetRunningCharFormat();
        CCharFormat larger(plain);
        larger.m_size = 420;
        Append(kChinese + u" " + std::u16string(60, u'm'));
        Body().SetRunningCharFormat(larger);
        Append(u"MMM");
        Body().SetRunningCharFormat(plain);
        Append(u" " + kChinese + u"\r");
        Append(kLatin + u"\f" + kChinese + u"\r\r\r" + kLatin + u"\r");
        const CCharFormat normal = Body().GetRunningCharFormat();
        CCharFormat big(normal);
        big.m_size = 2400;
        Append(kChinese);
        Body().SetRunningCharFormat(big);
        Append(u"大");
        Body().SetRunningCharFormat(normal);
        Append(kChinese + u"\r");
        // A justified paragraph (its line ends lose their spaces), one with wide spacing, one
        // centred.
        const int justified = Body().GetCount() - 1;
        Append(kLatin + kLatin + kLatin + u"\r");
        Paragraph(justified, [](CDocBody& b) { b.SetAlignment(kAlignJustify); });
        const int spaced = Body().GetCount() - 1;
        Append(kChinese + kChinese + u"\r");
        Paragraph(spaced, [](CDocBody& b) { b.SetLineSpacing(4); });
        const int centred = Body().GetCount() - 1;
        Append(kLatin + kChinese + u"\r");
        Paragraph(centred, [](CDocBody& b) { b.SetAlignment(kAlignCentre); });
        if (withHidden) {
            const int at = Body().GetCount() - 1;
            Append(kLatin + kChinese + u"\r" + kChinese + u"\r");
            doc.SetCurAuthorIndex(2);
            Body().SetSelection(CTextPos(at + 60, Body().GetName()), CTextPos(at + 10, Body().GetName()));
            Body().DeleteSelection();
        }
        for (int k = 0; k < 4; ++k) Append(kChinese + kLatin + u"\r");
        if (withObject) {
            // On page 3, before the page break (after which the text stays in place): text
            // flows on both sides of it.
            const plat::Rect t = Body().GetPageFrame(2).m_rect;
            Body().AddObject(objtest::NewObject(&doc, t.left + 1200, t.top + 500, 800, 900, kWrapBoth, 2, 1));
            Body().BuildPageRegions();
        }
        Body().RelayoutWhole();
    }

    CDocBody& Body() { return *doc.GetBody(); }

    void Append(const std::u16string& text) { AppendText(Body(), text); }
    void Paragraph(int at, const std::function<void(CDocBody&)>& command)
    {
        Body().SetCaret(CTextPos(at, Body().GetName()));
        command(Body());
    }

    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
};

struct Key {
    const char* what;
    std::function<void(CDocBody&)> edit;
};

void Caret(CDocBody& b, int at)
{
    b.SetCaret(CTextPos(at, b.GetName()));
}

// The first item of the n-th paragraph (0-based).
int ParagraphStart(CDocBody& b, int n)
{
    for (int i = 0; i < b.GetCount(); ++i)
        if (n == 0) return i;
        else if (IsParaBreakType(b.GetItem(i)->GetNodeType())) --n;
    return b.GetCount() - 1;
}

void TypeAt(CDocBody& b, int at, const std::u16string& text)
{
    Caret(b, at);
    b.InsertItemsAtCaret(text);
    b.SetCaret(b.GetCaretPos());
}

void BackspaceAt(CDocBody& b, int at, int times = 1)
{
    Caret(b, at);
    for (int k = 0; k < times; ++k) b.OnBackspace();
}

// Keys on page 1, each adding or taking away a line or a few, so that everything below
// moves; some undo what an earlier one did.
const Key kKeys[] = {
    {"Enter in a paragraph", [](CDocBody& b) { TypeAt(b, ParagraphStart(b, 1) + 7, u"\r"); }},
    {"Enter at a paragraph start", [](CDocBody& b) { TypeAt(b, ParagraphStart(b, 1), u"\r"); }},
    {"Backspace joining two paragraphs", [](CDocBody& b) { BackspaceAt(b, ParagraphStart(b, 2)); }},
    {"Backspace taking away the empty paragraph", [](CDocBody& b) { BackspaceAt(b, ParagraphStart(b, 2)); }},
    {"characters that wrap onto a new line", [](CDocBody& b) { TypeAt(b, ParagraphStart(b, 1) - 1, kChinese); }},
    {"Backspace bringing the line back", [](CDocBody& b) {
         BackspaceAt(b, ParagraphStart(b, 1) - 1, static_cast<int>(kChinese.size()));
     }},
    {"a paragraph of several lines", [](CDocBody& b) { TypeAt(b, ParagraphStart(b, 0), kLatin + kLatin + u"\r"); }},
    {"deleting it again", [](CDocBody& b) {
         b.SetSelection(CTextPos(ParagraphStart(b, 1), b.GetName()), CTextPos(0, b.GetName()));
         b.DeleteSelection();
     }},
    {"one line fewer on page 2", [](CDocBody& b) { BackspaceAt(b, ParagraphStart(b, 4)); }},
    {"one line more at the very start", [](CDocBody& b) { TypeAt(b, 0, u"\r"); }},
};

class RestackSeries : public testing::TestWithParam<std::pair<bool, bool>> {};

} // namespace

TEST_P(RestackSeries, PartialLayoutsOnlyEqualAWholeLayoutAfterEveryKey)
{
    const auto [withObject, withHidden] = GetParam();
    RestackTwin partial(withObject, withHidden);
    RestackTwin whole(withObject, withHidden);
    ASSERT_GE(partial.Body().GetPageCount(), 8);
    ASSERT_EQ(DiffLayouts(TakeLayoutSnapshot(whole.Body()), TakeLayoutSnapshot(partial.Body())), "");
    auto press = [&](const Key& key) {
        SCOPED_TRACE(key.what);
        key.edit(partial.Body());
        key.edit(whole.Body());
        whole.Body().RelayoutWhole();
        EXPECT_EQ(DiffLayouts(TakeLayoutSnapshot(whole.Body()), TakeLayoutSnapshot(partial.Body())), "")
            << "partial layout (right) differs from the whole one (left)";
    };
    for (const Key& key : kKeys) press(key);
    // Enter, one line at a time, until every line below has stood at every height of a
    // page; then Backspace as often.
    for (int k = 0; k < 12; ++k)
        press({"Enter once more", [](CDocBody& b) { TypeAt(b, ParagraphStart(b, 1), u"\r"); }});
    for (int k = 0; k < 12; ++k)
        press({"Backspace once more", [](CDocBody& b) { BackspaceAt(b, ParagraphStart(b, 2)); }});
}

INSTANTIATE_TEST_SUITE_P(Bodies, RestackSeries,
                         testing::Values(std::make_pair(false, false), std::make_pair(true, false),
                                         std::make_pair(false, true)),
                         [](const testing::TestParamInfo<std::pair<bool, bool>>& info) {
                             return std::string(info.param.first ? "WithObject" : "TextOnly") +
                                    (info.param.second ? "AndHiddenDeletions" : "");
                         });

TEST(RestackTest, ParagraphsBelowAnAddedLineAreMovedWithoutBeingMeasuredAgain)
{
    RestackTwin twin(false, false);
    CDocBody& b = twin.Body();
    // A mark on a paragraph some pages on (before the page break, after which the text is
    // in place): measuring it again would give its character its width back.
    CTextItem& marked = *b.GetItem(ParagraphStart(b, 11) + 3);
    const int top = marked.GetLineTop();
    marked.SetWidth(7);
    TypeAt(b, ParagraphStart(b, 1), u"\r");
    EXPECT_GT(marked.GetLineTop(), top) << "every line below moves";
    EXPECT_EQ(marked.GetWidth(), 7) << "but is not measured again";
}

// The format bar's combos and the ruler's indent markers follow the caret through the
// headless frame; the headless view's clipboard keeps bytes by format.
#include <gtest/gtest.h>

#include "document/format_state.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

class FormatBar : public BodyTest {
protected:
    void SetUp() override
    {
        for (const char16_t* face : {u"宋体", u"黑体", u"楷体"}) window.m_chineseFaces.m_items.push_back({face, 0});
        for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New"})
            window.m_westernFaces.m_items.push_back({face, 0});
        window.m_chineseFaces.m_current = 0;
        window.m_westernFaces.m_current = 0;
        BodyTest::SetUp();
    }
    plat::String Current(const CHeadlessFormatCombo& combo) const { return combo.GetItemText(combo.GetCurSel()); }
    // The caret moved by the arrow keys to the index, as the user moves it.
    void MoveCaretTo(int index)
    {
        Caret(0);
        body().OnKeyHome(false);
        for (int i = 0; i < index; ++i) body().OnKeyRight(false);
    }
};

TEST_F(FormatBar, CombosFollowTheCaretThroughFormatChanges)
{
    Append(u"ab中文cd");
    Select(2, 4);
    doc.SetChFont(u"黑体");
    doc.SetFontSize(420);
    Select(4, 6);
    doc.SetAscFont(u"Courier New");
    doc.SetCharBold(1);
    Select(0, 2);
    doc.SetCharBold(1);

    struct Case {
        int caret;
        const char16_t* chinese;
        const char16_t* western;
        const char16_t* size;
    };
    // The caret takes the format of the item after it; at the paragraph's end, of the one
    // before. Back and forth, so that each step changes some combo.
    const Case cases[] = {
        {1, u"宋体", u"Times New Roman", u"五号"}, {3, u"黑体", u"Times New Roman", u"二号"},
        {4, u"宋体", u"Courier New", u"五号"},     {2, u"黑体", u"Times New Roman", u"二号"},
        {6, u"宋体", u"Courier New", u"五号"},     {0, u"宋体", u"Times New Roman", u"五号"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        MoveCaretTo(c.caret);
        const CCharFormat& f = doc.GetFormatState()->m_charFormat;
        EXPECT_EQ(Current(window.m_chineseFaces), c.chinese) << plat::Utf16ToUtf8(f.m_chineseFace);
        EXPECT_EQ(Current(window.m_westernFaces), c.western) << plat::Utf16ToUtf8(f.m_westernFace);
        EXPECT_EQ(Current(window.m_sizes), c.size) << f.m_size;
    }
}

TEST_F(FormatBar, UnlistedValuesFallBackOrLeaveTheSelection)
{
    struct Case {
        const char* name;
        std::vector<const char16_t*> chineseList; // the combo's faces; the first is current
        const char16_t* face;
        std::uint16_t size;
        const char16_t* expectedChinese;
        const char16_t* expectedSize;
    };
    const Case cases[] = {
        {"listed", {u"楷体", u"宋体", u"黑体"}, u"黑体", 280, u"黑体", u"四号"},
        {"unlisted face falls back to 宋体", {u"楷体", u"宋体"}, u"隶书", 280, u"宋体", u"四号"},
        {"no 宋体 either: selection stays", {u"楷体", u"黑体"}, u"隶书", 280, u"楷体", u"四号"},
        // The reset selected the new document's 五号; 300 twips is not a listed size.
        {"a size not among the 22 stays", {u"宋体"}, u"宋体", 300, u"宋体", u"五号"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHeadlessWindows w;
        for (const char16_t* face : c.chineseList) w.m_chineseFaces.m_items.push_back({face, 0});
        w.m_chineseFaces.m_current = 0;
        CQlDoc d(&w, &w);
        d.Reset();
        CFormatState& state = *d.GetFormatState();
        state.m_charFormat.m_chineseFace = c.face;
        state.m_charFormat.m_size = c.size;
        state.SyncToolbar();
        EXPECT_EQ(w.m_chineseFaces.GetItemText(w.m_chineseFaces.GetCurSel()), c.expectedChinese);
        EXPECT_EQ(w.m_sizes.GetItemText(w.m_sizes.GetCurSel()), c.expectedSize);
    }
}

TEST_F(FormatBar, AComboWithoutCurrentItemOrAFrameWithoutBarIsLeftAlone)
{
    CFormatState& state = *doc.GetFormatState();
    state.m_charFormat.m_chineseFace = u"黑体";
    state.m_charFormat.m_westernFace = u"Arial";
    window.m_westernFaces.m_current = -1;
    state.SyncToolbar();
    EXPECT_EQ(Current(window.m_chineseFaces), u"黑体");
    EXPECT_EQ(window.m_westernFaces.GetCurSel(), -1) << "no current item: left alone";

    // Without combo windows nothing is synchronised, the ruler neither.
    window.m_hasFormatBar = false;
    const int selections = window.m_chineseFaces.m_selections;
    state.m_charFormat.m_chineseFace = u"楷体";
    state.m_paraFormat.m_leftIndent = 720;
    state.SyncToolbar();
    EXPECT_EQ(window.m_chineseFaces.m_selections, selections);
    EXPECT_EQ(window.m_rulerIndents[1], 0);

    // A document without a frame has nothing to keep in step.
    CQlDoc bare;
    bare.Reset();
    bare.GetFormatState()->SyncToolbar();
    EXPECT_EQ(bare.GetFrame(), nullptr);
}

TEST_F(FormatBar, TheRulerTakesTheCaretParagraphsIndents)
{
    Append(u"ab\rcd");
    Select(0, 1);
    doc.SetParaIndents(420, 240, 120);
    MoveCaretTo(4);
    EXPECT_EQ(window.m_rulerIndents[0], 0);
    EXPECT_EQ(window.m_rulerIndents[1], 0);
    const int repaints = window.m_rulerRepaints;
    MoveCaretTo(1);
    EXPECT_EQ(window.m_rulerIndents[0], 420);
    EXPECT_EQ(window.m_rulerIndents[1], 240);
    EXPECT_EQ(window.m_rulerIndents[2], 120);
    EXPECT_GT(window.m_rulerRepaints, repaints);

    // A view without a ruler is not asked.
    window.m_hasRuler = false;
    MoveCaretTo(4);
    EXPECT_EQ(window.m_rulerIndents[0], 420);
}

TEST(HeadlessClipboard, KeepsBytesByFormatWhileOpen)
{
    CHeadlessDocView view;
    const std::vector<std::uint8_t> bytes = {0, 1, 0xFF};
    EXPECT_FALSE(view.SetClipboardData(kTextClipboardFormat, bytes)) << "closed";
    ASSERT_TRUE(view.OpenClipboard());
    EXPECT_FALSE(view.OpenClipboard()) << "already open";
    EXPECT_TRUE(view.SetClipboardData(kTextClipboardFormat, bytes));
    EXPECT_TRUE(view.SetClipboardData(u"CF_UNICODETEXT", {}));
    EXPECT_EQ(view.GetClipboardData(kTextClipboardFormat), bytes);
    EXPECT_EQ(view.GetClipboardData(u"CF_UNICODETEXT"), std::vector<std::uint8_t>{});
    EXPECT_FALSE(view.GetClipboardData(kBlockClipboardFormat).has_value());
    view.CloseClipboard();
    EXPECT_TRUE(view.IsClipboardFormatAvailable(kTextClipboardFormat));
    EXPECT_FALSE(view.GetClipboardData(kTextClipboardFormat).has_value()) << "read only while open";
    ASSERT_TRUE(view.OpenClipboard());
    EXPECT_TRUE(view.EmptyClipboard());
    EXPECT_FALSE(view.IsClipboardFormatAvailable(kTextClipboardFormat));
    view.CloseClipboard();
}

} // namespace

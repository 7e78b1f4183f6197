// The author dialog and the revision tip over the canvas.
#include <cstdlib>
#include <ctime>

#include "document/author_list.h"
#include "document/char_format.h"
#include "document/text_item.h"
#include "editor/author_list_dialog.h"
#include "editor/revision_tip_wnd.h"
#include "platform/ui/list_view.h"
#include "resources/res_dialogs.h"
#include "tests/editor/editor_test_support.h"
#include "tests/platform/ui_test_window.h"

namespace {

using edtest::EditorTest;
using edtest::UtcTest;

TEST_F(UtcTest, AuthorTimesPrintWithoutPadding)
{
    struct Case {
        std::int32_t seconds;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, u"1970-1-1 0:0"},
        {1700000000, u"2023-11-14 22:13"},
        {1704067199, u"2023-12-31 23:59"},
        {1709251200 + 5 * 60, u"2024-3-1 0:5"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatAuthorTime(c.seconds), c.text) << c.seconds;
}

TEST_F(UtcTest, AuthorDialogListsEveryRecordWithItsTime)
{
    CAuthorList& authors = m_doc.GetAuthors();
    authors.SetLastAuthor(0, u"");
    authors.Append(5, u"张三");
    authors.Append(7, u"李四");
    const_cast<CAuthor*>(authors.GetAt(1))->m_time = 1700000000;
    const_cast<CAuthor*>(authors.GetAt(2))->m_time = 1709251500;
    uitest::TestWindow frame("frame");
    ASSERT_TRUE(frame.Create(nullptr, plat::Rect(0, 0, 800, 600), plat::kWsVisible));
    CAuthorListDlg dlg(authors, &frame);
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        EXPECT_EQ(run.caption, u"作者信息");
        EXPECT_EQ(d->GetTemplate().id, kIddAuthorList);
        EXPECT_EQ(d->GetDlgItemText(plat::kIdOk), u"返回");
        auto* list = d->GetItem<plat::ListView>(kIdcAuthorList);
        EXPECT_NE(list, nullptr);
        if (!list) return plat::kIdOk;
        EXPECT_EQ(list->GetColumnCount(), 2);
        EXPECT_EQ(list->GetColumnText(0), u"作者");
        EXPECT_EQ(list->GetColumnWidth(0), 100);
        EXPECT_EQ(list->GetColumnText(1), u"时间");
        EXPECT_EQ(list->GetColumnWidth(1), 150);
        EXPECT_EQ(list->GetItemCount(), 3);
        EXPECT_EQ(list->GetItemText(0, 0), u"");
        EXPECT_EQ(list->GetItemText(0, 1), FormatAuthorTime(authors.GetAt(0)->m_time));
        EXPECT_EQ(list->GetItemText(1, 0), u"张三");
        EXPECT_EQ(list->GetItemText(1, 1), u"2023-11-14 22:13");
        EXPECT_EQ(list->GetItemText(2, 0), u"李四");
        EXPECT_EQ(list->GetItemText(2, 1), u"2024-3-1 0:5");
        EXPECT_EQ(list->GetNextItem(-1, plat::kLvniSelected), 0) << "the first row is selected";
        EXPECT_EQ(list->GetSelectedCount(), 1);
        EXPECT_EQ(list->GetExtendedStyle() & (plat::kLvsExGridLines | plat::kLvsExFullRowSelect),
                  plat::kLvsExGridLines | plat::kLvsExFullRowSelect);
        // The selected first row is highlighted across both columns.
        std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(*d);
        const plat::Rect at = list->GetRect();
        const int y = at.top + list->GetHeaderHeight() + list->GetRowHeight() / 2;
        EXPECT_EQ(plat::GetFocus(), list) << "the list is the first tab stop";
        EXPECT_EQ(picture->GetPixel(at.left + 240, y), plat::look::kHighlight);
        d->PressButton(plat::kIdOk);
        return std::nullopt;
    });
    EXPECT_EQ(dlg.DoModal(), plat::kIdOk);

    // Shown for the host: Esc closes it and the control gets the focus back.
    plat::AnswerNextModal([](const plat::ModalRecord&) -> std::optional<int> {
        plat::PressKey(plat::kVkEscape);
        return std::nullopt;
    });
    EXPECT_EQ(ShowAuthorListDialog(authors, &frame, &frame), plat::kIdCancel);
    EXPECT_EQ(plat::GetFocus(), &frame);
}

// The tip over a canvas, for a document whose first author is anonymous and whose records 1
// and 2 belong to authors 5 and 7; record 3 is the first author again under another name.
class RevisionTipTest : public UtcTest {
protected:
    void SetUp() override
    {
        UtcTest::SetUp();
        CAuthorList& authors = m_doc.GetAuthors();
        authors.Append(5, u"张三");
        authors.Append(7, u"李四");
        authors.Append(0, u"又是我");
        m_doc.SetRevisionsShown(true);
        ASSERT_TRUE(m_canvas.Create(nullptr, plat::Rect(0, 0, 600, 400), plat::kWsVisible));
        ASSERT_TRUE(m_tip.Create(&m_canvas));
    }
    // An item inserted and deleted by the records given, stamped with the time.
    std::unique_ptr<CCharItem> Item(std::int16_t insertedBy, std::int16_t deletedBy, std::int32_t time)
    {
        auto item = std::make_unique<CCharItem>(nullptr, kItemCjk, u'文');
        CCharFormat format;
        format.m_insertedBy = insertedBy;
        format.m_deletedBy = deletedBy;
        item->SetFormat(format);
        item->SetTime(time);
        return item;
    }
    uitest::TestWindow m_canvas{"canvas"};
    CRevisionTipWnd m_tip;
};

TEST_F(RevisionTipTest, StartsHiddenAtItsPlace)
{
    EXPECT_EQ(m_tip.GetId(), 305);
    EXPECT_EQ(m_tip.GetRect(), plat::Rect(0, 26, 130, 76));
    EXPECT_FALSE(m_tip.IsWindowVisible());
    EXPECT_EQ(m_tip.GetKind(), CRevisionTipWnd::kNone);
}

TEST_F(RevisionTipTest, KindAndAuthorOfTheItemUnderTheMouse)
{
    struct Case {
        const char* what;
        std::int16_t insertedBy, deletedBy;
        CRevisionTipWnd::Kind kind;
        std::int16_t author;
    };
    const Case cases[] = {
        {"inserted by author 5", 1, 0, CRevisionTipWnd::kInsertion, 1},
        {"deleted by author 7 wins over the insertion", 1, 2, CRevisionTipWnd::kDeletion, 2},
        {"deleted by the first author's id: the insertion shows", 2, 3, CRevisionTipWnd::kInsertion, 2},
        {"inserted by the first author under another name", 3, 0, CRevisionTipWnd::kNone, 0},
        {"the first record", 0, 0, CRevisionTipWnd::kNone, 0},
    };
    std::int32_t time = 1700000000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CCharItem> item = Item(c.insertedBy, c.deletedBy, ++time);
        m_tip.Update(m_doc, 2880, 2880, item.get());
        EXPECT_EQ(m_tip.GetKind(), c.kind);
        EXPECT_EQ(m_tip.GetAuthor(), c.author);
        EXPECT_EQ(m_tip.GetTime(), time);
        EXPECT_EQ(m_tip.IsWindowVisible(), c.kind != CRevisionTipWnd::kNone);
    }
}

TEST_F(RevisionTipTest, PlacedAboveTheItemOrLowWhenNearTheTop)
{
    std::unique_ptr<CCharItem> item = Item(1, 0, 1700000000);
    const plat::Point px = m_doc.TwipsToPixelsPoint(2880, 2880);
    m_tip.Update(m_doc, 2880, 2880, item.get());
    EXPECT_EQ(m_tip.GetRect(), plat::Rect(px.x, px.y - 20, px.x + 130, px.y - 20 + 50));

    // Scrolled so that the item is 10 pixels from the top of the canvas: the tip goes to 80.
    std::unique_ptr<CCharItem> other = Item(2, 0, 1700000001);
    m_tip.Update(m_doc, 2880, 2880, other.get(), plat::Point(15, px.y - 10));
    EXPECT_EQ(m_tip.GetRect(), plat::Rect(px.x - 15, 80, px.x - 15 + 130, 130));
}

TEST_F(RevisionTipTest, SameRevisionKeepsTheTipAndLeavingTextHidesIt)
{
    std::unique_ptr<CCharItem> item = Item(1, 0, 1700000000);
    m_tip.Update(m_doc, 1440, 1440, item.get());
    const plat::Rect placed = m_tip.GetRect();
    ASSERT_FALSE(m_tip.NeedsPaint());
    std::unique_ptr<CCharItem> twin = Item(1, 0, 1700000000);
    m_tip.Update(m_doc, 4000, 4000, twin.get());
    EXPECT_EQ(m_tip.GetRect(), placed) << "the same kind, author and time: nothing happens";
    EXPECT_FALSE(m_tip.NeedsPaint());

    m_tip.Update(m_doc, 0, 0, nullptr);
    EXPECT_EQ(m_tip.GetKind(), CRevisionTipWnd::kNone);
    EXPECT_FALSE(m_tip.IsWindowVisible());

    m_tip.Update(m_doc, 1440, 1440, item.get());
    ASSERT_TRUE(m_tip.IsWindowVisible());
    m_doc.SetRevisionsShown(false);
    m_tip.Update(m_doc, 1440, 1440, item.get());
    EXPECT_FALSE(m_tip.IsWindowVisible()) << "revisions not shown";
}

TEST_F(RevisionTipTest, SingleAuthorTableLeavesTheTipAlone)
{
    CQlDoc single;
    single.FileNew();
    single.GetAuthors().Append(0, u"同一人");
    single.SetRevisionsShown(true);
    std::unique_ptr<CCharItem> item = Item(1, 0, 1700000000);
    m_tip.Update(m_doc, 1440, 1440, item.get());
    ASSERT_TRUE(m_tip.IsWindowVisible());
    m_tip.Update(single, 1440, 1440, nullptr);
    EXPECT_TRUE(m_tip.IsWindowVisible()) << "a single author's table changes nothing";
    EXPECT_EQ(m_tip.GetKind(), CRevisionTipWnd::kInsertion);
}

TEST_F(RevisionTipTest, PaintsFrameBackgroundAndThreeRedLines)
{
    std::unique_ptr<CCharItem> item = Item(0, 2, 1709251500);
    m_tip.Update(m_doc, 2880, 2880, item.get());
    plat::String lines[3];
    m_tip.GetLines(m_doc, lines);
    EXPECT_EQ(lines[0], u"作者：李四");
    EXPECT_EQ(lines[1], u"操作：删除");
    EXPECT_EQ(lines[2], u"时间：2024-3-1 0:5");

    std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(m_canvas);
    const plat::Rect r = m_tip.GetRect();
    const plat::Bitmap& s = *m_tip.GetSurface();
    EXPECT_EQ(picture->GetPixel(r.left, r.top + 10), CRevisionTipWnd::kFrameColor);
    EXPECT_EQ(s.GetPixel(129, 25), CRevisionTipWnd::kFrameColor);
    EXPECT_EQ(s.GetPixel(125, 3), CRevisionTipWnd::kBackColor);
    // Red ink on each of the three lines, and none between the frame and the first line.
    auto redIn = [&](int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 1; x < 129; ++x)
                if (s.GetPixel(x, y) == CRevisionTipWnd::kTextColor) ++n;
        return n;
    };
    EXPECT_EQ(redIn(1, 5), 0);
    EXPECT_GT(redIn(6, 18), 10);
    EXPECT_GT(redIn(20, 32), 10);
    EXPECT_GT(redIn(34, 46), 10);

    // An insertion says so.
    std::unique_ptr<CCharItem> inserted = Item(1, 0, 1709251500);
    m_tip.Update(m_doc, 2880, 2880, inserted.get());
    m_tip.GetLines(m_doc, lines);
    EXPECT_EQ(lines[0], u"作者：张三");
    EXPECT_EQ(lines[1], u"操作：插入");
}

} // namespace

// A table in a document: saved and opened again, painted, typed into, and formatted
// through the document's commands on a selected table.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/doc_body.h"
#include "document/render_context.h"
#include "document/text_item.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "tests/objects/table_support.h"
#include "tests/support/pixel_probe.h"

using namespace tabletest;

namespace {

class TableInDocument : public TableTest {
protected:
    static std::vector<std::uint8_t> ObjectRecord(CFloatObject& o)
    {
        plat::MemFile mem;
        plat::Archive ar(mem, plat::Archive::kStore);
        o.Save(ar, kArchiveFile, 0, 0);
        ar.Close();
        return mem.Detach();
    }
};

TEST_F(TableInDocument, ADocumentHoldingATableSavesAndOpensEqual)
{
    CTableObject& t = AddTable(3, 3);
    for (char16_t c : std::u16string(u"表格 text")) doc.InsertChar(c);
    Select(CCellPos(1, 1), CCellPos(2, 2));
    t.GetGrid()->MergeCells();
    t.GetGrid()->GetHorizontalLine(3, 0)->m_style = kLineSolid6;
    t.TakeGridSize();
    const auto path = std::filesystem::temp_directory_path() / ("quiln_table_" + std::to_string(::getpid()) + ".qln");
    const plat::String file = plat::Utf8ToUtf16(path.string());
    ASSERT_EQ(doc.FileSave(file), 1);

    doctest::ShownDoc again;
    ASSERT_EQ(again.doc.FileOpen(file, false), 1);
    std::filesystem::remove(path);
    ASSERT_EQ(again.Body().GetObjectCount(), 1);
    auto* opened = dynamic_cast<CTableObject*>(again.Body().GetObject(0));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->m_wrapMode, kWrapNone);
    EXPECT_EQ(opened->m_layer, 3);
    EXPECT_TRUE(GridIsSound(*opened->GetGrid()));
    EXPECT_EQ(Text(*opened->GetGrid()->GetCell(0, 0)), u"表格 text");
    t.SetSelected(false);
    CTableCell* first = t.GetGrid()->GetCell(0, 0);
    first->SetCaret(first->GetStartPos()); // a file keeps no caret
    EXPECT_EQ(ObjectRecord(*opened), ObjectRecord(t));
}

TEST_F(TableInDocument, TypingIntoACellRefitsTheTable)
{
    CTableObject& t = AddTable(3, 3);
    const int before = t.m_height;
    doc.InsertChar(u'x');
    EXPECT_EQ(Text(*t.GetGrid()->GetCell(0, 0)), u"x");
    for (int i = 0; i < 6; ++i) doc.InsertChar(u'\r');
    EXPECT_GT(t.m_height, before);
    EXPECT_EQ(t.m_height, t.GetGrid()->GetTotalHeight());
    EXPECT_TRUE(GridIsSound(*t.GetGrid()));
    doc.EditUndo();
    EXPECT_EQ(doc.GetBody()->GetObjectCount(), 1);
}

TEST_F(TableInDocument, FormatCommandsReachTheCellsOfTheSelectedTable)
{
    CTableObject& t = AddTable(3, 3);
    CTableGrid& g = *t.GetGrid();
    for (auto [r, c] : {std::pair{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 2}}) Type(r, c, u"abc");
    g.GetCell(0, 1)->SetCaret(CTextPos(1, g.GetCell(0, 1)->GetName()));
    ASSERT_EQ(doc.GetSelectedTableGrid(), &g);

    Select(CCellPos(0, 0), CCellPos(1, 1));
    doc.SetCharBold(1);
    for (auto [r, c] : {std::pair{0, 0}, {0, 1}, {1, 0}, {1, 1}}) {
        const CTableCell& cell = *g.GetCell(r, c);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(cell.GetItem(i)->GetFormat().m_bold, 1) << r << c << i;
    }
    EXPECT_EQ(g.GetCell(2, 2)->GetItem(0)->GetFormat().m_bold, 0);
    EXPECT_EQ(g.GetCell(0, 1)->GetCaretPos().m_index, 1); // the cell's own caret stays

    Select(CCellPos(2, 2));
    doc.SetParaFormat(kAlignCentre);
    EXPECT_EQ(g.GetCell(2, 2)->GetRunningParaFormat().m_align, kAlignCentre);
    EXPECT_EQ(g.GetCell(1, 1)->GetRunningParaFormat().m_align, kAlignLeft);
    const CTextItem* first = g.GetCell(2, 2)->GetItem(0);
    EXPECT_GT(first->GetLeft(), 100); // centred in an 820-twip frame

    // The table takes the grid's size after a command that grew it.
    doc.SetFontSize(1000);
    EXPECT_EQ(t.m_height, g.GetTotalHeight());
    EXPECT_GT(t.m_height, 1410);
}

TEST_F(TableInDocument, PaintingDrawsNoRuleInsideAMergedCellAndSkipsStyle1)
{
    Make(3, 3);
    Select(CCellPos(0, 0), CCellPos(1, 0));
    Grid().MergeCells();
    Grid().GetHorizontalLine(3, 2)->m_style = kLineNone;
    testsupport::Canvas canvas(220, 120);
    {
        CRenderContext rc(&doc, canvas.dc);
        table->Draw(canvas.dc, 1.0, 0, 0, 1, rc);
        rc.Restore(canvas.dc);
    }
    if (const char* out = std::getenv("QUILN_TABLE_PNG")) canvas.bitmap->SavePng(plat::Utf8ToUtf16(out));
    // 15 twips to the pixel: columns at x 7, 67, 127, 187; rows at y 7, 33/34, 60, 87. The
    // probes keep clear of the paragraph marks at the cells' left.
    using testsupport::InkOn;
    EXPECT_EQ(InkOn(*canvas.bitmap, plat::Rect(20, 30, 64, 38)).count, 0) << "rule inside the merged cell";
    EXPECT_GT(InkOn(*canvas.bitmap, plat::Rect(80, 30, 124, 38)).count, 40) << "rule between rows 0 and 1";
    EXPECT_GT(InkOn(*canvas.bitmap, plat::Rect(80, 84, 124, 90)).count, 40) << "bottom rule, column 1";
    EXPECT_EQ(InkOn(*canvas.bitmap, plat::Rect(140, 84, 184, 90)).count, 0) << "bottom rule of style 1";
    EXPECT_GT(InkOn(*canvas.bitmap, plat::Rect(4, 10, 10, 80)).count, 40) << "left edge";
}

} // namespace

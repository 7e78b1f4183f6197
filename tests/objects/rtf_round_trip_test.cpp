// A document exported to RTF and read back by the RTF reader: text in several formats with
// revisions, a table with a merged cell and a drawn shape. The text comes back item by item
// with its formats (deleted text left out by the writer), the table as a table whose cells
// hold the same text, the shape as a picture of its size. The picture kind is the test's
// own (the image kind is not part of this library): it keeps the file it was made from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/doc_commands.h"
#include "io/rtf_importer.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "tests/document/html_rtf_export_support.h"
#include "tests/document/visible_items.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/shape_test_support.h"

using namespace exporttest;

namespace {

// The characters of a flow, paragraph by paragraph, empty paragraphs dropped (a table
// written inside the text ends the paragraph it stands in).
std::vector<std::vector<VisibleItem>> Paragraphs(const CTextFlow& flow)
{
    std::vector<std::vector<VisibleItem>> out(1);
    for (const VisibleItem& v : VisibleItems(flow, 0, flow.GetCount())) {
        if (v.type == 0)
            out.back().push_back(v);
        else if (!out.back().empty())
            out.emplace_back();
    }
    if (out.back().empty()) out.pop_back();
    return out;
}

template <class Kind>
std::vector<Kind*> Objects(CDocBody& body)
{
    std::vector<Kind*> found;
    for (int k = 0; k < body.GetObjectCount(); ++k)
        if (auto* o = dynamic_cast<Kind*>(body.GetObject(k))) found.push_back(o);
    return found;
}

TEST(RtfRoundTrip, TextTableAndShapeComeBackWithTheirFormats)
{
    RegisterObjectKinds();
    RegisterRtfImporter();
    const DocObjectMaker image = RegisterDocObject(kNodeImage, &MakeFilePicture);

    ExportDoc d;
    d.Append(u"第一段 Normal text.\r");
    d.Append(u"Bold ", StyledFormat(u"Arial Black", 280, true, false, 0, plat::Rgb(200, 0, 0)));
    d.Append(u"italic", StyledFormat(u"Courier New", 210, false, true, 2, plat::Rgb(0, 0, 255)));
    d.Append(u"x", StyledFormat(u"Times New Roman", 210, false, false, 3, 0, 1));
    d.Append(u"2", StyledFormat(u"Times New Roman", 210, false, false, 0, 0, 2));
    d.Append(u" 中文 {brace} \\ end\r");
    const int deletedFrom = d.Body().GetCount() - 1;
    d.Append(u"gone");
    for (int i = deletedFrom; i < deletedFrom + 4; ++i) d.Body().GetItem(i)->SetDeletedBy(1);
    d.Append(u"kept");
    for (int i = d.Body().GetCount() - 5; i < d.Body().GetCount() - 1; ++i) d.Body().GetItem(i)->SetInsertedBy(1);
    d.Append(u"\r最后一段");

    // Below the text: a 2 x 2 table whose left column is one cell, and a line shape.
    const int below = d.Body().GetContentBottom() + 400;
    auto table = std::make_unique<CTableObject>(&d.doc, nullptr);
    CTableGrid& grid = table->CreateGrid(2, 2, std::vector<int>{1800, 2400});
    d.doc.GetFormatState()->m_currentCell = CCellPos(0, 0);
    d.doc.GetFormatState()->m_rangeEndCell = CCellPos(1, 0);
    ASSERT_TRUE(grid.CanMerge());
    grid.MergeCells();
    const auto put = [&](int r, int c, const plat::String& text, const CCharFormat& f) {
        CTableCell* cell = grid.GetCell(r, c);
        int at = cell->GetCount() - 1;
        cell->InsertString(at, text, f);
        grid.RelayoutCell(r, c, 0);
    };
    put(0, 0, u"合并 merged\rtwo", PlainFormat());
    put(0, 1, u"Red", StyledFormat(u"Arial Black", 240, true, false, 1, plat::Rgb(255, 0, 0)));
    put(1, 1, u"底", PlainFormat());
    table->TakeGridSize();
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    table->m_bounds = plat::Rect(frame.left, below, frame.left + table->m_width, below + table->m_height);
    table->RecalcLayout();
    d.Body().AddObject(std::move(table));
    d.Body().AddObject(shapetest::MakeShape(
        d.doc, {0x1101, {{frame.left + 500, below + 3000}, {frame.left + 2000, below + 3750}}}));
    d.Body().RecalcAllObjects();

    const std::string path = pdftest::Dir("roundtrip") + "doc.rtf";
    ASSERT_EQ(d.doc.ExportRtf(pdftest::U(path)), 1);
    ExportDoc back;
    ASSERT_EQ(back.doc.OpenRtf(pdftest::U(path), false), 1);

    EXPECT_EQ(Paragraphs(back.Body()), Paragraphs(d.Body()));

    const std::vector<CTableObject*> tables = Objects<CTableObject>(back.Body());
    ASSERT_EQ(tables.size(), 1u);
    const CTableGrid& read = *tables[0]->GetGrid();
    ASSERT_EQ(read.GetRows(), 2);
    ASSERT_EQ(read.GetColumns(), 2);
    EXPECT_EQ(read.GetCell(0, 0), read.GetCell(1, 0)) << "the merged cell";
    for (const CCellPos at : {CCellPos(0, 0), CCellPos(0, 1), CCellPos(1, 1)}) {
        SCOPED_TRACE(testing::Message() << at.m_row << ", " << at.m_column);
        EXPECT_EQ(Paragraphs(*read.GetCellAt(at)), Paragraphs(*grid.GetCellAt(at)));
    }

    const std::vector<CFilePicture*> pictures = Objects<CFilePicture>(back.Body());
    ASSERT_EQ(pictures.size(), 1u);
    // The picture takes the shape's size, to the pixel of the rendered picture (15 twips).
    const plat::Rect box = Objects<CShapeObject>(d.Body())[0]->GetBounds();
    EXPECT_NEAR(pictures[0]->m_width, box.right - box.left, 15);
    EXPECT_NEAR(pictures[0]->m_height, box.bottom - box.top, 15);
    EXPECT_FALSE(pictures[0]->m_bytes.empty());

    RegisterDocObject(kNodeImage, image);
}

} // namespace

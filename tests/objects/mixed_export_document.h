// A document holding every kind of content the exporters write, for the tests that read
// the exported files back: text in several formats with revisions and a page break, a text
// shape standing in the text, a picture inserted as the picture command inserts one, and
// below the text a drawn line and a 2 x 2 table whose left column is one merged cell. The
// caller registers the kinds (RegisterObjectKinds) and unregisters them when done.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "media/image_object.h"
#include "media/jpeg_file_saver.h"
#include "objects/shape_object.h"
#include "objects/table_object.h"
#include "objects/text_shape.h"
#include "platform/gfx/bitmap.h"
#include "tests/document/html_rtf_export_support.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/shape_test_support.h"

namespace exporttest {

// A JPEG file of width x height pixels, red above blue, for a picture to insert.
inline std::string WritePicture(const std::string& path, int width, int height)
{
    const std::unique_ptr<plat::Bitmap> pixels = plat::Bitmap::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels->SetPixel(x, y, y < height / 2 ? plat::Rgb(255, 0, 0) : plat::Rgb(0, 0, 255));
    EXPECT_TRUE(CJpegFileSaver().SaveBitmap(pdftest::U(path), pixels.get())) << path;
    return path;
}

// A text shape of the default border on the box, its text centred in its frame.
inline std::unique_ptr<CTextShapeObject> MakeTextShape(CQlDoc& doc, const plat::Rect& box, const plat::String& text)
{
    auto shape = std::make_unique<CTextShapeObject>(&doc, nullptr);
    shape->m_bounds = box;
    shape->SetSize(box.Width(), box.Height());
    const plat::Rect textRect = shape->GetTextRect();
    shape->CreateFrame(textRect.Width(), textRect.Height(), 3);
    shape->AlignTextFrame();
    shape->ResetAdjustPoints();
    shape->GetFrame()->InsertItemsAtCaret(text);
    shape->GetFrame()->RelayoutWhole();
    shape->AlignTextFrame();
    return shape;
}

struct MixedContent {
    plat::String shapeText; // what the text shape holds
    // The text of the table's cells (0, 0) (the merged one), (0, 1) and (1, 1).
    std::vector<CCellPos> cells;
    std::vector<plat::String> cellText;
};

// Fills an empty export document; `scratch` is a folder for the picture's file.
inline MixedContent BuildMixedDocument(ExportDoc& d, const std::string& scratch)
{
    MixedContent content;
    d.Append(u"第一段 Normal text 正文。\r");
    const int secondParagraph = d.Body().GetCount() - 1;
    d.Append(u"Bold ", StyledFormat(u"Arial Black", 280, true, false, 0, plat::Rgb(200, 0, 0)));
    d.Append(u"italic", StyledFormat(u"Courier New", 210, false, true, 2, plat::Rgb(0, 0, 255)));
    d.Append(u"x", StyledFormat(u"Times New Roman", 210, false, false, 3, 0, 1));
    d.Append(u"2", StyledFormat(u"Times New Roman", 210, false, false, 0, 0, 2));
    d.Append(u" 中文 <tag> & {brace} \\ end\rDeleted: ");
    const int deletedFrom = d.Body().GetCount() - 1;
    d.Append(u"删掉的字");
    for (int i = deletedFrom; i < deletedFrom + 4; ++i) d.Body().GetItem(i)->SetDeletedBy(1);
    // Text inserted by the second author is written like any other.
    d.Append(u" kept 新加的");
    for (int i = d.Body().GetCount() - 4; i < d.Body().GetCount() - 1; ++i) d.Body().GetItem(i)->SetInsertedBy(1);
    d.Append(u"\rCode text", StyledFormat(u"Courier New", 240, false, false, 2, 0));
    d.Append(u"\rThai \u0E01 sign \u00A9 and 度\u00B0\r\r");
    d.Body().SetCaret(d.Body().GetEndPos());
    d.Body().InsertPageBreak();
    d.Append(u"第二页的文字。");
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;

    // A text shape across the second paragraph's line, the text above and below it.
    const int shapeTop = d.Body().GetItem(secondParagraph)->GetTop() + 200;
    content.shapeText = u"框中 Shape";
    auto shape = MakeTextShape(d.doc, plat::Rect(frame.left + 2000, shapeTop, frame.left + 4400, shapeTop + 1200),
                               content.shapeText);
    shape->m_wrapMode = kWrapNone;
    d.Body().AddObject(std::move(shape));

    // A picture at the end of the text, placed as the picture command places it.
    d.Body().SetCaret(d.Body().GetEndPos());
    EXPECT_EQ(d.doc.InsertImage(pdftest::U(WritePicture(scratch + "picture.jpg", 30, 20)), plat::String(), 0, 0, 0, 0),
              1);
    d.Body().DeselectAll();
    d.Body().RelayoutWhole();

    // Below everything: the table, then a line.
    int below = d.Body().GetContentBottom();
    for (int k = 0; k < d.Body().GetObjectCount(); ++k) below = std::max(below, d.Body().GetObject(k)->m_bounds.bottom);
    below += 400;
    auto table = std::make_unique<CTableObject>(&d.doc, nullptr);
    CTableGrid& grid = table->CreateGrid(2, 2, std::vector<int>{1800, 2400});
    d.doc.GetFormatState()->m_currentCell = CCellPos(0, 0);
    d.doc.GetFormatState()->m_rangeEndCell = CCellPos(1, 0);
    EXPECT_TRUE(grid.CanMerge());
    grid.MergeCells();
    const auto put = [&](CCellPos at, const plat::String& text, const CCharFormat& f) {
        CTableCell* cell = grid.GetCellAt(at);
        int end = cell->GetCount() - 1;
        cell->InsertString(end, text, f);
        grid.RelayoutCell(at.m_row, at.m_column, 0);
        content.cells.push_back(at);
        content.cellText.push_back(text);
    };
    put(CCellPos(0, 0), u"合并 merged\rtwo", PlainFormat());
    put(CCellPos(0, 1), u"Red 红", StyledFormat(u"Arial Black", 240, true, false, 1, plat::Rgb(255, 0, 0)));
    put(CCellPos(1, 1), u"底", PlainFormat());
    d.doc.GetFormatState()->m_rangeEndCell = CCellPos(0, 0);
    table->TakeGridSize();
    table->m_bounds = plat::Rect(frame.left, below, frame.left + table->m_width, below + table->m_height);
    table->RecalcLayout();
    const int lineTop = below + table->m_height + 600;
    d.Body().AddObject(std::move(table));
    d.Body().AddObject(shapetest::MakeShape(
        d.doc, {0x1101, {{frame.left + 500, lineTop}, {frame.left + 2000, lineTop + 750}}}));
    d.Body().RecalcAllObjects();
    return content;
}

// The boxes of the objects that are exported as pictures: all but the table.
inline std::vector<plat::Rect> PictureBoxes(CDocBody& body)
{
    std::vector<plat::Rect> boxes;
    for (int k = 0; k < body.GetObjectCount(); ++k)
        if (!dynamic_cast<CTableObject*>(body.GetObject(k))) boxes.push_back(body.GetObject(k)->GetBounds());
    return boxes;
}

} // namespace exporttest

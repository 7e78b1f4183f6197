// A document exported to RTF and read back by the RTF reader: text in several formats with
// revisions, a table with a merged cell, a text shape, a drawn shape and a picture. The text
// comes back item by item with its formats (deleted text left out by the writer), the table
// as a table whose cells hold the same text, every other object as a picture of the image
// kind of its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_commands.h"
#include "io/rtf_importer.h"
#include "media/image_cache.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "tests/document/visible_items.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/mixed_export_document.h"
#include "tests/support/pixel_probe.h"

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

// What a picture object came back showing: its image drawn on white at its pixel size.
std::unique_ptr<testsupport::Canvas> PictureOf(CImageObject& picture, const std::string& scratch)
{
    const std::string path = scratch + "back.jpg";
    if (!picture.ExportFile(pdftest::U(path))) return nullptr;
    CImageCache cache;
    if (!cache.Load(pdftest::U(path))) return nullptr;
    const plat::Size size = cache.GetSize();
    auto canvas = std::make_unique<testsupport::Canvas>(size.cx, size.cy);
    cache.Draw(canvas->dc, 0, 0, size.cx, size.cy);
    return canvas;
}

bool Dark(plat::ColorRef c)
{
    return plat::RValue(c) + plat::GValue(c) + plat::BValue(c) < 300;
}

TEST(RtfRoundTrip, TextTableAndObjectsComeBackWithTheirFormats)
{
    RegisterObjectKinds();
    RegisterRtfImporter();

    ExportDoc d;
    const std::string dir = pdftest::Dir("roundtrip");
    const MixedContent content = BuildMixedDocument(d, dir);
    const std::string path = dir + "doc.rtf";
    ASSERT_EQ(d.doc.ExportRtf(pdftest::U(path)), 1);
    ExportDoc back;
    ASSERT_EQ(back.doc.OpenRtf(pdftest::U(path), false), 1);

    EXPECT_EQ(Paragraphs(back.Body()), Paragraphs(d.Body()));

    const std::vector<CTableObject*> tables = Objects<CTableObject>(back.Body());
    ASSERT_EQ(tables.size(), 1u);
    const CTableGrid& read = *tables[0]->GetGrid();
    const CTableGrid& grid = *Objects<CTableObject>(d.Body())[0]->GetGrid();
    ASSERT_EQ(read.GetRows(), 2);
    ASSERT_EQ(read.GetColumns(), 2);
    EXPECT_EQ(read.GetCell(0, 0), read.GetCell(1, 0)) << "the merged cell";
    for (const CCellPos& at : content.cells) {
        SCOPED_TRACE(testing::Message() << at.m_row << ", " << at.m_column);
        EXPECT_EQ(Paragraphs(*read.GetCellAt(at)), Paragraphs(*grid.GetCellAt(at)));
    }

    // The text shape, the picture and the line come back as pictures of the image kind,
    // each of its object's size to the pixel of the rendered picture (15 twips), in the
    // order the writer met them; nothing else comes back.
    const std::vector<CImageObject*> pictures = Objects<CImageObject>(back.Body());
    EXPECT_EQ(back.Body().GetObjectCount(), 4);
    std::vector<plat::Size> want, got;
    for (const plat::Rect& box : PictureBoxes(d.Body())) want.emplace_back(box.Width(), box.Height());
    for (const CImageObject* p : pictures) got.emplace_back(p->m_width, p->m_height);
    const auto bySize = [](plat::Size a, plat::Size b) { return a.cx != b.cx ? a.cx < b.cx : a.cy < b.cy; };
    std::sort(want.begin(), want.end(), bySize);
    std::sort(got.begin(), got.end(), bySize);
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(got[k].cx, want[k].cx, 15) << k;
        EXPECT_NEAR(got[k].cy, want[k].cy, 15) << k;
    }

    // Each picture shows its object: the text shape its text inside its border, the
    // picture its red upper and blue lower half, the line a dark stroke.
    const auto sizeOf = [](const CFloatObject& o) { return plat::Size(o.m_bounds.Width(), o.m_bounds.Height()); };
    const auto backOf = [&](const CFloatObject& original) -> CImageObject* {
        for (CImageObject* p : pictures)
            if (std::abs(p->m_width - sizeOf(original).cx) <= 15 && std::abs(p->m_height - sizeOf(original).cy) <= 15)
                return p;
        return nullptr;
    };
    CImageObject* shape = backOf(*Objects<CTextShapeObject>(d.Body())[0]);
    CImageObject* image = backOf(*Objects<CImageObject>(d.Body())[0]);
    CImageObject* line = backOf(*Objects<CShapeObject>(d.Body())[0]);
    ASSERT_TRUE(shape && image && line);
    const auto shapePicture = PictureOf(*shape, dir), imagePicture = PictureOf(*image, dir),
               linePicture = PictureOf(*line, dir);
    ASSERT_TRUE(shapePicture && imagePicture && linePicture);
    const plat::Bitmap& s = *shapePicture->bitmap;
    EXPECT_GT(testsupport::InkWhere(s, plat::Rect(12, 12, s.Width() - 12, s.Height() - 12), Dark).count, 20)
        << "the text inside the border";
    const plat::Bitmap& i = *imagePicture->bitmap;
    const plat::ColorRef upper = i.GetPixel(i.Width() / 2, i.Height() / 4);
    const plat::ColorRef lower = i.GetPixel(i.Width() / 2, i.Height() * 3 / 4);
    EXPECT_GT(plat::RValue(upper), 200) << std::hex << upper;
    EXPECT_LT(plat::BValue(upper), 80) << std::hex << upper;
    EXPECT_GT(plat::BValue(lower), 200) << std::hex << lower;
    EXPECT_LT(plat::RValue(lower), 80) << std::hex << lower;
    const plat::Bitmap& l = *linePicture->bitmap;
    EXPECT_GT(testsupport::InkWhere(l, plat::Rect(0, 0, l.Width(), l.Height()), Dark).count, 20);
    UnregisterDocObjects();
}

} // namespace

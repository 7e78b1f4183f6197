#include <cmath>
#include <gtest/gtest.h>

#include "document/format_state.h"
#include "document/plane_geometry.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "media/media_store.h"
#include "objects/point_list.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/media/image_object_support.h"

using namespace imagetest;

namespace {

bool g_shift = false;
bool Shift() { return g_shift; }

class ImageObject : public ::testing::Test {
protected:
    void SetUp() override { CImageObject::SetShiftQuery(&Shift); }
    void TearDown() override
    {
        g_shift = false;
        CImageObject::SetShiftQuery(nullptr);
    }
    // A drag of one handle to (x, y) twips, through the body as the mouse does it.
    void Drag(CImageObject& image, std::uint8_t handle, int x, int y)
    {
        CPointList handles;
        image.GetHandles(handles);
        const CPointNode h = handles.GetNodeAt(handle == 33 ? 0 : handle == 35 ? 1 : handle == 92 ? 2 : 3);
        CDocBody& body = d.Body();
        const std::uint8_t code = body.OnLButtonDown(h.m_x, h.m_y, false);
        ASSERT_EQ(code, handle);
        d.doc.GetFormatState()->m_tableZone = code;
        body.OnMouseDrag(x, y);
        body.OnLButtonUp(x, y);
    }
    ShownDoc d;
};

} // namespace

TEST_F(ImageObject, AnInsertedImageHasItsBoxAsCornersAndAnswersAsAPicture)
{
    CImageObject& image = d.Insert(TwoColours());
    const plat::Rect b = image.m_bounds;
    EXPECT_EQ(image.m_width, 1440);
    EXPECT_EQ(image.m_height, 720);
    const auto& p = image.GetCorners();
    EXPECT_EQ(p[0], plat::Point(b.left, b.top));
    EXPECT_EQ(p[1], plat::Point(b.left, b.top + 720));
    EXPECT_EQ(p[2], plat::Point(b.left + 1440, b.top));
    EXPECT_EQ(p[3], plat::Point(b.left + 1440, b.top + 720));
    EXPECT_EQ(image.GetAngle(), 0.0);
    EXPECT_EQ(image.GetMirror1(), p[0]);
    EXPECT_EQ(image.GetMirror2(), p[3]);
    EXPECT_EQ(image.GetNaturalSize(), plat::Size(40, 20));
    EXPECT_TRUE(image.IsImage());
    EXPECT_EQ(image.GetExportKind(), 2);
    CStatistics stats;
    image.CountStatistics(stats);
    EXPECT_EQ(stats[CStatistics::kImages], 1);

    // Inserting the same file again shares the entry (de-duplication).
    d.Insert(TwoColours());
    EXPECT_EQ(d.doc.GetImageStore().GetCount(), 1);
    EXPECT_EQ(d.doc.InsertImage(u"/no/such/picture.bmp", u"", 0, 0, 0, 0), 0);
}

TEST_F(ImageObject, ExportsKeepTheExtensionAndTheBytesOfTheFile)
{
    const std::string png = Picture("upper.PNG", "-size 30x10 xc:green");
    CImageObject& image = d.Insert(png);
    EXPECT_EQ(image.GetExportExt(), u".PNG");
    const std::string out = (Scratch() / "exported.PNG").string();
    ASSERT_TRUE(image.ExportFile(plat::Utf8ToUtf16(out)));
    EXPECT_EQ(Bytes(out), Bytes(png));
    // Without a store entry: the base's JPEG rendering.
    image.m_key = u"not-a-key";
    EXPECT_EQ(image.GetExportExt(), u".jpg");
}

TEST_F(ImageObject, DragsResizeAndTurnAndEachIsUndoneAndRedone)
{
    struct Case {
        const char* name;
        std::string picture;
        bool shift;
        std::uint8_t handle;
        int dx, dy; // the target, from P0 (twips)
        int width, height;
        plat::Size bounds; // the box's size afterwards
    };
    const std::string twoToOne = Picture("200x100.bmp", "-size 200x100 xc:red -type TrueColor");
    const Case cases[] = {
        // P2 straight up above P0: a quarter turn; the box is H wide and W high.
        {"turn", twoToOne, false, 92, 0, -5000, 1440, 720, {720, 1440}},
        // P3 onto P0: no side under 100 twips (the proportional rule then widens it).
        {"minimum", twoToOne, false, 40, 10, 10, 200, 100, {200, 100}},
        {"minimum free", twoToOne, true, 40, -500, -500, 100, 100, {100, 100}},
        // P3 to 3000 x 1000: the smaller side decides, 2000 x 1000; with Shift, freely.
        {"proportional", twoToOne, false, 40, 3000, 1000, 2000, 1000, {2000, 1000}},
        {"free", twoToOne, true, 40, 3000, 1000, 3000, 1000, {3000, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        while (d.Body().GetObjectCount() > 0) d.Body().RemoveObject(d.Body().GetObject(0));
        CImageObject& image = d.Insert(c.picture);
        const plat::Point p0 = image.GetCorners()[0];
        const auto before = image.GetCorners();
        g_shift = c.shift;
        Drag(image, c.handle, p0.x + c.dx, p0.y + c.dy);
        g_shift = false;
        CImageObject& dragged = d.Image();
        EXPECT_EQ(dragged.m_width, c.width);
        EXPECT_EQ(dragged.m_height, c.height);
        EXPECT_EQ(dragged.GetCorners()[0], p0);
        EXPECT_EQ(dragged.m_bounds.Width(), c.bounds.cx);
        EXPECT_EQ(dragged.m_bounds.Height(), c.bounds.cy);
        if (c.handle == 92) {
            EXPECT_NEAR(dragged.GetAngle(), kHalfPi, 1e-6);
            EXPECT_EQ(dragged.GetCorners()[2], plat::Point(p0.x, p0.y - 1440));
        }
        const auto after = dragged.GetCorners();
        ASSERT_EQ(d.Body().GetObjectCount(), 1);
        d.doc.EditUndo();
        ASSERT_EQ(d.Body().GetObjectCount(), 1);
        EXPECT_EQ(d.Image().GetCorners(), before);
        d.doc.EditRedo();
        EXPECT_EQ(d.Image().GetCorners(), after);
        d.Body().DeselectAll();
    }
}

TEST_F(ImageObject, TheNativeRecordEndsWithSixteenZerosThatInsertingSkips)
{
    CImageObject& image = d.Insert(TwoColours());
    plat::MemFile file;
    {
        plat::Archive ar(file, plat::Archive::kStore);
        image.Save(ar, kArchiveFile, 0, 0);
    }
    const auto& bytes = file.Data();
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 16, bytes.end()), std::vector<std::uint8_t>(16, 0));
    for (int mode : {kArchiveFile, kArchiveInsert}) {
        SCOPED_TRACE(mode);
        plat::MemFile in(bytes);
        plat::Archive ar(in, plat::Archive::kLoad);
        CImageObject copy(&d.doc, nullptr);
        copy.Load(ar, mode);
        EXPECT_EQ(copy.GetCorners(), image.GetCorners());
        EXPECT_EQ(copy.m_key, image.m_key);
        EXPECT_EQ(copy.GetNaturalSize(), plat::Size(40, 20));
        EXPECT_THROW(ar.ReadU8(), plat::ArchiveException) << "the record was read to its end";
    }
}

TEST_F(ImageObject, ImagesSaveAndReopenThroughTheImageStore)
{
    d.Insert(TwoColours());
    d.Body().DeselectAll();
    d.Insert(TwoColours("png"), 1440, 2000, 900, 300);
    const std::string path = (Scratch() / "two images.qln").string();
    ASSERT_EQ(d.doc.FileSave(plat::Utf8ToUtf16(path)), 1);

    ShownDoc other;
    ASSERT_EQ(other.doc.FileOpen(plat::Utf8ToUtf16(path), false), 1);
    ASSERT_EQ(other.Body().GetObjectCount(), 2);
    EXPECT_EQ(other.doc.GetImageStore().GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(other.Image(i).GetCorners(), d.Image(i).GetCorners());
        EXPECT_EQ(other.Image(i).GetNaturalSize(), plat::Size(40, 20));
        EXPECT_EQ(other.Image(i).GetExportExt(), d.Image(i).GetExportExt());
    }
}

TEST_F(ImageObject, PastingIntoAnotherDocumentAddsTheFilePastingHereSharesIt)
{
    d.Insert(TwoColours());
    ASSERT_TRUE(d.doc.EditCopy());
    ShownDoc other;
    // Both documents share the process's headless clipboard through their views: hand the
    // block over.
    other.window.m_clipboard = d.window.m_clipboard;
    ASSERT_TRUE(other.doc.EditPaste());
    ASSERT_EQ(other.Body().GetObjectCount(), 1);
    const plat::String key = other.Image().m_key;
    EXPECT_FALSE(other.doc.GetImageStore().GetInfo(key).IsEmpty());
    EXPECT_EQ(other.doc.GetImageStore().GetCount(), 1);
    EXPECT_NE(other.doc.GetImageStore().GetFilePath(key), d.doc.GetImageStore().GetFilePath(d.Image().m_key));
    EXPECT_EQ(other.Image().GetNaturalSize(), plat::Size(40, 20));

    ASSERT_TRUE(d.doc.EditPaste());
    ASSERT_EQ(d.Body().GetObjectCount(), 2);
    EXPECT_EQ(d.Image(1).m_key, d.Image(0).m_key);
    EXPECT_EQ(d.doc.GetImageStore().GetCount(), 1);
}

TEST_F(ImageObject, TurnedAndMirroredPicturesAreDrawnWhiteKeyed)
{
    constexpr plat::ColorRef kPage = 0x00FF00; // green, so that white shows as keyed out
    constexpr plat::ColorRef kRed = 0x0000FF, kBlue = 0xFF0000;
    struct Probe {
        int x, y; // pixels at zoom 1 from the box's top-left
        plat::ColorRef colour;
    };
    struct Case {
        const char* name;
        bool turn, mirror;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"plain", false, false, {{2, 2, kRed}, {37, 17, kBlue}, {9, 9, kPage}}},
        {"mirrored", false, true, {{2, 2, kBlue}, {37, 17, kRed}, {30, 9, kPage}}},
        // A quarter turn counter-clockwise: the left (red) half ends at the bottom.
        {"turned", true, false, {{2, 37, kRed}, {17, 2, kBlue}}},
    };
    for (double zoom : {1.0, 2.0}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (zoom == 1.0 ? " 100%" : " 200%"));
            CImageObject image(&d.doc, nullptr);
            CNewObjectSource source;
            source.path = plat::Utf8ToUtf16(TwoColours());
            ASSERT_TRUE(image.TakeSource(source));
            // 40 x 20 pixels at 100 %, P0 at 600 twips down so that a quarter turn stays
            // on the bitmap with its box at the top.
            image.m_width = 600;
            image.m_height = 300;
            image.m_bounds = plat::Rect(0, 600, 600, 900);
            image.OnPlaced();
            if (c.mirror) image.SetMirrorPoints(image.GetMirror2(), image.GetMirror1());
            if (c.turn) {
                d.doc.GetFormatState()->m_tableZone = CImageObject::kHitP2;
                image.TrackTo(0, -5000);
                ASSERT_EQ(image.m_bounds.top, 0);
            }
            auto bitmap = plat::Bitmap::Create(200, 200);
            bitmap->Fill(kPage);
            plat::MemoryDc dc;
            dc.Select(bitmap.get());
            const int y0 = c.turn ? 0 : -TwipsToPixels(dc, zoom, 600);
            {
                CRenderContext rc(&d.doc, dc);
                image.Draw(dc, zoom, 0, y0, 1, rc);
                rc.Restore(dc);
            }
            for (const Probe& p : c.probes)
                EXPECT_EQ(bitmap->GetPixel(int(p.x * zoom), int(p.y * zoom)), p.colour) << p.x << "," << p.y;
        }
    }
}

// The floating-object base: its record in every mode, caption layout and painting, moves
// and stacking, the tracker, the picture export and the object factory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "document/doc_body.h"
#include "document/page_object_list.h"
#include "document/render_context.h"
#include "document/text_frame.h"
#include "media/raster_image.h"
#include "objects/point_list.h"
#include "platform/base/system.h"
#include "tests/document/objects_support.h"
#include "tests/document/text_model_support.h"

using namespace objtest;
using textmodel::Hex;

namespace {

std::string TempPath(const char* name)
{
    return plat::Utf16ToUtf8(plat::TempDir()) + name;
}

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

// ---- record ----

TEST(FloatObjectRecord, DefaultObjectWritesTheBaseRecordOfEachMode)
{
    CQlDoc doc;
    CFloatObject object(&doc, nullptr, kNodeShape);
    const Bytes file = Store([&](plat::Archive& ar) { object.Save(ar, kArchiveFile, 0, 0); });
    // wrap 3, layer 2, box (0, 0, 1, 1), size 1 x 1, empty caption.
    const Bytes base = Hex("03 02 | 00000000 00000000 01000000 01000000 | 01000000 01000000 | ff feff 00");
    EXPECT_EQ(file, base);
    EXPECT_EQ(Store([&](plat::Archive& ar) { object.Save(ar, kArchiveClipboard, 0, 0); }), base);

    const Bytes undo = Store([&](plat::Archive& ar) { object.Save(ar, kArchiveUndo, 0, 0); });
    Bytes expected = base;
    const Bytes tail = Hex("00 00 | ff feff 00 | 00000000 00000000"); // selected, state, name, offset, target
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(undo, expected);
}

TEST(FloatObjectRecord, SavingShiftsTheWholeBox)
{
    CQlDoc doc;
    CFloatObject o(&doc, nullptr, kNodeShape);
    o.m_bounds = plat::Rect(1000, 2000, 1300, 2400);
    o.m_width = 300;
    o.m_height = 400;
    const Bytes bytes = Store([&](plat::Archive& ar) { o.Save(ar, kArchiveFile, 200, -50); });
    // left, top, right, bottom each moved; the size is not.
    ASSERT_EQ(bytes.size(), 30u);
    EXPECT_EQ(Bytes(bytes.begin() + 2, bytes.begin() + 26),
              Hex("b0040000 9e070000 dc050000 2e090000 | 2c010000 90010000"));
    EXPECT_EQ(o.m_bounds, plat::Rect(1000, 2000, 1300, 2400));
}

TEST(FloatObjectRecord, EveryModeReadsBackWhatItWrote)
{
    CQlDoc doc;
    doc.ResetFormatState();
    auto o = NewObject(&doc, 1500, 2500, 2000, 1000, kWrapLeft, 4, 7);
    o->SetCaption(u"图一 caption");
    o->RecalcLayout();
    o->m_selected = 1;
    o->m_anchorState = kAnchorMustMove;
    o->m_anchorName = u"para-name";
    o->m_anchorOffset = -35;
    o->m_targetTop = 4321;
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard}) {
        SCOPED_TRACE(mode);
        const Bytes bytes = Store([&](plat::Archive& ar) { o->Save(ar, mode, 0, 0); });
        CTestObject back(&doc, nullptr);
        EXPECT_EQ(LoadFrom(bytes, [&](plat::Archive& ar) { back.Load(ar, mode); }), 0u);
        EXPECT_EQ(back.m_bounds, o->m_bounds);
        EXPECT_EQ(back.m_wrapMode, kWrapLeft);
        EXPECT_EQ(back.m_layer, 4);
        EXPECT_EQ(back.GetCaption(), u"图一 caption");
        EXPECT_EQ(back.m_tag, 7);
        const bool undo = mode == kArchiveUndo;
        EXPECT_EQ(back.m_selected, undo ? 1 : 0);
        EXPECT_EQ(back.m_anchorState, undo ? kAnchorMustMove : kAnchorNone);
        EXPECT_EQ(back.m_anchorName, undo ? u"para-name" : u"");
        EXPECT_EQ(back.m_anchorOffset, undo ? -35 : 0);
        EXPECT_EQ(back.m_targetTop, undo ? 4321 : 0);
        EXPECT_EQ(Store([&](plat::Archive& ar) { back.Save(ar, mode, 0, 0); }), bytes);
    }
}

TEST(FloatObjectRecord, LoadingRebuildsRightAndBottomFromTheSize)
{
    CQlDoc doc;
    // A record whose right and bottom disagree with its size: the size wins.
    const Bytes bytes = Hex("00 01 | 64000000 c8000000 00000000 00000000 | 2c010000 90010000 | ff feff 00");
    CFloatObject o(&doc, nullptr, kNodeShape);
    LoadFrom(bytes, [&](plat::Archive& ar) { o.Load(ar, kArchiveFile); });
    EXPECT_EQ(o.m_bounds, plat::Rect(100, 200, 400, 600));
    EXPECT_EQ(o.m_wrapMode, kWrapNone);
    EXPECT_EQ(o.m_layer, 1);
}

TEST(FloatObjectRecord, ValuesTheSystemNeverWritesAreRefusedAndLeaveTheObject)
{
    struct Case {
        const char* name;
        const char* hex;
        int mode;
    };
    const Case cases[] = {
        {"wrap mode 4", "04 02 | 00000000 00000000 01000000 01000000 | 01000000 01000000 | ff feff 00", kArchiveFile},
        {"layer 5", "03 05 | 00000000 00000000 01000000 01000000 | 01000000 01000000 | ff feff 00", kArchiveFile},
        {"left beyond range", "03 02 | 00000080 00000000 01000000 01000000 | 01000000 01000000 | ff feff 00",
         kArchiveFile},
        {"width beyond range", "03 02 | 00000000 00000000 01000000 01000000 | ffffff7f 01000000 | ff feff 00",
         kArchiveFile},
        {"anchor state 3",
         "03 02 | 00000000 00000000 01000000 01000000 | 01000000 01000000 | ff feff 00 | 00 03 ff feff 00 00000000 "
         "00000000",
         kArchiveUndo},
        {"cut in the caption", "03 02 | 00000000 00000000 01000000 01000000 | 01000000 01000000 | ff feff 05 41",
         kArchiveFile},
    };
    CQlDoc doc;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFloatObject o(&doc, nullptr, kNodeShape);
        o.m_bounds = plat::Rect(5, 6, 7, 8);
        EXPECT_THROW(LoadFrom(Hex(c.hex), [&](plat::Archive& ar) { o.Load(ar, c.mode); }), plat::ArchiveException);
        EXPECT_EQ(o.m_bounds, plat::Rect(5, 6, 7, 8));
        EXPECT_EQ(o.m_wrapMode, kWrapBoth);
        EXPECT_EQ(o.m_layer, 2);
    }
}

// ---- caption ----

TEST(FloatObjectCaption, BottomAddsHalfAgainTheCaptionHeight)
{
    CQlDoc doc;
    doc.ResetFormatState();
    auto o = NewObject(&doc, 1000, 3000, 2000, 1200);
    EXPECT_EQ(o->RecalcLayout(), 4200); // no caption: the size alone
    EXPECT_EQ(o->GetCaptionFrame(), nullptr);

    o->SetCaption(u"第一幅图的说明文字");
    const int bottom = o->RecalcLayout();
    const CCaptionText* frame = o->GetCaptionFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetWidth(), 1800); // the object's width less 200
    const int h = frame->GetContentHeight();
    EXPECT_GT(h, 0);
    EXPECT_EQ(bottom, 3000 + 1200 + h * 3 / 2);
    EXPECT_EQ(o->m_bounds, plat::Rect(1000, 3000, 3000, bottom));
    // The object's own box leaves the caption out.
    EXPECT_EQ(o->GetBounds(), plat::Rect(1000, 3000, 3000, 4200));

    // A longer caption needs more lines and pushes the bottom further down.
    o->SetCaption(u"第一幅图的说明文字，比一行长得多，要分成好几行才能放得下。");
    EXPECT_GT(o->RecalcLayout(), bottom);
    // An empty caption removes the frame again.
    o->SetCaption(u"");
    EXPECT_EQ(o->RecalcLayout(), 4200);
    EXPECT_EQ(o->GetCaptionFrame(), nullptr);
}

TEST(FloatObjectCaption, ObjectNarrowerThanTheMarginsStillLaysItsCaptionOut)
{
    CQlDoc doc;
    doc.ResetFormatState();
    auto o = NewObject(&doc, 0, 0, 150, 150);
    o->SetCaption(u"窄");
    o->RecalcLayout();
    ASSERT_NE(o->GetCaptionFrame(), nullptr);
    EXPECT_GT(o->GetCaptionFrame()->GetContentHeight(), 0);
    EXPECT_GT(o->m_bounds.bottom, 150);
}

TEST(FloatObjectCaption, CaptionIsPaintedUnderTheObjectIndentedByHalfTheMargin)
{
    CQlDoc doc;
    doc.ResetFormatState();
    // 1500 x 750 twips = 100 x 50 pixels at (10, 10) pixels.
    auto o = NewObject(&doc, 150, 150, 1500, 750);
    o->m_color = 0xFFFFFF; // the box itself paints white: only the caption shows
    o->SetCaption(u"图图图");
    o->RecalcLayout();
    Canvas canvas(140, 120);
    CRenderContext rc(&doc, canvas.dc);
    o->Draw(canvas.dc, 1.0, 0, 0, 4, rc);
    rc.Restore(canvas.dc);
    const testsupport::Ink ink = testsupport::InkOn(*canvas.bitmap, testsupport::Whole(*canvas.bitmap));
    ASSERT_GT(ink.count, 0) << "nothing painted";
    const int minX = ink.box.left, minY = ink.box.top, maxY = ink.box.bottom - 1;
    EXPECT_GE(minY, 60);                                  // below the object's box (10 + 50)
    EXPECT_LE(maxY, TwipsToPixels(canvas.dc, 1.0, o->m_bounds.bottom));
    EXPECT_GE(minX, TwipsToPixels(canvas.dc, 1.0, 150 + 100)); // half the margin in
}

TEST(FloatObjectCaption, CaptionWithTheFocusDrawsItsCaretAndSelectionOverItsText)
{
    CQlDoc doc;
    doc.ResetFormatState();
    auto o = NewObject(&doc, 150, 150, 1500, 750);
    o->m_color = 0xFFFFFF;
    o->SetCaption(u"图图图");
    o->RecalcLayout();
    CCaptionText* caption = o->GetCaptionFrame();
    ASSERT_NE(caption, nullptr);
    Canvas text(140, 120);
    CRenderContext rc(&doc, text.dc);
    o->Draw(text.dc, 1.0, 0, 0, 4, rc);
    rc.Restore(text.dc);
    const testsupport::Ink glyphs = testsupport::InkOn(*text.bitmap, testsupport::Whole(*text.bitmap));
    ASSERT_GT(glyphs.count, 0);
    const plat::Point origin = o->GetCaptionOrigin();
    EXPECT_EQ(origin, plat::Point(150 + 100, 150 + 750));

    // The caret before the second character: a 2-pixel bar at that character's left
    // edge, measured from the caption's place under the object, on the glyphs' rows.
    caption->SetCaret(CTextPos(1, caption->GetName()));
    Canvas bar(140, 120);
    caption->DrawCaret(bar.dc, 1.0, 0, 0);
    const CTextItem* second = caption->GetItem(1);
    const int left = TwipsToPixels(bar.dc, 1.0, origin.x) + TwipsToPixels(bar.dc, 1.0, second->GetLeft());
    ASSERT_TRUE(caption->IsCaretShown());
    EXPECT_EQ(caption->GetCaretRect().left, left);
    EXPECT_EQ(caption->GetCaretRect().Width(), 2);
    const testsupport::Ink drawn = testsupport::InkOn(*bar.bitmap, testsupport::Whole(*bar.bitmap));
    EXPECT_EQ(drawn.box, caption->GetCaretRect());
    EXPECT_GT(left, glyphs.box.left);
    EXPECT_LT(left, glyphs.box.right);
    EXPECT_LE(drawn.box.top, glyphs.box.top);
    EXPECT_GE(drawn.box.bottom, glyphs.box.bottom);

    // The whole caption selected: one band that covers every glyph pixel, no caret.
    caption->SetSelection(CTextPos(3, caption->GetName()), CTextPos(0, caption->GetName()));
    Canvas band(140, 120);
    caption->DrawCaret(band.dc, 1.0, 0, 0);
    EXPECT_FALSE(caption->IsCaretShown());
    const testsupport::Ink inverted = testsupport::InkOn(*band.bitmap, testsupport::Whole(*band.bitmap));
    EXPECT_EQ(inverted.count, inverted.box.Width() * inverted.box.Height()) << "one solid band";
    EXPECT_EQ(inverted.box.Union(glyphs.box), inverted.box);
}

TEST(FloatObjectCaption, CaptionFileIsUtf16WithAByteOrderMark)
{
    CQlDoc doc;
    doc.ResetFormatState();
    CFloatObject o(&doc, nullptr, kNodeShape);
    const std::string path = TempPath("caption-test.txt");
    std::remove(path.c_str());
    EXPECT_TRUE(o.SaveCaptionText(plat::Utf8ToUtf16(path)));
    EXPECT_FALSE(std::ifstream(path).good()) << "an empty caption writes no file";
    o.SetCaption(u"图A");
    EXPECT_TRUE(o.SaveCaptionText(plat::Utf8ToUtf16(path)));
    EXPECT_EQ(ReadFileBytes(path), Hex("fffe fe56 4100"));
    std::remove(path.c_str());
    EXPECT_FALSE(o.SaveCaptionText(plat::Utf8ToUtf16(TempPath("no-such-folder/x.txt"))));
}

// ---- moves and stacking ----

class FloatObjectInBody : public testing::Test {
protected:
    void SetUp() override
    {
        doc.ResetFormatState();
        doc.SetRepaintRequest([this] { ++repaints; });
        body = std::make_unique<CDocBody>(&doc);
    }
    CTestObject* Add(int left, int top, int width, int height, std::uint8_t layer = 2, int tag = 0)
    {
        return static_cast<CTestObject*>(body->AddObject(NewObject(&doc, left, top, width, height, kWrapBoth, layer, tag)));
    }
    std::vector<int> Order() const
    {
        std::vector<int> tags;
        for (int i = 0; i < body->GetObjectCount(); ++i)
            tags.push_back(static_cast<CTestObject*>(body->GetObject(i))->m_tag);
        return tags;
    }

    CQlDoc doc;
    std::unique_ptr<CDocBody> body;
    int repaints = 0;
};

TEST_F(FloatObjectInBody, ArrowKeysMoveOneScreenPixelAtAnyZoom)
{
    CTestObject* o = Add(4000, 5000, 2000, 2000);
    struct Step {
        double zoom;
        void (CFloatObject::*key)(bool);
        int dx, dy;
    };
    const Step steps[] = {
        {1.0, &CFloatObject::OnKeyRight, 15, 0}, {1.0, &CFloatObject::OnKeyDown, 0, 15},
        {0.25, &CFloatObject::OnKeyLeft, -60, 0}, {0.25, &CFloatObject::OnKeyUp, 0, -60},
        {2.0, &CFloatObject::OnKeyRight, 7, 0},  // 7.5 twips, truncated
        {0.5, &CFloatObject::OnKeyDown, 0, 30},
    };
    for (const Step& s : steps) {
        doc.GetFormatState()->m_zoom = s.zoom;
        const plat::Rect before = o->m_bounds;
        doc.SetModified(false);
        const int paints = repaints;
        (o->*s.key)(false);
        plat::Rect moved = before;
        moved.Offset(s.dx, s.dy);
        EXPECT_EQ(o->m_bounds, moved) << "zoom " << s.zoom;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(repaints, paints + 1);
    }
}

TEST_F(FloatObjectInBody, MoveRebuildsTheFreeRegions)
{
    CTestObject* o = Add(4000, 5000, 2000, 2000);
    body->BuildPageRegions();
    const CPageRegion* first = body->GetFirstRegion();
    const CPageRegion* left = body->GetNextRegion(); // top, then the left fragment
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->m_rect.right, 4000 - 105);
    (void)first;
    o->MoveBy(false, 10, 0); // 150 twips at zoom 1
    body->GetFirstRegion();
    left = body->GetNextRegion();
    EXPECT_EQ(left->m_rect.right, 4150 - 105);
}

TEST_F(FloatObjectInBody, StackingMovesTheObjectToTheTopOfItsNewLayer)
{
    CTestObject* a = Add(0, 0, 100, 100, 2, 1);
    Add(0, 0, 100, 100, 2, 2);
    CTestObject* c = Add(0, 0, 100, 100, 0, 3);

    a->SendBackward();
    EXPECT_EQ(a->m_layer, 1);
    EXPECT_EQ(Order(), (std::vector<int>{2, 3, 1}));
    // Already at the back: the layer stays 0 but the object still goes to the top of it.
    c->SendBackward();
    EXPECT_EQ(c->m_layer, 0);
    EXPECT_EQ(Order(), (std::vector<int>{2, 1, 3}));
    a->BringForward();
    EXPECT_EQ(a->m_layer, 2);
    EXPECT_EQ(Order(), (std::vector<int>{2, 3, 1}));
    c->BringToFront();
    EXPECT_EQ(c->m_layer, 4);
    c->BringForward(); // at the front already
    EXPECT_EQ(c->m_layer, 4);
    a->SendToBack();
    EXPECT_EQ(a->m_layer, 0);
    EXPECT_EQ(Order(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(body->GetObjectCount(), 3);
    EXPECT_EQ(a->GetParent(), &body->GetObjectList());
}

TEST_F(FloatObjectInBody, StackingKeysMarkTheDocumentAndRepaint)
{
    CTestObject* o = Add(0, 0, 100, 100, 2, 1);
    struct Key {
        void (CFloatObject::*key)(bool);
        int layer;
    };
    const Key keys[] = {{&CFloatObject::OnKeyHome, 3},    {&CFloatObject::OnKeyCtrlHome, 4},
                        {&CFloatObject::OnKeyEnd, 3},     {&CFloatObject::OnKeyCtrlEnd, 0}};
    for (const Key& k : keys) {
        doc.SetModified(false);
        const int paints = repaints;
        (o->*k.key)(false);
        EXPECT_EQ(o->m_layer, k.layer);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(repaints, paints + 1);
    }
    // Tab does nothing to an object of the base class.
    doc.SetModified(false);
    o->OnKeyTab(false);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(FloatObjectInBody, DeletingTheDraggedObjectClearsTheFormatState)
{
    CTestObject* o = Add(0, 0, 100, 100);
    doc.GetFormatState()->m_trackedObject = o;
    body->DeleteAllObjects();
    EXPECT_EQ(doc.GetFormatState()->m_trackedObject, nullptr);
}

// ---- tracker and export ----

TEST(FloatObjectTracker, RectangleWithHatchedBandAndHandlesOutsideThePointsBox)
{
    CQlDoc doc;
    CFloatObject o(&doc, nullptr, kNodeShape);
    CPointList points;
    points.AddPoint(60, 20);
    points.AddPoint(20, 50);
    points.AddPoint(40, 30);
    EXPECT_EQ(CFloatObject::GetPointBounds(points), plat::Rect(20, 20, 60, 50));
    Canvas canvas(100, 100);
    o.DrawTracker(canvas.dc, 1.0, points);
    const plat::ColorRef black = 0, white = 0xFFFFFF;
    // The solid line on every edge.
    for (int x = 20; x <= 60; x += 5) {
        EXPECT_EQ(canvas.At(x, 20), black) << x;
        EXPECT_EQ(canvas.At(x, 50), black) << x;
    }
    for (int y = 20; y <= 50; y += 5) {
        EXPECT_EQ(canvas.At(20, y), black) << y;
        EXPECT_EQ(canvas.At(60, y), black) << y;
    }
    // Handles just outside the corners and the middles of the edges.
    EXPECT_EQ(canvas.At(17, 17), black);
    EXPECT_EQ(canvas.At(63, 53), black);
    EXPECT_EQ(canvas.At(38, 17), black);
    EXPECT_EQ(canvas.At(17, 35), black);
    // The band is hatched: some of it drawn, some left.
    int drawn = 0, left = 0;
    for (int x = 30; x < 36; ++x)
        for (int y = 16; y < 20; ++y) (canvas.At(x, y) == black ? drawn : left)++;
    EXPECT_GT(drawn, 0);
    EXPECT_GT(left, 0);
    // Inside and well outside stay untouched.
    EXPECT_EQ(canvas.At(40, 35), white);
    EXPECT_EQ(canvas.At(5, 5), white);
    EXPECT_EQ(canvas.At(80, 80), white);
}

TEST(FloatObjectExport, PictureRowsAreRoundedUpTo32PixelsOnWhite)
{
    CQlDoc doc;
    doc.ResetFormatState();
    // 1500 x 750 twips: 100 x 50 pixels on the 96-dpi desktop.
    auto o = NewObject(&doc, 3000, 4500, 1500, 750);
    o->m_color = 0x0000FF; // red
    const std::string path = TempPath("export-test.jpg");
    std::remove(path.c_str());
    ASSERT_TRUE(o->ExportFile(plat::Utf8ToUtf16(path)));
    CRasterImage image(plat::Utf8ToUtf16(path), kFormatJpeg);
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(image.Width(), 128);
    EXPECT_EQ(std::abs(image.Height()), 50);
    // The object fills the first 100 columns; the rest of each row is the white ground.
    const ColorQuad inside = image.PixelColorAt(50, 25);
    const ColorQuad outside = image.PixelColorAt(116, 25);
    EXPECT_GT(inside.red, 200);
    EXPECT_LT(inside.green, 60);
    EXPECT_LT(inside.blue, 60);
    EXPECT_GT(outside.red, 240);
    EXPECT_GT(outside.green, 240);
    EXPECT_GT(outside.blue, 240);
    std::remove(path.c_str());
}

TEST(FloatObjectExport, EmptyBoxWritesNothing)
{
    CQlDoc doc;
    auto o = NewObject(&doc, 3000, 4500, 0, 750);
    const std::string path = TempPath("export-empty.jpg");
    std::remove(path.c_str());
    EXPECT_FALSE(o->ExportFile(plat::Utf8ToUtf16(path)));
    EXPECT_FALSE(std::ifstream(path).good());
}

// ---- factory ----

TEST(DocObjectFactory, NoTypeMakesAnObjectUntilItsKindRegisters)
{
    CQlDoc doc;
    for (int t = 0; t <= 0xFFFF; ++t)
        ASSERT_EQ(CreateDocObject(&doc, static_cast<std::uint16_t>(t), nullptr), nullptr) << t;
    {
        ScopedTestKind kind;
        CPageObjectList list(&doc, nullptr);
        std::unique_ptr<CFloatObject> o = CreateDocObject(&doc, kTestType, &list);
        ASSERT_NE(o, nullptr);
        EXPECT_NE(dynamic_cast<CTestObject*>(o.get()), nullptr);
        EXPECT_EQ(o->GetParent(), &list);
        EXPECT_EQ(o->GetDoc(), &doc);
        EXPECT_EQ(CreateDocObject(&doc, kNodeImage, &list), nullptr);
        EXPECT_EQ(CreateDocObject(&doc, kNodeTableCell, &list), nullptr);
    }
    EXPECT_EQ(CreateDocObject(&doc, kTestType, nullptr), nullptr) << "the scope put the empty slot back";
}

TEST(DocObjectFactory, OnlyTheTableTypesCanBeRegistered)
{
    for (std::uint16_t t : {0, 2, 20, 24, 25, 30, 0xFF12})
        EXPECT_THROW(RegisterDocObject(t, &MakeTestObject), std::invalid_argument) << t;
    for (std::uint16_t t : {17, 18, 19, 21, 22, 23, 26, 27, 28, 29}) {
        EXPECT_EQ(RegisterDocObject(t, &MakeTestObject), nullptr) << t;
        EXPECT_EQ(RegisterDocObject(t, nullptr), &MakeTestObject) << t;
    }
}

// Drawn shapes: the per-code properties, the record in the four archive modes and its
// refusals, hit testing (vertex, handle, body, pixels) and the drags with their undo.
#include <gtest/gtest.h>

#include <cmath>

#include "document/format_state.h"
#include "document/plane_geometry.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"
#include "tests/objects/shape_test_support.h"

namespace {

using shapetest::AddShape;
using shapetest::ShapeSpec;

TEST(ShapeCodes, PropertiesByCode)
{
    struct Row {
        std::uint16_t code;
        int createMode;
        bool fillable, lineStyle, derived;
        int startEnd, endEnd, resizeMode;
        ShapeFamily family;
    } rows[] = {
        {0x1101, 2, false, true, false, 1, 1, 3, ShapeFamily::kLines},
        {0x1102, 0, false, true, false, 1, 1, 3, ShapeFamily::kLines},
        {0x1103, 0, true, true, false, 0, 0, 3, ShapeFamily::kLines},
        {0x1104, 2, false, false, false, 0, 0, 3, ShapeFamily::kLines},
        {0x1105, 2, false, true, true, 1, 1, 3, ShapeFamily::kLines},
        {0x1106, 0, false, true, true, 0, 0, 3, ShapeFamily::kLines},
        {0x1109, 0, true, true, true, 0, 0, 3, ShapeFamily::kLines},
        {0x1201, 2, true, true, false, 0, 0, 3, ShapeFamily::kBasic},
        {0x1207, 2, false, true, true, 0, 0, 3, ShapeFamily::kBasic},
        {0x1211, 2, true, false, true, 0, 0, 3, ShapeFamily::kBasic},
        {0x1213, 2, false, true, false, 0, 0, 2, ShapeFamily::kBasic},
        {0x1214, 2, false, true, false, 0, 0, 1, ShapeFamily::kBasic},
        {0x121C, 2, true, true, false, 0, 0, 3, ShapeFamily::kBasic},
        {0x1301, 2, false, true, false, 0, 0, 3, ShapeFamily::kBlockArrows},
        {0x1305, 2, true, true, true, 0, 0, 3, ShapeFamily::kBlockArrows},
        {0x131F, 2, false, true, false, 1, 4, 3, ShapeFamily::kBlockArrows},
        {0x1401, 2, true, true, false, 0, 0, 4, ShapeFamily::kPolygons},
        {0x140B, 2, true, true, true, 0, 0, 3, ShapeFamily::kPolygons},
        {0x1516, 2, true, true, false, 0, 0, 3, ShapeFamily::kFlowChart},
        {0x1601, 2, false, true, false, 0, 0, 3, ShapeFamily::kNone},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        CShapeObject s(nullptr, nullptr, r.code);
        EXPECT_EQ(s.GetNodeType(), kNodeShape);
        EXPECT_EQ(s.m_layer, 3);
        EXPECT_EQ(s.GetCreateMode(), r.createMode);
        EXPECT_EQ(s.IsFillable(), r.fillable);
        EXPECT_EQ(s.HasLineStyle(), r.lineStyle);
        EXPECT_EQ(s.HasDerivedPoints(), r.derived);
        EXPECT_EQ(s.m_startLineEnd, r.startEnd);
        EXPECT_EQ(s.m_endLineEnd, r.endEnd);
        EXPECT_EQ(s.m_resizeMode, 3) << "until creation completes";
        s.SetResizeModeByCode();
        EXPECT_EQ(s.m_resizeMode, r.resizeMode);
        EXPECT_EQ(CShapeObject::FamilyOf(r.code), r.family);
    }
}

TEST(ShapeCodes, TakeSourceKeepsTheCommandsLineEnds)
{
    struct Row {
        std::uint16_t code;
        int start, end;
        int wantStart, wantEnd;
    } rows[] = {
        {0x1101, -1, -1, 1, 1}, // plain line
        {0x1101, 1, 4, 1, 4},   // arrow
        {0x1101, 4, 4, 4, 4},   // double arrow
        {0x1103, -1, -1, 0, 0},
        {0x131F, -1, -1, 1, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        CShapeObject s(nullptr, nullptr, 0);
        CNewObjectSource source;
        source.shapeCode = r.code;
        source.startLineEnd = static_cast<std::int16_t>(r.start);
        source.endLineEnd = static_cast<std::int16_t>(r.end);
        ASSERT_TRUE(s.TakeSource(source));
        EXPECT_EQ(s.GetShapeCode(), r.code);
        EXPECT_EQ(s.m_startLineEnd, r.wantStart);
        EXPECT_EQ(s.m_endLineEnd, r.wantEnd);
    }
}

class ShapeDoc : public testing::Test {
protected:
    void SetUp() override { RegisterDrawingKinds(); }
    void TearDown() override
    {
        plat::ResetKeyState();
        UnregisterDocObjects();
    }
    CQlDoc& doc() { return shown.doc; }
    CDocBody& body() { return shown.Body(); }
    doctest::ShownDoc shown;
};

// The insert commands now leave a pending tracker whose prototype is a shape.
TEST_F(ShapeDoc, InsertCommandsLeaveATrackerWithTheShape)
{
    ASSERT_NE(doc().BeginInsertLine(32803), nullptr); // arrow line
    const auto* tracker = dynamic_cast<const CCreateTracker*>(doc().GetFormatState()->GetCreationTracker());
    ASSERT_NE(tracker, nullptr);
    const auto* shape = dynamic_cast<const CShapeObject*>(tracker->GetPrototype());
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->GetShapeCode(), 0x1101);
    EXPECT_EQ(shape->m_startLineEnd, 1);
    EXPECT_EQ(shape->m_endLineEnd, 4);
    ASSERT_NE(doc().BeginInsertShape(0x1209), nullptr);
    EXPECT_TRUE(doc().GetFormatState()->IsCreatingType(kNodeShape));
}

std::unique_ptr<CFloatObject> LoadRecord(CQlDoc& doc, const std::vector<std::uint8_t>& bytes, int mode,
                                         bool* consumedAll = nullptr)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    auto o = CreateDocObject(&doc, kNodeShape, nullptr);
    o->Load(ar, mode);
    if (consumedAll) {
        *consumedAll = false;
        try {
            ar.ReadU8();
        } catch (const plat::ArchiveException&) {
            *consumedAll = true;
        }
    }
    return o;
}

TEST_F(ShapeDoc, RecordRoundTripsInEveryMode)
{
    auto shape = shapetest::MakeShape(doc(), {0x1102, {{3000, 3000}, {3600, 4500}, {4200, 3000}}, 9, 2, 6});
    shape->m_lineColor = 0x123456;
    shape->m_fillColor = 0x654321;
    // Hit codes are not stored.
    shape->GetPoints().GetPointRef(1)->m_code = 7;
    const std::vector<std::uint8_t> file = shapetest::RecordBytes(*shape, kArchiveFile);
    const std::vector<std::uint8_t> clip = shapetest::RecordBytes(*shape, kArchiveClipboard);
    ASSERT_EQ(file.size(), clip.size() + 16) << "the file record ends with 16 reserved bytes";
    EXPECT_TRUE(std::all_of(file.end() - 16, file.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(clip.begin(), clip.end(), file.begin()));

    struct Row {
        const char* name;
        int saveMode, loadMode;
    } rows[] = {
        {"file", kArchiveFile, kArchiveFile},
        {"undo", kArchiveUndo, kArchiveUndo},
        {"clipboard", kArchiveClipboard, kArchiveClipboard},
        {"insert reads a file record", kArchiveFile, kArchiveInsert},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::vector<std::uint8_t> bytes = shapetest::RecordBytes(*shape, r.saveMode);
        bool consumedAll = false;
        auto loaded = LoadRecord(doc(), bytes, r.loadMode, &consumedAll);
        EXPECT_TRUE(consumedAll);
        auto* s = dynamic_cast<CShapeObject*>(loaded.get());
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(shapetest::RecordBytes(*s, r.saveMode), bytes);
        EXPECT_EQ(s->m_lineStyle, 9);
        EXPECT_EQ(s->m_endLineEnd, 6);
        EXPECT_EQ(s->m_lineColor, 0x123456);
        ASSERT_EQ(s->GetPoints().GetCount(), 3);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s->GetPoints().GetNodeAt(i).m_code, 0);
    }
}

TEST_F(ShapeDoc, DamagedRecordsAreRefused)
{
    auto shape = shapetest::MakeShape(doc(), {0x1101, {{3000, 3000}, {4500, 3000}}});
    const std::vector<std::uint8_t> good = shapetest::RecordBytes(*shape, kArchiveFile);
    // The shape's own fields start after the base record: 2+1+1+4+4+1+1+1+4 bytes, then
    // the points (2 x 8) and the 16 reserved bytes.
    const std::size_t at = good.size() - (19 + 16 + 16);
    auto poke32 = [](std::vector<std::uint8_t>& b, std::size_t i, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) b[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
    };
    struct Row {
        const char* name;
        std::size_t offset;
        std::uint32_t value;
        int width;
    } rows[] = {
        {"negative point count", at + 15, 0xFFFFFFFFu, 4},
        {"more than 4096 points", at + 15, 4097, 4},
        {"point count beyond the data", at + 15, 3, 4},
        {"unknown shape code", at, 0x9999, 2},
        {"start line end 7", at + 12, 7, 1},
        {"line style 14", at + 2, 14, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::uint8_t> bad = good;
        if (r.width == 4) poke32(bad, r.offset, r.value);
        else if (r.width == 2) {
            bad[r.offset] = static_cast<std::uint8_t>(r.value);
            bad[r.offset + 1] = static_cast<std::uint8_t>(r.value >> 8);
        } else {
            bad[r.offset] = static_cast<std::uint8_t>(r.value);
        }
        EXPECT_THROW(LoadRecord(doc(), bad, kArchiveFile), plat::ArchiveException);
    }
    EXPECT_NO_THROW(LoadRecord(doc(), good, kArchiveFile));
}

// A V of two strokes: its box, fitted to the painted pixels, holds the open angle between
// them, where a click misses.
TEST_F(ShapeDoc, HitTestingOrdersVertexHandleBody)
{
    CShapeObject* v = AddShape(doc(), {0x1102, {{3000, 3000}, {3600, 4500}, {4200, 3000}}});
    CShapeObject* thin = AddShape(doc(), {0x1102, {{3000, 9000}, {4800, 9000}, {4800, 9600}}, 2});
    CShapeObject* wide = AddShape(doc(), {0x1102, {{6000, 9000}, {7800, 9000}, {7800, 9600}}, 13});
    const int right = v->m_bounds.left + v->m_width, bottom = v->m_bounds.top + v->m_height;
    struct Row {
        const char* name;
        CShapeObject* shape;
        plat::Point at;
        bool withHandles;
        std::uint8_t expected;
    } rows[] = {
        {"vertex over the top-left handle", v, {3010, 3010}, true, kShapeHitVertex},
        {"bottom-right handle over the body", v, {right - 20, bottom - 20}, true, kShapeHitResize},
        {"there the body alone", v, {right - 20, bottom - 20}, false, kShapeHitBody},
        {"top-right corner is a vertex", v, {4200, 3000}, true, kShapeHitVertex},
        {"on the stroke", v, {3300, 3750}, true, kShapeHitBody},
        {"inside the open angle", v, {3600, 3400}, true, 0},
        {"outside the box", v, {5000, 3400}, true, 0},
        {"10 pixels off a thin stroke", thin, {3900, 9150}, true, 0},
        {"10 pixels off a wide stroke", wide, {6900, 9150}, true, kShapeHitBody},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CPointList handles;
        if (r.withHandles) r.shape->GetHandles(handles);
        EXPECT_EQ(r.shape->HitTest(r.at.x, r.at.y, handles), r.expected);
    }
    // The handles of a polyline: moving (top left), rotating (top right), resizing.
    CPointList handles;
    v->GetHandles(handles);
    ASSERT_EQ(handles.GetCount(), 3);
    EXPECT_EQ(handles.GetNodeAt(0).m_code, kShapeHitBody);
    EXPECT_EQ(handles.GetNodeAt(1).m_code, kShapeHitRotate);
    EXPECT_EQ(handles.GetNodeAt(2).m_code, kShapeHitResize);
    EXPECT_EQ(handles.GetNodeAt(2).m_x, right);
}

TEST_F(ShapeDoc, HandlesByCodeAndResizeMode)
{
    struct Row {
        std::uint16_t code;
        std::uint8_t resizeMode;
        int handles;
    } rows[] = {
        {0x1101, 3, 0}, {0x1102, 3, 3}, {0x1105, 4, 3}, {0x1102, 1, 0},
        {0x1202, 3, 1}, {0x1201, 3, 0}, {0x1401, 4, 0}, {0x140B, 3, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        CShapeObject s(&doc(), nullptr, r.code);
        s.m_resizeMode = r.resizeMode;
        CPointList handles;
        s.GetHandles(handles);
        EXPECT_EQ(handles.GetCount(), r.handles);
    }
}

// A new shape's box from its pixels, fitted to what it paints: a horizontal line's box
// grows from 4 twips to the pen's row, an arrowhead beyond the end lies inside, and a
// shape that paints nothing keeps the box of its points (rather than collapsing it).
TEST_F(ShapeDoc, BoxFitsThePaintedPixels)
{
    struct Row {
        const char* name;
        std::uint16_t code;
        int startEnd, endEnd;
        std::uint8_t lineStyle;
        plat::Rect want; // pixels at zoom 1.0
    } rows[] = {
        {"thin horizontal line", 0x1101, 1, 1, 2, {100, 200, 200, 201}},
        {"arrow at the end", 0x1101, 1, 4, 2, {100, 196, 202, 205}},
        {"thick line", 0x1101, 1, 1, 10, {96, 196, 204, 204}},
        {"paints nothing yet", 0x1201, -1, -1, 2, {100, 200, 200, 200}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CShapeObject s(&doc(), nullptr, r.code);
        CNewObjectSource source;
        source.shapeCode = r.code;
        source.startLineEnd = static_cast<std::int16_t>(r.startEnd);
        source.endLineEnd = static_cast<std::int16_t>(r.endEnd);
        s.TakeSource(source);
        s.m_lineStyle = r.lineStyle;
        CPointList pixels;
        pixels.AddPoint(100, 200);
        pixels.AddPoint(200, 200);
        s.SetPointsFromPixels(pixels);
        const plat::Rect box(s.m_bounds.left, s.m_bounds.top, s.m_bounds.left + s.m_width, s.m_bounds.top + s.m_height);
        if (r.code == 0x1201) {
            EXPECT_EQ(box, plat::Rect(1500, 3000, 3000, 3000 + CShapeObject::kLeastExtent));
        } else {
            // Within a pixel of the painted rows and columns (last ones included).
            EXPECT_NEAR(box.left, r.want.left * 15, 15);
            EXPECT_NEAR(box.top, r.want.top * 15, 15);
            EXPECT_NEAR(box.right, r.want.right * 15, 30);
            EXPECT_NEAR(box.bottom, r.want.bottom * 15, 30);
        }
        // The points keep their places on the page.
        const std::vector<plat::Point> abs = shapetest::AbsolutePoints(s);
        EXPECT_EQ(abs[0], plat::Point(1500, 3000));
        EXPECT_EQ(abs[1], plat::Point(3000, 3000));
    }
}

// ---- drags ----

// Undo brings back the shape's record before the drag, redo the one after (which differs
// when the drag changed something).
void ExpectUndoRedo(doctest::ShownDoc& shown, const std::vector<std::uint8_t>& before,
                    const std::vector<std::uint8_t>& after, bool changed = true)
{
    if (changed) {
        EXPECT_NE(after, before);
    }
    shown.doc.EditUndo();
    ASSERT_EQ(shown.Body().GetObjectCount(), 1);
    EXPECT_EQ(shapetest::RecordBytes(*shown.Body().GetObject(0), kArchiveClipboard), before) << "undo";
    shown.doc.EditRedo();
    ASSERT_EQ(shown.Body().GetObjectCount(), 1);
    EXPECT_EQ(shapetest::RecordBytes(*shown.Body().GetObject(0), kArchiveClipboard), after) << "redo";
}

class ShapeDrag : public ShapeDoc {
protected:
    CShapeObject* Shape() { return dynamic_cast<CShapeObject*>(body().GetObject(0)); }
    // Press, move and release as the canvas reports them (desk twips at zoom 1.0 are
    // pixels x 15).
    void Press(plat::Point t, bool shift = false)
    {
        doc().OnLButtonDown(Px(t), shift ? CQlDoc::kMouseShift : 0);
        doc().GetFormatState()->m_dragActive = 1;
    }
    void MoveTo(plat::Point t) { doc().OnMouseMove(Px(t)); }
    void Release(plat::Point t)
    {
        doc().OnLButtonUp(Px(t));
        doc().GetFormatState()->m_dragActive = 0;
    }
    static plat::Point Px(plat::Point t) { return plat::Point(t.x / 15, t.y / 15); }
    static void HoldShift()
    {
        plat::Message m;
        m.message = plat::kWmKeyDown;
        m.wParam = plat::kVkShift;
        plat::NoteKeyMessage(m);
    }
};

TEST_F(ShapeDrag, ResizeNeverBelowTheLeastSizeAndKeepsProportionsInMode4)
{
    struct Row {
        const char* name;
        std::uint8_t resizeMode;
        double toW, toH; // the drag target as multiples of the box's size
        bool least;
    } rows[] = {
        {"free, far up and left", 3, -1.0, -1.0, true},
        {"free, wider", 3, 2.0, 1.5, false},
        {"proportional, the smaller scale wins", 4, 2.0, 3.0, false},
        {"proportional, the other way", 4, 3.0, 1.5, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doctest::ShownDoc fresh;
        CQlDoc& d = fresh.doc;
        CShapeObject* s = AddShape(d, {0x1102, {{3000, 3000}, {3600, 4500}, {4200, 3000}}});
        s->m_resizeMode = r.resizeMode;
        const int left = s->m_bounds.left, top = s->m_bounds.top, w = s->m_width, h = s->m_height;
        const plat::Point handle(left + w, top + h);
        const std::vector<std::uint8_t> before = shapetest::RecordBytes(*s, kArchiveClipboard);
        d.OnLButtonDown(Px(handle), 0);
        ASSERT_EQ(d.GetFormatState()->m_tableZone, kShapeHitResize);
        d.GetFormatState()->m_dragActive = 1;
        const plat::Point to(left + static_cast<int>(r.toW * w), top + static_cast<int>(r.toH * h));
        d.OnMouseMove(Px(to));
        CShapeObject* now = dynamic_cast<CShapeObject*>(fresh.Body().GetObject(0));
        ASSERT_NE(now, nullptr);
        if (r.least) {
            EXPECT_EQ(now->m_width, CShapeObject::kLeastResize);
            EXPECT_EQ(now->m_height, CShapeObject::kLeastResize);
        } else if (r.resizeMode == 4) {
            const double scale = std::min(r.toW, r.toH);
            EXPECT_NEAR(now->m_width, scale * w, 16);
            EXPECT_NEAR(now->m_height, scale * h, 16);
        } else {
            EXPECT_NEAR(now->m_width, r.toW * w, 16);
            EXPECT_NEAR(now->m_height, r.toH * h, 16);
        }
        d.OnLButtonUp(Px(to));
        d.GetFormatState()->m_dragActive = 0;
        now = dynamic_cast<CShapeObject*>(fresh.Body().GetObject(0));
        EXPECT_GE(now->m_width, CShapeObject::kLeastResize - 30) << "fitted to the pixels";
        ExpectUndoRedo(fresh, before, shapetest::RecordBytes(*now, kArchiveClipboard));
    }
}

// With Shift a straight line turns about its fixed end in steps of 15 degrees.
TEST_F(ShapeDrag, ShiftTurnsAStraightLineInFifteenDegreeSteps)
{
    struct Row {
        double dragAngle; // degrees, counter-clockwise on screen
        int wantAngle;
    } rows[] = {{14.0, 15}, {23.0, 30}, {37.0, 45}, {97.0, 90}, {200.0, 195}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dragAngle);
        doctest::ShownDoc fresh;
        CQlDoc& d = fresh.doc;
        CShapeObject* s = AddShape(d, {0x1101, {{6000, 6000}, {7500, 6000}}});
        const std::vector<plat::Point> p = shapetest::AbsolutePoints(*s);
        const std::vector<std::uint8_t> before = shapetest::RecordBytes(*s, kArchiveClipboard);
        d.OnLButtonDown(Px(p[1]), 0);
        ASSERT_EQ(d.GetFormatState()->m_tableZone, kShapeHitVertex);
        d.GetFormatState()->m_dragActive = 1;
        HoldShift();
        const double a = r.dragAngle * kPi / 180;
        const plat::Point to(p[0].x + static_cast<int>(1500 * std::cos(a)), p[0].y - static_cast<int>(1500 * std::sin(a)));
        d.OnMouseMove(Px(to));
        d.OnLButtonUp(Px(to));
        plat::ResetKeyState();
        CShapeObject* now = dynamic_cast<CShapeObject*>(fresh.Body().GetObject(0));
        const std::vector<plat::Point> q = shapetest::AbsolutePoints(*now);
        EXPECT_EQ(q[0], p[0]) << "the fixed end stays";
        const double got = LineAngle(q[0].x, q[0].y, q[1].x, q[1].y) * 180 / kPi;
        EXPECT_NEAR(got, r.wantAngle, 0.5);
        EXPECT_NEAR(Distance(q[0].x, q[0].y, q[1].x, q[1].y), 1500, 20);
        ExpectUndoRedo(fresh, before, shapetest::RecordBytes(*now, kArchiveClipboard));
    }
}

// With Shift the rectangle's and the ellipse's dragged vertex keeps the two points square;
// without it the vertex goes where the mouse is.
TEST_F(ShapeDrag, ShiftKeepsRectangleAndEllipseSquare)
{
    struct Row {
        std::uint16_t code;
        bool shift;
        plat::Point to;
        plat::Point want;
    } rows[] = {
        {0x1201, true, {7500, 6900}, {6900, 6900}},
        {0x1209, true, {7500, 6900}, {6900, 6900}},
        {0x1201, true, {5100, 5400}, {5400, 5400}}, // up and left of the fixed point
        {0x1201, false, {7500, 6900}, {7500, 6900}},
        {0x1101, false, {7500, 6900}, {7500, 6900}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        SCOPED_TRACE(r.shift);
        doctest::ShownDoc fresh;
        CQlDoc& d = fresh.doc;
        CShapeObject* s = AddShape(d, {r.code, {{6000, 6000}, {7200, 6600}}});
        const std::vector<std::uint8_t> before = shapetest::RecordBytes(*s, kArchiveClipboard);
        d.OnLButtonDown(Px({7200, 6600}), 0);
        ASSERT_EQ(d.GetFormatState()->m_tableZone, kShapeHitVertex);
        d.GetFormatState()->m_dragActive = 1;
        if (r.shift) HoldShift();
        d.OnMouseMove(Px(r.to));
        d.OnLButtonUp(Px(r.to));
        plat::ResetKeyState();
        CShapeObject* now = dynamic_cast<CShapeObject*>(fresh.Body().GetObject(0));
        const std::vector<plat::Point> q = shapetest::AbsolutePoints(*now);
        ASSERT_EQ(q.size(), 2u);
        EXPECT_EQ(q[0], plat::Point(6000, 6000));
        EXPECT_EQ(q[1], r.want);
        ExpectUndoRedo(fresh, before, shapetest::RecordBytes(*now, kArchiveClipboard));
    }
}

// The rotate handle turns every point about the saved top-left corner by the cursor's
// direction from it: straight below the corner is a quarter turn clockwise on screen.
TEST_F(ShapeDrag, RotateHandleTurnsEveryPointAboutTheCorner)
{
    struct Row {
        const char* name;
        int quarterTurns; // 0: the cursor straight right of the corner; 1: straight below
    } rows[] = {{"straight right: nothing turns", 0}, {"straight below: a quarter turn", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doctest::ShownDoc fresh;
        CQlDoc& d = fresh.doc;
        // An upside-down V: no vertex near the top-right corner, where the handle is.
        CShapeObject* s = AddShape(d, {0x1102, {{6000, 7500}, {6600, 6000}, {7200, 7500}}});
        const std::vector<plat::Point> p = shapetest::AbsolutePoints(*s);
        const std::vector<std::uint8_t> before = shapetest::RecordBytes(*s, kArchiveClipboard);
        const plat::Point corner(s->m_bounds.left, s->m_bounds.top);
        d.OnLButtonDown(Px({corner.x + s->m_width, corner.y}), 0);
        ASSERT_EQ(d.GetFormatState()->m_tableZone, kShapeHitRotate);
        d.GetFormatState()->m_dragActive = 1;
        const plat::Point to = r.quarterTurns ? plat::Point(corner.x, corner.y + 3000) : plat::Point(corner.x + 3000, corner.y);
        d.OnMouseMove(Px(to));
        d.OnLButtonUp(Px(to));
        CShapeObject* now = dynamic_cast<CShapeObject*>(fresh.Body().GetObject(0));
        const std::vector<plat::Point> q = shapetest::AbsolutePoints(*now);
        ASSERT_EQ(q.size(), 3u);
        for (int i = 1; i < 3; ++i) {
            const int dx = p[i].x - p[0].x, dy = p[i].y - p[0].y;
            const plat::Point want = r.quarterTurns ? plat::Point(-dy, dx) : plat::Point(dx, dy);
            EXPECT_NEAR(q[i].x - q[0].x, want.x, 2) << i;
            EXPECT_NEAR(q[i].y - q[0].y, want.y, 2) << i;
        }
        ExpectUndoRedo(fresh, before, shapetest::RecordBytes(*now, kArchiveClipboard), r.quarterTurns != 0);
    }
}

// A vertex dragged left of the box moves the box; the other points keep their places.
TEST_F(ShapeDrag, BoxFollowsAVertexDraggedOutside)
{
    CShapeObject* s = AddShape(doc(), {0x1102, {{6000, 6000}, {6600, 7500}, {7200, 6000}}});
    const std::vector<plat::Point> p = shapetest::AbsolutePoints(*s);
    const int left = s->m_bounds.left;
    Press(p[1]);
    MoveTo({4500, 7500});
    Release({4500, 7500});
    const std::vector<plat::Point> q = shapetest::AbsolutePoints(*Shape());
    EXPECT_EQ(q[0], p[0]);
    EXPECT_EQ(q[2], p[2]);
    EXPECT_EQ(q[1], plat::Point(4500, 7500));
    EXPECT_LT(Shape()->m_bounds.left, left - 1400);
}

} // namespace

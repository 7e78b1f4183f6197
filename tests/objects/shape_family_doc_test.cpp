// The basic shapes, block arrows, polygons, stars and flow-chart symbols in a document:
// pixel hit tests through the painters, boxes that hold every painted pixel, and every
// code through saving and opening, undo and redo, and copy and paste.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/render_context.h"
#include "platform/base/system.h"
#include "tests/objects/shape_catalogue.h"
#include "tests/objects/shape_test_support.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Point;
using shapetest::AddShape;
using testsupport::kWhite;

class ShapeFamilyDoc : public testing::Test {
protected:
    void SetUp() override { RegisterDrawingKinds(); }
    void TearDown() override { UnregisterDocObjects(); }
    CQlDoc& doc() { return shown.doc; }
    CDocBody& body() { return shown.Body(); }
    doctest::ShownDoc shown;
};

// Twips of a point given in pixels at zoom 1.0.
Point Tw(int x, int y)
{
    return {x * 15, y * 15};
}

TEST_F(ShapeFamilyDoc, PixelHitTestsFollowWhatIsPainted)
{
    // A ring about (300, 300) of radius 60 with its hole of radius 30, a filled and an
    // unfilled preparation symbol, a five-pointed star.
    CShapeObject* ring = AddShape(doc(), {0x1211, {Tw(300, 300), Tw(360, 300)}, 2, -1, -1, 2});
    CShapeObject* filled = AddShape(doc(), {0x1506, {Tw(100, 500), Tw(260, 600)}, 2, -1, -1, 2});
    CShapeObject* hollow = AddShape(doc(), {0x1506, {Tw(400, 500), Tw(560, 600)}, 2, -1, -1, 1});
    CShapeObject* star = AddShape(doc(), {0x1407, {Tw(600, 300), Tw(600, 240)}, 2, -1, -1, 2});
    struct Row {
        const char* name;
        CShapeObject* shape;
        Point at; // pixels
        std::uint8_t expected;
    } rows[] = {
        {"in the ring's hole", ring, {315, 300}, 0},
        {"in the hole, off its centre the other way", ring, {300, 282}, 0},
        {"on the ring", ring, {300, 255}, kShapeHitBody},
        {"on the ring's outer edge", ring, {360, 300}, kShapeHitVertex},
        {"outside the ring, inside its box", ring, {250, 250}, 0},
        {"inside the filled symbol", filled, {180, 550}, kShapeHitBody},
        {"inside the unfilled symbol", hollow, {480, 550}, 0},
        {"on the unfilled symbol's outline", hollow, {480, 501}, kShapeHitBody},
        {"between the star's points", star, {575, 265}, 0},
        {"in the star's middle", star, {600, 310}, kShapeHitBody},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CPointList handles;
        EXPECT_EQ(r.shape->HitTest(r.at.x * 15, r.at.y * 15, handles), r.expected);
    }
}

// The shape painted on a page that is larger than its box, the box drawn at (m, m): every
// painted pixel lies inside the box.
TEST_F(ShapeFamilyDoc, BoxHoldsThickOutlinesAndArrowHeads)
{
    struct Row {
        const char* name;
        shapetest::ShapeSpec spec;
    } rows[] = {
        {"thick rectangle", {0x1201, {Tw(100, 100), Tw(200, 160)}, 13}},
        {"thick diamond", {0x1204, {Tw(100, 100), Tw(200, 160)}, 11}},
        {"thick block arrow", {0x1305, {Tw(100, 100), Tw(200, 160)}, 12}},
        {"thick ring", {0x1211, {Tw(150, 150), Tw(200, 150)}, 13}},
        {"thick star", {0x1408, {Tw(150, 150), Tw(150, 100)}, 10}},
        {"thick cylinder", {0x120E, {Tw(100, 100), Tw(200, 160)}, 13}},
        {"elbow with its arrowhead", {0x131F, {Tw(100, 100), Tw(200, 160)}, 2}},
        {"thick elbow with its arrowhead", {0x1320, {Tw(100, 100), Tw(200, 160)}, 9}},
        {"slim double arrow", {0x1304, {Tw(100, 130), Tw(200, 130)}, 2}},
        {"terminator", {0x1505, {Tw(100, 100), Tw(200, 160)}, 13}},
    };
    constexpr int kMargin = 40;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CShapeObject* s = AddShape(doc(), r.spec);
        const int w = s->m_width / 15, h = s->m_height / 15;
        testsupport::Canvas canvas(w + 2 * kMargin, h + 2 * kMargin);
        CRenderContext rc(&doc(), canvas.dc);
        s->Draw(canvas.dc, 1.0, kMargin - s->m_bounds.left / 15, kMargin - s->m_bounds.top / 15, 0, rc);
        rc.Restore(canvas.dc);
        const testsupport::Ink ink = testsupport::InkWhere(*canvas.bitmap, plat::Rect(0, 0, w + 2 * kMargin, h + 2 * kMargin),
                                                          [](plat::ColorRef c) { return c != kWhite; });
        ASSERT_GT(ink.count, 0);
        // The box's right and bottom edges are its last painted column and row.
        EXPECT_GE(ink.box.left, kMargin - 1);
        EXPECT_GE(ink.box.top, kMargin - 1);
        EXPECT_LE(ink.box.right, kMargin + w + 2);
        EXPECT_LE(ink.box.bottom, kMargin + h + 2);
        // ... and hold them closely: the box is no more than a pixel or two larger.
        EXPECT_LE(kMargin + w - ink.box.right, 2);
        EXPECT_LE(ink.box.left - kMargin, 2);
    }
}

// What a shape keeps: its code, points, styles, colours and line ends.
struct Kept {
    std::uint16_t code;
    std::vector<Point> points;
    std::uint8_t lineStyle, fillStyle, startEnd, endEnd, resizeMode;
    std::int32_t lineColor, fillColor;
    bool operator==(const Kept&) const = default;
};

Kept KeptOf(const CShapeObject& s)
{
    std::vector<Point> points;
    for (int i = 0; i < s.GetPoints().GetCount(); ++i) points.push_back(s.GetPoints().GetPoint(i));
    return {s.GetShapeCode(), points, s.m_lineStyle, s.m_fillStyle, s.m_startLineEnd, s.m_endLineEnd,
            s.m_resizeMode, s.m_lineColor, s.m_fillColor};
}

// The catalogue's normal forms in a document, each with its own styles and colours.
std::vector<Kept> AddCatalogue(CQlDoc& doc)
{
    std::vector<Kept> out;
    int k = 0;
    for (const shapetest::CatalogueShape& c : shapetest::Catalogue()) {
        if (c.form != shapetest::Form::kNormal) continue;
        shapetest::ShapeSpec spec{c.code, {}};
        for (const Point& p : c.points) spec.points.push_back(Tw(p.x + 20, p.y + 60));
        spec.lineStyle = static_cast<std::uint8_t>(k % 13 + 1);
        spec.fillStyle = static_cast<std::uint8_t>(k % 8 + 1);
        CShapeObject* s = AddShape(doc, spec);
        s->m_lineColor = 0x100000 + k;
        s->m_fillColor = 0x2000 + k;
        s->SetResizeModeByCode();
        out.push_back(KeptOf(*s));
        ++k;
    }
    return out;
}

std::vector<Kept> KeptInBody(CDocBody& body)
{
    std::vector<Kept> out;
    for (int i = 0; i < body.GetObjectCount(); ++i) {
        const auto* s = dynamic_cast<const CShapeObject*>(body.GetObject(i));
        if (s) out.push_back(KeptOf(*s));
    }
    return out;
}

TEST_F(ShapeFamilyDoc, EveryCodeSurvivesSavingOpeningUndoAndRedo)
{
    const std::vector<Kept> added = AddCatalogue(doc());
    ASSERT_EQ(added.size(), shapetest::FamilyCodes().size());
    ASSERT_EQ(KeptInBody(body()), added);

    // Undo of one more shape brings back the snapshot holding them all; redo adds it again.
    AddShape(doc(), {0x1201, {Tw(10, 10), Tw(30, 30)}});
    doc().EditUndo();
    EXPECT_EQ(KeptInBody(body()), added) << "undo";
    doc().EditRedo();
    std::vector<Kept> redone = KeptInBody(body());
    ASSERT_EQ(redone.size(), added.size() + 1);
    redone.pop_back();
    EXPECT_EQ(redone, added) << "redo";

    const std::filesystem::path dir = plat::MakePrivateTempDir(plat::TempDirUtf8());
    const plat::String file = plat::Utf8ToUtf16((dir / "catalogue.qln").string());
    ASSERT_TRUE(doc().FileSave(file));
    doctest::ShownDoc reopened;
    ASSERT_TRUE(reopened.doc.FileOpen(file, false));
    std::vector<Kept> opened = KeptInBody(reopened.Body());
    ASSERT_EQ(opened.size(), added.size() + 1);
    opened.pop_back();
    EXPECT_EQ(opened, added) << "saved and opened";
    std::filesystem::remove_all(dir);
}

TEST_F(ShapeFamilyDoc, EveryCodeSurvivesCopyAndPaste)
{
    for (const std::uint16_t code : shapetest::FamilyCodes()) {
        SCOPED_TRACE(testing::Message() << std::hex << code);
        doctest::ShownDoc one;
        shapetest::ShapeSpec spec{code, {}, 9, -1, -1, 5};
        for (const Point& p : shapetest::PointsInBox(code, plat::Rect(100, 100, 180, 150), false))
            spec.points.push_back(Tw(p.x, p.y));
        CShapeObject* s = AddShape(one.doc, spec); // added selected
        s->m_lineColor = 0x123456;
        s->m_fillColor = 0x654321;
        const Kept original = KeptOf(*s);
        ASSERT_TRUE(one.doc.EditCopy());
        ASSERT_TRUE(one.doc.EditPaste());
        ASSERT_EQ(one.Body().GetObjectCount(), 2);
        const std::vector<Kept> both = KeptInBody(one.Body());
        ASSERT_EQ(both.size(), 2u);
        EXPECT_EQ(both[0], original);
        EXPECT_EQ(both[1], original) << "the pasted copy";
    }
}

} // namespace

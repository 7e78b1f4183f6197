// Drawing new objects with the mouse: the document's creation gesture (as the canvas feeds
// it, in document pixels) for tables, text shapes and drawn shapes, with the Shift
// constraints, point-by-point shapes ended by a double click, and the finished object
// selected, undoable and saved.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "document/format_state.h"
#include "objects/drawing_kinds.h"
#include "objects/shape_object.h"
#include "objects/table_object.h"
#include "objects/text_shape.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message.h"
#include "tests/document/doc_object_support.h"

namespace {

using Mouse = CQlDoc::CreateMouse;

class CreateDoc : public testing::Test {
protected:
    void SetUp() override { RegisterDrawingKinds(); }
    void TearDown() override
    {
        plat::ResetKeyState();
        UnregisterDocObjects();
    }
    CQlDoc& doc() { return shown.doc; }
    CDocBody& body() { return shown.Body(); }
    void HoldShift()
    {
        plat::Message m;
        m.message = plat::kWmKeyDown;
        m.wParam = plat::kVkShift;
        plat::NoteKeyMessage(m);
    }
    // Press, moves through the points, release at the last (a two-point drag).
    CFloatObject* Drag(plat::Point from, std::initializer_list<plat::Point> moves)
    {
        EXPECT_EQ(doc().CreatePress(from), Mouse::kCapture);
        plat::Point last = from;
        for (plat::Point p : moves) {
            doc().CreateMove(p);
            last = p;
        }
        EXPECT_EQ(doc().CreateRelease(last), Mouse::kRelease);
        return Last();
    }
    CFloatObject* Last() { return body().GetObjectCount() ? body().GetObject(body().GetObjectCount() - 1) : nullptr; }
    // The shape's points in document pixels (zoom 1).
    std::vector<plat::Point> PixelPoints(const CShapeObject& s)
    {
        std::vector<plat::Point> out;
        for (int i = 0; i < s.GetPoints().GetCount(); ++i) {
            const plat::Point p = s.GetPoints().GetPoint(i);
            out.push_back(doc().TwipsToPixelsPoint(p.x + s.m_bounds.left, p.y + s.m_bounds.top));
        }
        return out;
    }
    doctest::ShownDoc shown;
};

TEST_F(CreateDoc, WithoutAToolTheMouseIsTheCanvasOwn)
{
    EXPECT_EQ(doc().CreatePress({10, 10}), Mouse::kNone);
    EXPECT_EQ(doc().CreateRelease({10, 10}), Mouse::kNone);
}

TEST_F(CreateDoc, TableCountsFromTheDraggedSize)
{
    struct Row {
        const char* name;
        double zoom;
        plat::Point to; // the drag from (100, 100), pixels
        int rows, columns;
    } rows[] = {
        // At 200 % a pixel is 7.5 twips: the least drag of 100 pixels is 750 twips, under
        // 800 high and 1800 wide, and both counts below 2 make 3 x 3.
        {"small at 200 %", 2.0, {150, 130}, 3, 3},
        {"a click at 200 %", 2.0, {100, 100}, 3, 3},
        // 900 twips wide and 1200 high.
        {"one column", 2.0, {220, 260}, 3, 1},
        // At 100 % the least drag is 1500 twips: 3 rows of 400, 1 column of 900.
        {"a click at 100 %", 1.0, {100, 100}, 3, 1},
        {"wide", 1.0, {100 + 240, 100 + 80}, 3, 4},
        // A whole page at 25 %: far more than the commands allow.
        {"a page at a quarter", 0.25, {100 + 800, 100 + 1100}, 59, 19},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doc().GetFormatState()->m_zoom = r.zoom;
        ASSERT_NE(doc().BeginInsertTable(), nullptr);
        auto* table = dynamic_cast<CTableObject*>(Drag({100, 100}, {r.to}));
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->GetGrid(), nullptr);
        EXPECT_EQ(table->GetGrid()->GetRows(), r.rows);
        EXPECT_EQ(table->GetGrid()->GetColumns(), r.columns);
        EXPECT_EQ(table->m_bounds.left, doc().PixelsToTwips(std::min(100, r.to.x)));
        EXPECT_TRUE(table->IsSelected());
        EXPECT_EQ(doc().GetFormatState()->GetCreationTracker(), nullptr);
    }
}

TEST_F(CreateDoc, ARectangleClickIsTenPixelsUpAndLeft)
{
    ASSERT_NE(doc().BeginInsertShape(0x1201), nullptr);
    auto* s = dynamic_cast<CShapeObject*>(Drag({300, 400}, {}));
    ASSERT_NE(s, nullptr);
    const auto points = PixelPoints(*s);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], plat::Point(300, 400));
    EXPECT_EQ(points[1], plat::Point(290, 390));
}

TEST_F(CreateDoc, ShiftTurnsALineInFifteenDegreeStepsAndSquaresRectangles)
{
    HoldShift();
    ASSERT_NE(doc().BeginInsertShape(0x1101), nullptr);
    // About 10 degrees above the horizontal: it goes to 15.
    auto* line = dynamic_cast<CShapeObject*>(Drag({100, 300}, {{150, 290}, {200, 283}}));
    ASSERT_NE(line, nullptr);
    auto p = PixelPoints(*line);
    ASSERT_EQ(p.size(), 2u);
    const double angle = std::atan2(-(p[1].y - p[0].y), p[1].x - p[0].x) * 180 / 3.14159265;
    EXPECT_NEAR(angle, 15.0, 1.0);
    for (std::uint16_t code : {0x1201, 0x1209}) {
        SCOPED_TRACE(code);
        ASSERT_NE(doc().BeginInsertShape(code), nullptr);
        auto* s = dynamic_cast<CShapeObject*>(Drag({400, 400}, {{470, 330}}));
        ASSERT_NE(s, nullptr);
        p = PixelPoints(*s);
        ASSERT_EQ(p.size(), 2u);
        EXPECT_EQ(p[1], plat::Point(470, 330)) << "square toward the point";
    }
    ASSERT_NE(doc().BeginInsertShape(0x1201), nullptr);
    auto* square = dynamic_cast<CShapeObject*>(Drag({400, 400}, {{450, 300}}));
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(PixelPoints(*square)[1], plat::Point(450, 350));
}

TEST_F(CreateDoc, PolylineClicksAndTheEndingDoubleClick)
{
    ASSERT_NE(doc().BeginInsertShape(0x1102), nullptr);
    EXPECT_EQ(doc().CreatePress({100, 100}), Mouse::kCapture);
    EXPECT_EQ(doc().CreateRelease({100, 100}), Mouse::kKeep);
    doc().CreateMove({102, 101});
    EXPECT_EQ(doc().CreatePress({102, 101}), Mouse::kKeep) << "within 2 pixels: no point";
    doc().CreateMove({200, 100});
    EXPECT_EQ(doc().CreatePress({200, 100}), Mouse::kKeep);
    doc().CreateMove({200, 200});
    EXPECT_EQ(doc().CreatePress({200, 200}), Mouse::kKeep);
    EXPECT_EQ(doc().CreateRelease({200, 200}), Mouse::kKeep);
    EXPECT_EQ(doc().CreateDoubleClick({200, 200}), Mouse::kRelease);
    auto* s = dynamic_cast<CShapeObject*>(Last());
    ASSERT_NE(s, nullptr);
    const std::vector<plat::Point> want = {{100, 100}, {200, 100}, {200, 200}};
    EXPECT_EQ(PixelPoints(*s), want) << "the double click adds no point";
}

TEST_F(CreateDoc, APolylineOfOneClickIsDropped)
{
    ASSERT_NE(doc().BeginInsertShape(0x1102), nullptr);
    doc().CreatePress({100, 100});
    EXPECT_EQ(doc().CreateDoubleClick({100, 100}), Mouse::kRelease);
    EXPECT_EQ(body().GetObjectCount(), 0);
    EXPECT_EQ(doc().GetFormatState()->GetCreationTracker(), nullptr);
}

TEST_F(CreateDoc, CurvesBecomeBezierChains)
{
    ASSERT_NE(doc().BeginInsertShape(0x1106), nullptr);
    doc().CreatePress({100, 100});
    doc().CreatePress({200, 100});
    doc().CreatePress({300, 200});
    doc().CreateDoubleClick({300, 200});
    auto* s = dynamic_cast<CShapeObject*>(Last());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetShapeCode(), 0x1107);
    EXPECT_EQ(s->GetPoints().GetCount(), 7) << "two segments of three points and the end";
}

TEST_F(CreateDoc, DerivedPointsAndTheStoredCode)
{
    ASSERT_NE(doc().BeginInsertShape(0x1207), nullptr);
    auto* s = dynamic_cast<CShapeObject*>(Drag({100, 100}, {{200, 180}}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetShapeCode(), 0x121C);
    const std::vector<plat::Point> want = {{100, 100}, {200, 180}, {100, 180}};
    EXPECT_EQ(PixelPoints(*s), want);
}

TEST_F(CreateDoc, TextShapeGetsAtLeastTwentyPixelsAndTakesTheTyping)
{
    ASSERT_NE(doc().BeginInsertText(), nullptr);
    auto* s = dynamic_cast<CTextShapeObject*>(Drag({100, 100}, {{105, 108}}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_width, doc().PixelsToTwips(20));
    EXPECT_EQ(s->m_height, doc().PixelsToTwips(20));
    ASSERT_TRUE(doc().BeginInsertText());
    s = dynamic_cast<CTextShapeObject*>(Drag({100, 300}, {{300, 360}}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_width, doc().PixelsToTwips(200));
    ASSERT_NE(s->GetFrame(), nullptr);
    EXPECT_EQ(s->GetFrame()->GetWidth(), s->GetTextRect().Width());
    EXPECT_EQ(s->GetFrame()->GetRunningParaFormat().m_align, 3);
    EXPECT_TRUE(s->HasTextFocus());
    for (char16_t c : std::u16string(u"abc")) doc().InsertChar(c);
    EXPECT_EQ(s->GetFrame()->GetCount(), 4);
}

TEST_F(CreateDoc, RightPressAbandonsAndUndoRemovesTheObject)
{
    ASSERT_NE(doc().BeginInsertShape(0x1201), nullptr);
    doc().CreatePress({100, 100});
    EXPECT_EQ(doc().CreateCancel(), Mouse::kRelease);
    EXPECT_EQ(body().GetObjectCount(), 0);
    ASSERT_NE(doc().BeginInsertShape(0x1201), nullptr);
    ASSERT_NE(Drag({100, 100}, {{200, 200}}), nullptr);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "create_tracker_test.qln";
    ASSERT_EQ(doc().FileSave(plat::Utf8ToUtf16(path.string())), 1);
    doctest::ShownDoc other;
    ASSERT_EQ(other.doc.FileOpen(plat::Utf8ToUtf16(path.string()), false), 1);
    std::filesystem::remove(path);
    EXPECT_EQ(other.Body().GetObjectCount(), 1) << "saved with the document";
    doc().EditUndo();
    EXPECT_EQ(body().GetObjectCount(), 0);
    doc().EditRedo();
    EXPECT_EQ(body().GetObjectCount(), 1);
}

} // namespace

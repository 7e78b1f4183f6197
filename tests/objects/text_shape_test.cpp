// Text shapes: the text rectangle, placement and adjust points of the border kinds, the
// handles and the size drag, the record in every archive mode, editing the inner text in
// place (typing, statistics, replace-all, save and open) and pixel probes of the borders.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/find_state.h"
#include "document/format_state.h"
#include "document/page_object_list.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "objects/drawing_kinds.h"
#include "objects/point_list.h"
#include "objects/text_shape.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/document/doc_object_support.h"
#include "tests/support/pixel_probe.h"

namespace {

class TextShapeDoc : public testing::Test {
protected:
    void SetUp() override { RegisterDrawingKinds(); }
    void TearDown() override { UnregisterDocObjects(); }
    CQlDoc& doc() { return shown.doc; }
    CDocBody& body() { return shown.Body(); }

    // A shape at (left, top) of the size with the kind and a laid-out frame of its text
    // rectangle, centred as the creation makes it.
    std::unique_ptr<CTextShapeObject> Make(int left, int top, int w, int h, std::uint8_t kind = 2)
    {
        auto s = std::make_unique<CTextShapeObject>(&doc(), nullptr);
        s->m_bounds = plat::Rect(left, top, left + w, top + h);
        s->SetSize(w, h);
        s->m_borderKind = kind;
        const plat::Rect r = s->GetTextRect();
        s->CreateFrame(r.Width(), r.Height(), 3);
        s->AlignTextFrame();
        s->ResetAdjustPoints();
        return s;
    }
    CTextShapeObject* Add(int left, int top, int w, int h, std::uint8_t kind = 2)
    {
        return static_cast<CTextShapeObject*>(doc().AddNewObject(Make(left, top, w, h, kind)));
    }
    doctest::ShownDoc shown;
};

TEST_F(TextShapeDoc, DefaultsAndFactory)
{
    auto o = CreateDocObject(&doc(), kNodeTextShape, nullptr);
    auto* s = dynamic_cast<CTextShapeObject*>(o.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_borderKind, 2);
    EXPECT_EQ(static_cast<std::uint32_t>(s->m_lineColor), 0x80000001u);
    EXPECT_EQ(s->m_fillPattern, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(s->m_fillColor), 0x80000002u);
    EXPECT_EQ(s->m_verticalAlign, 32);
    EXPECT_EQ(s->GetFrame(), nullptr);
    EXPECT_TRUE(s->IsTextShape());
    EXPECT_TRUE(s->IsTextBearing());
    EXPECT_EQ(s->GetCreateMode(), 2);
    EXPECT_NE(doc().BeginInsertText(), nullptr) << "the insert command makes its prototype once registered";
    EXPECT_TRUE(doc().GetFormatState()->IsCreatingType(kNodeTextShape));
}

TEST_F(TextShapeDoc, TextRectangleByKind)
{
    struct Row {
        std::uint8_t kind;
        int w, h;
        plat::Rect text;
    } rows[] = {
        {2, 3000, 1000, {40, 0, 2960, 1000}},   {1, 3000, 1000, {40, 0, 2960, 1000}},
        {21, 3000, 1000, {40, 0, 2960, 1000}},  {10, 2000, 1000, {147, 147, 853, 853}},
        {11, 1000, 2000, {147, 147, 853, 853}}, {12, 2000, 1000, {293, 147, 1707, 853}},
        {16, 2000, 1000, {500, 250, 1500, 750}}, {17, 3000, 1000, {160, 0, 2840, 1000}},
        {22, 3000, 1000, {0, 0, 3000, 1000}},   {23, 3000, 1000, {0, 0, 3000, 1000}},
        {0, 3000, 1000, {0, 0, 3000, 1000}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        CTextShapeObject s(&doc(), nullptr);
        s.SetSize(r.w, r.h);
        s.m_borderKind = r.kind;
        EXPECT_EQ(s.GetTextRect(), r.text);
    }
}

TEST_F(TextShapeDoc, VerticalPlacementOfFourHundredTwipsOfText)
{
    // A frame whose laid-out text is 400 twips high: one line of a font of that height
    // is not guaranteed, so the placement is checked against the frame's own height.
    auto s = Make(1000, 1000, 3000, 1000);
    const int h = s->GetFrame()->GetContentHeight();
    ASSERT_GT(h, 0);
    struct Row {
        std::uint8_t align;
        plat::Point origin;
    } rows[] = {{16, {40, 0}}, {32, {40, (1000 - h) / 2}}, {64, {40, 1000 - h}}};
    for (const Row& r : rows) {
        s->m_verticalAlign = r.align;
        s->AlignTextFrame();
        EXPECT_EQ(s->m_textOrigin, r.origin) << int(r.align);
    }
    s->m_verticalAlign = 7;
    s->m_textOrigin = plat::Point(5, 6);
    s->AlignTextFrame();
    EXPECT_EQ(s->m_textOrigin, plat::Point(5, 6)) << "an unknown alignment leaves the origin";
}

TEST_F(TextShapeDoc, DefaultAdjustPointsByKind)
{
    struct Row {
        std::uint8_t kind;
        plat::Point a1, a2;
    } rows[] = {
        {2, {0, 0}, {7, 7}},         {4, {1160, 1160}, {7, 7}}, {8, {1160, 1160}, {7, 7}},
        {14, {1160, 1160}, {7, 7}},  {5, {0, 1250}, {7, 7}},    {9, {0, 1250}, {7, 7}},
        {15, {0, 1250}, {7, 7}},     {19, {0, 1250}, {7, 7}},   {22, {0, 1250}, {7, 7}},
        {18, {-160, 0}, {7, 7}},     {20, {0, 1250}, {-240, 1250}}, {21, {0, 1250}, {-240, 1250}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        auto s = Make(0, 0, 1000, 1000);
        s->m_adjust1 = plat::Point(3, 3);
        s->m_adjust2 = plat::Point(7, 7);
        s->SetBorderKind(r.kind);
        EXPECT_EQ(s->m_adjust1, r.a1);
        EXPECT_EQ(s->m_adjust2, r.a2);
        EXPECT_EQ(s->GetFrame()->GetWidth(), s->GetTextRect().Width()) << "the frame follows the kind";
    }
}

TEST_F(TextShapeDoc, HandlesAndHitCodes)
{
    auto s = Make(1000, 2000, 3000, 1000, 20);
    CPointList handles;
    s->GetHandles(handles);
    ASSERT_EQ(handles.GetCount(), 4);
    EXPECT_EQ(handles.GetNodeAt(0).m_code, 70);
    EXPECT_EQ(handles.GetNodeAt(1).m_code, 40);
    EXPECT_EQ(handles.GetNodeAt(2).m_code, 94);
    EXPECT_EQ(handles.GetNodeAt(3).m_code, 95);
    struct Row {
        int x, y;
        std::uint8_t code;
    } rows[] = {
        {920, 1920, 70},  {1079, 2079, 70}, {1080, 2000, 93}, {4000 - 60, 3000 - 60, 40}, {4059, 3059, 40},
        {4060, 3000, 0},  {1000, 3250, 94}, {760, 3250, 95},  {2000, 2500, 93},            {999, 2500, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(s->HitTest(r.x, r.y, handles), r.code) << r.x << "," << r.y;
    CTextShapeObject plain(&doc(), nullptr);
    plain.SetSize(100, 100);
    CPointList two;
    plain.GetHandles(two);
    EXPECT_EQ(two.GetCount(), 2) << "kind 2 has no adjust handle";
}

TEST_F(TextShapeDoc, SizeDragKeepsTwoHundredTwipsAndRefitsOnceAtTheEnd)
{
    CTextShapeObject* s = Add(2000, 2000, 3000, 1000);
    CPointList handles;
    s->GetHandles(handles);
    CFormatState& state = *doc().GetFormatState();
    state.m_tableZone = s->BeginTrack(5000, 3000, false, handles);
    ASSERT_EQ(state.m_tableZone, 40);
    const int frameWidth = s->GetFrame()->GetWidth();
    s->TrackTo(1000, 1500);
    EXPECT_EQ(s->m_width, 200);
    EXPECT_EQ(s->m_height, 200);
    EXPECT_EQ(s->GetFrame()->GetWidth(), frameWidth) << "the frame waits for the release";
    s->EndTrack(1000, 1500);
    EXPECT_EQ(s->GetFrame()->GetWidth(), 120);
    EXPECT_EQ(s->GetFrame()->GetHeight(), 200);
    state.m_tableZone = 0;
}

TEST_F(TextShapeDoc, AdjustHandleDragMovesTheTip)
{
    CTextShapeObject* s = Add(2000, 2000, 3000, 1000, 5);
    CPointList handles;
    s->GetHandles(handles);
    CFormatState& state = *doc().GetFormatState();
    state.m_tableZone = s->BeginTrack(2000, 3250, false, handles);
    ASSERT_EQ(state.m_tableZone, 94);
    s->EndTrack(6000, 2500);
    EXPECT_EQ(s->m_adjust1, plat::Point(4000, 500));
    state.m_tableZone = 0;
}

std::vector<std::uint8_t> RecordBytes(CFloatObject& o, int mode)
{
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        o.Save(ar, mode, 0, 0);
        ar.Flush();
    }
    return mem.Data();
}

std::unique_ptr<CTextShapeObject> LoadRecord(CQlDoc& doc, const std::vector<std::uint8_t>& bytes, int mode,
                                             bool& consumedAll)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    auto s = std::make_unique<CTextShapeObject>(&doc, nullptr);
    s->Load(ar, mode);
    consumedAll = false;
    try {
        ar.ReadU8();
    } catch (const plat::ArchiveException&) {
        consumedAll = true;
    }
    return s;
}

// Writes a fuzz seed when QUILN_WRITE_SEEDS names the seed folder (tests/fuzz/seeds).
void WriteSeed(const char* target, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const char* root = std::getenv("QUILN_WRITE_SEEDS");
    if (!root) return;
    const std::filesystem::path path = std::filesystem::path(root) / target / name;
    plat::File file(plat::Utf8ToUtf16(path.string()), plat::File::kWrite | plat::File::kCreate);
    file.Write(bytes.data(), bytes.size());
}

TEST_F(TextShapeDoc, RecordRoundTripsInEveryMode)
{
    auto s = Make(1500, 2500, 3000, 1200, 20);
    s->m_lineColor = 0x0000FF;
    s->m_fillPattern = 5;
    s->m_fillColor = 0x00FF00;
    s->m_verticalAlign = 64;
    s->m_adjust2 = plat::Point(-300, 77);
    s->GetFrame()->InsertItemsAtCaret(u"框中文字 text");
    s->GetFrame()->RelayoutWhole();
    s->AlignTextFrame();
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        const auto bytes = RecordBytes(*s, mode);
        bool all = false;
        auto back = LoadRecord(doc(), bytes, mode, all);
        EXPECT_TRUE(all);
        EXPECT_EQ(back->m_borderKind, 20);
        EXPECT_EQ(back->m_lineColor, 0x0000FF);
        EXPECT_EQ(back->m_fillPattern, 5);
        EXPECT_EQ(back->m_fillColor, 0x00FF00);
        EXPECT_EQ(back->m_textOrigin, s->m_textOrigin);
        EXPECT_EQ(back->m_adjust1, s->m_adjust1);
        EXPECT_EQ(back->m_adjust2, plat::Point(-300, 77));
        EXPECT_EQ(back->m_verticalAlign, 64);
        EXPECT_EQ(back->m_bounds, s->m_bounds);
        ASSERT_NE(back->GetFrame(), nullptr);
        EXPECT_EQ(back->GetFrame()->GetCount(), s->GetFrame()->GetCount());
        // The undo record is the one that keeps everything (caret, names) as it was.
        if (mode == 2) {
            EXPECT_EQ(RecordBytes(*back, mode), bytes) << "a record read back writes the same bytes";
        }
    }
    // The file record has a 16-byte zero tail that the other modes lack; an insert reads it.
    const auto file = RecordBytes(*s, 1);
    EXPECT_TRUE(std::all_of(file.end() - 16, file.end(), [](std::uint8_t b) { return b == 0; }));
    bool all = false;
    auto inserted = LoadRecord(doc(), file, 4, all);
    EXPECT_TRUE(all) << "mode 4 skips the tail";
    EXPECT_EQ(inserted->GetFrame()->GetCount(), s->GetFrame()->GetCount());
}

TEST_F(TextShapeDoc, TruncatedRecordIsRefused)
{
    auto s = Make(0, 0, 1000, 1000);
    auto bytes = RecordBytes(*s, 1);
    for (std::size_t cut : {bytes.size() / 3, bytes.size() - 17, bytes.size() - 1}) {
        std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        bool all = false;
        EXPECT_THROW(LoadRecord(doc(), part, 1, all), plat::ArchiveException) << cut;
    }
}

TEST_F(TextShapeDoc, TypingGoesIntoTheShapeAndSurvivesSaveAndOpen)
{
    CTextShapeObject* s = Add(2000, 3000, 3000, 1000);
    CPointList handles;
    s->GetHandles(handles);
    doc().GetFormatState()->m_tableZone = s->BeginTrack(3000, 3500, false, handles);
    ASSERT_EQ(doc().GetFormatState()->m_tableZone, 93);
    s->EndTrack(3000, 3500);
    doc().GetFormatState()->m_tableZone = 0;
    EXPECT_TRUE(s->HasTextFocus());
    EXPECT_EQ(doc().GetFocusText(), s->GetFrame());
    const int bodyCount = body().GetCount();
    for (char16_t c : std::u16string(u"hello world")) doc().InsertChar(c);
    EXPECT_EQ(body().GetCount(), bodyCount) << "the body's text is untouched";
    EXPECT_TRUE(s->HasText());
    EXPECT_EQ(s->GetFrame()->GetCount(), 12);
    const plat::Point centred = s->m_textOrigin;
    EXPECT_EQ(centred.y, (1000 - s->GetFrame()->GetContentHeight()) / 2) << "realigned after the edit";
    // The caret keys move inside the text while it is edited.
    s->OnKeyCtrlHome(false);
    EXPECT_EQ(s->GetFrame()->GetCaretPos().m_index, 0);
    EXPECT_EQ(s->CanCopyText(), 0);
    s->OnKeyRight(true);
    EXPECT_EQ(s->CanCopyText(), 1);

    CStatistics stats;
    body().CountStatistics(stats);
    EXPECT_EQ(stats[CStatistics::kLetters], 10) << "the shape's text counts, not the shape";
    EXPECT_EQ(stats[CStatistics::kWords], 2);

    CFindState find;
    find.m_findText = u"world";
    find.m_replaceText = u"there";
    doc().ReplaceAll(find);
    EXPECT_EQ(s->GetFrame()->GetCount(), 12);

    const std::filesystem::path path = std::filesystem::temp_directory_path() / "text_shape_test.qln";
    ASSERT_EQ(doc().FileSave(plat::Utf8ToUtf16(path.string())), 1);
    doctest::ShownDoc other;
    ASSERT_EQ(other.doc.FileOpen(plat::Utf8ToUtf16(path.string()), false), 1);
    if (std::getenv("QUILN_WRITE_SEEDS")) {
        plat::File saved(plat::Utf8ToUtf16(path.string()), plat::File::kRead);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(saved.GetLength()));
        saved.Read(bytes.data(), bytes.size());
        WriteSeed("fuzz_native_file", "text-shape", bytes);
    }
    std::filesystem::remove(path);
    ASSERT_EQ(other.Body().GetObjectCount(), 1);
    auto* back = dynamic_cast<CTextShapeObject*>(other.Body().GetObject(0));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_bounds, s->m_bounds);
    EXPECT_EQ(back->m_textOrigin, s->m_textOrigin);
    EXPECT_EQ(back->GetFrame()->GetCount(), s->GetFrame()->GetCount());
    CFindState again;
    again.m_findText = u"there";
    again.m_flow = back->GetFrame();
    EXPECT_TRUE(back->FindNext(again)) << "the replacement was saved";
}

// A page's object list holding a text shape beside other text: saved and loaded in the
// list's own record in every mode, the shape comes back with its text.
TEST_F(TextShapeDoc, ObjectListWithATextShapeRoundTrips)
{
    CTextShapeObject* s = Add(2000, 3000, 2400, 900, 9);
    s->GetFrame()->InsertItemsAtCaret(u"callout 文字");
    s->RelayoutContent();
    for (int mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(mode);
        plat::MemFile mem;
        {
            plat::Archive ar(mem, plat::Archive::kStore);
            body().GetObjectList().Save(ar, mode == 4 ? 1 : mode);
            ar.Flush();
        }
        std::vector<std::uint8_t> bytes = mem.Data();
        CPageObjectList back(&doc(), nullptr);
        plat::MemFile in(bytes);
        plat::Archive ar(in, plat::Archive::kLoad);
        back.Load(ar, mode, 0, 0);
        ASSERT_EQ(back.GetCount(), 1);
        auto* shape = dynamic_cast<CTextShapeObject*>(back.GetObject(0));
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->m_borderKind, 9);
        EXPECT_EQ(shape->GetFrame()->GetCount(), s->GetFrame()->GetCount());
        // The page-object fuzz target reads the mode from its first byte's low bits.
        bytes.insert(bytes.begin(), static_cast<std::uint8_t>(mode - 1));
        WriteSeed("fuzz_page_objects", "text-shape-mode" + std::to_string(mode), bytes);
    }
}

// ---- border pixels ----

using testsupport::kBlack;
using testsupport::kWhite;
constexpr plat::ColorRef kGreyPixel = 0x808080;

struct Canvas : testsupport::Canvas {
    Canvas() : testsupport::Canvas(400, 300) {}
};

// A shape of 1500 x 1500 twips (100 x 100 pixels) at (1500, 1500) twips, drawn at zoom 1.
void Paint(CQlDoc& doc, CTextShapeObject& s, Canvas& canvas)
{
    CRenderContext rc(&doc, canvas.dc);
    s.DrawBorder(canvas.dc, 1.0, 0, 0, rc);
    rc.Restore(canvas.dc);
}

TEST_F(TextShapeDoc, BorderPixelProbes)
{
    struct Row {
        const char* name;
        std::uint8_t kind;
        plat::Point tip; // adjust point 1, twips from the box's corner; (-1, -1) the default
        bool blank;      // nothing may be painted
    } rows[] = {
        {"rectangle outline only", 2, {-1, -1}, false},
        {"no border, no fill paints nothing", 1, {-1, -1}, true},
        // Default shadow toward (w + 160, h + 160): down and to the right.
        {"shadow down right", 4, {-1, -1}, false},
        {"shadow up left", 4, {-3000, -3000}, false},
        // A tip straight below the centre: the tail hangs from the bottom side.
        {"callout tail at the bottom", 5, {750, 2250}, false},
        // The default tip (0, 1.25 h) lies below the left corner: the base shifts to start
        // at the corner.
        // A tip whose ray crosses the bottom side 100 twips from the left corner: the base
        // (300 twips) would run past the corner and is shifted to start at it.
        {"callout tail shifted to the corner", 5, {-550, 2250}, false},
        {"rounded callout tail shifted to the tangent", 9, {-550, 2250}, false},
        {"no border for kind 22", 22, {-1, -1}, true},
        {"no border for kind 23", 23, {-1, -1}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto s = Make(1500, 1500, 1500, 1500, r.kind);
        s->m_lineColor = static_cast<std::int32_t>(kBlack);
        if (r.tip.x != -1) s->m_adjust1 = r.tip;
        Canvas canvas;
        Paint(doc(), *s, canvas);
        if (r.blank) {
            int painted = 0;
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 400; ++x) painted += canvas.At(x, y) != kWhite;
            EXPECT_EQ(painted, 0);
            continue;
        }
        const std::string name = r.name;
        if (name == "rectangle outline only") {
            EXPECT_EQ(canvas.At(100, 150), kBlack);
            EXPECT_EQ(canvas.At(150, 100), kBlack);
            EXPECT_EQ(canvas.At(150, 150), kWhite);
        } else if (name == "shadow down right") {
            EXPECT_EQ(canvas.At(100, 150), kBlack);
            EXPECT_EQ(canvas.At(205, 150), kGreyPixel);
            EXPECT_EQ(canvas.At(150, 205), kGreyPixel);
            EXPECT_EQ(canvas.At(95, 150), kWhite);
        } else if (name == "shadow up left") {
            EXPECT_EQ(canvas.At(95, 150), kGreyPixel);
            EXPECT_EQ(canvas.At(150, 95), kGreyPixel);
            EXPECT_EQ(canvas.At(205, 150), kWhite);
        } else if (name == "callout tail at the bottom") {
            EXPECT_EQ(canvas.At(150, 249), kBlack) << "the tip";
            // The tail's two edges cross the row 10 pixels below the box, evenly about
            // the centre, and the bottom side is open under them.
            std::vector<int> edges;
            for (int x = 100; x <= 200; ++x)
                if (canvas.At(x, 210) == kBlack) edges.push_back(x);
            ASSERT_GE(edges.size(), 2u);
            EXPECT_NEAR(edges.front() + edges.back(), 300, 2);
            EXPECT_GT(edges.front(), 138);
            EXPECT_LT(edges.back(), 162);
            EXPECT_EQ(canvas.At(150, 200), kWhite);
            EXPECT_EQ(canvas.At(100, 150), kBlack) << "the left side is plain";
            EXPECT_EQ(canvas.At(99, 150), kWhite);
        } else if (name == "callout tail shifted to the corner") {
            // The base runs from the corner (x 100) to x 120 on the bottom side: open there,
            // closed again after it (unshifted it would have ended near x 117).
            EXPECT_EQ(canvas.At(118, 200), kWhite) << "inside the shifted base";
            EXPECT_EQ(canvas.At(123, 200), kBlack) << "the bottom side after the base";
        } else if (name == "rounded callout tail shifted to the tangent") {
            // The base starts at the tangent point r (250 twips, about 17 pixels) from the
            // corner and runs 20 pixels: the bottom side is open from about 117 to 137.
            EXPECT_EQ(canvas.At(130, 200), kWhite) << "inside the base";
            EXPECT_EQ(canvas.At(140, 200), kBlack) << "the straight side after the base";
        }
    }
}

// Every border kind with the default adjust points, in a grid of 7 x 3 cells, with no
// fill, a solid fill or a cross hatch by turns.
std::unique_ptr<plat::Bitmap> AllBorders(CQlDoc& doc)
{
    constexpr int kCellW = 130, kCellH = 120;
    auto bitmap = plat::Bitmap::Create(7 * kCellW, 3 * kCellH);
    bitmap->Fill(kWhite);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    for (int kind = 1; kind <= 21; ++kind) {
        const int col = (kind - 1) % 7, row = (kind - 1) / 7;
        CTextShapeObject s(&doc, nullptr);
        // 90 x 60 pixels, 20 pixels in from the cell's corner.
        s.m_bounds = plat::Rect(0, 0, 1, 1);
        s.SetSize(1350, 900);
        s.m_borderKind = static_cast<std::uint8_t>(kind);
        s.ResetAdjustPoints();
        s.m_lineColor = 0x000000;
        s.m_fillColor = 0x40A0F0;
        s.m_fillPattern = static_cast<std::uint8_t>(kind % 3 == 0 ? 2 : kind % 3 == 1 ? 1 : 5);
        CRenderContext rc(&doc, dc);
        s.DrawBorder(dc, 1.0, col * kCellW + 20, row * kCellH + 20, rc);
        rc.Restore(dc);
    }
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bitmap;
}

// The picture was looked at once and committed; a change in any border shows here.
// QUILN_WRITE_EXPECTED=1 writes it afresh.
TEST_F(TextShapeDoc, PictureOfEveryBorderKindMatchesTheExpectedOne)
{
    EXPECT_EQ(testsupport::DifferenceFromExpected(*AllBorders(doc()), "shapes/text_borders.png"), 0);
}

// A new text shape is one undo step; copied and pasted it comes back with its text.
TEST_F(TextShapeDoc, UndoRedoCopyAndPaste)
{
    doc().PushUndoState();
    CTextShapeObject* s = Add(2000, 3000, 3000, 1000, 6);
    s->GetFrame()->InsertItemsAtCaret(u"copy me");
    s->RelayoutContent();
    ASSERT_EQ(body().GetObjectCount(), 1);
    doc().EditUndo();
    EXPECT_EQ(body().GetObjectCount(), 0);
    doc().EditRedo();
    ASSERT_EQ(body().GetObjectCount(), 1);
    auto* redone = dynamic_cast<CTextShapeObject*>(body().GetObject(0));
    ASSERT_NE(redone, nullptr);
    EXPECT_EQ(redone->GetFrame()->GetCount(), 8);
    body().DeselectAll();
    redone->SetSelected(true);
    doc().GetFormatState()->SetFocusObject(nullptr);
    ASSERT_TRUE(doc().EditCopy());
    ASSERT_TRUE(doc().EditPaste());
    ASSERT_EQ(body().GetObjectCount(), 2);
    auto* pasted = dynamic_cast<CTextShapeObject*>(body().GetObject(1));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->m_borderKind, 6);
    EXPECT_EQ(pasted->GetFrame()->GetCount(), 8);
    EXPECT_NE(pasted->GetFrame(), redone->GetFrame());
}

} // namespace

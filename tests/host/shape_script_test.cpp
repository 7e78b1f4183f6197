// Drawn shapes through quiln-host as a user meets them: a native file holding an arrow
// line (written here) is opened, the line selected with a click, copied and pasted (into
// the same document: a new document empties the clipboard of blocks, which hold the
// document's own objects), pictured, its vertex dragged, the drag undone and redone, and
// the result saved and opened again to the same shape records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/system.h"
#include "platform/gfx/bitmap.h"
#include "tests/host/host_run.h"
#include "objects/text_shape.h"
#include "tests/objects/shape_catalogue.h"
#include "tests/objects/shape_test_support.h"
#include "tests/support/pixel_probe.h"

namespace {

namespace fs = std::filesystem;

constexpr plat::ColorRef kLineRed = plat::Rgb(255, 0, 0);

class ShapeScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = plat::MakePrivateTempDir(plat::TempDirUtf8());
        ::setenv("QUILN_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        ASSERT_EQ(Host({"register", QUILN_LIBRARY_PATH}), 0);
        RegisterDrawingKinds();
    }
    void TearDown() override
    {
        UnregisterDocObjects();
        ::unsetenv("QUILN_REGISTRY_DIR");
        fs::remove_all(m_dir);
    }
    // Runs quiln-host in the working folder; its status, with its output in m_out.
    int Host(const std::vector<std::string>& args)
    {
        const hosttest::Outcome outcome = hosttest::RunHost(m_dir, args);
        m_out = outcome.out + outcome.err;
        return outcome.status;
    }
    int Run(const std::string& script)
    {
        std::ofstream(m_dir / "script.txt", std::ios::binary) << script;
        return Host({"run", "script.txt"});
    }
    std::unique_ptr<plat::Bitmap> Picture(const char* name)
    {
        return plat::Bitmap::LoadPng(plat::Utf8ToUtf16((m_dir / name).string()));
    }
    // The shape records of the file's objects, read in this process.
    std::vector<std::uint8_t> ShapeRecordsOf(const char* name, int count)
    {
        doctest::ShownDoc shown;
        EXPECT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / name).string()), false)) << name;
        EXPECT_EQ(shown.Body().GetObjectCount(), count) << name;
        std::vector<std::uint8_t> all;
        for (int k = 0; k < shown.Body().GetObjectCount(); ++k) {
            EXPECT_NE(dynamic_cast<CShapeObject*>(shown.Body().GetObject(k)), nullptr);
            const std::vector<std::uint8_t> one = shapetest::RecordBytes(*shown.Body().GetObject(k), kArchiveClipboard);
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    }

    // After a drag pictured as dragged.png: undone and saved, redone and saved, opened
    // and saved again.
    static constexpr const char* kAfterDrag = "!png \"dragged.png\"\n"
                                              "EditUndo\n"
                                              "FileSave \"undone.qln\"\n"
                                              "EditRedo\n"
                                              "FileSave \"saved.qln\"\n"
                                              "FileOpen \"saved.qln\" 0\n"
                                              "FileSave \"again.qln\"\n";
    void RunWithoutFailures(const std::string& script)
    {
        EXPECT_EQ(Run(script), 0) << m_out;
        EXPECT_EQ(m_out.find("ERROR"), std::string::npos) << m_out;
        EXPECT_EQ(m_out.find("FALSE"), std::string::npos) << m_out;
    }
    // Undo gave back the records saved before the drag; saved after the redo they differ,
    // and opened and saved again they are the same.
    void ExpectUndoneRedoneAndReopened(int count)
    {
        const std::vector<std::uint8_t> before = ShapeRecordsOf("before.qln", count);
        EXPECT_EQ(ShapeRecordsOf("undone.qln", count), before);
        const std::vector<std::uint8_t> saved = ShapeRecordsOf("saved.qln", count);
        EXPECT_NE(saved, before);
        EXPECT_EQ(ShapeRecordsOf("again.qln", count), saved);
    }

    fs::path m_dir;
    std::string m_out;
};

TEST_F(ShapeScript, OpenSelectCopyPasteDragUndoRedoSaveAndOpen)
{
    {
        // The native file: a red line with an arrowhead at its end, 300 pixels long.
        doctest::ShownDoc shown;
        CShapeObject* line = shapetest::AddShape(shown.doc, {0x1101, {{3000, 4500}, {7500, 4500}}, 2, 1, 4});
        line->m_lineColor = static_cast<std::int32_t>(kLineRed);
        ASSERT_TRUE(shown.doc.FileSave(plat::Utf8ToUtf16((m_dir / "shapes.qln").string())));
    }
    // Where the line shows in the window.
    ASSERT_EQ(Run("FileOpen \"shapes.qln\" 0\n!png \"opened.png\"\n"), 0) << m_out;
    const auto opened = Picture("opened.png");
    ASSERT_NE(opened, nullptr);
    // The main pane's page, below the bars (whose pictures have red in them too).
    const testsupport::Ink ink = testsupport::InkOf(*opened, plat::Rect(20, 60, 760, 400), kLineRed);
    ASSERT_GT(ink.count, 250) << "the line is in the window";
    const plat::Rect box = ink.box; // stroke and arrowhead
    const int y = (box.top + box.bottom) / 2;
    const int start = box.left, middle = (box.left + box.right) / 2;

    std::ostringstream script;
    script << "FileOpen \"shapes.qln\" 0\n"
           << "!click " << middle << " " << y << "\n"
           << "EditCopy\n"
           << "!click 100 145\n" // into the text: the line is no longer selected
           << "EditPaste\n"
           << "!png \"pasted.png\"\n"
           << "FileSave \"before.qln\"\n"
           << "!click " << middle << " " << y << "\n"
           << "!drag " << start << " " << y << " " << start << " " << y + 40 << "\n"
           << kAfterDrag;
    RunWithoutFailures(script.str());

    // The pasted copy: red where the window had none before, a one-pixel stroke with the
    // arrowhead 9 pixels tall at its end.
    const auto pasted = Picture("pasted.png");
    ASSERT_NE(pasted, nullptr);
    int count = 0;
    plat::Rect copy;
    for (int py = 60; py < 400; ++py)
        for (int px = 20; px < 760; ++px)
            if (pasted->GetPixel(px, py) == kLineRed && opened->GetPixel(px, py) != kLineRed) {
                const plat::Rect one(px, py, px + 1, py + 1);
                copy = count++ == 0 ? one : copy.Union(one);
            }
    ASSERT_GT(count, 250) << "the pasted line";
    const int cy = (copy.top + copy.bottom) / 2, cmiddle = (copy.left + copy.right) / 2;
    EXPECT_EQ(testsupport::InkOf(*pasted, plat::Rect(cmiddle, cy - 6, cmiddle + 1, cy + 7), kLineRed).count, 1);
    EXPECT_GE(testsupport::InkOf(*pasted, plat::Rect(copy.right - 9, cy - 6, copy.right - 8, cy + 7), kLineRed).count, 5);
    // The original's start vertex went down 40 pixels.
    const auto dragged = Picture("dragged.png");
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->GetPixel(start, y + 40), kLineRed);
    EXPECT_NE(dragged->GetPixel(start + 2, y), kLineRed);

    ExpectUndoneRedoneAndReopened(2);
}

// The catalogue document: a green ring and a magenta five-pointed star at the top, every
// code of the basic shapes, block arrows, polygons and flow chart below them in grey.
TEST_F(ShapeScript, CatalogueOpenedPicturedRingDraggedUndoneSavedAndOpened)
{
    constexpr plat::ColorRef kGreen = plat::Rgb(0, 160, 0), kMagenta = plat::Rgb(200, 0, 200);
    constexpr plat::ColorRef kGrey = plat::Rgb(96, 96, 96);
    int count = 0;
    {
        doctest::ShownDoc shown;
        auto tw = [](int x, int y) { return plat::Point(x * 15, y * 15); };
        CShapeObject* ring = shapetest::AddShape(shown.doc, {0x1211, {tw(250, 250), tw(290, 250)}, 2, -1, -1, 2});
        ring->m_lineColor = ring->m_fillColor = static_cast<std::int32_t>(kGreen);
        CShapeObject* star = shapetest::AddShape(shown.doc, {0x1407, {tw(450, 250), tw(450, 210)}, 2, -1, -1, 2});
        star->m_lineColor = star->m_fillColor = static_cast<std::int32_t>(kMagenta);
        count = 2;
        for (const shapetest::CatalogueShape& c : shapetest::Catalogue()) {
            if (c.form != shapetest::Form::kNormal) continue;
            shapetest::ShapeSpec spec{c.code, {}, 2, -1, -1, 2};
            for (const plat::Point& p : c.points) spec.points.push_back(tw(p.x + 100, p.y + 320));
            CShapeObject* s = shapetest::AddShape(shown.doc, spec);
            s->m_lineColor = s->m_fillColor = static_cast<std::int32_t>(kGrey);
            ++count;
        }
        ASSERT_TRUE(shown.doc.FileSave(plat::Utf8ToUtf16((m_dir / "catalogue.qln").string())));
    }
    ASSERT_EQ(Run("FileOpen \"catalogue.qln\" 0\n!png \"catalogue.png\"\n"), 0) << m_out;
    const auto opened = Picture("catalogue.png");
    ASSERT_NE(opened, nullptr);
    const plat::Rect page(20, 60, opened->Width() - 20, opened->Height() - 20);
    const testsupport::Ink ring = testsupport::InkOf(*opened, page, kGreen);
    const testsupport::Ink star = testsupport::InkOf(*opened, page, kMagenta);
    ASSERT_GT(ring.count, 1000) << "the ring is in the window";
    ASSERT_GT(star.count, 500) << "the star is in the window";
    EXPECT_GT(testsupport::InkOf(*opened, page, kGrey).count, 2000) << "the catalogue below them";
    // The ring's hole shows the page; its body, halfway between the circles, is green.
    const int cx = (ring.box.left + ring.box.right) / 2, cy = (ring.box.top + ring.box.bottom) / 2;
    const int ro = ring.box.Width() / 2;
    EXPECT_NE(opened->GetPixel(cx, cy), kGreen);
    EXPECT_NE(opened->GetPixel(cx + ro / 4, cy), kGreen);
    EXPECT_EQ(opened->GetPixel(cx, cy - 3 * ro / 4), kGreen);
    // The star's top point is straight above its centre, and beside it is the page.
    const int sx = (star.box.left + star.box.right) / 2;
    EXPECT_EQ(opened->GetPixel(sx, star.box.top + 2), kMagenta);
    EXPECT_NE(opened->GetPixel(sx - 8, star.box.top + 4), kMagenta);

    // The ring selected on its body, its outer vertex dragged 20 pixels outward.
    const int vertex = ring.box.right - 1;
    std::ostringstream script;
    script << "FileOpen \"catalogue.qln\" 0\n"
           << "FileSave \"before.qln\"\n"
           << "!click " << cx << " " << cy - 3 * ro / 4 << "\n"
           << "!drag " << vertex << " " << cy << " " << vertex + 20 << " " << cy << "\n"
           << kAfterDrag;
    RunWithoutFailures(script.str());
    const auto dragged = Picture("dragged.png");
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->GetPixel(vertex + 12, cy - 2), kGreen) << "the ring grew";

    ExpectUndoneRedoneAndReopened(count);
}

} // namespace

namespace {

// New objects drawn with the mouse through quiln-host: a text shape typed into and a
// table, each from its automation member and a drag; undone, redone, saved and opened.
TEST_F(ShapeScript, InsertTextAndTableByDraggingThenUndoRedoSaveAndOpen)
{
    const std::string script = "InsertText\n"
                               "!drag 120 200 320 260\n"
                               "!type \"hello\"\n"
                               "!png \"text.png\"\n"
                               "InsertTable\n"
                               "!drag 120 300 420 380\n"
                               "FileSave \"made.qln\"\n"
                               "EditUndo\n"
                               "FileSave \"undone.qln\"\n"
                               "EditRedo\n"
                               "FileSave \"redone.qln\"\n"
                               "FileOpen \"redone.qln\" 0\n"
                               "FileSave \"again.qln\"\n";
    EXPECT_EQ(Run(script), 0) << m_out;
    EXPECT_EQ(m_out.find("ERROR"), std::string::npos) << m_out;
    EXPECT_EQ(m_out.find("FALSE"), std::string::npos) << m_out;
    EXPECT_EQ(m_out.find("IGNORED"), std::string::npos) << m_out;

    auto kinds = [&](const char* name) {
        doctest::ShownDoc shown;
        EXPECT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / name).string()), false)) << name;
        std::vector<std::uint16_t> types;
        for (int k = 0; k < shown.Body().GetObjectCount(); ++k) {
            CFloatObject* o = shown.Body().GetObject(k);
            types.push_back(o->GetNodeType());
            if (auto* text = dynamic_cast<CTextShapeObject*>(o)) {
                EXPECT_EQ(text->GetFrame()->GetCount(), 6) << "hello and the paragraph end";
            }
        }
        return types;
    };
    const std::vector<std::uint16_t> both = {kNodeTextShape, kNodeTable};
    EXPECT_EQ(kinds("made.qln"), both);
    EXPECT_EQ(kinds("undone.qln"), std::vector<std::uint16_t>{kNodeTextShape});
    EXPECT_EQ(kinds("redone.qln"), both);
    EXPECT_EQ(kinds("again.qln"), both);

    // The text shape's rectangle shows in the window where it was dragged (the canvas sits
    // below the bars, so a little higher than the drag's window points): two rows with a
    // 200-pixel edge, its top and its bottom, 60 pixels apart.
    const auto picture = Picture("text.png");
    ASSERT_NE(picture, nullptr);
    std::vector<int> edges;
    for (int y = 100; y < 300; ++y) {
        int dark = 0;
        for (int x = 110; x < 330; ++x) dark += plat::RValue(picture->GetPixel(x, y)) < 96;
        if (dark >= 190) edges.push_back(y);
    }
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_NEAR(edges[1] - edges[0], 60, 1);
}

// The bottom bar's line (32802) and rectangle (32841) buttons start their tools; a drag
// each draws the shape. The bar's buttons sit left to right after its shape menu button.
TEST_F(ShapeScript, BarButtonsDrawALineAndARectangle)
{
    const std::string script = "!click 87 588\n"
                               "!drag 120 200 320 240\n"
                               "!click 133 588\n"
                               "!drag 120 260 320 300\n"
                               "FileSave \"bar.qln\"\n"
                               "EditUndo\n"
                               "FileSave \"undone.qln\"\n";
    EXPECT_EQ(Run(script), 0) << m_out;
    EXPECT_EQ(m_out.find("IGNORED"), std::string::npos) << m_out;
    auto codes = [&](const char* name) {
        doctest::ShownDoc shown;
        EXPECT_TRUE(shown.doc.FileOpen(plat::Utf8ToUtf16((m_dir / name).string()), false)) << name;
        std::vector<int> out;
        for (int k = 0; k < shown.Body().GetObjectCount(); ++k)
            if (auto* s = dynamic_cast<CShapeObject*>(shown.Body().GetObject(k))) out.push_back(s->GetShapeCode());
        return out;
    };
    EXPECT_EQ(codes("bar.qln"), (std::vector<int>{0x1101, 0x1201}));
    EXPECT_EQ(codes("undone.qln"), (std::vector<int>{0x1101}));
}

} // namespace

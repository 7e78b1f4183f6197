// What the canvas paints: the pane rendered by the window tree compared with expected
// pictures at 100 % and 25 %, the corner marks' length at each zoom, the page colour of a
// read-only document and the ruler's guide line.
#include <cstdlib>
#include <string>

#include "platform/gfx/bitmap.h"
#include "tests/editor/editor_support.h"

namespace {

using edtest::PaneTest;

// Differences up to this many grey levels in a channel are antialiasing, not a change.
constexpr int kTolerance = 48;

std::string FixturePath(const std::string& name)
{
    const char* root = std::getenv("QUILN_FIXTURES");
    return std::string(root ? root : "tests/fixtures") + "/editor/" + name;
}

// The share of pixels that differ by more than the tolerance in some channel; 1 when the
// sizes differ.
double DifferingShare(const plat::Bitmap& a, const plat::Bitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return 1.0;
    long differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const plat::ColorRef p = a.GetPixel(x, y);
            const plat::ColorRef q = b.GetPixel(x, y);
            const int d = std::max({std::abs(int(plat::RValue(p)) - int(plat::RValue(q))),
                                    std::abs(int(plat::GValue(p)) - int(plat::GValue(q))),
                                    std::abs(int(plat::BValue(p)) - int(plat::BValue(q)))});
            if (d > kTolerance) ++differing;
        }
    return double(differing) / (double(a.Width()) * a.Height());
}

class CanvasPaintTest : public PaneTest {
protected:
    void FillPage()
    {
        Fill(u"页面画布\r"
             u"The canvas paints the visible part of the desk with its pages through one off-screen bitmap.\r"
             u"中文与English混排的段落，文字在页面上逐行排列。\r",
             4);
    }
    // Text rectangle of page 0 on the canvas.
    plat::Rect TextRect() const
    {
        plat::Rect t = doc().TwipsToPixelsRect(doc().GetPageTextRect(0));
        const plat::Point s = canvas().GetScrollOffset();
        t.Offset(-s.x, -s.y);
        return t;
    }
    // Rows above (x, y) in the canvas's surface that are not the page's colour, up to the
    // first page-coloured one.
    int InkAbove(int x, int y) const
    {
        const plat::Bitmap* s = canvas().GetSurface();
        int n = 0;
        for (int yy = y - 1; yy >= 0 && s->GetPixel(x, yy) != CQlCanvas::kPageColor; --yy) ++n;
        return n;
    }
    // Columns left of (x, y) that are not the page's colour.
    int InkLeft(int x, int y) const
    {
        const plat::Bitmap* s = canvas().GetSurface();
        int n = 0;
        for (int xx = x - 1; xx >= 0 && s->GetPixel(xx, y) != CQlCanvas::kPageColor; --xx) ++n;
        return n;
    }
};

TEST_F(CanvasPaintTest, PaneMatchesTheExpectedPicturesAt100And25Percent)
{
    FillPage();
    struct Row {
        unsigned command;
        const char* file;
    };
    for (const Row& r : {Row{kCmdZoom100, "page_100.png"}, Row{35036, "page_25.png"}}) {
        SCOPED_TRACE(r.file);
        plat::SendMessage(m_view.get(), plat::kWmCommand, r.command);
        plat::PumpMessages();
        const std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(m_frameWindow);
        ASSERT_TRUE(shot);
        // QUILN_WRITE_EXPECTED=1 writes the pictures afresh, for a person to look at first.
        if (std::getenv("QUILN_WRITE_EXPECTED")) {
            ASSERT_TRUE(shot->SavePng(plat::Utf8ToUtf16(FixturePath(r.file))));
        }
        const std::unique_ptr<plat::Bitmap> expected = plat::Bitmap::LoadPng(plat::Utf8ToUtf16(FixturePath(r.file)));
        ASSERT_TRUE(expected) << FixturePath(r.file);
        EXPECT_LE(DifferingShare(*shot, *expected), 0.01);
    }
}

TEST_F(CanvasPaintTest, CornerMarksGrowWithTheZoom)
{
    FillPage();
    struct Row {
        unsigned command;
        int length;
    };
    for (const Row& r : {Row{35036, 5}, Row{35033, 20}, Row{35032, 25}}) {
        SCOPED_TRACE(r.length);
        plat::SendMessage(m_view.get(), plat::kWmCommand, r.command);
        m_view->ScrollToPosition(plat::Point());
        plat::PumpMessages();
        const plat::Rect t = TextRect();
        // The top-left mark: its arm up from the corner, and its arm to the left, drawn
        // as a polyline that leaves out its last point.
        EXPECT_EQ(InkAbove(t.left, t.top + 1), r.length + 1);
        EXPECT_EQ(InkLeft(t.left + 1, t.top), r.length);
        EXPECT_EQ(canvas().GetSurface()->GetPixel(t.left, t.top - 2), CQlCanvas::kDeskColor);
    }
}

TEST_F(CanvasPaintTest, ReadOnlyPagesAreTintedAndTheGuideLineIsDotted)
{
    FillPage();
    const plat::Rect t = TextRect();
    auto pageSample = [&] { return canvas().GetSurface()->GetPixel(t.left - 3, t.top + 40); };
    EXPECT_EQ(pageSample(), CQlCanvas::kPageColor);
    doc().SetReadOnly(true);
    canvas().RequestRepaint();
    plat::PumpMessages();
    EXPECT_EQ(pageSample(), CQlCanvas::kReadOnlyPageColor);
    doc().SetReadOnly(false);

    const int x = t.left + 30;
    canvas().SetGuide(true, x);
    canvas().RequestRepaint();
    plat::PumpMessages();
    int grey = 0, page = 0;
    for (int y = t.top + 200; y < t.top + 230; ++y) {
        const plat::ColorRef c = canvas().GetSurface()->GetPixel(x, y);
        grey += c == CQlCanvas::kDeskColor;
        page += c == CQlCanvas::kPageColor;
    }
    EXPECT_GT(grey, 8);
    EXPECT_GT(page, 8) << "dotted, not solid";
}

} // namespace

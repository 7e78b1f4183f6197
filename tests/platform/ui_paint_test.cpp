// Invalidation and painting: the update region gathers what was invalidated, a paint draws
// only inside it, erasing fills the background first, and a rendered tree shows children
// over their parents, cut to the parents' client areas, with frames and scroll bars.
#include "tests/platform/ui_test_window.h"

#include <filesystem>

#include "tests/support/pixel_probe.h"

namespace {

using plat::Point;
using plat::Rect;
using testsupport::InkOf;
using testsupport::kBlue;
using testsupport::kRed;
using testsupport::kWhite;
using uitest::TestWindow;

constexpr plat::ColorRef kGrey = plat::Rgb(128, 128, 128);

class Painting : public uitest::UiTest {
protected:
    // A painter that fills the whole client area with one colour; clipping keeps it inside
    // the update region.
    static TestWindow::Painter FillWith(plat::ColorRef color)
    {
        return [color](plat::PaintDc& dc) {
            dc.FillRect(Rect(0, 0, 10000, 10000), plat::Brush::Solid(color));
        };
    }
};

TEST_F(Painting, InvalidationGathersARegionAndValidationCutsIt)
{
    TestWindow w("w");
    ASSERT_TRUE(w.Create(nullptr, Rect(0, 0, 100, 80), plat::kWsVisible));
    EXPECT_EQ(w.GetUpdateRect(), Rect(0, 0, 100, 80)) << "a new window is to paint whole";
    w.ValidateRect();
    EXPECT_FALSE(w.NeedsPaint());

    w.InvalidateRect(Rect(10, 10, 20, 20), false);
    w.InvalidateRect(Rect(50, 40, 60, 50), false);
    w.InvalidateRect(Rect(12, 12, 18, 18), false); // inside the first: nothing new
    w.InvalidateRect(Rect(90, 70, 200, 200), false); // cut to the client area
    EXPECT_EQ(w.GetUpdateRegion(),
              (std::vector<Rect>{Rect(10, 10, 20, 20), Rect(50, 40, 60, 50), Rect(90, 70, 100, 80)}));
    EXPECT_EQ(w.GetUpdateRect(), Rect(10, 10, 100, 80));
    w.InvalidateRect(Rect(0, 0, 30, 30), false); // swallows the first
    EXPECT_EQ(w.GetUpdateRegion().size(), 3u);

    const Rect cut(0, 0, 100, 45);
    w.ValidateRect(&cut);
    EXPECT_EQ(w.GetUpdateRegion(), (std::vector<Rect>{Rect(50, 45, 60, 50), Rect(90, 70, 100, 80)}));
    w.InvalidateRect(Rect(-5, -5, 0, 0));
    EXPECT_EQ(w.GetUpdateRegion().size(), 2u) << "outside the client area adds nothing";
}

TEST_F(Painting, APaintDrawsOnlyInsideTheUpdateRegion)
{
    TestWindow w("w", &m_log);
    ASSERT_TRUE(w.Create(nullptr, Rect(0, 0, 100, 80), plat::kWsVisible));
    w.m_painter = FillWith(kWhite);
    w.UpdateWindow();
    w.m_painter = FillWith(kRed);
    w.InvalidateRect(Rect(10, 10, 20, 20), false);
    w.InvalidateRect(Rect(60, 50, 70, 60), false);
    m_log.clear();
    w.UpdateWindow();
    EXPECT_EQ(Trace(), std::vector<std::string>{"w:paint"}) << "no erase was asked for";
    EXPECT_FALSE(w.NeedsPaint());
    const plat::Bitmap& surface = *w.GetSurface();
    const testsupport::Ink red = InkOf(surface, testsupport::Whole(surface), kRed);
    EXPECT_EQ(red.count, 200);
    EXPECT_EQ(red.box, Rect(10, 10, 70, 60));
    EXPECT_EQ(surface.GetPixel(30, 30), kWhite) << "between the two rectangles nothing is drawn";
    EXPECT_EQ(surface.GetPixel(10, 10), kRed);
    EXPECT_EQ(surface.GetPixel(20, 20), kWhite);
    m_log.clear();
    w.UpdateWindow();
    EXPECT_TRUE(m_log.empty()) << "nothing to paint: no WM_PAINT";
}

TEST_F(Painting, EraseFillsTheBackgroundBeforeThePaintAndOnlyWhenAsked)
{
    TestWindow w("w", &m_log);
    ASSERT_TRUE(w.Create(nullptr, Rect(0, 0, 40, 40), plat::kWsVisible));
    w.SetBackground(kGrey);
    w.m_painter = [](plat::PaintDc& dc) { dc.FillRect(Rect(0, 0, 5, 5), plat::Brush::Solid(kBlue)); };
    w.Invalidate(true);
    m_log.clear();
    w.UpdateWindow();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"w:paint", "w:erase"}));
    EXPECT_EQ(w.GetSurface()->GetPixel(20, 20), kGrey);
    EXPECT_EQ(w.GetSurface()->GetPixel(2, 2), kBlue);

    // Without erasing, the old pixels stay where the paint draws nothing.
    w.m_painter = [](plat::PaintDc& dc) { dc.FillRect(Rect(30, 30, 40, 40), plat::Brush::Solid(kRed)); };
    w.Invalidate(false);
    w.UpdateWindow();
    EXPECT_EQ(w.GetSurface()->GetPixel(2, 2), kBlue);
    EXPECT_EQ(w.GetSurface()->GetPixel(35, 35), kRed);
    // One erasing invalidation among others erases the whole region.
    w.m_painter = nullptr;
    w.InvalidateRect(Rect(0, 0, 10, 10), false);
    w.InvalidateRect(Rect(30, 30, 40, 40), true);
    w.UpdateWindow();
    EXPECT_EQ(w.GetSurface()->GetPixel(2, 2), kGrey);
    EXPECT_EQ(w.GetSurface()->GetPixel(35, 35), kGrey);
}

TEST_F(Painting, HiddenWindowsWaitToPaintAndResizingRepaintsWhole)
{
    TestWindow top("top", &m_log);
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 40, 40), 0));
    top.m_painter = FillWith(kRed);
    top.UpdateWindow();
    EXPECT_TRUE(top.NeedsPaint());
    EXPECT_TRUE(Trace({plat::kWmPaint}).empty()) << "a hidden window does not paint";
    top.ShowWindow(plat::kSwShow);
    top.UpdateWindow();
    EXPECT_FALSE(top.NeedsPaint());
    top.MoveWindow(Rect(0, 0, 60, 30));
    EXPECT_EQ(top.GetUpdateRect(), Rect(0, 0, 60, 30));
    ASSERT_NE(top.GetSurface(), nullptr);
    EXPECT_EQ(top.GetSurface()->GetPixel(10, 10), kRed) << "what was painted stays until repainted";
    EXPECT_EQ(top.GetSurface()->Width(), 60);
}

TEST_F(Painting, RenderedTreeShowsChildrenOverParentsCutToTheirParents)
{
    TestWindow top("top"), view("view"), canvas("canvas"), covered("covered");
    ASSERT_TRUE(top.Create(nullptr, Rect(0, 0, 120, 100), plat::kWsVisible));
    ASSERT_TRUE(view.Create(&top, Rect(10, 10, 110, 90), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(covered.Create(&view, Rect(0, 0, 40, 40), plat::kWsChild | plat::kWsVisible));
    // On top of `covered`, and partly outside the view: what is outside is not shown.
    ASSERT_TRUE(canvas.Create(&view, Rect(20, 20, 200, 60), plat::kWsChild | plat::kWsVisible));
    top.SetBackground(kWhite);
    view.SetBackground(kGrey);
    covered.m_painter = FillWith(kBlue);
    canvas.m_painter = FillWith(kRed);

    std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(top);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetSize(), plat::Size(120, 100));
    // The canvas covers (30, 30)-(110, 70) on the screen: cut at the view's right edge.
    EXPECT_EQ(InkOf(*picture, testsupport::Whole(*picture), kRed).box, Rect(30, 30, 110, 70));
    // Only the part of `covered` the canvas leaves: (10, 10)-(50, 50) less the canvas.
    EXPECT_EQ(InkOf(*picture, testsupport::Whole(*picture), kBlue).count, 40 * 40 - 20 * 20);
    EXPECT_EQ(picture->GetPixel(100, 80), kGrey);
    EXPECT_EQ(picture->GetPixel(5, 5), kWhite);
    EXPECT_EQ(picture->GetPixel(115, 50), kWhite) << "the canvas does not spill out of the view";

    // Hiding the canvas shows what is under it.
    canvas.ShowWindow(plat::kSwHide);
    picture = plat::RenderWindowTree(top);
    EXPECT_EQ(InkOf(*picture, testsupport::Whole(*picture), kRed).count, 0);
    EXPECT_EQ(InkOf(*picture, testsupport::Whole(*picture), kBlue).count, 40 * 40);

    // And the picture goes to a PNG file as it is.
    const std::filesystem::path png = std::filesystem::temp_directory_path() / "quiln_ui_render_test.png";
    ASSERT_TRUE(picture->SavePng(plat::Utf8ToUtf16(png.string())));
    std::unique_ptr<plat::Bitmap> back = plat::Bitmap::LoadPng(plat::Utf8ToUtf16(png.string()));
    std::filesystem::remove(png);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(InkOf(*back, testsupport::Whole(*back), kBlue).count, 40 * 40);
}

TEST_F(Painting, FramesAndScrollBarsAreDrawnAroundTheClientArea)
{
    TestWindow w("w");
    ASSERT_TRUE(w.Create(nullptr, Rect(0, 0, 100, 200),
                         plat::kWsVisible | plat::kWsBorder | plat::kWsVScroll));
    w.SetBackground(kRed);
    w.Invalidate();
    plat::ScrollInfo info;
    info.min = 0;
    info.max = 999;
    info.page = 100;
    info.pos = 0;
    w.SetScrollInfo(plat::kSbVert, info);
    std::unique_ptr<plat::Bitmap> top = plat::RenderWindowTree(w);
    w.SetScrollPos(plat::kSbVert, 900);
    std::unique_ptr<plat::Bitmap> bottom = plat::RenderWindowTree(w);
    ASSERT_TRUE(top && bottom);
    EXPECT_EQ(top->GetPixel(0, 50), testsupport::kBlack) << "the border";
    EXPECT_EQ(InkOf(*top, testsupport::Whole(*top), kRed).box, Rect(1, 1, 99 - plat::kScrollBarSize, 199));
    // The thumb sits at the top of the track, then at its bottom.
    const Rect bar(99 - plat::kScrollBarSize, 1 + plat::kScrollBarSize, 99, 199 - plat::kScrollBarSize);
    const plat::ColorRef thumb = top->GetPixel(90, 1 + plat::kScrollBarSize);
    const testsupport::Ink atTop = InkOf(*top, bar, thumb);
    const testsupport::Ink atBottom = InkOf(*bottom, bar, thumb);
    ASSERT_GT(atTop.count, 0);
    EXPECT_EQ(atTop.box.top, bar.top);
    EXPECT_EQ(atBottom.box.bottom, bar.bottom);
    EXPECT_EQ(atTop.box.Height(), atBottom.box.Height());
    EXPECT_EQ(atTop.box.Height(), bar.Height() / 10) << "a page of a tenth of the range";
}

} // namespace

// The scroll view: where it puts the canvas and the ruler, the vertical divisor that keeps
// the scroll range within 30000, the zoom commands and the order the pane's parts go in.
#include <cstdio>
#include <vector>

#include "tests/editor/editor_support.h"

namespace {

using edtest::PaneTest;

// A view over a desk of a size the test sets, in document pixels.
class DeskView : public CQlView {
public:
    using CQlView::CQlView;
    plat::Size m_extent{800, 1200};

protected:
    plat::Size GetDocExtent() const override { return m_extent; }
};

class ViewTest : public PaneTest {
protected:
    std::unique_ptr<CQlView> MakeView() override { return std::make_unique<DeskView>(&m_frame); }
    DeskView& desk() const { return static_cast<DeskView&>(*m_view); }
    void SetExtent(plat::Size extent)
    {
        desk().m_extent = extent;
        m_view->LayoutChildren();
    }
    // The view's client rectangle in the frame's coordinates.
    plat::Rect ClientInFrame() const
    {
        const plat::Rect c = m_view->GetClientRect();
        const plat::Point origin = m_frameWindow.ScreenToClient(m_view->ClientToScreen(plat::Point(0, 0)));
        return plat::Rect(origin.x, origin.y, origin.x + c.Width(), origin.y + c.Height());
    }
};

TEST_F(ViewTest, CanvasAndRulerAreSiblingsOfTheViewLaidOverItsClientArea)
{
    const plat::Rect client = ClientInFrame();
    ASSERT_EQ(m_frameWindow.GetChild(CQlCanvas::kControlId), m_view->GetCanvas());
    ASSERT_EQ(m_frameWindow.GetChild(CQlRuler::kControlId), m_view->GetRuler());
    EXPECT_EQ(m_view->GetRuler()->GetRect(), plat::Rect(client.left, client.top, client.right, client.top + 20));

    struct Row {
        plat::Size extent;
        bool ruler;
        plat::Rect expected; // relative to the client area's top left
    };
    const int w = client.Width();
    const int h = client.Height();
    const std::vector<Row> rows = {
        // A desk larger than the view: the canvas fills the client area under the ruler.
        {{2000, 5000}, true, {0, 20, w, h}},
        {{2000, 5000}, false, {0, 0, w, h}},
        // A smaller desk is centred, but never over the ruler.
        {{300, 200}, true, {(w - 300) / 2, (h - 200) / 2, (w - 300) / 2 + 300, (h - 200) / 2 + 200}},
        {{300, h - 30}, true, {(w - 300) / 2, 20, (w - 300) / 2 + 300, 20 + h - 30}},
    };
    for (const Row& r : rows) {
        desk().m_extent = r.extent;
        m_view->ShowRuler(r.ruler);
        plat::Rect expected = r.expected;
        expected.Offset(client.left, client.top);
        EXPECT_EQ(m_view->GetCanvas()->GetRect(), expected) << r.extent.cx << "x" << r.extent.cy << " ruler " << r.ruler;
        EXPECT_EQ(m_view->GetCanvas()->GetPlacement(), expected);
        EXPECT_EQ(m_view->GetRuler()->IsWindowVisible(), r.ruler);
        EXPECT_EQ(m_view->GetRulerHeight(), r.ruler ? 20 : 0);
    }
}

TEST_F(ViewTest, VerticalDivisorKeepsTheRangeWithin30000)
{
    const int h = m_view->GetClientRect().Height();
    struct Row {
        int height;
        int divisor;
    };
    for (const Row& r : {Row{29999, 1}, Row{30000, 1}, Row{30001, 2}, Row{90000, 3}, Row{90001, 4}}) {
        SetExtent(plat::Size(600, r.height));
        SCOPED_TRACE(r.height);
        EXPECT_EQ(m_view->GetDivisor(), r.divisor);
        EXPECT_LE(m_view->GetScrollTotal().cy, CQlView::kMaxVerticalRange + h);
        // The last position shows the desk's bottom row.
        m_view->ScrollToPosition(plat::Point(0, 1 << 30));
        const plat::Point last = m_view->GetScrollPosition();
        EXPECT_EQ(last.y, m_view->GetScrollUnitPosition().y * r.divisor);
        EXPECT_GE(last.y + m_view->GetCanvas()->GetClientRect().Height(), r.height);
        EXPECT_LT(last.y, r.height);
        m_view->ScrollToPosition(plat::Point());
    }
    // With divisor 2 a document pixel scrolls to half its value, and back to it.
    SetExtent(plat::Size(600, 30001));
    m_view->ScrollToDocPosition(plat::Point(0, 20001));
    EXPECT_EQ(m_view->GetScrollUnitPosition().y, 10000);
    EXPECT_EQ(m_view->GetScrollPosition().y, 20000);
    EXPECT_EQ(m_view->GetCanvas()->GetScrollOffset(), plat::Point(0, 20000));
    EXPECT_EQ(m_view->GetCanvas()->ClientToDoc(plat::Point(5, 7)), plat::Point(5, 20007));
}

TEST_F(ViewTest, ViewLowerThanTheRulerKeepsAOnePixelCanvas)
{
    DeskView low(&m_frame);
    // A client area 9 pixels high: less than the ruler's 20.
    ASSERT_TRUE(low.CreateView(&m_frameWindow, plat::Rect(0, 0, 300, 30), 2));
    ASSERT_LT(low.GetClientRect().Height(), 20);
    EXPECT_EQ(low.GetCanvas()->GetClientRect().Height(), 1);
    EXPECT_EQ(low.GetScrollPage().cy, 1);
    EXPECT_GT(low.GetScrollTotal().cy, 0);
}

TEST_F(ViewTest, RescaleKeepsTheRelativePosition)
{
    SetExtent(plat::Size(3000, 6000));
    m_view->ScrollToDocPosition(plat::Point(1000, 3000));
    desk().m_extent = plat::Size(6000, 12000);
    m_view->Rescale();
    // The total height counts the ruler's 20 pixels as well.
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(2000, 3000 * 12020 / 6020));
}

TEST_F(ViewTest, DestroyingTheViewTakesItsCanvasAndRulerAway)
{
    // A paint still queued for the canvas goes with it, before the document does.
    m_view->GetCanvas()->RequestRepaint();
    m_view.reset();
    EXPECT_TRUE(m_frameWindow.GetChildren().empty());
    EXPECT_EQ(plat::PumpMessages(), 0u);
}

TEST_F(ViewTest, ClipboardGoesThroughTheKernelUnderRegisteredNames)
{
    CDocView& view = *m_view;
    ASSERT_TRUE(view.OpenClipboard());
    EXPECT_FALSE(view.OpenClipboard()) << "open already";
    ASSERT_TRUE(view.EmptyClipboard());
    EXPECT_EQ(plat::GetClipboardOwner(), m_view.get());
    ASSERT_TRUE(view.SetClipboardData(kTextClipboardFormat, {1, 2, 3}));
    EXPECT_EQ(view.GetClipboardData(kTextClipboardFormat), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(view.GetClipboardData(kBlockClipboardFormat).has_value());
    view.CloseClipboard();
    // Another program reads it under the same name, in any case of letters.
    EXPECT_TRUE(plat::IsClipboardFormatAvailable(plat::RegisterClipboardFormat(u"quiln-text-clipboard")));
    EXPECT_TRUE(view.IsClipboardFormatAvailable(kTextClipboardFormat));
    EXPECT_FALSE(view.SetClipboardData(kTextClipboardFormat, {4})) << "closed";

    plat::SetClipboardFailures({.refuseOpen = false, .refuseEmpty = true});
    ASSERT_TRUE(view.OpenClipboard());
    EXPECT_FALSE(view.EmptyClipboard());
    view.CloseClipboard();
    plat::SetClipboardFailures({.refuseOpen = true, .refuseEmpty = false});
    EXPECT_FALSE(view.OpenClipboard());
    plat::SetClipboardFailures({});
}

// Zoom on the document itself: one page of text.
class ZoomTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        m_view->SetZoomComboSelect([this](int index) { m_comboSelections.push_back(index); });
        Fill(u"Zoom\r第二段\r");
    }
    // The canvas column where the first page begins on row y, as painted.
    int PageLeft(int y) const
    {
        const plat::Bitmap* s = canvas().GetSurface();
        for (int x = 0; s && x < s->Width(); ++x)
            if (s->GetPixel(x, y) == CQlCanvas::kPageColor) return x;
        return -1;
    }
    std::vector<int> m_comboSelections;
};

TEST_F(ZoomTest, CommandsRepaintAtTheirScaleKeepingTheRelativeHeight)
{
    struct Row {
        unsigned command;
        double zoom;
    };
    const std::vector<Row> rows = {{35030, 2.0}, {35031, 1.5}, {35032, 1.25}, {35034, 0.75},
                                   {35035, 0.5}, {35036, 0.25}, {35033, 1.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        m_view->ScrollToDocPosition(plat::Point(40, 300));
        const plat::Point before = m_view->GetScrollPosition();
        const plat::Size totalBefore = m_view->GetTotalSize();
        m_comboSelections.clear();
        plat::SendMessage(m_view.get(), plat::kWmCommand, r.command);
        plat::PumpMessages();
        EXPECT_EQ(doc().GetZoom(), r.zoom);
        EXPECT_EQ(m_comboSelections, std::vector<int>{int(r.command) - 35030});
        const plat::Size totalAfter = m_view->GetTotalSize();
        const plat::Size extent(doc().TwipsToPixels(doc().GetTotalExtent().cx),
                                doc().TwipsToPixels(doc().GetTotalExtent().cy));
        EXPECT_EQ(totalAfter.cx, extent.cx);
        const plat::Point after = m_view->GetScrollPosition();
        EXPECT_EQ(after.x, 0);
        const int page = m_view->GetScrollPage().cy;
        const int expected = std::min<int>(std::int64_t(before.y) * totalAfter.cy / totalBefore.cy,
                                           std::max(0, totalAfter.cy - page));
        EXPECT_EQ(after.y, expected);
        // Painted at the new scale: the page's left edge lies 200 twips into the desk.
        const int row = doc().TwipsToPixels(doc().GetPageRect(0).top) - after.y + 10;
        if (row >= 0 && row < canvas().GetClientRect().Height()) {
            EXPECT_EQ(PageLeft(row), doc().TwipsToPixels(200));
        }
    }
}

TEST_F(ZoomTest, TheZoomInForceOnlySelectsTheComboAgain)
{
    m_view->ScrollToDocPosition(plat::Point(40, 300));
    plat::PumpMessages();
    m_comboSelections.clear();
    const plat::Point before = m_view->GetScrollPosition();
    const plat::Size total = m_view->GetTotalSize();
    plat::SendMessage(m_view.get(), plat::kWmCommand, kCmdZoom100);
    EXPECT_EQ(m_view->GetScrollPosition(), before);
    EXPECT_EQ(m_view->GetTotalSize(), total);
    EXPECT_FALSE(canvas().NeedsPaint());
    EXPECT_EQ(m_comboSelections, std::vector<int>{3});
}

TEST_F(ZoomTest, OpeningAFileScrollsToTheTopAtZoom100)
{
    const plat::String path = plat::TempDir() + u"view_open_test.qln";
    ASSERT_EQ(doc().FileSave(path), 1);
    plat::SendMessage(m_view.get(), plat::kWmCommand, 35030);
    m_view->ScrollToDocPosition(plat::Point(200, 900));
    plat::PumpMessages();
    m_comboSelections.clear();
    ASSERT_EQ(doc().FileOpen(path, false), 1);
    plat::PumpMessages();
    EXPECT_EQ(doc().GetZoom(), 1.0);
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(0, 0));
    EXPECT_EQ(m_comboSelections, std::vector<int>{3});
    EXPECT_EQ(m_view->GetTotalSize().cx, doc().TwipsToPixels(doc().GetTotalExtent().cx));
    EXPECT_EQ(PageLeft(doc().TwipsToPixels(doc().GetPageRect(0).top) + 10), doc().TwipsToPixels(200));
    std::remove(plat::Utf16ToUtf8(path).c_str());
}

} // namespace

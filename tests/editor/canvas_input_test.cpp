// Keys, characters and scrolling through the canvas: what the kernel delivers (typed text,
// pressed keys) reaches the document, read-only and reference documents refuse edits but
// still move the caret, and a point scrolled into view keeps its margins.
#include <vector>

#include "platform/ui/keyboard.h"
#include "tests/editor/editor_support.h"

namespace {

using edtest::PaneTest;

class CanvasInputTest : public PaneTest {};

TEST_F(CanvasInputTest, TypingArrowsBackspaceAndDeleteEditThroughTheCanvas)
{
    Fill(u"abc", 1);
    ASSERT_EQ(plat::GetFocus(), &canvas());
    ASSERT_TRUE(plat::TypeText(u"XY"));
    plat::PumpMessages();
    EXPECT_EQ(Text(), "aXYbc");
    EXPECT_EQ(Caret(), 3);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_FALSE(canvas().NeedsPaint()) << "the edit was painted by the loop";

    plat::PressKey(plat::kVkLeft);
    plat::PumpMessages();
    EXPECT_EQ(Caret(), 2);
    plat::PressKey(plat::kVkBack);
    plat::PumpMessages();
    EXPECT_EQ(Text(), "aYbc");
    EXPECT_EQ(Caret(), 1);
    plat::PressKey(plat::kVkDelete);
    plat::PumpMessages();
    EXPECT_EQ(Text(), "abc");
    plat::PressKey(plat::kVkEnd);
    plat::PressKey(plat::kVkLeft, plat::kModShift);
    plat::PumpMessages();
    EXPECT_TRUE(body().HasSelection()) << "Shift extends";
    plat::TypeText(u"Z");
    plat::PumpMessages();
    EXPECT_EQ(Text(), "abZ") << "typing replaces the selection";
    plat::PressKey(plat::kVkHome, plat::kModCtrl);
    plat::PumpMessages();
    EXPECT_EQ(Caret(), 0);
    doc().EditUndo();
    EXPECT_EQ(Text(), "abc");
    // Tab and Enter arrive as characters too: each inserts once.
    body().SetCaret(CTextPos(1, body().GetName()));
    plat::PressKey(plat::kVkTab);
    plat::PressKey(plat::kVkReturn);
    plat::PumpMessages();
    const std::string typed = Text();
    doc().EditUndo();
    doc().EditUndo();
    ASSERT_EQ(Text(), "abc");
    body().SetCaret(CTextPos(1, body().GetName()));
    doc().InsertChar(u'\t');
    doc().InsertChar(u'\r');
    EXPECT_EQ(typed, Text());
}

TEST_F(CanvasInputTest, TheCaretIsScrolledIntoViewWhereverItGoes)
{
    plat::String text;
    for (int i = 0; i < 150; ++i) text += u"a line of its own\r";
    Fill(text);
    // Where the caret stands on the canvas, in pixels.
    auto caretOnCanvas = [&] {
        const plat::Point t = body().GetItemPagePos(body().GetCaretPos());
        const plat::Point s = canvas().GetScrollOffset();
        return plat::Point(doc().TwipsToPixels(t.x) - s.x, doc().TwipsToPixels(t.y) - s.y);
    };
    const int h = canvas().GetClientRect().Height();
    plat::PressKey(plat::kVkEnd, plat::kModCtrl);
    plat::PumpMessages();
    ASSERT_GT(m_view->GetScrollPosition().y, 0);
    EXPECT_GE(caretOnCanvas().y, 32);
    EXPECT_LT(caretOnCanvas().y, h);
    plat::TypeText(u"x");
    plat::PumpMessages();
    EXPECT_LT(caretOnCanvas().y, h);
    plat::PressKey(plat::kVkPrior);
    plat::PressKey(plat::kVkPrior);
    plat::PumpMessages();
    EXPECT_GE(caretOnCanvas().y, 32);
    EXPECT_LT(caretOnCanvas().y, h);
    // The first line lies below the page's top margin: it comes back 32 pixels down.
    plat::PressKey(plat::kVkHome, plat::kModCtrl);
    plat::PumpMessages();
    EXPECT_EQ(caretOnCanvas().y, 32);
}

TEST_F(CanvasInputTest, ReadOnlyAndReferenceDocumentsRefuseEditsButMoveTheCaret)
{
    enum class Kind { kReadOnly, kReference };
    struct Row {
        Kind kind;
        int key;       // 0: typing
        bool moves;    // the caret moves
    };
    const std::vector<Row> rows = {
        {Kind::kReadOnly, 0, false},          {Kind::kReadOnly, plat::kVkDelete, false},
        {Kind::kReadOnly, plat::kVkBack, false}, {Kind::kReadOnly, plat::kVkTab, false},
        {Kind::kReadOnly, plat::kVkRight, true}, {Kind::kReadOnly, plat::kVkNext, true},
        {Kind::kReference, 0, false},         {Kind::kReference, plat::kVkDelete, false},
        {Kind::kReference, plat::kVkBack, false}, {Kind::kReference, plat::kVkTab, false},
        {Kind::kReference, plat::kVkDown, true}, {Kind::kReference, plat::kVkEnd, true},
    };
    // Enough lines for Page Down to go somewhere.
    plat::String text;
    for (int i = 0; i < 60; ++i) text += u"line\r";
    Fill(text, 2);
    const std::string original = Text();
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << (r.kind == Kind::kReadOnly ? "read-only" : "reference") << " key " << r.key);
        doc().SetReadOnly(r.kind == Kind::kReadOnly);
        doc().SetReference(r.kind == Kind::kReference);
        body().SetCaret(CTextPos(2, body().GetName()));
        r.key ? plat::PressKey(r.key) : plat::TypeText(u"q");
        plat::PumpMessages();
        EXPECT_EQ(Text(), original);
        EXPECT_FALSE(doc().IsModified());
        EXPECT_EQ(Caret() != 2, r.moves);
    }
}

TEST_F(CanvasInputTest, PressDragAndReleaseSelectThroughTheCanvas)
{
    Fill(u"abcdefgh");
    plat::SetFocus(nullptr);
    // The canvas point of item i's left edge, mid-line.
    auto at = [&](int i) {
        const CTextItem* item = body().GetItem(i);
        const plat::Point s = canvas().GetScrollOffset();
        return canvas().ClientToScreen(plat::Point(doc().TwipsToPixels(item->GetLeft()) - s.x + 1,
                                                   doc().TwipsToPixels(item->GetTop() + item->GetHeight() / 2) - s.y));
    };
    plat::PostMouseInput(m_frameWindow, plat::kWmLButtonDown, at(2), plat::kMkLButton);
    plat::PumpMessages();
    EXPECT_EQ(plat::GetFocus(), &canvas()) << "the control window, which is the canvas here";
    EXPECT_EQ(plat::GetCapture(), &canvas());
    EXPECT_EQ(doc().GetFormatState()->m_dragActive, 1);
    EXPECT_EQ(Caret(), 2);
    plat::PostMouseInput(m_frameWindow, plat::kWmMouseMove, at(6), plat::kMkLButton);
    plat::PostMouseInput(m_frameWindow, plat::kWmLButtonUp, at(6));
    plat::PumpMessages();
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_EQ(doc().GetFormatState()->m_dragActive, 0);
    EXPECT_EQ(plat::Utf16ToUtf8(body().GetSelectedText()), "cdef");
    EXPECT_FALSE(canvas().NeedsPaint());
}

// A view over a desk of a size the test sets, counting the scroll messages it gets.
class CountingView : public CQlView {
public:
    using CQlView::CQlView;
    plat::Size m_extent{3000, 5000};
    int m_vscrolls = 0;
    int m_hscrolls = 0;

protected:
    plat::Size GetDocExtent() const override { return m_extent; }
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override
    {
        if (message == plat::kWmVScroll) ++m_vscrolls;
        if (message == plat::kWmHScroll) ++m_hscrolls;
        return CQlView::WindowProc(message, wParam, lParam);
    }
};

class ScrollToPointTest : public PaneTest {
protected:
    std::unique_ptr<CQlView> MakeView() override { return std::make_unique<CountingView>(&m_frame); }
    CountingView& view() const { return static_cast<CountingView&>(*m_view); }
};

TEST_F(ScrollToPointTest, PointsKeepTheirMarginsFromTheEdges)
{
    view().LayoutChildren();
    const int pw = m_view->GetClientRect().Width();
    const int ph = m_view->GetClientRect().Height();
    struct Row {
        const char* what;
        plat::Point from;  // scroll position before (document pixels)
        plat::Point point; // the point to show
        plat::Point to;    // scroll position after
    };
    const std::vector<Row> rows = {
        {"visible: nothing moves", {0, 0}, {200, 200}, {0, 0}},
        {"near the top left: to the top and the left", {100, 100}, {20, 40}, {0, 0}},
        {"near the top, left of the view", {100, 100}, {50, 40}, {18, 0}},
        {"above the top: 32 above it", {500, 1000}, {700, 800}, {500, 768}},
        {"below the bottom: 64 above the client's bottom", {0, 0}, {100, 1000}, {0, 1000 + 64 - ph}},
        {"left of the left edge: 32 to its left", {1000, 0}, {900, 100}, {868, 0}},
        {"within 32 of the left edge", {1000, 0}, {1020, 100}, {988, 0}},
        {"40 from the right edge: 64 from it", {0, 0}, {pw - 40, 100}, {24, 0}},
        {"past the desk's right end: to the end", {0, 0}, {2990, 100}, {3000 - pw, 0}},
        {"past the desk's bottom: to the bottom", {0, 0}, {100, 4990}, {0, m_view->GetScrollTotal().cy - m_view->GetScrollPage().cy}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        m_view->ScrollToDocPosition(r.from);
        canvas().ScrollToPoint(r.point);
        EXPECT_EQ(m_view->GetScrollPosition(), r.to);
    }
}

TEST_F(ScrollToPointTest, AtTheTopAlreadyNoScrollMessageIsSent)
{
    view().LayoutChildren();
    view().m_vscrolls = view().m_hscrolls = 0;
    canvas().ScrollToPoint(plat::Point(10, 10));
    EXPECT_EQ(view().m_vscrolls, 0);
    EXPECT_EQ(view().m_hscrolls, 0);
    m_view->ScrollToDocPosition(plat::Point(0, 100));
    canvas().ScrollToPoint(plat::Point(10, 10));
    EXPECT_EQ(view().m_vscrolls, 2) << "SB_TOP, then SB_ENDSCROLL";
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(0, 0));
}

TEST_F(ScrollToPointTest, ScrollBarsAndTheWheelRepaintTheCanvas)
{
    view().LayoutChildren();
    plat::PumpMessages();
    plat::ClickScrollBar(*m_view, plat::kSbVert, plat::kSbLineDown);
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(0, 10));
    EXPECT_TRUE(canvas().NeedsPaint());
    plat::PumpMessages();
    plat::DragScrollThumb(*m_view, plat::kSbVert, {100, 400});
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(0, 400));
    // A notch down: the wheel's 120 and the framework's three lines of 10.
    plat::SendMessage(&canvas(), plat::kWmMouseWheel, plat::MakeWParam(0, static_cast<unsigned>(-120)));
    EXPECT_EQ(m_view->GetScrollPosition(), plat::Point(0, 400 + 120 + 30));
}

} // namespace

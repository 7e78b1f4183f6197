// Drawing a table with the mouse through the page canvas: while the drag goes on, the
// canvas shows the lattice of the table the drag would make; on release the table is made
// and the lattice is gone.
#include <gtest/gtest.h>

#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "platform/gfx/bitmap.h"
#include "tests/editor/editor_support.h"

namespace {

class TablePreview : public edtest::PaneTest {
protected:
    static void SetUpTestSuite() { RegisterObjectKinds(); }

    void Mouse(unsigned message, plat::Point client, unsigned keys)
    {
        plat::PostMouseInput(m_frameWindow, message, canvas().ClientToScreen(client), keys);
        plat::PumpMessages();
    }
    bool Ink(plat::Point client) const
    {
        return canvas().GetSurface()->GetPixel(client.x, client.y) != CQlCanvas::kPageColor;
    }
    // The top-left corner of page 0's text area on the canvas.
    plat::Point TextCorner() const
    {
        const plat::Rect t = doc().TwipsToPixelsRect(doc().GetPageTextRect(0));
        const plat::Point s = canvas().GetScrollOffset();
        return plat::Point(t.left - s.x, t.top - s.y);
    }
};

TEST_F(TablePreview, TheDragShowsTheLatticeOfTheTableItMakesAndReleaseRemovesIt)
{
    struct Case {
        const char* what;
        unsigned zoomCommand;
        plat::Point drag; // pixels from the press
        int rows, columns;
    };
    const Case cases[] = {
        // 3000 x 1500 twips.
        {"100 %", kCmdZoom100, {200, 100}, 3, 3},
        // 1800 twips high; the width counts as the least drag, 100 pixels.
        {"one column", kCmdZoom100, {40, 120}, 4, 1},
        // 1125 x 750 twips: too small for two of either, so the lattice of 3 x 3 reaches
        // past the dragged rectangle.
        {"a small drag at 200 %", kCmdZoomFirst, {150, 50}, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::SendMessage(m_view.get(), plat::kWmCommand, c.zoomCommand);
        m_view->ScrollToPosition(plat::Point());
        plat::PumpMessages();
        const int objects = body().GetObjectCount();
        ASSERT_NE(doc().BeginInsertTable(), nullptr);
        const plat::Point press = TextCorner() + plat::Point(30, 30);
        const plat::Point to = press + c.drag;
        auto y = [&](int row) { return press.y + doc().TwipsToPixels(row * kDefaultRowHeight); };
        auto x = [&](int column) { return press.x + doc().TwipsToPixels(column * kDefaultColumnWidth); };
        // Mid-row and mid-column points of the lattice, where no line of it passes.
        auto midY = [&](int row) { return (y(row) + y(row + 1)) / 2; };
        auto midX = [&](int column) { return (x(column) + x(column + 1)) / 2; };

        Mouse(plat::kWmLButtonDown, press, plat::kMkLButton);
        Mouse(plat::kWmMouseMove, to, plat::kMkLButton);
        for (int row = 1; row < c.rows; ++row) {
            SCOPED_TRACE(testing::Message() << "row line " << row);
            EXPECT_TRUE(Ink({midX(0), y(row)}));
            EXPECT_TRUE(Ink({midX(c.columns - 1), y(row)}));
            EXPECT_FALSE(Ink({midX(0), y(row) + 3}));
        }
        for (int column = 1; column < c.columns; ++column) {
            SCOPED_TRACE(testing::Message() << "column line " << column);
            EXPECT_TRUE(Ink({x(column), midY(0)}));
            EXPECT_TRUE(Ink({x(column), midY(c.rows - 1)}));
            EXPECT_FALSE(Ink({x(column) + 3, midY(0)}));
        }
        // The lattice ends at its last row and column.
        EXPECT_TRUE(Ink({midX(0), y(c.rows)}));
        EXPECT_FALSE(Ink({midX(0), y(c.rows) + 5}));
        EXPECT_TRUE(Ink({x(c.columns), midY(0)}));
        EXPECT_FALSE(Ink({x(c.columns) + 5, midY(0)}));

        Mouse(plat::kWmLButtonUp, to, 0);
        ASSERT_EQ(body().GetObjectCount(), objects + 1);
        auto* table = dynamic_cast<CTableObject*>(body().GetObject(objects));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->GetGrid()->GetRows(), c.rows);
        EXPECT_EQ(table->GetGrid()->GetColumns(), c.columns);
        // The table's own rules stand inside its margins, off the lattice's lines.
        for (int row = 1; row < c.rows; ++row) EXPECT_FALSE(Ink({midX(0), y(row)})) << "row line " << row;
        for (int column = 1; column < c.columns; ++column)
            EXPECT_FALSE(Ink({x(column), midY(0)})) << "column line " << column;
        // The next case draws where this table stands.
        doc().EditUndo();
        ASSERT_EQ(body().GetObjectCount(), objects);
    }
}

} // namespace

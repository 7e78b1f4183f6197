// A new table from its creation drag: one row for every 400 twips of the drag's height and
// one column for every 900 twips of its width, within what the table commands allow. While
// the drag goes on, the rubber band shows the lattice of the table it would make.
#include <algorithm>

#include "document/char_format.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/point_list.h"
#include "objects/table_object.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/pen_brush.h"

namespace {

constexpr int kLeastDragPixels = 100;
constexpr int kRowStep = kDefaultRowHeight;      // twips of drag height a row
constexpr int kColumnStep = kDefaultColumnWidth; // twips of drag width a column
constexpr int kSmallTable = 3;   // rows and columns of a drag too small for two of either
// The most rows and columns the table commands and the import let a table have.
constexpr int kMaxRows = 59;
constexpr int kMaxColumns = 19;

} // namespace

plat::Size CTableObject::CountsForDrag(int widthPixels, int heightPixels) const
{
    const int width = std::max(kLeastDragPixels, widthPixels);
    const int height = std::max(kLeastDragPixels, heightPixels);
    const plat::Point size = m_doc->PixelsToTwipsPoint(width, height);
    int rows = std::max(1, size.y / kRowStep);
    int columns = std::max(1, size.x / kColumnStep);
    if (rows < 2 && columns < 2) rows = columns = kSmallTable;
    // A large drag, or one at a small zoom, makes the largest table allowed.
    return plat::Size(std::min(columns, kMaxColumns), std::min(rows, kMaxRows));
}

bool CTableObject::CompleteCreation(const CCreationGesture& gesture)
{
    plat::Rect drag(gesture.start.x, gesture.start.y, gesture.current.x, gesture.current.y);
    drag.Normalize();
    const plat::Size counts = CountsForDrag(drag.Width(), drag.Height());
    m_bounds.left = m_doc->PixelsToTwips(drag.left);
    m_bounds.top = m_doc->PixelsToTwips(drag.top);
    CreateGrid(counts.cy, counts.cx);
    return true;
}

void CTableObject::DrawTracker(plat::Dc& dc, double zoom, const CPointList& points)
{
    if (points.GetCount() > 0 && m_doc) {
        // The rows and columns of the table the drag would make, in cells of the default
        // size from the dragged rectangle's corner.
        const plat::Rect drag = GetPointBounds(points);
        const plat::Size counts = CountsForDrag(drag.Width(), drag.Height());
        const int right = drag.left + TwipsToPixels(dc, zoom, counts.cx * kColumnStep);
        const int bottom = drag.top + TwipsToPixels(dc, zoom, counts.cy * kRowStep);
        CRenderContext rc(m_doc, dc);
        rc.SetPen(dc, plat::kPenSolid, 1, kAutoTextColor);
        for (int row = 0; row <= counts.cy; ++row) {
            const int y = drag.top + TwipsToPixels(dc, zoom, row * kRowStep);
            dc.MoveTo(drag.left, y);
            dc.LineTo(right + 1, y);
        }
        for (int column = 0; column <= counts.cx; ++column) {
            const int x = drag.left + TwipsToPixels(dc, zoom, column * kColumnStep);
            dc.MoveTo(x, drag.top);
            dc.LineTo(x, bottom + 1);
        }
        rc.Restore(dc);
    }
    CFloatObject::DrawTracker(dc, zoom, points);
}

// A new table from its creation drag: one row for every 400 twips of the drag's height and
// one column for every 900 twips of its width, within what the table commands allow.
#include <algorithm>

#include "objects/table_object.h"

namespace {

constexpr int kLeastDragPixels = 100;
constexpr int kRowStep = 400;    // twips of drag height a row
constexpr int kColumnStep = 900; // twips of drag width a column
constexpr int kSmallTable = 3;   // rows and columns of a drag too small for two of either
// The most rows and columns the table commands and the import let a table have.
constexpr int kMaxRows = 59;
constexpr int kMaxColumns = 19;

} // namespace

bool CTableObject::CompleteCreation(const CCreationGesture& gesture)
{
    const plat::Point a = gesture.start, b = gesture.current;
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int width = std::max(kLeastDragPixels, std::max(a.x, b.x) - left);
    const int height = std::max(kLeastDragPixels, std::max(a.y, b.y) - top);
    const plat::Point size = m_doc->PixelsToTwipsPoint(width, height);
    int rows = std::max(1, size.y / kRowStep);
    int columns = std::max(1, size.x / kColumnStep);
    if (rows < 2 && columns < 2) rows = columns = kSmallTable;
    // A large drag, or one at a small zoom, makes the largest table allowed.
    rows = std::min(rows, kMaxRows);
    columns = std::min(columns, kMaxColumns);
    m_bounds.left = m_doc->PixelsToTwips(left);
    m_bounds.top = m_doc->PixelsToTwips(top);
    CreateGrid(rows, columns);
    return true;
}

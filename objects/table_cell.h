// One cell of a table grid: a text frame placed in a rectangle of the grid that may span
// several grid rows and columns. The cell keeps its span, its rectangle in table-local
// twips, where its text stands inside the rectangle (by its vertical alignment) and the
// measures the grid's layout reads. The text box is the rectangle inset by kCellPadding / 2
// on every side.
#pragma once
#include <cstdint>

#include "document/format_state.h"
#include "document/text_frame.h"
#include "platform/base/geometry.h"

class CTableGrid;
class CRenderContext;
class CRtfFontTable;
class CRtfColorTable;
namespace plat {
class Dc;
class Stream;
}

// A cell is its text box plus this much, half on each side (twips).
constexpr int kCellPadding = 80;
// The narrowest content width the grid lets a cell have (twips).
constexpr int kMinCellContentWidth = 210;

class CTableCell : public CTextFrameObj {
public:
    // A new empty cell of the span and rectangle, laid out.
    CTableCell(CDocContext* doc, CTableGrid* grid, int startRow, int startCol, int endRow, int endCol, int x, int y,
               int width, int height);
    // An empty cell whose fields and text the grid's record fills.
    CTableCell(CDocContext* doc, CTableGrid* grid);
    ~CTableCell() override;

    // Stores the size, gives the text frame the size less the padding, and lays out.
    void SetSize(int width, int height);
    // Stores the corner and places the text by the vertical alignment, without re-flowing.
    void SetPosition(int x, int y);
    // Re-flows the text in the frame, takes its measures and places it again.
    void Relayout(int all, int retry) override;

    plat::Rect GetRect() const { return plat::Rect(m_x, m_y, m_x + m_cellWidth, m_y + m_cellHeight); }
    plat::Size GetTextSize() const { return plat::Size(m_textWidth, m_textHeight); }
    // (largest right edge, largest bottom edge) of the laid-out items; the width is at least
    // kMinCellContentWidth.
    plat::Size GetContentExtent() const;
    // Paints the text with (x, y) the pixel position of the table's corner.
    void DrawAt(plat::Dc& dc, double zoom, int x, int y, CRenderContext& rc, int pass = 1);
    // Moves the other cell's items in before this cell's final paragraph end (the other's
    // own final paragraph end stays behind), then lays out.
    void AppendItemsFrom(CTableCell& other);

    // Whether the caret can still move inside the text in each direction; the grid's arrow
    // keys leave the cell when it cannot.
    bool CanMoveLeft() const;
    bool CanMoveRight() const;
    bool CanMoveUp() const;
    bool CanMoveDown() const;

    // Deletes the text under the revision rules: paragraph ends and the current author's
    // own text go, other authors' text stays marked deleted; the final paragraph end stays.
    void ClearText();

    CTableGrid* GetGrid() const;
    // An interactive check selects the table alone and makes this cell the current one
    // before it shows an error in the cell's text.
    void FocusForSpellCheck() override;

    // The cell's text in the export formats (table_export.cpp): HTML spans in code page 936
    // or UTF-16, RTF runs ending with the cell mark.
    void WriteHtml(plat::Stream& out) const;
    void WriteHtmlW(plat::Stream& out) const;
    void WriteRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors) const;

    std::int32_t m_startRow = 0;
    std::int32_t m_startCol = 0;
    std::int32_t m_endRow = 0; // inclusive
    std::int32_t m_endCol = 0; // inclusive
    std::int32_t m_x = 0;      // table-local twips
    std::int32_t m_y = 0;
    std::int32_t m_cellWidth = 0;
    std::int32_t m_cellHeight = 0;
    std::int32_t m_visited = 0; // scratch flag of the grid's passes
    std::int32_t m_textX = 0;   // table-local twips
    std::int32_t m_textY = 0;
    std::int32_t m_textWidth = 0;
    std::int32_t m_textHeight = 0;
    std::uint8_t m_verticalAlign = kAlignMiddle;

protected:
    // The text stands at the table's place on the desk plus the text's corner.
    plat::Point GetPageOrigin() const override;
};

// One axis of a table grid: its grid rows, or its grid columns. The edits that work line by
// line (insert, delete, collapse, the lines a split adds) and the sizes read back from
// the cells are the same along either axis; an Axis names, for one of them, the lines,
// the slots across them, the cells' fields along and across, and the two kinds of rule
// segment: the boundaries between the lines and the segments along each line.
#pragma once
#include <memory>
#include <vector>

#include "objects/table_grid.h"

struct CTableGrid::Axis {
    using Field = std::int32_t CTableCell::*;

    Axis(CTableGrid& grid, bool alongRows)
        : g(grid), rows(alongRows),
          start(alongRows ? &CTableCell::m_startRow : &CTableCell::m_startCol),
          end(alongRows ? &CTableCell::m_endRow : &CTableCell::m_endCol),
          pos(alongRows ? &CTableCell::m_y : &CTableCell::m_x),
          size(alongRows ? &CTableCell::m_cellHeight : &CTableCell::m_cellWidth),
          crossStart(alongRows ? &CTableCell::m_startCol : &CTableCell::m_startRow),
          crossEnd(alongRows ? &CTableCell::m_endCol : &CTableCell::m_endRow),
          defaultSize(alongRows ? kDefaultRowHeight : kDefaultColumnWidth)
    {
    }

    // How many lines, and how many slots across each.
    std::int32_t& Count() { return rows ? g.m_rows : g.m_columns; }
    int Cross() const { return rows ? g.m_columns : g.m_rows; }
    CTableCell*& Slot(int line, int across) { return rows ? g.m_cells[line][across] : g.m_cells[across][line]; }
    // Boundary b lies before line b; Side(line, b) is the segment of the line at cross
    // boundary b.
    std::unique_ptr<CBorderLine>& Boundary(int b, int across)
    {
        return rows ? g.m_horizontalLines[b][across] : g.m_verticalLines[across][b];
    }
    std::unique_ptr<CBorderLine>& Side(int line, int b)
    {
        return rows ? g.m_verticalLines[line][b] : g.m_horizontalLines[b][line];
    }
    int CurrentLine() const
    {
        const CCellPos p = g.CurrentSlot();
        return rows ? p.m_row : p.m_column;
    }
    CCellPos Position(int line, int across) const { return rows ? CCellPos(line, across) : CCellPos(across, line); }
    // Moves the cell along the axis, or makes it longer along it (its text follows).
    void Move(CTableCell& q, int delta) const
    {
        if (rows) q.SetPosition(q.m_x, q.m_y + delta);
        else q.SetPosition(q.m_x + delta, q.m_y);
    }
    void Grow(CTableCell& q, int delta) const
    {
        if (rows) q.SetSize(q.m_cellWidth, q.m_cellHeight + delta);
        else q.SetSize(q.m_cellWidth + delta, q.m_cellHeight);
    }
    // A new empty cell of one slot, with its place and size along and across the axis.
    CTableCell* NewCell(int line, int across, int alongPos, int acrossPos, int alongSize, int acrossSize) const
    {
        return rows ? new CTableCell(g.m_doc, &g, line, across, line, across, acrossPos, alongPos, acrossSize, alongSize)
                    : new CTableCell(g.m_doc, &g, across, line, across, line, alongPos, acrossPos, alongSize, acrossSize);
    }
    // The size of each line: the far edge of the first cell, across, that ends in it.
    std::vector<int> Sizes()
    {
        std::vector<int> sizes(static_cast<size_t>(Count()), 0);
        int edge = kTableMargin;
        for (int line = 0; line < Count(); ++line) {
            for (int a = 0; a < Cross(); ++a) {
                const CTableCell* q = Slot(line, a);
                if (q->*end != line) continue;
                sizes[static_cast<size_t>(line)] = q->*pos + q->*size - edge;
                break;
            }
            edge += sizes[static_cast<size_t>(line)];
        }
        return sizes;
    }
    Axis Other() const { return Axis(g, !rows); }

    CTableGrid& g;
    bool rows;
    Field start, end, pos, size; // along the axis
    Field crossStart, crossEnd;  // across it
    int defaultSize;
};

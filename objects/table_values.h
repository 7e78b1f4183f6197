// Small values of the table model: a slot of the cell grid, one segment of a rule line
// and the six kinds of line the border dialog edits. They are copied by value and
// compared field by field.
#pragma once
#include <cstdint>

#include "platform/file/archive.h"

// Line kinds of a rule segment, in the order of the border dialog's style list.
enum LineStyle : std::int32_t {
    kLineNone = 1,        // not drawn
    kLineThin = 2,        // thin solid: every segment's default
    kLineDash = 3,
    kLineDot = 4,
    kLineDashDot = 5,
    kLineDashDotDot = 6,
    kLineSolid2 = 7,      // solid, widths in 1/96 inch
    kLineSolid4 = 8,
    kLineSolid6 = 9,
    kLineSolid8 = 10,
    kLineSolid10 = 11,
    kLineSolid12 = 12,
    kLineSolid16 = 13,
};

// The document's automatic text colour, resolved when the line is drawn or exported.
constexpr std::int32_t kLineAutoColor = static_cast<std::int32_t>(0x80000001u);

// A slot of the table grid. A merged cell covers several slots, so two positions can
// name the same cell and still differ.
class CCellPos {
public:
    CCellPos() = default;
    CCellPos(std::int32_t row, std::int32_t column) : m_row(row), m_column(column) {}
    CCellPos(const CCellPos&) = default;
    CCellPos& operator=(const CCellPos&) = default;
    virtual ~CCellPos() = default;

    bool operator==(const CCellPos& o) const { return m_row == o.m_row && m_column == o.m_column; }
    bool operator!=(const CCellPos& o) const { return !(*this == o); }

    std::int32_t m_row = 0;
    std::int32_t m_column = 0;
};

// One segment of a table rule: a line kind and a colour (or the automatic colour).
class CBorderLine {
public:
    CBorderLine() = default;
    CBorderLine(std::int32_t style, std::int32_t colour) : m_style(style), m_colour(colour) {}
    CBorderLine(const CBorderLine&) = default;
    CBorderLine& operator=(const CBorderLine&) = default;
    virtual ~CBorderLine() = default;

    bool operator!=(const CBorderLine& o) const { return m_style != o.m_style || m_colour != o.m_colour; }
    bool operator==(const CBorderLine& o) const { return !(*this != o); }

    // Style then colour, 32 bits each, in every archive mode. The values are kept as they
    // are read: the painter skips kinds it has no pen for.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

    std::int32_t m_style = kLineThin;
    std::int32_t m_colour = kLineAutoColor;
};

// The lines of one cell or of a rectangle of cells.
class CBorderSet {
public:
    CBorderSet() = default;
    CBorderSet(const CBorderSet&) = default;
    CBorderSet& operator=(const CBorderSet&) = default;
    virtual ~CBorderSet() = default;

    // Any of the six lines differs; the two flags say what the rectangle has and are not
    // an edit, so they take no part.
    bool operator!=(const CBorderSet& o) const;
    bool operator==(const CBorderSet& o) const { return !(*this != o); }

    CBorderLine m_top;
    CBorderLine m_innerHorizontal;
    CBorderLine m_bottom;
    CBorderLine m_left;
    CBorderLine m_innerVertical;
    CBorderLine m_right;
    std::int32_t m_hasInnerHorizontal = 1; // more than one cell row
    std::int32_t m_hasInnerVertical = 1;   // more than one cell column
};

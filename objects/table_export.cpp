// The table's writers of the HTML and RTF exports: the grid as a table element with one
// td per cell, or as RTF rows with every cell's borders and right edge, and each cell's
// text as spans or runs through the text flow's export pieces. The table object's export
// slots and its font and colour passes call them.
#include <string>

#include "document/html_export.h"
#include "document/rtf_tables.h"
#include "document/text_item.h"
#include "document/units.h"
#include "objects/table_cell.h"
#include "objects/table_grid.h"
#include "objects/table_object.h"
#include "platform/file/file.h"
#include "platform/gfx/dc.h"

namespace {

// The markup that differs between the two HTML variants.
struct HtmlTableMarkup {
    const char16_t* table;
    const char16_t* size;
    const char16_t* valignTop;
    const char16_t* valignMiddle;
    const char16_t* valignBottom;
    const char16_t* align[5]; // by paragraph alignment 0-4
    const char16_t* rowspan;
    const char16_t* colspan;
};

constexpr HtmlTableMarkup kHtml8Bit = {
    u"<table border=1 style=\"border-collapse:collapse\">\n",
    u"width=%d height=%d ",
    u"valign=top ",
    u"valign=middle ",
    u"valign=bottom ",
    {u"", u"align=left ", u"align=right ", u"align=center ", u"align=justify "},
    u"rowspan=%d ",
    u"colspan=%d ",
};

// The UTF-16 page has no justified value: a justified cell is written left-aligned.
constexpr HtmlTableMarkup kHtmlUtf16 = {
    u"<table border=\"1\" bordercolor=\"#111111\" style=\"border-collapse:collapse\">\n",
    u"width=\"%d\" height=\"%d\" ",
    u"valign=\"top\" ",
    u"valign=\"middle\" ",
    u"valign=\"bottom\" ",
    {u"", u"align=\"left\" ", u"align=\"right\" ", u"align=\"center\" ", u"align=\"left\" "},
    u"rowspan=\"%d\" ",
    u"colspan=\"%d\" ",
};

void Put(plat::Stream& out, bool wide, plat::StringView text)
{
    if (wide)
        WriteStringW(out, text);
    else
        WriteCp936(out, text);
}

bool IsSkipped(const CTextItem& item)
{
    return item.IsDeleted() || item.GetNodeType() == kItemAnchor;
}

// The cell's text as spans; the 8-bit page marks no paragraph break, the UTF-16 page opens
// a div at each ordinary paragraph end.
void WriteCellHtml(const CTableCell& cell, plat::Stream& out, bool wide)
{
    CHtmlRunState run;
    const auto open = [&](int index) {
        if (const CTextItem* item = cell.GetItem(index))
            wide ? cell.HtmlOpenRunW(out, *item, run) : cell.HtmlOpenRun(out, *item, run);
    };
    const auto close = [&] { wide ? CTextFlow::HtmlCloseRunW(out, run) : HtmlCloseRun(out, run); };
    open(0);
    for (int i = 0; i < cell.GetCount(); ++i) {
        const CTextItem& item = *cell.GetItem(i);
        if (IsSkipped(item)) continue;
        switch (item.GetNodeType()) {
        case kItemFinalParaEnd:
            close();
            break;
        case kItemSpace:
            wide ? CTextFlow::HtmlWriteSpaceItemW(out, item) : CTextFlow::HtmlWriteSpaceItem(out, item);
            break;
        case kItemParaEnd:
        case kItemParaPageBreak:
            close();
            if (wide && item.GetNodeType() == kItemParaEnd) WriteStringW(out, u"<div>");
            open(i + 1);
            break;
        default:
            if (wide) {
                cell.HtmlUpdateRunW(out, item, run);
                CTextFlow::HtmlWriteCharW(out, item);
            } else {
                cell.HtmlUpdateRun(out, item, run);
                CTextFlow::HtmlWriteChar(out, item);
            }
            break;
        }
    }
}

} // namespace

// ---- cells ----

void CTableCell::WriteHtml(plat::Stream& out) const
{
    WriteCellHtml(*this, out, false);
}

void CTableCell::WriteHtmlW(plat::Stream& out) const
{
    WriteCellHtml(*this, out, true);
}

void CTableCell::WriteRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors) const
{
    CRtfRunState run;
    if (const CTextItem* first = GetItem(0)) WriteRtfRunFormat(out, fonts, colors, *first, run, true);
    static constexpr const char* kAlign[] = {"", "\\ql\n", "\\qr\n", "\\qc\n", "\\qj\n"};
    const std::uint8_t align = GetRunningParaFormat().m_align;
    if (align <= kAlignMax) WriteAscii(out, kAlign[align]);
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem& item = *GetItem(i);
        if (IsSkipped(item)) continue;
        switch (item.GetNodeType()) {
        case kItemFinalParaEnd:
            WriteAscii(out, "\n\\cell\n");
            break;
        case kItemSpace:
            WriteRtfSpaceItem(out, fonts, item, run);
            break;
        case kItemParaEnd:
        case kItemParaPageBreak:
            WriteAscii(out, "\n\\par\n");
            if (const CTextItem* next = GetItem(i + 1)) WriteRtfRunFormat(out, fonts, colors, *next, run, true);
            break;
        default:
            WriteRtfRunFormat(out, fonts, colors, item, run, false);
            break;
        }
    }
}

// ---- the grid ----

namespace {

int WriteGridHtml(const CTableGrid& grid, plat::Stream& out, bool wide)
{
    const HtmlTableMarkup& m = wide ? kHtmlUtf16 : kHtml8Bit;
    const plat::Dc desktop;
    Put(out, wide, m.table);
    for (int r = 0; r < grid.GetRows(); ++r) {
        Put(out, wide, u"<tr>\n");
        for (int c = 0; c < grid.GetColumns(); ++c) {
            const CTableCell* cell = grid.GetCell(r, c);
            if (!cell || cell->m_startRow != r || cell->m_startCol != c) continue;
            plat::String td = u"<td ";
            td += plat::Format(m.size, TwipsToPixels(desktop, 1.0, cell->m_cellWidth),
                               TwipsToPixels(desktop, 1.0, cell->m_cellHeight));
            switch (cell->m_verticalAlign) {
            case kAlignTop: td += m.valignTop; break;
            case kAlignMiddle: td += m.valignMiddle; break;
            case kAlignBottom: td += m.valignBottom; break;
            default: break;
            }
            const std::uint8_t align = cell->GetRunningParaFormat().m_align;
            if (align <= kAlignMax) td += m.align[align];
            if (cell->m_endRow > cell->m_startRow) td += plat::Format(m.rowspan, cell->m_endRow - cell->m_startRow + 1);
            if (cell->m_endCol > cell->m_startCol) td += plat::Format(m.colspan, cell->m_endCol - cell->m_startCol + 1);
            td += u">\n";
            Put(out, wide, td);
            if (!cell->IsEmpty()) wide ? cell->WriteHtmlW(out) : cell->WriteHtml(out);
            Put(out, wide, u"</td>\n");
        }
        Put(out, wide, u"</tr>\n");
    }
    Put(out, wide, u"</table>\n");
    return 1;
}

} // namespace

int CTableGrid::WriteHtml(plat::Stream& out)
{
    return WriteGridHtml(*this, out, false);
}

int CTableGrid::WriteHtmlW(plat::Stream& out)
{
    return WriteGridHtml(*this, out, true);
}

int CTableGrid::WriteRtf(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors)
{
    for (int r = 0; r < m_rows; ++r) {
        // The cells met in the row at their first column, left to right.
        std::vector<const CTableCell*> cells;
        for (int c = 0; c < m_columns; ++c)
            if (const CTableCell* cell = m_cells[r][c]; cell && cell->m_startCol == c) cells.push_back(cell);

        std::string head = "\\trowd \n";
        std::int64_t right = 0;
        for (const CTableCell* cell : cells) {
            if (cell->m_endRow > cell->m_startRow) head += r == cell->m_startRow ? "\\clvmgf \n" : "\\clvmrg \n";
            switch (cell->m_verticalAlign) {
            case kAlignTop: head += "\\clvertalt \n"; break;
            case kAlignMiddle: head += "\\clvertalc \n"; break;
            case kAlignBottom: head += "\\clvertalb \n"; break;
            default: break;
            }
            // Every cell gets single borders, whatever the grid's line styles.
            head += "\\clbrdrt\\brdrs\\brdrw10 \n\\clbrdrl\\brdrs\\brdrw10 \n\\clbrdrb\\brdrs\\brdrw10 \n"
                    "\\clbrdrr\\brdrs\\brdrw10 \n";
            right += cell->m_cellWidth;
            head += "\\cellx" + std::to_string(right) + "\n";
        }
        head += "\\pard\\qj\\li0\\ri0\\nowidctlpar\\intbl\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\n{\n";
        WriteAscii(out, head);
        for (const CTableCell* cell : cells) {
            if (r == cell->m_startRow)
                cell->WriteRtf(out, fonts, colors);
            else
                WriteAscii(out, "\\cell\n");
        }
        WriteAscii(out, "}\n\\row\n");
    }
    WriteAscii(out, "\\pard \\qj \\li0\\ri0\\nowidctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \n"
                    "{\\par}");
    return 1;
}

void CTableGrid::CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            if (CTableCell* cell = m_cells[r][c]; cell && cell->m_endRow == r && cell->m_endCol == c)
                cell->CollectRtfFonts(out, fonts);
}

void CTableGrid::CollectRtfColors(plat::Stream& out, CRtfColorTable& colors)
{
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            if (CTableCell* cell = m_cells[r][c]; cell && cell->m_endRow == r && cell->m_endCol == c)
                cell->CollectRtfColors(out, colors);
}

// ---- the table object's export slots ----

int CTableObject::WriteHtml(plat::Stream& out, const plat::String&, const plat::String&, const plat::String&, bool)
{
    return m_grid ? m_grid->WriteHtml(out) : 1;
}

int CTableObject::WriteHtmlW(plat::Stream& out, const plat::String&, const plat::String&, const plat::String&, bool)
{
    return m_grid ? m_grid->WriteHtmlW(out) : 1;
}

void CTableObject::WriteRtfPicture(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors)
{
    if (m_grid) m_grid->WriteRtf(out, fonts, colors);
}

void CTableObject::WriteRtfShape(plat::Stream& out, int, int, const CRtfFontTable& fonts,
                                 const CRtfColorTable& colors)
{
    if (m_grid) m_grid->WriteRtf(out, fonts, colors);
}

void CTableObject::CollectRtfFonts(plat::Stream& out, CRtfFontTable& fonts)
{
    if (m_grid) m_grid->CollectRtfFonts(out, fonts);
}

void CTableObject::CollectRtfColors(plat::Stream& out, CRtfColorTable& colors)
{
    if (m_grid) m_grid->CollectRtfColors(out, colors);
}

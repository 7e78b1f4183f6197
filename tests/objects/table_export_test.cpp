// The table's HTML and RTF writers: the grid's markup byte for byte in both HTML variants
// and in RTF (spans of merged cells, alignments, empty cells, paragraphs inside a cell),
// the font and colour passes over the cells, and the table written through the body's
// exports.
#include <gtest/gtest.h>

#include <string>

#include "document/html_export.h"
#include "document/rtf_tables.h"
#include "document/text_item.h"
#include "tests/objects/table_support.h"
#include "platform/file/file.h"
#include "tests/document/html_rtf_export_support.h"

using namespace tabletest;
using exporttest::Contains;
using exporttest::PlainFormat;
using exporttest::Px;
using exporttest::Wide;

namespace {

class TableExport : public TableTest {
protected:
    // Every cell's final paragraph end takes the plain format, so empty cells write it.
    CTableGrid& MakePlain(int rows, int columns)
    {
        CTableGrid& g = Make(rows, columns);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) g.GetCell(r, c)->GetItem(0)->SetFormat(PlainFormat());
        return g;
    }
    // Text in the format before the cell's final paragraph end ("\r" ends a paragraph).
    void Put(int row, int column, plat::StringView text, const CCharFormat& format = PlainFormat())
    {
        CTableCell* cell = Grid().GetCell(row, column);
        int at = cell->GetCount() - 1;
        cell->InsertString(at, plat::String(text), format);
        Grid().RelayoutCell(cell->m_startRow, cell->m_startCol, 0);
    }
    std::string Html(bool wide)
    {
        plat::MemFile out;
        EXPECT_EQ(wide ? Grid().WriteHtmlW(out) : Grid().WriteHtml(out), 1);
        return std::string(out.Data().begin(), out.Data().end());
    }
    // The RTF rows with tables filled by the grid's own passes.
    std::string Rtf(CRtfFontTable& fonts, CRtfColorTable& colors)
    {
        plat::MemFile scratch;
        fonts.AddFont(u"Times New Roman", 0);
        colors.AddColor(0);
        Grid().CollectRtfFonts(scratch, fonts);
        Grid().CollectRtfColors(scratch, colors);
        plat::MemFile out;
        EXPECT_EQ(Grid().WriteRtf(out, fonts, colors), 1);
        return std::string(out.Data().begin(), out.Data().end());
    }
    std::string Rtf()
    {
        CRtfFontTable fonts;
        CRtfColorTable colors;
        return Rtf(fonts, colors);
    }
    // The opening "<td ...>\n" of a cell in the 8-bit page, its attributes after the size.
    std::string Td(int row, int column, const std::string& attributes)
    {
        const CTableCell* q = Grid().GetCell(row, column);
        return "<td width=" + std::to_string(Px(q->m_cellWidth)) + " height=" + std::to_string(Px(q->m_cellHeight)) +
               " " + attributes + ">\n";
    }
    std::string TdW(int row, int column, const std::string& attributes)
    {
        const CTableCell* q = Grid().GetCell(row, column);
        return "<td width=\"" + std::to_string(Px(q->m_cellWidth)) + "\" height=\"" +
               std::to_string(Px(q->m_cellHeight)) + "\" " + attributes + ">\n";
    }
};

const std::string kSpan = "<span style='font-family:Times New Roman; font-size:10.50pt'>";
const std::string kSpanW = "<span style=\"font-family:Times New Roman; font-size:10.50pt\">";
const std::string kRowHead = "\\clbrdrt\\brdrs\\brdrw10 \n\\clbrdrl\\brdrs\\brdrw10 \n\\clbrdrb\\brdrs\\brdrw10 \n"
                             "\\clbrdrr\\brdrs\\brdrw10 \n";
const std::string kRowText =
    "\\pard\\qj\\li0\\ri0\\nowidctlpar\\intbl\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\n{\n";
const std::string kTableEnd =
    "\\pard \\qj \\li0\\ri0\\nowidctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \n{\\par}";
// The run header of a cell paragraph in plain text: font 0, colour 1 (black), 10.5 pt.
const std::string kPlainRun = "\\f0\\cf1\\fs21 \\b0 \\i0 \\ul0 ";

TEST_F(TableExport, MergedLeftColumnWritesRowspanAndVerticalMergeMarks)
{
    MakePlain(2, 2);
    Select(CCellPos(0, 0), CCellPos(1, 0));
    ASSERT_TRUE(Grid().CanMerge());
    Grid().MergeCells();
    Put(0, 0, u"A");
    Put(0, 1, u"B");
    Put(1, 1, u"C");

    EXPECT_EQ(Html(false), "<table border=1 style=\"border-collapse:collapse\">\n<tr>\n" +
                               Td(0, 0, "valign=middle align=left rowspan=2 ") + kSpan + "A</span></td>\n" +
                               Td(0, 1, "valign=middle align=left ") + kSpan + "B</span></td>\n</tr>\n<tr>\n" +
                               Td(1, 1, "valign=middle align=left ") + kSpan + "C</span></td>\n</tr>\n</table>\n");
    EXPECT_EQ(Html(true),
              Wide("<table border=\"1\" bordercolor=\"#111111\" style=\"border-collapse:collapse\">\n<tr>\n" +
                   TdW(0, 0, "valign=\"middle\" align=\"left\" rowspan=\"2\" ") + kSpanW + "A</span></td>\n" +
                   TdW(0, 1, "valign=\"middle\" align=\"left\" ") + kSpanW + "B</span></td>\n</tr>\n<tr>\n" +
                   TdW(1, 1, "valign=\"middle\" align=\"left\" ") + kSpanW + "C</span></td>\n</tr>\n</table>\n"));

    const std::string w0 = std::to_string(Grid().GetCell(0, 0)->m_cellWidth);
    const std::string w01 = std::to_string(Grid().GetCell(0, 0)->m_cellWidth + Grid().GetCell(0, 1)->m_cellWidth);
    const auto cell = [](const std::string& text) { return kPlainRun + "\\ql\n" + text + "\n\\cell\n"; };
    EXPECT_EQ(Rtf(), "\\trowd \n\\clvmgf \n\\clvertalc \n" + kRowHead + "\\cellx" + w0 + "\n\\clvertalc \n" + kRowHead +
                         "\\cellx" + w01 + "\n" + kRowText + cell("A") + cell("B") + "}\n\\row\n" +
                         "\\trowd \n\\clvmrg \n\\clvertalc \n" + kRowHead + "\\cellx" + w0 + "\n\\clvertalc \n" +
                         kRowHead + "\\cellx" + w01 + "\n" + kRowText + "\\cell\n" + cell("C") + "}\n\\row\n" +
                         kTableEnd);
}

// One cell at a time, the first of a 2 x 2 table (its first row merged for a span): what its
// attributes and text become in each writer.
struct CellCase {
    const char* name;
    bool mergeRow;          // the two columns merged into one cell
    std::uint8_t align;     // paragraph alignment of cell (0, 0)
    std::uint8_t valign;    // its vertical alignment
    const char16_t* text;   // its text ("\r" ends a paragraph)
    std::string html;       // the 8-bit td's attributes after the size, then its content
    std::string htmlW;      // the same in the UTF-16 page (ASCII here)
    std::string rtfHead;    // the RTF cell definition before its borders
    std::string rtfText;    // what the cell's text writes in RTF
};

TEST_F(TableExport, CellAttributesAndTextInEachWriter)
{
    const std::vector<CellCase> cases = {
        {"empty cell", false, kAlignLeft, kAlignTop, u"", "valign=top align=left >\n", "valign=\"top\" align=\"left\" >\n",
         "\\clvertalt \n", kPlainRun + "\\ql\n\n\\cell\n"},
        {"justified", false, kAlignJustify, kAlignBottom, u"x", "valign=bottom align=justify >\n" + kSpan + "x</span>",
         "valign=\"bottom\" align=\"left\" >\n" + kSpanW + "x</span>", "\\clvertalb \n",
         kPlainRun + "\\qj\nx\n\\cell\n"},
        {"centred", false, kAlignCentre, kAlignMiddle, u"x", "valign=middle align=center >\n" + kSpan + "x</span>",
         "valign=\"middle\" align=\"center\" >\n" + kSpanW + "x</span>", "\\clvertalc \n",
         kPlainRun + "\\qc\nx\n\\cell\n"},
        {"two paragraphs", false, kAlignRight, kAlignTop, u"a\rb",
         "valign=top align=right >\n" + kSpan + "a</span>" + kSpan + "b</span>",
         "valign=\"top\" align=\"right\" >\n" + kSpanW + "a</span><div>" + kSpanW + "b</span>", "\\clvertalt \n",
         kPlainRun + "\\qr\na\n\\par\n" + kPlainRun + "b\n\\cell\n"},
        {"spanning two columns", true, kAlignLeft, kAlignTop, u"w",
         "valign=top align=left colspan=2 >\n" + kSpan + "w</span>",
         "valign=\"top\" align=\"left\" colspan=\"2\" >\n" + kSpanW + "w</span>", "\\clvertalt \n",
         kPlainRun + "\\ql\nw\n\\cell\n"},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.name);
        table = std::make_unique<CTableObject>(&doc, nullptr);
        acting = table.get();
        MakePlain(2, 2);
        if (c.mergeRow) {
            Select(CCellPos(0, 0), CCellPos(0, 1));
            ASSERT_TRUE(Grid().CanMerge());
            Grid().MergeCells();
        }
        CTableCell& q = *Grid().GetCell(0, 0);
        CParaFormat p = q.GetRunningParaFormat();
        p.m_align = c.align;
        q.SetRunningParaFormat(p);
        q.m_verticalAlign = c.valign;
        Put(0, 0, c.text);

        const std::string html = Html(false);
        const std::string htmlW = Html(true);
        const std::string rtf = Rtf();
        // Td's attributes end with ">\n"; the case gives them and the content.
        const std::string td = Td(0, 0, ""), tdW = TdW(0, 0, "");
        EXPECT_TRUE(Contains(html, td.substr(0, td.size() - 2) + c.html + "</td>\n")) << html;
        EXPECT_TRUE(Contains(htmlW, Wide(tdW.substr(0, tdW.size() - 2) + c.htmlW + "</td>\n")));
        const std::string width = std::to_string(q.m_cellWidth);
        EXPECT_TRUE(Contains(rtf, "\\trowd \n" + c.rtfHead + kRowHead + "\\cellx" + width + "\n")) << rtf;
        EXPECT_TRUE(Contains(rtf, kRowText + c.rtfText)) << rtf;
        // The 8-bit page marks no paragraph break inside a cell.
        EXPECT_FALSE(Contains(html, "<div>"));
    }
}

TEST_F(TableExport, CellFacesAndColoursEnterTheExportTablesAndRunsUseThem)
{
    MakePlain(1, 2);
    CCharFormat red = PlainFormat();
    red.m_westernFace = u"Arial Black";
    red.m_color = plat::Rgb(255, 0, 0);
    red.m_bold = 1;
    Put(0, 1, u"R", red);
    Put(0, 0, u"中", PlainFormat());

    CRtfFontTable fonts;
    CRtfColorTable colors;
    const std::string rtf = Rtf(fonts, colors);
    const int arial = fonts.Find(u"Arial Black", 0);
    const int song = fonts.Find(u"宋体", 134);
    const int redNumber = colors.Find(plat::Rgb(255, 0, 0));
    ASSERT_GE(arial, 0);
    ASSERT_GE(song, 0);
    ASSERT_GT(redNumber, 0);
    // The Chinese cell switches to the Chinese face; the red cell's run header names its
    // face and colour, then the bold word before the character.
    EXPECT_TRUE(Contains(rtf, "\\f" + std::to_string(song))) << rtf;
    EXPECT_TRUE(Contains(rtf, "\\f" + std::to_string(arial) + "\\cf" + std::to_string(redNumber) +
                                  "\\fs21 \\b0 \\i0 \\ul0 \\ql\n\\b R\n\\cell\n"))
        << rtf;
    // The HTML span carries the colour as #RRGGBB and the bold element.
    EXPECT_TRUE(Contains(Html(false), "<span style='font-family:Arial Black; font-size:10.50pt; color:#ff0000'><b>R"
                                      "</b></span>"));
}

} // namespace

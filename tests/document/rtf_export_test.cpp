// RTF: the file frame byte for byte, the tables, the run and paragraph words, and the page
// objects as pictures and shapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/float_object.h"
#include "document/rtf_tables.h"
#include "tests/document/html_rtf_export_support.h"
#include "tests/document/test_object.h"
#include "tests/io/pdf_support.h"

using namespace exporttest;

namespace {

std::string RtfFile(ExportDoc& d, const std::string& name)
{
    const std::string path = pdftest::Dir("rtf") + name;
    EXPECT_EQ(d.doc.ExportRtf(pdftest::U(path)), 1);
    return pdftest::Text(testsupport::ReadFile(path));
}

// The body alone, with tables collected as the export collects them.
std::string RtfBody(ExportDoc& d)
{
    plat::MemFile head, out;
    CRtfFontTable fonts;
    CRtfColorTable colors;
    d.Body().CollectRtfFonts(head, fonts);
    d.Body().CollectRtfColors(head, colors);
    d.Body().ExportRtf(out, fonts, colors);
    return std::string(out.Data().begin(), out.Data().end());
}

const std::string kHead = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\r\n"
                          "{\\fonttbl\r\n"
                          "{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}\r\n"
                          "{\\f1\\fnil\\fcharset134\\fprq2 \xCB\xCE\xCC\xE5;}\r\n"
                          "}\r\n"
                          "{\\colortbl;\\red0\\green0\\blue0;}\r\n"
                          // 200 x 287 mm paper, 20 mm margins.
                          "\\paperw11338\\paperh16270\\margl1133\\margr1133\\margt1133\\margb1133\\gutter0";

TEST(RtfExportTest, OneParagraphFileByteForByte)
{
    ExportDoc d;
    d.Append(u"AB");
    d.SetParagraphs(4, 2);
    EXPECT_EQ(RtfFile(d, "ab.rtf"), kHead + "\\qj\\fi0\\li0\\ri0\\sl315\r\n\\f0\\cf1\\fs21 \\b0 \\i0 \\ul0 AB\r\n\\par\r\n}\r\n");
}

TEST(RtfExportTest, EmptyDocument)
{
    // A new document's paragraph is justified with spacing code 2.
    ExportDoc d;
    EXPECT_EQ(RtfFile(d, "empty.rtf"), kHead + "\\qj\\fi0\\li0\\ri0\\sl315\r\n\\f0\\cf1\\fs21 \\b0 \\i0 \\ul0 \r\n\\par\r\n}\r\n");
}

TEST(RtfExportTest, FontTableEntries)
{
    CRtfFontTable fonts;
    EXPECT_EQ(fonts.AddFont(u"Times New Roman", 0), 0);
    EXPECT_EQ(fonts.AddFont(u"Arial Black", 0), 1);
    EXPECT_EQ(fonts.AddFont(u"Courier New", 0), 2);
    EXPECT_EQ(fonts.AddFont(u"楷体", 134), 3);
    EXPECT_EQ(fonts.AddFont(u"Arial Black", 0), 1);
    EXPECT_EQ(fonts.AddFont(u"Arial Black", 134), 4);
    // A face holding the table's own punctuation stays one readable entry.
    EXPECT_EQ(fonts.AddFont(u"Odd;{Face}\\", 0), 5);
    plat::MemFile out;
    fonts.Write(out);
    fonts.WriteFontRef(out, u"Courier New", 0);
    fonts.WriteFontRef(out, u"Missing", 0);
    EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()),
              "{\\fonttbl\n"
              "{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}\n"
              "{\\f1\\fswiss\\fprq6\\fcharset0 Arial Black;}\n"
              "{\\f2\\fmodern\\fprq2\\fcharset0 Courier New;}\n"
              "{\\f3\\fnil\\fcharset134\\fprq2 \xBF\xAC\xCC\xE5;}\n"
              "{\\f4\\fswiss\\fprq6\\fcharset134 Arial Black;}\n"
              "{\\f5\\froman\\fprq2\\fcharset0 Odd\\'3b\\'7bFace\\'7d\\'5c;}\n"
              "}\n"
              "\\f2\\f0");
}

TEST(RtfExportTest, ColourTable)
{
    CRtfColorTable colors;
    EXPECT_EQ(colors.AddColor(0), 1);
    EXPECT_EQ(colors.AddColor(0x0080FF), 2);
    EXPECT_EQ(colors.AddColor(0), 1);
    plat::MemFile out;
    colors.Write(out);
    colors.WriteColorRef(out, 0x0080FF);
    colors.WriteColorRef(out, 0x123456);
    EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()),
              "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green128\\blue0;}\n\\cf2\\cf0");
}

TEST(RtfExportTest, RunWordsAndCharacters)
{
    struct Row {
        const char* name;
        plat::String text;
        void (*change)(CCharFormat&);
        std::string bits;
    };
    const Row rows[] = {
        {"raised", u"2", [](CCharFormat& f) { f.m_position = 1; }, "x\\super 2\\nosupersub "},
        {"lowered", u"2", [](CCharFormat& f) { f.m_position = 2; }, "x\\sub 2\\nosupersub "},
        {"dotted", u"u", [](CCharFormat& f) { f.m_underline = 3; }, "x\\uld u"},
        {"double", u"u", [](CCharFormat& f) { f.m_underline = 2; }, "x\\uldb u"},
        {"single", u"u", [](CCharFormat& f) { f.m_underline = 1; }, "x\\ul u"},
        {"bold italic", u"b", [](CCharFormat& f) { f.m_bold = f.m_italic = 1; }, "x\\b\\i b"},
        {"size", u"s", [](CCharFormat& f) { f.m_size = 300; }, "x\\fs30 s"},
        {"escapes", u"\\{}", [](CCharFormat&) {}, "x\\\\\\{\\}"},
        {"code page", u"中", [](CCharFormat&) {}, "x\\f1 \xD6\xD0"},
        // No code page form up to U+00FF: a hexadecimal escape in the Western font; the
        // next character writes its font again.
        {"hex escape", u"\u00A9z", [](CCharFormat& f) { f.m_westernFace = u"Arial"; },
         "\\lang1033\\f0\\'a9\\lang2052\\f0 \\f2 z"},
        {"trademark", u"\u2122", [](CCharFormat&) {}, "x\\f1 \\lang1033\\f0\\'99\\lang2052\\f0 "},
        {"beyond the code page", u"\u0E01", [](CCharFormat&) {}, "\\u3585?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExportDoc d;
        d.Append(u"x");
        CCharFormat f = PlainFormat();
        row.change(f);
        d.Append(row.text, f);
        const std::string body = RtfBody(d);
        EXPECT_TRUE(Contains(body, row.bits)) << body;
    }
}

TEST(RtfExportTest, PageBreaksDeletedTextAndSpaces)
{
    ExportDoc d;
    d.Append(u"ab\rc　d");
    d.Body().GetItem(1)->SetDeletedBy(1);
    int at = 1;
    d.Body().SetCaret(CTextPos(at, d.Body().GetStartPos().m_name));
    d.Body().InsertPageBreak();
    d.Body().RelayoutWhole();
    const std::string body = RtfBody(d);
    // The page break's paragraph end, the plain one, then the final one.
    const size_t page = body.find("\n\\page\n");
    const size_t par = body.find("\n\\par\n");
    ASSERT_NE(page, std::string::npos) << body;
    ASSERT_NE(par, std::string::npos) << body;
    EXPECT_LT(page, par);
    EXPECT_EQ(body.find("\n\\page\n", page + 1), std::string::npos);
    EXPECT_TRUE(Contains(body, "\\ul0 a\n\\page\n")) << body;
    // The ideographic space is written in the Chinese font.
    EXPECT_TRUE(Contains(body, "c\\f1 \xA1\xA1\\f0 d")) << body;
}

TEST(RtfExportTest, ABlankOfAWideFaceStaysABlankInEveryWriter)
{
    ExportDoc d;
    d.Append(u"a b", StyledFormat(u"Courier New", 240, false, false, 0, 0));
    const CTextItem& blank = *d.Body().GetItem(1);
    // Wider than half its height, as an ideographic space would be.
    ASSERT_GT(blank.GetWidth(), blank.GetHeight() / 2);
    EXPECT_TRUE(Contains(RtfBody(d), "a b\n\\par")) << RtfBody(d);
    EXPECT_TRUE(Contains(d.Html(false), "a b</span>")) << d.Html(false);
    EXPECT_TRUE(Contains(d.Html(true), Wide("a b</span>"))) << d.Html(true);
}

TEST(RtfExportTest, HexLinesOfAHundredBytes)
{
    plat::MemFile out;
    WriteRtfHexLines(out, std::vector<std::uint8_t>(250, 0xAB));
    const std::string text(out.Data().begin(), out.Data().end());
    auto hex = [](int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i) s += "ab";
        return s;
    };
    EXPECT_EQ(text, hex(100) + "\n" + hex(100) + "\n" + hex(50) + "\n");
}

TEST(RtfExportTest, ObjectsAsPicturesAndShapes)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"第一段\r第二段\r第三段");
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    const int top = d.Body().GetItem(4)->GetTop();
    // In the text, wrap mode 0 on layer 3; below the text, a plain picture.
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 3000, top, 1500, 750, kWrapNone, 3, 1));
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 3000, frame.bottom - 1000, 1500, 750, kWrapBoth, 2, 2));
    const std::vector<std::string> before = pdftest::List(plat::TempDirUtf8());
    const std::string body = RtfBody(d);
    // Shapes are placed from the text area's left twice over, less 400 twips.
    const int originX = 2 * frame.left - 400;
    const std::string shape = "\n{\\shp{\\*\\shpinst\\shpleft" + std::to_string(frame.left + 3000 - originX) +
                              "\\shptop0\\shpright" + std::to_string(frame.left + 4500 - originX) + "\\shpbottom750\\shpfhdr0\\shpbxpage\\shpbxignore"
                              "\\shpbypara\\shpwr1\\shpz3\n{\\sp{\\sn shapeType}{\\sv 75}}\n{\\sp{\\sn pib}{\\sv "
                              "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                              "\\picw101\\pich51\\picwgoal1500\\pichgoal750\\jpegblip\nffd8ff";
    EXPECT_TRUE(Contains(body, shape)) << body.substr(0, 600);
    EXPECT_TRUE(Contains(body, "}}}}}\n"));
    const size_t pict = body.find("\n\\par\n{\\pict\\picw101\\pich51\\picwgoal1500\\pichgoal750\\jpegblip\nffd8ff");
    ASSERT_NE(pict, std::string::npos) << body;
    EXPECT_EQ(body.substr(body.size() - 7), "ffd9\n}\n");
    // The scratch pictures are gone.
    EXPECT_EQ(pdftest::List(plat::TempDirUtf8()).size(), before.size());
}

} // namespace

namespace {

// The selection's items only, from its own paragraph's properties on; objects are written
// only as shapes among the selected text, none after it.
TEST(RtfExportTest, SelectionWritesItsItemsAndTheShapesAmongThem)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"first\rsecond\rthird");
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    // Beside the second paragraph's line, and far below the text.
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 4000, d.Body().GetItem(8)->GetTop() - 1, 1500, 750,
                                          kWrapNone));
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 4000, frame.bottom - 1000, 1500, 750));
    CTextPos caret = d.Body().GetStartPos(), anchor = caret;
    anchor.m_index = 2;  // "rst\rsec"
    caret.m_index = 9;
    d.Body().SetSelection(caret, anchor);
    plat::MemFile head, out;
    CRtfFontTable fonts;
    CRtfColorTable colors;
    d.Body().CollectRtfFonts(head, fonts);
    d.Body().CollectRtfColors(head, colors);
    d.Body().ExportRtfSelection(out, fonts, colors);
    const std::string body(out.Data().begin(), out.Data().end());
    EXPECT_EQ(body.rfind("\\qj\\fi0\\li0\\ri0\\sl315\n\\f0\\cf1\\fs21 \\b0 \\i0 \\ul0 rst\n\\par\n", 0), 0u) << body;
    EXPECT_EQ(body.find("{\\pict\\picw"), std::string::npos);
    const size_t shape = body.find("\n{\\shp{");
    ASSERT_NE(shape, std::string::npos) << body.substr(0, 300);
    EXPECT_EQ(body.find("\n{\\shp{", shape + 1), std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 3), "sec");
}

} // namespace

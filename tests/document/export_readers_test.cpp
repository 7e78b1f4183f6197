// The exported pages read back by outside programs: python3's HTML parser reads both HTML
// pages by their declared charset, pandoc reads the RTF; each yields the paragraphs of the
// plain-text export in order and the text of a table's cells, and every picture a page
// names exists (a drawn shape is one of them).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/float_object.h"
#include "objects/object_kinds.h"
#include "objects/table_object.h"
#include "tests/document/html_rtf_export_support.h"
#include "tests/document/test_object.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/shape_test_support.h"

using namespace exporttest;

namespace {

// The text without blanks of any kind, which the readers lay out in their own ways.
plat::String WithoutBlanks(plat::StringView text)
{
    plat::String out;
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != 0xA0 && c != 0x3000) out += c;
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

struct ReadBack {
    std::string charset;
    plat::String text; // every paragraph, blanks removed, joined
    std::vector<plat::String> cells; // every td element's text, blanks removed
    std::vector<std::string> images;
    int missing = 0;
};

ReadBack Read(const std::string& args)
{
    std::string out;
    EXPECT_EQ(pdftest::Run(std::string(QUILN_PYTHON3) + " " + QUILN_EXPORT_READER + " " + args, &out), 0) << out;
    ReadBack r;
    for (const std::string& line : Lines(out)) {
        if (line.rfind("C\t", 0) == 0) r.charset = line.substr(2);
        if (line.rfind("P\t", 0) == 0) r.text += WithoutBlanks(plat::Utf8ToUtf16(line.substr(2)));
        if (line.rfind("T\t", 0) == 0) r.cells.push_back(WithoutBlanks(plat::Utf8ToUtf16(line.substr(2))));
        if (line.rfind("I\t", 0) == 0) {
            r.images.push_back(line.substr(2, line.rfind('\t') - 2));
            if (line.back() != '1') ++r.missing;
        }
    }
    return r;
}

// The plain-text export's paragraphs, each found in the read text after the one before.
void ExpectParagraphsInOrder(const std::vector<plat::String>& paragraphs, const plat::String& text)
{
    size_t at = 0;
    for (const plat::String& p : paragraphs) {
        const plat::String want = WithoutBlanks(p);
        if (want.empty()) continue;
        const size_t found = text.find(want, at);
        ASSERT_NE(found, plat::String::npos) << plat::Utf16ToUtf8(want) << " after " << at << " in "
                                             << plat::Utf16ToUtf8(text);
        at = found + want.size();
    }
}

TEST(ExportReadersTest, OutsideProgramsReadEveryParagraph)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    CCharFormat bold = PlainFormat(), italicRed = PlainFormat(), raised = PlainFormat(), code = PlainFormat();
    bold.m_bold = 1;
    italicRed.m_italic = 1;
    italicRed.m_color = 0x0000FF;
    raised.m_position = 1;
    code.m_westernFace = u"Courier New";
    code.m_size = 240;
    code.m_underline = 2;
    d.Append(u"第一段 Normal text 正文。\r");
    d.Append(u"粗体 Bold ", bold);
    d.Append(u"斜体 italic", italicRed);
    d.Append(u"x2", raised);
    d.Append(u"\rDeleted: ");
    const int deletedFrom = d.Body().GetCount() - 1;
    d.Append(u"删掉的字");
    for (int i = deletedFrom; i < deletedFrom + 4; ++i) d.Body().GetItem(i)->SetDeletedBy(1);
    d.Append(u" kept 新加的\r");
    // Text inserted by the second author is written like any other.
    for (int i = d.Body().GetCount() - 5; i < d.Body().GetCount() - 2; ++i) d.Body().GetItem(i)->SetInsertedBy(1);
    d.Append(u"Code <tag> & {braces} \\ more\r", code);
    d.Append(u"Thai \u0E01 sign \u00A9 and 度\u00B0\r\r");
    d.Body().SetCaret(d.Body().GetEndPos());
    d.Body().InsertPageBreak();
    d.Append(u"第二页的文字。");
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 2000, d.Body().GetItem(30)->GetTop() + 200, 1500,
                                          750, kWrapNone, 2, 1));
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 2000, frame.bottom + 30000, 1500, 750));
    // After the text: a drawn line and a table of two cells.
    RegisterObjectKinds();
    d.Body().AddObject(shapetest::MakeShape(
        d.doc, {0x1101, {{frame.left + 5000, frame.bottom + 30000}, {frame.left + 6500, frame.bottom + 30750}}}));
    auto table = std::make_unique<CTableObject>(&d.doc, nullptr);
    CTableGrid& grid = table->CreateGrid(1, 2);
    const plat::String cellText[] = {u"表格 cell", u"Red 红"};
    for (int c = 0; c < 2; ++c) {
        CTableCell* cell = grid.GetCell(0, c);
        int at = cell->GetCount() - 1;
        cell->InsertString(at, cellText[c], PlainFormat());
        grid.RelayoutCell(0, c, 0);
    }
    table->TakeGridSize();
    table->m_bounds = plat::Rect(frame.left, frame.bottom + 32000, frame.left + table->m_width,
                                 frame.bottom + 32000 + table->m_height);
    table->RecalcLayout();
    d.Body().AddObject(std::move(table));
    d.Body().RecalcAllObjects();

    const std::string dir = pdftest::Dir("readers");
    ASSERT_EQ(d.doc.ExportFile(0, pdftest::U(dir + "plain.txt")), 1);
    const std::string plainBytes = pdftest::Text(testsupport::ReadFile(dir + "plain.txt"));
    plat::String plain;
    for (size_t k = 2; k + 1 < plainBytes.size(); k += 2)
        plain += static_cast<char16_t>(static_cast<unsigned char>(plainBytes[k]) |
                                       (static_cast<unsigned char>(plainBytes[k + 1]) << 8));
    std::vector<plat::String> paragraphs;
    for (size_t at = 0;;) {
        const size_t end = plain.find(u'\n', at);
        paragraphs.push_back(plain.substr(at, end == plat::String::npos ? end : end - at));
        if (end == plat::String::npos) break;
        at = end + 1;
    }
    ASSERT_GE(paragraphs.size(), 6u);
    EXPECT_EQ(plain.find(u"删掉"), plat::String::npos);

    ASSERT_EQ(d.doc.ExportHtml(pdftest::U(dir + "page.htm")), 1);
    ASSERT_EQ(d.doc.ExportEHtml(pdftest::U(dir + "wide.htm"), pdftest::U(dir + "list.txt")), 1);
    ASSERT_EQ(d.doc.ExportRtf(pdftest::U(dir + "doc.rtf")), 1);

    for (const char* page : {"page.htm", "wide.htm"}) {
        SCOPED_TRACE(page);
        const ReadBack r = Read("html " + dir + page);
        EXPECT_EQ(r.charset, std::string(page) == "page.htm" ? "gb2312" : "unicode");
        ExpectParagraphsInOrder(paragraphs, r.text);
        EXPECT_EQ(r.images.size(), 3u);
        EXPECT_EQ(r.missing, 0);
        for (const plat::String& cell : cellText)
            EXPECT_NE(std::find(r.cells.begin(), r.cells.end(), WithoutBlanks(cell)), r.cells.end())
                << plat::Utf16ToUtf8(cell);
    }
    const ReadBack rtf = Read(std::string("rtf ") + QUILN_PANDOC + " " + dir + "doc.rtf");
    ExpectParagraphsInOrder(paragraphs, rtf.text);
    ExpectParagraphsInOrder({cellText[0], cellText[1]}, rtf.text);
}

} // namespace

// The exported pages read back by outside programs: python3's HTML parser reads both HTML
// pages by their declared charset, pandoc reads the RTF; each yields the paragraphs of the
// plain-text export in order and the text of a table's cells, and every picture a page
// names exists (the text shape, the picture and the drawn line are pictures).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/float_object.h"
#include "objects/object_kinds.h"
#include "tests/io/pdf_support.h"
#include "tests/objects/mixed_export_document.h"

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
    RegisterObjectKinds();
    ExportDoc d;
    const std::string dir = pdftest::Dir("readers");
    const MixedContent content = BuildMixedDocument(d, dir);
    const std::vector<plat::String>& cellText = content.cellText;

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
        // The text shape, the picture and the line; the table is written as a table.
        EXPECT_EQ(r.images.size(), PictureBoxes(d.Body()).size());
        EXPECT_EQ(r.missing, 0);
        for (const plat::String& cell : cellText)
            EXPECT_NE(std::find(r.cells.begin(), r.cells.end(), WithoutBlanks(cell)), r.cells.end())
                << plat::Utf16ToUtf8(cell);
    }
    const ReadBack rtf = Read(std::string("rtf ") + QUILN_PANDOC + " " + dir + "doc.rtf");
    ExpectParagraphsInOrder(paragraphs, rtf.text);
    ExpectParagraphsInOrder(cellText, rtf.text);
    UnregisterDocObjects();
}

} // namespace

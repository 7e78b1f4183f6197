// The body's HTML in both variants: the paragraph, run and character markup byte for
// byte, and where the page objects go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>
#include <string>
#include <sys/stat.h>

#include "document/float_object.h"
#include "document/html_export.h"
#include "platform/gfx/bitmap.h"
#include "tests/document/html_rtf_export_support.h"
#include "tests/document/test_object.h"
#include "tests/io/pdf_support.h"

using namespace exporttest;

namespace {

std::string TableOpen(CDocBody& body)
{
    return "<table border=\"0\" width=\"" + std::to_string(TextWidthPx(body)) + "px\">\n";
}

// A run opened at a paragraph end takes the Chinese face.
TEST(HtmlBodyTest, EmptyDocumentInBothVariants)
{
    ExportDoc d;
    d.SetParagraphs(0, 0);
    const std::string div = "<div style=' line-height:14px; text-indent:0px; margin-left:0px; margin-right:0px'>\n";
    const std::string span = "<span style='font-family:\xCB\xCE\xCC\xE5; font-size:10.50pt'>";
    EXPECT_EQ(d.Html(false), TableOpen(d.Body()) + div + span + "</span></div>\n</table>");

    const std::string divW =
        "<div style=\" line-height:14px;  text-indent:0px; margin-left:0px; margin-right:0px\">\n";
    const std::string spanW = "<span style=\"font-family:宋体; font-size:10.50pt\">";
    EXPECT_EQ(d.Html(true),
              Wide(plat::Utf8ToUtf16(TableOpen(d.Body()) + "<td>\n" + divW + spanW + "</span></div>\n</td>\n</table>")));
}

TEST(HtmlBodyTest, ParagraphsRunsAndCharacters)
{
    struct Row {
        const char* name;
        plat::String text;
        CCharFormat format;
        std::uint8_t align, spacing;
        std::string bits8;     // what the 8-bit page holds
        std::string bitsWide;  // what the UTF-16 page holds, as UTF-8
    };
    CCharFormat plain = PlainFormat();
    CCharFormat big = plain;
    big.m_size = 240;
    CCharFormat boldItalic = plain;
    boldItalic.m_bold = boldItalic.m_italic = 1;
    CCharFormat red = plain;
    red.m_color = 0x0000FF; // BGR: red
    CCharFormat raised = plain;
    raised.m_position = 1;
    const Row rows[] = {
        {"markup characters", u"a<b&c>", plain, 0, 0,
         "<span style='font-family:Times New Roman; font-size:10.50pt'>a&lt;b&amp;c&gt;</span>",
         "<span style=\"font-family:Times New Roman; font-size:10.50pt\">a&lt;b&amp;c&gt;</span>"},
        // 240 + 105 twips = 23 px.
        {"line height", u"x", big, 4, 2,
         "<div style='text-align:justify; line-height:23px; text-indent:0px; margin-left:0px; margin-right:0px'>",
         "<div style=\"text-align:justify;  line-height:23px;  text-indent:0px; margin-left:0px; margin-right:0px\">"},
        {"no code page form", u"\u0E01", plain, 0, 0, "'>&#3585;</span>", "\">\u0E01</span>"},
        // The reference ends with its semicolon, so the digit after it stays a digit.
        {"no code page form, Western", u"\u00A91", plain, 0, 0, "'>&#169;1</span>", "\">\u00A91</span>"},
        {"code page 936", u"中", plain, 0, 0, "\xD6\xD0</span>", "中</span>"},
        {"bold italic", u"bi", boldItalic, 0, 0, "<b><i>bi</b></i></span>", "<b><i>bi</b></i></span>"},
        {"colour", u"r", red, 0, 0, "font-size:10.50pt; color:#ff0000'>r</span>",
         "font-size:10.50pt; color:#ff0000\">r</span>"},
        {"raised", u"2", raised, 0, 0, "<sup>2</sup></span>", "<sup>2</sup></span>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExportDoc d;
        d.Append(row.text, row.format);
        d.SetParagraphs(row.align, row.spacing);
        EXPECT_TRUE(Contains(d.Html(false), row.bits8)) << d.Html(false);
        EXPECT_TRUE(Contains(d.Html(true), Wide(plat::Utf8ToUtf16(row.bitsWide))));
    }
}

TEST(HtmlBodyTest, ParagraphEndsDeletedTextAndSpaces)
{
    ExportDoc d;
    d.Append(u"ab\r\rc d");
    d.Body().GetItem(1)->SetDeletedBy(1);
    // A page break after "c d": the paragraph after it is the final one.
    d.Body().SetCaret(d.Body().GetEndPos());
    d.Body().InsertPageBreak();
    d.Body().RelayoutWhole();
    const std::string span = "<span style='font-family:Times New Roman; font-size:10.50pt'>";
    const std::string page8 = d.Html(false);
    // "b" is deleted: it leaves no trace; the empty paragraph gets nothing in 8 bits.
    EXPECT_TRUE(Contains(page8, span + "a</span></div>\n<div")) << page8;
    const std::string emptySpan = "<span style='font-family:\xCB\xCE\xCC\xE5; font-size:10.50pt'>";
    EXPECT_TRUE(Contains(page8, "</div>\n<div style='text-align:justify; line-height:21px; text-indent:0px; "
                                "margin-left:0px; margin-right:0px'>\n" + emptySpan + "</span></div>\n<div"))
        << page8;
    EXPECT_TRUE(Contains(page8, "c d")) << page8;
    // The UTF-16 page marks the empty paragraph, not the final one.
    const std::string pageW = d.Html(true);
    EXPECT_TRUE(Contains(pageW, Wide("&nbsp;</span></div>\n")));
    EXPECT_EQ(pageW.find(Wide("&nbsp;")), pageW.rfind(Wide("&nbsp;")));
}

TEST(HtmlBodyTest, StringWriterWritesCodeUnitsOnly)
{
    plat::MemFile out;
    EXPECT_EQ(WriteStringW(out, u"A中"), 2u);
    EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()), std::string("A\0\x2D\x4E", 4));
}

// Objects: the text runs around them; those met in the text go into wrapped tables in
// reading order, the one below the text after the table.
TEST(HtmlBodyTest, ObjectsInReadingOrderAndBelowTheText)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"第一段文字\r第二段文字\r第三段");
    const int top = d.Body().GetItem(6)->GetTop(); // the second paragraph's line
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    // Equal tops: the one on the right comes first in the list, yet is written second.
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 5000, top, 1500, 750, kWrapNone, 2, 2));
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left + 1000, top, 1500, 750, kWrapNone, 2, 1));
    // Below all the text, right of the page's middle.
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.right - 2000, top + 20000, 1500, 750, kWrapNone, 2, 3));
    const std::string dir = pdftest::Dir("html-objects");
    ASSERT_EQ(::mkdir((dir + "page.files").c_str(), 0700) == 0 || errno == EEXIST, true);

    const std::string page = d.Html(false, dir + "page.files", "page");
    // Each object is a 101 x 51 picture: 1500 x 750 twips, both edges included.
    const size_t left = page.find("<img width=101 height=51 src=\"./page.files/page-0000.jpg\" align=left>\n");
    const size_t right = page.find("<img width=101 height=51 src=\"./page.files/page-0001.jpg\" align=left>\n");
    const size_t below =
        page.find("</table><img width=101 height=51 src=\"./page.files/page-0002.jpg\" align=right>\n");
    ASSERT_NE(left, std::string::npos) << page;
    ASSERT_NE(right, std::string::npos) << page;
    ASSERT_NE(below, std::string::npos) << page;
    EXPECT_LT(left, right);
    EXPECT_LT(right, below);
    EXPECT_EQ(page.substr(below + std::string("</table><img width=101 height=51 src=\"./page.files/page-0002.jpg\" align=right>\n").size()), "");
    for (const char* name : {"page-0000.jpg", "page-0001.jpg", "page-0002.jpg"})
        EXPECT_GT(testsupport::ReadFile(dir + "page.files/" + name).size(), 100u) << name;
    // The picture of the right-hand object holds its own colour, tag 2 drawn in blue.
    const std::string pageW = d.Html(true, dir.substr(0, dir.size() - 1), "wide");
    EXPECT_TRUE(Contains(pageW, Wide("<td width=\"" + std::to_string(TextWidthPx(d.Body()) - 1) +
                                     "px\" style=\"text-align:center\">\n<img width=\"101\" height=\"51\" "
                                     "src=\"./wide-0002.jpg\" align=\"right\"/>\n</td>\n</table>")));
    EXPECT_EQ(d.Body().GetObject(2)->m_exportName, pdftest::U(dir + "wide-0002.jpg"));
}

TEST(HtmlBodyTest, WrappedObjectFlushLeftWritesNoLeftCell)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十"
             u"一二三四五六七八九十一二三四五六七八九十\r下");
    const plat::Rect frame = d.Body().GetPageFrame(0).m_rect;
    const int top = d.Body().GetItem(0)->GetTop();
    // Flush with the text area's left edge, text flowing on its right.
    d.Body().AddObject(objtest::NewObject(&d.doc, frame.left, top + 10, 1500, 750, kWrapBoth, 2, 1));
    d.Body().RecalcAllObjects();
    const std::string dir = pdftest::Dir("html-flush");
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        const std::string page = d.Html(wide, dir, "flush");
        const std::string middle = wide ? Wide("<td width=\"" + std::to_string(Px(1500)) + "px\" style=\"text-align:center\">\n")
                                        : "<td width=" + std::to_string(Px(1500)) + "px; style='text-align:center'>\n";
        const size_t cell = page.find(middle);
        ASSERT_NE(cell, std::string::npos);
        // The middle cell opens the table; a right cell with the text beside it follows.
        const std::string tableOpen = wide ? Wide(TableOpen(d.Body())) : TableOpen(d.Body());
        EXPECT_EQ(page.rfind(tableOpen, cell) + tableOpen.size(), cell);
        const std::string rightCell = "<td width=" + std::string(wide ? "\"" : "") +
                                      std::to_string(Px(frame.right - frame.left - 1500)) + "px" + (wide ? "\"" : "") + ">\n";
        const size_t rightAt = page.find(wide ? Wide(rightCell) : rightCell, cell);
        ASSERT_NE(rightAt, std::string::npos);
        EXPECT_TRUE(Contains(page.substr(rightAt), wide ? Wide(u"一二三") : std::string("\xD2\xBB\xB6\xFE\xC8\xFD")));
    }
}

} // namespace

namespace {

class ExportDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = pdftest::Dir(std::string("driver-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string m_dir;
};

TEST_F(ExportDriverTest, HtmlPathsWithoutExtensionOrFolderAreRefused)
{
    ExportDoc d;
    d.Append(u"文字");
    const struct {
        std::string path;
        int result;
    } rows[] = {
        {m_dir + "noext", 0},
        {"nofolder.htm", 0},
        {m_dir + "dotted.folder/noext", 0},
        {m_dir + std::string(260, 'x') + ".htm", 0}, // beyond the 8-bit path buffer
        {m_dir + "page.htm", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(d.doc.ExportHtml(pdftest::U(row.path)), row.result);
    }
    EXPECT_EQ(d.doc.ExportEHtml(pdftest::U(m_dir + "noext"), pdftest::U(m_dir + "list.txt")), 0);
    EXPECT_EQ(d.doc.ExportEHtml(pdftest::U("nofolder.htm"), pdftest::U(m_dir + "list.txt")), 0);
}

TEST_F(ExportDriverTest, EightBitPageSkeletonWithCrLf)
{
    ExportDoc d;
    d.Append(u"中文");
    ASSERT_EQ(d.doc.ExportHtml(pdftest::U(m_dir + "page.htm")), 1);
    const std::string page = pdftest::Text(testsupport::ReadFile(m_dir + "page.htm"));
    std::string body = d.Html(false, m_dir + "page.files", "page");
    for (size_t at = 0; (at = body.find('\n', at)) != std::string::npos; at += 2) body.replace(at, 1, "\r\n");
    EXPECT_EQ(page, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                    "<META  name=\"GENERATOR\" content=\"Quiln\">\r\n"
                    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" >\r\n"
                    "<TITLE>Document Title</TITLE></HEAD>\r\n<body>\r\n" +
                        body + "</body>\r\n</HTML>\r\n");
}

TEST_F(ExportDriverTest, PictureFolderStartsEmptyAndIsClearedWithoutFollowingLinks)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"文字");
    d.Body().AddObject(objtest::NewObject(&d.doc, 2000, 9000, 1500, 750));
    const std::string folder = m_dir + "page.files/";
    ASSERT_EQ(d.doc.ExportHtml(pdftest::U(m_dir + "page.htm")), 1);
    EXPECT_EQ(pdftest::List(folder), std::vector<std::string>{"page-0000.jpg"});
    // A stale picture goes; a file outside that a link in the folder names stays.
    testsupport::WriteFile(folder + "old.jpg", {1, 2, 3});
    testsupport::WriteFile(m_dir + "outside.txt", {4, 5});
    ASSERT_EQ(::symlink((m_dir + "outside.txt").c_str(), (folder + "link.txt").c_str()), 0);
    ASSERT_EQ(d.doc.ExportHtml(pdftest::U(m_dir + "page.htm")), 1);
    std::vector<std::string> names = pdftest::List(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.txt", "page-0000.jpg"}));
    EXPECT_EQ(testsupport::ReadFile(m_dir + "outside.txt").size(), 2u);

    // A link in the folder's place is replaced by a folder; what it names is left alone.
    const std::string elsewhere = pdftest::Dir("driver-elsewhere");
    testsupport::WriteFile(elsewhere + "keep.jpg", {1});
    ASSERT_EQ(::symlink(elsewhere.c_str(), (m_dir + "linked.files").c_str()), 0);
    ASSERT_EQ(d.doc.ExportHtml(pdftest::U(m_dir + "linked.htm")), 1);
    EXPECT_EQ(pdftest::List(elsewhere), std::vector<std::string>{"keep.jpg"});
    EXPECT_EQ(pdftest::List(m_dir + "linked.files"), std::vector<std::string>{"linked-0000.jpg"});
}

TEST_F(ExportDriverTest, PictureThatCannotBeWrittenFailsTheExport)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"文字");
    // Wider than any bitmap the drawing layer makes: no picture can be written for it.
    const int tooWide = (plat::Bitmap::kMaxSide + 10) * 15;
    d.Body().AddObject(objtest::NewObject(&d.doc, 2000, 9000, tooWide, 750));
    EXPECT_EQ(d.doc.ExportHtml(pdftest::U(m_dir + "page.htm")), 0);
    EXPECT_EQ(d.doc.ExportEHtml(pdftest::U(m_dir + "wide.htm"), pdftest::U(m_dir + "list.txt")), 0);
    EXPECT_EQ(d.doc.ExportRtf(pdftest::U(m_dir + "page.rtf")), 0);
    // No page was left behind that refers to a missing picture.
    EXPECT_EQ(pdftest::List(m_dir), std::vector<std::string>{"page.files"});
}

TEST_F(ExportDriverTest, Utf16PageAndItsListFile)
{
    objtest::ScopedTestKind kind;
    ExportDoc d;
    d.Append(u"文字");
    d.Body().AddObject(objtest::NewObject(&d.doc, 2000, 9000, 1500, 750));
    d.Body().AddObject(objtest::NewObject(&d.doc, 2000, 12000, 1500, 750));
    const std::string shot = m_dir + "shot.jpg";
    ASSERT_EQ(d.doc.ExportFile(2, pdftest::U(shot)), 1);
    ASSERT_EQ(d.doc.ExportEHtml(pdftest::U(m_dir + "wide.htm"), pdftest::U(m_dir + "list.txt")), 1);
    const std::string page = pdftest::Text(testsupport::ReadFile(m_dir + "wide.htm"));
    const std::string body = d.Html(true, m_dir.substr(0, m_dir.size() - 1), "wide");
    EXPECT_EQ(page, "\xFF\xFE" + Wide("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n<HTML>\n<HEAD>\n"
                                      "<META  name=\"GENERATOR\" content=\"Quiln\">\n"
                                      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=unicode\" >\n"
                                      "<TITLE>Document Title</TITLE></HEAD>\n<body>\n") +
                        body + Wide("</body>\n</HTML>\n"));
    EXPECT_EQ(pdftest::Text(testsupport::ReadFile(m_dir + "list.txt")),
              m_dir + "wide-0000.jpg$$$\r\n" + m_dir + "wide-0001.jpg$$$" + shot + "\r\n");
}

} // namespace

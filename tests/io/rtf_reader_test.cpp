// The RTF reader: control words, the character path, fonts, colours, paragraphs, and the
// pictures, shapes, tables and footnotes it builds through the import sink.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "io/rtf_reader.h"
#include "platform/base/system.h"
#include "tests/io/rtf_support.h"

using namespace rtftest;

namespace {

class RtfReaderTest : public ::testing::Test {
protected:
    void SetUp() override { doc.Reset(); }
    void TearDown() override { ResetImportSink(); }

    int Read(const std::string& rtf, ImportMode mode = ImportMode::kOpen)
    {
        PrepareImportSink(doc, mode);
        CRtfReader reader;
        return reader.ReadBuffer(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size());
    }

    CFakeKinds kinds;
    CQlDoc doc;
};

// Each row: the RTF, the result, the body's text, and what else it must give.
struct Case {
    const char* name;
    std::string rtf;
    int result;
    std::string text;
    std::function<void(CQlDoc&)> check;
};

TEST_F(RtfReaderTest, ControlWordsAndTheCharacterPath)
{
    const Case cases[] = {
        {"ansicpg other than 936 stops", "{\\rtf1\\ansi\\ansicpg1252 hello}", 0, "", {}},
        {"ansicpg 936 reads on", "{\\rtf1\\ansi\\ansicpg936 hello}", 1, "hello", {}},
        {"a closing brace keeps bold", "{\\rtf1{\\b bold}plain}", 1, "boldplain",
         [](CQlDoc& d) { EXPECT_EQ(FormatOf(d, "p")->m_bold, 1); }},
        {"an opening brace resets bold", "{\\rtf1{\\b bold}{plain}}", 1, "boldplain",
         [](CQlDoc& d) { EXPECT_EQ(FormatOf(d, "p")->m_bold, 0); }},
        {"a code page 936 pair", "{\\rtf1\\'b0\\'a1}", 1, "啊", {}},
        // A byte that finds no second byte of a pair was a single-byte character, as the
        // writer escapes the Latin-1 characters code page 936 lacks.
        {"a lone lead byte at a brace", "{\\rtf1{\\'b0}x}", 1, "°x", {}},
        {"a lone lead byte before a single byte", "{\\rtf1\\'b0x}", 1, "°x", {}},
        {"single bytes the writer escapes", "{\\rtf1\\lang1033\\f0\\'a9\\lang2052\\f0 x\\'99\\'a0y}", 1,
         "©x™\u00A0y", {}},
        {"a bad hexadecimal digit stops", "{\\rtf1 a\\'g0 b}", 0, "a", {}},
        {"Cyrillic with charset 204", "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial Cyr;}}\\f0 \\'c0\\'a8\\'b8}", 1,
         "Аё",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "А")->m_westernFace, u"Arial");
             EXPECT_EQ(FormatOf(d, "А")->m_chineseFace, u"宋体");
         }},
        {"sizes snap", "{\\rtf1\\fs21 a\\fs200 b\\fs15 c}", 1, "abc",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "a")->m_size, 210);
             EXPECT_EQ(FormatOf(d, "b")->m_size, 1920);
             EXPECT_EQ(FormatOf(d, "c")->m_size, 158);
         }},
        {"colour table and an index beyond it", "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 a\\cf9 b\\cf0 c}", 1,
         "abc",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "a")->m_color, 0x0000FF);
             EXPECT_EQ(FormatOf(d, "b")->m_color, 0);
             EXPECT_EQ(FormatOf(d, "c")->m_color, 0);
         }},
        {"a malformed colour table stops", "{\\rtf1{\\colortbl;\\red255\\green0;}x}", 0, "", {}},
        {"indents before a paragraph end", "{\\rtf1\\fi-420\\li420\\qc x\\par y}", 1, "x\ny",
         [](CQlDoc& d) {
             auto ends = ParaEnds(d);
             ASSERT_EQ(ends.size(), 1u);
             EXPECT_EQ(ends[0]->GetParaFormat().m_firstIndent, 0);
             EXPECT_EQ(ends[0]->GetParaFormat().m_leftIndent, 420);
             EXPECT_EQ(ends[0]->GetParaFormat().m_align, 3);
         }},
        {"face rules", "{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman Cyr;}{\\f1\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5;}}"
                       "\\f0 a\\f1 b}",
         1, "ab",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "a")->m_westernFace, u"Times New Roman");
             EXPECT_EQ(FormatOf(d, "a")->m_chineseFace, u"宋体");
             EXPECT_EQ(FormatOf(d, "b")->m_westernFace, u"Times New Roman");
             EXPECT_EQ(FormatOf(d, "b")->m_chineseFace, u"黑体");
         }},
        {"a face name is kept to 255 bytes", "{\\rtf1{\\fonttbl{\\f0\\fswiss " + std::string(2000, 'N') + ";}}\\f0 a}", 1, "a",
         [](CQlDoc& d) { EXPECT_EQ(FormatOf(d, "a")->m_westernFace.size(), 255u); }},
        {"starred groups and info are skipped, headerl is read",
         "{\\rtf1{\\*\\bkmkstart x}{\\info{\\title t}}a{\\headerl h}{\\header no}}", 1, "ah", {}},
        {"\\u gives its character and skips the substitutes of \\uc",
         "{\\rtf1 a\\u3585?b\\uc2\\u21834\\'b0\\'a1c\\u-3??d}", 1, "aกb啊c\uFFFDd", {}},
        {"control symbols", "{\\rtf1 a\\\\\\{\\}\\_\\~\\-b\\\nc}", 1, "a\\{}-bc", {}},
        {"quotes and dashes", "{\\rtf1\\lquote\\rquote\\ldblquote\\rdblquote\\emdash\\endash}", 1, "‘’“”－-", {}},
        {"underline kinds", "{\\rtf1\\ul a\\ul0 b\\uldb c\\uld d\\ulnone e}", 1, "abcde",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "a")->m_underline, 1);
             EXPECT_EQ(FormatOf(d, "b")->m_underline, 0);
             EXPECT_EQ(FormatOf(d, "c")->m_underline, 2);
             EXPECT_EQ(FormatOf(d, "d")->m_underline, 3);
             EXPECT_EQ(FormatOf(d, "e")->m_underline, 0);
         }},
        {"super and sub", "{\\rtf1\\super a\\sub b}", 1, "ab",
         [](CQlDoc& d) {
             EXPECT_EQ(FormatOf(d, "a")->m_position, 1);
             EXPECT_EQ(FormatOf(d, "b")->m_position, 2);
         }},
        {"more closing braces than opening ones stop", "{\\rtf1 a}}b", 0, "a", {}},
        {"a control word of 255 letters stops", "{\\rtf1 a\\" + std::string(255, 'x') + " b}", 0, "a", {}},
        {"a number of 257 digits stops", "{\\rtf1 a\\fs" + std::string(257, '1') + " b}", 0, "a", {}},
        {"a huge number is clamped", "{\\rtf1\\fs99999999999 a\\cf-99999999999 b}", 1, "ab",
         [](CQlDoc& d) { EXPECT_EQ(FormatOf(d, "a")->m_size, 1920); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.Reset();
        EXPECT_EQ(Read(c.rtf), c.result);
        EXPECT_EQ(BodyText(doc), c.text);
        if (c.check) c.check(doc);
    }
}

TEST_F(RtfReaderTest, SnapsSizesToTheEditorsSizes)
{
    const std::pair<int, int> rows[] = {{0, 105}, {111, 105}, {112, 120}, {150, 158}, {210, 210}, {1799, 1680},
                                        {1800, 1920}, {5000, 1920}, {-5, 105}};
    for (auto [size, snapped] : rows) EXPECT_EQ(CRtfReader::SnapFontSize(size), snapped) << size;
}

std::vector<std::uint8_t> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fake picture reads its file at once, before the sink deletes it.
struct PictureFile {
    std::string ext;
    std::vector<std::uint8_t> bytes;
};

TEST_F(RtfReaderTest, PicturesAreWrittenToTheTemporaryFolderAndPlaced)
{
    std::vector<PictureFile> seen;
    struct Row {
        const char* name;
        std::string rtf;
        int result;
        std::string text;
        std::vector<std::string> exts;
    } const rows[] = {
        {"png", "{\\rtf1{\\pict\\pngblip\\picw10\\pich10 89504e47}z}", 1, "z", {".png"}},
        {"jpeg and emf", "{\\rtf1{\\pict\\jpegblip ffd8}{\\pict\\emfblip 0100}}", 1, "", {".jpg", ".emf"}},
        {"wmetafile8 with its header", "{\\rtf1{\\pict\\wmetafile8\\picw300\\pich200 0102}}", 1, "", {".wmf"}},
        {"dibitmap skipped", "{\\rtf1{\\pict\\dibitmap0\\picw3 0102}after}", 1, "after", {}},
        {"shppict skipped, nonshppict read",
         "{\\rtf1{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8\\picw10\\pich10 0102}}z}", 1,
         "z", {".wmf"}},
        {"object takes its first picture",
         "{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\pngblip 89504e47}{\\pict\\pngblip 89}}}z}", 1,
         "z", {".png"}},
        {"an empty picture stops", "{\\rtf1{\\pict\\pngblip}z}", 0, "", {}},
        {"an odd number of digits stops", "{\\rtf1{\\pict\\pngblip 89504}z}", 0, "", {}},
        {"a picture cut off stops", "{\\rtf1{\\pict\\pngblip 8950", 0, "", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doc.Reset();
        const auto before = std::distance(std::filesystem::directory_iterator(plat::TempDirUtf8()),
                                          std::filesystem::directory_iterator());
        EXPECT_EQ(Read(r.rtf), r.result);
        EXPECT_EQ(BodyText(doc), r.text);
        auto pictures = ObjectsOf<CFakePicture>(doc);
        ASSERT_EQ(pictures.size(), r.exts.size());
        for (size_t k = 0; k < pictures.size(); ++k) {
            const plat::String& path = pictures[k]->m_source.path;
            EXPECT_EQ(plat::Utf16ToUtf8(path.substr(path.size() - 4)), r.exts[k]);
            EXPECT_TRUE(pictures[k]->m_source.noDeduplication);
        }
        // Every picture file is gone again, placed or not.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(plat::TempDirUtf8()),
                                std::filesystem::directory_iterator()),
                  before);
    }
}

// A picture kind that keeps its file's bytes, to see what the reader wrote.
class CKeepingPicture : public CFakePicture {
public:
    using CFakePicture::CFakePicture;
    bool TakeSource(const CNewObjectSource& source) override
    {
        m_bytes = Bytes(plat::Utf16ToUtf8(source.path));
        return CFakePicture::TakeSource(source);
    }
    std::vector<std::uint8_t> m_bytes;
};

TEST_F(RtfReaderTest, PictureFilesHoldTheDecodedBytes)
{
    const DocObjectMaker old = RegisterDocObject(kNodeImage, [](CDocContext* d, CDocNode* p) -> std::unique_ptr<CFloatObject> {
        return std::make_unique<CKeepingPicture>(d, p);
    });
    Read("{\\rtf1{\\pict\\pngblip\\picw10\\pich10 89 50\n4e47}{\\pict\\wmetafile8\\picw300\\pich200 0102}}");
    RegisterDocObject(kNodeImage, old);
    auto pictures = ObjectsOf<CKeepingPicture>(doc);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->m_bytes, (std::vector<std::uint8_t>{0x89, 0x50, 0x4e, 0x47}));
    const std::vector<std::uint8_t> wmf{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0xC8, 0x00,
                                        0xEC, 0x09, 0, 0, 0, 0, 0, 0, 0x01, 0x02};
    EXPECT_EQ(pictures[1]->m_bytes, wmf);
}

TEST_F(RtfReaderTest, AShapeGivesItsPictureItsBoxAndWrap)
{
    ASSERT_EQ(Read("{\\rtf1{\\shp{\\*\\shpinst\\shpleft1000\\shptop0\\shpright4000\\shpbottom2000\\shpwr2\\shpwrk1"
                   "{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 89504e47}}}}{\\shprslt{\\pict\\pngblip 89}}}after}"),
              1);
    auto pictures = ObjectsOf<CFakePicture>(doc);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->m_width, 3000);
    EXPECT_EQ(pictures[0]->m_height, 2000);
    EXPECT_EQ(pictures[0]->m_wrapMode, 1);
    const int marginLeft = doc.GetPageTextRect(0).left - doc.GetPageRect(0).left;
    EXPECT_EQ(pictures[0]->m_bounds.left, marginLeft + 1000);
    EXPECT_EQ(BodyText(doc), "after");
}

std::string TableRows(int rows)
{
    std::string rtf;
    for (int r = 0; r < rows; ++r) rtf += "\\trowd\\cellx2000\\cellx5000\\pard\\intbl a\\cell b\\cell\\row\n";
    return rtf;
}

TEST_F(RtfReaderTest, TablesAreScannedThenBuiltCellByCell)
{
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx2000\\clvmrg\\clvertalb\\cellx5000\\pard\\intbl\\qc a\\cell b\\cell\\row\n"
                   "\\trowd\\cellx2000\\cellx5000\\pard\\intbl c\\cell {\\b d}\\cell\\row\n"
                   "\\trowd\\cellx5000\\pard\\intbl e\\cell\\row\\pard{after}}"),
              1);
    auto tables = ObjectsOf<CFakeTable>(doc);
    ASSERT_EQ(tables.size(), 1u);
    const CFakeTable& t = *tables[0];
    EXPECT_EQ(t.m_rows, 3);
    EXPECT_EQ(t.m_columns, 2);
    EXPECT_EQ(t.m_widths, (std::vector<std::int32_t>{2000, 3000}));
    ASSERT_EQ(t.m_merges.size(), 3u);
    EXPECT_EQ(t.m_merges[0].flags, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(t.m_merges[2].row, 2);
    EXPECT_EQ(t.m_merges[2].flags, (std::vector<std::uint8_t>{0, 1}));
    ASSERT_EQ(t.m_cellCalls.size(), 5u);
    EXPECT_EQ(t.m_cellCalls[1].row, 0);
    EXPECT_EQ(t.m_cellCalls[1].column, 1);
    EXPECT_TRUE(t.m_cellCalls[1].mergeUp);
    EXPECT_EQ(t.m_cellCalls[1].verticalAlignment, 64);
    EXPECT_EQ(t.m_cellCalls[0].alignment, 3);
    EXPECT_EQ(t.m_cellCalls[4].row, 2);
    EXPECT_EQ(t.m_cellCalls[4].column, 0);
    EXPECT_EQ(plat::Utf16ToUtf8(t.CellText(0, 0)), "a");
    EXPECT_EQ(plat::Utf16ToUtf8(t.CellText(1, 1)), "d");
    EXPECT_EQ(plat::Utf16ToUtf8(t.CellText(2, 0)), "e");
    EXPECT_EQ(BodyText(doc), "after");
}

TEST_F(RtfReaderTest, RefusedTablesAreReadAsText)
{
    struct Row {
        const char* name;
        std::string rtf;
        size_t tables;
    } const rows[] = {
        {"one row without cellx", "{\\rtf1\\trowd\\pard\\intbl a\\cell\\row\\pard{x}}", 0},
        {"rows without cellx", "{\\rtf1\\trowd\\pard\\intbl a\\cell\\row\\trowd\\pard\\intbl a\\cell\\row\\pard{x}}", 0},
        // Refused at its first row; the scan from the second row takes the other 59.
        {"60 rows", "{\\rtf1" + TableRows(60) + "\\pard{x}}", 1},
        {"61 rows", "{\\rtf1" + TableRows(61) + "\\pard{x}}", 1},
        {"59 rows", "{\\rtf1" + TableRows(59) + "\\pard{x}}", 1},
        {"rows beyond the scan's table", "{\\rtf1\\trowd\\irow500\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\cell\\row\\pard{x}}", 1},
        {"a table cut off", "{\\rtf1\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doc.Reset();
        Read(r.rtf);
        EXPECT_EQ(ObjectsOf<CFakeTable>(doc).size(), r.tables);
    }
    doc.Reset();
    Read("{\\rtf1\\trowd\\pard\\intbl a\\cell\\row\\pard{x}}");
    EXPECT_EQ(BodyText(doc), "ax");
}

TEST_F(RtfReaderTest, FootnotesAreMarkedAndFollowTheBody)
{
    ASSERT_EQ(Read("{\\rtf1 a{\\footnote {x}}b{\\footnote {\\fs24 y}}c}"), 1);
    EXPECT_EQ(BodyText(doc), "a(1)b(2)c\n(1)x\n(2)y");
    EXPECT_EQ(FormatOf(doc, "(", 0)->m_position, 1);
    EXPECT_EQ(FormatOf(doc, "(", 1)->m_position, 1);
    EXPECT_EQ(FormatOf(doc, "(", 2)->m_position, 0);
    EXPECT_EQ(FormatOf(doc, "(", 2)->m_size, 158);
    EXPECT_EQ(FormatOf(doc, "x")->m_size, 180);
    EXPECT_EQ(FormatOf(doc, "y")->m_size, 240);
}

TEST_F(RtfReaderTest, ReadFileSendsThePageSetupAndAMissingFileNothing)
{
    CRtfReader missing;
    PrepareImportSink(doc, ImportMode::kOpen);
    const CDocHeader before = *doc.GetHeader();
    EXPECT_EQ(missing.ReadFile("/nonexistent/file.rtf"), 0);
    EXPECT_EQ(doc.GetHeader()->GetPaperSize(), before.GetPaperSize());

    const std::string path = plat::TempDirUtf8() + "reader_file.rtf";
    std::ofstream(path) << "{\\rtf1\\paperw11906\\paperh16838 file\\par {\\footnote {n}}}";
    CRtfReader reader;
    EXPECT_EQ(reader.ReadFile(path), 1);
    std::filesystem::remove(path);
    EXPECT_EQ(doc.GetHeader()->GetPaperSize(), plat::Size(210, 297));
    EXPECT_EQ(doc.GetHeader()->m_marginLeft, 31);
    EXPECT_EQ(BodyText(doc), "file\n(1)\n(1)n");
}

} // namespace

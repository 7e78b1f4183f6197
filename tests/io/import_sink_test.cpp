// The import sink: its preparation for an open, an append and a paste, text in runs,
// paragraph formats, page setup, and the placement of tables and pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "document/layout_dump.h"
#include "document/process_state.h"
#include "platform/base/system.h"
#include "tests/io/rtf_support.h"

using namespace rtftest;

namespace {

class ImportSinkTest : public ::testing::Test {
protected:
    void SetUp() override { doc.Reset(); }
    void TearDown() override { ResetImportSink(); }

    // Some text of the document's own, laid out, with the caret after "before".
    void GiveBodyText()
    {
        CDocBody& body = *doc.GetBody();
        body.InsertItemsAtCaret(u"before\rafter");
        body.SetSelection(CTextPos(6, body.GetName()), CTextPos(6, body.GetName()));
        body.BuildPageRegions();
        body.RelayoutWhole();
    }

    CFakeKinds kinds;
    CQlDoc doc;
};

TEST_F(ImportSinkTest, TableSizesAreCheckedBeforeAnythingIsMade)
{
    struct Row {
        int rows, columns;
        bool accepted;
    } const rows[] = {{60, 2, false}, {2, 20, false}, {1, 1, false}, {59, 19, true}, {1, 2, true}, {0, 2, false}};
    for (const Row& r : rows) {
        PrepareImportSink(doc, ImportMode::kOpen);
        const std::vector<std::int32_t> widths(static_cast<size_t>(std::max(r.columns, 0)), 500);
        EXPECT_EQ(ImportBeginTable(r.rows, r.columns, widths), r.accepted) << r.rows << " x " << r.columns;
        ImportEndTable();
        EXPECT_EQ(ObjectsOf<CFakeTable>(doc).size(), r.accepted ? 1u : 0u) << r.rows << " x " << r.columns;
        doc.Reset();
    }
}

TEST_F(ImportSinkTest, CellTextGoesToItsCellAndCellsOutsideTheTableAreIgnored)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    ASSERT_TRUE(ImportBeginTable(2, 2, std::vector<std::int32_t>{1000, 2000}));
    ImportSetTableCell(0, 1, 3, 16, 0);
    ImportInsertText(u"cell");
    ImportSetTableCell(2, 0, 1, 16, 0); // no third row: the current cell stays
    ImportSetTableCell(0, 5, 1, 16, 0);
    ImportInsertText(u"!");
    ImportMergeRowCells(7, std::vector<std::uint8_t>{0, 1});
    ImportEndTable();
    ImportInsertText(u"body");
    ImportFlush();
    auto tables = ObjectsOf<CFakeTable>(doc);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(plat::Utf16ToUtf8(tables[0]->CellText(0, 1)), "cell!");
    EXPECT_EQ(tables[0]->m_cellCalls.size(), 1u);
    EXPECT_TRUE(tables[0]->m_merges.empty());
    EXPECT_EQ(BodyText(doc), "body");
}

TEST_F(ImportSinkTest, APreparationDropsATableLeftInProgress)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    ASSERT_TRUE(ImportBeginTable(2, 2, std::vector<std::int32_t>{1000, 2000}));
    ImportSetTableCell(0, 0, 1, 16, 0);
    // The read stopped here; the next one starts afresh.
    PrepareImportSink(doc, ImportMode::kOpen);
    ImportInsertText(u"text");
    ImportEndTable();
    ImportFlush();
    EXPECT_EQ(BodyText(doc), "text");
    EXPECT_TRUE(ObjectsOf<CFakeTable>(doc).empty());
}

TEST_F(ImportSinkTest, PastedTablesStackBelowTheInsertionParagraph)
{
    GiveBodyText();
    PrepareImportSink(doc, ImportMode::kPaste);
    for (int t = 0; t < 2; ++t) {
        ASSERT_TRUE(ImportBeginTable(3, 2, std::vector<std::int32_t>{1000, 2000}));
        ImportEndTable();
    }
    auto tables = ObjectsOf<CFakeTable>(doc);
    ASSERT_EQ(tables.size(), 2u);
    const CTextItem* insertion = doc.GetBody()->GetItem(6);
    EXPECT_EQ(tables[0]->m_bounds.top, insertion->GetTop() + insertion->GetHeight() + 210);
    EXPECT_EQ(tables[1]->m_bounds.top, tables[0]->m_bounds.bottom);
    // Centred on the paper.
    const plat::Rect page = doc.GetPageRect(0);
    EXPECT_EQ(tables[0]->m_bounds.left, page.left + (page.Width() - 3000) / 2);
    EXPECT_EQ(tables[0]->m_bounds.Height(), 900);
}

TEST_F(ImportSinkTest, AnOpensTablesAndPicturesFollowTheContent)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    for (int k = 0; k < 40; ++k) {
        ImportInsertText(u"一段文字 some text that fills a line or two of the page");
        ImportEndParagraph();
    }
    ImportFlush();
    doc.GetBody()->BuildPageRegions();
    doc.GetBody()->RelayoutWhole();
    const int textBottom = doc.GetBody()->GetContentBottom();
    ASSERT_TRUE(ImportBeginTable(2, 2, std::vector<std::int32_t>{1000, 2000}));
    ImportEndTable();
    const std::string picture = plat::TempDirUtf8() + "sink_follow.png";
    std::ofstream(picture) << "x";
    EXPECT_TRUE(ImportInsertPicture(picture, 1500, 1000, 3, kImportCentred));
    auto tables = ObjectsOf<CFakeTable>(doc);
    auto pictures = ObjectsOf<CFakePicture>(doc);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(tables[0]->m_bounds.top, textBottom);
    EXPECT_EQ(pictures[0]->m_bounds.top, tables[0]->m_bounds.bottom);
    // Centred in the text area, from the left margin.
    const int marginLeft = doc.GetPageTextRect(0).left - doc.GetPageRect(0).left;
    EXPECT_EQ(pictures[0]->m_bounds.left, marginLeft + (doc.GetTextAreaSize().cx - 1500) / 2);
    EXPECT_EQ(pictures[0]->m_wrapMode, 3);
    EXPECT_TRUE(pictures[0]->m_source.noDeduplication);
    EXPECT_TRUE(pictures[0]->m_placed);
    EXPECT_FALSE(std::filesystem::exists(picture));
}

TEST_F(ImportSinkTest, OnlyPicturesInThePrivateTemporaryFolderAreDeleted)
{
    const std::filesystem::path outside = std::filesystem::temp_directory_path() / "quiln_sink_keep.png";
    std::ofstream(outside) << "x";
    const std::filesystem::path nested = std::filesystem::path(plat::TempDirUtf8()) / "sub";
    std::filesystem::create_directories(nested);
    std::ofstream(nested / "p.png") << "x";
    PrepareImportSink(doc, ImportMode::kOpen);
    EXPECT_FALSE(ImportInsertPicture(outside.string(), 100, 100, 0, 0));
    EXPECT_FALSE(ImportInsertPicture((nested / "p.png").string(), 100, 100, 0, 0));
    EXPECT_FALSE(ImportInsertPicture(plat::TempDirUtf8() + "../quiln_sink_keep.png", 100, 100, 0, 0));
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_TRUE(std::filesystem::exists(nested / "p.png"));
    std::filesystem::remove(outside);
    std::filesystem::remove_all(nested);
    EXPECT_EQ(ObjectsOf<CFakePicture>(doc).size(), 3u);
}

TEST_F(ImportSinkTest, APictureOfNoSizeTakesItsPixelsAtNinetySixDotsPerInch)
{
    const std::string png = plat::TempDirUtf8() + "sink_30x20.png";
    ASSERT_EQ(std::system((std::string(QUILN_CONVERT) + " -size 30x20 xc:red png24:" + png).c_str()), 0);
    PrepareImportSink(doc, ImportMode::kOpen);
    ImportInsertPictureFile(png, 0, 0);
    auto pictures = ObjectsOf<CFakePicture>(doc);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->m_width, 450);
    EXPECT_EQ(pictures[0]->m_height, 300);
    EXPECT_EQ(pictures[0]->m_wrapMode, 3);
    EXPECT_FALSE(std::filesystem::exists(png));
}

TEST_F(ImportSinkTest, TextStartingWithATabIsSetInTimesNewRoman)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    ImportSetFontNames(u"黑体", u"Arial");
    ImportInsertText(u"\tx");
    ImportInsertText(u"y");
    ImportFlush();
    EXPECT_EQ(BodyText(doc), "    xy");
    EXPECT_EQ(FormatOf(doc, "x")->m_westernFace, u"Times New Roman");
    EXPECT_EQ(FormatOf(doc, " ")->m_westernFace, u"Times New Roman");
    EXPECT_EQ(FormatOf(doc, "y")->m_westernFace, u"Arial");
    EXPECT_EQ(FormatOf(doc, "y")->m_chineseFace, u"黑体");
}

TEST_F(ImportSinkTest, FormatCallsShapeTheTextAndAParagraphFormatResetsThem)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    ImportSetFonts(u"Arial", u"Arial", 240, 1, 1, 2, 0x0000FF, 1);
    ImportInsertText(u"a");
    ImportSetParaFormat(100, 200, 300, 3);
    ImportInsertText(u"b");
    ImportEndParagraph();
    ImportFlush();
    const CCharFormat& a = *FormatOf(doc, "a");
    EXPECT_EQ(a.m_chineseFace, u"宋体"); // equal faces: the Chinese one is 宋体
    EXPECT_EQ(a.m_westernFace, u"Arial");
    EXPECT_EQ(a.m_size, 240);
    EXPECT_EQ(a.m_bold, 1);
    EXPECT_EQ(a.m_italic, 1);
    EXPECT_EQ(a.m_underline, 2);
    EXPECT_EQ(a.m_color, 0x0000FF);
    EXPECT_EQ(a.m_position, 1);
    const CCharFormat& b = *FormatOf(doc, "b");
    const CCharFormat fresh(&doc);
    EXPECT_EQ(b.m_bold, fresh.m_bold);
    EXPECT_EQ(b.m_italic, fresh.m_italic);
    EXPECT_EQ(b.m_color, fresh.m_color);
    EXPECT_EQ(b.m_westernFace, fresh.m_westernFace);
    auto ends = ParaEnds(doc);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]->GetParaFormat().m_firstIndent, 100);
    EXPECT_EQ(ends[0]->GetParaFormat().m_leftIndent, 200);
    EXPECT_EQ(ends[0]->GetParaFormat().m_rightIndent, 300);
    EXPECT_EQ(ends[0]->GetParaFormat().m_align, 3);
    EXPECT_EQ(ends[0]->GetParaFormat().m_spacing, 4);
}

TEST_F(ImportSinkTest, NarrowTextIsConvertedWholeAndFieldsAndDatesGoIn)
{
    PrepareImportSink(doc, ImportMode::kOpen);
    std::string longText(600, 'a');
    longText += "\xb0\xa1"; // 啊, past any 256-unit buffer
    ImportInsertTextA(longText);
    ImportInsertFieldText("F");
    ImportFlush();
    EXPECT_EQ(BodyText(doc), std::string(600, 'a') + "啊F");
    ImportInsertDate();
    ImportFlush();
    EXPECT_NE(BodyText(doc).find("年"), std::string::npos);
}

TEST_F(ImportSinkTest, PageSetupAppliesOnlyToAnOpen)
{
    struct Row {
        ImportMode mode;
        bool applied;
    } const rows[] = {{ImportMode::kOpen, true}, {ImportMode::kAppend, false}, {ImportMode::kPaste, false}};
    for (const Row& r : rows) {
        doc.Reset();
        const CDocHeader before = *doc.GetHeader();
        PrepareImportSink(doc, r.mode);
        ImportPageSetup(11906, 16838, 1134, 1134, 1440, 1440);
        const CDocHeader& h = *doc.GetHeader();
        if (r.applied) {
            EXPECT_EQ(h.GetPaperSize(), plat::Size(210, 297));
            EXPECT_EQ(h.GetMargins(), plat::Rect(20, 25, 20, 25));
        } else {
            EXPECT_EQ(h.GetPaperSize(), before.GetPaperSize());
            EXPECT_EQ(h.GetMargins(), before.GetMargins());
        }
    }
    // Values that leave no page are not taken.
    doc.Reset();
    PrepareImportSink(doc, ImportMode::kOpen);
    const plat::Size paper = doc.GetHeader()->GetPaperSize();
    ImportPaperWidth(-5);
    ImportPaperHeight(0x7FFFFFFF);
    ImportMarginLeft(1440 * 100);
    EXPECT_EQ(doc.GetHeader()->GetPaperSize(), paper);
    EXPECT_LT(doc.GetHeader()->m_marginLeft, paper.cx);
}

TEST_F(ImportSinkTest, AnAppendGoesBeforeTheFinalParagraphEndAndAPasteAtTheCaret)
{
    GiveBodyText();
    PrepareImportSink(doc, ImportMode::kAppend);
    ImportInsertText(u"[end]");
    ImportFlush();
    EXPECT_EQ(BodyText(doc), "before\nafter[end]");
    PrepareImportSink(doc, ImportMode::kPaste);
    ImportInsertText(u"[caret]");
    ImportEndParagraph();
    ImportFlush();
    EXPECT_EQ(BodyText(doc), "before[caret]\n\nafter[end]");
}

// What an import of many paragraphs, tables and pictures leaves: the layout dump and the
// objects' boxes.
std::string ImportAndDump(CQlDoc& doc, ImportMode mode, bool whole)
{
    SetImportWholeRelayout(whole);
    PrepareImportSink(doc, mode);
    for (int block = 0; block < 12; ++block) {
        for (int p = 0; p < 6; ++p) {
            ImportSetFontSize(static_cast<std::uint16_t>(p % 2 ? 210 : 315));
            ImportInsertText(u"混排的中文 and Latin words that wrap over lines, ");
            ImportSetBold(1);
            ImportInsertText(u"粗体 bold run");
            ImportSetBold(0);
            ImportEndParagraph();
        }
        if (block % 2 == 0) {
            ImportBeginTable(2, 3, std::vector<std::int32_t>{1200, 1500, 1800});
            ImportSetTableCell(0, 0, 1, 16, 0);
            ImportInsertText(u"cell");
            ImportEndTable();
        } else {
            const std::string picture = plat::TempDirUtf8() + "dump.png";
            std::ofstream(picture) << "x";
            ImportInsertPicture(picture, 2000 + block * 100, 1500, static_cast<std::uint8_t>(block % 4), kImportCentred);
        }
    }
    ImportFlush();
    SetImportWholeRelayout(false);
    std::string dump = DumpLayout(*doc.GetBody());
    for (int k = 0; k < doc.GetBody()->GetObjectCount(); ++k) {
        const plat::Rect& b = doc.GetBody()->GetObject(k)->m_bounds;
        dump += "object " + std::to_string(b.left) + " " + std::to_string(b.top) + " " + std::to_string(b.right) + " " +
                std::to_string(b.bottom) + "\n";
    }
    return dump;
}

TEST_F(ImportSinkTest, TheRelayoutOfWhatWasAddedEqualsTheWholeRelayout)
{
    for (ImportMode mode : {ImportMode::kOpen, ImportMode::kAppend, ImportMode::kPaste}) {
        CQlDoc partial, whole;
        for (CQlDoc* d : {&partial, &whole}) {
            d->Reset();
            d->GetBody()->InsertItemsAtCaret(u"开头 the document's own first paragraph\rand its second one");
            d->GetBody()->SetSelection(CTextPos(10, d->GetBody()->GetName()), CTextPos(10, d->GetBody()->GetName()));
            d->GetBody()->BuildPageRegions();
            d->GetBody()->RelayoutWhole();
        }
        const std::string a = ImportAndDump(partial, mode, false);
        const std::string b = ImportAndDump(whole, mode, true);
        EXPECT_EQ(a, b) << "mode " << static_cast<int>(mode);
        EXPECT_GT(partial.GetBody()->GetObjectCount(), 10);
        ResetImportSink();
    }
}

} // namespace

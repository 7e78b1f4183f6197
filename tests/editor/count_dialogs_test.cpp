// The word-count and document-count dialogs, run through the modal-run service, their
// lists read back row by row.
#include <optional>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/statistics.h"
#include "editor/count_dialogs.h"
#include "platform/ui/list_view.h"
#include "resources/res_dialogs.h"
#include "tests/editor/editor_test_support.h"
#include "tests/platform/ui_test_window.h"

namespace {

using edtest::EditorTest;
using Table = std::vector<std::vector<std::string>>;

// Each row's cells, as UTF-8.
Table CellsOf(const plat::ListView& list)
{
    Table out;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            cells.push_back(plat::Utf16ToUtf8(list.GetItemText(row, column)));
        out.push_back(cells);
    }
    return out;
}

// The column titles and widths.
std::vector<std::pair<std::string, int>> ColumnsOf(const plat::ListView& list)
{
    std::vector<std::pair<std::string, int>> out;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        out.emplace_back(plat::Utf16ToUtf8(list.GetColumnText(column)), list.GetColumnWidth(column));
    return out;
}

// What a count dialog showed when it ran: its caption, template, button and list.
struct Shown {
    std::string caption;
    int templateId = 0;
    std::string button;
    std::vector<std::pair<std::string, int>> columns;
    Table cells;
    int selectedRow = -2;
    bool gridRows = false;
};

// Reads the next dialog's list (control `listId`) and closes the dialog with its button.
void ReadNextCountDialog(int listId, Shown& shown)
{
    plat::AnswerNextModal([listId, &shown](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        shown.caption = plat::Utf16ToUtf8(run.caption);
        shown.templateId = d->GetTemplate().id;
        shown.button = plat::Utf16ToUtf8(d->GetDlgItemText(plat::kIdOk));
        if (auto* list = d->GetItem<plat::ListView>(listId)) {
            shown.columns = ColumnsOf(*list);
            shown.cells = CellsOf(*list);
            shown.selectedRow = list->GetNextItem(-1, plat::kLvniSelected);
            constexpr unsigned kGrid = plat::kLvsExGridLines | plat::kLvsExFullRowSelect;
            shown.gridRows = (list->GetExtendedStyle() & kGrid) == kGrid;
        }
        d->PressButton(plat::kIdOk);
        return std::nullopt;
    });
}

const std::vector<std::pair<std::string, int>> kTextColumns = {
    {"类型", 80}, {"汉字", 50}, {"英文字母", 80}, {"英文单词", 80}, {"空格", 50}, {"其他", 50}, {"段落", 50},
};

// A record whose counter c holds base + c.
CStatistics Numbered(int base)
{
    CStatistics s;
    for (int c = 0; c < CStatistics::kCounterCount; ++c) s[static_cast<CStatistics::Counter>(c)] = base + c;
    return s;
}

TEST_F(EditorTest, TextCountDialogShowsARowPerRecordInSevenColumns)
{
    const CStatistics position = Numbered(10);
    const CStatistics paragraph = Numbered(-3);
    Shown shown;
    ReadNextCountDialog(kIdcTextCountList, shown);
    EXPECT_EQ(ShowWordCountDialog({{u"当前位置", &position}, {u"当前段落", &paragraph}}), plat::kIdOk);
    EXPECT_EQ(shown.caption, "字数统计");
    EXPECT_EQ(shown.templateId, kIddTextCount);
    EXPECT_EQ(shown.button, "返回");
    EXPECT_EQ(shown.columns, kTextColumns);
    EXPECT_EQ(shown.cells, (Table{{"当前位置", "10", "11", "12", "13", "14", "15"},
                                  {"当前段落", "-3", "-2", "-1", "0", "1", "2"}}));
    EXPECT_TRUE(shown.gridRows);
}

TEST_F(EditorTest, WordCountOfTheBodyReachesTheInstalledDialog)
{
    CDocBody& body = *m_doc.GetBody();
    body.InsertItemsAtCaret(u"Hi, 你好 don't");
    body.SetSelection(CTextPos(body.GetCount() - 1, body.GetName()), CTextPos(0, body.GetName()));
    InstallWordCountDialog();
    Shown shown;
    ReadNextCountDialog(kIdcTextCountList, shown);
    body.OnWordCount();
    SetWordCountDialog({});
    EXPECT_EQ(shown.templateId, kIddTextCount);
    EXPECT_EQ(shown.cells, (Table{{"当前选择", "2", "6", "2", "2", "2", "0"}}));
}

TEST_F(EditorTest, ObjectCountDialogShowsThirteenRowsWithTheFirstSelected)
{
    const CStatistics stats = Numbered(100);
    uitest::TestWindow frame("frame");
    ASSERT_TRUE(frame.Create(nullptr, plat::Rect(0, 0, 800, 600), plat::kWsVisible));
    Shown shown;
    ReadNextCountDialog(kIdcObjectCountList, shown);
    EXPECT_EQ(RunObjectCountDialog(stats, &frame), plat::kIdOk);
    EXPECT_EQ(shown.caption, "字数统计");
    EXPECT_EQ(shown.templateId, kIddObjectCount);
    EXPECT_EQ(shown.button, "返回");
    EXPECT_EQ(shown.columns, (std::vector<std::pair<std::string, int>>{{"类型", 100}, {"数量", 100}}));
    // Counters: 0 Chinese ... 5 paragraphs, 6 audio, 7 video, 8 images, 9 charts, 10 tables,
    // 11 graphics, 12 pages.
    EXPECT_EQ(shown.cells, (Table{{"页", "112"},
                                  {"汉字", "100"},
                                  {"英文字母", "101"},
                                  {"英文单词", "102"},
                                  {"空格", "103"},
                                  {"其他符号", "104"},
                                  {"段落", "105"},
                                  {"音频", "106"},
                                  {"视频", "107"},
                                  {"图表", "109"},
                                  {"图象", "108"},
                                  {"表格", "110"},
                                  {"图形", "111"}}));
    EXPECT_EQ(shown.selectedRow, 0);
    EXPECT_TRUE(shown.gridRows);
}

} // namespace

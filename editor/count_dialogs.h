// The count dialogs: the word count of the selection or of the caret's position and
// paragraph (template 212), and the counts of a whole document (template 7177). Both show
// their numbers in a list with grid lines that selects whole rows.
#pragma once
#include <vector>

#include "document/statistics.h"
#include "editor/grid_list.h"
#include "platform/ui/dialog.h"

class CTextCountDlg : public plat::Dialog {
public:
    // The columns after the row label show counters 0-5, Chinese characters to paragraphs.
    static constexpr GridColumn kColumns[] = {
        {u"类型", 80}, {u"汉字", 50}, {u"英文字母", 80}, {u"英文单词", 80}, {u"空格", 50}, {u"其他", 50}, {u"段落", 50},
    };

    // Up to three rows (position, paragraph, selection); the records are not owned.
    explicit CTextCountDlg(std::vector<CStatisticsRow> rows, plat::Window* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    std::vector<CStatisticsRow> m_rows;
};

class CObjectCountDlg : public plat::Dialog {
public:
    static constexpr int kColumnWidth = 100;
    // The rows, top to bottom: a label and the counter it shows.
    struct Row {
        const char16_t* label;
        CStatistics::Counter counter;
    };
    static constexpr Row kRows[] = {
        {u"页", CStatistics::kPages},         {u"汉字", CStatistics::kChinese},
        {u"英文字母", CStatistics::kLetters}, {u"英文单词", CStatistics::kWords},
        {u"空格", CStatistics::kSpaces},      {u"其他符号", CStatistics::kSymbols},
        {u"段落", CStatistics::kParagraphs},  {u"音频", CStatistics::kAudio},
        {u"视频", CStatistics::kVideo},       {u"图表", CStatistics::kCharts},
        {u"图象", CStatistics::kImages},      {u"表格", CStatistics::kTables},
        {u"图形", CStatistics::kGraphics},
    };

    // The record is not owned.
    explicit CObjectCountDlg(const CStatistics& stats, plat::Window* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    const CStatistics& m_stats;
};

// CTextCountDlg over the parent with the rows, modally. Returns what the dialog ended with.
int ShowWordCountDialog(const std::vector<CStatisticsRow>& rows, plat::Window* parent = nullptr);
// The body's word count (SetWordCountDialog) becomes CTextCountDlg over the parent.
void InstallWordCountDialog(plat::Window* parent = nullptr);
// CObjectCountDlg over the parent with the record, modally. Returns what the dialog ended
// with.
int RunObjectCountDialog(const CStatistics& stats, plat::Window* parent = nullptr);

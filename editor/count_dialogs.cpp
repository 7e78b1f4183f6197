#include "editor/count_dialogs.h"

#include <string>

#include "platform/ui/list_view.h"
#include "resources/res_dialogs.h"

namespace {

plat::String Number(std::int32_t value)
{
    const std::string text = std::to_string(value); // as "%d" writes it
    return plat::String(text.begin(), text.end());
}

// Grid lines, whole rows selected.
void ShowAsGrid(plat::ListView& list)
{
    list.SetExtendedStyle(list.GetExtendedStyle() | plat::kLvsExGridLines | plat::kLvsExFullRowSelect);
}

} // namespace

CTextCountDlg::CTextCountDlg(std::vector<CStatisticsRow> rows, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddTextCount), parent), m_rows(std::move(rows))
{
}

bool CTextCountDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    auto* list = GetItem<plat::ListView>(kIdcTextCountList);
    if (!list) return true;
    int column = 0;
    for (const Column& c : kColumns) list->InsertColumn(column++, c.title, c.width);
    int row = 0;
    for (const CStatisticsRow& r : m_rows) {
        if (!r.stats) continue;
        const int at = list->InsertItem(row++, r.label);
        for (int counter = CStatistics::kChinese; counter <= CStatistics::kParagraphs; ++counter)
            list->SetItemText(at, counter + 1, Number((*r.stats)[static_cast<CStatistics::Counter>(counter)]));
    }
    ShowAsGrid(*list);
    return true;
}

CObjectCountDlg::CObjectCountDlg(const CStatistics& stats, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddObjectCount), parent), m_stats(stats)
{
}

bool CObjectCountDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    auto* list = GetItem<plat::ListView>(kIdcObjectCountList);
    if (!list) return true;
    list->InsertColumn(0, u"类型", kColumnWidth);
    list->InsertColumn(1, u"数量", kColumnWidth);
    int row = 0;
    for (const Row& r : kRows) {
        const int at = list->InsertItem(row++, r.label);
        list->SetItemText(at, 1, Number(m_stats[r.counter]));
    }
    list->SetItemState(0, plat::kLvisSelected | plat::kLvisFocused, plat::kLvisSelected | plat::kLvisFocused);
    ShowAsGrid(*list);
    return true;
}

int ShowWordCountDialog(const std::vector<CStatisticsRow>& rows, plat::Window* parent)
{
    CTextCountDlg dlg(rows, parent);
    return dlg.DoModal();
}

void InstallWordCountDialog(plat::Window* parent)
{
    SetWordCountDialog([parent](const std::vector<CStatisticsRow>& rows) { ShowWordCountDialog(rows, parent); });
}

int RunObjectCountDialog(const CStatistics& stats, plat::Window* parent)
{
    CObjectCountDlg dlg(stats, parent);
    return dlg.DoModal();
}

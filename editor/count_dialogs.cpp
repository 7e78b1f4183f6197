#include "editor/count_dialogs.h"

#include <iterator>
#include <string>

#include "platform/ui/list_view.h"
#include "resources/res_dialogs.h"

namespace {

plat::String Number(std::int32_t value)
{
    const std::string text = std::to_string(value); // as "%d" writes it
    return plat::String(text.begin(), text.end());
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
    std::vector<std::vector<plat::String>> rows;
    for (const CStatisticsRow& r : m_rows) {
        if (!r.stats) continue;
        std::vector<plat::String> cells{r.label};
        for (int counter = CStatistics::kChinese; counter <= CStatistics::kParagraphs; ++counter)
            cells.push_back(Number((*r.stats)[static_cast<CStatistics::Counter>(counter)]));
        rows.push_back(std::move(cells));
    }
    FillGridList(*list, {std::begin(kColumns), std::end(kColumns)}, rows, false);
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
    std::vector<std::vector<plat::String>> rows;
    for (const Row& r : kRows) rows.push_back({r.label, Number(m_stats[r.counter])});
    FillGridList(*list, {{u"类型", kColumnWidth}, {u"数量", kColumnWidth}}, rows, true);
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

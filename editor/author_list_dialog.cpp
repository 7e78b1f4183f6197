#include "editor/author_list_dialog.h"

#include <cstdio>
#include <ctime>

#include "document/author_list.h"
#include "editor/grid_list.h"
#include "platform/ui/focus.h"
#include "platform/ui/list_view.h"
#include "resources/res_dialogs.h"

plat::String FormatAuthorTime(std::int32_t seconds)
{
    const std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min);
    return plat::String(text, text + std::char_traits<char>::length(text));
}

CAuthorListDlg::CAuthorListDlg(const CAuthorList& authors, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddAuthorList), parent), m_authors(authors)
{
}

int ShowAuthorListDialog(const CAuthorList& authors, plat::Window* parent, plat::Window* control)
{
    CAuthorListDlg dlg(authors, parent);
    const int result = dlg.DoModal();
    if (control) plat::SetFocus(control);
    return result;
}

bool CAuthorListDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    auto* list = GetItem<plat::ListView>(kIdcAuthorList);
    if (!list) return true;
    std::vector<std::vector<plat::String>> rows;
    for (int i = 0; i < m_authors.GetCount(); ++i) {
        const CAuthor* author = m_authors.GetAt(i);
        rows.push_back({author->m_name, FormatAuthorTime(author->m_time)});
    }
    FillGridList(*list, {{u"作者", kNameColumnWidth}, {u"时间", kTimeColumnWidth}}, rows, true);
    return true;
}

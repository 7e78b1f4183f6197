#include "editor/grid_list.h"

#include "platform/ui/list_view.h"

void FillGridList(plat::ListView& list, const std::vector<GridColumn>& columns,
                  const std::vector<std::vector<plat::String>>& rows, bool selectFirst)
{
    int column = 0;
    for (const GridColumn& c : columns) list.InsertColumn(column++, c.title, c.width);
    int row = 0;
    for (const std::vector<plat::String>& cells : rows) {
        if (cells.empty()) continue;
        const int at = list.InsertItem(row++, cells[0]);
        for (size_t i = 1; i < cells.size(); ++i) list.SetItemText(at, static_cast<int>(i), cells[i]);
    }
    if (selectFirst)
        list.SetItemState(0, plat::kLvisSelected | plat::kLvisFocused, plat::kLvisSelected | plat::kLvisFocused);
    list.SetExtendedStyle(list.GetExtendedStyle() | plat::kLvsExGridLines | plat::kLvsExFullRowSelect);
}

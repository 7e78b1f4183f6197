// The report lists of the editor's information dialogs: titled columns of given widths,
// rows of text, grid lines, whole rows selected.
#pragma once
#include <vector>

#include "platform/base/strings.h"

namespace plat {
class ListView;
}

struct GridColumn {
    const char16_t* title;
    int width; // pixels
};

// Adds the columns and rows (each row's cells from the first column on) to the list and
// shows it with grid lines and whole-row selection; the first row is selected and focused
// when asked.
void FillGridList(plat::ListView& list, const std::vector<GridColumn>& columns,
                  const std::vector<std::vector<plat::String>>& rows, bool selectFirst);

// The body's counts: the whole body into a statistics record, and the word count of the
// selection or of the caret's position and paragraph.
#include "document/doc_body.h"

#include <algorithm>

#include "document/float_object.h"
#include "document/statistics.h"
#include "document/text_item.h"

void CDocBody::CountStatistics(CStatistics& stats) const
{
    stats[CStatistics::kPages] += GetPageCount();
    for (int i = 0; i < GetObjectCount(); ++i) GetObject(i)->CountStatistics(stats);
    CountStatistics(stats, 0, -1);
}

void CDocBody::OnWordCount() const
{
    if (HasSelection()) {
        CTextPos caret, anchor;
        GetSelectionPositions(caret, anchor);
        CStatistics selection;
        CountStatistics(selection, std::min(caret.m_index, anchor.m_index), std::max(caret.m_index, anchor.m_index));
        ShowWordCount({{u"当前选择", &selection}});
        return;
    }
    const int caret = GetCaretPos().m_index;
    const int count = GetCount();
    // The paragraph runs from the item after the paragraph end before the caret through
    // the paragraph end at or after it (the final one closes the last paragraph).
    int start = std::min(caret, count);
    while (start > 0 && !IsParaBreakType(GetItem(start - 1)->GetNodeType())) --start;
    int end = std::max(caret, 0);
    while (end < count && !IsParaBreakType(GetItem(end)->GetNodeType())) ++end;
    CStatistics position, paragraph;
    CountStatistics(position, 0, caret);
    CountStatistics(paragraph, start, std::min(end + 1, count));
    ShowWordCount({{u"当前位置", &position}, {u"当前段落", &paragraph}});
}

#include "document/doc_frame.h"

#include "document/units.h"

int CFormatComboBox::FindItemText(plat::StringView text) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemText(i) == text) return i;
    return -1;
}

int CFormatComboBox::FindItemData(std::int32_t data) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemData(i) == data) return i;
    return -1;
}

void CHeadlessFormatCombo::SetCurSel(int index)
{
    if (index < -1 || index >= GetCount() || index == m_current) return;
    m_current = index;
    ++m_selections;
}

plat::String CHeadlessFormatCombo::GetItemText(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[index].text : plat::String();
}

std::int32_t CHeadlessFormatCombo::GetItemData(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[index].data : 0;
}

CHeadlessDocFrame::CHeadlessDocFrame()
{
    for (int i = kChineseTypeSizeCount - 1; i >= 0; --i)
        m_sizes.m_items.push_back({kChineseTypeSizes[i].name, kChineseTypeSizes[i].twips});
    m_sizes.m_current = 0;
}

void CHeadlessDocFrame::UpdateRevisionTip(int, int, const CTextItem* item)
{
    ++m_tipUpdates;
    m_tipItem = item;
}

CFormatComboBox* CHeadlessDocFrame::GetFormatCombo(FormatCombo which)
{
    if (!m_hasFormatBar) return nullptr;
    switch (which) {
    case FormatCombo::kChineseFace: return &m_chineseFaces;
    case FormatCombo::kWesternFace: return &m_westernFaces;
    case FormatCombo::kSize: return &m_sizes;
    }
    return nullptr;
}

void CHeadlessDocFrame::SetRulerIndents(int firstLine, int left, int right)
{
    if (m_rulerIndents[0] == firstLine && m_rulerIndents[1] == left && m_rulerIndents[2] == right) return;
    m_rulerIndents[0] = firstLine;
    m_rulerIndents[1] = left;
    m_rulerIndents[2] = right;
    ++m_rulerRepaints;
}

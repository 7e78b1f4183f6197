#include "document/spell_error.h"

#include <unordered_set>

#include "document/text_item.h"

void CSpellError::SetSuggestion(int index, plat::StringView text)
{
    if (index < 0 || index >= kMaxSuggestions) return;
    m_suggestions[static_cast<size_t>(index)].assign(text);
}

plat::String CSpellError::GetSuggestion(int index) const
{
    if (index < 0 || index >= kMaxSuggestions) return plat::String();
    return m_suggestions[static_cast<size_t>(index)];
}

CSpellError* CSpellErrorList::Add(std::unique_ptr<CSpellError> error)
{
    if (!error) return nullptr;
    m_errors.push_back(std::move(error));
    return m_errors.back().get();
}

CSpellError* CSpellErrorList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_errors[static_cast<size_t>(index)].get() : nullptr;
}

void CSpellErrorList::RemoveFlow(const CTextFlow* flow)
{
    std::unordered_set<const CSpellError*> records;
    for (const auto& e : m_errors)
        if (e->GetFlow() == flow) records.insert(e.get());
    if (records.empty()) return;
    CTextItem::ClearMisspeltLinks([&records](const CSpellError* e) { return records.count(e) != 0; });
    std::erase_if(m_errors, [&records](const auto& e) { return records.count(e.get()) != 0; });
}

void CSpellErrorList::RemoveAll()
{
    if (m_errors.empty()) return;
    std::unordered_set<const CSpellError*> records;
    for (const auto& e : m_errors) records.insert(e.get());
    CTextItem::ClearMisspeltLinks([&records](const CSpellError* e) { return records.count(e) != 0; });
    m_errors.clear();
}

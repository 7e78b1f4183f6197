#include "document/spell_error.h"

#include <unordered_set>

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
    std::erase_if(m_marks, [&records](const auto& mark) { return records.count(mark.second) != 0; });
    std::erase_if(m_errors, [&records](const auto& e) { return records.count(e.get()) != 0; });
}

void CSpellErrorList::RemoveAll()
{
    m_marks.clear();
    m_errors.clear();
}

CSpellError* CSpellErrorList::MarkOf(const CTextItem* item) const
{
    auto it = m_marks.find(item);
    return it == m_marks.end() ? nullptr : it->second;
}

void CSpellErrorList::SetMark(const CTextItem* item, CSpellError* error)
{
    if (error) m_marks[item] = error;
    else m_marks.erase(item);
}

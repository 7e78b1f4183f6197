#include "spell/speller.h"

#include <algorithm>

int CSpeller::Load(const plat::String&)
{
    return 1;
}

int CSpeller::Check(plat::StringView)
{
    return 0;
}

int CSpeller::Suggest(plat::StringView)
{
    m_suggestions.clear();
    m_suggestions.emplace_back(u"??");
    return 1;
}

void CSpeller::AddWord(plat::StringView)
{
}

void CSpeller::AddIgnore(plat::StringView)
{
}

int CSpeller::GetSuggestion(int index, char16_t* buffer) const
{
    if (!buffer || index < 0 || static_cast<size_t>(index) >= m_suggestions.size()) return 0;
    const plat::String& s = m_suggestions[static_cast<size_t>(index)];
    // Suggestions are filtered to fit when they are made; this only guards the buffer.
    if (s.size() > static_cast<size_t>(kMaxSuggestionUnits)) return 0;
    std::copy(s.begin(), s.end(), buffer);
    buffer[s.size()] = 0;
    return 1;
}

#include "spell/speller.h"

#include <algorithm>

#include "platform/base/system.h"

plat::String UserDictionaryFolder(const plat::String& folder)
{
    if (plat::FolderIsWritable(plat::Utf16ToUtf8(folder))) return folder;
    const std::string own = plat::UserDataDir();
    // Without a folder of the user's, the words go where they always went (and are lost
    // there if it stays unwritable, as before).
    if (!plat::MakeFolders(own)) return folder;
    return plat::Utf8ToUtf16(own);
}

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

#include "spell/russian_speller.h"

int CRussianSpeller::Load(const plat::String& folder)
{
    Release();
    // Without a folder there are no files (an empty one is not the file system's root).
    if (folder.empty()) return 1;

    m_standard = std::make_unique<CRussianWordList>();
    // The standard list's suggestion index is made on a thread of its own: suggestions
    // asked for before it is ready visit every word, as they would without it.
    if (!m_standard->Load(plat::Format(u"%s/QlRussia.dic", folder))) m_standard.reset();
    else m_standard->PrepareSuggestionsInBackground();
    // A missing user file leaves an empty list that keeps the path for the first save.
    m_user = std::make_unique<CRussianWordList>();
    m_user->Load(plat::Format(u"%s/QlRussiaUser.dic", UserDictionaryFolder(folder)));
    m_ignore = std::make_unique<CRussianWordList>();
    return 1;
}

int CRussianSpeller::Check(plat::StringView word)
{
    // No separate all-capitals rule: the folding covers capitals.
    if (m_ignore && m_ignore->Contains(word)) return 1;
    if (m_user && m_user->Contains(word)) return 1;
    if (!m_standard) return 1;
    return m_standard->Contains(word) ? 1 : 0;
}

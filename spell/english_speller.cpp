#include "spell/english_speller.h"

#include <algorithm>

int CEnglishSpeller::Load(const plat::String& folder)
{
    Release();
    // Without a folder there are no files: the control always names its own folder, and
    // an empty one must not turn into the root of the file system.
    if (folder.empty()) return 1;

    m_standard = std::make_unique<CEnglishDictionary>();
    if (m_standard->Open(plat::Format(u"%s/ViZavizivu.riv", folder)) != kDictOk) m_standard.reset();
    // Suggestions come from the standard dictionary only: its index is made with it.
    else m_standard->PrepareSuggestions();
    // A missing or bad user file gives an empty dictionary that keeps the path, so the
    // file is made at the first save. The user file may live elsewhere (see
    // UserDictionaryFolder).
    m_user = std::make_unique<CEnglishDictionary>();
    if (m_user->Open(plat::Format(u"%s/QlUser.dic", UserDictionaryFolder(folder))) != kDictOk) m_user->CreateEmpty();
    m_ignore = std::make_unique<CEnglishDictionary>();
    m_ignore->CreateEmpty();
    return 1;
}

int CEnglishSpeller::Check(plat::StringView word)
{
    if (m_ignore && m_ignore->Find(word)) return 1;
    if (m_user && m_user->Find(word)) return 1;
    if (!m_standard) return 1;
    if (m_standard->Find(word)) return 1;
    // An all-capitals word is also looked up in small letters.
    if (std::all_of(word.begin(), word.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; })) {
        plat::String lower(word);
        for (char16_t& c : lower) c = static_cast<char16_t>(c + 32);
        if (m_standard->Find(lower)) return 1;
    }
    return 0;
}

// The English speller: the standard dictionary "ViZavizivu.riv", the user dictionary
// "QlUser.dic" and an ignore list kept in memory.
#pragma once
#include "spell/english_dictionary.h"
#include "spell/language_speller.h"

class CEnglishSpeller : public CLanguageSpeller<CEnglishDictionary> {
public:
    int Load(const plat::String& folder) override;
    int Check(plat::StringView word) override;
};

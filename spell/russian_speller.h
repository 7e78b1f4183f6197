// The Russian speller: the standard list "QlRussia.dic", the user list
// "QlRussiaUser.dic" and an ignore list kept in memory.
#pragma once
#include "spell/language_speller.h"
#include "spell/russian_word_list.h"

class CRussianSpeller : public CLanguageSpeller<CRussianWordList> {
public:
    int Load(const plat::String& folder) override;
    int Check(plat::StringView word) override;
};

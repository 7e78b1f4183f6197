// What the English and Russian spellers share: a standard list (absent when it could not
// be read), a user list written back when words were added, an ignore list kept in
// memory, and suggestions from the standard list only.
#pragma once
#include <memory>

#include "spell/speller.h"

template <class List>
class CLanguageSpeller : public CSpeller {
public:
    // Writes the user list when words were added since the load.
    ~CLanguageSpeller() override { Release(); }

    // Misspelt words only: the suggestions of a correct word stay as they were.
    int Suggest(plat::StringView word) override
    {
        if (Check(word)) return 0;
        m_suggestions.clear();
        m_standard->Suggest(word, m_suggestions); // Check is non-zero without a standard list
        return static_cast<int>(m_suggestions.size());
    }

    void AddWord(plat::StringView word) override
    {
        if (!m_user) return;
        m_user->Add(word);
        // Modified even when the list refused the word: rewriting it is then harmless.
        m_modified = 1;
    }

    void AddIgnore(plat::StringView word) override
    {
        if (m_ignore) m_ignore->Add(word);
    }

protected:
    // Frees the lists, first saving a modified user list; a second load goes through
    // here too, so the words added in between are kept.
    void Release()
    {
        m_standard.reset();
        // A failed write loses the words of this run; there is nobody left to tell.
        if (m_modified && m_user) m_user->Save();
        m_modified = 0;
        m_user.reset();
        m_ignore.reset();
        m_suggestions.clear();
    }

    std::unique_ptr<List> m_standard;
    std::unique_ptr<List> m_user;
    std::unique_ptr<List> m_ignore;
    int m_modified = 0;
};

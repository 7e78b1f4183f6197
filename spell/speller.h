// The base of every speller; by itself it is the fallback speller for words of neither
// alphabet: every word misspelt, with the single suggestion "??".
#pragma once
#include <vector>

#include "platform/base/strings.h"

// Longest suggestion handed out, in UTF-16 units: the caller's buffer holds 256 units
// with the terminating 0, so a longer word is never offered (rather than cut short).
constexpr int kMaxSuggestionUnits = 255;

// The folder the user dictionaries of a dictionary folder are read from and written to:
// that folder when this process may write there; otherwise (a library installed under a
// system prefix) the user's data folder, plat::UserDataDir, made with mode 0700 when
// missing. Writing beside a folder nobody can write would lose every added word at unload.
plat::String UserDictionaryFolder(const plat::String& folder);

class CSpeller {
public:
    CSpeller() = default;
    virtual ~CSpeller() = default;
    CSpeller(const CSpeller&) = delete;
    CSpeller& operator=(const CSpeller&) = delete;

    // Reads the dictionaries of a folder. The fallback reads nothing.
    virtual int Load(const plat::String& folder);
    // Non-zero when the word is correct.
    virtual int Check(plat::StringView word);
    // Refills the suggestion array for a misspelt word; returns the number of suggestions.
    virtual int Suggest(plat::StringView word);
    virtual void AddWord(plat::StringView word);
    virtual void AddIgnore(plat::StringView word);

    // Copies suggestion `index`, with its 0, into buffer; 1 when copied, 0 when the index
    // is out of range (the buffer is then left as it is).
    int GetSuggestion(int index, char16_t* buffer) const;

    const std::vector<plat::String>& Suggestions() const { return m_suggestions; }

protected:
    std::vector<plat::String> m_suggestions;
};

// The binder of the spelling library: libOrthon.so.1 from the control's own folder, its
// seven exports bound by name, its dictionaries read from the same folder. Unbound (no
// library, an export missing, the dictionaries refused) every word counts as correct and
// has no suggestions; nothing is reported.
#pragma once
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/library.h"
#include "spell/orthon.h"

// File name of the spelling library in the control's folder: its SONAME, the name a
// runtime installation has (the bare libOrthon.so is only a link for linking against it).
inline constexpr char16_t kSpellLibraryName[] = u"libOrthon.so.1";

class CSpellEngine {
public:
    CSpellEngine() = default;
    // Releases and frees the library when bound.
    ~CSpellEngine() { Unload(); }
    CSpellEngine(const CSpellEngine&) = delete;
    CSpellEngine& operator=(const CSpellEngine&) = delete;

    // Binds the library of the control's own folder and loads the dictionaries there.
    bool Load();
    // The same with the library and its dictionaries in another folder.
    bool Load(const plat::String& folder);
    // Releases the library's state (its user dictionaries are written) and frees it.
    void Unload();
    bool IsBound() const { return m_bound; }

    // 1 when the word is correct, or when unbound.
    int IsCorrect(const plat::String& word) const;
    // 0 with the list replaced by the word's suggestions (no more than kMaxSuggestions);
    // 1, leaving the list as it was, when the library has no suggestions for the word
    // or is unbound.
    int GetSuggestions(const plat::String& word, std::vector<plat::String>& list);
    void AddWord(const plat::String& word);
    void AddIgnore(const plat::String& word);

    // A count from the library beyond this is taken as this many.
    static constexpr int kMaxSuggestions = 256;
    // Units of the buffer each suggestion is copied into, its 0 included.
    static constexpr int kSuggestionUnits = kOrthonSuggestionBufferUnits;

private:
    plat::Library m_module;
    bool m_bound = false;
    OrthonLoadSpellCheckFn m_loadSpellCheck = nullptr;
    OrthonReleaseSpellCheckFn m_releaseSpellCheck = nullptr;
    OrthonCheckWordFn m_checkWord = nullptr;
    OrthonFindWordFn m_findWord = nullptr;
    OrthonGetWordFn m_getWord = nullptr;
    OrthonAddWordFn m_addWord = nullptr;
    OrthonAddIgnoreFn m_addIgnore = nullptr;
};

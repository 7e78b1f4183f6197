// The seven exports and the library-wide state behind them.
#include <string>

#include "spell/english_speller.h"
#include "spell/orthon.h"
#include "spell/russian_speller.h"

namespace {

// The library's application object; it has no behaviour of its own.
class CSpellApp {
};

// Library-wide state: made on the first call into the library and destroyed when the
// library is unloaded, in reverse order (so the language spellers write their user
// dictionaries before the application object goes). Making it on first use keeps its
// destruction ahead of the platform code's own statics, which writing a file needs.
struct OrthonState {
    CSpellApp app;
    CRussianSpeller russian;
    CEnglishSpeller english;
    CSpeller fallback;
    CSpeller* lastSpeller = nullptr; // set by FindWord, read by GetWord
};

OrthonState& State()
{
    static OrthonState state;
    return state;
}

// A null pointer counts as the empty word.
plat::StringView Word(const char16_t* word)
{
    return word ? plat::StringView(word) : plat::StringView();
}

// English: letters a-z, A-Z and the apostrophe (the empty word too).
bool IsEnglishWord(plat::StringView w)
{
    for (char16_t c : w)
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'')) return false;
    return true;
}

// Russian: every unit in U+0401..U+045F.
bool IsRussianWord(plat::StringView w)
{
    for (char16_t c : w)
        if (c < 0x0401 || c > 0x045F) return false;
    return true;
}

CSpeller& SelectSpeller(plat::StringView w)
{
    OrthonState& s = State();
    if (IsEnglishWord(w)) return s.english;
    if (IsRussianWord(w)) return s.russian;
    return s.fallback;
}

} // namespace

// Nothing may unwind into the caller: running out of memory reads as "no result".
extern "C" {

int LoadSpellCheck(const char16_t* folder)
{
    try {
        const plat::String path(Word(folder));
        OrthonState& s = State();
        s.russian.Load(path);
        s.english.Load(path);
    } catch (...) {
    }
    return 1;
}

void ReleaseSpellCheck()
{
}

int CheckWord(const char16_t* word)
{
    try {
        const plat::StringView w = Word(word);
        return SelectSpeller(w).Check(w);
    } catch (...) {
        return 0;
    }
}

int FindWord(const char16_t* word)
{
    try {
        const plat::StringView w = Word(word);
        CSpeller& speller = SelectSpeller(w);
        State().lastSpeller = &speller;
        return speller.Suggest(w);
    } catch (...) {
        return 0;
    }
}

int GetWord(int index, char16_t* buffer)
{
    try {
        const CSpeller* speller = State().lastSpeller;
        return speller ? speller->GetSuggestion(index, buffer) : 0;
    } catch (...) {
        return 0;
    }
}

void AddWord(const char16_t* word)
{
    try {
        const plat::StringView w = Word(word);
        SelectSpeller(w).AddWord(w);
    } catch (...) {
    }
}

void AddIgnore(const char16_t* word)
{
    try {
        const plat::StringView w = Word(word);
        SelectSpeller(w).AddIgnore(w);
    } catch (...) {
    }
}

} // extern "C"

// The spelling library's exported interface: seven C functions, bound by name at run
// time. Every string is a 0-terminated UTF-16 string; every result is a 32-bit int.
#pragma once

#if defined(__GNUC__)
#define ORTHON_API __attribute__((visibility("default")))
#else
#define ORTHON_API
#endif

extern "C" {

// Reads the dictionaries of the folder (no trailing separator). Always 1: a language
// whose standard dictionary is missing or unreadable accepts every word.
ORTHON_API int LoadSpellCheck(const char16_t* folder);
// Does nothing; user dictionaries are written when the library is unloaded.
ORTHON_API void ReleaseSpellCheck();
// Non-zero when the word is correct.
ORTHON_API int CheckWord(const char16_t* word);
// Number of suggestions for a misspelt word, 0 when it is correct. The suggestions stay
// available to GetWord until the next FindWord.
ORTHON_API int FindWord(const char16_t* word);
// Copies suggestion `index` of the last FindWord, with its 0, into `buffer`, which must
// hold 256 units (no suggestion is longer than 255). 1 when copied, else 0.
ORTHON_API int GetWord(int index, char16_t* buffer);
// Adds the word to the user dictionary of its language.
ORTHON_API void AddWord(const char16_t* word);
// Adds the word to the ignore list of its language (kept until unload).
ORTHON_API void AddIgnore(const char16_t* word);

} // extern "C"

// The exports' types, for binders that look them up by name.
using OrthonLoadSpellCheckFn = int (*)(const char16_t*);
using OrthonReleaseSpellCheckFn = void (*)();
using OrthonCheckWordFn = int (*)(const char16_t*);
using OrthonFindWordFn = int (*)(const char16_t*);
using OrthonGetWordFn = int (*)(int, char16_t*);
using OrthonAddWordFn = void (*)(const char16_t*);
using OrthonAddIgnoreFn = void (*)(const char16_t*);

// Size in UTF-16 units, terminating 0 included, of the buffer GetWord writes into.
constexpr int kOrthonSuggestionBufferUnits = 256;

/* The spelling library's exported interface (libOrthon.so.1): seven C functions, bound by
 * name at run time or linked against. Every string is a 0-terminated UTF-16 string; every
 * result is a 32-bit int. For C and C++ alike. */
#ifndef ORTHON_H
#define ORTHON_H

#ifndef __cplusplus
#include <uchar.h> /* char16_t */
#endif

#if defined(__GNUC__)
#define ORTHON_API __attribute__((visibility("default")))
#else
#define ORTHON_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Reads the dictionaries of the folder (no trailing separator). Always 1: a language
// whose standard dictionary is missing or unreadable accepts every word. The user
// dictionaries are read from and written to that folder when this process may write
// there, else to $XDG_DATA_HOME/quiln (~/.local/share/quiln).
ORTHON_API int LoadSpellCheck(const char16_t* folder);
// Does nothing; user dictionaries are written when the library is unloaded.
ORTHON_API void ReleaseSpellCheck(void);
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

// The exports' types, for binders that look them up by name.
typedef int (*OrthonLoadSpellCheckFn)(const char16_t*);
typedef void (*OrthonReleaseSpellCheckFn)(void);
typedef int (*OrthonCheckWordFn)(const char16_t*);
typedef int (*OrthonFindWordFn)(const char16_t*);
typedef int (*OrthonGetWordFn)(int, char16_t*);
typedef void (*OrthonAddWordFn)(const char16_t*);
typedef void (*OrthonAddIgnoreFn)(const char16_t*);

// Size in UTF-16 units, terminating 0 included, of the buffer GetWord writes into.
enum { kOrthonSuggestionBufferUnits = 256 };

#ifdef __cplusplus
} // extern "C"
#endif

#endif /* ORTHON_H */

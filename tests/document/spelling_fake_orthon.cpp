// Stand-ins of the spelling library for the binder's failure paths, one per build:
//   FAKE_ORTHON_MISSING_EXPORT  all exports but AddIgnore
//   FAKE_ORTHON_LOAD_FAILS      LoadSpellCheck refuses the dictionaries
//   FAKE_ORTHON_FLOOD           every word is wrong, with more suggestions than anyone
//                               could want, each filling the whole buffer without a 0
#include <climits>

#define FAKE_API extern "C" __attribute__((visibility("default")))

FAKE_API int LoadSpellCheck(const char16_t*)
{
#ifdef FAKE_ORTHON_LOAD_FAILS
    return 0;
#else
    return 1;
#endif
}

FAKE_API void ReleaseSpellCheck() {}

FAKE_API int CheckWord(const char16_t*) { return 0; }

FAKE_API int FindWord(const char16_t*)
{
#ifdef FAKE_ORTHON_FLOOD
    return INT_MAX;
#else
    return 1;
#endif
}

FAKE_API int GetWord(int, char16_t* buffer)
{
    for (int i = 0; i < 256; ++i) buffer[i] = u'x';
    return 1;
}

FAKE_API void AddWord(const char16_t*) {}

#ifndef FAKE_ORTHON_MISSING_EXPORT
FAKE_API void AddIgnore(const char16_t*) {}
#endif

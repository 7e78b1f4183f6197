// The binder of the host's outside sentence checker, loaded from the path the host gives
// for one check run or one painting, with its two exports. The library gets each run of
// text as code page 936 and answers with findings that are fetched one by one into a
// 200-byte block. Without the library (no path, no file, an export missing) every check
// finds nothing; nothing is reported.
//
// The calling convention, which a checker library implements:
//   int CheckSentence(int32 profile, const char* text, int, int, int, int, int, int, int,
//                     const char16_t* dataPath, int)
//       text: the run, code page 936, 0-terminated, in a 256-byte block; the seven ints
//       are 1, 1, 2, 1, 1, 1, 0 and the last is 1. Result: the number of findings (> 0).
//   int FetchCheckResult(int index, unsigned char block[200])
//       non-zero when it filled the block for finding `index`:
//       [0, 4)    int32, the finding's first character as an index into the run
//       [8, 40)   the finding's text, code page 936; its length in bytes is the number
//                 of non-zero bytes there
//       [40, 200) five suggestion slots of 32 bytes, code page 936, each ending at a 0
//                 byte or at the slot's end; a slot counts when its first byte is not 0
#pragma once
#include <array>
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/com/library.h"

class CCheckTextBuffer;

// The profile the checker is asked for: text in code page 936.
inline constexpr std::int32_t kSentenceCheckProfile = 936;
// The checker's data file, looked for beside the checker library.
inline constexpr char16_t kSentenceCheckDataName[] = u"QlSentence.dat";

class CSentenceChecker {
public:
    static constexpr int kBlockSize = 200;
    static constexpr int kSlotCount = 5;
    static constexpr int kSlotSize = 32;
    static constexpr int kTextSize = 256;

    // Loads the library at the path and binds both exports; a failure is silent.
    explicit CSentenceChecker(const plat::String& libraryPath);
    ~CSentenceChecker() = default;
    CSentenceChecker(const CSentenceChecker&) = delete;
    CSentenceChecker& operator=(const CSentenceChecker&) = delete;

    bool IsAvailable() const { return m_available; }
    // Checks the run; the number of findings (0 when unavailable or on a result <= 0).
    int Check(const CCheckTextBuffer& buffer);
    // Fetches finding `index`; the number of its non-empty suggestion slots (0-5), 0 when
    // nothing was fetched.
    int Fetch(int index);
    // The last fetched finding's first character (an index into the run) and its length
    // in code page 936 bytes; both 0 unless the finding has a suggestion.
    int GetErrorStart() const;
    int GetErrorLength() const;
    // The text of the last fetched finding.
    plat::String GetErrorText() const;
    // Suggestion slot i (0-4) of the last fetched finding; empty for an empty slot.
    plat::String GetSuggestion(int slot) const;
    const plat::String& GetDataPath() const { return m_dataPath; }

private:
    using CheckFn = int (*)(std::int32_t, const char*, int, int, int, int, int, int, int, const char16_t*, int);
    using FetchFn = int (*)(int, unsigned char*);

    plat::Library m_module;
    bool m_available = false;
    CheckFn m_check = nullptr;
    FetchFn m_fetch = nullptr;
    plat::String m_dataPath;
    int m_resultCount = 0;
    std::array<unsigned char, kBlockSize> m_block{};
};

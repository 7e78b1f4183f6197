// One English dictionary file in memory: the standard dictionary, the user dictionary or
// the ignore list. Records are looked up with their case rules, added words are kept
// apart until the file is rewritten, and suggestions are made over the same records.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/strings.h"

// File layout (little-endian, UTF-16LE strings 0-terminated and zero-padded).
constexpr std::size_t kEnglishHeaderBytes = 772;
constexpr std::size_t kEnglishRecordBytes = 84;
constexpr int kEnglishWordUnits = 19;      // record bytes 0..37
constexpr int kEnglishKeyUnits = 9;        // bytes 38..55
constexpr int kEnglishReservedUnits = 10;  // bytes 56..75
constexpr int kEnglishMaxWordChars = 18;   // longest word Add accepts
constexpr int kPhoneticKeyCodes = 8;
// Lookups and suggestions work on copies of the word of at most this many units (the
// terminating 0 makes 50); a longer word is misspelt.
constexpr int kEnglishMaxLookupUnits = 49;
constexpr std::size_t kEnglishLetterIndexSize = 255;
// Larger files are refused as too big to hold (the generated dictionary is under 10 MiB).
constexpr std::uint64_t kEnglishMaxFileBytes = std::uint64_t(64) << 20;

// Results of the file operations.
constexpr int kDictOk = 0;
constexpr int kDictOutOfMemory = 1;
constexpr int kDictBadHeader = 101;
constexpr int kDictCannotOpen = 102;
constexpr int kDictWordTooLong = 105;

// One record. The string fields keep their file size plus a 0 of our own, so a field
// that fills its slot without a terminator still reads as a bounded string.
struct EnglishRecord {
    char16_t word[kEnglishWordUnits + 1] = {};
    char16_t key[kEnglishKeyUnits + 1] = {};
    char16_t reserved[kEnglishReservedUnits + 1] = {};
    std::int32_t hasCapitals = 0;
    std::int32_t length = 0;      // as stored: used for closeness, never as an index
    std::uint8_t wordUnits = 0;   // units before the word's first 0
    std::uint32_t letterMask = 0; // for the suggestion pre-filter

    plat::StringView Word() const { return plat::StringView(word, wordUnits); }
    plat::StringView Key() const;
};

class CEnglishDictionary {
public:
    CEnglishDictionary();

    // 0 read, 1 out of memory, 101 bad header, 102 cannot be opened. The path is kept
    // whatever the outcome.
    int Open(const plat::String& path);
    // The same for a file already in memory (Open reads the file and calls this).
    int Read(const std::uint8_t* data, std::size_t size);
    // Empties the dictionary (records, added records, header); the path stays.
    int CreateEmpty();
    // Non-zero when the word is in the dictionary.
    int Find(plat::StringView word) const;
    // 0 added, 1 out of memory, 105 longer than 18 characters once trimmed.
    int Add(plat::StringView word);
    // Merges, sorts and writes the whole dictionary: 0 written, 1 out of memory, 102 the
    // file cannot be created. The file is replaced only once the new one is complete.
    int WriteTo(const plat::String& path);
    // WriteTo on the stored path; a written file is read again, so the added records join
    // the sorted ones.
    int Save();

    // Suggestions for a misspelt word, in record order (sorted records, then added ones).
    void Suggest(plat::StringView word, std::vector<plat::String>& list) const;
    // The same list made by visiting every record: the plain form the indexed one keeps to.
    void SuggestByScan(plat::StringView word, std::vector<plat::String>& list) const;
    // Builds the index suggestions search the records by; Suggest builds it at its first
    // call when nobody did before. Reading a file drops it.
    void PrepareSuggestions() const;
    std::size_t SuggestionIndexBytes() const;

    static plat::String PhoneticKey(plat::StringView word, int maxCodes = kPhoneticKeyCodes);
    static plat::String ConsonantSkeleton(plat::StringView word);
    static bool IsCloseSpelling(plat::StringView a, std::int64_t la, plat::StringView b, std::int64_t lb);
    static int Distance(plat::StringView s, plat::StringView t);
    static int CountVowels(plat::StringView word);
    static bool IsVowel(char16_t c);
    static bool SameLetter(char16_t a, char16_t b);

    // Inspection, for the library's own tools and tests.
    const std::vector<EnglishRecord>& Records() const { return m_records; }
    const std::vector<EnglishRecord>& AddedRecords() const { return m_added; }
    const std::array<std::uint8_t, kEnglishHeaderBytes>& Header() const { return m_header; }
    const plat::String& Path() const { return m_path; }
    std::int32_t LetterIndex(std::size_t key) const { return m_letterIndex[key]; }

private:
    void Clear();
    void BuildLetterIndex();
    bool FindInRecords(plat::StringView word) const;
    bool FindInAdded(plat::StringView word) const;

    std::vector<EnglishRecord> m_records; // the file's records, in file order
    std::vector<EnglishRecord> m_added;   // added since the file was read
    std::array<std::int32_t, kEnglishLetterIndexSize> m_letterIndex {};
    std::array<std::uint8_t, kEnglishHeaderBytes> m_header {};
    plat::String m_path;
    // True when the records are in the order the writer sorts them; lookups then search
    // the letter's run by halving rather than walking it, with the same outcome.
    bool m_sorted = true;
    // Finds the records a suggestion can come from (added records are always visited).
    struct SuggestIndex;
    mutable std::shared_ptr<const SuggestIndex> m_suggestIndex;
};

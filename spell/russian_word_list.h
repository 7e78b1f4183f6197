// One Russian word list: the standard list "QlRussia.dic", the user list
// "QlRussiaUser.dic" or the ignore list. The file is a run of UTF-16LE words, each ended
// by a 0 unit, in no particular order. Words compare by a fixed folding of Russian
// capitals; a hash of the folded words answers lookups, and suggestions keep list order.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/base/strings.h"
#include "spell/suggest_index.h"

// Larger files are not read (the generated list is under 40 MiB).
constexpr std::uint64_t kRussianMaxFileBytes = std::uint64_t(128) << 20;

class CRussianWordList {
public:
    CRussianWordList();
    // A background build goes on reading the moved words where they are; assigning over
    // a list would free them under it.
    CRussianWordList(CRussianWordList&&) noexcept = default;
    CRussianWordList& operator=(CRussianWordList&&) = delete;

    // 1 read, 0 the file cannot be opened (the words are then left as they were). The
    // path is kept whatever the outcome.
    int Load(const plat::String& path);
    // The same for a file already in memory; a final word without its 0 and a final odd
    // byte are dropped.
    void Read(const std::uint8_t* data, std::size_t size);
    // Writes every word, in list order, to the path it was loaded from. False when the
    // file could not be written (the old one is then left whole).
    bool Save() const;
    bool SaveTo(const plat::String& path) const;

    void Add(plat::StringView word);
    bool Contains(plat::StringView word) const;
    // Appends, in list order, the words close to the given one.
    void Suggest(plat::StringView word, std::vector<plat::String>& out) const;
    // The same by visiting every entry: the plain form the indexed one keeps to.
    void SuggestByScan(plat::StringView word, std::vector<plat::String>& out) const;
    // Builds the index suggestions search the list by; Suggest builds it at its first call
    // when nobody did before. Words added later are visited one by one until there are
    // many of them.
    void PrepareSuggestions() const;
    // Starts building that index on a thread of its own. Until it is ready, suggestions
    // visit every entry; changing the list waits for it, reading a new one drops it.
    void PrepareSuggestionsInBackground() const;
    std::size_t SuggestionIndexBytes() const;

    std::size_t Count() const { return m_starts.size() - 1; }
    plat::StringView Word(std::size_t index) const;
    const plat::String& Path() const { return m_path; }

    static char16_t FoldCyrillic(char16_t c);
    static bool SameLetter(char16_t a, char16_t b);
    static bool EqualFolded(plat::StringView a, plat::StringView b);
    static int Distance(plat::StringView word, plat::StringView entry);
    static bool IsCloseSpelling(plat::StringView word, std::int64_t wordLength,
                                plat::StringView entry, std::int64_t entryLength);

private:
    void Clear();
    // Takes the index a background build made, once it is done (or waiting for it).
    void AdoptBuiltIndex(bool wait) const;
    // Takes the units in m_units, as the file holds them, for the list.
    void AdoptFileUnits();
    void Append(plat::StringView word);
    void IndexWord(std::uint32_t index);
    void IndexWord(std::uint32_t index, std::size_t home);
    void Rehash(std::size_t slots);
    // lettersChecked: the entry came from the letter index, whose bound is tighter than the
    // mask test (which, like the others before the distance, only skips what it refuses).
    bool Offers(plat::StringView word, std::uint32_t wordMask, std::size_t entry, bool lettersChecked = false) const;

    plat::String m_path;
    // Every word followed by its 0, in list order; word k starts at m_starts[k] and the
    // last entry of m_starts marks the end.
    std::vector<char16_t, orthon::UninitialisedAllocator<char16_t>> m_units;
    std::vector<std::uint32_t> m_starts;
    // Letters of each word, for the suggestion pre-filter: with them a list asked for
    // before the index is ready visits the words as fast as it did before there was one.
    std::vector<std::uint32_t> m_masks;
    // Open addressing over folded words: slot holds a word index + 1, 0 when free. Only
    // the first of equal folded words is entered. The table comes zeroed from calloc,
    // which for a large one costs no pass over it.
    struct FreeSlots {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint32_t[], FreeSlots> m_slots;
    std::size_t m_slotCount = 0;
    std::size_t m_hashed = 0;
    // Finds the entries a suggestion can come from, among the first ones.
    struct SuggestIndex;
    mutable std::shared_ptr<const SuggestIndex> m_suggestIndex;
    // Builds over the first n words; nothing when *stop turns true on the way.
    static std::shared_ptr<const SuggestIndex> BuildSuggestIndex(const char16_t* units, const std::uint32_t* starts,
                                                                 std::size_t n, const std::atomic<bool>* stop);
    // A build on a thread of its own; it reads only the words already in the list.
    struct IndexBuilder;
    struct StopBuilder {
        void operator()(IndexBuilder* builder) const;
    };
    // Last, so that it stops before the words go.
    mutable std::unique_ptr<IndexBuilder, StopBuilder> m_builder;
};

#include "spell/russian_word_list.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <thread>

#include "platform/base/byte_order.h"
#include "spell/dictionary_io.h"
#include "spell/spell_distance.h"
#include "spell/speller.h"
#include "spell/suggest_index.h"

namespace {

std::uint64_t FoldedHash(plat::StringView w)
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (char16_t c : w) {
        h ^= CRussianWordList::FoldCyrillic(c);
        h *= 1099511628211ull;
    }
    return h ^ (h >> 29);
}

unsigned RussianLetterBit(char16_t c)
{
    return static_cast<unsigned>(CRussianWordList::FoldCyrillic(c) - 0x430);
}

} // namespace

CRussianWordList::CRussianWordList()
{
    Clear();
}

char16_t CRussianWordList::FoldCyrillic(char16_t c)
{
    if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 32);
    if (c == 0x0401) return 0x0451;
    return c;
}

bool CRussianWordList::SameLetter(char16_t a, char16_t b)
{
    return FoldCyrillic(a) == FoldCyrillic(b);
}

bool CRussianWordList::EqualFolded(plat::StringView a, plat::StringView b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!SameLetter(a[k], b[k])) return false;
    return true;
}

int CRussianWordList::Distance(plat::StringView word, plat::StringView entry)
{
    return orthon::AlignmentDistance(word, entry, SameLetter);
}

bool CRussianWordList::IsCloseSpelling(plat::StringView word, std::int64_t wordLength,
                                       plat::StringView entry, std::int64_t entryLength)
{
    return orthon::IsCloseSpellingWith(word, wordLength, entry, entryLength, SameLetter);
}

void CRussianWordList::Clear()
{
    m_builder.reset();
    decltype(m_units)().swap(m_units);
    m_starts.assign(1, 0);
    std::vector<std::uint32_t>().swap(m_masks);
    m_suggestIndex.reset();
    Rehash(16);
}

plat::StringView CRussianWordList::Word(std::size_t index) const
{
    const std::uint32_t start = m_starts[index];
    return plat::StringView(m_units.data() + start, m_starts[index + 1] - start - 1);
}

int CRussianWordList::Load(const plat::String& path)
{
    m_path = path;
    orthon::WholeFile file;
    if (file.Open(path, kRussianMaxFileBytes) != orthon::FileReadResult::kRead) return 0;
    // The file's bytes go straight into the word storage and are converted there.
    decltype(m_units) units;
    units.resize((file.Size() + 1) / 2);
    std::size_t got = 0;
    if (!file.ReadAll(units.data(), got)) return 0;
    units.resize(got / 2);
    Clear();
    m_units.swap(units);
    AdoptFileUnits();
    return 1;
}

void CRussianWordList::Read(const std::uint8_t* data, std::size_t size)
{
    Clear();
    try {
        m_units.resize(size / 2);
    } catch (const std::bad_alloc&) {
        Clear();
        return;
    }
    if (!m_units.empty()) std::memcpy(m_units.data(), data, m_units.size() * 2);
    AdoptFileUnits();
}

void CRussianWordList::AdoptFileUnits()
{
    // The file is little-endian.
    if constexpr (std::endian::native == std::endian::big)
        for (char16_t& c : m_units) c = static_cast<char16_t>((c >> 8) | (c << 8));
    // Only complete words are kept: find the last 0 unit.
    std::size_t end = m_units.size();
    while (end > 0 && m_units[end - 1] != 0) --end;
    m_units.resize(end);
    try {
        std::size_t words = 0;
        for (std::size_t k = 0; k < end; ++k) words += m_units[k] == 0;
        m_starts.reserve(words + 1);
        orthon::PreferLargePages(m_starts.data(), m_starts.capacity() * sizeof(std::uint32_t));
        m_masks.reserve(words);
        orthon::PreferLargePages(m_masks.data(), m_masks.capacity() * sizeof(std::uint32_t));
        std::uint32_t mask = 0;
        for (std::size_t k = 0; k < end; ++k) {
            const char16_t c = m_units[k];
            if (c != 0) {
                mask |= std::uint32_t(1) << (RussianLetterBit(c) & 31);
                continue;
            }
            m_starts.push_back(static_cast<std::uint32_t>(k + 1));
            m_masks.push_back(mask);
            mask = 0;
        }
        std::size_t slots = 16;
        while (slots < 2 * Count()) slots *= 2;
        Rehash(slots);
    } catch (const std::bad_alloc&) {
        // Too big to hold: an empty list rather than half of one.
        Clear();
    }
}

void CRussianWordList::Rehash(std::size_t slots)
{
    // May throw: the old table stays usable.
    std::unique_ptr<std::uint32_t[], FreeSlots> fresh(static_cast<std::uint32_t*>(std::calloc(slots, sizeof(std::uint32_t))));
    if (!fresh) throw std::bad_alloc();
    orthon::PreferLargePages(fresh.get(), slots * sizeof(std::uint32_t));
    m_slots = std::move(fresh);
    m_slotCount = slots;
    m_hashed = 0;
    const std::size_t mask = slots - 1;
    const std::size_t n = Count();
    // The table is far larger than the caches: ask for each word's slot a little ahead,
    // keeping the slots asked for in a ring.
    constexpr std::size_t kAhead = 16;
    std::uint32_t ahead[kAhead];
    auto homeOf = [&](std::size_t k) { return static_cast<std::uint32_t>(FoldedHash(Word(k)) & mask); };
    for (std::size_t k = 0; k < n && k < kAhead; ++k) ahead[k] = homeOf(k);
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint32_t home = ahead[k % kAhead];
        if (k + kAhead < n) {
            const std::uint32_t next = homeOf(k + kAhead);
            __builtin_prefetch(&m_slots[next]);
            ahead[k % kAhead] = next;
        }
        IndexWord(static_cast<std::uint32_t>(k), home);
    }
}

void CRussianWordList::IndexWord(std::uint32_t index)
{
    IndexWord(index, FoldedHash(Word(index)) & (m_slotCount - 1));
}

void CRussianWordList::IndexWord(std::uint32_t index, std::size_t home)
{
    const plat::StringView w = Word(index);
    const std::size_t mask = m_slotCount - 1;
    for (std::size_t s = home;; s = (s + 1) & mask) {
        const std::uint32_t held = m_slots[s];
        if (held == 0) {
            m_slots[s] = index + 1;
            ++m_hashed;
            return;
        }
        if (EqualFolded(Word(held - 1), w)) return;
    }
}

bool CRussianWordList::Contains(plat::StringView word) const
{
    const std::size_t mask = m_slotCount - 1;
    for (std::size_t s = FoldedHash(word) & mask;; s = (s + 1) & mask) {
        const std::uint32_t held = m_slots[s];
        if (held == 0) return false;
        if (EqualFolded(Word(held - 1), word)) return true;
    }
}

void CRussianWordList::Append(plat::StringView word)
{
    // Offsets are 32-bit: a list that would outgrow them takes no more words.
    if (m_units.size() + word.size() + 1 > UINT32_MAX) throw std::bad_alloc();
    m_masks.push_back(orthon::LetterMask(word, RussianLetterBit));
    try {
        m_units.insert(m_units.end(), word.begin(), word.end());
        m_units.push_back(0);
        m_starts.push_back(static_cast<std::uint32_t>(m_units.size()));
    } catch (const std::bad_alloc&) {
        m_masks.pop_back();
        throw;
    }
}

void CRussianWordList::Add(plat::StringView word)
{
    // A background build reads the words: let it finish before they move.
    AdoptBuiltIndex(true);
    // A 0 inside the word would split it in two on the next read.
    const plat::StringView w = word.substr(0, word.find(char16_t(0)));
    try {
        Append(w);
        if (2 * (m_hashed + 1) > m_slotCount) Rehash(2 * m_slotCount);
        else IndexWord(static_cast<std::uint32_t>(Count() - 1));
    } catch (const std::bad_alloc&) {
    }
}

struct CRussianWordList::SuggestIndex {
    orthon::LetterNeighbourIndex letters; // the first letters.Size() entries
};

bool CRussianWordList::Offers(plat::StringView word, std::uint32_t wordMask, std::size_t entry,
                              bool lettersChecked) const
{
    const auto len = static_cast<std::int64_t>(word.size());
    const auto entryLength = static_cast<std::int64_t>(m_starts[entry + 1] - m_starts[entry] - 1);
    // Cheap checks first: each only skips entries the distance would refuse, and no entry
    // longer than the caller's buffer is offered.
    if (!orthon::LengthsAllowClose(len, entryLength) || entryLength > kMaxSuggestionUnits) return false;
    const plat::StringView w = Word(entry);
    return (lettersChecked || orthon::MasksAllowClose(wordMask, m_masks[entry], len))
        && IsCloseSpelling(word, len, w, entryLength);
}

std::shared_ptr<const CRussianWordList::SuggestIndex> CRussianWordList::BuildSuggestIndex(
    const char16_t* units, const std::uint32_t* starts, std::size_t n, const std::atomic<bool>* stop)
{
    auto index = std::make_shared<CRussianWordList::SuggestIndex>();
    const bool built = index->letters.Build(
        n,
        [&](std::size_t k, orthon::LetterSignature& signature, std::int32_t& length) {
            const plat::StringView w(units + starts[k], starts[k + 1] - starts[k] - 1);
            signature = orthon::SignatureOf(w, RussianLetterBit);
            length = static_cast<std::int32_t>(std::min<std::size_t>(w.size(), INT32_MAX));
        },
        stop);
    if (!built) return nullptr;
    return index;
}

struct CRussianWordList::IndexBuilder {
    std::atomic<bool> stop {false};
    // Set by the thread once index holds what it made (nothing when it ran out of memory).
    std::atomic<bool> done {false};
    std::shared_ptr<const SuggestIndex> index;
    std::thread thread;
};

void CRussianWordList::StopBuilder::operator()(IndexBuilder* builder) const
{
    builder->stop.store(true, std::memory_order_relaxed);
    if (builder->thread.joinable()) builder->thread.join();
    delete builder;
}

void CRussianWordList::PrepareSuggestionsInBackground() const
{
    if (m_builder || m_suggestIndex) return;
    std::unique_ptr<IndexBuilder, StopBuilder> builder(new IndexBuilder);
    IndexBuilder* b = builder.get();
    const char16_t* units = m_units.data();
    const std::uint32_t* starts = m_starts.data();
    const std::size_t n = Count();
    try {
        b->thread = std::thread([b, units, starts, n] {
            try {
                b->index = BuildSuggestIndex(units, starts, n, &b->stop);
            } catch (const std::bad_alloc&) {
            }
            b->done.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return; // no thread: the first suggestion builds the index
    }
    m_builder = std::move(builder);
}

void CRussianWordList::AdoptBuiltIndex(bool wait) const
{
    if (!m_builder || (!wait && !m_builder->done.load(std::memory_order_acquire))) return;
    m_builder->thread.join();
    if (m_builder->index) m_suggestIndex = std::move(m_builder->index);
    m_builder.reset();
}

void CRussianWordList::PrepareSuggestions() const
{
    AdoptBuiltIndex(true);
    const std::size_t n = Count();
    // Words added since the index was made are visited one by one; many of them make a new one.
    if (m_suggestIndex && n - m_suggestIndex->letters.Size() <= std::max<std::size_t>(4096, n / 4)) return;
    m_suggestIndex = BuildSuggestIndex(m_units.data(), m_starts.data(), n, nullptr);
}

std::size_t CRussianWordList::SuggestionIndexBytes() const
{
    return m_suggestIndex ? sizeof(SuggestIndex) + m_suggestIndex->letters.MemoryBytes() : 0;
}

void CRussianWordList::Suggest(plat::StringView word, std::vector<plat::String>& out) const
{
    const auto len = static_cast<std::int64_t>(word.size());
    // Words of three letters or fewer are never spelled close to anything.
    if (!orthon::LengthsAllowClose(len, len)) return;
    // While the index is being built in the background, every entry is visited.
    AdoptBuiltIndex(false);
    if (m_builder) {
        SuggestByScan(word, out);
        return;
    }
    PrepareSuggestions();
    const std::uint32_t mask = orthon::LetterMask(word, RussianLetterBit);
    std::vector<std::uint32_t> candidates;
    m_suggestIndex->letters.ForEachNear(orthon::SignatureOf(word, RussianLetterBit), 2 * orthon::AllowedEdits(len),
                                        len - 3, std::min<std::int64_t>(len + 3, kMaxSuggestionUnits),
                                        [&](std::uint32_t k) { candidates.push_back(k); });
    std::sort(candidates.begin(), candidates.end());
    // The candidates lie far apart in the list: ask for their places and then their
    // letters a few ahead.
    constexpr std::size_t kStartsAhead = 16;
    constexpr std::size_t kUnitsAhead = 8;
    const std::size_t n = candidates.size();
    for (std::size_t c = 0; c < n; ++c) {
        if (c + kStartsAhead < n) orthon::Prefetch(&m_starts[candidates[c + kStartsAhead]]);
        if (c + kUnitsAhead < n) orthon::Prefetch(m_units.data() + m_starts[candidates[c + kUnitsAhead]]);
        const std::uint32_t k = candidates[c];
        if (Offers(word, mask, k, true)) out.emplace_back(Word(k));
    }
    for (std::size_t k = m_suggestIndex->letters.Size(); k < Count(); ++k)
        if (Offers(word, mask, k)) out.emplace_back(Word(k));
}

void CRussianWordList::SuggestByScan(plat::StringView word, std::vector<plat::String>& out) const
{
    const std::uint32_t mask = orthon::LetterMask(word, RussianLetterBit);
    for (std::size_t k = 0; k < Count(); ++k)
        if (Offers(word, mask, k)) out.emplace_back(Word(k));
}

bool CRussianWordList::Save() const
{
    return SaveTo(m_path);
}

bool CRussianWordList::SaveTo(const plat::String& path) const
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(m_units.size() * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::size_t k = 0; k < m_units.size(); ++k) {
        bytes[2 * k] = static_cast<std::uint8_t>(m_units[k]);
        bytes[2 * k + 1] = static_cast<std::uint8_t>(m_units[k] >> 8);
    }
    return orthon::ReplaceFile(path, bytes.data(), bytes.size());
}

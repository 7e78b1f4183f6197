// Indexes that let suggestions visit only the records that can be proposed: records by a
// hash of a string (phonetic keys, consonant skeletons), and records by their letters, so
// that a lookup finds every record whose letters are near enough to a word's for a close
// spelling. Callers apply their own tests to what is found, in record order.
#pragma once
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "platform/base/strings.h"
#include "spell/dictionary_io.h"

namespace orthon {

// An allocator that leaves the elements a resize adds uninitialised, for storage a read
// fills right after, and asks for large pages for large blocks.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n)
    {
        T* p = std::allocator<T>::allocate(n);
        PreferLargePages(p, n * sizeof(T));
        return p;
    }
    template <class U>
    void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) { ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...); }
};


// Which letter classes a word holds, and which it holds twice or more. Classes come from
// a speller's bit function, under which letters its distance takes as equal share a bit.
struct LetterSignature {
    std::uint32_t once = 0;
    std::uint32_t twice = 0;
};

template <class BitOf>
LetterSignature SignatureOf(plat::StringView w, BitOf bitOf)
{
    LetterSignature s;
    for (char16_t c : w) {
        const std::uint32_t bit = std::uint32_t(1) << (bitOf(c) & 31);
        s.twice |= s.once & bit;
        s.once |= bit;
    }
    return s;
}

// A lower bound on the letters of two words that an alignment leaves unmatched: a class
// held by one word and not the other leaves one letter unmatched, a class held twice by
// one and at most once by the other one more. The greedy distance passes at most two
// unmatched letters per unit of cost, so a close spelling within e edits has a bound of
// at most 2e.
inline int UnmatchedLetters(const LetterSignature& a, const LetterSignature& b)
{
    // Both counts at once, in the halves of one 64-bit word: without a bit-count
    // instruction in the target, std::popcount is a library call per slot of a walk.
    std::uint64_t v = (std::uint64_t(a.once ^ b.once) << 32) | (a.twice ^ b.twice);
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((v * 0x0101010101010101ull) >> 56);
}

// Asks for the cache line at p ahead of its use.
inline void Prefetch(const void* p)
{
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Numbers 0..n-1 grouped by a key below a power of two; each group in increasing order.
class BucketTable {
public:
    template <class KeyOf>
    void Build(std::size_t n, std::uint32_t buckets, KeyOf keyOf)
    {
        m_mask = buckets - 1;
        m_starts.assign(std::size_t(buckets) + 1, 0);
        std::vector<std::uint32_t> keys(n);
        for (std::size_t k = 0; k < n; ++k) {
            keys[k] = static_cast<std::uint32_t>(keyOf(k)) & m_mask;
            ++m_starts[keys[k] + 1];
        }
        for (std::size_t b = 0; b < buckets; ++b) m_starts[b + 1] += m_starts[b];
        m_items.resize(n);
        std::vector<std::uint32_t> next(m_starts.begin(), m_starts.end() - 1);
        for (std::size_t k = 0; k < n; ++k) m_items[next[keys[k]]++] = static_cast<std::uint32_t>(k);
    }

    std::span<const std::uint32_t> Bucket(std::uint32_t key) const
    {
        if (m_starts.empty()) return {};
        key &= m_mask;
        return std::span<const std::uint32_t>(m_items.data() + m_starts[key], m_starts[key + 1] - m_starts[key]);
    }
    std::size_t MemoryBytes() const { return (m_starts.capacity() + m_items.capacity()) * sizeof(std::uint32_t); }

private:
    std::uint32_t m_mask = 0;
    std::vector<std::uint32_t> m_starts;
    std::vector<std::uint32_t> m_items;
};

// A power of two near n, for hash buckets.
std::uint32_t BucketCountFor(std::size_t n);
std::uint32_t HashUnits(plat::StringView s);

// Records by their letter signatures. The records are grouped by which of the most common
// letter classes they hold (a pattern of up to 20 bits); a lookup visits the groups whose
// pattern differs from the word's in at most `radius` bits and, within them, the records
// whose length and whole signature allow it.
class LetterNeighbourIndex {
public:
    // lengths are the records' lengths as their tests use them.
    void Build(const std::vector<LetterSignature>& signatures, const std::vector<std::int32_t>& lengths);
    // The same with recordOf(k, signature, length) giving record k's, once each, in record
    // order. False, leaving the index empty, when *stop turns true on the way.
    template <class RecordOf>
    bool Build(std::size_t n, RecordOf recordOf, const std::atomic<bool>* stop = nullptr)
    {
        m_slots.resize(n);
        std::array<std::size_t, 32> counts {};
        for (std::size_t k = 0; k < n; ++k) {
            if ((k & 0xFFFF) == 0 && Stopped(stop)) return Abandon();
            LetterSignature s;
            std::int32_t length = 0;
            recordOf(k, s, length);
            m_slots[k] = Slot {static_cast<std::uint32_t>(k), s.once, s.twice, ClampLength(length)};
            for (std::uint32_t m = s.once; m != 0; m &= m - 1) ++counts[std::countr_zero(m)];
        }
        return GroupSlots(counts, stop);
    }
    std::size_t Size() const { return m_slots.size(); }
    std::size_t MemoryBytes() const;

    // Calls visit(record) for every record of length minLength..maxLength with
    // UnmatchedLetters(signature, word) <= radius, and possibly for a few others of that
    // length range; in no particular order.
    template <class Visit>
    void ForEachNear(const LetterSignature& word, int radius, std::int64_t minLength, std::int64_t maxLength,
                     Visit visit) const
    {
        if (m_slots.empty() || radius < 0 || minLength > maxLength) return;
        const std::int32_t lo = ClampLength(minLength);
        const std::int32_t hi = ClampLength(maxLength);
        const std::uint32_t pattern = PatternOf(word.once);
        auto visitGroup = [&](std::uint32_t p) {
            for (std::uint32_t slot = m_groups[p], end = m_groups[p + 1]; slot < end; ++slot) {
                const Slot& s = m_slots[slot];
                if (s.length > hi) break; // a group is ordered by length
                if (s.length < lo) continue;
                if (UnmatchedLetters(LetterSignature {s.once, s.twice}, word) > radius) continue;
                visit(s.id);
            }
        };
        // Every pattern within `radius` bits, each once: flip bits in increasing order.
        std::vector<std::uint32_t> patterns;
        std::size_t within = 0;
        for (std::size_t k = 0, ways = 1; k <= static_cast<std::size_t>(radius) && k <= std::size_t(m_patternBits); ++k) {
            within += ways;
            ways = ways * (std::size_t(m_patternBits) - k) / (k + 1);
        }
        patterns.reserve(within);
        auto walk = [&](auto&& self, std::uint32_t p, int fromBit, int budget) -> void {
            if ((m_occupied[p >> 6] >> (p & 63)) & 1) patterns.push_back(p);
            if (budget == 0) return;
            for (int b = fromBit; b < m_patternBits; ++b) self(self, p ^ (std::uint32_t(1) << b), b + 1, budget - 1);
        };
        walk(walk, pattern, 0, radius);
        // The groups lie far apart: ask for a group's start, and later for its first slots,
        // some groups before they are visited, so that the reads overlap.
        constexpr std::size_t kStartsAhead = 48;
        constexpr std::size_t kSlotsAhead = 24;
        const std::size_t n = patterns.size();
        for (std::size_t k = 0; k < n && k < kStartsAhead; ++k) Prefetch(&m_groups[patterns[k]]);
        for (std::size_t k = 0; k < n; ++k) {
            if (k + kStartsAhead < n) Prefetch(&m_groups[patterns[k + kStartsAhead]]);
            if (k + kSlotsAhead < n) Prefetch(m_slots.data() + m_groups[patterns[k + kSlotsAhead]]);
            visitGroup(patterns[k]);
        }
    }

private:
    // Clamping keeps the order of lengths, so a length range stays exact inside
    // -127..127 and only widens outside it.
    static bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }
    bool Abandon();
    // Orders the slots, held in record order, by the pattern of their most common classes
    // and, within a pattern, by length.
    bool GroupSlots(const std::array<std::size_t, 32>& counts, const std::atomic<bool>* stop);
    static std::int32_t ClampLength(std::int64_t n)
    {
        return static_cast<std::int32_t>(n < -128 ? -128 : (n > 127 ? 127 : n));
    }
    std::uint32_t PatternOf(std::uint32_t once) const
    {
        return m_byteToPattern[0][once & 0xFF] | m_byteToPattern[1][(once >> 8) & 0xFF]
            | m_byteToPattern[2][(once >> 16) & 0xFF] | m_byteToPattern[3][once >> 24];
    }

    int m_patternBits = 0;
    std::uint32_t m_byteToPattern[4][256] = {};
    // One record, kept together so that a visit reads one place.
    struct Slot {
        std::uint32_t id;
        std::uint32_t once;
        std::uint32_t twice;
        std::int32_t length; // clamped
    };
    std::vector<std::uint32_t> m_groups; // start slot of each pattern, and the end
    // A bit for each pattern that has records: small enough to stay near at hand while a
    // walk passes over the many empty groups.
    std::vector<std::uint64_t> m_occupied;
    using Slots = std::vector<Slot, UninitialisedAllocator<Slot>>;
    Slots m_slots;                       // by pattern, by length within a group, then in record order
};

} // namespace orthon

#include "spell/suggest_index.h"

#include <algorithm>
#include <array>

namespace orthon {

std::uint32_t BucketCountFor(std::size_t n)
{
    std::uint32_t buckets = 256;
    while (buckets < n && buckets < (std::uint32_t(1) << 24)) buckets *= 2;
    return buckets;
}

std::uint32_t HashUnits(plat::StringView s)
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (char16_t c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

void LetterNeighbourIndex::Build(const std::vector<LetterSignature>& signatures,
                                 const std::vector<std::int32_t>& lengths)
{
    Build(signatures.size(), [&](std::size_t k, LetterSignature& s, std::int32_t& length) {
        s = signatures[k];
        length = lengths[k];
    });
}

bool LetterNeighbourIndex::Abandon()
{
    Slots().swap(m_slots);
    std::vector<std::uint32_t>().swap(m_groups);
    std::vector<std::uint64_t>().swap(m_occupied);
    m_patternBits = 0;
    return false;
}

bool LetterNeighbourIndex::GroupSlots(const std::array<std::size_t, 32>& counts, const std::atomic<bool>* stop)
{
    const std::size_t n = m_slots.size();
    // The most common classes split the records best; a larger table pays only for many
    // records.
    std::array<int, 32> order {};
    for (int b = 0; b < 32; ++b) order[b] = b;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
    m_patternBits = std::clamp(static_cast<int>(std::bit_width(n)), 8, 20);

    std::uint32_t bitToPattern[32] = {};
    for (int r = 0; r < m_patternBits; ++r) bitToPattern[order[r]] = std::uint32_t(1) << r;
    for (int byte = 0; byte < 4; ++byte)
        for (std::uint32_t v = 0; v < 256; ++v) {
            std::uint32_t p = 0;
            for (int b = 0; b < 8; ++b)
                if (v & (1u << b)) p |= bitToPattern[byte * 8 + b];
            m_byteToPattern[byte][v] = p;
        }

    // A stable radix sort by length, then by pattern, low half then high half: each pass
    // writes to few enough places at once for the caches, and each group ends up ordered by
    // length, in record order within a length.
    const int lowBits = (m_patternBits + 1) / 2;
    const int digitBits[3] = {8, lowBits, m_patternBits - lowBits};
    auto digitOf = [&](int pass, const Slot& s) -> std::uint32_t {
        if (pass == 0) return static_cast<std::uint32_t>(s.length + 128);
        const int shift = pass == 1 ? 0 : lowBits;
        return (PatternOf(s.once) >> shift) & ((std::uint32_t(1) << digitBits[pass]) - 1);
    };
    Slots other;
    other.resize(n);
    for (int pass = 0; pass < 3; ++pass) {
        if (Stopped(stop)) return Abandon();
        std::vector<std::uint32_t> next((std::size_t(1) << digitBits[pass]) + 1, 0);
        for (const Slot& s : m_slots) ++next[digitOf(pass, s) + 1];
        for (std::size_t d = 1; d < next.size(); ++d) next[d] += next[d - 1];
        for (std::size_t k = 0; k < n; ++k) {
            if ((k & 0xFFFF) == 0 && Stopped(stop)) return Abandon();
            const Slot& s = m_slots[k];
            other[next[digitOf(pass, s)]++] = s;
        }
        m_slots.swap(other);
    }
    Slots().swap(other);

    // The slots are in pattern order: each group's start follows from one walk.
    const std::size_t groups = std::size_t(1) << m_patternBits;
    m_groups.assign(groups + 1, 0);
    for (const Slot& s : m_slots) ++m_groups[PatternOf(s.once) + 1];
    m_occupied.assign((groups + 63) / 64, 0);
    for (std::size_t p = 0; p < groups; ++p) {
        if (m_groups[p + 1] != 0) m_occupied[p >> 6] |= std::uint64_t(1) << (p & 63);
        m_groups[p + 1] += m_groups[p];
    }
    return true;
}

std::size_t LetterNeighbourIndex::MemoryBytes() const
{
    return sizeof(*this) + m_groups.capacity() * sizeof(std::uint32_t) + m_occupied.capacity() * sizeof(std::uint64_t)
        + m_slots.capacity() * sizeof(Slot);
}

} // namespace orthon

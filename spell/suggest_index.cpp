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
    const std::size_t n = signatures.size();
    // The most common classes split the records best; a larger table pays only for many
    // records.
    std::array<std::size_t, 32> counts {};
    for (const LetterSignature& s : signatures)
        for (std::uint32_t m = s.once; m != 0; m &= m - 1) ++counts[std::countr_zero(m)];
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

    // A counting sort by pattern that keeps record order within each group.
    const std::size_t groups = std::size_t(1) << m_patternBits;
    std::vector<std::uint32_t> patterns(n);
    m_groups.assign(groups + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        patterns[k] = PatternOf(signatures[k].once);
        ++m_groups[patterns[k] + 1];
    }
    for (std::size_t p = 0; p < groups; ++p) m_groups[p + 1] += m_groups[p];
    m_slots.resize(n);
    std::vector<std::uint32_t> next(m_groups.begin(), m_groups.end() - 1);
    for (std::size_t k = 0; k < n; ++k)
        m_slots[next[patterns[k]]++] = Slot {static_cast<std::uint32_t>(k), signatures[k].once,
                                             signatures[k].twice, ClampLength(lengths[k])};
}

std::size_t LetterNeighbourIndex::MemoryBytes() const
{
    return sizeof(*this) + m_groups.capacity() * sizeof(std::uint32_t) + m_slots.capacity() * sizeof(Slot);
}

} // namespace orthon

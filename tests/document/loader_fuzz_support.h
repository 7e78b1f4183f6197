// Truncated and bit-flipped records for loaders: each record either loads or raises the
// archive's error, never anything else; a refused record leaves its target as it was
// and no pooled format behind. AddressSanitizer watches for overruns and leaks.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "document/format_pool.h"
#include "tests/document/text_model_support.h"

namespace loaderfuzz {

using textmodel::Bytes;

struct Target {
    const char* name;
    Bytes seed;
    // Loads into a fresh object and reports whether a refused load left it unchanged.
    std::function<void(plat::Archive&, bool& untouched)> load;
};

// Runs one load; false when it raised the archive's error.
inline bool Feed(const Target& t, const Bytes& bytes, const std::string& what)
{
    bool untouched = true;
    try {
        textmodel::LoadFrom(bytes, [&](plat::Archive& ar) { t.load(ar, untouched); });
        return true;
    } catch (const plat::ArchiveException&) {
        EXPECT_TRUE(untouched) << t.name << " " << what << ": a refused record changed its target";
        return false;
    } catch (const std::exception& e) {
        ADD_FAILURE() << t.name << " " << what << ": " << e.what();
        return false;
    }
}

// The whole seed loads; every shorter prefix of it is refused.
inline void RefuseTruncations(const std::vector<Target>& targets)
{
    CFormatPool& pool = CFormatPool::Instance();
    for (const Target& t : targets) {
        const size_t formats = pool.LiveCount();
        ASSERT_TRUE(Feed(t, t.seed, "whole")) << t.name;
        for (size_t n = 0; n < t.seed.size(); ++n) {
            Bytes cut(t.seed.begin(), t.seed.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_FALSE(Feed(t, cut, "cut at " + std::to_string(n))) << t.name << " loaded from " << n << " bytes";
        }
        EXPECT_EQ(pool.LiveCount(), formats) << t.name << ": failed loads left pooled formats behind";
    }
}

// Rounds of 1 to maxChanges flipped bits, every third round whole bytes; the generator
// seed is fixed so that a failure reproduces.
inline void FlipBits(const std::vector<Target>& targets, std::uint32_t seed, int rounds, int maxChanges)
{
    std::mt19937 rng(seed);
    CFormatPool& pool = CFormatPool::Instance();
    for (const Target& t : targets) {
        const size_t formats = pool.LiveCount();
        std::uniform_int_distribution<size_t> at(0, t.seed.size() - 1);
        for (int round = 0; round < rounds; ++round) {
            Bytes b = t.seed;
            int changes = 1 + round % maxChanges;
            for (int k = 0; k < changes; ++k) {
                size_t i = at(rng);
                if (round % 3 == 2) b[i] = static_cast<std::uint8_t>(rng()); // a whole byte
                else b[i] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            }
            Feed(t, b, "round " + std::to_string(round));
        }
        EXPECT_EQ(pool.LiveCount(), formats) << t.name;
    }
}

} // namespace loaderfuzz

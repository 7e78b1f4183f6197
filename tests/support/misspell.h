// A word with one typing slip: one letter deleted, inserted, replaced or swapped with its
// neighbour, chosen by the generator. The spelling tests and the spelling benchmark both
// make their misspellings with it.
#pragma once
#include <cstddef>
#include <random>
#include <utility>

#include "platform/base/strings.h"

namespace testsupport {

inline plat::String Misspell(plat::String w, plat::StringView letters, std::mt19937& rng)
{
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const char16_t letter = letters[pick(letters.size())];
    switch (pick(4)) {
    case 0:
        if (w.size() > 1) w.erase(pick(w.size()), 1);
        break;
    case 1:
        w.insert(pick(w.size() + 1), 1, letter);
        break;
    case 2:
        if (!w.empty()) w[pick(w.size())] = letter;
        break;
    default:
        if (w.size() > 1) {
            const std::size_t at = pick(w.size() - 1);
            std::swap(w[at], w[at + 1]);
        }
        break;
    }
    return w;
}

} // namespace testsupport

// The greedy alignment distance and the closeness test that both spellers use to pick
// suggestions; each speller brings its own letter equality.
#pragma once
#include <bit>
#include <climits>
#include <cstdint>

#include "platform/base/strings.h"

namespace orthon {

// Distance of s to t. Letters match by `same`; the end of a word (0) matches only the end
// of the other. The cost only grows, so the walk stops as soon as it passes `limit`: the
// result is then some value above the limit, which is all a closeness test needs.
template <class SameLetter>
int AlignmentDistance(plat::StringView s, plat::StringView t, SameLetter same, int limit = INT_MAX)
{
    const int ls = static_cast<int>(s.size());
    const int lt = static_cast<int>(t.size());
    auto S = [&](int k) -> char16_t { return k < ls ? s[k] : char16_t(0); };
    auto T = [&](int k) -> char16_t { return k < lt ? t[k] : char16_t(0); };
    auto match = [&](char16_t a, char16_t b) {
        return (a == 0 || b == 0) ? a == b : same(a, b);
    };
    constexpr int kNotFormed = 100;

    int i = 0;
    int j = 0;
    int cost = 0;
    for (;;) {
        const char16_t si = S(i);
        const char16_t tj = T(j);
        if (match(si, tj)) {
            ++i; ++j;
        } else if (si == 0) {
            ++cost; ++j;
        } else if (tj == 0) {
            ++cost; ++i;
        } else if (match(S(i + 1), tj)) {
            ++cost; ++i;
        } else if (match(si, T(j + 1))) {
            ++cost; ++j;
        } else if (match(S(i + 1), T(j + 1))) {
            ++cost; ++i; ++j;
        } else {
            // Look further ahead; each cost is formed only while the earlier ones exceed 1.
            int a = lt - j;
            for (int k = 1; j + k < lt; ++k)
                if (match(si, T(j + k))) { a = k; break; }
            int b = kNotFormed;
            if (a > 1) {
                b = ls - i;
                for (int k = 1; i + k < ls; ++k)
                    if (match(S(i + k), tj)) { b = k; break; }
            }
            int c = kNotFormed;
            if (a > 1 && b > 1) {
                int k = 0;
                while (S(i + k) != 0 && T(j + k) != 0) {
                    ++k;
                    if (match(S(i + k), T(j + k))) break;
                }
                c = k;
            }
            int d1 = kNotFormed, g1 = 0, h1 = 0;
            if (a > 1 && b > 1 && c > 1) {
                bool found = false;
                for (int g = i + 1; g <= ls && !found; ++g)
                    for (int h = j; h <= lt; ++h)
                        if (match(S(g), T(h))) { g1 = g; h1 = h; found = true; break; }
                d1 = (g1 - i) + (h1 - j) - 1;
            }
            int d2 = kNotFormed, g2 = 0, h2 = 0;
            if (a > 1 && b > 1 && c > 1 && d1 > 1) {
                bool found = false;
                for (int h = j + 1; h <= lt && !found; ++h)
                    for (int g = i; g <= ls; ++g)
                        if (match(S(g), T(h))) { g2 = g; h2 = h; found = true; break; }
                d2 = (g2 - i) + (h2 - j) - 1;
            }
            // A word's end stays where it is when a pair is passed.
            auto movePast = [&](int g, int h) {
                i = g >= ls ? ls : g + 1;
                j = h >= lt ? lt : h + 1;
            };
            if (a <= b && a <= c && a <= d1 && a <= d2) {
                cost += a; j += a;
            } else if (b <= c && b <= d1 && b <= d2) {
                cost += b; i += b;
            } else if (c > d1) {
                if (d1 <= d2) { cost += d1; movePast(g1, h1); }
                else { cost += d2; movePast(g2, h2); }
            } else if (d1 <= d2) {
                cost += c; i += c; j += c;
            } else {
                cost += d2; movePast(g2, h2);
            }
        }
        if (cost > limit) return cost;
        if (S(i) == 0 && T(j) == 0) return cost;
    }
}

// Edits a close spelling may have: one for a first word of four letters, two from five on.
inline int AllowedEdits(std::int64_t firstLength) { return firstLength >= 5 ? 2 : 1; }

// Lengths are the callers' own counts (a dictionary record carries its stored length).
// False when they differ by 4 or more or the first word has 3 letters or fewer.
inline bool LengthsAllowClose(std::int64_t la, std::int64_t lb)
{
    const std::int64_t diff = la > lb ? la - lb : lb - la;
    return diff < 4 && la > 3;
}

template <class SameLetter>
bool IsCloseSpellingWith(plat::StringView a, std::int64_t la, plat::StringView b,
                         std::int64_t lb, SameLetter same)
{
    if (!LengthsAllowClose(la, lb)) return false;
    const int allowed = AllowedEdits(la);
    return AlignmentDistance(a, b, same, allowed) <= allowed;
}

// A cheap bound used before the distance: every letter of one word that has no equal in
// the other costs the alignment at least half an edit (an edit passes over at most one
// unmatched letter of each word). Masks map letters to 32 bits so that equal letters
// share a bit; a differing bit thus proves an unmatched letter.
template <class BitOf>
std::uint32_t LetterMask(plat::StringView w, BitOf bitOf)
{
    std::uint32_t mask = 0;
    for (char16_t c : w) mask |= std::uint32_t(1) << (bitOf(c) & 31);
    return mask;
}

inline bool MasksAllowClose(std::uint32_t a, std::uint32_t b, std::int64_t firstLength)
{
    return std::popcount(a ^ b) <= 2 * AllowedEdits(firstLength);
}

} // namespace orthon

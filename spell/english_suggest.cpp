// Suggestions for misspelt English words: records that sound alike (same phonetic key)
// or are spelled alike (small alignment distance at a similar length); for a word without
// vowels, records with the same consonant skeleton.
#include <algorithm>
#include <memory>

#include "spell/english_dictionary.h"
#include "spell/spell_distance.h"
#include "spell/suggest_index.h"

namespace {

plat::StringView CutAtSpace(plat::StringView w)
{
    const auto space = w.find(u' ');
    return space == plat::StringView::npos ? w : w.substr(0, space);
}

plat::String UpperAscii(plat::StringView w)
{
    plat::String u(w);
    for (char16_t& c : u)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return u;
}

// Equal letters share a bit: SameLetter pairs differ by 0 or 32.
unsigned EnglishLetterBit(char16_t c)
{
    return c;
}

// The consonant skeleton into out, which holds at least w.size() units; returns its length.
std::size_t SkeletonInto(plat::StringView w, char16_t* out)
{
    std::size_t n = 0;
    char16_t previous = 0;
    for (char16_t c : w) {
        if (!CEnglishDictionary::IsVowel(c) && c != previous) out[n++] = c;
        previous = c;
    }
    return n;
}

bool EqualNoCase(plat::StringView a, plat::StringView b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        char16_t x = a[k], y = b[k];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace

bool CEnglishDictionary::IsVowel(char16_t c)
{
    switch (c) {
    case u'A': case u'E': case u'I': case u'O': case u'U':
    case u'a': case u'e': case u'i': case u'o': case u'u':
        return true;
    default:
        return false;
    }
}

bool CEnglishDictionary::SameLetter(char16_t a, char16_t b)
{
    return a == b || a - b == 32 || b - a == 32;
}

int CEnglishDictionary::CountVowels(plat::StringView word)
{
    return static_cast<int>(std::count_if(word.begin(), word.end(), IsVowel));
}

int CEnglishDictionary::Distance(plat::StringView s, plat::StringView t)
{
    return orthon::AlignmentDistance(s, t, SameLetter);
}

bool CEnglishDictionary::IsCloseSpelling(plat::StringView a, std::int64_t la, plat::StringView b,
                                         std::int64_t lb)
{
    return orthon::IsCloseSpellingWith(a, la, b, lb, SameLetter);
}

plat::String CEnglishDictionary::ConsonantSkeleton(plat::StringView word)
{
    plat::String out(word.size(), u'\0');
    out.resize(SkeletonInto(word, out.data()));
    return out;
}

plat::String CEnglishDictionary::PhoneticKey(plat::StringView word, int maxCodes)
{
    const plat::String w = UpperAscii(CutAtSpace(word));
    const std::size_t length = w.size();
    auto at = [&](std::size_t p) -> char16_t { return p < length ? w[p] : char16_t(0); };
    plat::String codes;

    // Each step reads the letter and the one after it; a rule may consume letters by
    // moving i further.
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = at(i);
        const char16_t n = at(i + 1);
        if (c == n || c < u'A' || c > u'Z') continue; // the first of a doubled letter, or no letter
        switch (c) {
        case u'A':
            if (i == 0 && n == u'E') { codes += u'E'; ++i; }
            break;
        case u'E': case u'I': case u'O': case u'U':
            break;
        case u'B':
            if (n != u'R') codes += u'B';
            break;
        case u'C': {
            char16_t code = u'K';
            if (n == u'H') { code = u'X'; ++i; }
            if (at(i + 1) == u'I' && at(i + 2) == u'A') { code = u'X'; i += 2; }
            const char16_t after = at(i + 1);
            if (after == u'Y') codes += u'S';
            else if (after != u'Q') codes += code;
            break;
        }
        case u'D':
            if (i + 1 != length) codes += u'D';
            break;
        case u'F': case u'V':
            codes += u'F';
            break;
        case u'G': {
            char16_t code = u'J';
            bool have = true;
            if (n == u'H') {
                if (at(i + 2) == u'T') { codes += u'T'; i += 2; break; }
                if (at(i + 2) != 0 && !IsVowel(at(i + 2))) have = false;
            }
            const char16_t after = at(i + 1);
            if (after == u'I' || after == u'E' || after == u'Y') { code = u'J'; have = true; }
            if (i == 0 && at(1) == u'N') { code = u'N'; have = true; ++i; }
            if (at(i + 1) == u'N') ++i;
            if (have) codes += code;
            break;
        }
        case u'H':
            if (!(i != 0 && IsVowel(at(i - 1)) && !IsVowel(n))) codes += u'H';
            break;
        case u'J':
            codes += u'J';
            break;
        case u'K': {
            bool have = !(i != 0 && at(i - 1) == u'C');
            char16_t code = u'K';
            if (i == 0 && at(1) == u'N') { code = u'N'; ++i; }
            else if (have && n == u'R') ++i;
            if (at(i + 1) == u'C') ++i;
            if (have) codes += code;
            break;
        }
        case u'L':
            if (n == u'C' && at(i + 2) == u'H') { codes += u"LK"; i += 2; }
            else codes += u'L';
            break;
        case u'M':
            codes += u'M';
            break;
        case u'N':
            if (n == u'D') { codes += u'D'; ++i; }
            else if (n == u'E' && at(i + 2) == u'N' && at(i + 3) == u'T') { codes += u"NT"; i += 3; }
            else if (n == u'T') { codes += u'T'; ++i; }
            else codes += u'N';
            break;
        case u'P': {
            char16_t code = u'P';
            if (n == u'H') { code = u'F'; ++i; }
            if (i == 0 && at(1) == u'N') { code = u'N'; ++i; }
            codes += code;
            break;
        }
        case u'Q':
            codes += u'K';
            break;
        case u'R': {
            char16_t code = u'R';
            if (n == u'K') { code = u'K'; ++i; }
            // An R before a final T codes as T; that T still gives its own code.
            if (at(i + 1) == u'T' && i + 2 == length) code = u'T';
            codes += code;
            break;
        }
        case u'S':
            if (n == u'C' && at(i + 2) == u'H') { codes += u"SK"; i += 2; break; }
            {
                char16_t code = u'S';
                if (n == u'H' || n == u'I' || (n == u'E' && at(i + 2) == u'I')) code = u'X';
                if (i + 1 != length) codes += code;
            }
            break;
        case u'T': {
            char16_t code = u'T';
            bool have = true;
            if (n == u'I' && (at(i + 2) == u'A' || at(i + 2) == u'O')) code = u'X';
            if (n == u'H') have = false;
            if (n == u'C' && at(i + 2) == u'H') have = false;
            if (i != 0 && at(i - 1) == u'F') have = false;
            if (n == u'A' && at(i + 2) == u'B') have = false;
            if (have) codes += code;
            break;
        }
        case u'W': {
            char16_t code = u'X';
            bool have = IsVowel(n);
            if (i == 0 && n == u'R') { code = u'R'; have = true; ++i; }
            else if (i == 0 && n == u'H') { code = u'W'; have = true; ++i; }
            if (have) codes += code;
            break;
        }
        case u'X':
            codes += u"KS";
            break;
        case u'Y':
            if (IsVowel(n)) codes += u'Y';
            break;
        case u'Z':
            codes += u'S';
            break;
        default:
            break;
        }
    }
    // Only the E of a leading AE can be a vowel code.
    if (!codes.empty() && IsVowel(codes[0])) codes[0] = u'A';
    if (maxCodes < 0) maxCodes = 0;
    if (codes.size() > static_cast<std::size_t>(maxCodes)) codes.resize(static_cast<std::size_t>(maxCodes));
    return codes;
}

namespace {

// A word asked for suggestions, and the tests a record must pass to be proposed for it.
class SuggestQuery {
public:
    explicit SuggestQuery(plat::StringView word)
        : m_cut(CutAtSpace(word))
        , m_upper(UpperAscii(m_cut))
        , m_len(static_cast<std::int64_t>(m_upper.size()))
        , m_key(CEnglishDictionary::PhoneticKey(m_upper))
        , m_mask(orthon::LetterMask(m_upper, EnglishLetterBit))
        , m_hasVowels(CEnglishDictionary::CountVowels(word) > 0)
    {
        if (!m_hasVowels) m_skeleton = CEnglishDictionary::ConsonantSkeleton(m_cut);
    }

    bool HasVowels() const { return m_hasVowels; }
    std::int64_t Length() const { return m_len; }
    plat::StringView Key() const { return m_key; }
    plat::StringView Cut() const { return m_cut; }
    plat::StringView Upper() const { return m_upper; }
    plat::StringView Skeleton() const { return m_skeleton; }

    // For a word with vowels: the same key, or the record spelled close to the word.
    bool Accepts(const EnglishRecord& r) const
    {
        // The length and letter checks only skip records the distance would refuse.
        return r.Key() == plat::StringView(m_key)
            || (orthon::LengthsAllowClose(r.length, m_len)
                && orthon::MasksAllowClose(r.letterMask, m_mask, r.length)
                && CEnglishDictionary::IsCloseSpelling(r.Word(), r.length, m_upper, m_len));
    }

    // For a word without vowels: the word spelled close to the record, or the same
    // consonant skeleton at a length differing by less than 3.
    bool AcceptsSkeleton(const EnglishRecord& r) const
    {
        const std::int64_t diff = r.length > m_len ? r.length - m_len : m_len - r.length;
        char16_t recordSkeleton[kEnglishWordUnits + 1];
        return (orthon::LengthsAllowClose(m_len, r.length)
                && orthon::MasksAllowClose(m_mask, r.letterMask, m_len)
                && CEnglishDictionary::IsCloseSpelling(m_cut, m_len, r.Word(), r.length))
            || (diff < 3
                && EqualNoCase(plat::StringView(recordSkeleton, SkeletonInto(r.Word(), recordSkeleton)), m_skeleton));
    }

private:
    plat::StringView m_cut;
    plat::String m_upper;
    std::int64_t m_len;
    plat::String m_key;
    std::uint32_t m_mask;
    bool m_hasVowels;
    plat::String m_skeleton;
};

} // namespace

struct CEnglishDictionary::SuggestIndex {
    orthon::LetterNeighbourIndex letters; // by letters, with the stored lengths
    orthon::BucketTable keys;             // by the stored phonetic key
    orthon::BucketTable skeletons;        // by the consonant skeleton, A-Z taken as a-z

    std::size_t MemoryBytes() const
    {
        return sizeof(*this) + letters.MemoryBytes() + keys.MemoryBytes() + skeletons.MemoryBytes();
    }
};

namespace {

std::uint32_t FoldedSkeletonHash(plat::StringView w)
{
    // Records hold at most 19 units and asked words at most 49.
    char16_t skeleton[kEnglishMaxLookupUnits + 1];
    const std::size_t n = SkeletonInto(w.substr(0, kEnglishMaxLookupUnits), skeleton);
    for (std::size_t k = 0; k < n; ++k)
        if (skeleton[k] >= u'A' && skeleton[k] <= u'Z') skeleton[k] = static_cast<char16_t>(skeleton[k] + 32);
    return orthon::HashUnits(plat::StringView(skeleton, n));
}

orthon::LetterSignature EnglishSignature(plat::StringView w)
{
    return orthon::SignatureOf(w, EnglishLetterBit);
}

} // namespace

void CEnglishDictionary::PrepareSuggestions() const
{
    if (m_suggestIndex) return;
    auto index = std::make_shared<SuggestIndex>();
    const std::size_t n = m_records.size();
    std::vector<orthon::LetterSignature> signatures(n);
    std::vector<std::int32_t> lengths(n);
    for (std::size_t k = 0; k < n; ++k) {
        signatures[k] = EnglishSignature(m_records[k].Word());
        lengths[k] = m_records[k].length;
    }
    index->letters.Build(signatures, lengths);
    const std::uint32_t buckets = orthon::BucketCountFor(n);
    index->keys.Build(n, buckets, [&](std::size_t k) { return orthon::HashUnits(m_records[k].Key()); });
    index->skeletons.Build(n, buckets, [&](std::size_t k) { return FoldedSkeletonHash(m_records[k].Word()); });
    m_suggestIndex = std::move(index);
}

std::size_t CEnglishDictionary::SuggestionIndexBytes() const
{
    return m_suggestIndex ? m_suggestIndex->MemoryBytes() : 0;
}

void CEnglishDictionary::Suggest(plat::StringView word, std::vector<plat::String>& list) const
{
    list.clear();
    // The word is worked on in a buffer of 50 units: a longer word gets no suggestions.
    if (word.size() > static_cast<std::size_t>(kEnglishMaxLookupUnits)) return;
    PrepareSuggestions();
    const SuggestQuery q(word);
    const std::int64_t len = q.Length();

    // Every record that can pass, then the tests in record order.
    std::vector<std::uint32_t> candidates;
    auto take = [&](std::uint32_t k) { candidates.push_back(k); };
    if (q.HasVowels()) {
        for (std::uint32_t k : m_suggestIndex->keys.Bucket(orthon::HashUnits(q.Key()))) take(k);
        // The record is the first word of the closeness test: four letters or more, within
        // three of the word's length, two edits at most.
        m_suggestIndex->letters.ForEachNear(EnglishSignature(q.Upper()), 2 * orthon::AllowedEdits(len + 3),
                                            std::max<std::int64_t>(4, len - 3), len + 3, take);
    } else {
        if (len > 3)
            m_suggestIndex->letters.ForEachNear(EnglishSignature(q.Cut()), 2 * orthon::AllowedEdits(len),
                                                len - 3, len + 3, take);
        for (std::uint32_t k : m_suggestIndex->skeletons.Bucket(FoldedSkeletonHash(q.Cut()))) take(k);
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    if (q.HasVowels()) {
        for (std::uint32_t k : candidates)
            if (q.Accepts(m_records[k])) list.emplace_back(m_records[k].Word());
        for (const EnglishRecord& r : m_added)
            if (q.Accepts(r)) list.emplace_back(r.Word());
        return;
    }
    // Added records are not visited for a word without vowels.
    for (std::uint32_t k : candidates)
        if (q.AcceptsSkeleton(m_records[k])) list.emplace_back(m_records[k].Word());
}

void CEnglishDictionary::SuggestByScan(plat::StringView word, std::vector<plat::String>& list) const
{
    list.clear();
    if (word.size() > static_cast<std::size_t>(kEnglishMaxLookupUnits)) return;
    const SuggestQuery q(word);
    if (q.HasVowels()) {
        for (const EnglishRecord& r : m_records)
            if (q.Accepts(r)) list.emplace_back(r.Word());
        for (const EnglishRecord& r : m_added)
            if (q.Accepts(r)) list.emplace_back(r.Word());
        return;
    }
    for (const EnglishRecord& r : m_records)
        if (q.AcceptsSkeleton(r)) list.emplace_back(r.Word());
}

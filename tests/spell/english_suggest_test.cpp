// Phonetic keys, consonant skeletons, the alignment distance and the English suggestions.
#include <gtest/gtest.h>

#include <random>

#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "spell/english_dictionary.h"
#include "spell/spell_distance.h"
#include "tests/spell/spell_test_support.h"

namespace {

using plat::String;

std::string Utf8(plat::StringView s) { return plat::Utf16ToUtf8(s); }
String U(const char* s) { return plat::Utf8ToUtf16(s); }

struct KeyCase {
    const char* word;
    const char* key;
};

TEST(PhoneticKey, MatchesTheRuleTable)
{
    const KeyCase cases[] = {
        {"knight", "NT"}, {"AEGIS", "AJ"}, {"phone", "FN"}, {"wright", "RT"}, {"white", "WT"},
        {"xenon", "KSNN"}, {"thought", "HT"}, {"church", "XRX"}, {"school", "SKL"},
        {"nation", "NXN"}, {"science", "SKNK"}, {"gnome", "NM"}, {"judge", "JDJ"},
        {"laugh", "LJH"}, {"quick", "KK"}, {"brown", "RN"}, {"ART", "TT"}, {"bend", "BD"},
        {"city", "KT"}, {"cycle", "SKL"}, {"mention", "MTN"}, {"table", "BL"},
        {"acquire", "KR"}, {"sugar", "SJR"}, {"session", "SXN"}, {"wax", "XKS"},
        {"excess", "KSK"}, {"aerial", "ARL"}, {"ae", "A"}, {"xylophone", "KSLFN"},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(U(c.word))), c.key) << c.word;
}

TEST(PhoneticKey, KeepsEightCodesAndStopsAtASpace)
{
    // Every letter of this word codes: B R ... far more than eight codes.
    EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(u"bamlamkamzamjamfamlampam")), "BMLMKMSM");
    EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(u"bamlamkamzamjamfamlampam", 3)), "BML");
    EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(u"can do")), "KN");
    EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(u"")), "");
    // Letters outside A-Z give no code but do not disturb their neighbours.
    EXPECT_EQ(Utf8(CEnglishDictionary::PhoneticKey(u"don't")), "DNT");
}

struct DistanceCase {
    const char* s;
    const char* t;
    int distance;
};

TEST(AlignmentDistance, MatchesTheTable)
{
    const DistanceCase cases[] = {
        {"RECIEVE", "RECEIVE", 2}, {"HELLO", "HOLLE", 2}, {"TEST", "TSET", 2},
        {"ACCOMODATE", "ACCOMMODATE", 1}, {"ABCDEFG", "AXYZDEFG", 4}, {"ABCD", "WXYZ", 8},
        {"QWERTY", "QWERTZUIOP", 6}, {"SPELLING", "SPLENIGL", 5}, {"abcdefgh", "hgfedcba", 13},
        {"RECEIVE", "RECIEVE", 4}, // not symmetric
        {"", "", 0}, {"ABC", "", 3}, {"", "ABC", 3}, {"receive", "RECEIVE", 0},
    };
    for (const DistanceCase& c : cases)
        EXPECT_EQ(CEnglishDictionary::Distance(U(c.s), U(c.t)), c.distance) << c.s << " / " << c.t;
}

TEST(AlignmentDistance, LimitedWalkAgreesWithTheFullOneAndTheLetterBoundHolds)
{
    // The suggestion loops stop the walk past the allowed edits and skip words by their
    // letter masks first; neither may change which words count as close.
    std::mt19937 rng(7);
    const std::u16string_view letters = u"abcdeAEIrst'";
    auto randomWord = [&](int maxLength) { return spelltest::RandomWord(rng, letters, 0, maxLength); };
    auto bit = [](char16_t c) { return unsigned(c); };
    int close = 0;
    for (int n = 0; n < 20000; ++n) {
        const String s = randomWord(9);
        String t = s;
        // Mostly small edits of s, so that close pairs are common.
        for (int e = std::uniform_int_distribution<int>(0, 3)(rng); e > 0 && !t.empty(); --e)
            t[std::uniform_int_distribution<size_t>(0, t.size() - 1)(rng)] = letters[n % 12];
        if (n % 3 == 0) t = randomWord(9);
        const int full = CEnglishDictionary::Distance(s, t);
        for (int limit = 0; limit <= 3; ++limit) {
            const int limited = orthon::AlignmentDistance(s, t, CEnglishDictionary::SameLetter, limit);
            ASSERT_EQ(full <= limit, limited <= limit) << Utf8(s) << " / " << Utf8(t);
            if (full <= limit) {
                ASSERT_EQ(full, limited);
            }
        }
        const auto ls = static_cast<std::int64_t>(s.size());
        if (full <= orthon::AllowedEdits(ls)) {
            ++close;
            ASSERT_TRUE(orthon::MasksAllowClose(orthon::LetterMask(s, bit), orthon::LetterMask(t, bit), ls))
                << Utf8(s) << " / " << Utf8(t);
        }
    }
    EXPECT_GT(close, 1000);
}

TEST(ConsonantSkeleton, DropsVowelsAndRepeats)
{
    EXPECT_EQ(Utf8(CEnglishDictionary::ConsonantSkeleton(u"BOB")), "BB");
    EXPECT_EQ(Utf8(CEnglishDictionary::ConsonantSkeleton(u"BOOK")), "BK");
    EXPECT_EQ(Utf8(CEnglishDictionary::ConsonantSkeleton(u"CRYPT")), "CRYPT");
    EXPECT_EQ(Utf8(CEnglishDictionary::ConsonantSkeleton(u"balloon")), "bln");
}

TEST(IsCloseSpelling, FirstWordLengthSetsTheAllowance)
{
    struct Case {
        const char* a;
        const char* b;
        bool close;
    } cases[] = {
        {"CAT", "CAT", false},        // three letters never count
        {"CART", "CARD", true},       // four letters: one edit
        {"CART", "CRTA", false},      // four letters: two edits are too many
        {"RECIEVE", "RECEIVE", true}, // five and more: two edits
        {"RECEIVE", "RECIEVE", false}, // the other way round the walk costs four
        {"HOUSE", "HORSES", true},
        {"ABCDEFGH", "ABCD", false},  // lengths differ by four
    };
    for (const Case& c : cases) {
        const String a = U(c.a), b = U(c.b);
        EXPECT_EQ(CEnglishDictionary::IsCloseSpelling(a, static_cast<std::int64_t>(a.size()), b,
                                                      static_cast<std::int64_t>(b.size())),
                  c.close)
            << c.a << " / " << c.b;
    }
}

// A dictionary of the given words, written and read back as the generator makes it.
CEnglishDictionary DictionaryOf(std::initializer_list<const char*> words)
{
    CEnglishDictionary dict;
    dict.CreateEmpty();
    for (const char* w : words) EXPECT_EQ(dict.Add(U(w)), kDictOk);
    const String path = plat::TempDir() + u"suggest.riv";
    EXPECT_EQ(dict.WriteTo(path), kDictOk);
    EXPECT_EQ(dict.Open(path), kDictOk);
    return dict;
}

std::vector<std::string> SuggestionsFor(const CEnglishDictionary& dict, const char* word)
{
    std::vector<String> list;
    dict.Suggest(U(word), list);
    std::vector<std::string> out;
    for (const String& s : list) out.push_back(Utf8(s));
    return out;
}

TEST(EnglishSuggest, ProposesSoundAlikesAndCloseSpellingsInRecordOrder)
{
    const CEnglishDictionary dict = DictionaryOf({"receive", "relieve", "deceive", "phone", "fone",
                                                  "apple"});
    // receive shares the key RKF; relieve is one edit away; deceive three.
    EXPECT_EQ(SuggestionsFor(dict, "recieve"), (std::vector<std::string>{"receive", "relieve"}));
    // The key FN brings both spellings, in the records' order.
    EXPECT_EQ(SuggestionsFor(dict, "phoen"), (std::vector<std::string>{"fone", "phone"}));
}

TEST(EnglishSuggest, RecordLengthDecidesForWordsWithVowels)
{
    const CEnglishDictionary dict = DictionaryOf({"cab", "cabs", "cart", "carts"});
    // "cabx" is one edit from cab and from cabs, but a three-letter record only comes by
    // an equal key (KB against KBKS).
    EXPECT_EQ(SuggestionsFor(dict, "cabx"), (std::vector<std::string>{"cabs"}));
    // "crat": cart is two edits away (four letters allow one), carts is two (five allow two).
    EXPECT_EQ(SuggestionsFor(dict, "crat"), (std::vector<std::string>{"carts"}));
}

TEST(EnglishSuggest, WordsWithoutVowelsCompareSkeletons)
{
    const CEnglishDictionary dict = DictionaryOf({"broken", "bracken", "brokenness", "bran"});
    // BRKN: bran is one edit away; broken has the same skeleton, bracken does not (BRCKN),
    // and brokenness is too long for its skeleton to count.
    EXPECT_EQ(SuggestionsFor(dict, "BRKN"), (std::vector<std::string>{"bran", "broken"}));
}

TEST(EnglishSuggest, OverlongWordGetsNothing)
{
    const CEnglishDictionary dict = DictionaryOf({"receive"});
    EXPECT_TRUE(SuggestionsFor(dict, std::string(50, 'e').c_str()).empty());
}

} // namespace

// The suggestion lists of the generated standard dictionaries, made through the index,
// equal element for element and in order the lists made by visiting every record or
// entry: for a table of misspellings (ordinary single-edit misspellings and odd words),
// for a fixed-seed sweep of random single edits of the dictionaries' own words, and with
// words added after the index was made.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/base/strings.h"
#include "spell/english_dictionary.h"
#include "spell/russian_word_list.h"
#include "tests/support/misspell.h"
#include "tests/spell/spell_test_support.h"

namespace {

using plat::String;

String U(const char* s) { return plat::Utf8ToUtf16(s); }

plat::String DictionaryFile(const char* name)
{
    return plat::Utf8ToUtf16(std::string(ORTHON_DICTIONARY_DIR) + "/" + name);
}

// The standard dictionaries, read once for the whole suite.
class GeneratedDictionaries : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        english = new CEnglishDictionary;
        ASSERT_EQ(english->Open(DictionaryFile("ViZavizivu.riv")), kDictOk);
        russian = new CRussianWordList;
        ASSERT_EQ(russian->Load(DictionaryFile("QlRussia.dic")), 1);
    }
    static void TearDownTestSuite()
    {
        delete english;
        delete russian;
        english = nullptr;
        russian = nullptr;
    }

    static void ExpectSameEnglish(const CEnglishDictionary& d, const String& word)
    {
        std::vector<String> indexed{u"stale"};
        std::vector<String> scanned;
        d.Suggest(word, indexed);
        d.SuggestByScan(word, scanned);
        EXPECT_EQ(indexed, scanned) << plat::Utf16ToUtf8(word);
    }
    static void ExpectSameRussian(const CRussianWordList& list, const String& word)
    {
        // Both append: start from the same non-empty list.
        std::vector<String> indexed{u"before"};
        std::vector<String> scanned{u"before"};
        list.Suggest(word, indexed);
        list.SuggestByScan(word, scanned);
        EXPECT_EQ(indexed, scanned) << plat::Utf16ToUtf8(word);
    }

    static CEnglishDictionary* english;
    static CRussianWordList* russian;
};

CEnglishDictionary* GeneratedDictionaries::english = nullptr;
CRussianWordList* GeneratedDictionaries::russian = nullptr;

const char* const kEnglishWords[] = {
    // One deletion, insertion, substitution or transposition of an ordinary word.
    "recieve", "speling", "acomodate", "definately", "goverment", "wich", "becuase", "freind",
    "tommorow", "untill", "beleive", "seperate", "occured", "neccessary", "adress", "wierd",
    "enviroment", "hapen", "begining", "calender", "libary", "knowlege", "arguement", "truely",
    "writting", "suprise", "tounge", "abscence", "embarass", "foriegn", "gaurd", "questoin",
    "hosue", "mountian", "pepole", "thier", "comming", "dissapear", "existance", "finaly",
    // Very short words, and the empty word.
    "", "a", "ab", "teh", "ot", "qq",
    // Capitalised and all-capitals.
    "Recieve", "Amercia", "Londn", "SPELING", "McDonlad", "Febuary", "Pariss",
    // Apostrophes.
    "dont'", "can't", "wo'nt", "it's'", "'twas", "o'clok",
    // No vowels: the consonant skeletons decide.
    "BRKN", "thrsdy", "crwd", "hmm", "myth", "rhythm", "xyz", "Crwn", "nght",
    // A space ends the word; long words, up to and past the lookup buffer.
    "recieve it", "anticonstitutionnally", "internationalisaton", "characteristicaly",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
};

const char* const kRussianWords[] = {
    // Ordinary misspellings.
    "прривет", "славарь", "малоко", "сабака", "карова", "превет", "здраствуйте", "пожалуста",
    "извените", "спосибо", "хорошо", "харашо", "девочко", "учитиль", "тетрадъ", "корабел",
    "дирево", "солнцэ", "ветир", "облоко", "машына", "дорога", "гаражь", "кампьютер",
    "телифон", "програма", "институд", "универститет", "праздрик", "работта", "ребята", "книгга",
    "ручкка", "столл", "окнно", "днём", "вечиром", "утрам",
    // ё and е.
    "ежик", "ёжык", "елька", "ЁЛКА", "еще", "ещё", "зелённый", "Ёжик",
    // Capitalised and all-capitals.
    "Масква", "ПРИВЕТТ", "Пётр", "САБАКА", "Россея",
    // Short words: three letters or fewer never get suggestions, four letters one edit.
    "", "я", "до", "кот", "котт", "домм", "сон",
    // Long words.
    "высокопревосходительствоо", "человеконенавистничиство", "достопримичательность",
    "частнопредпринимательскиий",
    // Characters outside the alphabet.
    "ж-ж", "привет1", "ﬁ",
};

TEST_F(GeneratedDictionaries, EnglishTableMatchesTheScan)
{
    for (const char* w : kEnglishWords) ExpectSameEnglish(*english, U(w));
}

TEST_F(GeneratedDictionaries, RussianTableMatchesTheScan)
{
    for (const char* w : kRussianWords) ExpectSameRussian(*russian, U(w));
}

using testsupport::Misspell;

TEST_F(GeneratedDictionaries, RandomEnglishMisspellingsMatchTheScan)
{
    std::mt19937 rng(20240611);
    const auto& records = english->Records();
    ASSERT_FALSE(records.empty());
    for (int k = 0; k < 300; ++k) {
        const String word(records[std::uniform_int_distribution<std::size_t>(0, records.size() - 1)(rng)].Word());
        // Every fourth with capitals; every tenth without its vowels.
        String w = Misspell(word, u"abcdefghijklmnopqrstuvwxyz'", rng);
        if (k % 4 == 0)
            for (char16_t& c : w)
                if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        if (k % 10 == 0) std::erase_if(w, CEnglishDictionary::IsVowel);
        ExpectSameEnglish(*english, w);
    }
}

TEST_F(GeneratedDictionaries, RandomRussianMisspellingsMatchTheScan)
{
    std::mt19937 rng(19610412);
    ASSERT_GT(russian->Count(), 0u);
    for (int k = 0; k < 300; ++k) {
        String w(russian->Word(std::uniform_int_distribution<std::size_t>(0, russian->Count() - 1)(rng)));
        w = Misspell(w, u"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАЕЁОЯ", rng);
        ExpectSameRussian(*russian, w);
    }
}

// A slip of one to three letters: a run of letters dropped, letters put in, replaced or
// swapped. Two of them reach the distance limit in the ways that break most letter pairs
// (a run of two dropped costs one edit).
String Slip(String w, plat::StringView letters, std::mt19937& rng)
{
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const std::size_t run = 1 + pick(3);
    switch (pick(3)) {
    case 0:
        if (w.size() > run) w.erase(pick(w.size() - run + 1), run);
        break;
    case 1: {
        const std::size_t at = pick(w.size() + 1);
        for (std::size_t k = 0; k < run && k < 2; ++k) w.insert(at, 1, letters[pick(letters.size())]);
        break;
    }
    default:
        return Misspell(std::move(w), letters, rng);
    }
    return w;
}

TEST_F(GeneratedDictionaries, RussianWordsTwoSlipsAwayMatchTheScan)
{
    // Words at the distance limit, short ones among them, in capitals now and then.
    std::mt19937 rng(19570404);
    const String letters = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАЕЁОЯ";
    for (int k = 0; k < 200; ++k) {
        String w(russian->Word(std::uniform_int_distribution<std::size_t>(0, russian->Count() - 1)(rng)));
        w = Slip(Slip(std::move(w), letters, rng), letters, rng);
        if (k % 5 == 0)
            for (char16_t& c : w)
                if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 32);
        if (k % 7 == 0 && w.size() > 5) w.resize(4 + k % 3);
        ExpectSameRussian(*russian, w);
    }
}

TEST(SuggestIndex, EnglishAddedRecordsFollowTheIndexedOnes)
{
    CEnglishDictionary d;
    const auto path = spelltest::FreshTestFolder() / "small.dic";
    for (const char* w : {"receive", "relieve", "Paris", "parish", "brown", "broken", "bran"})
        ASSERT_EQ(d.Add(U(w)), kDictOk);
    ASSERT_EQ(d.WriteTo(plat::Utf8ToUtf16(path.string())), kDictOk);
    ASSERT_EQ(d.Open(plat::Utf8ToUtf16(path.string())), kDictOk);
    std::vector<String> list;
    d.Suggest(u"recieve", list); // makes the index
    for (const char* w : {"receive", "recieved", "Pariss", "BRKN"}) ASSERT_EQ(d.Add(U(w)), kDictOk);
    for (const char* w : {"recieve", "paris", "BRKN", "brwn", "recieved"}) {
        std::vector<String> indexed, scanned;
        d.Suggest(U(w), indexed);
        d.SuggestByScan(U(w), scanned);
        EXPECT_EQ(indexed, scanned) << w;
        EXPECT_FALSE(indexed.empty()) << w;
    }
}

TEST(SuggestIndex, RussianWordsAddedAfterTheIndexAreOffered)
{
    CRussianWordList list;
    for (const char* w : {"привет", "приветы", "мир"}) list.Add(U(w));
    std::vector<String> first;
    list.Suggest(U("прривет"), first); // makes the index
    list.Add(U("прривет1"));
    list.Add(U("ПРИВЕТ"));
    std::vector<String> indexed, scanned;
    list.Suggest(U("прривет"), indexed);
    list.SuggestByScan(U("прривет"), scanned);
    EXPECT_EQ(indexed, scanned);
    EXPECT_EQ(indexed, (std::vector<String>{U("привет"), U("приветы"), U("прривет1"), U("ПРИВЕТ")}));
}

// The standard list with its index built on a thread of its own: lists asked for while it
// is built, and after, are the scan's; the list can be changed, moved, read again or
// dropped while it runs.
TEST(SuggestIndex, RussianBackgroundBuildAnswersAsTheScanDoes)
{
    CRussianWordList list;
    ASSERT_EQ(list.Load(DictionaryFile("QlRussia.dic")), 1);
    list.PrepareSuggestionsInBackground();
    std::vector<std::vector<String>> early;
    for (const char* w : kRussianWords) {
        std::vector<String> indexed, scanned;
        list.Suggest(U(w), indexed);
        list.SuggestByScan(U(w), scanned);
        EXPECT_EQ(indexed, scanned) << w;
        early.push_back(indexed);
    }
    list.PrepareSuggestions(); // waits for the build
    EXPECT_GT(list.SuggestionIndexBytes(), 0u);
    std::size_t k = 0;
    for (const char* w : kRussianWords) {
        std::vector<String> later;
        list.Suggest(U(w), later);
        EXPECT_EQ(later, early[k++]) << w;
    }
}

TEST(SuggestIndex, RussianBackgroundBuildSurvivesChangesToTheList)
{
    // Enough words that the build is still running when the list changes.
    std::vector<std::uint8_t> file;
    std::mt19937 rng(7);
    const String letters = u"абвгдежзиклмнопрстуфхцчшщыэюя";
    for (int k = 0; k < 200000; ++k) {
        String w;
        for (std::size_t n = 4 + rng() % 8; n > 0; --n) w += letters[rng() % letters.size()];
        for (char16_t c : w) {
            file.push_back(static_cast<std::uint8_t>(c));
            file.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        file.push_back(0);
        file.push_back(0);
    }
    const String probe = u"абвгде";
    // "привет", alone.
    const std::vector<std::uint8_t> probeFile = {0x3F, 0x04, 0x40, 0x04, 0x38, 0x04, 0x32, 0x04,
                                                 0x35, 0x04, 0x42, 0x04, 0, 0};

    {
        // Adding waits for the build; the added word is offered.
        CRussianWordList list;
        list.Read(file.data(), file.size());
        list.PrepareSuggestionsInBackground();
        list.Add(u"абвгдё");
        std::vector<String> indexed, scanned;
        list.Suggest(probe, indexed);
        list.SuggestByScan(probe, scanned);
        EXPECT_EQ(indexed, scanned);
        ASSERT_FALSE(indexed.empty());
        EXPECT_EQ(indexed.back(), u"абвгдё");
    }
    {
        // Moved while it builds: the build goes on over the same words.
        CRussianWordList list;
        list.Read(file.data(), file.size());
        list.PrepareSuggestionsInBackground();
        CRussianWordList moved(std::move(list));
        std::vector<String> indexed, scanned;
        moved.Suggest(probe, indexed);
        moved.SuggestByScan(probe, scanned);
        EXPECT_EQ(indexed, scanned);
        moved.PrepareSuggestions();
        std::vector<String> later;
        moved.Suggest(probe, later);
        EXPECT_EQ(later, scanned);
    }
    {
        // Read again while it builds: the build is dropped and the new words answer.
        CRussianWordList list;
        list.Read(file.data(), file.size());
        list.PrepareSuggestionsInBackground();
        list.Read(probeFile.data(), probeFile.size());
        ASSERT_EQ(list.Count(), 1u);
        std::vector<String> suggestions;
        list.Suggest(U("прривет"), suggestions);
        EXPECT_EQ(suggestions, std::vector<String>{U("привет")});
    }
    {
        // Dropped while it builds.
        CRussianWordList list;
        list.Read(file.data(), file.size());
        list.PrepareSuggestionsInBackground();
    }
}

} // namespace

// The Russian word list: the file form, folding of capitals, the lookup hash, and
// suggestions in list order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "spell/russian_word_list.h"
#include "spell/spell_distance.h"
#include "tests/spell/spell_test_support.h"

namespace {

namespace fs = std::filesystem;
using plat::String;
using Bytes = std::vector<std::uint8_t>;

String U(const char* s) { return plat::Utf8ToUtf16(s); }

// Words as the file holds them: UTF-16LE, each ended by a 0 unit.
Bytes FileOf(std::initializer_list<const char*> words)
{
    Bytes b;
    for (const char* w : words) {
        for (char16_t c : U(w)) {
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        b.push_back(0);
        b.push_back(0);
    }
    return b;
}

CRussianWordList ListOf(const Bytes& b)
{
    CRussianWordList list;
    list.Read(b.data(), b.size());
    return list;
}

std::vector<std::string> Words(const CRussianWordList& list)
{
    std::vector<std::string> out;
    for (std::size_t k = 0; k < list.Count(); ++k) out.push_back(plat::Utf16ToUtf8(list.Word(k)));
    return out;
}

TEST(RussianFolding, FoldsBasicCapitalsAndYoOnly)
{
    struct Case {
        char16_t from;
        char16_t to;
    } cases[] = {
        {0x0410, 0x0430}, {0x042F, 0x044F}, {0x0401, 0x0451}, {0x0402, 0x0402}, {0x040F, 0x040F},
        {0x0430, 0x0430}, {0x0451, 0x0451}, {u'A', u'A'}, {0x0415, 0x0435},
    };
    for (const Case& c : cases) EXPECT_EQ(CRussianWordList::FoldCyrillic(c.from), c.to) << int(c.from);
}

TEST(RussianWordList, ContainsIgnoresCaseByFolding)
{
    struct Case {
        const char* list;
        const char* word;
        bool found;
    } cases[] = {
        {"мир", "МИР", true}, {"мир", "Мир", true}, {"мир", "мир", true}, {"МИР", "мир", true},
        {"мир", "ми", false}, {"мир", "мира", false},
        {"ёж", "ЁЖ", true}, {"ёж", "Ёж", true}, {"ёж", "еж", false}, {"ЁЖ", "ёж", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListOf(FileOf({"дом", c.list, "кот"})).Contains(U(c.word)), c.found)
            << c.list << " / " << c.word;
    }
}

TEST(RussianWordList, ReadsCompleteWordsOnly)
{
    Bytes b = FileOf({"мир", "", "дом"});
    EXPECT_EQ(Words(ListOf(b)), (std::vector<std::string>{"мир", "", "дом"}));
    // An unfinished last word and an odd last byte are dropped.
    Bytes unfinished = b;
    for (std::uint8_t x : {0x3a, 0x04, 0x3e, 0x04, 0x42}) unfinished.push_back(x);
    EXPECT_EQ(Words(ListOf(unfinished)), (std::vector<std::string>{"мир", "", "дом"}));
    Bytes odd = b;
    odd.push_back(0x11);
    EXPECT_EQ(Words(ListOf(odd)), (std::vector<std::string>{"мир", "", "дом"}));
    EXPECT_TRUE(Words(ListOf(Bytes())).empty());
    EXPECT_TRUE(Words(ListOf(Bytes{0x3c, 0x04})).empty());
}

TEST(RussianWordList, LookupHashAgreesWithAScanAsTheListGrows)
{
    std::mt19937 rng(5);
    auto randomWord = [&] { return spelltest::RandomWord(rng, u"аАбБёЁе", 0, 5); };
    CRussianWordList list;
    list.Read(nullptr, 0);
    for (int k = 0; k < 400; ++k) {
        list.Add(randomWord()); // grows the table several times
        const String w = randomWord();
        bool scanned = false;
        for (std::size_t i = 0; i < list.Count() && !scanned; ++i)
            scanned = CRussianWordList::EqualFolded(list.Word(i), w);
        ASSERT_EQ(list.Contains(w), scanned) << plat::Utf16ToUtf8(w);
    }
}

TEST(RussianWordList, SuggestsCloseWordsInListOrder)
{
    const CRussianWordList list = ListOf(FileOf({"кот", "кота", "коты", "скот", "котёнок", "рот", "кит",
                                                  "работа", "робота", "роботам", "забота", "раб"}));
    auto suggest = [&](const char* w) {
        std::vector<String> out;
        list.Suggest(U(w), out);
        std::vector<std::string> utf8;
        for (const String& s : out) utf8.push_back(plat::Utf16ToUtf8(s));
        return utf8;
    };
    // Three letters: never.
    EXPECT_TRUE(suggest("кот").empty());
    EXPECT_TRUE(suggest("кат").empty());
    // Four letters: one edit; the entry's length may differ by up to three.
    EXPECT_EQ(suggest("коте"), (std::vector<std::string>{"кот", "кота", "коты"}));
    EXPECT_EQ(suggest("КОТЕ"), (std::vector<std::string>{"кот", "кота", "коты"}));
    // Five letters and more: two edits.
    EXPECT_EQ(suggest("рабта"), (std::vector<std::string>{"работа", "робота", "забота", "раб"}));
}

TEST(RussianWordList, NoSuggestionLongerThanTheCallersBuffer)
{
    const String fits(255, u'ж');
    const String tooLong(256, u'ж');
    CRussianWordList list;
    list.Add(tooLong);
    list.Add(fits);
    std::vector<String> out;
    list.Suggest(String(254, u'ж'), out);
    EXPECT_EQ(out, std::vector<String>{fits});
    EXPECT_TRUE(list.Contains(tooLong));
}

TEST(RussianWordList, LetterBoundNeverSkipsACloseEntry)
{
    std::mt19937 rng(3);
    const std::u16string_view letters = u"абвгдАБВЁё";
    auto randomWord = [&] { return spelltest::RandomWord(rng, letters, 3, 8); };
    auto bit = [](char16_t c) { return unsigned(CRussianWordList::FoldCyrillic(c) - 0x430); };
    int close = 0;
    for (int n = 0; n < 20000; ++n) {
        const String a = randomWord();
        String b = a;
        b[std::uniform_int_distribution<size_t>(0, b.size() - 1)(rng)] = letters[n % 10];
        if (n % 2) b.insert(b.begin() + static_cast<std::ptrdiff_t>(n % b.size()), letters[n % 7]);
        const auto la = static_cast<std::int64_t>(a.size());
        const auto lb = static_cast<std::int64_t>(b.size());
        if (!CRussianWordList::IsCloseSpelling(a, la, b, lb)) continue;
        ++close;
        ASSERT_LE(CRussianWordList::Distance(a, b), orthon::AllowedEdits(la));
        ASSERT_TRUE(orthon::MasksAllowClose(orthon::LetterMask(a, bit), orthon::LetterMask(b, bit), la));
    }
    EXPECT_GT(close, 5000);
}

class RussianFiles : public testing::Test {
protected:
    void SetUp() override { m_dir = spelltest::FreshTestFolder(); }
    String PathOf(const char* name) const { return plat::Utf8ToUtf16((m_dir / name).string()); }
    Bytes ReadFile(const char* name)
    {
        const std::string bytes = spelltest::ReadFileBytes(m_dir / name);
        return Bytes(bytes.begin(), bytes.end());
    }
    fs::path m_dir;
};

TEST_F(RussianFiles, SavesEveryWordInOrderWithRepeats)
{
    const Bytes original = FileOf({"мир", "дом"});
    std::ofstream(m_dir / "QlRussiaUser.dic", std::ios::binary)
        .write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
    CRussianWordList list;
    ASSERT_EQ(list.Load(PathOf("QlRussiaUser.dic")), 1);
    list.Add(U("кот"));
    list.Add(U("кот"));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadFile("QlRussiaUser.dic"), FileOf({"мир", "дом", "кот", "кот"}));
}

TEST_F(RussianFiles, MissingFileKeepsThePathAndTheWords)
{
    CRussianWordList list;
    list.Add(U("мир"));
    EXPECT_EQ(list.Load(PathOf("absent.dic")), 0);
    EXPECT_EQ(list.Path(), PathOf("absent.dic"));
    EXPECT_TRUE(list.Contains(U("мир")));
    // The first save creates it.
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadFile("absent.dic"), FileOf({"мир"}));
    EXPECT_FALSE(list.SaveTo(PathOf("missing/list.dic")));
}

TEST_F(RussianFiles, OversizedFileIsNotRead)
{
    std::ofstream(m_dir / "huge.dic").close();
    fs::resize_file(m_dir / "huge.dic", kRussianMaxFileBytes + 2); // sparse: nothing on the disk
    CRussianWordList list;
    list.Add(U("мир"));
    EXPECT_EQ(list.Load(PathOf("huge.dic")), 0);
    EXPECT_TRUE(list.Contains(U("мир")));
}

TEST_F(RussianFiles, EmptyFileLoadsAsAnEmptyList)
{
    std::ofstream(m_dir / "empty.dic").close();
    CRussianWordList list;
    list.Add(U("мир"));
    EXPECT_EQ(list.Load(PathOf("empty.dic")), 1);
    EXPECT_EQ(list.Count(), 0u);
}

} // namespace

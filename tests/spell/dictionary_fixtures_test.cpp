// The dictionaries' fixture folders, english_* files read as English dictionary files (the
// standard dictionary's and the user dictionary's format) and russian_* files as Russian
// word lists: good files load and answer lookups, directly and when a speller reads them
// from its folder as the standard list; damaged ones are refused leaving an empty
// dictionary that still takes words; and files that claim much or hold many words finish
// quickly either way.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/strings.h"
#include "spell/english_dictionary.h"
#include "spell/english_speller.h"
#include "spell/russian_speller.h"
#include "spell/russian_word_list.h"
#include "tests/spell/spell_test_support.h"
#include "tests/support/fixture_walk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureKind;

// Every good file holds the known word; the misspelling is close to it and in none.
constexpr char16_t kEnglishKnown[] = u"fixture";
constexpr char16_t kEnglishMisspelt[] = u"fixtuer";
constexpr char16_t kRussianKnown[] = u"словарь";
constexpr char16_t kRussianMisspelt[] = u"славарь";

bool Holds(const std::vector<plat::String>& list, plat::StringView word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

// The speller's folder with the fixture as its standard list under the given name.
plat::String FolderWithStandardList(const fs::path& file, const char* name)
{
    const fs::path dir = spelltest::FreshTestFolder() / "speller";
    fs::create_directories(dir);
    fs::copy_file(file, dir / name);
    return plat::Utf8ToUtf16(dir.string());
}

void CheckEnglish(const fs::path& file, FixtureKind kind)
{
    const plat::String path = plat::Utf8ToUtf16(file.string());
    CEnglishDictionary d;
    const int opened = d.Open(path);
    EXPECT_EQ(d.Path(), path);
    std::vector<plat::String> suggestions;
    if (kind == FixtureKind::kPass) {
        ASSERT_EQ(opened, kDictOk);
        EXPECT_EQ(d.Find(kEnglishKnown), 1);
        EXPECT_EQ(d.Find(kEnglishMisspelt), 0);
        d.Suggest(kEnglishMisspelt, suggestions);
        EXPECT_TRUE(Holds(suggestions, kEnglishKnown));
        CEnglishSpeller speller;
        speller.Load(FolderWithStandardList(file, "ViZavizivu.riv"));
        EXPECT_EQ(speller.Check(kEnglishKnown), 1);
        EXPECT_EQ(speller.Check(kEnglishMisspelt), 0);
    } else if (kind == FixtureKind::kFail) {
        EXPECT_NE(opened, kDictOk);
        // Nothing half read: no records, no header, and the word is not found...
        EXPECT_TRUE(d.Records().empty());
        EXPECT_TRUE(d.AddedRecords().empty());
        EXPECT_TRUE(std::all_of(d.Header().begin(), d.Header().end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(d.Find(kEnglishKnown), 0);
        // ...but an empty dictionary that takes words, as a refused user file becomes.
        EXPECT_EQ(d.Add(kEnglishKnown), kDictOk);
        EXPECT_EQ(d.Find(kEnglishKnown), 1);
        // A speller refused its standard file has none, and so passes every word.
        CEnglishSpeller speller;
        speller.Load(FolderWithStandardList(file, "ViZavizivu.riv"));
        EXPECT_EQ(speller.Check(kEnglishMisspelt), 1);
    } else if (opened == kDictOk) {
        // Read or refused, and what was read answers in time too.
        d.Find(kEnglishKnown);
        d.Suggest(kEnglishMisspelt, suggestions);
        d.Suggest(u"xxxxxxxxxxxxxxxxxxx", suggestions);
    }
}

void CheckRussian(const fs::path& file, FixtureKind kind)
{
    const plat::String path = plat::Utf8ToUtf16(file.string());
    CRussianWordList list;
    const int loaded = list.Load(path);
    EXPECT_EQ(list.Path(), path);
    std::vector<plat::String> suggestions;
    if (kind == FixtureKind::kPass) {
        ASSERT_EQ(loaded, 1);
        // An empty user list is a list without words.
        const bool empty = file.filename().string().find("empty") != std::string::npos;
        EXPECT_EQ(list.Contains(kRussianKnown), !empty);
        EXPECT_EQ(list.Contains(u"СЛОВАРЬ"), !empty);
        EXPECT_FALSE(list.Contains(kRussianMisspelt));
        // Only whole words: none holds a 0, and each is found.
        for (std::size_t k = 0; k < list.Count(); ++k) {
            EXPECT_EQ(list.Word(k).find(char16_t(0)), plat::StringView::npos) << k;
            EXPECT_TRUE(list.Contains(list.Word(k))) << k;
        }
        list.Suggest(kRussianMisspelt, suggestions);
        EXPECT_EQ(Holds(suggestions, kRussianKnown), !empty);
        CRussianSpeller speller;
        speller.Load(FolderWithStandardList(file, "QlRussia.dic"));
        EXPECT_EQ(speller.Check(kRussianKnown), empty ? 0 : 1);
        EXPECT_EQ(speller.Check(kRussianMisspelt), 0);
    } else if (kind == FixtureKind::kFail) {
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(list.Count(), 0u);
        EXPECT_FALSE(list.Contains(kRussianKnown));
    } else {
        list.Contains(kRussianKnown);
        list.Suggest(kRussianMisspelt, suggestions);
        if (list.Count() > 0) list.Suggest(list.Word(0), suggestions);
    }
}

TEST(DictionaryFixtures, PassLoadsFailIsRefusedNothingHangs)
{
    testsupport::WalkFixtures("dictionaries", std::chrono::seconds(10), [](const fs::path& file, FixtureKind kind) {
        const std::string name = file.filename().string();
        if (name.rfind("english_", 0) == 0) {
            CheckEnglish(file, kind);
        } else if (name.rfind("russian_", 0) == 0) {
            CheckRussian(file, kind);
        } else {
            ADD_FAILURE() << "a dictionary fixture's name starts with english_ or russian_, the reader it is for";
        }
    });
}

} // namespace

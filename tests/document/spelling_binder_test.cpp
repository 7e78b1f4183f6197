// The binders: the spelling library bound from the program's own folder with its seven
// exports, every way it can fail to bind (each leaving every word correct), answers out
// of bounds from a library, and the sentence checker bound by path with its calling
// convention and result block.
#include <algorithm>
#include <vector>

#include "document/check_text_buffer.h"
#include "document/sentence_checker.h"
#include "tests/document/spelling_support.h"

namespace {

using plat::String;
using spelltest::U;

bool Contains(const std::vector<String>& list, const String& w)
{
    return std::find(list.begin(), list.end(), w) != list.end();
}

TEST(SpellEngine, BindsTheLibraryOfTheModuleFolder)
{
    CSpellEngine engine;
    ASSERT_TRUE(engine.Load());
    ASSERT_TRUE(engine.IsBound());
    EXPECT_EQ(engine.IsCorrect(u"receive"), 1);
    EXPECT_EQ(engine.IsCorrect(u"recieve"), 0);
    EXPECT_EQ(engine.IsCorrect(U("МИР")), 1);

    std::vector<String> list{u"stale"};
    EXPECT_EQ(engine.GetSuggestions(u"recieve", list), 0);
    EXPECT_TRUE(Contains(list, u"receive"));
    EXPECT_FALSE(Contains(list, u"stale")) << "the list is replaced";
    // A correct word has no suggestions and leaves the list alone.
    list = {u"kept"};
    EXPECT_EQ(engine.GetSuggestions(u"receive", list), 1);
    EXPECT_EQ(list, std::vector<String>{u"kept"});

    EXPECT_EQ(engine.IsCorrect(u"qlzxbinderignore"), 0);
    engine.AddIgnore(u"qlzxbinderignore");
    EXPECT_EQ(engine.IsCorrect(u"qlzxbinderignore"), 1);
}

TEST(SpellEngine, WhatCannotBindLeavesEveryWordCorrect)
{
    const std::string empty = plat::TempDirUtf8() + "no_library_here";
    std::filesystem::create_directories(empty);
    struct Case {
        const char* what;
        String folder;
    };
    const Case cases[] = {
        {"no library in the folder", plat::Utf8ToUtf16(empty)},
        {"no such folder", u"/nonexistent/folder"},
        {"an export missing", spelltest::FakeOrthonFolder("missing_export")},
        {"dictionaries refused", spelltest::FakeOrthonFolder("load_fails")},
    };
    for (const Case& c : cases) {
        CSpellEngine engine;
        EXPECT_FALSE(engine.Load(c.folder)) << c.what;
        EXPECT_FALSE(engine.IsBound()) << c.what;
        EXPECT_EQ(engine.IsCorrect(u"recieve"), 1) << c.what;
        std::vector<String> list{u"kept"};
        EXPECT_EQ(engine.GetSuggestions(u"recieve", list), 1) << c.what;
        EXPECT_EQ(list, std::vector<String>{u"kept"}) << c.what;
        engine.AddWord(u"recieve");
        engine.AddIgnore(u"recieve");
    }
    // A bound engine that loads again from a folder without the library ends unbound.
    CSpellEngine engine;
    ASSERT_TRUE(engine.Load(spelltest::FakeOrthonFolder("flood")));
    EXPECT_FALSE(engine.Load(plat::Utf8ToUtf16(empty)));
    EXPECT_EQ(engine.IsCorrect(u"anything"), 1);
}

TEST(SpellEngine, AnswersBeyondTheAgreedBoundsAreCut)
{
    // Every word wrong, "all the suggestions in the world", each filling its buffer
    // without a terminating 0.
    CSpellEngine engine;
    ASSERT_TRUE(engine.Load(spelltest::FakeOrthonFolder("flood")));
    std::vector<String> list;
    EXPECT_EQ(engine.GetSuggestions(u"word", list), 0);
    ASSERT_EQ(list.size(), size_t(CSpellEngine::kMaxSuggestions));
    EXPECT_EQ(list.front(), String(CSpellEngine::kSuggestionUnits, u'x'));
}

TEST(SpellEngine, AddedWordSurvivesUnloadAndReload)
{
    const String folder = spelltest::PrivateLibraryFolder("engine_user_words");
    {
        CSpellEngine engine;
        ASSERT_TRUE(engine.Load(folder));
        EXPECT_EQ(engine.IsCorrect(u"qlzxbinderword"), 0);
        engine.AddWord(u"qlzxbinderword");
        EXPECT_EQ(engine.IsCorrect(u"qlzxbinderword"), 1);
    } // released and freed: the user dictionary is written
    CSpellEngine engine;
    ASSERT_TRUE(engine.Load(folder));
    EXPECT_EQ(engine.IsCorrect(u"qlzxbinderword"), 1);
}

// ---------------------------------------------------------------------------------------

CCheckTextBuffer BufferOf(const String& text)
{
    CCheckTextBuffer buffer;
    for (size_t i = 0; i < text.size(); ++i) buffer.Add(text[i], static_cast<int>(i));
    return buffer;
}

TEST(SentenceChecker, CallsTheCheckerByItsConvention)
{
    spelltest::CheckerProbe probe;
    CSentenceChecker checker(spelltest::CheckerPath());
    ASSERT_TRUE(checker.IsAvailable());
    const int calls = probe.Calls();
    // The test checker finds nothing unless the fixed arguments are the agreed ones.
    EXPECT_EQ(checker.Check(BufferOf(u"we teh one")), 1);
    EXPECT_EQ(probe.Calls(), calls + 1);
    EXPECT_EQ(probe.Profile(), kSentenceCheckProfile);
    EXPECT_EQ(probe.Text(), "we teh one");
    const String lib = spelltest::CheckerPath();
    EXPECT_EQ(probe.DataPath(), lib.substr(0, lib.rfind(u'/')) + u"/QlSentence.dat");
    EXPECT_EQ(checker.GetDataPath(), probe.DataPath());

    EXPECT_EQ(checker.Fetch(0), 2);
    EXPECT_EQ(checker.GetErrorStart(), 3);
    EXPECT_EQ(checker.GetErrorLength(), 3);
    EXPECT_EQ(checker.GetErrorText(), u"teh");
    EXPECT_EQ(checker.GetSuggestion(0), u"the");
    EXPECT_EQ(checker.GetSuggestion(1), u"ten");
    EXPECT_EQ(checker.GetSuggestion(2), u"");
    EXPECT_EQ(checker.GetSuggestion(5), u"");
    EXPECT_EQ(checker.GetSuggestion(-1), u"");
    // Nothing more to fetch: the last finding is forgotten.
    EXPECT_EQ(checker.Fetch(1), 0);
    EXPECT_EQ(checker.GetErrorStart(), 0);
    EXPECT_EQ(checker.GetErrorLength(), 0);
    EXPECT_EQ(checker.GetSuggestion(0), u"");
}

TEST(SentenceChecker, ReadsChineseFindingsAndCountsOnlyFilledSlots)
{
    CSentenceChecker checker(spelltest::CheckerPath());
    ASSERT_TRUE(checker.IsAvailable());
    // Start as a character index, length in code page 936 bytes.
    ASSERT_EQ(checker.Check(BufferOf(U("他以经来"))), 1);
    EXPECT_EQ(checker.Fetch(0), 1);
    EXPECT_EQ(checker.GetErrorStart(), 1);
    EXPECT_EQ(checker.GetErrorLength(), 4);
    EXPECT_EQ(checker.GetErrorText(), U("以经"));
    EXPECT_EQ(checker.GetSuggestion(0), U("已经"));

    // Suggestions only in slots 1 and 3 count 2; the slots keep their places.
    ASSERT_EQ(checker.Check(BufferOf(u"twoslots")), 1);
    EXPECT_EQ(checker.Fetch(0), 2);
    EXPECT_EQ(checker.GetSuggestion(0), u"");
    EXPECT_EQ(checker.GetSuggestion(1), u"s1");
    EXPECT_EQ(checker.GetSuggestion(3), u"s3");
    EXPECT_EQ(checker.GetErrorLength(), 8);

    // A finding without suggestions has no place and no length.
    ASSERT_EQ(checker.Check(BufferOf(u"bare")), 1);
    EXPECT_EQ(checker.Fetch(0), 0);
    EXPECT_EQ(checker.GetErrorStart(), 0);
    EXPECT_EQ(checker.GetErrorLength(), 0);
}

TEST(SentenceChecker, WhatCannotBindFindsNothing)
{
    struct Case {
        const char* what;
        String path;
    };
    const Case cases[] = {
        {"no path set", u""},
        {"no such file", u"/nonexistent/libChecker.so"},
        {"exports missing", spelltest::FakeOrthonFolder("flood") + u"/" + kSpellLibraryName},
    };
    for (const Case& c : cases) {
        CSentenceChecker checker(c.path);
        EXPECT_FALSE(checker.IsAvailable()) << c.what;
        EXPECT_EQ(checker.Check(BufferOf(u"we teh one")), 0) << c.what;
        EXPECT_EQ(checker.Fetch(0), 0) << c.what;
        EXPECT_EQ(checker.GetErrorStart(), 0) << c.what;
        EXPECT_EQ(checker.GetErrorLength(), 0) << c.what;
    }
}

} // namespace

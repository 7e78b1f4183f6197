// libOrthon.so bound by path, as the control binds it: the seven exports looked up by
// name, the generated dictionaries, user dictionaries across unload and reload, and
// bad input at the boundary.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "spell/orthon.h"
#include "tests/spell/spell_test_support.h"
#include "tests/support/child_processes.h"
#include "tests/support/fifo_open.h"

namespace {

namespace fs = std::filesystem;
using plat::String;

const char* const kLibraryPath = ORTHON_LIBRARY_PATH;
const char* const kDictionaryDir = ORTHON_DICTIONARY_DIR;

String U(const char* utf8) { return plat::Utf8ToUtf16(utf8); }

// One binding of the library: loaded by path on Open, unloaded (and checked to be gone,
// so that its state goes with it) on Close.
class Orthon {
public:
    ~Orthon() { Close(); }

    void Open()
    {
        ASSERT_EQ(m_handle, nullptr);
        m_handle = dlopen(kLibraryPath, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
        Bind(load, "LoadSpellCheck");
        Bind(release, "ReleaseSpellCheck");
        Bind(check, "CheckWord");
        Bind(find, "FindWord");
        Bind(get, "GetWord");
        Bind(add, "AddWord");
        Bind(ignore, "AddIgnore");
    }

    void Close()
    {
        if (!m_handle) return;
        release();
        ASSERT_EQ(dlclose(m_handle), 0) << dlerror();
        m_handle = nullptr;
        EXPECT_EQ(dlopen(kLibraryPath, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still loaded";
    }

    bool Check(const String& w) { return check(w.c_str()) != 0; }
    int Find(const String& w) { return find(w.c_str()); }
    void Add(const String& w) { add(w.c_str()); }
    void Ignore(const String& w) { ignore(w.c_str()); }
    void Load(const String& folder) { EXPECT_EQ(load(folder.c_str()), 1); }
    void Load(const std::string& folder) { Load(plat::Utf8ToUtf16(folder)); }

    // Every suggestion of the last FindWord, read with the control's 256-unit buffer.
    std::vector<String> Suggestions(int count)
    {
        std::vector<String> out;
        for (int k = 0; k < count; ++k) {
            char16_t buffer[kOrthonSuggestionBufferUnits] = {};
            EXPECT_EQ(get(k, buffer), 1) << k;
            out.emplace_back(buffer);
        }
        return out;
    }
    std::vector<String> Suggest(const String& w) { return Suggestions(Find(w)); }

    OrthonLoadSpellCheckFn load = nullptr;
    OrthonReleaseSpellCheckFn release = nullptr;
    OrthonCheckWordFn check = nullptr;
    OrthonFindWordFn find = nullptr;
    OrthonGetWordFn get = nullptr;
    OrthonAddWordFn add = nullptr;
    OrthonAddIgnoreFn ignore = nullptr;

private:
    template <class Fn>
    void Bind(Fn& fn, const char* name)
    {
        fn = reinterpret_cast<Fn>(dlsym(m_handle, name));
        ASSERT_NE(fn, nullptr) << name;
    }

    void* m_handle = nullptr;
};

bool Contains(const std::vector<String>& list, const String& w)
{
    return std::find(list.begin(), list.end(), w) != list.end();
}

// ---------------------------------------------------------------------------------------
// The generated standard dictionaries, loaded once for the suite (nothing here adds words,
// so the build's folder is never written).

class OrthonStandard : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_orthon = new Orthon;
        s_orthon->Open();
        s_orthon->Load(std::string(kDictionaryDir));
    }
    static void TearDownTestSuite()
    {
        delete s_orthon;
        s_orthon = nullptr;
    }
    static Orthon* s_orthon;
    Orthon& lib = *s_orthon;
};
Orthon* OrthonStandard::s_orthon = nullptr;

TEST_F(OrthonStandard, ChecksEnglishWithItsCaseRules)
{
    struct Case {
        const char* word;
        bool correct;
    } cases[] = {
        {"receive", true}, {"recieve", false}, {"Receive", true}, {"RECEIVE", true},
        {"don't", true}, {"Paris", true}, {"PARIS", true}, {"paris", false},
        {"aardvark", true}, {"zoology", true}, {"qwzxv", false}, {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(lib.Check(U(c.word)), c.correct) << c.word;
}

TEST_F(OrthonStandard, SuggestsTheIntendedEnglishWord)
{
    const std::vector<String> receive = lib.Suggest(u"recieve");
    EXPECT_TRUE(Contains(receive, u"receive"));
    EXPECT_TRUE(Contains(lib.Suggest(u"speling"), u"spelling"));
    EXPECT_TRUE(Contains(lib.Suggest(u"acomodate"), u"accommodate"));
    // A correct word has none, and leaves the last suggestions in place.
    EXPECT_EQ(lib.Find(u"receive"), 0);
    char16_t buffer[kOrthonSuggestionBufferUnits] = {};
    EXPECT_EQ(lib.get(0, buffer), 1);
}

TEST_F(OrthonStandard, ChecksRussianWithoutRegardToCase)
{
    struct Case {
        const char* word;
        bool correct;
    } cases[] = {
        {"МИР", true}, {"Мир", true}, {"мир", true}, {"миру", true}, {"пишу", true},
        {"ёж", true}, {"Ёж", true}, {"ЁЖ", true}, {"мирп", false}, {"прривет", false},
    };
    for (const Case& c : cases) EXPECT_EQ(lib.Check(U(c.word)), c.correct) << c.word;
    EXPECT_TRUE(Contains(lib.Suggest(U("прривет")), U("привет")));
}

TEST_F(OrthonStandard, WordsOfNeitherAlphabetGetTheFallback)
{
    for (const char* word : {"abc1", "naïve", "мирx", "hello world"}) {
        EXPECT_FALSE(lib.Check(U(word))) << word;
        EXPECT_EQ(lib.Suggest(U(word)), std::vector<String>{u"??"}) << word;
    }
}

TEST_F(OrthonStandard, GetWordReadsTheLastFindWordAndRefusesBadIndexes)
{
    const int english = lib.Find(u"recieve");
    ASSERT_GT(english, 0);
    const int russian = lib.Find(U("прривет"));
    ASSERT_GT(russian, 0);
    EXPECT_TRUE(Contains(lib.Suggestions(russian), U("привет")));

    char16_t buffer[kOrthonSuggestionBufferUnits];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(lib.get(-1, buffer), 0);
    EXPECT_EQ(lib.get(russian, buffer), 0);
    EXPECT_EQ(lib.get(1 << 30, buffer), 0);
    EXPECT_EQ(lib.get(0, nullptr), 0);
    EXPECT_TRUE(std::all_of(std::begin(buffer), std::end(buffer), [](char16_t c) { return c == u'#'; }));
}

TEST_F(OrthonStandard, OverlongAndEmptyWordsAreMisspeltWithoutHarm)
{
    // Longer than any lookup buffer: misspelt, never read or written past its end.
    const String longEnglish(5000, u'e');
    EXPECT_FALSE(lib.Check(longEnglish));
    EXPECT_EQ(lib.Find(longEnglish), 0);
    EXPECT_FALSE(lib.Check(String(49, u'a')));
    const String longRussian(5000, u'ж');
    EXPECT_FALSE(lib.Check(longRussian));
    EXPECT_EQ(lib.Find(longRussian), 0);
    // The empty word and a null pointer go to the English speller.
    EXPECT_FALSE(lib.Check(u""));
    EXPECT_EQ(lib.check(nullptr), 0);
    lib.find(nullptr);
}

// ---------------------------------------------------------------------------------------
// A folder of the test's own: the standard files linked in, user files written there.

class OrthonFolder : public testing::Test {
protected:
    void SetUp() override { m_dir = spelltest::FreshTestFolder(); }
    void TearDown() override { lib.Close(); }

    void LinkStandard(const char* name) { fs::create_symlink(fs::path(kDictionaryDir) / name, m_dir / name); }
    // The generated English dictionary and a small Russian list ("мир", "привет"): the
    // generated Russian list is large enough to make every load slow under the sanitizers.
    void LinkBothStandard()
    {
        LinkStandard("ViZavizivu.riv");
        WriteBytes("QlRussia.dic", std::string("\x3c\x04\x38\x04\x40\x04\0\0"
                                               "\x3f\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04\0\0", 22));
    }
    void WriteBytes(const char* name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    std::vector<std::string> Files()
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void OpenAndLoad()
    {
        lib.Open();
        lib.Load(m_dir.string());
    }

    fs::path m_dir;
    Orthon lib;
};

TEST_F(OrthonFolder, AddedWordsSurviveUnloadAndReload)
{
    LinkBothStandard();
    OpenAndLoad();
    EXPECT_FALSE(lib.Check(u"quilnish"));
    EXPECT_FALSE(lib.Check(U("квилн")));
    lib.Add(u"quilnish");
    lib.Add(U("квилн"));
    EXPECT_TRUE(lib.Check(u"quilnish"));
    EXPECT_TRUE(lib.Check(u"QUILNISH"));
    EXPECT_TRUE(lib.Check(U("КВИЛН")));
    lib.Close();

    // Written on unload, beside the standard files, with no temporary file left behind.
    EXPECT_EQ(Files(), (std::vector<std::string>{"QlRussia.dic", "QlRussiaUser.dic", "QlUser.dic",
                                                  "ViZavizivu.riv"}));
    EXPECT_EQ(spelltest::ReadFileBytes(m_dir / "QlRussiaUser.dic"), std::string("\x3a\x04\x32\x04\x38\x04\x3b\x04\x3d\x04\0\0", 12));

    OpenAndLoad();
    EXPECT_TRUE(lib.Check(u"quilnish"));
    EXPECT_TRUE(lib.Check(U("квилн")));
    // A second run adds to what the first one wrote.
    lib.Add(u"Orthonic");
    lib.Close();
    OpenAndLoad();
    EXPECT_TRUE(lib.Check(u"quilnish"));
    EXPECT_TRUE(lib.Check(u"Orthonic"));
    EXPECT_FALSE(lib.Check(u"orthonic")); // added with a capital: the case rule holds
}

TEST_F(OrthonFolder, SecondLoadWritesTheWordsAddedBeforeIt)
{
    LinkBothStandard();
    OpenAndLoad();
    lib.Add(u"quilnish");
    const fs::path other = m_dir / "other";
    fs::create_directories(other);
    lib.Load(other.string());
    EXPECT_TRUE(fs::exists(m_dir / "QlUser.dic"));
    EXPECT_FALSE(fs::exists(m_dir / "QlRussiaUser.dic"));
    lib.Close();
    EXPECT_TRUE(fs::is_empty(other));
    OpenAndLoad();
    EXPECT_TRUE(lib.Check(u"quilnish"));
}

TEST_F(OrthonFolder, IgnoredWordsAndOtherAlphabetsWriteNothing)
{
    LinkBothStandard();
    OpenAndLoad();
    lib.Ignore(u"quilnish");
    lib.Ignore(U("квилн"));
    EXPECT_TRUE(lib.Check(u"quilnish"));
    EXPECT_TRUE(lib.Check(U("квилн")));
    lib.Add(u"abc1");
    EXPECT_FALSE(lib.Check(u"abc1"));
    lib.Close();
    EXPECT_EQ(Files(), (std::vector<std::string>{"QlRussia.dic", "ViZavizivu.riv"}));

    OpenAndLoad();
    EXPECT_FALSE(lib.Check(u"quilnish")); // ignored words go with the library
}

TEST_F(OrthonFolder, CallsBeforeLoadingAreHarmless)
{
    lib.Open();
    char16_t buffer[kOrthonSuggestionBufferUnits] = {};
    EXPECT_EQ(lib.get(0, buffer), 0); // no FindWord yet
    // Without dictionaries every English and Russian word is correct.
    EXPECT_TRUE(lib.Check(u"recieve"));
    EXPECT_TRUE(lib.Check(U("прривет")));
    EXPECT_EQ(lib.Find(u"recieve"), 0);
    EXPECT_FALSE(lib.Check(u"abc1"));
    lib.Add(u"quilnish");
    lib.Ignore(u"quilnish");
    lib.Close();
    EXPECT_TRUE(Files().empty());
}

TEST_F(OrthonFolder, MissingOrEmptyFolderAcceptsEveryWord)
{
    lib.Open();
    lib.Load((m_dir / "absent").string());
    EXPECT_TRUE(lib.Check(u"recieve"));
    lib.Load(String());
    lib.Add(u"quilnish");
    EXPECT_TRUE(lib.Check(u"recieve"));
    EXPECT_EQ(lib.load(nullptr), 1);
    lib.Close();
    EXPECT_TRUE(Files().empty());
}

TEST_F(OrthonFolder, CorruptStandardFilesAreRefusedOrReadAsFarAsTheyGo)
{
    const std::string english = spelltest::ReadFileBytes(fs::path(kDictionaryDir) / "ViZavizivu.riv");
    ASSERT_GT(english.size(), 772u + 84u * 3);
    struct Case {
        const char* what;
        std::string bytes;
        bool refused;
    } cases[] = {
        {"empty", std::string(), true},
        {"half a header", english.substr(0, 400), true},
        {"bad tag", std::string("X") + english.substr(1), true},
        {"non-zero check field", english.substr(0, 228) + std::string("\1", 1) + english.substr(229), true},
        {"header and a record and a half", english.substr(0, 772 + 84 + 40), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("ViZavizivu.riv", c.bytes);
        WriteBytes("QlRussia.dic", std::string("\x3c\x04\x38\x04\x40\x04\0\0\x3c\x04\x38\x04\x40", 13));
        OpenAndLoad();
        // A refused file leaves English without a dictionary: every word is correct.
        EXPECT_EQ(lib.Check(u"qwzxv"), c.refused);
        // The Russian list keeps its complete word and drops the unfinished one.
        EXPECT_TRUE(lib.Check(U("МИР")));
        EXPECT_FALSE(lib.Check(U("ми")));
        lib.Close();
    }
}

// User dictionaries that are FIFOs, with or without a writer, are refused at once as
// unreadable files are: the load goes on with the standard files.
TEST_F(OrthonFolder, UserDictionariesThatArePipesAreRefusedWithoutWaiting)
{
    LinkBothStandard();
    const std::string english = (m_dir / "QlUser.dic").string();
    const std::string russian = (m_dir / "QlRussiaUser.dic").string();
    ASSERT_TRUE(testsupport::MakeFifo(english));
    ASSERT_TRUE(testsupport::MakeFifo(russian));
    lib.Open();
    for (const std::string& fifo : {english, russian}) {
        for (auto writer : {testsupport::FifoWriter::kNone, testsupport::FifoWriter::kHeldOpen}) {
            SCOPED_TRACE(fifo + (writer == testsupport::FifoWriter::kNone ? "" : " with a writer"));
            // The other FIFO gets a writer for the time of the load too, so that only the
            // one under test could block it.
            const std::string& other = fifo == english ? russian : english;
            const int otherWriter = ::open(other.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            testsupport::OpensWithoutWaiting(fifo, writer, [&] {
                lib.Load(m_dir.string());
                return true;
            });
            ::close(otherWriter);
            EXPECT_TRUE(lib.Check(u"receive"));
            EXPECT_FALSE(lib.Check(u"qwzxv"));
            EXPECT_TRUE(lib.Check(U("мир")));
            EXPECT_FALSE(lib.Check(U("квилн")));
        }
    }
}

TEST_F(OrthonFolder, CorruptUserFileIsReplacedWhole)
{
    LinkStandard("ViZavizivu.riv");
    WriteBytes("QlUser.dic", "not a dictionary");
    OpenAndLoad();
    EXPECT_FALSE(lib.Check(u"quilnish"));
    lib.Add(u"quilnish");
    lib.Close();
    const std::string written = spelltest::ReadFileBytes(m_dir / "QlUser.dic");
    EXPECT_EQ(written.size(), 772u + 84u);
    OpenAndLoad();
    EXPECT_TRUE(lib.Check(u"quilnish"));
}

// ---------------------------------------------------------------------------------------
// A dictionary folder the user cannot write, as under a system prefix: the user files go
// to the user's data folder instead, and nothing is written beside the library. Run in a
// child process, under the unprivileged user when the tests run as root (to whom a
// folder's mode is no barrier).

TEST(OrthonReadOnlyFolder, UserWordsLiveInTheUsersDataFolder)
{
    char pattern[] = "/tmp/orthon-ro-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path base = pattern;
    const fs::path dicts = base / "lib";
    const fs::path data = base / "home" / "share";
    fs::create_directories(dicts);
    fs::create_symlink(fs::path(kDictionaryDir) / "ViZavizivu.riv", dicts / "ViZavizivu.riv");
    std::ofstream(dicts / "QlRussia.dic", std::ios::binary) << std::string("\x3c\x04\x38\x04\x40\x04\0\0", 8);
    ::chmod(dicts.c_str(), 0555);
    ::chmod(base.c_str(), 0755);
    const uid_t nobody = 65534;
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(base.c_str(), nobody, nobody), 0);
    }

    testsupport::RunInChildProcesses(1, [&](int) {
        if (asRoot && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) return 3;
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        ::setenv("HOME", (base / "home").c_str(), 1);
        Orthon lib;
        lib.Open();
        lib.Load(dicts.string());
        EXPECT_TRUE(lib.Check(u"receive"));
        EXPECT_FALSE(lib.Check(u"quilnish"));
        lib.Add(u"quilnish");
        lib.Add(U("квилн"));
        lib.Close();
        lib.Open();
        lib.Load(dicts.string());
        EXPECT_TRUE(lib.Check(u"quilnish"));
        EXPECT_TRUE(lib.Check(U("квилн")));
        EXPECT_FALSE(lib.Check(u"qwzxv")); // the standard files are still read from the folder
        EXPECT_TRUE(lib.Check(U("мир")));
        lib.Close();
        return testing::Test::HasFailure() ? 1 : 0;
    });

    std::vector<std::string> beside;
    for (const auto& e : fs::directory_iterator(dicts)) beside.push_back(e.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"QlRussia.dic", "ViZavizivu.riv"}));
    std::vector<std::string> own;
    for (const auto& e : fs::directory_iterator(data / "quiln")) own.push_back(e.path().filename().string());
    std::sort(own.begin(), own.end());
    EXPECT_EQ(own, (std::vector<std::string>{"QlRussiaUser.dic", "QlUser.dic"}));
    struct stat st{};
    ASSERT_EQ(::stat((data / "quiln").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ::chmod(dicts.c_str(), 0755);
    fs::remove_all(base);
}

} // namespace

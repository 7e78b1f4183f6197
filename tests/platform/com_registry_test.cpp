// The registry as files: where the hives live, keys and typed values, the file's text,
// concurrent writers, and damaged files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/system.h"
#include "platform/com/registry.h"
#include "tests/support/child_processes.h"
#include "tests/support/test_support.h"

namespace {

using plat::Hive;
using plat::RegKey;
using plat::RegStatus;
using plat::RegValue;
using testsupport::EnvVar;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Each test gets a registry folder of its own that does not exist yet.
class Registry : public ::testing::Test {
protected:
    Registry() : m_dir(plat::MakePrivateTempDir(plat::TempDirUtf8()) + "registry"), m_env("QUILN_REGISTRY_DIR", m_dir) {}

    std::string m_dir;
    EnvVar m_env;
};

TEST(RegistryDir, TakenFromTheEnvironment)
{
    struct Case {
        std::optional<std::string> own, config, home;
        std::string expected;
    };
    const Case cases[] = {
        {"/r/own/", "/cfg", "/home/u", "/r/own"},
        {"", "/cfg", "/home/u", "/cfg/quiln/registry"},
        {std::nullopt, "/cfg", "/home/u", "/cfg/quiln/registry"},
        {std::nullopt, "relative/cfg", "/home/u", "/home/u/.config/quiln/registry"},
        {std::nullopt, std::nullopt, "/home/u", "/home/u/.config/quiln/registry"},
    };
    for (const Case& c : cases) {
        EnvVar own("QUILN_REGISTRY_DIR", c.own), config("XDG_CONFIG_HOME", c.config), home("HOME", c.home);
        EXPECT_EQ(plat::RegistryDir(), c.expected);
    }
    EnvVar own("QUILN_REGISTRY_DIR", "/r");
    EXPECT_EQ(plat::HivePath(Hive::kClassesRoot), "/r/classes-root.reg");
    EXPECT_NE(plat::HivePath(Hive::kCurrentUser), plat::HivePath(Hive::kLocalMachine));
}

TEST_F(Registry, TypedValuesComeBackExactly)
{
    const std::pair<const char16_t*, RegValue> values[] = {
        {u"", RegValue::Text(u"C:/lib/libQuiln.so")},
        {u"Quote\"and\\slash", RegValue::Text(u"line\none \"two\" \u4E2D\u6587 \xD800")},
        {u"Expand", RegValue::ExpandString(u"%HOME%/x")},
        {u"Zero", RegValue::Dword(0)},
        {u"Max", RegValue::Dword(0xFFFFFFFFu)},
        {u"MiscStatus", RegValue::Dword(197009)},
        {u"Bytes", RegValue::Binary({0x00, 0x7F, 0x80, 0xFF})},
        {u"NoBytes", RegValue::Binary({})},
        {u"EmptyText", RegValue::Text(u"")},
    };
    for (const auto& [name, value] : values) {
        ASSERT_EQ(plat::SetValue(Hive::kClassesRoot, u"CLSID\\{K}", name, value), RegStatus::kOk);
    }
    for (const auto& [name, value] : values) {
        RegValue back;
        ASSERT_EQ(plat::QueryValue(Hive::kClassesRoot, u"CLSID\\{K}", name, &back), RegStatus::kOk)
            << plat::Utf16ToUtf8(name);
        EXPECT_EQ(back, value) << plat::Utf16ToUtf8(name);
    }
    RegKey root;
    ASSERT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kOk);
    RegKey again;
    ASSERT_TRUE(plat::ParseHive(plat::SerializeHive(root), &again));
    EXPECT_EQ(again, root);
    // The hive is plain ASCII text whatever the strings hold.
    for (char c : ReadFile(plat::HivePath(Hive::kClassesRoot))) {
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
    }
    // Each hive is a file of its own.
    RegValue none;
    EXPECT_EQ(plat::QueryValue(Hive::kCurrentUser, u"CLSID\\{K}", u"", &none), RegStatus::kNotFound);
}

TEST_F(Registry, NamesIgnoreCaseAndKeepTheirs)
{
    ASSERT_EQ(plat::SetValue(Hive::kCurrentUser, u"Software\\Quiln", u"ThreadingModel", RegValue::Text(u"Apartment")),
              RegStatus::kOk);
    ASSERT_EQ(plat::SetValue(Hive::kCurrentUser, u"SOFTWARE\\quiln", u"threadingmodel", RegValue::Text(u"Both")),
              RegStatus::kOk);
    std::vector<plat::String> names;
    ASSERT_EQ(plat::EnumSubkeys(Hive::kCurrentUser, u"", &names), RegStatus::kOk);
    EXPECT_EQ(names, std::vector<plat::String>{u"Software"});
    ASSERT_EQ(plat::EnumValues(Hive::kCurrentUser, u"software\\QUILN", &names), RegStatus::kOk);
    EXPECT_EQ(names, std::vector<plat::String>{u"ThreadingModel"});
    RegValue value;
    ASSERT_EQ(plat::QueryValue(Hive::kCurrentUser, u"Software\\Quiln", u"THREADINGMODEL", &value), RegStatus::kOk);
    EXPECT_EQ(value, RegValue::Text(u"Both"));
}

// What a library's registration writes: one locked edit of several keys.
RegStatus RegisterSample(const plat::String& clsid)
{
    return plat::EditHive(Hive::kClassesRoot, [&](RegKey& root) {
        root.Create(u"Sample.Ctrl.1\\CLSID")->SetValue(u"", RegValue::Text(clsid));
        RegKey* cls = root.Create(u"CLSID\\" + clsid);
        cls->SetValue(u"", RegValue::Text(u"Sample Control"));
        RegKey* server = cls->Create(u"InprocServer32");
        server->SetValue(u"", RegValue::Text(u"/lib/libSample.so"));
        server->SetValue(u"ThreadingModel", RegValue::Text(u"Apartment"));
        cls->Create(u"Control");
        cls->Create(u"MiscStatus")->SetValue(u"", RegValue::Text(u"197009"));
        return true;
    });
}

TEST_F(Registry, RegisteringTwiceLeavesTheSameEntries)
{
    ASSERT_EQ(RegisterSample(u"{A}"), RegStatus::kOk);
    const std::string once = ReadFile(plat::HivePath(Hive::kClassesRoot));
    ASSERT_EQ(RegisterSample(u"{A}"), RegStatus::kOk);
    EXPECT_EQ(ReadFile(plat::HivePath(Hive::kClassesRoot)), once);

    std::vector<plat::String> names;
    ASSERT_EQ(plat::EnumSubkeys(Hive::kClassesRoot, u"CLSID\\{A}", &names), RegStatus::kOk);
    EXPECT_EQ(names, (std::vector<plat::String>{u"InprocServer32", u"Control", u"MiscStatus"}));
    ASSERT_EQ(plat::EnumValues(Hive::kClassesRoot, u"CLSID\\{A}\\InprocServer32", &names), RegStatus::kOk);
    EXPECT_EQ(names, (std::vector<plat::String>{u"", u"ThreadingModel"}));
}

TEST_F(Registry, DeletingRemovesKeysWithAllBelowAndValues)
{
    ASSERT_EQ(RegisterSample(u"{A}"), RegStatus::kOk);
    ASSERT_EQ(RegisterSample(u"{B}"), RegStatus::kOk);
    EXPECT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"clsid\\{a}"), RegStatus::kOk);
    EXPECT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"CLSID\\{A}"), RegStatus::kNotFound);
    RegValue value;
    EXPECT_EQ(plat::QueryValue(Hive::kClassesRoot, u"CLSID\\{A}\\InprocServer32", u"", &value), RegStatus::kNotFound);
    ASSERT_EQ(plat::QueryValue(Hive::kClassesRoot, u"CLSID\\{B}\\InprocServer32", u"", &value), RegStatus::kOk);

    EXPECT_EQ(plat::DeleteValue(Hive::kClassesRoot, u"CLSID\\{B}\\InprocServer32", u"threadingModel"), RegStatus::kOk);
    EXPECT_EQ(plat::DeleteValue(Hive::kClassesRoot, u"CLSID\\{B}\\InprocServer32", u"ThreadingModel"), RegStatus::kNotFound);
    EXPECT_EQ(plat::DeleteValue(Hive::kClassesRoot, u"CLSID\\{Z}", u""), RegStatus::kNotFound);
    EXPECT_EQ(plat::QueryValue(Hive::kClassesRoot, u"CLSID\\{B}\\InprocServer32", u"ThreadingModel", &value),
              RegStatus::kNotFound);

    // With both classes gone only the ProgID key (shared by the two) and the empty CLSID key stay.
    EXPECT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"CLSID\\{B}"), RegStatus::kOk);
    EXPECT_EQ(plat::DeleteKey(Hive::kClassesRoot, u"Sample.Ctrl.1"), RegStatus::kOk);
    RegKey root;
    ASSERT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kOk);
    RegKey expected;
    expected.Create(u"CLSID");
    EXPECT_EQ(root, expected);
}

TEST_F(Registry, MalformedPathsAndRefusedEditsChangeNothing)
{
    for (const char16_t* path : {u"", u"\\A", u"A\\", u"A\\\\B"}) {
        EXPECT_EQ(plat::CreateKey(Hive::kLocalMachine, path), RegStatus::kBadPath) << plat::Utf16ToUtf8(path);
        EXPECT_EQ(plat::DeleteKey(Hive::kLocalMachine, path), RegStatus::kBadPath) << plat::Utf16ToUtf8(path);
    }
    EXPECT_EQ(plat::SetValue(Hive::kLocalMachine, u"A\\", u"x", RegValue::Dword(1)), RegStatus::kBadPath);
    ASSERT_EQ(plat::CreateKey(Hive::kLocalMachine, u"A\\B"), RegStatus::kOk);
    const std::string before = ReadFile(plat::HivePath(Hive::kLocalMachine));
    EXPECT_EQ(plat::EditHive(Hive::kLocalMachine, [](RegKey& root) {
                  root.Delete(u"A");
                  return false;
              }),
              RegStatus::kOk);
    EXPECT_EQ(ReadFile(plat::HivePath(Hive::kLocalMachine)), before);
}

TEST_F(Registry, DamagedFilesAreRefusedAndKeptAsTheyAre)
{
    const std::string whole = "QUILN-REGISTRY 1\nkey \"A\"\nvalue \"v\" dword 5\nkey \"A\\\\B\"\nend\n";
    RegKey parsed;
    ASSERT_TRUE(plat::ParseHive(whole, &parsed));
    ASSERT_NE(parsed.Find(u"a\\b"), nullptr);

    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut off before the end", "QUILN-REGISTRY 1\nkey \"A\"\n"},
        {"cut off inside a line", "QUILN-REGISTRY 1\nkey \"A\"\nend"},
        {"wrong header", "QUILN-REGISTRY 2\nend\n"},
        {"text after the end", whole + "key \"C\"\n"},
        {"key twice", "QUILN-REGISTRY 1\nkey \"A\"\nkey \"a\"\nend\n"},
        {"key before its parent", "QUILN-REGISTRY 1\nkey \"A\\\\B\"\nend\n"},
        {"empty key name", "QUILN-REGISTRY 1\nkey \"A\\\\\"\nend\n"},
        {"value twice", "QUILN-REGISTRY 1\nkey \"A\"\nvalue \"v\" dword 1\nvalue \"V\" dword 2\nend\n"},
        {"dword too large", "QUILN-REGISTRY 1\nvalue \"v\" dword 4294967296\nend\n"},
        {"dword not a number", "QUILN-REGISTRY 1\nvalue \"v\" dword -1\nend\n"},
        {"odd binary", "QUILN-REGISTRY 1\nvalue \"v\" binary \"abc\"\nend\n"},
        {"unknown type", "QUILN-REGISTRY 1\nvalue \"v\" qword 1\nend\n"},
        {"unknown escape", "QUILN-REGISTRY 1\nkey \"A\\q\"\nend\n"},
        {"short \\u escape", "QUILN-REGISTRY 1\nkey \"A\\u12\"\nend\n"},
        {"open quote", "QUILN-REGISTRY 1\nkey \"A\nend\n"},
        {"unknown line", "QUILN-REGISTRY 1\nfrobnicate\nend\n"},
        {"carriage returns", "QUILN-REGISTRY 1\r\nend\r\n"},
        {"binary garbage", std::string("QUILN-REGISTRY 1\n\0\xff\n", 20) + "end\n"},
    };
    ASSERT_EQ(plat::CreateKey(Hive::kClassesRoot, u"Make\\The\\Folder"), RegStatus::kOk);
    const std::string path = plat::HivePath(Hive::kClassesRoot);
    for (const Case& c : cases) {
        RegKey root;
        EXPECT_FALSE(plat::ParseHive(c.text, &root)) << c.what;
        WriteFile(path, c.text);
        EXPECT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kDamaged) << c.what;
        bool ran = false;
        EXPECT_EQ(plat::EditHive(Hive::kClassesRoot, [&](RegKey&) { return ran = true; }), RegStatus::kDamaged)
            << c.what;
        EXPECT_FALSE(ran) << c.what;
        EXPECT_EQ(plat::SetValue(Hive::kClassesRoot, u"A", u"v", RegValue::Dword(1)), RegStatus::kDamaged) << c.what;
        EXPECT_EQ(ReadFile(path), c.text) << c.what;
    }
}

TEST_F(Registry, AFolderThatCannotBeUsedIsAnIoError)
{
    // The registry folder's place is taken by a file: nothing can be read or written, and
    // a read does not take the hive for an empty one.
    const std::string blocker = m_dir + "-file";
    WriteFile(blocker, "not a folder");
    EnvVar dir("QUILN_REGISTRY_DIR", blocker + "/registry");
    RegKey root;
    EXPECT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kIoError);
    EXPECT_EQ(plat::SetValue(Hive::kClassesRoot, u"A", u"", RegValue::Dword(1)), RegStatus::kIoError);
    RegValue value;
    EXPECT_EQ(plat::QueryValue(Hive::kClassesRoot, u"A", u"", &value), RegStatus::kIoError);
    EXPECT_EQ(ReadFile(blocker), "not a folder");
}

TEST_F(Registry, ConcurrentWritersLoseNothing)
{
    constexpr int kWriters = 2;
    constexpr int kEntriesEach = 40;
    testsupport::RunInChildProcesses(kWriters, [](int w) {
        int failures = 0;
        for (int i = 0; i < kEntriesEach; ++i) {
            const plat::String key = plat::Format(u"CLSID\\{W%d-%d}\\InprocServer32", w, i);
            if (plat::SetValue(Hive::kClassesRoot, key, u"", RegValue::Text(key)) != RegStatus::kOk) ++failures;
        }
        return failures == 0 ? 0 : 1;
    });
    RegKey root;
    ASSERT_EQ(plat::LoadHive(Hive::kClassesRoot, &root), RegStatus::kOk);
    ASSERT_NE(root.Find(u"CLSID"), nullptr);
    EXPECT_EQ(root.Find(u"CLSID")->Subkeys().size(), static_cast<size_t>(kWriters * kEntriesEach));
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kEntriesEach; ++i) {
            const plat::String key = plat::Format(u"CLSID\\{W%d-%d}\\InprocServer32", w, i);
            const RegKey* found = root.Find(key);
            ASSERT_NE(found, nullptr) << plat::Utf16ToUtf8(key);
            ASSERT_NE(found->Value(u""), nullptr);
            EXPECT_EQ(*found->Value(u""), RegValue::Text(key));
        }
    }
}

} // namespace

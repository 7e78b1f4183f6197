// `quiln-host window` tells a document from a script by the file's first bytes alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/native_document.h"
#include "platform/base/system.h"

namespace {

namespace fs = std::filesystem;

TEST(NativeDocument, ToldByTheHeadersMagicOnly)
{
    const fs::path dir = plat::MakePrivateTempDir(plat::TempDirUtf8());
    struct Case {
        const char* what;
        const char* name;
        std::string bytes;
        bool document;
    } cases[] = {
        {"a saved document's start", "letter.txt", std::string("Quiln\0\0\0\0\1\1\x34\x12", 13), true},
        {"the magic alone", "short", std::string("Quiln\0", 6), true},
        {"the magic cut short", "cut.qln", "Quiln", false},
        {"a script that starts alike", "script.qln", "QuilnX\nFileNew\n", false},
        {"another case", "case.qln", std::string("quiln\0\0\0\0", 9), false},
        {"a script", "script.txt", "FileNew\nInsertString \"x\"\n", false},
        {"an empty file", "empty.qln", "", false},
    };
    for (const Case& c : cases) {
        std::ofstream(dir / c.name, std::ios::binary) << c.bytes;
        EXPECT_EQ(host::IsNativeDocument(dir / c.name), c.document) << c.what;
    }
    EXPECT_FALSE(host::IsNativeDocument(dir / "absent.qln"));
    EXPECT_FALSE(host::IsNativeDocument(dir)); // a folder
    fs::remove_all(dir);
}

} // namespace

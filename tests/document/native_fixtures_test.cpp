// The native file's fixture folders: good files open and save again, damaged ones are
// refused leaving a new empty document, and none takes long.
#include <chrono>
#include <filesystem>

#include "document/doc_body.h"
#include "document/doc_password.h"
#include "document/ql_doc.h"
#include "objects/object_kinds.h"
#include "platform/base/system.h"
#include "platform/ui/message_box.h"
#include "tests/document/test_object.h"
#include "tests/support/fixture_walk.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FixtureKind;

TEST(NativeFixtures, PassOpensFailIsRefusedNothingHangs)
{
    // Findings of the fuzz targets hold the tests' object kind and are protected with the
    // password the fuzz targets answer.
    RegisterObjectKinds();
    objtest::ScopedTestKind kind;
    SetPasswordPrompt([] { return plat::String(u"fuzz"); });
    testsupport::WalkFixtures("native", std::chrono::seconds(10), [](const fs::path& file, FixtureKind k) {
        const plat::String path = plat::Utf8ToUtf16(file.string());
        CQlDoc doc;
        doc.FileNew();
        const int opened = doc.FileOpen(path, false);
        if (k == FixtureKind::kPass) {
            ASSERT_EQ(opened, 1);
            // What opened saves and opens again.
            const plat::String copy = plat::Utf8ToUtf16(plat::TempDirUtf8() + "native_fixture_copy.qln");
            ASSERT_EQ(doc.FileSave(copy), 1);
            CQlDoc again;
            EXPECT_EQ(again.FileOpen(copy, false), 1);
            EXPECT_EQ(again.GetBody()->GetCount(), doc.GetBody()->GetCount());
        } else if (k == FixtureKind::kFail) {
            EXPECT_EQ(opened, 0);
            // Refused: a new empty document with the next editor's record, nothing half read.
            EXPECT_TRUE(doc.GetBody()->IsEmpty());
            EXPECT_EQ(doc.GetBody()->GetObjectCount(), 0);
            EXPECT_EQ(doc.GetAuthors().GetCount(), 1);
            EXPECT_FALSE(doc.IsModified());
        }
    });
    SetPasswordPrompt({});
}

} // namespace

// Opening a native file and saving it without edits leaves every floating object where it
// was: a document by several authors is laid out first with its deleted text hidden, then
// shown with it, and its anchored objects must not follow their paragraphs down between
// the two. The objects still follow the text once it is edited.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_password.h"
#include "tests/support/headless_windows.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/base/system.h"
#include "tests/document/test_object.h"

namespace fs = std::filesystem;

namespace {

plat::String U16(const fs::path& p)
{
    return plat::Utf8ToUtf16(p.string());
}

// Each object's box as text, so that a failure reads as coordinates.
std::vector<std::string> ObjectBoxes(CDocBody& body)
{
    std::vector<std::string> boxes;
    for (int i = 0; i < body.GetObjectCount(); ++i) {
        const plat::Rect& r = body.GetObject(i)->m_bounds;
        std::ostringstream box;
        box << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
        boxes.push_back(box.str());
    }
    return boxes;
}

// The top of the paragraph end an object is anchored to, or -1.
int AnchorTop(CDocBody& body, const CFloatObject& object)
{
    for (int i = 0; i < body.GetCount(); ++i) {
        const auto* end = dynamic_cast<const CParaEndItem*>(body.GetItem(i));
        if (end && end->GetName() == object.m_anchorName) return end->GetTop();
    }
    return -1;
}

class AnchorFixedPoint : public testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        m_dir = fs::path(plat::TempDirUtf8()) / ("anchor_fixed_point_" + std::to_string(counter++));
        fs::create_directories(m_dir);
        doc.FileNew();
    }
    void TearDown() override
    {
        SetPasswordPrompt({});
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    // Two authors; a paragraph the second one deleted, a paragraph kept, and an object
    // below them, laid out with the deletions shown as an editing visit shows them.
    void BuildDocument(int objectTop)
    {
        doc.GetAuthors().RemoveAll();
        doc.GetAuthors().Append(7, u"甲");
        doc.GetAuthors().Append(9, u"乙");
        doc.SetHasRevisions(true);
        doc.SetRevisionsShown(true);
        CDocBody& body = *doc.GetBody();
        CCharFormat kept = body.GetRunningCharFormat();
        kept.m_insertedBy = 0;
        CCharFormat deleted = kept;
        deleted.m_deletedBy = 1;
        int at = body.GetCount() - 1;
        body.InsertString(at, u"第一段已被删去的文字。\r第二段也删去了。\r", deleted);
        body.InsertString(at, u"留下的文字。\r", kept);
        auto object = objtest::NewObject(&doc, 3000, objectTop, 800, 600, kWrapBoth);
        body.AddObject(std::move(object));
        body.BuildPageRegions();
        body.RelayoutWhole();
    }

    // Saves the document, opens what was saved and returns the objects' boxes.
    std::vector<std::string> SaveAndReopen(const char* name, bool readOnly = false)
    {
        const plat::String path = U16(m_dir / name);
        EXPECT_EQ(doc.FileSave(path), 1);
        EXPECT_EQ(doc.FileOpen(path, readOnly), 1);
        return ObjectBoxes(*doc.GetBody());
    }

    objtest::ScopedTestKind m_kind;
    fs::path m_dir;
    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
};

TEST_F(AnchorFixedPoint, ObjectsStayPutOverRepeatedOpenAndSave)
{
    BuildDocument(4000);
    const std::vector<std::string> before = ObjectBoxes(*doc.GetBody());
    ASSERT_EQ(before.size(), 1u);
    for (const char* name : {"first.qln", "second.qln", "third.qln"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SaveAndReopen(name), before);
        ASSERT_TRUE(doc.IsRevisionsShown());
        // Anchored to the paragraph end above it in the layout that is shown, at the
        // distance it stands from it there.
        const CFloatObject& object = *doc.GetBody()->GetObject(0);
        EXPECT_EQ(object.m_anchorState, kAnchorAttached);
        const int y = AnchorTop(*doc.GetBody(), object);
        ASSERT_GT(y, 0);
        EXPECT_EQ(object.m_anchorOffset, object.m_bounds.top - y);
    }
}

TEST_F(AnchorFixedPoint, ReadOnlyOpenKeepsTheStoredBoxes)
{
    BuildDocument(4000);
    const std::vector<std::string> before = ObjectBoxes(*doc.GetBody());
    EXPECT_EQ(SaveAndReopen("read only.qln", true), before);
    EXPECT_FALSE(doc.IsRevisionsShown());
    EXPECT_EQ(SaveAndReopen("editable.qln"), before);
}

TEST_F(AnchorFixedPoint, ReopenedObjectStillFollowsItsParagraph)
{
    BuildDocument(4000);
    SaveAndReopen("follow.qln");
    CDocBody& body = *doc.GetBody();
    const CFloatObject& object = *body.GetObject(0);
    const int topBefore = object.m_bounds.top;
    const int anchorBefore = AnchorTop(body, object);
    ASSERT_GT(anchorBefore, 0);

    // Two new paragraphs at the start push the kept text, and the object with it, down.
    CCharFormat format = body.GetRunningCharFormat();
    int at = 0;
    body.InsertString(at, u"新加的一行。\r又一行。\r", format);
    body.RelayoutWhole();
    const int anchorAfter = AnchorTop(body, object);
    ASSERT_GT(anchorAfter, anchorBefore);
    EXPECT_EQ(object.m_bounds.top - topBefore, anchorAfter - anchorBefore);
    EXPECT_EQ(object.m_anchorState, kAnchorAttached);
}

// The fuzz target's input whose object settled lower after each open.
TEST_F(AnchorFixedPoint, FuzzFindingReachesAFixedPoint)
{
    const char* fixtures = std::getenv("QUILN_FIXTURES");
    ASSERT_NE(fixtures, nullptr);
    const fs::path finding = fs::path(fixtures) / "native" / "pass" / "anchor_drift_finding.qln";
    SetPasswordPrompt([] { return plat::String(u"fuzz"); });
    ASSERT_EQ(doc.FileOpen(U16(finding), false), 1);
    const std::vector<std::string> opened = ObjectBoxes(*doc.GetBody());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(SaveAndReopen("finding once.qln"), opened);
    EXPECT_EQ(SaveAndReopen("finding twice.qln"), opened);
}

} // namespace

// Helpers of the page-body tests: a document shown headless on small pages (so that dumps
// stay short and a few lines fill a page), text and objects put into its body, the layout
// checks every test runs, and expected dumps kept as files.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "document/doc_body.h"
#include "tests/support/headless_windows.h"
#include "document/layout_dump.h"
#include "document/line_layout.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/base/strings.h"
#include "platform/ui/message_box.h"
#include "tests/document/test_object.h"
#include "tests/support/page_pictures.h"

namespace pagebody {

// Paper 80 x 60 mm (4535 x 3401 twips) with 10 mm margins (566 twips): a text area of
// 3403 x 2269 twips from (766, 766) on page 1; pages follow each other every 3601 twips.
constexpr plat::Rect kSmallMargins{10, 10, 10, 10};
constexpr plat::Size kSmallPaper{80, 60};

inline std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// The texts of the message boxes shown since the log was cleared.
inline std::vector<plat::String> BoxTexts()
{
    std::vector<plat::String> out;
    for (const plat::MessageBoxRecord& r : plat::GetMessageBoxLog()) out.push_back(r.text);
    return out;
}

// Text before the body's final paragraph end in its running format (CR ends a paragraph,
// '\f' a paragraph and its page), not laid out.
inline void AppendText(CDocBody& body, const std::u16string& text)
{
    int at = body.GetCount() - 1;
    for (char16_t c : text) {
        if (c == u'\f') {
            auto end = std::make_unique<CParaEndItem>(&body, kItemParaPageBreak);
            end->SetFormat(body.GetRunningCharFormat());
            body.InsertItem(at++, std::move(end));
        } else {
            body.InsertCharAt(at, c, body.GetRunningCharFormat());
        }
    }
}

class BodyTest : public testing::Test {
protected:
    void SetUp() override
    {
        doc.Reset();
        UsePage(kSmallMargins, kSmallPaper);
        plat::ClearMessageBoxLog();
    }
    void TearDown() override { plat::ClearModalAnswers(); }

    CDocBody& body() const { return *doc.GetBody(); }

    // New page settings, as the settings dialog gives them: frames, regions, layout.
    void UsePage(const plat::Rect& margins, plat::Size paper)
    {
        doc.SetPageSettings(margins, paper);
        body().SetPageGeometry(margins.left, margins.top, margins.right, margins.bottom, paper.cx, paper.cy);
        body().BuildPageRegions();
        body().RelayoutWhole();
    }
    plat::Rect TextArea(int page) const { return body().GetPageFrame(page).m_rect; }

    // Text before the final paragraph end in the body's running format (CR ends a
    // paragraph, '\f' a paragraph and its page), then a whole layout.
    void Append(const std::u16string& text)
    {
        AppendText(body(), text);
        body().RelayoutWhole();
    }
    objtest::CTestObject* AddObject(const plat::Rect& r, std::uint8_t wrap = kWrapBoth, int tag = 0)
    {
        auto* o = static_cast<objtest::CTestObject*>(
            body().AddObject(objtest::NewObject(&doc, r.left, r.top, r.Width(), r.Height(), wrap, 2, tag)));
        body().BuildPageRegions();
        body().RelayoutWhole();
        return o;
    }
    void Caret(int index) { body().SetCaret(CTextPos(index, body().GetName())); }
    void Select(int anchor, int caret)
    {
        body().SetSelection(CTextPos(caret, body().GetName()), CTextPos(anchor, body().GetName()));
    }
    // The index of the n-th (0-based) item carrying the code.
    int IndexOf(char16_t code, int n = 0) const
    {
        for (int i = 0; i < body().GetCount(); ++i)
            if (body().GetItem(i)->GetCode() == code && n-- == 0) return i;
        return -1;
    }
    const CTextItem& Item(int i) const { return *body().GetItem(i); }
    // The page (0-based) whose text area holds the item's line; -1 when none does.
    int PageOf(int i) const
    {
        for (int p = 0; p <= CDocBody::kMaxPages; ++p) {
            const plat::Rect& t = TextArea(p);
            if (Item(i).GetLineTop() >= t.top && Item(i).GetLineTop() < t.bottom) return p;
        }
        return -1;
    }

    // The layout rules hold.
    void ExpectSound()
    {
        const std::vector<std::string> faults = CheckLayoutInvariants(body());
        EXPECT_TRUE(faults.empty()) << Join(faults);
    }
    // A whole layout now changes nothing the last layout left.
    void ExpectSameAsWholeLayout()
    {
        const CLayoutSnapshot before = TakeLayoutSnapshot(body());
        body().RelayoutWhole();
        const CLayoutSnapshot whole = TakeLayoutSnapshot(body());
        EXPECT_EQ(DiffLayouts(whole, before), "") << "partial layout (right) differs from the whole one (left)";
    }
    // The dump equals the expected file tests/fixtures/layout/<name>.txt. With
    // QUILN_LAYOUT_DUMP_OUT set, the dump is also written there, for review; with
    // QUILN_LAYOUT_PNG_OUT set, a picture of each page (<name>-<page>.png) goes there.
    void ExpectDump(const std::string& name)
    {
        const std::string actual = DumpLayout(body());
        if (const char* out = std::getenv("QUILN_LAYOUT_DUMP_OUT")) std::ofstream(std::string(out) + "/" + name + ".txt") << actual;
        if (const char* png = std::getenv("QUILN_LAYOUT_PNG_OUT")) {
            EXPECT_TRUE(testsupport::SavePagePictures(doc, png, name)) << "pictures of " << name << " in " << png;
        }
        const char* root = std::getenv("QUILN_FIXTURES");
        ASSERT_NE(root, nullptr);
        std::ifstream in(std::string(root) + "/layout/" + name + ".txt");
        ASSERT_TRUE(in.good()) << "no expected dump " << name;
        std::stringstream expected;
        expected << in.rdbuf();
        EXPECT_EQ(actual, expected.str()) << "layout of " << name;
    }

    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
    objtest::ScopedTestKind kind;
};

} // namespace pagebody

// Navigation keys on the page body: the text that holds the caret moves it over lines and
// pages (extending the selection with Shift); selected objects take the keys instead; a
// read-only document moves carets but changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/document/body_input_support.h"
#include "tests/document/page_body_support.h"

using namespace pagebody;

namespace {

enum Key { kCtrlHome, kCtrlEnd, kHome, kEnd, kLeft, kRight, kUp, kDown };

const char* KeyName(Key k)
{
    static const char* const names[] = {"Ctrl+Home", "Ctrl+End", "Home", "End", "Left", "Right", "Up", "Down"};
    return names[k];
}

void PressKey(CDocBody& body, Key k, bool shift)
{
    switch (k) {
    case kCtrlHome: body.OnKeyCtrlHome(shift); break;
    case kCtrlEnd: body.OnKeyCtrlEnd(shift); break;
    case kHome: body.OnKeyHome(shift); break;
    case kEnd: body.OnKeyEnd(shift); break;
    case kLeft: body.OnKeyLeft(shift); break;
    case kRight: body.OnKeyRight(shift); break;
    case kUp: body.OnKeyUp(shift); break;
    case kDown: body.OnKeyDown(shift); break;
    }
}

// An object that counts the keys reaching it and still does what the base does.
class CKeyProbe : public objtest::CTestObject {
public:
    explicit CKeyProbe(CQlDoc* doc) : CTestObject(doc, nullptr) {}
    void OnKeyTab(bool shift) override { m_keys.push_back(shift ? "Shift+Tab" : "Tab"); }
    void OnKeyCtrlHome(bool shift) override
    {
        m_keys.push_back("Ctrl+Home");
        CTestObject::OnKeyCtrlHome(shift);
    }
    void OnKeyLeft(bool shift) override
    {
        m_keys.push_back("Left");
        CTestObject::OnKeyLeft(shift);
    }
    std::vector<std::string> m_keys;
};

// A body of one long paragraph of Chinese characters (all of one width) over three pages.
class Keys : public BodyTest {
protected:
    void SetUp() override
    {
        BodyTest::SetUp();
        Append(std::u16string(300, u'文'));
        lines = CollectLines(body());
        ASSERT_GT(lines.size(), 4u);
        width = lines[0].to - lines[0].from;
        for (size_t l = 0; l < lines.size(); ++l)
            if (PageOf(lines[l].from) == 0) lastOnFirstPage = static_cast<int>(l);
        ASSERT_GT(static_cast<int>(lines.size()), lastOnFirstPage + 3) << "the text reaches the third page";
        ASSERT_EQ(PageOf(lines[lastOnFirstPage + 1].from), 1);
        ASSERT_EQ(lines[1].to - lines[1].from, width) << "full lines are all alike";
    }
    // The item in column c of line l.
    int At(int l, int c) const { return lines[static_cast<size_t>(l)].from + c; }
    int CaretIndex() const { return body().GetCaretPos().m_index; }
    int AnchorIndex() const
    {
        CTextPos caret, anchor;
        body().GetSelectionPositions(caret, anchor);
        return anchor.m_index;
    }
    CKeyProbe* AddProbe(const plat::Rect& r) { return bodyinput::AddBox<CKeyProbe>(doc, r); }

    std::vector<CLaidOutLine> lines;
    int width = 0;
    int lastOnFirstPage = 0;
};

TEST_F(Keys, CaretMovesAndSelectionAcrossLinesAndPages)
{
    const int p = lastOnFirstPage;
    const int last = body().GetCount() - 1;
    struct Case {
        const char* what;
        int caret, anchor; // before
        Key key;
        bool shift;
        int wantCaret, wantAnchor;
    };
    const Case cases[] = {
        {"right", At(0, 0), At(0, 0), kRight, false, At(0, 1), At(0, 1)},
        {"shift+right extends", At(0, 0), At(0, 0), kRight, true, At(0, 1), At(0, 0)},
        {"right off a line's end", At(0, width - 1), At(0, width - 1), kRight, false, At(1, 0), At(1, 0)},
        {"left onto the line above", At(1, 0), At(1, 0), kLeft, false, At(0, width - 1), At(0, width - 1)},
        {"left at the start stays", 0, 0, kLeft, false, 0, 0},
        {"right at the final end stays", last, last, kRight, false, last, last},
        {"down keeps the column", At(0, 3), At(0, 3), kDown, false, At(1, 3), At(1, 3)},
        {"up keeps the column", At(1, 3), At(1, 3), kUp, false, At(0, 3), At(0, 3)},
        {"up on the first line stays", At(0, 3), At(0, 3), kUp, false, At(0, 3), At(0, 3)},
        {"down onto the next page", At(p, 3), At(p, 3), kDown, false, At(p + 1, 3), At(p + 1, 3)},
        {"up onto the page before", At(p + 1, 3), At(p + 1, 3), kUp, false, At(p, 3), At(p, 3)},
        {"shift+down selects over the page break", At(p, 3), At(p, 3), kDown, true, At(p + 1, 3), At(p, 3)},
        {"shift+down goes on extending", At(p + 1, 3), At(p, 3), kDown, true, At(p + 2, 3), At(p, 3)},
        {"shift+up shrinks back", At(p + 2, 3), At(p, 3), kUp, true, At(p + 1, 3), At(p, 3)},
        {"down without shift drops the selection", At(p + 1, 3), At(p, 3), kDown, false, At(p + 2, 3),
         At(p + 2, 3)},
        {"home", At(1, 5), At(1, 5), kHome, false, At(1, 0), At(1, 0)},
        {"shift+home", At(1, 5), At(1, 5), kHome, true, At(1, 0), At(1, 5)},
        {"end stands before the line's last item", At(1, 5), At(1, 5), kEnd, false, At(1, width - 1),
         At(1, width - 1)},
        {"shift+end takes the whole line", At(1, 5), At(1, 5), kEnd, true, At(2, 0), At(1, 5)},
        {"ctrl+home", At(p + 1, 3), At(p + 1, 3), kCtrlHome, false, 0, 0},
        {"shift+ctrl+home selects back to the start", At(p + 1, 3), At(p + 1, 3), kCtrlHome, true, 0, At(p + 1, 3)},
        {"ctrl+end", At(1, 2), At(1, 2), kCtrlEnd, false, last, last},
        {"shift+ctrl+end selects to the end", At(1, 2), At(1, 2), kCtrlEnd, true, last, At(1, 2)},
    };
    for (const Case& c : cases) {
        Select(c.anchor, c.caret);
        const int scrolls = window.m_caretScrolls;
        PressKey(body(), c.key, c.shift);
        EXPECT_EQ(CaretIndex(), c.wantCaret) << c.what << " (" << KeyName(c.key) << ")";
        EXPECT_EQ(AnchorIndex(), c.wantAnchor) << c.what << " (" << KeyName(c.key) << ")";
        EXPECT_GT(window.m_caretScrolls, scrolls) << c.what << ": the caret is brought into view";
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Keys, TheFocusTextTakesTheKeysNotTheBody)
{
    // Without a focus text the keys reach no text at all.
    doc.GetFormatState()->SetFocusObject(nullptr);
    Caret(At(1, 1));
    body().OnKeyRight(false);
    EXPECT_EQ(CaretIndex(), At(1, 1));
    EXPECT_FALSE(body().OnKeyTab(false)) << "Tab with no object selected is the document's (a Tab character)";
    doc.GetFormatState()->SetFocusObject(&body());
    body().OnKeyRight(false);
    EXPECT_EQ(CaretIndex(), At(1, 2));
}

TEST_F(Keys, SelectedObjectsTakeTheKeys)
{
    CKeyProbe* a = AddProbe(plat::Rect(1000, 6000, 1600, 6600));
    CKeyProbe* other = AddProbe(plat::Rect(2000, 6000, 2600, 6600));
    CKeyProbe* b = AddProbe(plat::Rect(3000, 6000, 3600, 6600));
    a->SetSelected(true);
    b->SetSelected(true);
    doc.GetFormatState()->SetFocusObject(nullptr);
    Caret(At(1, 1));

    const int scrolls = window.m_caretScrolls;
    body().OnKeyLeft(false);
    EXPECT_EQ(a->m_bounds.left, 1000 - 15) << "one pixel at 100 %";
    EXPECT_EQ(b->m_bounds.left, 3000 - 15);
    EXPECT_EQ(other->m_bounds.left, 2000);
    EXPECT_EQ(CaretIndex(), At(1, 1)) << "the caret stays";
    EXPECT_GT(window.m_caretScrolls, scrolls);
    EXPECT_TRUE(doc.IsModified());

    // Bringing to the front re-appends each object to the list; each selected object is
    // still restacked exactly once.
    body().OnKeyCtrlHome(false);
    EXPECT_EQ(a->m_keys, (std::vector<std::string>{"Left", "Ctrl+Home"}));
    EXPECT_EQ(b->m_keys, (std::vector<std::string>{"Left", "Ctrl+Home"}));
    EXPECT_TRUE(other->m_keys.empty());
    EXPECT_EQ(a->m_layer, CFloatObject::kTopLayer);
    EXPECT_EQ(b->m_layer, CFloatObject::kTopLayer);
    EXPECT_EQ(other->m_layer, 2);

    EXPECT_TRUE(body().OnKeyTab(true));
    EXPECT_EQ(a->m_keys.back(), "Shift+Tab");
    EXPECT_EQ(b->m_keys.back(), "Shift+Tab");
}

TEST_F(Keys, ReadOnlyMovesCaretsAndEditsNothing)
{
    doc.SetReadOnly(true);
    Caret(At(lastOnFirstPage, 2));
    body().OnKeyDown(true);
    EXPECT_EQ(CaretIndex(), At(lastOnFirstPage + 1, 2));
    EXPECT_EQ(AnchorIndex(), At(lastOnFirstPage, 2));
    body().OnKeyEnd(false);
    EXPECT_EQ(CaretIndex(), At(lastOnFirstPage + 1, width - 1));

    // A selected object is neither nudged nor restacked.
    CKeyProbe* o = AddProbe(plat::Rect(1000, 6000, 1600, 6600));
    o->SetSelected(true);
    doc.SetModified(false);
    const CLayoutSnapshot before = TakeLayoutSnapshot(body());
    for (Key k : {kCtrlHome, kCtrlEnd, kHome, kEnd, kLeft, kRight, kUp, kDown}) PressKey(body(), k, false);
    EXPECT_TRUE(body().OnKeyTab(false)) << "the selection keeps the Tab from the text";
    EXPECT_TRUE(o->m_keys.empty());
    EXPECT_EQ(o->m_bounds, plat::Rect(1000, 6000, 1600, 6600));
    EXPECT_EQ(o->m_layer, 2);
    EXPECT_EQ(DiffLayouts(before, TakeLayoutSnapshot(body())), "");
    EXPECT_FALSE(doc.IsModified());

    // The reference pane is the same.
    doc.SetReadOnly(false);
    doc.SetReference(true);
    body().OnKeyLeft(false);
    EXPECT_EQ(o->m_bounds.left, 1000);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace

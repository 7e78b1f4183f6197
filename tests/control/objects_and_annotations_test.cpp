// The annotation and object-placement members through the dispatch interface: notes
// inserted, drawn, opened from their boxes, edited and deleted through the dialog, saved and
// reopened, hidden and shown; the stacking members on selected objects (the tests' own
// object kind), undone; and all of them refused in a read-only document.
#include <gtest/gtest.h>

#include "document/doc_body.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "platform/ui/focus.h"
#include "platform/ui/message.h"
#include "platform/ui/message_box.h"
#include "resources/res_dialogs.h"
#include "tests/control/automation_support.h"
#include "tests/document/test_object.h"

namespace {

using autotest::AutomationTest;
using plat::Variant;

class AnnotationMembers : public AutomationTest {
protected:
    CAnnotationList& Notes() { return doc().GetAnnotations(); }
    // Paints the control as the host shows it; the boxes drawn are those of this paint.
    std::unique_ptr<plat::Bitmap> Paint()
    {
        canvas().RequestRepaint();
        plat::PumpMessages();
        return plat::RenderWindowTree(m_host);
    }
    // A point of a note's box in the canvas's client area: its middle, or near its top
    // left corner (where no text is).
    plat::Point InBox(int number, bool corner = false)
    {
        const plat::Rect& b = Notes().FromNumber(number)->m_box;
        const plat::Point scroll = frame().GetMainView()->GetScrollPosition();
        const plat::Point at = corner ? plat::Point(doc().TwipsToPixels(b.left) + 2, doc().TwipsToPixels(b.top) + 2)
                                      : plat::Point(doc().TwipsToPixels(b.left + b.Width() / 2),
                                                    doc().TwipsToPixels(b.top + b.Height() / 2));
        return plat::Point(at.x - scroll.x, at.y - scroll.y);
    }
    void DoubleClick(plat::Point p)
    {
        plat::SendMessage(&canvas(), plat::kWmLButtonDblClk, 0, plat::MakeLParam(p.x, p.y));
        plat::PumpMessages();
    }
    // The next dialog gets the text typed into its note box (when given) and the button
    // pressed, as a user would.
    static void AnswerDialog(int button, const char16_t* text = nullptr)
    {
        plat::AnswerNextModal([button, text](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_NE(d, nullptr);
            if (!d) return std::nullopt;
            EXPECT_EQ(run.caption, u"编辑批注");
            if (text) {
                EXPECT_TRUE(d->TypeInto(kIdcAnnotationText, text));
            }
            d->PressButton(button);
            return std::nullopt;
        });
    }
    std::vector<std::int16_t> Numbers() const
    {
        std::vector<std::int16_t> out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out.push_back(body().GetItem(i)->GetFormat().m_annotation);
        return out;
    }
};

} // namespace

TEST_F(AnnotationMembers, InsertedDrawnEditedDeletedSavedAndShown)
{
    ASSERT_TRUE(CallBool(u"FileNew"));
    ASSERT_TRUE(CallBool(u"SetFileAuthor", {Variant::Long(1), Variant::Str(u"First")}));
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"Alpha ")}));
    ASSERT_TRUE(CallBool(u"CanInsertMark"));
    ASSERT_TRUE(CallBool(u"InsertMark", {Variant::Str(u"first note")}));
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"beta ")}));
    // An empty text asks in the dialog.
    AnswerDialog(plat::kIdOk, u"second note");
    ASSERT_TRUE(CallBool(u"InsertMark", {Variant::Str(u"")}));
    ASSERT_EQ(Notes().GetCount(), 2);
    EXPECT_EQ(Notes().GetAt(1)->m_text, u"second note");
    EXPECT_TRUE(CallBool(u"IsDispMarkStatus"));

    // Both anchors sit on the first line: their boxes stack in the margin.
    auto picture = Paint();
    ASSERT_TRUE(Notes().GetAt(0)->m_drawn && Notes().GetAt(1)->m_drawn);
    EXPECT_EQ(Notes().GetAt(1)->m_box.top, Notes().GetAt(0)->m_box.bottom + 90);
    const plat::Point inFirst = m_host.ScreenToClient(canvas().ClientToScreen(InBox(1, true)));
    EXPECT_EQ(picture->GetPixel(inFirst.x, inFirst.y), plat::GetSysColor(plat::kColorInfoBk));

    // The second box opened with a double click: its text edited.
    AnswerDialog(plat::kIdOk, u"edited");
    DoubleClick(InBox(2));
    EXPECT_EQ(Notes().GetAt(1)->m_text, u"edited");
    EXPECT_EQ(plat::GetFocus(), &canvas()) << "the canvas has the focus back";

    // Saved and reopened, the notes and their anchors come back.
    const plat::String path = PathOf("notes.qln");
    ASSERT_TRUE(CallBool(u"FileSave", {Variant::Str(path)}));
    const std::vector<std::int16_t> marks = Numbers();
    ASSERT_TRUE(CallBool(u"FileNew"));
    ASSERT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(0)}));
    // The same author edits on: the notes are still theirs to change.
    ASSERT_TRUE(CallBool(u"SetFileAuthor", {Variant::Long(1), Variant::Str(u"First")}));
    ASSERT_EQ(Notes().GetCount(), 2);
    EXPECT_EQ(Notes().GetAt(0)->m_text, u"first note");
    EXPECT_EQ(Notes().GetAt(1)->m_text, u"edited");
    EXPECT_EQ(Numbers(), marks);

    // Hidden, no box is drawn (nor hit); shown again, they are.
    ASSERT_TRUE(CallBool(u"SetDispMarkStatus", {Variant::Long(0)}));
    EXPECT_FALSE(CallBool(u"IsDispMarkStatus"));
    Paint();
    EXPECT_FALSE(Notes().GetAt(0)->m_drawn || Notes().GetAt(1)->m_drawn);
    ASSERT_TRUE(CallBool(u"SetDispMarkStatus", {Variant::Long(1)}));
    Paint();
    ASSERT_TRUE(Notes().GetAt(0)->m_drawn);

    // The first note deleted from its box: its anchor no longer carries it; undo brings it back.
    AnswerDialog(kIdcAnnotationDelete);
    DoubleClick(InBox(1));
    std::vector<std::int16_t> unmarked = marks;
    for (auto& n : unmarked)
        if (n == 1) n = -1;
    EXPECT_EQ(Numbers(), unmarked);
    EXPECT_TRUE(CallBool(u"EditUndo"));
    EXPECT_EQ(Numbers(), marks);
    EXPECT_EQ(plat::UnansweredModalCount(), 0u);
}

TEST_F(AnnotationMembers, ReadOnlyRefusesNotesAndOpensThemOnlyToRead)
{
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"text")}));
    ASSERT_TRUE(CallBool(u"InsertMark", {Variant::Str(u"kept")}));
    const plat::String path = PathOf("fixed.qln");
    ASSERT_TRUE(CallBool(u"FileSave", {Variant::Str(path)}));
    ASSERT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(1)}));
    const std::vector<std::int16_t> marks = Numbers();
    EXPECT_FALSE(CallBool(u"CanInsertMark"));
    EXPECT_FALSE(CallBool(u"InsertMark", {Variant::Str(u"more")}));
    EXPECT_EQ(Notes().GetCount(), 1);
    Paint();
    ASSERT_TRUE(Notes().GetAt(0)->m_drawn);
    // The note opens, but its text and the delete button do nothing.
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        EXPECT_NE(d, nullptr);
        if (!d) return std::nullopt;
        EXPECT_FALSE(d->IsDlgItemEnabled(kIdcAnnotationText));
        EXPECT_FALSE(d->PressButton(kIdcAnnotationDelete));
        d->PressButton(plat::kIdOk);
        return std::nullopt;
    });
    DoubleClick(InBox(1));
    EXPECT_EQ(Notes().GetAt(0)->m_text, u"kept");
    EXPECT_EQ(Numbers(), marks);
    EXPECT_FALSE(CallBool(u"IsFileModified"));
}

// ---- stacking ----

namespace {

class PlacementMembers : public AutomationTest {
protected:
    void SetUp() override
    {
        AutomationTest::SetUp();
        for (int tag = 1; tag <= 3; ++tag)
            body().AddObject(objtest::NewObject(&doc(), 1500 * tag, 3000, 1000, 800, kWrapBoth, 2, tag));
        body().BuildPageRegions();
        body().RelayoutWhole();
    }
    // Each object as "tag:layer", in list order.
    std::string Stack() const
    {
        std::string out;
        const CPageObjectList& list = body().GetObjectList();
        for (int k = 0; k < list.GetCount(); ++k) {
            const auto* o = static_cast<const objtest::CTestObject*>(list.GetObject(k));
            if (!out.empty()) out += ' ';
            out += std::to_string(o->m_tag);
            out += ':';
            out += std::to_string(o->m_layer);
        }
        return out;
    }
    void Select(std::initializer_list<int> tags)
    {
        body().DeselectAll();
        const CPageObjectList& list = body().GetObjectList();
        for (int k = 0; k < list.GetCount(); ++k) {
            auto* o = static_cast<objtest::CTestObject*>(list.GetObject(k));
            for (int t : tags)
                if (o->m_tag == t) o->SetSelected(true);
        }
    }
    objtest::ScopedTestKind m_kind;
};

} // namespace

TEST_F(PlacementMembers, StackingMovesTheSelectedObjectsAndUndoes)
{
    EXPECT_FALSE(CallBool(u"CanBlockAttr")) << "nothing selected";
    EXPECT_FALSE(CallBool(u"BlockPosFirst"));
    EXPECT_EQ(Stack(), "1:2 2:2 3:2");
    struct Case {
        const char16_t* member;
        std::initializer_list<int> selected;
        const char* after;
    };
    const Case cases[] = {
        {u"BlockPosFirst", {1, 2}, "3:2 1:4 2:4"},
        {u"BlockPosLast", {3}, "1:2 2:2 3:0"},
        {u"BlockPosUp", {1, 3}, "2:2 1:3 3:3"},
        {u"BlockPosDown", {2}, "1:2 3:2 2:1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::Utf16ToUtf8(c.member));
        Select(c.selected);
        EXPECT_TRUE(CallBool(u"CanBlockAttr"));
        const std::string before = Stack();
        EXPECT_TRUE(CallBool(c.member));
        EXPECT_EQ(Stack(), c.after);
        EXPECT_TRUE(CallBool(u"IsFileModified"));
        ASSERT_TRUE(CallBool(u"EditUndo"));
        EXPECT_EQ(Stack(), before) << "undo restores the order";
    }
}

TEST_F(PlacementMembers, AttributesOfSeveralObjectsTakeTheLayoutDialogsWrapMode)
{
    Select({1, 3});
    int asked = 0;
    CQlDoc::SetObjectLayoutDialog([&](std::uint8_t& wrap) {
        ++asked;
        EXPECT_EQ(wrap, kWrapBoth) << "the first selected object's mode";
        wrap = kWrapNone;
        return 1;
    });
    EXPECT_TRUE(CallBool(u"BlockAttr"));
    EXPECT_EQ(asked, 1);
    const CPageObjectList& list = body().GetObjectList();
    EXPECT_EQ(list.GetObject(0)->m_wrapMode, kWrapNone);
    EXPECT_EQ(list.GetObject(1)->m_wrapMode, kWrapBoth) << "not selected";
    EXPECT_EQ(list.GetObject(2)->m_wrapMode, kWrapNone);
    EXPECT_EQ(plat::GetFocus(), &canvas());
    ASSERT_TRUE(CallBool(u"EditUndo"));
    EXPECT_EQ(body().GetObjectList().GetObject(0)->m_wrapMode, kWrapBoth);
    // Cancelled, nothing changes.
    CQlDoc::SetObjectLayoutDialog([](std::uint8_t& wrap) {
        wrap = kWrapNone;
        return 2;
    });
    Select({1, 3});
    EXPECT_TRUE(CallBool(u"BlockAttr"));
    EXPECT_EQ(body().GetObjectList().GetObject(0)->m_wrapMode, kWrapBoth);
    CQlDoc::SetObjectLayoutDialog({});
}

TEST_F(PlacementMembers, ReadOnlyRefusesThemAll)
{
    Select({1});
    doc().SetReadOnly(true);
    doc().SetModified(false);
    EXPECT_FALSE(CallBool(u"CanBlockAttr"));
    for (const char16_t* member : {u"BlockAttr", u"BlockPosUp", u"BlockPosDown", u"BlockPosFirst", u"BlockPosLast"}) {
        EXPECT_FALSE(CallBool(member)) << plat::Utf16ToUtf8(member);
        doc().BlockPosFirst(); // the document refuses on its own too
    }
    EXPECT_EQ(Stack(), "1:2 2:2 3:2");
    EXPECT_FALSE(doc().CanUndo());
    EXPECT_FALSE(CallBool(u"IsFileModified"));
}

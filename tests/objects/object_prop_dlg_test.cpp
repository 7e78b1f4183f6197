// The object and table property dialogs answered by the modal-run service: the pressed look
// of the current wrap mode and its move on a click, OK and Cancel, the note edit; a shape's
// properties and the layout command over several shapes, with the text flowing anew.
#include <gtest/gtest.h>

#include "document/layout_dump.h"
#include "objects/object_prop_dlg.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "resources/res_dialogs.h"
#include "tests/objects/shape_test_support.h"
#include "tests/support/pixel_probe.h"

namespace {

// Which of the four wrap buttons the dialog shows pressed (a pressed face starts with a
// black column), read from the dialog's picture.
int PressedButton(plat::Dialog& d, int firstId)
{
    const std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(d);
    const plat::Rect frame = d.GetWindowRect();
    int pressed = -1;
    for (int mode = 0; mode < 4; ++mode) {
        const plat::Rect r = d.GetDlgItem(firstId + mode)->GetWindowRect();
        const plat::ColorRef c = picture->GetPixel(r.left - frame.left, (r.top + r.bottom) / 2 - frame.top);
        if (c == testsupport::kBlack) {
            EXPECT_EQ(pressed, -1) << "two buttons pressed";
            pressed = mode;
        } else {
            EXPECT_EQ(c, plat::GetSysColor(plat::kColorActiveBorder)) << mode;
        }
    }
    return pressed;
}

TEST(ObjectPropDlg, CurrentModeIsPressedAndAClickMovesItBeforeOk)
{
    struct Row {
        const char* name;
        int firstId;
        bool table;
    } rows[] = {{"object", kIdcObjectWrapNone, false}, {"table", kIdcTableWrapNone, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_NE(d, nullptr);
            if (!d) return plat::kIdCancel;
            EXPECT_EQ(PressedButton(*d, r.firstId), 3) << "opened on both sides";
            EXPECT_TRUE(d->PressButton(r.firstId + 1)); // "Left"
            EXPECT_EQ(PressedButton(*d, r.firstId), 1) << "the pressed look moved at once";
            d->PressButton(plat::kIdOk);
            return std::nullopt;
        });
        int mode = -1;
        int answer = 0;
        if (r.table) {
            CTablePropDlg dlg;
            dlg.m_wrapMode = 3;
            answer = dlg.DoModal();
            mode = dlg.m_wrapMode;
        } else {
            CObjectPropDlg dlg;
            dlg.m_wrapMode = 3;
            answer = dlg.DoModal();
            mode = dlg.m_wrapMode;
        }
        EXPECT_EQ(answer, plat::kIdOk);
        EXPECT_EQ(mode, 1);
    }
}

TEST(ObjectPropDlg, CancelLeavesTheWrapMode)
{
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (d) d->PressButton(kIdcObjectWrapNone);
        return plat::kIdCancel;
    });
    std::uint8_t wrap = 3;
    EXPECT_NE(RunObjectLayoutDialog(wrap, nullptr), 1);
    EXPECT_EQ(wrap, 3);
}

// The note edit follows the note-editable flag; the table dialog's is always enabled.
TEST(ObjectPropDlg, NoteEditFollowsTheFlag)
{
    struct Row {
        int flag;
        bool enabled;
        const char16_t* noteAfter;
    } rows[] = {{0, false, u"caption"}, {1, true, u"new note"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flag);
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (!d) return plat::kIdCancel;
            EXPECT_EQ(d->IsDlgItemEnabled(kIdcObjectNote), r.enabled);
            EXPECT_EQ(d->GetDlgItemText(kIdcObjectNote), u"caption");
            d->TypeInto(kIdcObjectNote, u"new note");
            d->PressButton(plat::kIdOk);
            return std::nullopt;
        });
        CObjectPropDlg dlg;
        dlg.m_wrapMode = 0;
        dlg.m_note = u"caption";
        dlg.m_noteEditable = r.flag;
        EXPECT_EQ(dlg.DoModal(), plat::kIdOk);
        EXPECT_EQ(dlg.m_note, r.noteAfter);
    }
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (d) {
            EXPECT_TRUE(d->IsDlgItemEnabled(kIdcTableNote));
        }
        return plat::kIdCancel;
    });
    CTablePropDlg table;
    EXPECT_EQ(table.DoModal(), plat::kIdCancel);
}

class ShapeProperties : public testing::Test {
protected:
    void SetUp() override { RegisterDrawingKinds(); }
    void TearDown() override
    {
        CQlDoc::SetObjectLayoutDialog({});
        UnregisterDocObjects();
    }
    static void AnswerWrap(int button, int result)
    {
        plat::AnswerNextModal([button, result](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (!d) return plat::kIdCancel;
            EXPECT_FALSE(d->IsDlgItemEnabled(kIdcObjectNote)) << "shapes have no note";
            d->PressButton(button);
            return result;
        });
    }
    doctest::ShownDoc shown;
};

TEST_F(ShapeProperties, OkSetsTheWrapModeAsOneUndoStepCancelChangesNothing)
{
    CQlDoc& doc = shown.doc;
    CShapeObject* s = shapetest::AddShape(doc, {0x1102, {{3000, 3000}, {3600, 4500}, {4200, 3000}}});
    doc.SetModified(false);
    AnswerWrap(kIdcObjectWrapNone + 2, plat::kIdCancel);
    EXPECT_EQ(s->ShowProperties(), 0);
    EXPECT_EQ(s->m_wrapMode, kWrapBoth);
    EXPECT_FALSE(doc.IsModified());
    AnswerWrap(kIdcObjectWrapNone + 2, plat::kIdOk);
    EXPECT_EQ(s->ShowProperties(), 1);
    EXPECT_EQ(s->m_wrapMode, kWrapRight);
    EXPECT_TRUE(doc.IsModified());
    doc.EditUndo();
    EXPECT_EQ(shown.Body().GetObject(0)->m_wrapMode, kWrapBoth);
}

// The layout command over three selected shapes, through the dialog the control installs:
// one wrap mode for all three, and the body text flows around them anew.
TEST_F(ShapeProperties, LayoutCommandSetsOneModeOnThreeShapesAndTheTextReflows)
{
    CQlDoc& doc = shown.doc;
    CQlDoc::SetObjectLayoutDialog([](std::uint8_t& wrap) { return RunObjectLayoutDialog(wrap, nullptr); });
    for (int i = 0; i < 12; ++i) doc.InsertString(u"这是一段用来环绕图形的正文。这是一段用来环绕图形的正文。\n");
    const int x = doctest::kMargin + 1500;
    for (int k = 0; k < 3; ++k) {
        const int y = doctest::kMargin + 800 + k * 1600;
        shapetest::AddShape(doc, {0x1102, {{x, y}, {x + 900, y + 1200}, {x + 1800, y}}});
    }
    CDocBody& body = shown.Body();
    for (int k = 0; k < 3; ++k) body.GetObject(k)->SetSelected(true);
    // Lines that share a shape's rows: text beside it.
    auto linesBeside = [&] {
        int n = 0;
        for (const CLaidOutLine& line : CollectLines(body))
            for (int k = 0; k < 3; ++k) {
                const CFloatObject& o = *body.GetObject(k);
                n += line.box.top < o.m_bounds.top + o.m_height && line.box.bottom > o.m_bounds.top;
            }
        return n;
    };
    EXPECT_GT(linesBeside(), 0) << "text on both sides at first";
    AnswerWrap(kIdcObjectWrapNone, plat::kIdOk);
    doc.BlockAttr();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(body.GetObject(k)->m_wrapMode, kWrapNone) << k;
    EXPECT_EQ(linesBeside(), 0) << "text above and below only";
    EXPECT_TRUE(CheckLayoutInvariants(body).empty());
}

} // namespace

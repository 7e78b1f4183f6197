// The annotation dialog: what it shows of a note, which of its controls work for a new note,
// for the author's own note and for an earlier author's, and what OK, cancel and the delete
// button give back.
#include <cstdlib>
#include <ctime>
#include <functional>

#include "editor/annotation_dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/static_control.h"
#include "resources/res_dialogs.h"
#include "tests/editor/editor_test_support.h"

namespace {

class AnnotationDlgTest : public edtest::UtcTest {
protected:
    // Runs the dialog over the values; `act` sees it open and acts on it by control id.
    int Run(CAnnotationDlgValues& values, std::function<void(plat::Dialog&)> act)
    {
        plat::AnswerNextModal([act](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_NE(d, nullptr);
            if (d) act(*d);
            return std::nullopt;
        });
        return RunAnnotationDialog(values, nullptr, nullptr);
    }
};

CAnnotationDlgValues Values(bool isNew, bool editable)
{
    CAnnotationDlgValues v;
    v.isNew = isNew;
    v.editable = editable;
    v.authorName = u"张三";
    v.time = 1700000000; // 2023-11-14 22:13:20 UTC
    v.text = isNew ? u"" : u"原来的批注";
    return v;
}

} // namespace

TEST_F(AnnotationDlgTest, ShowsTheNoteAndEnablesWhatTheAuthorMayDo)
{
    struct Case {
        const char* what;
        bool isNew, editable;
        bool textEnabled, deleteEnabled;
    };
    const Case cases[] = {
        {"new", true, true, true, false},
        {"own note", false, true, true, true},
        {"earlier author's note", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CAnnotationDlgValues v = Values(c.isNew, c.editable);
        const int result = Run(v, [&](plat::Dialog& d) {
            EXPECT_EQ(d.GetTemplate().title, u"编辑批注");
            std::vector<plat::String> labels;
            for (plat::Control* control : d.GetControls())
                if (dynamic_cast<plat::StaticControl*>(control)) labels.push_back(control->GetWindowText());
            EXPECT_EQ(labels, (std::vector<plat::String>{u"批注者：", u"批注时间：", u"批注内容："}));
            EXPECT_EQ(d.GetDlgItemText(kIdcAnnotationAuthor), u"张三");
            EXPECT_EQ(d.GetDlgItemText(kIdcAnnotationTime), u"2023年11月14日22时13分20秒");
            EXPECT_FALSE(d.IsDlgItemEnabled(kIdcAnnotationAuthor));
            EXPECT_FALSE(d.IsDlgItemEnabled(kIdcAnnotationTime));
            EXPECT_EQ(d.GetDlgItemText(kIdcAnnotationText), v.text);
            EXPECT_EQ(d.IsDlgItemEnabled(kIdcAnnotationText), c.textEnabled);
            EXPECT_EQ(d.IsDlgItemEnabled(kIdcAnnotationDelete), c.deleteEnabled);
            EXPECT_EQ(d.GetDlgItemText(plat::kIdOk), u"确认");
            EXPECT_EQ(d.GetDlgItemText(plat::kIdCancel), u"取消");
            EXPECT_EQ(d.GetDlgItemText(kIdcAnnotationDelete), u"删除批注");
            if (c.textEnabled) {
                EXPECT_EQ(plat::GetFocus(), d.GetDlgItem(kIdcAnnotationText)) << "the text takes the focus";
                EXPECT_TRUE(d.TypeInto(kIdcAnnotationText, u"新的内容"));
            }
            
            // A disabled delete button cannot be pressed.
            EXPECT_EQ(d.PressButton(kIdcAnnotationDelete), c.deleteEnabled);
            if (!c.deleteEnabled) {
                EXPECT_TRUE(d.PressButton(plat::kIdOk));
            }
        });
        EXPECT_EQ(result, plat::kIdOk);
        EXPECT_EQ(v.deleteRequested, c.deleteEnabled);
        if (c.textEnabled) {
            EXPECT_EQ(v.text, u"新的内容");
        }
    }
}

TEST_F(AnnotationDlgTest, CancelKeepsTheTextAndTheFocusGoesBack)
{
    CAnnotationDlgValues v = Values(false, true);
    plat::Window canvas;
    ASSERT_TRUE(canvas.Create(nullptr, plat::Rect(0, 0, 100, 100), plat::kWsVisible));
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        if (d) {
            d->TypeInto(kIdcAnnotationText, u"不要");
            d->PressButton(plat::kIdCancel);
        }
        return std::nullopt;
    });
    EXPECT_EQ(RunAnnotationDialog(v, nullptr, &canvas), plat::kIdCancel);
    EXPECT_EQ(v.text, u"原来的批注");
    EXPECT_FALSE(v.deleteRequested);
    EXPECT_EQ(plat::GetFocus(), &canvas);
}

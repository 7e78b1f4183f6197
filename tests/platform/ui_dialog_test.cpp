// The dialog framework: templates in dialog units, modal runs answered by control id, the
// dialog keys, and data exchange with its parse error.
#include <memory>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_box.h"
#include "platform/ui/static_control.h"
#include "platform/ui/tooltip.h"
#include "tests/platform/ui_test_window.h"

namespace {

using plat::DialogItemTemplate;
using plat::DialogTemplate;
using plat::Rect;

constexpr int kIdName = 100;
constexpr int kIdCount = 101;
constexpr int kIdAgree = 102;
constexpr int kIdRadioA = 103;
constexpr int kIdRadioB = 104;
constexpr int kIdHelp = 105; // a push button without a tab stop
constexpr int kIdApply = 3;

// A form: a label, two edits, a check box, a radio group, OK, Cancel and two more buttons.
DialogTemplate FormTemplate()
{
    using namespace plat;
    DialogTemplate t;
    t.id = 900;
    t.title = u"表单";
    t.size = Size(200, 120);
    t.fontFace = u"宋体";
    t.fontPoints = 9;
    t.items = {
        {kStaticClass, kIdStatic, u"名称:", Rect(5, 5, 40, 15), kSsLeft, 0},
        {kEditClass, kIdName, u"", Rect(45, 5, 195, 19), kWsTabStop | kEsAutoHScroll, 0},
        {kEditClass, kIdCount, u"", Rect(45, 25, 195, 39), kWsTabStop, 0},
        {kButtonClass, kIdAgree, u"同意", Rect(5, 45, 95, 57), kBsAutoCheckBox | kWsTabStop, 0},
        {kButtonClass, kIdRadioA, u"甲", Rect(5, 60, 60, 72), kBsAutoRadioButton | kWsTabStop | kWsGroup, 0},
        {kButtonClass, kIdRadioB, u"乙", Rect(65, 60, 120, 72), kBsAutoRadioButton, 0},
        {kButtonClass, kIdOk, u"确定", Rect(5, 100, 50, 114), kBsDefPushButton | kWsTabStop | kWsGroup, 0},
        {kButtonClass, kIdCancel, u"取消", Rect(55, 100, 100, 114), kBsPushButton | kWsTabStop, 0},
        {kButtonClass, kIdApply, u"应用", Rect(105, 100, 150, 114), kBsPushButton | kWsTabStop, 0},
        {kButtonClass, kIdHelp, u"帮助", Rect(155, 100, 195, 114), kBsPushButton, 0},
    };
    return t;
}

class FormDialog : public plat::Dialog {
public:
    explicit FormDialog(plat::Window* parent = nullptr) : plat::Dialog(FormTemplate(), parent) {}
    plat::String m_name = u"初始";
    int m_count = 5;
    int m_agree = 1;
    int m_choice = 1;
    int m_applied = 0;

protected:
    void DoDataExchange(plat::DataExchange& dx) override
    {
        plat::DdxText(dx, kIdName, m_name);
        plat::DdvMaxChars(dx, kIdName, m_name, 8);
        plat::DdxText(dx, kIdCount, m_count);
        plat::DdxCheck(dx, kIdAgree, m_agree);
        plat::DdxRadio(dx, kIdRadioA, m_choice);
    }
    bool OnCommand(unsigned id, unsigned code, plat::Window*) override
    {
        if (id == static_cast<unsigned>(kIdApply) && code == plat::kBnClicked) {
            ++m_applied;
            EndDialog(kIdApply);
            return true;
        }
        return false;
    }
};

class DialogTest : public uitest::UiTest {};

TEST_F(DialogTest, TemplatePlacesControlsInDialogUnitsOfItsFont)
{
    const DialogTemplate t = FormTemplate();
    const plat::Font font = plat::DialogFont(t);
    const plat::Size base = plat::DialogBaseUnits(font);
    ASSERT_GT(base.cx, 0);
    ASSERT_GT(base.cy, 0);
    EXPECT_EQ(plat::MapDialogRect(Rect(0, 0, 4, 8), base), Rect(0, 0, base.cx, base.cy));
    EXPECT_EQ(font.Desc().height, -12) << "9 points at 96 pixels an inch";

    FormDialog dlg;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        EXPECT_EQ(d, &dlg);
        EXPECT_EQ(run.kind, plat::ModalKind::kDialog);
        EXPECT_EQ(run.caption, u"表单");
        EXPECT_EQ(d->GetClientRect(), plat::MapDialogRect(Rect(0, 0, 200, 120), base));
        for (const DialogItemTemplate& item : t.items) {
            if (item.id == plat::kIdStatic) continue;
            plat::Control* c = d->GetDlgItem(item.id);
            EXPECT_NE(c, nullptr) << item.id;
            if (!c) continue;
            EXPECT_EQ(c->GetRect(), plat::MapDialogRect(item.rect, base)) << item.id;
            if (item.className != plat::kEditClass) {
                EXPECT_EQ(c->GetWindowText(), item.text);
            }
            EXPECT_TRUE(c->GetStyle() & plat::kWsChild);
        }
        EXPECT_EQ(d->GetControls().size(), t.items.size());
        // The fields were loaded, and the first tab stop has the focus, selected whole.
        EXPECT_EQ(d->GetDlgItemText(kIdName), u"初始");
        EXPECT_EQ(d->GetDlgItemText(kIdCount), u"5");
        EXPECT_EQ(d->IsDlgButtonChecked(kIdAgree), plat::kBstChecked);
        EXPECT_EQ(d->IsDlgButtonChecked(kIdRadioB), plat::kBstChecked);
        EXPECT_EQ(plat::GetFocus(), d->GetDlgItem(kIdName));
        auto* name = d->GetItem<plat::Edit>(kIdName);
        EXPECT_EQ(name->GetSelStart(), 0);
        EXPECT_EQ(name->GetSelEnd(), 2);
        EXPECT_EQ(name->GetLimitText(), 8) << "DdvMaxChars sets the limit when loading";
        return plat::kIdCancel;
    });
    EXPECT_EQ(dlg.DoModal(), plat::kIdCancel);
    EXPECT_FALSE(dlg.IsCreated()) << "the window goes when the run is over";
}

TEST_F(DialogTest, UnknownControlClassFailsTheRunUntilRegistered)
{
    DialogTemplate t = FormTemplate();
    t.items.push_back({u"QuilnGauge", 200, u"", Rect(0, 0, 10, 10), 0, 0});
    {
        plat::Dialog dlg(t);
        plat::AnswerNextModal(plat::kIdOk);
        EXPECT_EQ(dlg.DoModal(), plat::kModalFailed);
        EXPECT_EQ(plat::PendingModalAnswers(), 1u) << "no run was made";
        plat::ClearModalAnswers();
    }
    plat::RegisterControlClass(u"QuilnGauge", [] { return std::make_unique<plat::StaticControl>(); });
    plat::Dialog dlg(t);
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        EXPECT_NE(plat::DialogOf(run)->GetItem<plat::StaticControl>(200), nullptr);
        return plat::kIdCancel;
    });
    EXPECT_EQ(dlg.DoModal(), plat::kIdCancel);
    plat::RegisterControlClass(u"QuilnGauge", {});
}

TEST_F(DialogTest, ModalAnswerFillsFieldsAndPressesButtonsByControlId)
{
    uitest::TestWindow owner("owner");
    ASSERT_TRUE(owner.Create(nullptr, Rect(0, 0, 600, 400), plat::kWsVisible));
    FormDialog dlg(&owner);
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        EXPECT_FALSE(owner.IsWindowEnabled()) << "the owner is disabled while the dialog runs";
        d->SetDlgItemText(kIdName, u"新名");
        EXPECT_TRUE(d->TypeInto(kIdCount, u"12"));
        EXPECT_TRUE(d->PressButton(kIdAgree));
        EXPECT_TRUE(d->PressButton(kIdRadioA));
        EXPECT_TRUE(d->PressButton(plat::kIdOk));
        return std::nullopt;
    });
    EXPECT_EQ(dlg.DoModal(), plat::kIdOk);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(dlg.m_name, u"新名");
    EXPECT_EQ(dlg.m_count, 12);
    EXPECT_EQ(dlg.m_agree, 0);
    EXPECT_EQ(dlg.m_choice, 0);
    const std::vector<plat::ModalRecord> log = plat::GetModalLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].answer, plat::kIdOk);
    EXPECT_TRUE(log[0].answered);
}

TEST_F(DialogTest, PlainAnswersCountAsPressingThatButton)
{
    struct Case {
        std::optional<int> answer;
        int result;
        int applied;
        bool saved;
    };
    const Case cases[] = {
        {plat::kIdOk, plat::kIdOk, 0, true},         // OK runs the exchange
        {plat::kIdCancel, plat::kIdCancel, 0, false},
        {kIdApply, kIdApply, 1, false},               // the dialog's own button
        {kIdHelp, plat::kModalFailed, 0, false},      // pressed, but it ends nothing
        {std::nullopt, plat::kModalFailed, 0, false}, // nobody answered
    };
    for (const Case& c : cases) {
        FormDialog dlg;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::DialogOf(run)->SetDlgItemText(kIdName, u"改过");
            return c.answer;
        });
        EXPECT_EQ(dlg.DoModal(), c.result) << (c.answer ? *c.answer : -99);
        EXPECT_EQ(dlg.m_applied, c.applied);
        EXPECT_EQ(dlg.m_name, c.saved ? u"改过" : u"初始");
    }
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscCancels)
{
    struct Case {
        const char* what;
        int focus;        // control to focus first
        int key;
        int defId;        // 0: as the template has it
        bool disableOk;
        int result;
    };
    const Case cases[] = {
        {"Enter in an edit", kIdName, plat::kVkReturn, 0, false, plat::kIdOk},
        {"Esc in an edit", kIdName, plat::kVkEscape, 0, false, plat::kIdCancel},
        {"Enter on a focused push button presses it", plat::kIdCancel, plat::kVkReturn, 0, false, plat::kIdCancel},
        {"Enter with another default button", kIdName, plat::kVkReturn, kIdApply, false, kIdApply},
        {"Enter while OK is disabled does nothing", kIdName, plat::kVkReturn, 0, true, plat::kModalFailed},
        {"Space on a focused button presses it", kIdApply, plat::kVkSpace, 0, false, kIdApply},
        {"Space in an edit is typed", kIdName, plat::kVkSpace, 0, false, plat::kModalFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormDialog dlg;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (c.defId) d->SetDefID(c.defId);
            if (c.disableOk) d->GetDlgItem(plat::kIdOk)->EnableWindow(false);
            d->GotoDlgCtrl(d->GetDlgItem(c.focus));
            EXPECT_TRUE(plat::PressKey(c.key));
            return std::nullopt;
        });
        EXPECT_EQ(dlg.DoModal(), c.result);
    }
}

TEST_F(DialogTest, TabMovesBetweenEnabledTabStopsAndWraps)
{
    FormDialog dlg;
    std::vector<int> forward, backward;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        d->GetDlgItem(kIdCount)->EnableWindow(false);
        d->GotoDlgCtrl(d->GetDlgItem(kIdName));
        for (int i = 0; i < 6; ++i) {
            plat::PressKey(plat::kVkTab);
            plat::PumpMessages();
            forward.push_back(plat::GetFocus()->GetId());
        }
        for (int i = 0; i < 2; ++i) {
            plat::PressKey(plat::kVkTab, plat::kModShift);
            plat::PumpMessages();
            backward.push_back(plat::GetFocus()->GetId());
        }
        EXPECT_EQ(d->GetDlgItemText(kIdName), u"初始") << "Tab types nothing";
        return plat::kIdCancel;
    });
    dlg.DoModal();
    // The disabled edit and the button without a tab stop are passed over.
    EXPECT_EQ(forward, (std::vector<int>{kIdAgree, kIdRadioA, plat::kIdOk, plat::kIdCancel, kIdApply, kIdName}));
    EXPECT_EQ(backward, (std::vector<int>{kIdApply, plat::kIdCancel}));
}

TEST_F(DialogTest, ArrowsMoveThroughTheRadioGroupAndToolTipsFollowTheMouse)
{
    FormDialog dlg;
    std::vector<int> checked;
    bool shown = false;
    plat::String tipTool;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        d->GotoDlgCtrl(d->GetDlgItem(kIdRadioA));
        for (int key : {plat::kVkRight, plat::kVkDown, plat::kVkLeft}) {
            plat::PressKey(key);
            plat::PumpMessages();
            checked.push_back(plat::GetFocus()->GetId());
            EXPECT_EQ(d->IsDlgButtonChecked(checked.back()), plat::kBstChecked);
        }
        // The dialog's tooltip hears the mouse over its tools.
        plat::Control* agree = d->GetDlgItem(kIdAgree);
        d->GetToolTip().AddTool(agree, u"同意条款");
        plat::PostMouseInput(*d, plat::kWmMouseMove, agree->ClientToScreen(plat::Point(5, 5)));
        plat::PumpMessages();
        plat::AdvanceClock(plat::kToolTipInitialDelayMs);
        plat::PumpMessages();
        shown = d->GetToolTip().IsShown();
        return plat::kIdCancel;
    });
    dlg.DoModal();
    EXPECT_EQ(checked, (std::vector<int>{kIdRadioB, kIdRadioA, kIdRadioB})) << "the group wraps";
    EXPECT_TRUE(shown);
}

// A dialog whose combo box is filled in OnInitDialog before its index is loaded.
class SizeDialog : public plat::Dialog {
public:
    static DialogTemplate Template()
    {
        DialogTemplate t;
        t.title = u"字号";
        t.size = plat::Size(100, 60);
        t.fontFace = u"宋体";
        t.items = {
            {plat::kComboBoxClass, 300, u"", Rect(5, 5, 95, 17), plat::kCbsDropDownList | plat::kWsTabStop, 0},
            {plat::kButtonClass, plat::kIdOk, u"确定", Rect(5, 40, 50, 54), plat::kBsDefPushButton | plat::kWsTabStop, 0},
        };
        return t;
    }
    SizeDialog() : plat::Dialog(Template()) {}
    int m_index = 1;

protected:
    bool OnInitDialog() override
    {
        auto* combo = GetItem<plat::ComboBox>(300);
        for (const char16_t* s : {u"小", u"中", u"大"}) combo->AddString(s);
        return plat::Dialog::OnInitDialog();
    }
    void DoDataExchange(plat::DataExchange& dx) override { plat::DdxCbIndex(dx, 300, m_index); }
};

TEST_F(DialogTest, ComboIndexIsLoadedAndTakenBack)
{
    SizeDialog dlg;
    plat::String loaded;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        loaded = d->GetDlgItemText(300);
        EXPECT_EQ(plat::GetFocus(), d->GetDlgItem(300));
        plat::PressKey(plat::kVkDown);
        plat::PressKey(plat::kVkReturn);
        return std::nullopt;
    });
    EXPECT_EQ(dlg.DoModal(), plat::kIdOk);
    EXPECT_EQ(loaded, u"中");
    EXPECT_EQ(dlg.m_index, 2);
}

TEST_F(DialogTest, IntegerFieldThatDoesNotParseShowsItsMessageAndKeepsTheDialog)
{
    struct Case {
        const char16_t* text;
        std::optional<int> value; // none: the parse error
    };
    const Case cases[] = {
        {u"42", 42}, {u" -7 ", -7}, {u"2147483647", 2147483647}, {u"4x", std::nullopt},
        {u"", std::nullopt}, {u"99999999999", std::nullopt}, {u"１２", std::nullopt}, {u"-", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << plat::Utf16ToUtf8(c.text));
        plat::ClearModalLog();
        FormDialog dlg;
        bool stayed = false;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            d->SetDlgItemText(kIdCount, c.text);
            d->PressButton(plat::kIdOk);
            stayed = !d->IsEnded();
            if (stayed) {
                EXPECT_EQ(plat::GetFocus(), d->GetDlgItem(kIdCount)) << "the field takes the focus";
                d->SetDlgItemText(kIdCount, u"8");
                d->PressButton(plat::kIdOk);
            }
            return std::nullopt;
        });
        plat::AnswerNextModal(plat::kIdOk); // the message box
        EXPECT_EQ(dlg.DoModal(), plat::kIdOk);
        EXPECT_EQ(stayed, !c.value.has_value());
        EXPECT_EQ(dlg.m_count, c.value ? *c.value : 8);
        const std::vector<plat::ModalRecord> boxes = plat::GetMessageBoxLog();
        if (c.value) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, plat::kDdxIntegerMessage);
        }
        plat::ClearModalAnswers();
    }
}

TEST_F(DialogTest, MaxCharsRefusesLongerTextSetByCode)
{
    FormDialog dlg;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        d->SetDlgItemText(kIdName, u"一二三四五六七八九"); // nine: WM_SETTEXT passes the limit
        d->PressButton(plat::kIdOk);
        EXPECT_FALSE(d->IsEnded());
        d->SetDlgItemText(kIdName, u"一二三四五六七八");
        d->PressButton(plat::kIdOk);
        return std::nullopt;
    });
    plat::AnswerNextModal(plat::kIdOk);
    EXPECT_EQ(dlg.DoModal(), plat::kIdOk);
    EXPECT_EQ(dlg.m_name, u"一二三四五六七八");
    const std::vector<plat::ModalRecord> boxes = plat::GetMessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"请输入不超过 8 个字符。");
}

TEST_F(DialogTest, DialogPaintsItsFaceAndControls)
{
    FormDialog dlg;
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* d = plat::DialogOf(run);
        std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(*d);
        EXPECT_NE(picture, nullptr);
        if (!picture) return plat::kIdCancel;
        const Rect ok = d->GetDlgItem(plat::kIdOk)->GetRect();
        const Rect cancel = d->GetDlgItem(plat::kIdCancel)->GetRect();
        const Rect name = d->GetDlgItem(kIdName)->GetRect();
        EXPECT_EQ(picture->GetPixel(d->GetClientRect().right - 2, 2), plat::look::kFace);
        EXPECT_EQ(picture->GetPixel(ok.left, ok.top + 5), plat::look::kHighlight) << "the default button's frame";
        EXPECT_EQ(picture->GetPixel(cancel.left, cancel.top + 5), plat::look::kBorder);
        EXPECT_EQ(picture->GetPixel(cancel.left + 2, cancel.top + 2), plat::look::kFace);
        EXPECT_EQ(picture->GetPixel(name.right - 2, name.bottom - 2), plat::look::kWindow);
        d->GetDlgItem(plat::kIdOk)->EnableWindow(false);
        picture = plat::RenderWindowTree(*d);
        EXPECT_EQ(picture->GetPixel(ok.left, ok.top + 5), plat::look::kBorder) << "a disabled default button is not marked";
        return plat::kIdCancel;
    });
    dlg.DoModal();
}

// Picking rows as the user does: a drop-down list and a notifying list box tell the dialog
// of a changed selection, a list box without kLbsNotify does not, and a disabled control
// or a text no row has picks nothing.
class RowsDialog : public plat::Dialog {
public:
    static constexpr int kCombo = 300, kNotifying = 301, kQuiet = 302, kDisabled = 303;
    static DialogTemplate Template()
    {
        using namespace plat;
        DialogTemplate t;
        t.id = 901;
        t.title = u"行";
        t.size = Size(200, 120);
        t.fontFace = u"宋体";
        t.items = {
            {kComboBoxClass, kCombo, u"", Rect(5, 5, 95, 80), kCbsDropDownList | kWsTabStop, 0},
            {kListBoxClass, kNotifying, u"", Rect(100, 5, 195, 50), kLbsNotify | kWsTabStop, 0},
            {kListBoxClass, kQuiet, u"", Rect(100, 55, 195, 100), kWsTabStop, 0},
            {kComboBoxClass, kDisabled, u"", Rect(5, 85, 95, 110), kCbsDropDownList | kWsDisabled, 0},
        };
        return t;
    }
    RowsDialog() : plat::Dialog(Template()) {}
    std::vector<std::pair<unsigned, unsigned>> m_notified; // control id, code

protected:
    bool OnInitDialog() override
    {
        plat::Dialog::OnInitDialog();
        for (int id : {kCombo, kNotifying, kQuiet, kDisabled})
            for (const char16_t* text : {u"一", u"二", u"三"}) GetItem<plat::RowsControl>(id)->AddString(text);
        return true;
    }
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override
    {
        if (id >= static_cast<unsigned>(kCombo) && id <= static_cast<unsigned>(kDisabled)) {
            m_notified.emplace_back(id, code);
            return true;
        }
        return plat::Dialog::OnCommand(id, code, control);
    }
};

TEST_F(DialogTest, ChooseRowPicksTheRowOfTheTextAsAUserDoes)
{
    using Notified = std::vector<std::pair<unsigned, unsigned>>;
    struct Case {
        const char* what;
        int id;
        const char16_t* text;
        bool picked;
        int selection;
        Notified notified;
    };
    const unsigned combo = RowsDialog::kCombo, notifying = RowsDialog::kNotifying;
    const Case cases[] = {
        {"drop-down list", RowsDialog::kCombo, u"二", true, 1, {{combo, plat::kCbnSelChange}}},
        {"notifying list", RowsDialog::kNotifying, u"三", true, 2, {{notifying, plat::kLbnSelChange}}},
        {"quiet list", RowsDialog::kQuiet, u"一", true, 0, {}},
        {"no such row", RowsDialog::kCombo, u"四", false, -1, {}},
        {"disabled", RowsDialog::kDisabled, u"二", false, -1, {}},
        {"no such control", 999, u"二", false, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RowsDialog dlg;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            EXPECT_EQ(d->ChooseRow(c.id, c.text), c.picked);
            if (const auto* rows = d->GetItem<plat::RowsControl>(c.id)) {
                EXPECT_EQ(rows->GetCurSel(), c.selection);
                if (c.picked) {
                    EXPECT_EQ(plat::GetFocus(), d->GetDlgItem(c.id));
                }
            }
            EXPECT_EQ(d->ChooseRow(c.id, c.text), c.picked) << "picked again";
            return plat::kIdCancel;
        });
        dlg.DoModal();
        EXPECT_EQ(dlg.m_notified, c.notified) << "one notification, for the change only";
    }
}

} // namespace

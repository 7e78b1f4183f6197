// The main frame's commands: string table and tooltips, and the command and update
// handlers run through a real frame over a control window.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/spell_check_ui.h"
#include "document/statistics.h"
#include "document/text_item.h"
#include "editor/count_dialogs.h"
#include "editor/font_name_combo.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "editor/toolbar_ex.h"
#include "objects/table_object.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/list_view.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"
#include "platform/ui/toolbar.h"
#include "resources/res_dialogs.h"
#include "resources/res_strings.h"
#include "tests/editor/main_frame_support.h"

namespace {

TEST(CommandStrings, TextsAndTooltips)
{
    struct Row {
        unsigned id;
        const char16_t* text;
        const char16_t* tooltip;
    } const rows[] = {
        {32770, u"修订与批注\n修订与批注", u"修订与批注"},
        {32774, u"关于《Quiln》版本信息\n《Quiln》版本信息", u"《Quiln》版本信息"},
        {32787, u"查找/替换指定的正文\n查找/替换", u"查找/替换"},
        {35020, u"显示或隐藏标尺、工具栏、参考文档、拼写检查\n显隐标尺、工具栏、参考文档、拼写检查",
         u"显隐标尺、工具栏、参考文档、拼写检查"},
        {35055, u"设置图片、影片、声音、图形、表格排版属性\n对象属性", u"对象属性"},
        {37814, u"边框线\n设置表格边框线", u"设置表格边框线"},
        {57609, u"显示整页\n打印预览", u"打印预览"},
        {57643, u"撤消最后一步操作\n撤消", u"撤消"},
        {57644, u"重新执行先前已撤消的操作\n重新执行", u"重新执行"},
        // Ids without a string: between two that have one, below and above the table,
        // and a command that has handlers but no string.
        {32772, u"", u""},
        {0, u"", u""},
        {99999, u"", u""},
        {35011, u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(LoadResString(row.id), row.text);
        EXPECT_EQ(LoadTooltip(row.id), row.tooltip);
    }
}

TEST(CommandStrings, TooltipIsTheTextAfterTheFirstLineBreak)
{
    EXPECT_EQ(GetTooltipText(u"status\ntip"), u"tip");
    EXPECT_EQ(GetTooltipText(u"no break"), u"no break");
    EXPECT_EQ(GetTooltipText(u"a\nb\nc"), u"b\nc");
    EXPECT_EQ(GetTooltipText(u"trailing\n"), u"");
}

// A selected page object that takes neither text nor formats.
class PlainObject : public CFloatObject {
public:
    explicit PlainObject(CDocContext* doc) : CFloatObject(doc, nullptr, kNodeImage) {}
    plat::String GetExportExt() const override { return u".png"; }
};

// A pending creation of a given node type.
class PendingTool : public CCreationTool {
public:
    explicit PendingTool(std::uint16_t type) : m_type(type) {}
    std::uint16_t GetCreateType() const override { return m_type; }

private:
    std::uint16_t m_type;
};

// The frame over a control window, its main document holding "Hello world" with "Hello"
// selected. The helpers are public for the command table's rows.
class FrameCommandsTest : public frametest::MainFrameTest {
public:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        Reset();
    }

    using MainFrameTest::body;
    using MainFrameTest::canvas;
    using MainFrameTest::doc;
    using MainFrameTest::frame;
    using MainFrameTest::Text;
    CFormatState& state() const { return *doc().GetFormatState(); }
    const CCharFormat& CharAt(int index) const { return body().GetItem(index)->GetFormat(); }

    // A new main document holding the text with the first `selected` characters selected.
    void Reset(plat::StringView text = u"Hello world", int selected = 5)
    {
        doc().FileNew();
        body().SetCaret(CTextPos(0, body().GetName()));
        body().InsertItemsAtCaret(text);
        body().RelayoutWhole();
        Select(0, selected);
        doc().ClearUndo();
        doc().SetModified(false);
        plat::PumpMessages();
    }
    void Select(int from, int to)
    {
        body().SetSelection(CTextPos(to, body().GetName()), CTextPos(from, body().GetName()));
        state().SetFocusObject(&body());
    }

    void Send(unsigned id) { plat::SendMessage(m_frame.get(), plat::kWmCommand, plat::MakeWParam(id, 0), 0); }
    // The item's state as the update handlers give it; nullopt fields when none set them.
    plat::CommandUi Update(unsigned id)
    {
        plat::CommandUi ui(id);
        m_frame->RouteUpdate(ui);
        return ui;
    }
    bool Enabled(unsigned id) { return Update(id).Enabled().value_or(true); }
    bool Checked(unsigned id) { return Update(id).Checked().value_or(0) != 0; }

    // Runs the command that opens a popup and returns the menu as it was tracked (items
    // after the update handlers ran) and where; the popup is cancelled.
    struct Tracked {
        std::vector<std::string> rows;
        plat::Point at;
    };
    Tracked TrackPopup(unsigned id)
    {
        Tracked out;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            if (run.kind != plat::ModalKind::kPopupMenu || !run.menu) return std::nullopt;
            out.at = run.point;
            for (int i = 0; i < run.menu->GetItemCount(); ++i) {
                const plat::Menu::Item* item = run.menu->GetItem(i);
                if (item->flags & plat::kMfSeparator) {
                    out.rows.push_back("-");
                    continue;
                }
                std::string row = std::to_string(item->id) + " " + plat::Utf16ToUtf8(item->text);
                if (item->flags & plat::kMfGrayed) row += " (grey)";
                if (item->flags & plat::kMfChecked) row += " (checked)";
                out.rows.push_back(row);
            }
            return 0;
        });
        Send(id);
        return out;
    }
};

// Each command on an editable and on a read-only main document: whether its item is
// enabled and whether the command acts.
struct CommandCase {
    const char* name;
    unsigned id;
    std::function<void(FrameCommandsTest&)> prepare; // before the document turns read-only
    std::function<bool(FrameCommandsTest&)> acted;   // null: the command is not sent
    std::optional<bool> enabledEditable;             // nullopt: the update gives no state
    std::optional<bool> enabledReadOnly;
    bool actsReadOnly = false;
};

using T = FrameCommandsTest;

const std::vector<CommandCase>& CommandCases()
{
    static const std::vector<CommandCase> cases = {
        {"undo", 57643, [](T& t) { t.doc().SetCharBold(1); },
         [](T& t) { return t.CharAt(0).m_bold == 0; }, true, false},
        {"redo", 57644,
         [](T& t) {
             t.doc().SetCharBold(1);
             t.doc().EditUndo();
         },
         [](T& t) { return t.CharAt(0).m_bold == 1; }, true, false},
        {"delete", 35010, {}, [](T& t) { return t.Text() == " world"; }, true, false},
        {"cut", 57635, [](T&) { plat::ResetClipboard(); }, [](T& t) { return t.Text() == " world"; }, true, false},
        {"copy", 57634, [](T&) { plat::ResetClipboard(); },
         [](T&) { return plat::IsClipboardFormatAvailable(plat::kCfUnicodeText); }, true, true, true},
        {"paste", 57637,
         [](T&) {
             plat::ResetClipboard();
             plat::OpenClipboard(nullptr);
             plat::SetClipboardData(plat::kCfUnicodeText, plat::UnicodeTextToBytes(u"Bye"));
             plat::CloseClipboard();
         },
         [](T& t) { return t.Text() == "Bye world"; }, true, false},
        {"select all", 35011, [](T& t) { t.Select(3, 3); },
         [](T& t) { return t.body().HasSelection() && t.body().GetCaretPos().m_index != 3; }, true, true, true},
        {"find", 57636, {}, {}, true, true},
        {"replace", 57641, {}, {}, true, false},
        {"find popup", 32787, {}, {}, true, true},
        {"bold", 35065, {}, [](T& t) { return t.CharAt(0).m_bold == 1 && t.CharAt(5).m_bold == 0; }, true, false},
        {"italic", 35066, {}, [](T& t) { return t.CharAt(4).m_italic == 1; }, true, false},
        {"underline button", 35067, {}, [](T& t) { return t.CharAt(0).m_underline == 1; }, true, false},
        {"double underline", 35069, {}, [](T& t) { return t.CharAt(0).m_underline == 2; }, true, false},
        {"character colour", 35071, [](T& t) { t.frame().SetCharColor(0x0000FF); },
         [](T& t) { return t.CharAt(0).m_color == 0x0000FF; }, true, false},
        {"superscript", 35073, {}, [](T& t) { return t.CharAt(0).m_position == 1; }, std::nullopt, std::nullopt},
        {"symbol", 40001, {}, [](T& t) { return t.Text() != "Hello world"; }, std::nullopt, std::nullopt},
        {"centre", 35083, {}, [](T& t) { return t.state().m_paraFormat.m_align == 3; }, true, false},
        {"right", 35084, {}, [](T& t) { return t.state().m_paraFormat.m_align == 2; }, true, false},
        {"one-and-a-half spacing", 35090, {}, [](T& t) { return t.state().m_paraFormat.m_spacing == 5; }, true,
         false},
        {"increase indent", 35092, {}, [](T& t) { return t.state().m_paraFormat.m_leftIndent > 0; }, true, false},
        {"decrease indent", 35093, [](T& t) { t.doc().SetParaIndents(840, 840, 0); },
         [](T& t) { return t.state().m_paraFormat.m_leftIndent == 420; }, true, false},
        {"ruler", 35022, {}, [](T& t) { return !t.frame().GetMainView()->IsRulerShown(); }, true, false},
        {"format bar", 35021, {}, [](T& t) { return !t.frame().GetFormatBar()->IsWindowVisible(); }, true, false},
        {"extension bar", 35023, {}, [](T& t) { return !t.frame().GetExtensionBar()->IsWindowVisible(); }, true,
         false},
        {"spelling marks", 37911, {}, [](T& t) { return t.frame().IsSpellMarks(); }, std::nullopt, std::nullopt,
         true},
        {"show revisions", 32771, [](T& t) { t.doc().SetHasRevisions(true); },
         [](T& t) { return !t.doc().IsRevisionsShown(); }, true, false},
        {"show annotations", 32772, {}, [](T& t) { return !t.doc().IsAnnotationsShown(); }, std::nullopt,
         std::nullopt},
        {"zoom combo", 35037, [](T& t) { t.frame().GetZoomCombo()->SetCurSel(0); },
         [](T& t) { return t.doc().GetZoom() == 2.0; }, std::nullopt, std::nullopt},
        {"size combo", 35063,
         [](T& t) {
             plat::ComboBox& sizes = *t.frame().GetSizeCombo();
             for (int i = 0; i < sizes.GetCount(); ++i)
                 if (sizes.GetItemData(i) == 420) sizes.SetCurSel(i);
         },
         [](T& t) { return t.CharAt(0).m_size == 420 && t.CharAt(5).m_size != 420; }, std::nullopt, std::nullopt},
    };
    return cases;
}

TEST_F(FrameCommandsTest, EachCommandOnAnEditableAndAReadOnlyDocument)
{
    for (const CommandCase& c : CommandCases()) {
        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (readOnly ? " (read-only)" : " (editable)"));
            Reset();
            frame().GetFormatBar()->ShowWindow(plat::kSwShow);
            frame().GetExtensionBar()->ShowWindow(plat::kSwShow);
            frame().GetMainView()->ShowRuler(true);
            frame().SetSpellMarks(false);
            doc().SetRevisionsShown(true);
            doc().SetAnnotationsShown(true);
            if (c.prepare) c.prepare(*this);
            doc().SetReadOnly(readOnly);
            const plat::CommandUi ui = Update(c.id);
            const std::optional<bool> expected = readOnly ? c.enabledReadOnly : c.enabledEditable;
            EXPECT_EQ(ui.Enabled(), expected);
            if (!c.acted) continue;
            ASSERT_FALSE(c.acted(*this)) << "so before the command";
            Send(c.id);
            plat::PumpMessages();
            EXPECT_EQ(c.acted(*this), !readOnly || c.actsReadOnly);
        }
    }
}

TEST_F(FrameCommandsTest, OnlyAChoiceInAComboIsItsCommand)
{
    plat::ComboBox& sizes = *frame().GetSizeCombo();
    int big = -1;
    for (int i = 0; i < sizes.GetCount(); ++i)
        if (sizes.GetItemData(i) == 420) big = i;
    ASSERT_GE(big, 0);
    sizes.SetCurSel(big);
    const auto notify = [&](unsigned code) {
        plat::SendMessage(m_frame.get(), plat::kWmCommand, plat::MakeWParam(CQlMain::kCmdSizeCombo, code),
                          reinterpret_cast<plat::LParam>(&sizes));
    };
    notify(plat::kCbnDropDown);
    notify(plat::kCbnCloseUp);
    // The same from the combo itself, through the bar it sits on.
    sizes.ShowDropDown(true);
    sizes.ShowDropDown(false);
    plat::PumpMessages();
    EXPECT_EQ(CharAt(0).m_size, 210);
    EXPECT_FALSE(doc().CanUndo());
    notify(plat::kCbnSelChange);
    EXPECT_EQ(CharAt(0).m_size, 420);
    EXPECT_EQ(CharAt(5).m_size, 210) << "the selection only";
}

TEST_F(FrameCommandsTest, BarTooltipsAreTheCommandStringsAfterTheLineBreak)
{
    for (const auto& [id, text] : std::vector<std::pair<int, plat::String>>{
             {57643, u"撤消"}, {32787, u"查找/替换"}, {35011, u""}}) {
        plat::ToolTipTextRequest request;
        request.header.idFrom = id;
        request.header.code = plat::kTtnNeedText;
        request.text = u"stale";
        EXPECT_EQ(plat::SendMessage(m_frame.get(), plat::kWmNotify, 0, reinterpret_cast<plat::LParam>(&request)), 1);
        EXPECT_EQ(request.text, text) << id;
    }
}

TEST_F(FrameCommandsTest, TheIdleTickGivesTheBarButtonsTheirState)
{
    CToolBarEx& bar = *frame().GetFormatBar();
    const auto style = [&bar](unsigned id) { return bar.GetButtonStyle(bar.CommandToIndex(static_cast<int>(id))); };
    constexpr unsigned kDisabled = 0x40000;
    constexpr unsigned kChecked = 0x10000;
    Send(35065);
    plat::AdvanceClock(CQlMain::kIdlePeriodMs);
    plat::PumpMessages();
    EXPECT_EQ(style(35065) & (kDisabled | kChecked), kChecked) << "bold, checked";
    EXPECT_EQ(style(57643) & kDisabled, 0u) << "undo";
    EXPECT_EQ(style(57644) & kDisabled, kDisabled) << "redo";

    doc().SetReadOnly(true);
    plat::AdvanceClock(CQlMain::kIdlePeriodMs);
    plat::PumpMessages();
    for (const unsigned id : {35065u, 57643u, 35080u, 35092u, 32770u, 35020u})
        EXPECT_EQ(style(id) & kDisabled, kDisabled) << id;
    EXPECT_EQ(style(32787) & kDisabled, 0u) << "find stays";
}

TEST_F(FrameCommandsTest, ReferenceSelectAllFollowsTheMainDocumentsReadOnlyFlag)
{
    CQlDoc& reference = *frame().GetReferenceDoc();
    CDocBody& text = *reference.GetBody();
    text.SetCaret(CTextPos(0, text.GetName()));
    text.InsertItemsAtCaret(u"reference");
    EXPECT_TRUE(Enabled(35013));
    Send(35013);
    EXPECT_TRUE(text.HasSelection());

    text.SetCaret(CTextPos(0, text.GetName()));
    doc().SetReadOnly(true);
    EXPECT_FALSE(Enabled(35013));
    Send(35013);
    EXPECT_FALSE(text.HasSelection());
}

TEST_F(FrameCommandsTest, ChoosingTheUnderlineKindInForceRemovesTheUnderline)
{
    for (const unsigned id : {35068u, 35069u, 35070u}) {
        SCOPED_TRACE(id);
        const std::uint8_t kind = static_cast<std::uint8_t>(id - 35067);
        Reset();
        EXPECT_FALSE(Checked(id));
        Send(id);
        EXPECT_EQ(CharAt(0).m_underline, kind);
        EXPECT_TRUE(Checked(id));
        EXPECT_TRUE(Checked(35067)) << "the underline button shows any kind";
        Send(id);
        EXPECT_EQ(CharAt(0).m_underline, 0);
        EXPECT_FALSE(Checked(id));
        EXPECT_FALSE(Checked(35067));
    }
    // The button itself switches any kind off, and single underline on.
    Reset();
    Send(35070);
    Send(35067);
    EXPECT_EQ(CharAt(0).m_underline, 0);
    Send(35067);
    EXPECT_EQ(CharAt(0).m_underline, 1);
}

TEST_F(FrameCommandsTest, IndentStepsStayInsideTheTextAreaAndAboveZero)
{
    const int width = doc().GetTextAreaSize().cx;
    const int step = 2 * state().m_charFormat.m_size;
    ASSERT_GT(step, 0);
    // A right indent that leaves exactly three steps: the third would touch the edge.
    const int right = width - 3 * step;
    doc().SetParaIndents(0, 0, right);
    std::vector<int> lefts;
    for (int i = 0; i < 4; ++i) {
        Send(35092);
        const CParaFormat& para = state().m_paraFormat;
        EXPECT_LT(para.m_firstIndent, width - right);
        EXPECT_LT(para.m_leftIndent, width - right);
        EXPECT_EQ(para.m_rightIndent, right);
        lefts.push_back(para.m_leftIndent);
    }
    EXPECT_EQ(lefts, (std::vector<int>{step, 2 * step, 2 * step, 2 * step}));
    // The first-line indent stops by itself where it would pass the edge.
    doc().SetParaIndents(2 * step, 0, right);
    Send(35092);
    EXPECT_EQ(state().m_paraFormat.m_firstIndent, 2 * step);
    EXPECT_EQ(state().m_paraFormat.m_leftIndent, step);

    std::vector<int> firsts;
    for (int i = 0; i < 4; ++i) {
        Send(35093);
        firsts.push_back(state().m_paraFormat.m_firstIndent);
    }
    EXPECT_EQ(firsts, (std::vector<int>{step, 0, 0, 0}));
    EXPECT_EQ(state().m_paraFormat.m_leftIndent, 0);
    doc().SetParaIndents(step / 2, 0, 0);
    Send(35093);
    EXPECT_EQ(state().m_paraFormat.m_firstIndent, 0) << "a part step ends at 0, not below";
}

TEST_F(FrameCommandsTest, IndentCommandsAreDisabledWhileAnObjectIsSelected)
{
    EXPECT_TRUE(Enabled(35092));
    auto object = std::make_unique<PlainObject>(&doc());
    object->m_bounds = plat::Rect(0, 3000, 1000, 4000);
    object->SetSelected(true);
    body().AddObject(std::move(object));
    EXPECT_FALSE(Enabled(35092));
    EXPECT_FALSE(Enabled(35093));
}

TEST_F(FrameCommandsTest, PlacementCommandsActOnTheSelectedObject)
{
    for (unsigned id = kCmdMoveUpLayer; id <= kCmdObjectProperties; ++id) EXPECT_FALSE(Enabled(id)) << id;
    auto made = std::make_unique<PlainObject>(&doc());
    made->m_bounds = plat::Rect(0, 3000, 1000, 4000);
    made->SetSelected(true);
    CFloatObject* object = body().AddObject(std::move(made));
    for (unsigned id = kCmdMoveUpLayer; id <= kCmdObjectProperties; ++id) EXPECT_TRUE(Enabled(id)) << id;
    struct Step {
        unsigned id;
        int layer;
    };
    for (const Step& step : {Step{kCmdMoveToTop, 4}, Step{kCmdMoveDownLayer, 3}, Step{kCmdMoveToBottom, 0},
                             Step{kCmdMoveUpLayer, 1}}) {
        Send(step.id);
        EXPECT_EQ(object->m_layer, step.layer) << step.id;
    }
    EXPECT_TRUE(doc().IsModified());
    // A read-only document: the items are disabled and the commands do nothing.
    doc().SetReadOnly(true);
    EXPECT_FALSE(Enabled(kCmdMoveToTop));
    Send(kCmdMoveToTop);
    EXPECT_EQ(object->m_layer, 1);
}

// "ab cd|  ef gh": a0 b1 _2 c3 d4 |5 _6 _7 e8 f9 _10 g11 h12, the final end at 13.
TEST_F(FrameCommandsTest, WordCountShowsThePositionAndParagraphRowsThenFocusesTheView)
{
    Reset(u"ab cd\r  ef gh", 0);
    ASSERT_EQ(body().GetCount(), 14);
    SetCaret(10);
    InstallWordCountDialog(m_frame.get());
    const auto send = [this] {
        std::vector<std::vector<std::string>> rows;
        plat::AnswerNextModal([&rows](const plat::ModalRecord& run) -> std::optional<int> {
            plat::Dialog* d = plat::DialogOf(run);
            if (!d || d->GetTemplate().id != kIddTextCount) return std::nullopt;
            const auto* list = d->GetItem<plat::ListView>(kIdcTextCountList);
            for (int row = 0; list && row < list->GetItemCount(); ++row) {
                rows.emplace_back();
                for (int column = 0; column < list->GetColumnCount(); ++column)
                    rows.back().push_back(plat::Utf16ToUtf8(list->GetItemText(row, column)));
            }
            d->PressButton(plat::kIdOk);
            return std::nullopt;
        });
        plat::SetFocus(&m_host);
        Send(37920);
        plat::PumpMessages();
        plat::ClearModalAnswers();
        return rows;
    };
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_TRUE(Enabled(37920));
    EXPECT_EQ(send(), (Rows{{"当前位置", "0", "6", "3", "1", "0", "1"}, {"当前段落", "0", "4", "2", "1", "0", "0"}}));
    EXPECT_EQ(plat::GetFocus(), frame().GetMainView()) << "the main view has the focus afterwards";

    Select(3, 9);
    EXPECT_EQ(send(), (Rows{{"当前选择", "0", "3", "2", "0", "0", "1"}})) << "c, d, the end, two spaces, e";

    // Refused while the document is read-only, and while a selected object takes no text.
    doc().SetReadOnly(true);
    EXPECT_FALSE(Enabled(37920));
    EXPECT_EQ(send(), Rows{});
    doc().SetReadOnly(false);
    auto object = std::make_unique<PlainObject>(&doc());
    object->m_bounds = plat::Rect(0, 3000, 1000, 4000);
    object->SetSelected(true);
    body().AddObject(std::move(object));
    EXPECT_FALSE(Enabled(37920));
    SetWordCountDialog({});
}

TEST_F(FrameCommandsTest, BoldTogglesAndItsCheckFollowsTheCaret)
{
    EXPECT_FALSE(Checked(35065));
    Send(35065);
    EXPECT_EQ(CharAt(0).m_bold, 1);
    EXPECT_TRUE(Checked(35065));
    plat::SetFocus(&canvas());
    // Into the plain word, then back into the bold one.
    plat::PressKey(plat::kVkEnd);
    plat::PumpMessages();
    EXPECT_FALSE(Checked(35065));
    plat::PressKey(plat::kVkHome);
    plat::PressKey(plat::kVkRight);
    plat::PressKey(plat::kVkRight);
    plat::PumpMessages();
    EXPECT_TRUE(Checked(35065));
    // Bold again over the whole selection takes it off.
    Select(0, 5);
    Send(35065);
    EXPECT_EQ(CharAt(0).m_bold, 0);
    EXPECT_FALSE(Checked(35065));
}

TEST_F(FrameCommandsTest, FormatCommandsAndTheCombosFollowWhetherTheSelectionTakesFormats)
{
    const auto combosEnabled = [this] {
        return std::vector<bool>{frame().GetChineseFontCombo()->IsWindowEnabled(),
                                 frame().GetWesternFontCombo()->IsWindowEnabled(),
                                 frame().GetSizeCombo()->IsWindowEnabled()};
    };
    EXPECT_TRUE(Enabled(35065));
    EXPECT_EQ(combosEnabled(), std::vector<bool>(3, true));
    auto object = std::make_unique<PlainObject>(&doc());
    object->m_bounds = plat::Rect(0, 3000, 1000, 4000);
    object->SetSelected(true);
    body().AddObject(std::move(object));
    ASSERT_FALSE(doc().SelectionAcceptsFormat());
    for (const unsigned id : {35065u, 35066u, 35067u, 35068u, 35071u, 35080u, 35083u, 35085u, 35089u}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(Enabled(id));
    }
    EXPECT_EQ(combosEnabled(), std::vector<bool>(3, false));
    body().DeselectAll();
    doc().SetReadOnly(true);
    EXPECT_FALSE(Enabled(35065));
    EXPECT_EQ(combosEnabled(), std::vector<bool>(3, false));
}

TEST_F(FrameCommandsTest, AlignmentAndSpacingItemsAreCheckedByTheCodeInForce)
{
    struct Row {
        unsigned id;
        bool alignment;
        std::uint8_t code;
    } const rows[] = {
        {35081, true, 4}, {35082, true, 1}, {35083, true, 3}, {35084, true, 2},
        {35086, false, 1}, {35087, false, 2}, {35088, false, 3}, {35089, false, 4}, {35090, false, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        Send(row.id);
        const CParaFormat& para = state().m_paraFormat;
        EXPECT_EQ(row.alignment ? para.m_align : para.m_spacing, row.code);
        for (const Row& other : rows)
            if (other.alignment == row.alignment) {
                EXPECT_EQ(Checked(other.id), other.id == row.id) << other.id;
            }
    }
    // The buttons apply the code in force again, to a new selection.
    Select(6, 11);
    Send(35080);
    Send(35085);
    EXPECT_EQ(state().m_paraFormat.m_align, 2);
    EXPECT_EQ(state().m_paraFormat.m_spacing, 5);
}

TEST_F(FrameCommandsTest, CreationToolButtonsAreCheckedWhileTheirKindIsPending)
{
    const unsigned tools[] = {35041, 35042, 35043, 35046, 35044, 33271};
    const std::uint16_t types[] = {kNodeImage, kNodeVideo, kNodeAudio, kNodeChart, kNodeTable, kNodeTextShape};
    for (size_t k = 0; k < std::size(types); ++k) {
        SCOPED_TRACE(tools[k]);
        state().SetCreationTracker(std::make_unique<PendingTool>(types[k]));
        for (size_t j = 0; j < std::size(tools); ++j) EXPECT_EQ(Checked(tools[j]), j == k) << tools[j];
    }
    state().DeleteCreationTracker();
    // Enabled where the command exists: not yet for the picture, video and audio buttons,
    // which open their dialogs first.
    for (size_t j = 0; j < std::size(tools); ++j) EXPECT_EQ(Enabled(tools[j]), j >= 3) << tools[j];
    doc().SetReadOnly(true);
    for (const unsigned id : tools) EXPECT_FALSE(Enabled(id));
}

TEST_F(FrameCommandsTest, ReferencePaneItemNeedsAnOpenReference)
{
    frame().ShowReferencePane(false);
    EXPECT_FALSE(Enabled(35024));
    EXPECT_FALSE(Checked(35024));
    frame().SetReferenceOpen(true);
    EXPECT_TRUE(Enabled(35024));
    Send(35024);
    EXPECT_TRUE(frame().IsReferencePaneShown());
    EXPECT_TRUE(Checked(35024));
    // The pane's item does not follow the main document's read-only flag.
    doc().SetReadOnly(true);
    EXPECT_TRUE(Enabled(35024));
    Send(35024);
    EXPECT_FALSE(frame().IsReferencePaneShown());
}

TEST_F(FrameCommandsTest, PopupsShowTheStateAndOpenUnderTheirButton)
{
    frame().ShowReferencePane(false);
    frame().GetFormatBar()->ShowWindow(plat::kSwShow);
    frame().GetExtensionBar()->ShowWindow(plat::kSwHide);
    frame().GetMainView()->ShowRuler(true);
    frame().SetSpellMarks(false);
    const Tracked view = TrackPopup(35020);
    EXPECT_EQ(view.rows, (std::vector<std::string>{"35022 标尺 (checked)", "-", "35023 扩展工具栏", "-",
                                                   "35024 参考文档 (grey)", "-", "37911 拼写检查"}));
    CToolBarEx& bar = *frame().GetFormatBar();
    plat::Rect button;
    bar.GetItemRect(bar.CommandToIndex(35020), button);
    EXPECT_EQ(view.at, bar.ClientToScreen(plat::Point(button.left, button.bottom)));

    doc().SetHasRevisions(false);
    doc().SetRevisionsShown(true);
    doc().SetAnnotationsShown(false);
    const Tracked revisions = TrackPopup(32770);
    EXPECT_EQ(revisions.rows,
              (std::vector<std::string>{"32771 隐藏修订 (grey)", "-", "32772 显示批注", "-", "32773 插入批注"}));

    const Tracked find = TrackPopup(32787);
    EXPECT_EQ(find.rows, (std::vector<std::string>{"57636 查找", "-", "57641 替换"}));
    // The find popup opens on a read-only document too, with replace grayed; the other two
    // do not open. With the format bar hidden the popup opens at the origin.
    doc().SetReadOnly(true);
    frame().GetFormatBar()->ShowWindow(plat::kSwHide);
    const Tracked readOnlyFind = TrackPopup(32787);
    EXPECT_EQ(readOnlyFind.rows, (std::vector<std::string>{"57636 查找", "-", "57641 替换 (grey)"}));
    EXPECT_EQ(readOnlyFind.at, plat::Point(0, 0));
    EXPECT_TRUE(TrackPopup(35020).rows.empty());
    EXPECT_TRUE(TrackPopup(32770).rows.empty());
}

TEST_F(FrameCommandsTest, ZoomComboSendsTheZoomCommandOfItsItem)
{
    plat::ComboBox& zoom = *frame().GetZoomCombo();
    ASSERT_EQ(zoom.GetCount(), 7);
    const double zooms[] = {2.0, 1.5, 1.25, 1.0, 0.75, 0.5, 0.25};
    for (int i = 6; i >= 0; --i) {
        zoom.SetCurSel(i);
        Send(CQlMain::kCmdZoomCombo);
        EXPECT_EQ(doc().GetZoom(), zooms[i]) << i;
    }
    EXPECT_EQ(plat::GetFocus(), &m_host) << "the keyboard goes back to the control";
}

// The sentence checker's dialogs, answering nothing: a run that finds no error never asks.
class NoDialogs : public CSpellCheckUi {
public:
    int AskWord(const plat::String&, const std::vector<plat::String>&, plat::Point&, plat::String&) override
    {
        ++asked;
        return kWordExit;
    }
    int AskSentence(const plat::String&, const std::vector<plat::String>&, plat::Point&, plat::String&) override
    {
        ++asked;
        return kSentenceExit;
    }
    int asked = 0;
};

TEST_F(FrameCommandsTest, SpellCheckRunsWithTheInstalledDialogs)
{
    EXPECT_FALSE(Enabled(37900)) << "nothing to ask the user with";
    Send(37900);
    EXPECT_TRUE(plat::GetMessageBoxLog().empty());

    NoDialogs dialogs;
    frame().SetSpellCheckUi(&dialogs);
    EXPECT_TRUE(Enabled(37900));
    // No checker library at the path: the run finds nothing and says so.
    frame().SetSentenceCheckerPath(u"/nonexistent/checker.so");
    Send(37900);
    ASSERT_EQ(plat::GetMessageBoxLog().size(), 1u);
    EXPECT_EQ(plat::GetMessageBoxLog()[0].text, u"拼写检查完成。");
    EXPECT_EQ(dialogs.asked, 0);

    plat::ClearModalLog();
    doc().SetReadOnly(true);
    EXPECT_FALSE(Enabled(37900));
    Send(37900);
    EXPECT_TRUE(plat::GetMessageBoxLog().empty());
    frame().SetSpellCheckUi(nullptr);
}

// The table commands reach the selected table: the split and the border dialogs run from
// their items, which are disabled without a table.
TEST_F(FrameCommandsTest, TableCommandsRunOnTheSelectedTable)
{
    RegisterTableKind();
    struct Case {
        const char* what;
        unsigned id;
        std::function<void(plat::Dialog&)> answer; // null: no dialog
        std::function<bool(const CTableGrid&)> done;
    };
    const Case cases[] = {
        {"split", 37808, [](plat::Dialog& d) { EXPECT_TRUE(d.ChooseRow(kIdcSplitColumns, u"2")); },
         [](const CTableGrid& g) { return g.GetColumns() == 3; }},
        {"borders", 37814,
         [](plat::Dialog& d) {
             EXPECT_TRUE(d.PressButton(kIdcBorderTop));
             EXPECT_TRUE(d.ChooseRow(kIdcBorderStyleList, u"LNSTYLE_NONE"));
         },
         [](const CTableGrid& g) { return g.GetHorizontalLine(0, 0)->m_style == kLineNone; }},
        {"insert row", 37801, {}, [](const CTableGrid& g) { return g.GetRows() == 3; }},
        {"bottom alignment", 37813, {}, [](const CTableGrid& g) { return g.GetCell(0, 0)->m_verticalAlign == 64; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        EXPECT_FALSE(Enabled(c.id)) << "no table selected";
        auto made = std::make_unique<CTableObject>(&doc(), nullptr);
        made->CreateGrid(2, 2);
        made->m_bounds = plat::Rect(2000, 3000, 2000 + made->m_width, 3000 + made->m_height);
        made->RecalcLayout();
        made->SetSelected(true);
        auto* table = static_cast<CTableObject*>(body().AddObject(std::move(made)));
        state().m_currentCell = state().m_rangeEndCell = CCellPos(0, 0);
        EXPECT_TRUE(Enabled(c.id));
        if (c.answer) {
            plat::AnswerNextModal([answer = c.answer](const plat::ModalRecord& run) -> std::optional<int> {
                plat::Dialog* d = plat::DialogOf(run);
                if (!d) return plat::kIdCancel;
                answer(*d);
                d->PressButton(plat::kIdOk);
                return std::nullopt;
            });
        }
        Send(c.id);
        EXPECT_EQ(plat::PendingModalAnswers(), 0u);
        EXPECT_TRUE(c.done(*table->GetGrid()));
        EXPECT_TRUE(doc().CanUndo());
        doc().SetReadOnly(true);
        EXPECT_FALSE(Enabled(c.id)) << "read-only";
        doc().SetReadOnly(false);
    }
    plat::ClearModalAnswers();
    UnregisterDocObjects();
}

// The frame's spelling engine marks "recieve" while the marks are on.
class FrameSpellingTest : public FrameCommandsTest {
protected:
    void SetUp() override
    {
        FrameCommandsTest::SetUp();
        ASSERT_TRUE(frame().GetSpellEngine().IsBound()) << "the spelling library of bin/";
        Reset(u"I recieve it", 0);
        plat::SetFocus(&canvas());
    }
    bool WordMarked() const { return body().GetItem(4)->GetMisspelt() != nullptr; }
    void Paint()
    {
        canvas().RequestRepaint();
        plat::PumpMessages();
    }
};

TEST_F(FrameSpellingTest, MarksToggleClearsTheMarksAndRepaints)
{
    Send(37911);
    EXPECT_TRUE(frame().IsSpellMarks());
    EXPECT_TRUE(Checked(37911));
    EXPECT_TRUE(canvas().NeedsPaint());
    plat::PumpMessages();
    EXPECT_TRUE(WordMarked()) << "marked by the paint";

    Send(37911);
    EXPECT_FALSE(frame().IsSpellMarks());
    EXPECT_FALSE(Checked(37911));
    EXPECT_FALSE(WordMarked());
    EXPECT_TRUE(canvas().NeedsPaint());
    Paint();
    EXPECT_FALSE(WordMarked()) << "no marks come back while the flag is off";
}

TEST_F(FrameSpellingTest, ASuggestionReplacesTheWordAsOneUndoStep)
{
    Send(37911);
    plat::PumpMessages();
    ASSERT_TRUE(WordMarked());
    const CTextItem* item = body().GetItem(4);
    const plat::Point desk(doc().TwipsToPixels(item->GetLeft() + item->GetDrawnWidth() / 2),
                           doc().TwipsToPixels(item->GetTop() + item->GetHeight() / 2));
    const plat::Point offset = canvas().GetScrollOffset();
    plat::AnswerNextModal([](const plat::ModalRecord& run) -> std::optional<int> {
        if (run.kind != plat::ModalKind::kPopupMenu || !run.menu) return std::nullopt;
        return static_cast<int>(run.menu->FindCommand(u"receive").value_or(0));
    });
    plat::PostMouseInput(m_host, plat::kWmRButtonDown,
                         canvas().ClientToScreen(plat::Point(desk.x - offset.x, desk.y - offset.y)));
    plat::PumpMessages();
    EXPECT_EQ(Text(), "I receive it");
    EXPECT_EQ(frame().GetCursorSet().GetLastCode(), 1);
    doc().EditUndo();
    EXPECT_EQ(Text(), "I recieve it");
    EXPECT_FALSE(doc().CanUndo()) << "one step";
}

} // namespace

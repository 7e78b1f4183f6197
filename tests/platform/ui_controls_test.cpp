// The standard controls on a plain parent window that logs their notifications.
#include <memory>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/tooltip.h"
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Rect;

// A parent at (100, 100) on the screen, 400 x 300, that keeps every WM_COMMAND and WM_NOTIFY
// its controls send and every WM_DRAWITEM.
class ControlsTest : public uitest::UiTest {
protected:
    struct Note {
        int id;
        unsigned code;
    };
    void SetUp() override
    {
        UiTest::SetUp();
        m_parent.m_handlers[plat::kWmCommand] = [this](plat::WParam w, plat::LParam) -> std::optional<plat::LResult> {
            m_notes.push_back({static_cast<int>(plat::LoWord(w)), plat::HiWord(w)});
            return 0;
        };
        m_parent.m_handlers[plat::kWmNotify] = [this](plat::WParam, plat::LParam l) -> std::optional<plat::LResult> {
            const auto* hdr = reinterpret_cast<const plat::NotifyHeader*>(l);
            m_notes.push_back({hdr->idFrom, static_cast<unsigned>(hdr->code)});
            if (hdr->code == plat::kLvnItemChanged) m_changes.push_back(*reinterpret_cast<const plat::ListViewNotifyInfo*>(l));
            return 0;
        };
        m_parent.m_handlers[plat::kWmDrawItem] = [this](plat::WParam, plat::LParam l) -> std::optional<plat::LResult> {
            const auto* item = reinterpret_cast<const plat::DrawItem*>(l);
            m_drawn.push_back(*item);
            item->dc->FillRect(item->rect, plat::Brush::Solid(plat::Rgb(0, 200, 0)));
            return 1;
        };
        ASSERT_TRUE(m_parent.Create(nullptr, Rect(100, 100, 500, 400), plat::kWsVisible));
    }
    int Count(int id, unsigned code) const
    {
        return static_cast<int>(std::count_if(m_notes.begin(), m_notes.end(),
                                              [&](const Note& n) { return n.id == id && n.code == code; }));
    }
    // A mouse click at a point of the control's client area.
    void Click(plat::Window& w, plat::Point p, unsigned message = plat::kWmLButtonDown)
    {
        const plat::Point screen = w.ClientToScreen(p);
        plat::PostMouseInput(m_parent, message, screen, plat::kMkLButton);
        if (message == plat::kWmLButtonDown) plat::PostMouseInput(m_parent, plat::kWmLButtonUp, screen);
        plat::PumpMessages();
    }

    uitest::TestWindow m_parent{"parent"};
    std::vector<Note> m_notes;
    std::vector<plat::ListViewNotifyInfo> m_changes;
    std::vector<plat::DrawItem> m_drawn;
};

// ---- edits ----

TEST_F(ControlsTest, EditLimitStopsTypingButNotSetText)
{
    struct Case {
        const char* what;
        int limit;            // EM_LIMITTEXT's wParam
        const char16_t* start;
        int selStart, selEnd; // before typing
        const char16_t* typed;
        const char16_t* result;
        int changes;          // EN_CHANGE from typing
        int maxText;          // EN_MAXTEXT
    };
    const Case cases[] = {
        {"room for all", 5, u"ab", 2, 2, u"cd", u"abcd", 2, 0},
        {"typing stops at the limit", 3, u"ab", 2, 2, u"cde", u"abc", 1, 2},
        {"a selection makes room", 3, u"abc", 0, 2, u"xyz", u"xyc", 2, 1},
        {"text longer than a lowered limit stays", 2, u"abcd", 4, 4, u"e", u"abcd", 0, 1},
        {"backspace is not typing past the limit", 2, u"abcd", 4, 4, u"\b", u"abc", 1, 0},
        {"0 is the largest limit", 0, u"", 0, 0, u"abcdef", u"abcdef", 6, 0},
        {"a password edit counts characters", 14, u"", 0, 0, u"口令口令口令口令口令口令口令口", u"口令口令口令口令口令口令口令", 14, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::Edit edit;
        ASSERT_TRUE(edit.Create(&m_parent, Rect(10, 10, 200, 30), plat::kWsChild | plat::kWsVisible | plat::kEsPassword, 7));
        edit.SetText(c.start);
        plat::SendMessage(&edit, plat::kEmLimitText, static_cast<plat::WParam>(c.limit));
        EXPECT_EQ(plat::SendMessage(&edit, plat::kEmGetLimitText), c.limit ? c.limit : plat::kEditLargestLimit);
        plat::SendMessage(&edit, plat::kEmSetSel, static_cast<plat::WParam>(c.selStart), c.selEnd);
        m_notes.clear();
        for (const char16_t* p = c.typed; *p; ++p) plat::SendMessage(&edit, plat::kWmChar, *p);
        EXPECT_EQ(edit.GetWindowText(), c.result);
        EXPECT_EQ(Count(7, plat::kEnChange), c.changes);
        EXPECT_EQ(Count(7, plat::kEnMaxText), c.maxText);
    }
}

TEST_F(ControlsTest, EditChangeNotificationsAndKeys)
{
    plat::Edit single, multi, digits, readOnly;
    const unsigned child = plat::kWsChild | plat::kWsVisible;
    ASSERT_TRUE(single.Create(&m_parent, Rect(10, 10, 200, 30), child, 1));
    ASSERT_TRUE(multi.Create(&m_parent, Rect(10, 40, 200, 100), child | plat::kEsMultiline | plat::kEsWantReturn, 2));
    ASSERT_TRUE(digits.Create(&m_parent, Rect(10, 110, 200, 130), child | plat::kEsNumber, 3));
    ASSERT_TRUE(readOnly.Create(&m_parent, Rect(10, 140, 200, 160), child | plat::kEsReadOnly, 4));

    single.SetText(u"初值");
    multi.SetText(u"初值");
    EXPECT_EQ(Count(1, plat::kEnChange), 1) << "a single-line edit reports WM_SETTEXT";
    EXPECT_EQ(Count(2, plat::kEnChange), 0) << "a multi-line edit does not";

    plat::SetFocus(&single);
    EXPECT_EQ(Count(1, plat::kEnSetFocus), 1);
    EXPECT_EQ(plat::GetCaretState().owner, &single);
    plat::TypeText(u"x\r\n");
    plat::PumpMessages();
    EXPECT_EQ(single.GetWindowText(), u"x初值") << "a single line takes no line break";
    plat::PressKey(plat::kVkEnd);
    plat::PressKey(plat::kVkLeft, plat::kModShift);
    plat::PumpMessages();
    EXPECT_EQ(single.GetSelStart(), 2);
    EXPECT_EQ(single.GetSelEnd(), 3);
    plat::PressKey(plat::kVkDelete);
    plat::PumpMessages();
    EXPECT_EQ(single.GetWindowText(), u"x初");

    plat::SetFocus(&multi);
    EXPECT_EQ(Count(1, plat::kEnKillFocus), 1);
    plat::SendMessage(&multi, plat::kEmSetSel, 2, 2);
    plat::TypeText(u"\r二");
    plat::PumpMessages();
    EXPECT_EQ(multi.GetWindowText(), u"初值\r\n二");
    plat::TypeText(u"\b\b");
    plat::PumpMessages();
    EXPECT_EQ(multi.GetWindowText(), u"初值") << "backspace takes a line break whole";

    plat::SetFocus(&digits);
    plat::TypeText(u"1a2-");
    plat::PumpMessages();
    EXPECT_EQ(digits.GetWindowText(), u"12");

    plat::SetFocus(&readOnly);
    plat::TypeText(u"no");
    plat::PumpMessages();
    EXPECT_EQ(readOnly.GetWindowText(), u"");
    EXPECT_EQ(Count(4, plat::kEnChange), 0);
}

TEST_F(ControlsTest, PasswordEditShowsStarsAndPaintsNoText)
{
    plat::Edit secret, shown;
    const unsigned child = plat::kWsChild | plat::kWsVisible;
    ASSERT_TRUE(secret.Create(&m_parent, Rect(10, 10, 200, 30), child | plat::kEsPassword, 1));
    ASSERT_TRUE(shown.Create(&m_parent, Rect(10, 40, 200, 60), child, 2));
    secret.SetText(u"口令ab");
    shown.SetText(u"****");
    EXPECT_EQ(secret.GetWindowText(), u"口令ab");
    EXPECT_EQ(secret.DisplayText(), u"****");
    secret.UpdateWindow();
    shown.UpdateWindow();
    const plat::Bitmap* a = secret.GetSurface();
    const plat::Bitmap* b = shown.GetSurface();
    ASSERT_TRUE(a && b);
    int inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 190; ++x) {
            ASSERT_EQ(a->GetPixel(x, y), b->GetPixel(x, y)) << x << "," << y;
            if (a->GetPixel(x, y) == plat::look::kText) ++inked;
        }
    EXPECT_GT(inked, 0) << "the stars are drawn";
}

// ---- buttons ----

TEST_F(ControlsTest, ButtonClicksByType)
{
    struct Case {
        unsigned type;
        int start;
        int clicks;
        int check; // after the clicks
    };
    const Case cases[] = {
        {plat::kBsPushButton, 0, 2, 0},      {plat::kBsCheckBox, 0, 1, 0},    {plat::kBsAutoCheckBox, 0, 1, 1},
        {plat::kBsAutoCheckBox, 1, 2, 1},    {plat::kBsAuto3State, 0, 2, 2}, {plat::kBsAuto3State, 2, 1, 0},
        {plat::kBsRadioButton, 0, 1, 0},     {plat::kBsAutoRadioButton, 0, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " from " << c.start);
        plat::Button b;
        ASSERT_TRUE(b.Create(&m_parent, Rect(10, 10, 100, 30), plat::kWsChild | plat::kWsVisible | c.type, 9));
        b.SetCheck(c.start);
        m_notes.clear();
        for (int i = 0; i < c.clicks; ++i) plat::SendMessage(&b, plat::kBmClick);
        EXPECT_EQ(plat::SendMessage(&b, plat::kBmGetCheck), c.check);
        EXPECT_EQ(Count(9, plat::kBnClicked), c.clicks);
        b.EnableWindow(false);
        EXPECT_FALSE(b.Click());
        EXPECT_EQ(Count(9, plat::kBnClicked), c.clicks) << "a disabled button is not clicked";
    }
}

TEST_F(ControlsTest, AutoRadioButtonsClearOnlyTheirGroup)
{
    plat::Button a1, a2, a3, b1, b2;
    const unsigned radio = plat::kWsChild | plat::kWsVisible | plat::kBsAutoRadioButton;
    ASSERT_TRUE(a1.Create(&m_parent, Rect(0, 0, 50, 20), radio | plat::kWsGroup, 1));
    ASSERT_TRUE(a2.Create(&m_parent, Rect(0, 20, 50, 40), radio, 2));
    ASSERT_TRUE(a3.Create(&m_parent, Rect(0, 40, 50, 60), radio, 3));
    ASSERT_TRUE(b1.Create(&m_parent, Rect(60, 0, 110, 20), radio | plat::kWsGroup, 4));
    ASSERT_TRUE(b2.Create(&m_parent, Rect(60, 20, 110, 40), radio, 5));
    EXPECT_EQ(plat::RadioGroupOf(a2), (std::vector<plat::Button*>{&a1, &a2, &a3}));
    EXPECT_EQ(plat::RadioGroupOf(b2), (std::vector<plat::Button*>{&b1, &b2}));
    a1.Click();
    b2.Click();
    a3.Click();
    EXPECT_EQ(a1.GetCheck(), 0);
    EXPECT_EQ(a2.GetCheck(), 0);
    EXPECT_EQ(a3.GetCheck(), 1);
    EXPECT_EQ(b1.GetCheck(), 0);
    EXPECT_EQ(b2.GetCheck(), 1) << "the other group keeps its choice";
}

TEST_F(ControlsTest, MouseClickNeedsPressAndReleaseOverTheButton)
{
    plat::Button b;
    ASSERT_TRUE(b.Create(&m_parent, Rect(10, 10, 100, 40), plat::kWsChild | plat::kWsVisible, 9));
    Click(b, plat::Point(20, 10));
    EXPECT_EQ(Count(9, plat::kBnClicked), 1);
    EXPECT_EQ(plat::GetFocus(), &b);
    // Pressed over it, released elsewhere: no click, and the button is up again.
    plat::PostMouseInput(m_parent, plat::kWmLButtonDown, b.ClientToScreen(plat::Point(20, 10)), plat::kMkLButton);
    plat::PumpMessages();
    EXPECT_TRUE(b.IsPushed());
    plat::PostMouseInput(m_parent, plat::kWmMouseMove, b.ClientToScreen(plat::Point(200, 10)), plat::kMkLButton);
    plat::PumpMessages();
    EXPECT_FALSE(b.IsPushed());
    plat::PostMouseInput(m_parent, plat::kWmLButtonUp, b.ClientToScreen(plat::Point(200, 10)));
    plat::PumpMessages();
    EXPECT_EQ(Count(9, plat::kBnClicked), 1);
    EXPECT_EQ(plat::GetCapture(), nullptr);
}

TEST_F(ControlsTest, CheckMarkAndOwnerDrawnButtonPaint)
{
    plat::Button check, owner;
    ASSERT_TRUE(check.Create(&m_parent, Rect(10, 10, 100, 30), plat::kWsChild | plat::kWsVisible | plat::kBsAutoCheckBox, 1));
    ASSERT_TRUE(owner.Create(&m_parent, Rect(10, 40, 100, 70), plat::kWsChild | plat::kWsVisible | plat::kBsOwnerDraw, 2));
    auto inkInMark = [&] {
        check.UpdateWindow();
        int ink = 0;
        for (int y = 4; y < 16; ++y)
            for (int x = 1; x < 12; ++x)
                if (check.GetSurface()->GetPixel(x, y) == plat::look::kText) ++ink;
        return ink;
    };
    EXPECT_EQ(inkInMark(), 0);
    check.Click();
    EXPECT_GT(inkInMark(), 4) << "the tick";
    owner.UpdateWindow();
    ASSERT_EQ(m_drawn.size(), 1u);
    EXPECT_EQ(m_drawn[0].ctlId, 2);
    EXPECT_EQ(m_drawn[0].item, &owner);
    EXPECT_EQ(m_drawn[0].rect, owner.GetClientRect());
    EXPECT_EQ(owner.GetSurface()->GetPixel(45, 15), plat::Rgb(0, 200, 0));
}

// ---- list and combo boxes ----

TEST_F(ControlsTest, ListBoxRowsSelectionAndNotifications)
{
    plat::ListBox list;
    ASSERT_TRUE(list.Create(&m_parent, Rect(10, 10, 150, 150),
                            plat::kWsChild | plat::kWsVisible | plat::kLbsSort | plat::kLbsNotify, 5));
    for (const char16_t* s : {u"丙", u"甲", u"乙", u"b", u"a"}) list.AddString(s);
    std::vector<plat::String> rows;
    for (int i = 0; i < list.GetCount(); ++i) rows.push_back(list.GetText(i));
    EXPECT_EQ(rows, (std::vector<plat::String>{u"a", u"b", u"丙", u"乙", u"甲"})) << "sorted by code";
    EXPECT_EQ(list.FindStringExact(u"乙"), 3);
    EXPECT_EQ(list.FindStringExact(u"丁"), plat::kLbErr);

    list.SetCurSel(2);
    EXPECT_EQ(Count(5, plat::kLbnSelChange), 0) << "code sets the selection quietly";
    const int h = list.GetItemHeight();
    Click(list, plat::Point(20, 1 + h * 4 + h / 2));
    EXPECT_EQ(list.GetCurSel(), 4);
    EXPECT_EQ(Count(5, plat::kLbnSelChange), 1);
    plat::PressKey(plat::kVkUp);
    plat::PumpMessages();
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_EQ(Count(5, plat::kLbnSelChange), 2);
    Click(list, plat::Point(20, 140));
    EXPECT_EQ(list.GetCurSel(), 3) << "a click below the rows selects nothing";

    list.DeleteString(0);
    EXPECT_EQ(list.GetCurSel(), 2) << "the selection follows its row";
    list.DeleteString(2);
    EXPECT_EQ(list.GetCurSel(), -1);
}

TEST_F(ControlsTest, DropDownListPicksFromItsListAndNotifies)
{
    plat::ComboBox combo;
    ASSERT_TRUE(combo.Create(&m_parent, Rect(10, 10, 150, 32), plat::kWsChild | plat::kWsVisible | plat::kCbsDropDownList, 6));
    for (const char16_t* s : {u"小", u"中", u"大"}) combo.AddString(s);
    combo.SetCurSel(0);
    EXPECT_EQ(combo.GetWindowText(), u"小");
    EXPECT_EQ(Count(6, plat::kCbnSelChange), 0);

    plat::SetFocus(&combo);
    plat::PressKey(plat::kVkDown);
    plat::PumpMessages();
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(Count(6, plat::kCbnSelChange), 1);

    Click(combo, plat::Point(20, 10));
    ASSERT_TRUE(combo.GetDroppedState());
    EXPECT_EQ(Count(6, plat::kCbnDropDown), 1);
    plat::ListBox* list = combo.GetDroppedList();
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetWindowRect().top, combo.GetWindowRect().bottom) << "the list drops below the field";
    const int h = list->GetItemHeight();
    Click(*list, plat::Point(10, 1 + 2 * h + h / 2));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetWindowText(), u"大");
    EXPECT_EQ(Count(6, plat::kCbnSelChange), 2);
    EXPECT_EQ(Count(6, plat::kCbnCloseUp), 1);
    EXPECT_EQ(plat::GetFocus(), &combo);
}

TEST_F(ControlsTest, DropDownComboTypesInItsFieldAndOwnerDrawnComboDraws)
{
    plat::ComboBox editable, drawn;
    ASSERT_TRUE(editable.Create(&m_parent, Rect(10, 10, 150, 32), plat::kWsChild | plat::kWsVisible | plat::kCbsDropDown, 6));
    ASSERT_TRUE(drawn.Create(&m_parent, Rect(10, 50, 150, 72),
                             plat::kWsChild | plat::kWsVisible | plat::kCbsDropDownList | plat::kCbsOwnerDrawFixed, 8));
    ASSERT_NE(editable.GetEdit(), nullptr);
    EXPECT_EQ(drawn.GetEdit(), nullptr);
    editable.AddString(u"宋体");
    plat::SetFocus(editable.GetEdit());
    plat::TypeText(u"黑体");
    plat::PumpMessages();
    EXPECT_EQ(editable.GetWindowText(), u"黑体");
    EXPECT_EQ(Count(6, plat::kCbnEditChange), 2);
    editable.SetCurSel(0);
    EXPECT_EQ(editable.GetEdit()->GetWindowText(), u"宋体");

    drawn.AddString(u"红");
    drawn.SetItemData(0, 0xFF);
    drawn.SetCurSel(0);
    m_drawn.clear();
    drawn.UpdateWindow();
    ASSERT_EQ(m_drawn.size(), 1u);
    EXPECT_EQ(m_drawn[0].ctlId, 8);
    EXPECT_EQ(m_drawn[0].itemId, 0);
    EXPECT_EQ(m_drawn[0].itemData, 0xFFu);
    drawn.ShowDropDown(true);
    m_drawn.clear();
    drawn.GetDroppedList()->UpdateWindow();
    ASSERT_EQ(m_drawn.size(), 1u) << "the list's rows are drawn by the combo's owner";
    EXPECT_EQ(m_drawn[0].ctlId, 8);
    EXPECT_TRUE(m_drawn[0].state & plat::kOdsSelected);
}

// ---- list view ----

class ListViewTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        ASSERT_TRUE(m_list.Create(&m_parent, Rect(10, 10, 310, 210),
                                  plat::kWsChild | plat::kWsVisible | plat::kLvsReport | plat::kLvsSingleSel, 11));
        m_list.InsertColumn(0, u"作者", 100);
        m_list.InsertColumn(1, u"时间", 150);
        for (const char16_t* name : {u"张三", u"李", u"王五六"}) {
            const int row = m_list.InsertItem(m_list.GetItemCount(), name);
            m_list.SetItemText(row, 1, u"2026-12-11 3:30");
        }
        m_notes.clear();
    }
    plat::Point RowPoint(int row, int x) const
    {
        return plat::Point(x, m_list.GetHeaderHeight() + row * m_list.GetRowHeight() + m_list.GetRowHeight() / 2);
    }
    plat::ListView m_list;
};

TEST_F(ListViewTest, ColumnsRowsAndCells)
{
    EXPECT_EQ(m_list.GetColumnCount(), 2);
    EXPECT_EQ(m_list.GetColumnText(1), u"时间");
    EXPECT_EQ(m_list.GetColumnWidth(0), 100);
    EXPECT_EQ(m_list.GetItemText(2, 0), u"王五六");
    EXPECT_EQ(m_list.GetItemText(2, 1), u"2026-12-11 3:30");
    EXPECT_EQ(m_list.GetItemText(2, 5), u"");
    EXPECT_FALSE(m_list.SetItemText(9, 0, u"x"));
    m_list.InsertColumn(0, u"序号", 40);
    EXPECT_EQ(m_list.GetItemText(2, 1), u"王五六") << "cells move with an inserted column";
    EXPECT_TRUE(m_list.DeleteItem(0));
    EXPECT_EQ(m_list.GetItemCount(), 2);
    EXPECT_EQ(m_list.GetItemText(0, 1), u"李");
}

TEST_F(ListViewTest, ClicksSelectRowsByLabelOrWholeRow)
{
    struct Case {
        unsigned exStyle;
        int x;      // in row 1
        int selected;
    };
    const Case cases[] = {
        {0, 6, 1},                            // on the first cell's label
        {0, 90, -1},                          // past the label's text
        {0, 150, -1},                         // in the second column
        {plat::kLvsExFullRowSelect, 150, 1},
        {plat::kLvsExFullRowSelect, 290, -1}, // right of every column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.exStyle << " at " << c.x);
        m_list.SetExtendedStyle(c.exStyle);
        m_list.SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
        Click(m_list, RowPoint(1, c.x));
        EXPECT_EQ(m_list.GetNextItem(-1, plat::kLvniSelected), c.selected);
        EXPECT_EQ(m_list.GetSelectedCount(), c.selected < 0 ? 0 : 1);
    }
}

TEST_F(ListViewTest, StateChangesNotifyAndSingleSelectionHoldsOneRow)
{
    m_list.SetItemState(0, plat::kLvisSelected, plat::kLvisSelected);
    m_list.SetItemState(0, plat::kLvisSelected, plat::kLvisSelected); // no change, no notification
    m_list.SetItemState(2, plat::kLvisSelected, plat::kLvisSelected);
    EXPECT_EQ(m_list.GetItemState(0, plat::kLvisSelected), 0u);
    ASSERT_EQ(m_changes.size(), 3u);
    EXPECT_EQ(m_changes[0].item, 0);
    EXPECT_EQ(m_changes[0].newState, static_cast<unsigned>(plat::kLvisSelected));
    EXPECT_EQ(m_changes[1].item, 0) << "the single selection clears row 0 first";
    EXPECT_EQ(m_changes[1].oldState, static_cast<unsigned>(plat::kLvisSelected));
    EXPECT_EQ(m_changes[2].item, 2);
    plat::SetFocus(&m_list);
    plat::PressKey(plat::kVkUp);
    plat::PumpMessages();
    EXPECT_EQ(m_list.GetNextItem(-1, plat::kLvniSelected), 1);
}

TEST_F(ListViewTest, GridLinesAndFullRowHighlightPaint)
{
    const int y = m_list.GetHeaderHeight() + m_list.GetRowHeight() - 1; // bottom line of row 0
    const int below = m_list.GetHeaderHeight() + m_list.GetRowHeight() + m_list.GetRowHeight() / 2; // row 1
    m_list.UpdateWindow();
    EXPECT_EQ(m_list.GetSurface()->GetPixel(50, y), plat::look::kWindow) << "no grid lines by default";
    m_list.SetExtendedStyle(plat::kLvsExGridLines | plat::kLvsExFullRowSelect);
    plat::SetFocus(&m_list);
    m_list.SetItemState(1, plat::kLvisSelected, plat::kLvisSelected);
    m_list.UpdateWindow();
    const plat::Bitmap& s = *m_list.GetSurface();
    EXPECT_EQ(s.GetPixel(50, y), plat::look::kGrid);
    EXPECT_EQ(s.GetPixel(99, m_list.GetHeaderHeight() + 3), plat::look::kGrid) << "the column line";
    EXPECT_EQ(s.GetPixel(240, below), plat::look::kHighlight) << "the whole row is highlighted";
    m_list.SetExtendedStyle(plat::kLvsExGridLines);
    m_list.UpdateWindow();
    EXPECT_EQ(m_list.GetSurface()->GetPixel(240, below), plat::look::kWindow) << "only the label without full-row select";
    EXPECT_EQ(m_list.GetSurface()->GetPixel(2, below), plat::look::kHighlight);
}

// ---- tooltips ----

TEST_F(ControlsTest, ToolTipShowsAfterTheDelayAndHidesOffTheTool)
{
    uitest::TestWindow tool("tool"), other("other");
    ASSERT_TRUE(tool.Create(&m_parent, Rect(10, 10, 60, 40), plat::kWsChild | plat::kWsVisible));
    ASSERT_TRUE(other.Create(&m_parent, Rect(100, 10, 150, 40), plat::kWsChild | plat::kWsVisible));
    plat::ToolTip tip;
    ASSERT_TRUE(tip.CreateFor(m_parent));
    tip.AddTool(&tool, u"加粗");
    const Rect right(25, 0, 50, 30);
    tip.AddTool(&other, u"右半", &right);
    auto move = [&](plat::Window& w, plat::Point p) {
        tip.RelayEvent(plat::Message{&w, plat::kWmMouseMove, 0, plat::MakeLParam(p.x, p.y)});
    };
    move(tool, plat::Point(5, 5));
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(tip.GetCurrentTool(), &tool);
    plat::AdvanceClock(plat::kToolTipInitialDelayMs);
    plat::PumpMessages();
    ASSERT_TRUE(tip.IsShown());
    EXPECT_EQ(tip.GetRect().top, 10 + 5 + 20) << "below the mouse";
    std::unique_ptr<plat::Bitmap> picture = plat::RenderWindowTree(m_parent);
    EXPECT_EQ(picture->GetPixel(tip.GetRect().right - 3, tip.GetRect().top + 2), plat::look::kInfoBk);

    move(other, plat::Point(30, 5));
    EXPECT_TRUE(tip.IsShown()) << "from tool to tool the tip stays";
    EXPECT_EQ(tip.GetCurrentTool(), &other);
    move(other, plat::Point(5, 5));
    EXPECT_FALSE(tip.IsShown()) << "outside the tool's rectangle";
    move(tool, plat::Point(5, 5));
    tip.RelayEvent(plat::Message{&tool, plat::kWmLButtonDown, 0, 0});
    plat::AdvanceClock(plat::kToolTipInitialDelayMs);
    plat::PumpMessages();
    EXPECT_FALSE(tip.IsShown()) << "a press cancels the wait";
}

} // namespace

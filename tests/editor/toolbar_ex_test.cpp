// The frame's toolbars: loading from the toolbar resources, the style word, the layout
// steps (wrap, measure, fit, the committed layout), controls over separators, drop-down
// menus checked from the format state, the colour arrows, command update and painting.
#include <cstdlib>
#include <memory>
#include <string>

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/menu.h"
#include "resources/res_menus.h"
#include "resources/res_toolbars.h"
#include "tests/platform/ui_test_window.h"
#include "tests/support/pixel_probe.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::Size;
using plat::ToolbarButton;
using Items = CToolBarEx::LayoutItems;

constexpr std::uint8_t kOn = plat::kTbstateEnabled;

CToolBarEx::LayoutItem Button(int command = 1, std::uint8_t state = kOn, std::uint8_t style = 0, int width = 23)
{
    CToolBarEx::LayoutItem item;
    item.button.command = command;
    item.button.state = state;
    item.button.style = style;
    item.size = Size(width, 22);
    return item;
}

CToolBarEx::LayoutItem Separator(int width = 6, int command = 0, std::uint8_t state = kOn)
{
    CToolBarEx::LayoutItem item = Button(command, state, plat::kTbstyleSep, width);
    item.button.bitmap = width;
    return item;
}

// The indices of the buttons that end a row.
std::vector<int> Wraps(const Items& items)
{
    std::vector<int> out;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].button.state & plat::kTbstateWrap) out.push_back(static_cast<int>(i));
    return out;
}

// ---- the pure layout steps ----

TEST(ToolBarLayoutTest, ButtonSizeOfWrappedSeparatorsAndDropDowns)
{
    struct Case {
        const char* name;
        CToolBarEx::LayoutItem item;
        bool keepDropDownWidth;
        Size size;
    };
    const std::uint8_t wrapped = kOn | plat::kTbstateWrap;
    const Case cases[] = {
        {"push button", Button(1, kOn), false, Size(23, 22)},
        {"wrapped push button", Button(1, wrapped), false, Size(23, 22)},
        {"separator", Separator(6), false, Size(6, 22)},
        {"wrapped separator: its width as its height", Separator(6, 0, wrapped), false, Size(0, 6)},
        {"drop-down", Button(1, kOn, plat::kTbstyleDropDown, 36), false, Size(36, 22)},
        {"wrapped drop-down", Button(1, wrapped, plat::kTbstyleDropDown, 36), false, Size(0, 22)},
        {"wrapped drop-down kept", Button(1, wrapped, plat::kTbstyleDropDown, 36), true, Size(36, 22)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CToolBarEx::GetButtonSize(Items{c.item}, 0, c.keepDropDownWidth), c.size);
    }
}

TEST(ToolBarLayoutTest, WrapAtLastPlainSeparatorElseBeforeTheOverflowNeverAtAControl)
{
    struct Case {
        const char* name;
        Items items;
        int rowWidth;
        int rows;
        std::vector<int> wraps;
    };
    const std::uint8_t hidden = kOn | plat::kTbstateHidden;
    const Case cases[] = {
        {"everything fits", {Button(), Separator(), Button()}, 52, 1, {}},
        // 23 + 23 + 6 + 23 = 75 > 60 at button 3: the separator at 2 ends the row.
        {"last plain separator before the overflow", {Button(), Button(), Separator(), Button(), Button()}, 60, 2, {2}},
        {"the later of two separators", {Button(), Separator(), Button(), Separator(), Button()}, 70, 2, {3}},
        {"no separator: before the overflowing button", {Button(), Button(), Button()}, 50, 2, {1}},
        // The combo's separator at 1 may not end the row: the button before it does.
        {"a control's separator is never a wrap point", {Button(), Separator(77, 35061), Button()}, 110, 2, {0}},
        {"nor is a hidden button", {Button(), Button(9, hidden), Separator(77, 35061), Button()}, 110, 2, {0}},
        {"a hidden separator is not plain", {Button(), Separator(6, 0, hidden), Button(), Button()}, 60, 2, {2}},
        {"zero width: a row per run", {Button(), Separator(), Button(), Button()}, 0, 3, {1, 2}},
        {"one button wider than the row overflows alone", {Button(1, kOn, 0, 80)}, 50, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Items items = c.items;
        // Old wrap bits are cleared as the walk goes.
        for (auto& item : items) item.button.state |= plat::kTbstateWrap * (item.button.command == 1 ? 1 : 0);
        EXPECT_EQ(CToolBarEx::WrapButtons(items, c.rowWidth), c.rows);
        EXPECT_EQ(Wraps(items), c.wraps);
    }
}

TEST(ToolBarLayoutTest, MeasureRowsAndSeparatorGaps)
{
    struct Case {
        const char* name;
        Items items;
        std::vector<int> wraps;
        Size size;
    };
    const Case cases[] = {
        {"one row", {Button(), Separator(), Button()}, {}, Size(52, 22)},
        {"two rows", {Button(), Button(), Button()}, {1}, Size(46, 44)},
        // The wrapped separator counts no width and adds its own width between the rows.
        {"a wrapped separator leaves a gap", {Button(), Separator(), Button()}, {1}, Size(23, 50)},
        {"hidden buttons count nothing",
         {Button(), Button(2, kOn | plat::kTbstateHidden, 0, 40), Button()}, {}, Size(46, 22)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Items items = c.items;
        for (int i : c.wraps) items[static_cast<size_t>(i)].button.state |= plat::kTbstateWrap;
        EXPECT_EQ(CToolBarEx::MeasureButtons(items), c.size);
    }
}

// Nine buttons in three groups of three: 23 * 9 + 2 * 6 = 219 pixels in one row.
Items ThreeGroups()
{
    Items items;
    for (int g = 0; g < 3; ++g) {
        if (g > 0) items.push_back(Separator());
        for (int b = 0; b < 3; ++b) items.push_back(Button(10 * g + b + 1));
    }
    return items;
}

TEST(ToolBarLayoutTest, FitHorizontalAndVerticalLengths)
{
    struct Case {
        const char* name;
        int length;
        bool vertical;
        Size size;
        std::vector<int> wraps;
    };
    const Case cases[] = {
        {"wide enough: one row", 400, false, Size(219, 22), {}},
        // Two rows at 150; the narrowest width with two rows wraps at the second separator.
        {"150 wide: two rows as narrow as they go", 150, false, Size(144, 50), {7}},
        {"100 wide: three groups", 100, false, Size(69, 78), {3, 7}},
        {"tall enough for one row only", 22, true, Size(219, 22), {}},
        // The narrowest bar no taller than 50 pixels has two rows.
        {"50 high: two rows", 50, true, Size(144, 50), {7}},
        {"80 high: three rows", 80, true, Size(69, 78), {3, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Items items = ThreeGroups();
        CToolBarEx::FitButtons(items, c.length, c.vertical);
        EXPECT_EQ(CToolBarEx::MeasureButtons(items), c.size);
        EXPECT_EQ(Wraps(items), c.wraps);
    }
}

TEST(ToolBarLayoutTest, LayoutByModeAndTheFloatingWidth)
{
    struct Case {
        const char* name;
        unsigned barStyle;
        unsigned mode;
        int length;
        int mruBefore;
        Size size;
        int mruAfter;
    };
    const unsigned dynamic = kCbrsSizeDynamic;
    const unsigned floating = kCbrsSizeDynamic | kCbrsFloating;
    // The borders add (4, 6); a stretched horizontal bar is 32767 wide.
    const Case cases[] = {
        {"fixed size: as the buttons stand", kCbrsSizeFixed, kLmHorz, -1, 500, Size(223, 28), 500},
        {"fixed size stretched", kCbrsSizeFixed, kLmHorz | kLmStretch, -1, 500, Size(32767, 28), 500},
        {"not dynamic, vertical: a row per group", 0, 0, -1, 500, Size(27, 6 + 22 * 9 + 2 * 6), 500},
        {"horizontal dock", dynamic, kLmHorzDock, -1, 100, Size(223, 28), 100},
        {"given width", dynamic, kLmHorz, 154, 100, Size(148, 56), 100},
        {"given height", dynamic, kLmLengthY, 56, 100, Size(148, 56), 100},
        {"most recently used width", dynamic, kLmMruWidth, -1, 100, Size(73, 84), 100},
        {"floating, committed: the width is remembered", floating, kLmHorz | kLmCommit, 154, 500, Size(148, 56), 144},
        {"floating, not committed: nothing remembered", floating, kLmHorz, 154, 500, Size(148, 56), 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Items items = ThreeGroups();
        int mru = c.mruBefore;
        CToolBarEx::LayoutInput in;
        in.barStyle = c.barStyle;
        in.borders = Size(4, 6);
        in.fixed = Size((c.mode & kLmStretch) ? 32767 : 0, 0);
        in.mruFloatingWidth = &mru;
        EXPECT_EQ(CToolBarEx::CalcLayout(items, in, c.mode, c.length), c.size);
        EXPECT_EQ(mru, c.mruAfter);
    }
}

TEST(ToolBarLayoutTest, StyleWordMapsStateAndStyle)
{
    struct Case {
        std::uint8_t state;
        std::uint8_t style;
        unsigned word;
    };
    const Case cases[] = {
        {kOn, 0, kTbbsButton},
        {0, 0, kTbbsDisabled},
        {kOn | plat::kTbstateChecked, plat::kTbstyleCheck, kTbbsChecked | kTbbsCheckBox},
        {kOn | plat::kTbstatePressed, 0, kTbbsPressed},
        {kOn | plat::kTbstateHidden, 0, kTbbsHidden},
        {kOn | plat::kTbstateIndeterminate, 0, kTbbsIndeterminate},
        {kOn | plat::kTbstateWrap, plat::kTbstyleSep, kTbbsWrapped | kTbbsSeparator},
        {plat::kTbstateChecked, plat::kTbstyleDropDown, kTbbsDisabled | kTbbsChecked | kTbbsDropDown},
    };
    for (const Case& c : cases) {
        ToolbarButton b;
        b.state = c.state;
        b.style = c.style;
        EXPECT_EQ(ButtonStyleWordOf(b), c.word) << std::hex << c.word;
        ToolbarButton back;
        ApplyButtonStyleWord(back, c.word);
        EXPECT_EQ(back.state, c.state) << std::hex << c.word;
        EXPECT_EQ(back.style, c.style) << std::hex << c.word;
    }
}

// ---- borders and gripper ----

// A bar whose border and gripper settings the tests set directly.
class BorderBar : public CToolBarEx {
public:
    void Set(unsigned barStyle, std::uint8_t borderStyle, std::uint8_t gripperStyle)
    {
        m_barStyle = barStyle;
        SetBorderStyle(borderStyle);
        SetGripperStyle(gripperStyle);
    }
};

TEST(ToolBarBorderTest, InsideRectangleByBordersAndGripper)
{
    struct Case {
        const char* name;
        unsigned barStyle;
        std::uint8_t borderStyle, gripperStyle;
        bool horizontal;
        Rect inside; // of (0, 0, 100, 40) with inner borders 1, 3, 5, 7
    };
    const unsigned all = kCbrsBorderAny;
    const Case cases[] = {
        {"no borders", 0, 0, 0, true, Rect(1, 3, 95, 33)},
        {"all borders", all, 0, 0, true, Rect(3, 5, 93, 31)},
        {"vertical exchanges the inner borders", all, 0, 0, false, Rect(5, 3, 91, 33)},
        {"gripper, etched", kCbrsGripper, 0, 0, true, Rect(10, 3, 95, 33)},
        {"gripper, classic", kCbrsGripper, 1, 0, true, Rect(8, 3, 95, 33)},
        {"two grooves", kCbrsGripper, 1, 1, true, Rect(11, 3, 95, 33)},
        {"vertical gripper leads at the top", kCbrsGripper, 1, 1, false, Rect(3, 11, 93, 35)},
        {"no gripper while floating", kCbrsGripper | kCbrsFloating, 0, 0, true, Rect(1, 3, 95, 33)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BorderBar bar;
        bar.SetBorders(1, 3, 5, 7);
        bar.Set(c.barStyle, c.borderStyle, c.gripperStyle);
        Rect r(0, 0, 100, 40);
        bar.CalcInsideRect(r, c.horizontal);
        EXPECT_EQ(r, c.inside);
    }
}

TEST(ToolBarBorderTest, ClassicAndEtchedBordersAndGrippers)
{
    const plat::ColorRef dark = plat::GetSysColor(plat::kColorBtnShadow);
    const plat::ColorRef light = plat::GetSysColor(plat::kColorBtnHighlight);
    const plat::ColorRef none = testsupport::kWhite;
    struct Probe {
        int x, y;
        plat::ColorRef colour;
    };
    struct Case {
        const char* name;
        unsigned barStyle;
        std::uint8_t borderStyle, gripperStyle;
        Rect left; // what the borders leave of (0, 0, 100, 30)
        std::vector<Probe> probes;
    };
    const unsigned all = kCbrsBorderAny;
    const unsigned horizontal = kCbrsAlignTop;
    const Case cases[] = {
        {"classic", all, 1, 0, Rect(2, 2, 98, 28),
         {{0, 10, dark}, {0, 1, none}, {99, 10, dark}, {50, 0, dark}, {50, 29, dark}, {1, 10, none}}},
        {"classic 3-D", all | kCbrsBorder3d, 1, 0, Rect(2, 2, 98, 28),
         {{0, 10, dark}, {1, 10, light}, {98, 10, dark}, {99, 10, light}, {50, 1, light}, {50, 28, dark}, {50, 29, light}}},
        {"classic, bottom only", kCbrsBorderBottom, 1, 0, Rect(0, 0, 100, 28),
         {{50, 29, dark}, {0, 10, none}, {50, 0, none}}},
        {"etched", all, 0, 0, Rect(1, 2, 98, 28),
         {{98, 10, dark}, {99, 10, light}, {99, 29, none}, {50, 28, dark}, {50, 29, light}, {50, 0, dark},
          {50, 1, light}, {50, 2, light}, {0, 10, light}}},
        {"no border bits", 0, 0, 0, Rect(0, 0, 100, 30), {{0, 0, none}, {99, 29, none}}},
        // Grippers (horizontal bars, no borders): grooves light at left, dark at right.
        {"one groove", horizontal | kCbrsGripper, 1, 0, Rect(0, 0, 100, 30),
         {{2, 10, light}, {3, 10, none}, {4, 10, dark}, {2, 2, none}, {2, 3, light}, {5, 10, none}}},
        {"two etched grooves", horizontal | kCbrsGripper, 0, 0, Rect(0, 0, 100, 30),
         {{1, 10, light}, {3, 10, dark}, {5, 10, light}, {7, 10, dark}, {1, 1, none}}},
        {"two grooves with dots", horizontal | kCbrsGripper, 0, 1, Rect(0, 0, 100, 30),
         {{3, 10, light}, {5, 10, dark}, {6, 10, light}, {8, 10, dark}, {3, 27, light}, {5, 27, dark}, {6, 27, light}}},
        {"vertical grooves run across", kCbrsGripper, 0, 1, Rect(0, 0, 100, 30),
         {{50, 3, light}, {50, 5, dark}, {50, 6, light}, {50, 8, dark}, {97, 3, light}}},
        {"no gripper while floating", horizontal | kCbrsGripper | kCbrsFloating, 0, 1, Rect(0, 0, 100, 30),
         {{3, 10, none}, {6, 10, none}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BorderBar bar;
        bar.SetBorders(0, 3, 0, 3);
        bar.Set(c.barStyle, c.borderStyle, c.gripperStyle);
        testsupport::Canvas canvas(100, 30);
        Rect r(0, 0, 100, 30);
        bar.DrawBorders(canvas.dc, r);
        EXPECT_EQ(r, c.left);
        bar.DrawGripper(canvas.dc, r);
        for (const Probe& p : c.probes) EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
}

// ---- the bar on a frame ----

// A frame at (50, 50) on the screen, 600 x 300, owning a bar; it keeps the commands it gets.
class ToolBarExTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        plat::ResetSysColors();
        m_doc.FileNew();
        m_frame.OnCommandRange(1, 65535, [this](unsigned id) { m_commands.push_back(static_cast<int>(id)); });
        ASSERT_TRUE(m_frame.Create(nullptr, Rect(50, 50, 650, 350), plat::kWsVisible));
    }
    void TearDown() override
    {
        plat::ResetSysColors();
        UiTest::TearDown();
    }
    // The bar as the frame makes its format bar: flat, on top, a bottom border.
    void CreateBar(CToolBarEx& bar, int resource, unsigned extraStyle = 0)
    {
        const unsigned style = plat::kWsChild | plat::kWsVisible | kCbrsAlignTop | kCbrsBorderBottom | kCbrsTooltips |
                               kCbrsSizeFixed | extraStyle;
        ASSERT_TRUE(bar.CreateEx(&m_frame, plat::kTbstyleFlat, style));
        ASSERT_TRUE(bar.LoadFromResource(resource));
        bar.SetOwnerFrame(&m_frame, [this] { return m_doc.GetFormatState(); });
        const Size size = bar.CalcFixedLayout(true, true);
        bar.MoveWindow(Rect(0, 0, std::min(size.cx, 600), size.cy));
    }
    Rect ItemRect(CToolBarEx& bar, int command)
    {
        Rect r;
        bar.GetItemRect(bar.CommandToIndex(command), r);
        return r;
    }
    void ClickAt(CToolBarEx& bar, Point client)
    {
        plat::PostMouseInput(m_frame, plat::kWmLButtonDown, bar.ClientToScreen(client), plat::kMkLButton);
        plat::PostMouseInput(m_frame, plat::kWmLButtonUp, bar.ClientToScreen(client));
        plat::PumpMessages();
    }
    // A click on the arrow part of the button.
    void ClickArrow(CToolBarEx& bar, int command)
    {
        const Rect r = ItemRect(bar, command);
        ClickAt(bar, Point(r.right - 3, r.top + 5));
    }

    CQlDoc m_doc;
    uitest::TestWindow m_frame{"frame"};
    std::vector<int> m_commands;
};

TEST_F(ToolBarExTest, LoadsTheToolbarResources)
{
    for (int id : {kFormatBarResource, kExtensionBarResource, kShortExtensionBarResource}) {
        SCOPED_TRACE(id);
        CToolBarEx bar;
        CreateBar(bar, id);
        const ToolbarResource* resource = FindToolbarResource(id);
        ASSERT_NE(resource, nullptr);
        ASSERT_EQ(bar.GetButtonCount(), static_cast<int>(resource->commands.size()));
        EXPECT_EQ(bar.GetImageSize(), Size(16, 15));
        EXPECT_EQ(bar.GetButtonSizeSetting(), Size(23, 22)) << "image + 7";
        EXPECT_EQ(bar.GetImageCount(), resource->ImageCount());
        int image = 0;
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            ToolbarButton b;
            ASSERT_TRUE(bar.GetButton(i, b));
            Rect r;
            bar.GetItemRect(i, r);
            if (resource->commands[static_cast<size_t>(i)] == 0) {
                EXPECT_TRUE(b.IsSeparator());
                EXPECT_EQ(r.Width(), 6) << "flat separator " << i;
            } else {
                EXPECT_EQ(b.command, resource->commands[static_cast<size_t>(i)]);
                EXPECT_EQ(b.bitmap, image++);
                EXPECT_EQ(Size(r.Width(), r.Height()), Size(23, 22));
            }
            EXPECT_EQ(b.state, kOn);
        }
    }
    CToolBarEx missing;
    ASSERT_TRUE(missing.CreateEx(&m_frame, plat::kTbstyleFlat));
    EXPECT_FALSE(missing.LoadFromResource(1234));
}

TEST_F(ToolBarExTest, ButtonStyleAndInfoWriteTheRecord)
{
    CToolBarEx bar;
    CreateBar(bar, kFormatBarResource);
    const int bold = bar.CommandToIndex(35065);
    ASSERT_GE(bold, 0);
    EXPECT_EQ(bar.GetItemID(bold), 35065);
    EXPECT_EQ(bar.GetItemID(999), 0);
    bar.SetButtonStyle(bold, kTbbsDisabled | kTbbsCheckBox);
    EXPECT_EQ(bar.GetState(35065), 0) << "disabled";
    EXPECT_EQ(bar.GetButtonStyle(bold), kTbbsDisabled | kTbbsCheckBox);
    bar.SetButtonStyle(bold, kTbbsCheckBox | kTbbsChecked);
    EXPECT_EQ(bar.GetState(35065), kOn | plat::kTbstateChecked);

    // The zoom button becomes a 50-pixel separator that holds its combo.
    const int zoom = bar.CommandToIndex(35037);
    const Rect before = ItemRect(bar, 35037);
    bar.SetButtonInfo(zoom, 35037, kTbbsSeparator, 50);
    EXPECT_TRUE(bar.IsLayoutPending());
    int command = 0, image = 0;
    unsigned style = 0;
    bar.GetButtonInfo(zoom, command, style, image);
    EXPECT_EQ(command, 35037);
    EXPECT_EQ(style, kTbbsSeparator);
    EXPECT_EQ(image, 50);
    const Rect after = ItemRect(bar, 35037);
    EXPECT_FALSE(bar.IsLayoutPending()) << "the item query ran the layout";
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.Width(), 50);
}

TEST_F(ToolBarExTest, ControlOverAWidenedSeparatorMovesWithIt)
{
    CToolBarEx bar;
    CreateBar(bar, kFormatBarResource);
    // As the frame places its combos: zoom (50) and then the Chinese font (77).
    bar.SetButtonInfo(bar.CommandToIndex(35037), 35037, kTbbsSeparator, 50);
    bar.SetButtonInfo(bar.CommandToIndex(35061), 35061, kTbbsSeparator, 77);
    const Rect slot = ItemRect(bar, 35061);
    plat::Window combo;
    ASSERT_TRUE(combo.Create(&bar, Rect(slot.left, slot.top, slot.right, slot.top + 251), plat::kWsChild | plat::kWsVisible, 35061));
    // The zoom separator widens by 30: the font combo moves 30 to the right with its slot.
    bar.SetButtonInfo(bar.CommandToIndex(35037), 35037, kTbbsSeparator, 80);
    const Rect moved = ItemRect(bar, 35061);
    EXPECT_EQ(moved.left, slot.left + 30);
    EXPECT_EQ(combo.GetRect(), Rect(slot.left + 30, slot.top, slot.right + 30, slot.top + 251));
}

TEST_F(ToolBarExTest, FloatingDynamicBarKeepsItsCommittedWidth)
{
    CToolBarEx bar;
    ASSERT_TRUE(bar.CreateEx(&m_frame, plat::kTbstyleFlat,
                             plat::kWsChild | plat::kWsVisible | kCbrsAlignTop | kCbrsSizeDynamic | kCbrsFloating));
    const unsigned ids[] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9};
    ASSERT_TRUE(bar.SetButtons(ids, 11));
    const Size committed = bar.CalcDynamicLayout(160, kLmHorz | kLmCommit);
    // CreateEx's borders are the rectangle it is given: none here.
    EXPECT_EQ(committed, Size(144, 50));
    // The delayed layout and later queries for the remembered width keep those rows.
    bar.Layout();
    EXPECT_EQ(bar.CalcDynamicLayout(-1, kLmMruWidth | kLmHorz), committed);
    Rect r;
    bar.GetItemRect(8, r);
    EXPECT_EQ(r.top, 22 + 6) << "the third group starts the second row";
    // Docked again along the top: the style change lays it out in one row.
    bar.SetBarStyle(kCbrsAlignTop | kCbrsSizeDynamic);
    EXPECT_EQ(bar.CalcDynamicLayout(-1, kLmHorzDock | kLmHorz), Size(219, 22));
}

TEST_F(ToolBarExTest, DropDownMenusShowTheFormatStateChecked)
{
    CToolBarEx bar;
    CreateBar(bar, kFormatBarResource);
    bar.SetDropDownMenu(35067, kIdrMenuUnderline, true);
    bar.SetDropDownMenu(35080, kIdrMenuAlign, true);
    bar.SetDropDownMenu(35085, kIdrMenuLineSpacing, true);
    bar.SetDropDownMenu(35071, kIdrMenuCharColour, true);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(35080)) & kTbbsDropDown, kTbbsDropDown);
    EXPECT_EQ(bar.GetExtendedStyle(), plat::kTbstyleExDrawDdArrows);
    EXPECT_EQ(bar.GetDropDownMenu(35080), kIdrMenuAlign);
    EXPECT_EQ(bar.GetDropDownMenu(35065), 0);

    struct Case {
        const char* name;
        int button;
        std::function<void(CFormatState&)> set;
        unsigned checked;
        int items;
    };
    const Case cases[] = {
        {"justified paragraph", 35080, [](CFormatState& s) { s.m_paraFormat.m_align = 4; }, 35081, 4},
        {"centred paragraph", 35080, [](CFormatState& s) { s.m_paraFormat.m_align = 3; }, 35083, 4},
        {"right-aligned paragraph", 35080, [](CFormatState& s) { s.m_paraFormat.m_align = 2; }, 35084, 4},
        {"no alignment: nothing checked", 35080, [](CFormatState& s) { s.m_paraFormat.m_align = 0; }, 0, 4},
        {"1.5 line spacing", 35085, [](CFormatState& s) { s.m_paraFormat.m_spacing = 5; }, 35090, 5},
        {"double underline", 35067, [](CFormatState& s) { s.m_charFormat.m_underline = 2; }, 35069, 3},
        {"no underline", 35067, [](CFormatState& s) { s.m_charFormat.m_underline = 0; }, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set(*m_doc.GetFormatState());
        std::vector<unsigned> checked;
        int items = 0;
        Point at;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            for (int i = 0; i < run.menu->GetItemCount(); ++i)
                if (run.menu->IsItemChecked(run.menu->GetItem(i)->id)) checked.push_back(run.menu->GetItem(i)->id);
            items = run.menu->GetItemCount();
            at = run.point;
            return 0;
        });
        ClickArrow(bar, c.button);
        ASSERT_EQ(plat::PendingModalAnswers(), 0u) << "no menu was shown";
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(checked, c.checked ? std::vector<unsigned>{c.checked} : std::vector<unsigned>{});
        const Rect button = ItemRect(bar, c.button);
        EXPECT_EQ(at, bar.ClientToScreen(Point(button.left, button.bottom))) << "under the button";
    }
    EXPECT_TRUE(m_commands.empty());

    // A real document: justifying the paragraph checks 撑满.
    m_doc.SetParaFormat(4);
    ASSERT_EQ(m_doc.GetFormatState()->m_paraFormat.m_align, 4);
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        EXPECT_TRUE(run.menu->IsItemChecked(35081));
        EXPECT_EQ(run.menu->GetItem(0)->text, u"撑满(&F)");
        return 35082;
    });
    ClickArrow(bar, 35080);
    EXPECT_EQ(m_commands, std::vector<int>({35082})) << "the choice comes to the frame";
}

TEST_F(ToolBarExTest, ColourArrowsSendThePickerCommands)
{
    CToolBarEx full;
    CreateBar(full, kExtensionBarResource);
    full.SetDropDownMenu(33274, kIdrMenuLineColour, true);
    full.SetDropDownMenu(33276, kIdrMenuFillColour, true);
    CToolBarEx format;
    CreateBar(format, kFormatBarResource);
    format.MoveWindow(Rect(0, 40, 600, 68));
    format.SetDropDownMenu(35071, kIdrMenuCharColour, true);
    struct Case {
        CToolBarEx* bar;
        int button;
        int command;
    };
    const Case cases[] = {{&full, 33274, 33275}, {&full, 33276, 33277}, {&format, 35071, 35072}};
    for (const Case& c : cases) {
        m_commands.clear();
        ClickArrow(*c.bar, c.button);
        EXPECT_EQ(m_commands, std::vector<int>({c.command})) << c.button;
        // The body of the button is the button's own command.
        m_commands.clear();
        const Rect r = ItemRect(*c.bar, c.button);
        ClickAt(*c.bar, Point(r.left + 4, r.top + 4));
        EXPECT_EQ(m_commands, std::vector<int>({c.button})) << c.button;
    }
    EXPECT_TRUE(plat::GetModalLog().empty()) << "no menu for a colour arrow";
}

TEST_F(ToolBarExTest, UpdateHandlersEnableAndCheckTheButtons)
{
    CToolBarEx bar;
    CreateBar(bar, kFormatBarResource);
    plat::CommandTarget target;
    target.OnUpdate(35065, [](plat::CommandUi& ui) { ui.Enable(false); });
    target.OnUpdate(35066, [](plat::CommandUi& ui) { ui.SetCheck(1); });
    target.OnUpdate(35067, [](plat::CommandUi& ui) { ui.SetCheck(2); });
    target.OnUpdate(35080, [](plat::CommandUi& ui) { ui.SetCheck(1); });
    target.OnCommand(35085, [](unsigned) {});
    // The bar's own handler comes first.
    bar.OnUpdate(35080, [](plat::CommandUi& ui) { ui.Enable(false); });
    bar.SetButtonStyle(bar.CommandToIndex(35066), kTbbsPressed);

    struct Row {
        int command;
        std::uint8_t state;
        unsigned styleBits;
    };
    const auto check = [&](const std::vector<Row>& rows) {
        for (const Row& r : rows) {
            EXPECT_EQ(bar.GetState(r.command), r.state) << r.command;
            EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(r.command)) & 0xFF, r.styleBits) << r.command;
        }
    };
    bar.OnUpdateCmdUI(&target, false);
    check({{35065, 0, 0},
           {35066, kOn | plat::kTbstatePressed | plat::kTbstateChecked, kTbbsCheckBox},
           {35067, kOn | plat::kTbstateIndeterminate, kTbbsCheckBox},
           {35080, 0, 0},
           {35085, kOn, 0},
           {35093, kOn, 0}});
    // Disabled where there is no handler at all; a command handler alone keeps it enabled.
    bar.OnUpdateCmdUI(&target, true);
    check({{35085, kOn, 0}, {35093, 0, 0}});
    // The idle update asks the owner frame, which handles every command and updates none;
    // the bar's own update handler still comes first.
    plat::SendMessage(&bar, plat::kWmIdleUpdateCmdUi, 1, 0);
    check({{35093, kOn, 0}, {35065, kOn, 0}, {35080, 0, 0}});
}

TEST_F(ToolBarExTest, PaintsBordersImagesAndRecolours)
{
    CToolBarEx bar;
    CreateBar(bar, kFormatBarResource, kCbrsGripper);
    bar.SetDropDownMenu(35080, kIdrMenuAlign, true);
    bar.SetButtonStyle(bar.CommandToIndex(57643), kTbbsDisabled);
    auto image = plat::RenderWindowTree(m_frame);
    ASSERT_TRUE(image);
    if (const char* dir = std::getenv("QUILN_TEST_PNG_DIR"))
        image->SavePng(plat::Utf8ToUtf16(std::string(dir) + "/format_bar.png"));
    const plat::Bitmap& s = *bar.GetSurface();
    const Rect client = bar.GetClientRect();
    const plat::ColorRef face = plat::GetSysColor(plat::kColorBtnFace);
    const plat::ColorRef shadow = plat::GetSysColor(plat::kColorBtnShadow);
    const plat::ColorRef light = plat::GetSysColor(plat::kColorBtnHighlight);
    // The etched bottom border: a dark row over a light one.
    EXPECT_EQ(s.GetPixel(100, client.bottom - 2), shadow);
    EXPECT_EQ(s.GetPixel(100, client.bottom - 1), light);
    // Gripper style 1 (the flat control style): grooves 3 and 6 pixels in, with end dots.
    EXPECT_EQ(s.GetPixel(3, 5), light);
    EXPECT_EQ(s.GetPixel(5, 5), shadow);
    EXPECT_EQ(s.GetPixel(6, 5), light);
    EXPECT_EQ(s.GetPixel(3, client.bottom - 2 - 3), light);
    // The buttons start after the gripper (CreateEx was given no inner borders).
    const Rect first = ItemRect(bar, bar.GetItemID(0));
    EXPECT_EQ(Point(first.left, first.top), Point(10, 0));
    int ink = 0;
    for (int y = first.top; y < first.bottom; ++y)
        for (int x = first.left; x < first.right; ++x) ink += s.GetPixel(x, y) != face;
    EXPECT_GT(ink, 20) << "the first image";

    // A new face colour, announced: the strip is made again and its face is the new one.
    const Rect undo = ItemRect(bar, 57643);
    const auto faceCount = [&](const Rect& r, plat::ColorRef c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += bar.GetSurface()->GetPixel(x, y) == c;
        return n;
    };
    const int before = faceCount(first, face);
    const plat::ColorRef teal = plat::Rgb(0, 128, 128);
    plat::SetSysColor(plat::kColorBtnFace, teal);
    plat::SendMessage(&bar, plat::kWmSysColorChange, 0, 0);
    bar.UpdateWindow();
    EXPECT_EQ(faceCount(first, teal), before);
    EXPECT_EQ(faceCount(undo, face), 0);
}

} // namespace

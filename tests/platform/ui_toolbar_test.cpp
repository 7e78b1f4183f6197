// The toolbar window: item rectangles, clicks and drop-down arrows, tooltips asking the
// owner, and how the buttons paint.
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/gfx/sys_colors.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/tooltip.h"
#include "tests/platform/ui_test_window.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::ToolbarButton;

ToolbarButton Push(int command, int image, std::uint8_t state = plat::kTbstateEnabled, std::uint8_t style = 0)
{
    ToolbarButton b;
    b.command = command;
    b.bitmap = image;
    b.state = state;
    b.style = style;
    return b;
}

ToolbarButton Sep(int width, std::uint8_t state = plat::kTbstateEnabled, int command = 0)
{
    ToolbarButton b;
    b.bitmap = width;
    b.command = command;
    b.state = state;
    b.style = plat::kTbstyleSep;
    return b;
}

const plat::ColorRef kFace = plat::GetSysColor(plat::kColorBtnFace);
const plat::ColorRef kShadow = plat::GetSysColor(plat::kColorBtnShadow);
const plat::ColorRef kLight = plat::GetSysColor(plat::kColorBtnHighlight);
constexpr plat::ColorRef kRed = plat::Rgb(255, 0, 0);
constexpr plat::ColorRef kBlue = plat::Rgb(0, 0, 255);

// Three 16 x 15 images on the button face colour, each a 10 x 9 square at (3, 3): red, blue, black.
std::unique_ptr<plat::Bitmap> MakeStrip()
{
    auto strip = plat::Bitmap::Create(48, 15);
    strip->Fill(kFace);
    const plat::ColorRef colours[] = {kRed, kBlue, plat::Rgb(0, 0, 0)};
    for (int i = 0; i < 3; ++i)
        for (int y = 3; y < 12; ++y)
            for (int x = 3; x < 13; ++x) strip->SetPixel(i * 16 + x, y, colours[i]);
    return strip;
}

// An owner at (100, 100) on the screen, 400 x 200, that keeps the commands and
// notifications of a toolbar over its top and names each button "tip <id>".
class ToolBarTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_owner.m_handlers[plat::kWmCommand] = [this](plat::WParam w, plat::LParam) -> std::optional<plat::LResult> {
            m_commands.push_back(static_cast<int>(plat::LoWord(w)));
            return 0;
        };
        m_owner.m_handlers[plat::kWmNotify] = [this](plat::WParam, plat::LParam l) -> std::optional<plat::LResult> {
            auto* hdr = reinterpret_cast<plat::NotifyHeader*>(l);
            if (hdr->code == plat::kTbnDropDown)
                m_dropDowns.push_back(reinterpret_cast<plat::ToolbarNotification*>(l)->item);
            if (hdr->code == plat::kTtnNeedText) {
                m_tipRequests.push_back(hdr->idFrom);
                reinterpret_cast<plat::ToolTipTextRequest*>(l)->text =
                    plat::Utf8ToUtf16("tip " + std::to_string(hdr->idFrom));
            }
            return 0;
        };
        ASSERT_TRUE(m_owner.Create(nullptr, Rect(100, 100, 500, 300), plat::kWsVisible));
        ASSERT_TRUE(m_bar.Create(&m_owner, Rect(0, 0, 400, 30), plat::kWsChild | plat::kWsVisible | plat::kTbstyleFlat, 0xE800));
        m_strip = MakeStrip();
        ASSERT_TRUE(m_bar.AddBitmap(*m_strip, 3));
    }
    void Add(std::initializer_list<ToolbarButton> buttons)
    {
        for (const ToolbarButton& b : buttons) ASSERT_TRUE(m_bar.AddButton(b));
    }
    void Mouse(unsigned message, Point client)
    {
        plat::PostMouseInput(m_owner, message, m_bar.ClientToScreen(client),
                             message == plat::kWmLButtonDown ? plat::kMkLButton : 0u);
        plat::PumpMessages();
    }
    void Click(Point client)
    {
        Mouse(plat::kWmLButtonDown, client);
        Mouse(plat::kWmLButtonUp, client);
    }
    Rect ItemRect(int index) const
    {
        Rect r;
        m_bar.GetItemRect(index, r);
        return r;
    }

    uitest::TestWindow m_owner{"owner"};
    plat::ToolBar m_bar;
    std::unique_ptr<plat::Bitmap> m_strip;
    std::vector<int> m_commands;
    std::vector<int> m_dropDowns;
    std::vector<int> m_tipRequests;
};

TEST_F(ToolBarTest, ItemRectanglesRunLeftToRightAndWrap)
{
    struct Case {
        const char* name;
        std::vector<ToolbarButton> buttons;
        unsigned exStyle;
        std::vector<Rect> rects;
    };
    const std::uint8_t wrapped = plat::kTbstateEnabled | plat::kTbstateWrap;
    const std::uint8_t hidden = plat::kTbstateEnabled | plat::kTbstateHidden;
    const Case cases[] = {
        {"buttons and a separator", {Push(1, 0), Sep(6), Push(2, 1)}, 0,
         {Rect(0, 0, 23, 22), Rect(23, 0, 29, 22), Rect(29, 0, 52, 22)}},
        {"a wrapped button ends its row", {Push(1, 0, wrapped), Push(2, 1)}, 0,
         {Rect(0, 0, 23, 22), Rect(0, 22, 23, 44)}},
        {"a wrapped separator leaves a gap of its width", {Push(1, 0), Sep(6, wrapped), Push(2, 1)}, 0,
         {Rect(0, 0, 23, 22), Rect(23, 0, 29, 22), Rect(0, 28, 23, 50)}},
        {"a hidden button takes no room", {Push(1, 0), Push(2, 1, hidden), Push(3, 2)}, 0,
         {Rect(0, 0, 23, 22), Rect(), Rect(23, 0, 46, 22)}},
        {"a drop-down gets its arrow area only with the extended style",
         {Push(1, 0, plat::kTbstateEnabled, plat::kTbstyleDropDown), Push(2, 1)}, 0,
         {Rect(0, 0, 23, 22), Rect(23, 0, 46, 22)}},
        {"drop-down with arrows", {Push(1, 0, plat::kTbstateEnabled, plat::kTbstyleDropDown), Push(2, 1)},
         plat::kTbstyleExDrawDdArrows,
         {Rect(0, 0, 23 + plat::ToolBar::kDropDownAreaWidth, 22),
          Rect(23 + plat::ToolBar::kDropDownAreaWidth, 0, 46 + plat::ToolBar::kDropDownAreaWidth, 22)}},
        {"a widened separator for a control", {Push(1, 0), Sep(77, plat::kTbstateEnabled, 35061), Push(2, 1)}, 0,
         {Rect(0, 0, 23, 22), Rect(23, 0, 100, 22), Rect(100, 0, 123, 22)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_bar.DeleteAllButtons();
        m_bar.SetExtendedStyle(c.exStyle);
        for (const ToolbarButton& b : c.buttons) ASSERT_TRUE(m_bar.AddButton(b));
        for (size_t i = 0; i < c.rects.size(); ++i) EXPECT_EQ(ItemRect(static_cast<int>(i)), c.rects[i]) << "button " << i;
    }
    // The content origin moves them all; an index out of range is refused with an empty one.
    m_bar.SetContentOrigin(Point(9, 3));
    EXPECT_EQ(ItemRect(0), Rect(9, 3, 32, 25));
    Rect r(1, 1, 2, 2);
    EXPECT_FALSE(m_bar.GetItemRect(7, r));
    EXPECT_TRUE(r.IsEmpty());
}

TEST_F(ToolBarTest, ButtonsAreInsertedDeletedAndFoundByCommand)
{
    Add({Push(10, 0), Sep(6), Push(20, 1)});
    EXPECT_TRUE(m_bar.InsertButton(1, Push(15, 2)));
    EXPECT_FALSE(m_bar.InsertButton(9, Push(99, 0)));
    EXPECT_EQ(m_bar.GetButtonCount(), 4);
    EXPECT_EQ(m_bar.CommandToIndex(15), 1);
    EXPECT_EQ(m_bar.CommandToIndex(20), 3);
    EXPECT_EQ(m_bar.CommandToIndex(77), -1);
    EXPECT_TRUE(m_bar.DeleteButton(0));
    EXPECT_FALSE(m_bar.DeleteButton(3));
    ToolbarButton b;
    ASSERT_TRUE(m_bar.GetButton(0, b));
    EXPECT_EQ(b.command, 15);
    EXPECT_FALSE(m_bar.GetButton(-1, b));
    EXPECT_EQ(ItemRect(2), Rect(29, 0, 52, 22));
    EXPECT_TRUE(m_bar.SetState(20, plat::kTbstateEnabled | plat::kTbstateChecked));
    EXPECT_EQ(m_bar.GetState(20), plat::kTbstateEnabled | plat::kTbstateChecked);
    EXPECT_FALSE(m_bar.SetState(77, 0));
}

TEST_F(ToolBarTest, ReplacingAButtonRepaintsItAloneUnlessTheRowsChange)
{
    struct Case {
        const char* name;
        ToolbarButton next; // for button 1: Push(2, 1)
        bool wholeBar;
    };
    const Case cases[] = {
        {"checked", Push(2, 1, plat::kTbstateEnabled | plat::kTbstateChecked), false},
        {"disabled with another image", Push(2, 2, 0), false},
        {"becomes a separator", Sep(6), true},
        {"hidden", Push(2, 1, plat::kTbstateEnabled | plat::kTbstateHidden), true},
        {"wraps", Push(2, 1, plat::kTbstateEnabled | plat::kTbstateWrap), true},
        {"becomes a drop-down with an arrow area", Push(2, 1, plat::kTbstateEnabled, plat::kTbstyleDropDown), true},
    };
    m_bar.SetExtendedStyle(plat::kTbstyleExDrawDdArrows);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_bar.DeleteAllButtons();
        Add({Push(1, 0), Push(2, 1), Push(3, 2)});
        m_bar.UpdateWindow();
        ASSERT_FALSE(m_bar.NeedsPaint());
        EXPECT_TRUE(m_bar.ReplaceButton(1, c.next));
        EXPECT_EQ(m_bar.GetUpdateRect(), c.wholeBar ? m_bar.GetClientRect() : Rect(23, 0, 46, 22));
        ToolbarButton b;
        ASSERT_TRUE(m_bar.GetButton(1, b));
        EXPECT_EQ(b, c.next);
    }
    EXPECT_FALSE(m_bar.ReplaceButton(3, Push(9, 0)));
}

TEST_F(ToolBarTest, ClicksSendCommandsToTheOwner)
{
    uitest::TestWindow other("other");
    std::vector<int> toOther;
    other.m_handlers[plat::kWmCommand] = [&](plat::WParam w, plat::LParam) -> std::optional<plat::LResult> {
        toOther.push_back(static_cast<int>(plat::LoWord(w)));
        return 0;
    };
    ASSERT_TRUE(other.Create(nullptr, Rect(0, 0, 10, 10), 0));
    Add({Push(101, 0), Sep(6), Push(102, 1, 0), Push(103, 2, plat::kTbstateEnabled, plat::kTbstyleCheck)});
    Click(Point(5, 5));
    Click(Point(25, 5));  // the separator
    Click(Point(35, 5));  // disabled
    EXPECT_EQ(m_commands, std::vector<int>({101}));

    // Pressed on a button and released off it: nothing, and the capture is given back.
    Mouse(plat::kWmLButtonDown, Point(5, 5));
    EXPECT_EQ(plat::GetCapture(), &m_bar);
    Mouse(plat::kWmLButtonUp, Point(200, 5));
    EXPECT_EQ(m_commands.size(), 1u);
    EXPECT_EQ(plat::GetCapture(), nullptr);

    // A check button toggles its checked state with each click.
    Click(Point(60, 5));
    EXPECT_TRUE(m_bar.GetState(103) & plat::kTbstateChecked);
    Click(Point(60, 5));
    EXPECT_FALSE(m_bar.GetState(103) & plat::kTbstateChecked);

    m_bar.SetOwner(&other);
    Click(Point(5, 5));
    EXPECT_EQ(toOther, std::vector<int>({101}));
    EXPECT_EQ(m_commands, std::vector<int>({101, 103, 103}));
}

TEST_F(ToolBarTest, ArrowPartSendsDropDownNotification)
{
    Add({Push(35080, 0, plat::kTbstateEnabled, plat::kTbstyleDropDown), Push(35085, 1, plat::kTbstateEnabled, plat::kTbstyleDropDown)});
    // Without the extended style the whole button drops down.
    Click(Point(5, 5));
    EXPECT_EQ(m_dropDowns, std::vector<int>({35080}));
    EXPECT_TRUE(m_commands.empty());

    m_bar.SetExtendedStyle(plat::kTbstyleExDrawDdArrows);
    const Rect second = ItemRect(1);
    Click(Point(second.right - 3, 5));
    Click(Point(second.left + 3, 5));
    EXPECT_EQ(m_dropDowns, std::vector<int>({35080, 35085}));
    EXPECT_EQ(m_commands, std::vector<int>({35085}));
}

TEST_F(ToolBarTest, ToolTipAsksTheOwnerForTheButtonsText)
{
    plat::ToolTip tips;
    ASSERT_TRUE(tips.CreateFor(m_owner));
    m_bar.SetToolTips(&tips);
    Add({Push(501, 0), Sep(6), Push(502, 1)});
    Mouse(plat::kWmMouseMove, Point(5, 5));
    EXPECT_EQ(m_tipRequests, std::vector<int>({501}));
    EXPECT_EQ(m_bar.GetHotItem(), 0);
    plat::AdvanceClock(plat::kToolTipInitialDelayMs);
    plat::PumpMessages();
    ASSERT_TRUE(tips.IsShown());
    EXPECT_EQ(tips.GetCurrentTool(), &m_bar);
    // Moving within the button asks nothing more; onto the next button asks again.
    Mouse(plat::kWmMouseMove, Point(9, 7));
    Mouse(plat::kWmMouseMove, Point(35, 5));
    EXPECT_EQ(m_tipRequests, std::vector<int>({501, 502}));
    // Over the separator there is no tool and no hot button.
    Mouse(plat::kWmMouseMove, Point(25, 5));
    EXPECT_FALSE(tips.IsShown());
    EXPECT_EQ(m_bar.GetHotItem(), -1);
    EXPECT_EQ(tips.GetToolCount(), 0);
}

// The bar's own pixels, button by button: (0) plain, (1) disabled, (2) checked, (3) a
// drop-down with its arrow area, hot.
TEST_F(ToolBarTest, ButtonsPaintFlatWithStateAndArrows)
{
    m_bar.SetExtendedStyle(plat::kTbstyleExDrawDdArrows);
    Add({Push(1, 0), Push(2, 1, 0), Push(3, 2, plat::kTbstateEnabled | plat::kTbstateChecked),
         Push(4, 0, plat::kTbstateEnabled, plat::kTbstyleDropDown)});
    Mouse(plat::kWmMouseMove, Point(ItemRect(3).left + 5, 5));
    ASSERT_EQ(m_bar.GetHotItem(), 3);
    auto image = plat::RenderWindowTree(m_owner);
    ASSERT_TRUE(image);
    if (const char* dir = std::getenv("QUILN_TEST_PNG_DIR"))
        image->SavePng(plat::Utf8ToUtf16(std::string(dir) + "/toolbar_buttons.png"));
    const auto at = [&](int index, int dx, int dy) {
        const Rect r = ItemRect(index);
        return m_bar.GetSurface()->GetPixel(r.left + dx, r.top + dy);
    };
    const auto count = [&](int index, plat::ColorRef colour) {
        const Rect r = ItemRect(index);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += m_bar.GetSurface()->GetPixel(x, y) == colour;
        return n;
    };
    // Images are centred: a 16 x 15 image in 23 x 22 starts at (3, 3); its square at (6, 6).
    EXPECT_EQ(at(0, 6, 6), kRed);
    EXPECT_EQ(at(0, 3, 3), kFace) << "the image's key colour is left out";
    EXPECT_EQ(at(0, 0, 0), kFace) << "a flat button that is not hot has no edge";
    EXPECT_EQ(count(1, kBlue), 0) << "a disabled image is grayed";
    EXPECT_GT(count(1, kShadow), 80);
    EXPECT_EQ(at(2, 7, 7), plat::Rgb(0, 0, 0)) << "a checked image sits one pixel down-right";
    EXPECT_EQ(at(2, 0, 0), kShadow) << "sunken edge";
    // The checked face is dithered: neighbours alternate between white and the face colour.
    const plat::ColorRef pair[] = {at(2, 2, 1), at(2, 3, 1)};
    EXPECT_NE(pair[0], pair[1]);
    for (plat::ColorRef c : pair) EXPECT_TRUE(c == kFace || c == kLight) << std::hex << c;
    EXPECT_EQ(at(3, 0, 0), kLight) << "hot: raised";
    EXPECT_EQ(at(3, 22, 21), kShadow);
    const Rect arrow = ItemRect(3);
    int ink = 0;
    for (int y = arrow.top; y < arrow.bottom; ++y)
        for (int x = arrow.right - plat::ToolBar::kDropDownAreaWidth; x < arrow.right; ++x)
            ink += m_bar.GetSurface()->GetPixel(x, y) == plat::GetSysColor(plat::kColorBtnText);
    EXPECT_EQ(ink, 5 + 3 + 1) << "the arrow's triangle";
}

} // namespace

namespace {

// One image of the strip changes; its neighbours and the strip's size stay.
TEST_F(ToolBarTest, OneImageOfTheStripIsReplaced)
{
    auto green = plat::Bitmap::Create(16, 15);
    green->Fill(plat::Rgb(0, 128, 0));
    ASSERT_TRUE(m_bar.ReplaceImage(1, *green));
    const std::unique_ptr<plat::Bitmap> first = m_bar.CopyImage(0), second = m_bar.CopyImage(1),
                                        third = m_bar.CopyImage(2);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(second->GetPixel(0, 0), plat::Rgb(0, 128, 0));
    EXPECT_EQ(second->GetPixel(15, 14), plat::Rgb(0, 128, 0));
    EXPECT_EQ(first->GetPixel(5, 5), kRed);
    EXPECT_EQ(first->GetPixel(15, 5), kFace);
    EXPECT_EQ(third->GetPixel(5, 5), plat::Rgb(0, 0, 0));
    EXPECT_EQ(third->GetPixel(0, 5), kFace);
    EXPECT_EQ(m_bar.GetImageCount(), 3);

    auto wide = plat::Bitmap::Create(17, 15);
    EXPECT_FALSE(m_bar.ReplaceImage(0, *wide)) << "another size";
    EXPECT_FALSE(m_bar.ReplaceImage(3, *green)) << "out of range";
    EXPECT_FALSE(m_bar.ReplaceImage(-1, *green));
    EXPECT_EQ(m_bar.CopyImage(3), nullptr);
    plat::ToolBar empty;
    EXPECT_FALSE(empty.ReplaceImage(0, *green)) << "no strip";
}

} // namespace

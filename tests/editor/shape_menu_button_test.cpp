// The "常用图形" button over the full extension bar: where the frame puts it, what it
// paints, the menu it opens and where, and the tool chosen reaching the frame.
#include <memory>
#include <string>
#include <vector>

#include "editor/ql_view.h"
#include "editor/shape_menu_button.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/font.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/modal.h"
#include "platform/ui/toolbar.h"
#include "tests/editor/main_frame_support.h"
#include "tests/support/pixel_probe.h"

namespace {

using frametest::MainFrameTest;

class ShapeMenuButtonTest : public MainFrameTest {
protected:
    CShapeMenuButton& button() const { return *frame().GetShapeButton(); }
    CToolBarEx& bar() const { return *frame().GetFullExtensionBar(); }
    plat::Rect SlotRect() const
    {
        plat::Rect rect;
        bar().GetItemRect(bar().CommandToIndex(CShapeMenuButton::kCommand), rect);
        return rect;
    }
    // Clicks the button and answers the menu with `answer`; where the menu opened.
    std::optional<plat::Point> Click(int answer, const plat::Menu** shown = nullptr)
    {
        std::optional<plat::Point> at;
        plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
            if (run.kind != plat::ModalKind::kPopupMenu || !run.menu) return std::nullopt;
            at = run.point;
            if (shown) *shown = run.menu;
            return answer;
        });
        plat::SendMessage(&button(), plat::kWmLButtonDown, plat::kMkLButton, plat::MakeLParam(10, 5));
        plat::PumpMessages();
        return at;
    }
};

TEST_F(ShapeMenuButtonTest, LiesOverItsWidenedSeparatorOnTopOfTheBar)
{
    plat::ToolbarButton slot;
    ASSERT_TRUE(bar().GetButton(bar().CommandToIndex(CShapeMenuButton::kCommand), slot));
    EXPECT_TRUE(slot.IsSeparator());
    EXPECT_EQ(slot.bitmap, 70);
    EXPECT_EQ(button().GetParent(), &bar());
    EXPECT_EQ(button().GetId(), CShapeMenuButton::kCommand);
    EXPECT_TRUE(button().IsWindowVisible());
    EXPECT_EQ(bar().GetChildren().front(), &button());
    EXPECT_EQ(button().GetRect(), SlotRect());
    EXPECT_EQ(button().GetRect().Width(), 70);
    EXPECT_EQ(button().GetOwnerFrame(), &frame());
}

TEST_F(ShapeMenuButtonTest, PaintsTheCaptionAndTheTriangleOnTheFace)
{
    button().Invalidate();
    button().UpdateWindow();
    const plat::Bitmap& shot = *button().GetSurface();
    const plat::ColorRef face = plat::GetSysColor(plat::kColorActiveBorder);
    const plat::Rect client = button().GetClientRect();

    plat::MemoryDc measure;
    const plat::Font font(plat::FontDesc{.face = u"宋体", .height = -12, .weight = plat::kFwNormal, .charSet = 1});
    measure.Select(&font);
    const plat::Size text = measure.GetTextExtent(u"常用图形");
    const int d = client.Height() / 2;

    EXPECT_EQ(shot.GetPixel(0, 0), face);
    EXPECT_EQ(shot.GetPixel(client.right - 1, client.bottom - 1), face);
    // The caption starts at x = 5 and stays within its width.
    const testsupport::Ink caption = testsupport::InkWhere(shot, plat::Rect(0, 0, text.cx + 5, client.bottom),
                                                           [&](plat::ColorRef c) { return c != face; });
    ASSERT_GT(caption.count, 20);
    EXPECT_GE(caption.box.left, 5);
    EXPECT_LE(caption.box.left, 7);
    // The triangle: its apex column is black, the columns beside it face.
    const plat::ColorRef black = plat::Rgb(0, 0, 0);
    EXPECT_EQ(shot.GetPixel(text.cx + 11, d), black);
    EXPECT_EQ(shot.GetPixel(text.cx + 11, d - 2), black);
    EXPECT_EQ(shot.GetPixel(text.cx + 7, d), face);
    EXPECT_EQ(shot.GetPixel(text.cx + 15, d), face);
    EXPECT_EQ(shot.GetPixel(text.cx + 11, d + 4), face);
}

TEST_F(ShapeMenuButtonTest, TheTopMenuHoldsTheFiveSubmenusBetweenSeparators)
{
    const plat::Menu& menu = button().GetMenu();
    std::vector<std::string> rows;
    for (int i = 0; i < menu.GetItemCount(); ++i) {
        const plat::Menu::Item* item = menu.GetItem(i);
        rows.push_back(item->flags & plat::kMfSeparator
                           ? "-"
                           : std::to_string(item->id) + " " + plat::Utf16ToUtf8(item->text) + " " +
                                 std::to_string(item->submenu ? item->submenu->GetItemCount() : -1));
    }
    const std::vector<std::string> expected = {"-", "32801 线条 9",      "-", "32840 基本形状 27", "-",
                                               "32870 箭头总汇 32", "-", "32820 规则多边形 14", "-",
                                               "32910 流程图 28",   "-"};
    EXPECT_EQ(rows, expected);

    // Column order, and the string table's tooltip where it has one.
    const plat::Menu& flow = *menu.GetItem(9)->submenu;
    struct Item {
        int position;
        unsigned id;
        const char16_t* text;
    };
    for (const Item& i : {Item{0, 32841, u"矩形"}, Item{3, 32849, u"椭圆"}, Item{7, 32845, nullptr},
                          Item{13, 32854, nullptr}, Item{23, 32918, nullptr}, Item{27, 32932, nullptr}}) {
        SCOPED_TRACE(i.position);
        EXPECT_EQ(flow.GetItem(i.position)->id, i.id);
        EXPECT_FALSE(flow.GetItem(i.position)->text.empty());
        if (i.text) {
            EXPECT_EQ(flow.GetItem(i.position)->text, i.text);
        }
    }
    const plat::Menu& lines = *menu.GetItem(1)->submenu;
    EXPECT_EQ(lines.GetItem(0)->text, u"直线");
    EXPECT_EQ(lines.GetItem(3)->text, u"箭头");
    EXPECT_EQ(lines.GetItem(3)->id, 32803u);
    // Every tool has a name.
    for (int s = 1; s < menu.GetItemCount(); s += 2)
        for (int i = 0; i < menu.GetItem(s)->submenu->GetItemCount(); ++i)
            EXPECT_FALSE(menu.GetItem(s)->submenu->GetItem(i)->text.empty()) << s << "/" << i;
}

TEST_F(ShapeMenuButtonTest, AClickOpensTheMenuAboveTheButtonAndTheToolReachesTheFrame)
{
    // The frame routes its commands through the main view first: a handler there sees the
    // command arrive at the frame.
    std::vector<unsigned> arrived;
    frame().GetMainView()->OnCommandRange(32800, 32932, [&](unsigned id) { arrived.push_back(id); });
    const plat::Menu* shown = nullptr;
    const std::optional<plat::Point> at = Click(32841, &shown);
    ASSERT_TRUE(at.has_value());
    const plat::Point topLeft = bar().ClientToScreen(plat::Point(SlotRect().left, SlotRect().top));
    EXPECT_EQ(*at, plat::Point(topLeft.x, topLeft.y - 124));
    EXPECT_EQ(shown, &button().GetMenu());
    EXPECT_EQ(arrived, std::vector<unsigned>{32841});
}

TEST_F(ShapeMenuButtonTest, WithTheBarHiddenTheMenuOpensAtTheScreensOrigin)
{
    std::vector<unsigned> arrived;
    frame().GetMainView()->OnCommandRange(32800, 32932, [&](unsigned id) { arrived.push_back(id); });
    bar().ShowWindow(plat::kSwHide);
    const std::optional<plat::Point> at = Click(0);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(*at, plat::Point(0, 0));
    EXPECT_TRUE(arrived.empty()) << "a dismissed menu sends nothing";
}

} // namespace

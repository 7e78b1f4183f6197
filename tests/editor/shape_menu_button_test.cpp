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
#include "resources/res_bitmaps.h"
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

// The tools of the five submenus, column by column.
struct SubmenuTools {
    unsigned entry;
    const char16_t* title;
    std::vector<std::vector<unsigned>> columns;
};
const SubmenuTools kExpected[] = {
    {32801, u"线条", {{32802, 32805, 32808}, {32803, 32806, 32809}, {32804, 32807, 32810}}},
    {32840, u"基本形状",
     {{32841, 32845, 32849, 32853, 32857, 32861, 32865}, {32842, 32846, 32850, 32854, 32858, 32862, 32866},
      {32843, 32847, 32851, 32855, 32859, 32863, 32867}, {32844, 32848, 32852, 32856, 32860, 32864}}},
    {32870, u"箭头总汇",
     {{32871, 32875, 32879, 32883, 32887, 32891, 32895, 32899}, {32872, 32876, 32880, 32884, 32888, 32892, 32896, 32900},
      {32873, 32877, 32881, 32885, 32889, 32893, 32897, 32901}, {32874, 32878, 32882, 32886, 32890, 32894, 32898, 32902}}},
    {32820, u"规则多边形",
     {{32821, 32827, 32831}, {32822, 32828, 32832}, {32823, 32829, 32833}, {32824, 32830, 32834}, {32825}, {32826}}},
    {32910, u"流程图",
     {{32841, 32911, 32915, 32849, 32922, 32926, 32930}, {32845, 32912, 32916, 32919, 32923, 32927, 32854},
      {32844, 32913, 32917, 32920, 32924, 32928, 32931}, {32842, 32914, 32918, 32921, 32925, 32929, 32932}}},
};

TEST_F(ShapeMenuButtonTest, TheTopMenuHoldsTheFiveSubmenusOfPictureColumns)
{
    CMenuXP& top = button().GetTopMenu();
    const plat::Menu& menu = top.GetMenu();
    ASSERT_EQ(menu.GetItemCount(), 11);
    for (int i = 0; i < 11; i += 2) EXPECT_NE(menu.GetItem(i)->flags & plat::kMfSeparator, 0u) << i;
    EXPECT_EQ(top.m_background, plat::GetSysColor(plat::kColorActiveBorder));
    EXPECT_EQ(top.m_selection, 0xCCCC00u);
    for (int s = 0; s < 5; ++s) {
        const SubmenuTools& expected = kExpected[s];
        SCOPED_TRACE(plat::Utf16ToUtf8(expected.title));
        const plat::Menu::Item& entry = *menu.GetItem(1 + 2 * s);
        ASSERT_NE(entry.flags & plat::kMfPopup, 0u);
        EXPECT_EQ(entry.id, expected.entry);
        const CMenuXPItem* title = top.RecordOf(entry.data);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->m_text, expected.title);
        plat::Menu& sub = *entry.GetSubmenu();
        std::vector<std::vector<unsigned>> columns;
        for (int i = 0; i < sub.GetItemCount(); ++i) {
            const plat::Menu::Item& item = *sub.GetItem(i);
            if (columns.empty() || (item.flags & plat::kMfMenuBreak)) columns.emplace_back();
            columns.back().push_back(item.id);
            const auto* drawer = dynamic_cast<CMenuXP*>(sub.GetDrawer());
            ASSERT_NE(drawer, nullptr);
            const CMenuXPItem* record = drawer->RecordOf(item.data);
            ASSERT_NE(record, nullptr);
            EXPECT_TRUE(record->m_bitmapOnly);
            EXPECT_FALSE(record->m_bitmapName.empty());
            EXPECT_NE(LoadResBitmap(record->m_bitmapName), nullptr) << plat::Utf16ToUtf8(record->m_bitmapName);
        }
        EXPECT_EQ(columns, expected.columns);
    }
    // The manual operation of the flow chart shows the trapezoid's picture.
    plat::Menu& flow = *menu.GetItem(9)->GetSubmenu();
    const CMenuXPItem* manual = dynamic_cast<CMenuXP*>(flow.GetDrawer())->RecordOf(flow.GetItem(23)->data);
    EXPECT_EQ(manual->m_id, 32918u);
    EXPECT_EQ(manual->m_bitmapName, u"IDB_BGBASE_TX");
}

// The frame measures and draws the menu's items: the arrows' submenu shows four columns of
// 20-pixel cells with their pictures; the hovered one is framed in the selection colour.
TEST_F(ShapeMenuButtonTest, TheFrameDrawsASubmenuAsAGridOfPictures)
{
    plat::Menu& arrows = *button().GetMenu().GetItem(5)->GetSubmenu();
    const plat::MenuLayout layout = plat::LayoutPopupMenu(arrows, &frame());
    ASSERT_EQ(layout.items.size(), 32u);
    for (int i = 0; i < 32; ++i) {
        const plat::Rect r = layout.items[static_cast<size_t>(i)];
        EXPECT_EQ(r.Width(), 20) << i;
        EXPECT_EQ(r.Height(), 20) << i;
        EXPECT_EQ(r.left - layout.items[0].left, (i / 8) * 20) << i;
        EXPECT_EQ(r.top - layout.items[0].top, (i % 8) * 20) << i;
    }
    std::unique_ptr<plat::Bitmap> shot = plat::RenderPopupMenu(arrows, &frame(), 9);
    ASSERT_NE(shot, nullptr);
    if (const char* dir = std::getenv("QUILN_TEST_PNG_DIR")) shot->SavePng(plat::Utf8ToUtf16(std::string(dir) + "/shape_arrows.png"));
    for (int i = 0; i < 32; ++i) {
        const plat::Rect r = layout.items[static_cast<size_t>(i)];
        const plat::ColorRef fill = i == 9 ? 0xCCCC00 : 0xF2F2F2;
        EXPECT_EQ(shot->GetPixel(r.right - 2, r.bottom - 2), fill) << i;
        EXPECT_EQ(shot->GetPixel(r.left, r.top) == testsupport::kBlack, i == 9) << i;
        EXPECT_GT(testsupport::InkOf(*shot, plat::Rect(r.left, r.top, r.left + 16, r.top + 16), testsupport::kBlack).count, 0)
            << "picture of " << i;
    }
}

// Every tool of the five submenus reaches the frame when chosen.
TEST_F(ShapeMenuButtonTest, EveryToolReachesTheFrame)
{
    std::vector<unsigned> arrived;
    frame().GetMainView()->OnCommandRange(32800, 32932, [&](unsigned id) { arrived.push_back(id); });
    std::vector<unsigned> chosen;
    for (const SubmenuTools& s : kExpected)
        for (const std::vector<unsigned>& column : s.columns)
            for (unsigned id : column) {
                chosen.push_back(id);
                ASSERT_TRUE(Click(static_cast<int>(id)).has_value());
            }
    EXPECT_EQ(arrived, chosen);
    // The entries of the submenus are no commands: answering one dismisses the menu.
    for (const SubmenuTools& s : kExpected) Click(static_cast<int>(s.entry));
    EXPECT_EQ(arrived, chosen);
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

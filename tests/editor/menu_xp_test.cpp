// The owner-drawn menus: item sizes and columns, the selected and greyed looks, and who
// frees what when a menu goes.
#include <memory>

#include "editor/menu_xp.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/window.h"
#include "tests/platform/ui_test_window.h"
#include "tests/support/pixel_probe.h"

namespace {

using testsupport::InkOf;
using testsupport::kBlack;

// Counts the records and menus that are freed.
int g_freedRecords = 0;
int g_freedMenus = 0;

class CountedText : public CMenuXPTextItem {
public:
    using CMenuXPTextItem::CMenuXPTextItem;
    ~CountedText() override { ++g_freedRecords; }
};
class CountedBitmap : public CMenuXPBitmapItem {
public:
    using CMenuXPBitmapItem::CMenuXPBitmapItem;
    ~CountedBitmap() override { ++g_freedRecords; }
};
class CountedMenu : public CMenuXP {
public:
    ~CountedMenu() override { ++g_freedMenus; }
};

class MenuXPTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_owner.Create(nullptr, plat::Rect(0, 0, 100, 100), plat::kWsPopup));
        g_freedRecords = g_freedMenus = 0;
    }
    void TearDown() override
    {
        m_owner.Destroy();
        UiTest::TearDown();
    }
    plat::Window m_owner;
};

constexpr plat::ColorRef kBackground = 0xF2F2F2;
constexpr plat::ColorRef kSelection = 0xCCCC00;

} // namespace

// Three columns of bitmap items (3, 2 and 1 of them): 20-pixel cells, each break a new column.
TEST_F(MenuXPTest, BitmapItemsFormColumnsOfTwentyPixelCells)
{
    CMenuXP menu;
    menu.m_background = menu.m_iconBand = kBackground;
    menu.m_selection = kSelection;
    const unsigned columns[][3] = {{1, 2, 3}, {4, 5, 0}, {6, 0, 0}};
    for (const auto& column : columns) {
        if (column[0] != 1) menu.BreakColumn();
        for (unsigned id : column)
            if (id) menu.AppendItem(std::make_unique<CMenuXPBitmapItem>(id, u"IDB_UNDERLINE_UL"));
    }
    const plat::MenuLayout layout = plat::LayoutPopupMenu(menu.GetMenu(), &m_owner);
    ASSERT_EQ(layout.items.size(), 6u);
    const plat::Point origins[] = {{0, 0}, {0, 20}, {0, 40}, {20, 0}, {20, 20}, {40, 0}};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(layout.items[i].Width(), 20);
        EXPECT_EQ(layout.items[i].Height(), 20);
        EXPECT_EQ(layout.items[i].left - layout.items[0].left, origins[i].x);
        EXPECT_EQ(layout.items[i].top - layout.items[0].top, origins[i].y);
    }

    std::unique_ptr<plat::Bitmap> shot = plat::RenderPopupMenu(menu.GetMenu(), &m_owner, 4);
    ASSERT_NE(shot, nullptr);
    // A plain cell: the background around its picture, the picture's dark underline inside.
    const plat::Rect plain = layout.items[0];
    EXPECT_EQ(shot->GetPixel(plain.right - 2, plain.bottom - 2), kBackground);
    EXPECT_GT(InkOf(*shot, plat::Rect(plain.left, plain.top, plain.left + 16, plain.top + 16), kBlack).count, 0);
    // The hovered cell: the selection colour inside a black frame.
    const plat::Rect hot = layout.items[4];
    EXPECT_EQ(shot->GetPixel(hot.left, hot.top), kBlack);
    EXPECT_EQ(shot->GetPixel(hot.right - 1, hot.bottom - 1), kBlack);
    EXPECT_EQ(shot->GetPixel(hot.right - 2, hot.bottom - 2), kSelection);
    EXPECT_EQ(shot->GetPixel(plain.left, plain.top), kBackground) << "no frame on a plain cell";
}

TEST_F(MenuXPTest, TextItemsSeparatorsAndTheGreyedLook)
{
    CMenuXP menu;
    menu.m_background = menu.m_iconBand = kBackground;
    menu.m_selection = kSelection;
    menu.AppendSeparator();
    menu.AppendItem(std::make_unique<CMenuXPTextItem>(11, u"线条"));
    menu.AppendItem(std::make_unique<CMenuXPTextItem>(12, u"箭头"));
    menu.GetMenu().EnableItem(12, false);
    const plat::MenuLayout layout = plat::LayoutPopupMenu(menu.GetMenu(), &m_owner);
    ASSERT_EQ(layout.items.size(), 3u);
    EXPECT_EQ(layout.items[0].Height(), plat::GetSystemMetrics(plat::kSmCyMenuCheck) / 2);
    EXPECT_EQ(layout.items[0].Width(), 100) << "separators make the menu 100 pixels wide";
    EXPECT_EQ(layout.items[1].Height(), 20);

    // Hovering the greyed item: no selection colour, no frame, the text embossed (a light copy
    // one pixel down and right under the grey text).
    std::unique_ptr<plat::Bitmap> greyed = plat::RenderPopupMenu(menu.GetMenu(), &m_owner, 2);
    const plat::Rect g = layout.items[2];
    EXPECT_EQ(greyed->GetPixel(g.left, g.top), kBackground);
    EXPECT_EQ(InkOf(*greyed, g, kSelection).count, 0);
    const testsupport::Ink grey = InkOf(*greyed, g, menu.m_grayText);
    const testsupport::Ink light = InkOf(*greyed, g, menu.m_selectedText);
    EXPECT_GT(grey.count, 0);
    EXPECT_GT(light.count, 0);
    EXPECT_EQ(light.box.right, grey.box.right + 1);
    EXPECT_EQ(light.box.bottom, grey.box.bottom + 1);
    EXPECT_GE(grey.box.left, g.left + 12) << "text starts 12 pixels in";

    // Hovering the enabled one: selection colour and a black frame; its text in the
    // selected-text colour.
    std::unique_ptr<plat::Bitmap> hot = plat::RenderPopupMenu(menu.GetMenu(), &m_owner, 1);
    const plat::Rect h = layout.items[1];
    EXPECT_EQ(hot->GetPixel(h.left, h.top), kBlack);
    EXPECT_EQ(hot->GetPixel(h.left + 3, h.top + 3), kSelection) << "the icon square keeps the selection colour";
    EXPECT_GT(InkOf(*hot, h, menu.m_selectedText).count, 0);
}

// The top menu frees its records and the CMenuXP submenus appended to it, with theirs, but
// neither an item whose data is not its record nor a submenu it does not own.
TEST_F(MenuXPTest, DestroyingTheTopMenuFreesWhatItOwnsOnly)
{
    struct Foreign {
        std::uint32_t signature = CMenuXPItem::kSignature; // looks like a record, is not one
        int value = 42;
    } foreign;
    plat::Menu foreignSubmenu;
    foreignSubmenu.AppendItem(plat::kMfString, 77, u"外来");
    {
        auto top = std::make_unique<CMenuXP>();
        top->AppendSeparator();
        auto sub = std::make_unique<CountedMenu>();
        sub->AppendItem(std::make_unique<CountedBitmap>(1, u"IDB_UNDERLINE_UL"));
        sub->BreakColumn();
        sub->AppendItem(std::make_unique<CountedBitmap>(2, u"IDB_UNDERLINE_DUL"));
        auto inner = std::make_unique<CountedMenu>();
        inner->AppendItem(std::make_unique<CountedText>(3, u"里"));
        sub->AppendPopup(std::move(inner), std::make_unique<CountedText>(4, u"内"));
        top->AppendPopup(std::move(sub), std::make_unique<CountedText>(5, u"子"));
        top->GetMenu().AppendOwnerDrawn(0, 6, reinterpret_cast<std::uintptr_t>(&foreign));
        top->GetMenu().AppendOwnerDrawnPopup(0, foreignSubmenu, 7, 0);
        EXPECT_EQ(top->RecordOf(reinterpret_cast<std::uintptr_t>(&foreign)), nullptr);
        plat::MeasureItem m{&top->GetMenu(), 6, 0, 0, reinterpret_cast<std::uintptr_t>(&foreign)};
        top->MeasureItem(m);
        EXPECT_EQ(m.width, 0) << "a foreign item is not measured";
    }
    EXPECT_EQ(g_freedRecords, 5);
    EXPECT_EQ(g_freedMenus, 2);
    EXPECT_EQ(foreign.value, 42);
    ASSERT_EQ(foreignSubmenu.GetItemCount(), 1);
    EXPECT_EQ(foreignSubmenu.GetItem(0)->id, 77u);
}

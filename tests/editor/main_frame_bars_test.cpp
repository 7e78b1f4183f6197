// The main frame's bars and combos: where the bars go, what the four combos hold and
// select, the combos following the caret, the face combos' own names, and a picture of the
// whole frame.
#include "tests/editor/main_frame_support.h"

#include <algorithm>
#include <cstdlib>

#include "document/units.h"
#include "editor/font_faces.h"
#include "editor/font_name_combo.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/font.h"
#include "platform/gfx/font_families.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/control.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/toolbar.h"

namespace {

using frametest::MainFrameTest;

std::string Utf8(const plat::String& s)
{
    return plat::Utf16ToUtf8(s);
}

TEST_F(MainFrameTest, FormatBarOnTopExtensionBarBelowSplitterBetween)
{
    CToolBarEx& format = *frame().GetFormatBar();
    CToolBarEx& full = *frame().GetFullExtensionBar();
    CToolBarEx& shortBar = *frame().GetShortExtensionBar();
    const plat::Rect client = frame().GetClientRect();
    EXPECT_EQ(format.GetWindowText(), u"格式工具栏");
    EXPECT_EQ(full.GetWindowText(), u"扩展工具栏");
    EXPECT_EQ(shortBar.GetWindowText(), u"扩展工具栏");
    EXPECT_TRUE(format.IsWindowVisible());
    EXPECT_TRUE(full.IsWindowVisible());
    EXPECT_FALSE(shortBar.IsWindowVisible());
    EXPECT_EQ(frame().GetExtensionBar(), &full);
    frame().SetShortBar(true);
    EXPECT_EQ(frame().GetExtensionBar(), &shortBar);
    frame().SetShortBar(false);

    EXPECT_EQ(format.GetRect().top, 0);
    EXPECT_GT(format.GetRect().Height(), 0);
    EXPECT_EQ(full.GetRect().bottom, client.bottom);
    EXPECT_EQ(frame().GetSplitter().GetRect(), plat::Rect(0, format.GetRect().bottom, client.right, full.GetRect().top));

    // Without the bars the splitter takes the whole frame.
    frame().ShowBars(false);
    EXPECT_EQ(frame().GetSplitter().GetRect(), client);
    EXPECT_FALSE(frame().GetMainView()->IsRulerShown());
    frame().ShowBars(true);
    EXPECT_EQ(frame().GetSplitter().GetRect().top, format.GetRect().bottom);

    // The drawing colours start automatic.
    EXPECT_EQ(frame().GetCharColor(), CQlMain::kAutoTextColor);
    EXPECT_EQ(frame().GetLineColor(), CQlMain::kAutoTextColor);
    EXPECT_EQ(frame().GetFillColor(), CQlMain::kAutoFillColor);
    EXPECT_EQ(frame().GetFillPattern(), 2);
}

TEST_F(MainFrameTest, CombosSitOverTheirButtonsOnTheFormatBar)
{
    CToolBarEx& bar = *frame().GetFormatBar();
    struct Row {
        plat::Window* combo;
        int command;
        int width;
    };
    const Row rows[] = {
        {frame().GetZoomCombo(), 35037, 50},
        {frame().GetChineseFontCombo(), 35061, 77},
        {frame().GetWesternFontCombo(), 35062, 77},
        {frame().GetSizeCombo(), 35063, 60},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        ASSERT_NE(r.combo, nullptr);
        EXPECT_EQ(r.combo->GetParent(), &bar);
        EXPECT_EQ(r.combo->GetId(), r.command);
        const int index = bar.CommandToIndex(r.command);
        ASSERT_GE(index, 0);
        EXPECT_EQ(bar.GetButtonStyle(index) & kTbbsSeparator, unsigned{kTbbsSeparator});
        plat::Rect item;
        bar.GetItemRect(index, item);
        EXPECT_EQ(item.Width(), r.width);
        EXPECT_EQ(r.combo->GetRect().left, item.left);
        EXPECT_EQ(r.combo->GetRect().Width(), r.width);
        // The whole width is the field's and the arrow's: no scroll bar eats into it.
        EXPECT_EQ(r.combo->GetClientRect().Width(), r.width);
    }
}

TEST_F(MainFrameTest, SizeAndZoomCombosHoldTheirItems)
{
    // A frame whose document has no content yet: the combos as the frame made them.
    uitest::TestWindow host{"second control"};
    ASSERT_TRUE(host.Create(nullptr, kHostRect, plat::kWsVisible));
    CQlMain fresh;
    ASSERT_TRUE(fresh.Create(&host));

    plat::ComboBox& sizes = *fresh.GetSizeCombo();
    ASSERT_EQ(sizes.GetCount(), 22);
    EXPECT_EQ(sizes.GetLBText(0), u"96磅");
    EXPECT_EQ(sizes.GetItemData(0), 1920u);
    EXPECT_EQ(sizes.GetLBText(21), u"小七号");
    EXPECT_EQ(sizes.GetItemData(21), 105u);
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(sizes.GetLBText(i), kChineseTypeSizes[21 - i].name) << i;
        EXPECT_EQ(static_cast<int>(sizes.GetItemData(i)), kChineseTypeSizes[21 - i].twips) << i;
    }
    EXPECT_EQ(sizes.GetCurSel(), 0);
    EXPECT_EQ(fresh.GetChineseFontCombo()->GetCurSel(), 0);
    EXPECT_EQ(fresh.GetWesternFontCombo()->GetCurSel(), 0);
    // New content puts the size at the caret in the combo.
    fresh.GetMainDoc()->FileNew();
    EXPECT_EQ(sizes.GetLBText(sizes.GetCurSel()), u"五号");
    EXPECT_EQ(fresh.GetWesternFontCombo()->GetLBText(fresh.GetWesternFontCombo()->GetCurSel()), u"Times New Roman");

    plat::ComboBox& zoom = *fresh.GetZoomCombo();
    const char16_t* zooms[] = {u"200%", u"150%", u"125%", u"100%", u"75%", u"50%", u"25%"};
    ASSERT_EQ(zoom.GetCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(zoom.GetLBText(i), zooms[i]);
    EXPECT_EQ(zoom.GetCurSel(), 3);
    // The zoom commands move its selection.
    plat::SendMessage(fresh.GetMainView(), plat::kWmCommand, 35035);
    EXPECT_EQ(zoom.GetCurSel(), 5);
}

TEST_F(MainFrameTest, FaceCombosHoldTheScreenFacesEachWithItsOwnName)
{
    CFontNameCombo& chinese = *frame().GetChineseFontCombo();
    CFontNameCombo& western = *frame().GetWesternFontCombo();
    EXPECT_FALSE(chinese.IsWestern());
    EXPECT_TRUE(western.IsWestern());
    const FontFaceLists lists = FrameFontLists(plat::EnumScreenFontFamilies());
    struct Row {
        CFontNameCombo* combo;
        const std::vector<plat::String>* faces;
    };
    for (const Row& r : {Row{&chinese, &lists.chinese}, Row{&western, &lists.western}}) {
        ASSERT_EQ(r.combo->GetCount(), static_cast<int>(r.faces->size()));
        for (int i = 0; i < r.combo->GetCount(); ++i) {
            EXPECT_EQ(r.combo->GetLBText(i), (*r.faces)[static_cast<size_t>(i)]);
            // Each item's own copy of its name.
            ASSERT_NE(r.combo->GetItemName(i), nullptr);
            EXPECT_EQ(*r.combo->GetItemName(i), r.combo->GetLBText(i));
            if (i > 0) {
                EXPECT_NE(r.combo->GetItemName(i), r.combo->GetItemName(i - 1));
            }
        }
    }
    // The new document's faces are selected.
    EXPECT_EQ(chinese.GetLBText(chinese.GetCurSel()), u"宋体");
    EXPECT_EQ(western.GetLBText(western.GetCurSel()), u"Times New Roman");
    for (const char16_t* face : {u"宋体", u"黑体", u"楷体", u"仿宋"}) EXPECT_GE(chinese.FindFont(face), 0) << Utf8(face);
    for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New"}) {
        EXPECT_GE(western.FindFont(face), 0) << Utf8(face);
        EXPECT_EQ(chinese.FindFont(face), -1) << Utf8(face);
    }
    // Exact names only.
    EXPECT_EQ(western.FindFont(u"times new roman"), -1);
    EXPECT_EQ(western.FindFont(u"Arial "), -1);

    FreeFontComboItems(western);
    EXPECT_EQ(western.GetItemName(0), nullptr);
    EXPECT_EQ(western.FindFont(u"Arial"), -1);
}

TEST_F(MainFrameTest, CombosFollowTheCaret)
{
    doc().SetChFont(u"宋体");
    doc().SetAscFont(u"Arial");
    doc().SetFontSize(210);
    doc().SetCharBold(1);
    doc().InsertString(u"粗体bold");
    doc().SetChFont(u"黑体");
    doc().SetAscFont(u"Times New Roman");
    doc().SetFontSize(240);
    doc().SetCharBold(0);
    doc().InsertString(u"plain");
    Run(200); // the first tick hides the reference pane and gives the keyboard to the control
    plat::SetFocus(&canvas());

    auto shown = [](plat::ComboBox* combo) { return Utf8(combo->GetLBText(combo->GetCurSel())); };
    struct Row {
        const char* what;
        std::vector<int> keys;
        std::string chinese, western, size;
        bool bold;
    };
    const Row rows[] = {
        {"into the bold text", {plat::kVkHome, plat::kVkRight}, "宋体", "Arial", "五号", true},
        {"into the plain text", {plat::kVkEnd, plat::kVkLeft}, "黑体", "Times New Roman", "小四号", false},
        {"back into the bold text", {plat::kVkHome, plat::kVkRight, plat::kVkRight}, "宋体", "Arial", "五号", true},
    };
    CToolBarEx& bar = *frame().GetFormatBar();
    const int boldButton = bar.CommandToIndex(35065);
    ASSERT_GE(boldButton, 0);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        for (int key : r.keys) plat::PressKey(key);
        plat::PumpMessages();
        Run(200);
        EXPECT_EQ(shown(frame().GetChineseFontCombo()), r.chinese);
        EXPECT_EQ(shown(frame().GetWesternFontCombo()), r.western);
        EXPECT_EQ(shown(frame().GetSizeCombo()), r.size);
        // The idle tick ran the bold button's update handler.
        EXPECT_EQ((bar.GetButtonStyle(boldButton) & kTbbsChecked) != 0, r.bold);
    }
}

TEST_F(MainFrameTest, PictureOfTheWholeFrame)
{
    Run(200); // the reference pane goes
    doc().InsertString(u"页面上的文字");
    plat::PumpMessages();
    const std::unique_ptr<plat::Bitmap> shot = plat::RenderWindowTree(m_host);
    ASSERT_TRUE(shot);
    if (const char* keep = std::getenv("QUILN_KEEP_PICTURES")) shot->SavePng(plat::Utf8ToUtf16(std::string(keep) + "/main_frame.png"));

    const plat::Rect formatBar = frame().GetFormatBar()->GetWindowRect();
    const plat::Rect extensionBar = frame().GetExtensionBar()->GetWindowRect();
    // The bars paint their face along their edges, where no button is.
    const plat::ColorRef face = frame().GetFormatBar()->GetSurface()->GetPixel(formatBar.Width() - 2, 1);
    EXPECT_EQ(shot->GetPixel(formatBar.right - 2, formatBar.top + 1), face);
    EXPECT_EQ(shot->GetPixel(extensionBar.right - 2, extensionBar.bottom - 2), face);
    EXPECT_NE(face, CQlCanvas::kDeskColor);

    // The page on the grey desk, where the document puts it.
    const CQlCanvas& c = canvas();
    plat::Rect page = doc().TwipsToPixelsRect(doc().GetPageRect(0));
    const plat::Point scroll = c.GetScrollOffset();
    const plat::Point origin = c.ClientToScreen(plat::Point(-scroll.x, -scroll.y));
    page.Offset(origin.x, origin.y);
    const plat::Rect canvasRect = c.GetWindowRect();
    ASSERT_GT(page.left, canvasRect.left + 2);
    ASSERT_LT(page.top + 20, canvasRect.bottom);
    EXPECT_EQ(shot->GetPixel(page.left + 2, page.top + 2), CQlCanvas::kPageColor);
    EXPECT_EQ(shot->GetPixel(page.right - 3, std::min(page.bottom, canvasRect.bottom) - 3), CQlCanvas::kPageColor);
    EXPECT_EQ(shot->GetPixel(page.left - 2, page.top + 10), CQlCanvas::kDeskColor);
    EXPECT_EQ(shot->GetPixel(page.right + 6, page.top + 10), CQlCanvas::kDeskColor);
    // The main pane lies under the format bar, its ruler over the canvas.
    const plat::Rect ruler = frame().GetMainRuler()->GetWindowRect();
    EXPECT_EQ(frame().GetMainView()->GetWindowRect().top, formatBar.bottom);
    EXPECT_EQ(ruler.top, frame().GetMainView()->ClientToScreen(plat::Point(0, 0)).y);
    EXPECT_EQ(canvasRect.top, ruler.bottom);
}

} // namespace

namespace {

using frametest::MainFrameTest;

TEST_F(MainFrameTest, BarsGetTheirTooltipsFromTheCommandStrings)
{
    struct Row {
        int command;
        const char16_t* tip;
    };
    for (const Row& r : {Row{57643, u"撤消"}, Row{57609, u"打印预览"}, Row{0, u""}, Row{99999, u""}}) {
        plat::ToolTipTextRequest request;
        request.header.from = frame().GetFormatBar();
        request.header.idFrom = r.command;
        request.header.code = plat::kTtnNeedText;
        request.text = u"stale";
        plat::SendMessage(frame().GetFormatBar()->GetOwner(), plat::kWmNotify, static_cast<plat::WParam>(r.command),
                          reinterpret_cast<plat::LParam>(&request));
        EXPECT_EQ(request.text, r.tip) << r.command;
    }
}

TEST_F(MainFrameTest, ClosingPrintPreviewBringsTheExtensionBarBackAsItWas)
{
    CToolBarEx& full = *frame().GetFullExtensionBar();
    CToolBarEx& shortBar = *frame().GetShortExtensionBar();
    struct Row {
        const char* what;
        bool shortInUse;
        bool shownBefore;
    };
    const Row rows[] = {
        {"full bar shown", false, true},
        {"full bar hidden", false, false},
        {"short bar shown", true, true},
        {"short bar hidden", true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        frame().SetShortBar(r.shortInUse);
        CToolBarEx& inUse = r.shortInUse ? shortBar : full;
        CToolBarEx& other = r.shortInUse ? full : shortBar;
        other.ShowWindow(plat::kSwHide);
        inUse.ShowWindow(r.shownBefore ? plat::kSwShow : plat::kSwHide);
        plat::SendMessage(&frame(), plat::kWmCommand, 57609);
        // The preview's own layout shows and hides bars as it likes.
        inUse.ShowWindow(plat::kSwHide);
        other.ShowWindow(plat::kSwShow);
        plat::SendMessage(&frame(), plat::kWmCommand, 0xE300);
        EXPECT_EQ(inUse.IsWindowVisible(), r.shownBefore);
        EXPECT_FALSE(other.IsWindowVisible());
        const int bottom = r.shownBefore ? inUse.GetRect().top : frame().GetClientRect().bottom;
        EXPECT_EQ(frame().GetSplitter().GetRect().bottom, bottom);
    }
}

} // namespace

namespace {

using frametest::MainFrameTest;

// One item of a face combo as the combo draws it, on a white strip.
std::unique_ptr<plat::Bitmap> DrawnItem(CFontNameCombo& combo, int index, unsigned state)
{
    auto bitmap = plat::Bitmap::Create(160, CFontNameCombo::kItemHeight);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    plat::DrawItem item;
    item.ctlId = combo.GetId();
    item.itemId = index;
    item.state = state;
    item.item = &combo;
    item.dc = &dc;
    item.rect = plat::Rect(0, 0, 160, CFontNameCombo::kItemHeight);
    plat::SendMessage(&combo, plat::kWmDrawItem, static_cast<plat::WParam>(combo.GetId()),
                      reinterpret_cast<plat::LParam>(&item));
    return bitmap;
}

// The name as the combo should draw it: in the face, 1 pixel from the left, centred.
std::unique_ptr<plat::Bitmap> ExpectedItem(plat::StringView name, plat::StringView face, plat::ColorRef back,
                                           plat::ColorRef ink)
{
    auto bitmap = plat::Bitmap::Create(160, CFontNameCombo::kItemHeight);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    plat::FillSolid(dc, plat::Rect(0, 0, 160, CFontNameCombo::kItemHeight), back);
    const plat::Font font(plat::FontDesc{.face = plat::String(face), .height = -14, .weight = plat::kFwNormal});
    dc.Select(&font);
    dc.SetTextColor(ink);
    dc.SetBkMode(plat::kTransparent);
    dc.TextOut(1, (CFontNameCombo::kItemHeight - dc.GetTextMetrics().height) / 2, name);
    return bitmap;
}

int DifferingPixels(const plat::Bitmap& a, const plat::Bitmap& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.GetPixel(x, y) != b.GetPixel(x, y);
    return n;
}

TEST_F(MainFrameTest, FaceCombosDrawEachNameInItsFaceTheWesternOnlyWhenSelected)
{
    const plat::ColorRef white = plat::Rgb(255, 255, 255), black = 0;
    const plat::ColorRef highlight = plat::GetSysColor(plat::kColorHighlight);
    const plat::ColorRef highlightText = plat::GetSysColor(plat::kColorHighlightText);
    CFontNameCombo& chinese = *frame().GetChineseFontCombo();
    CFontNameCombo& western = *frame().GetWesternFontCombo();
    struct Row {
        const char* what;
        CFontNameCombo* combo;
        const char16_t* name;
        unsigned state;
        const char16_t* face;
        plat::ColorRef back, ink;
    };
    const Row rows[] = {
        {"Western, not selected", &western, u"Courier New", 0, u"Times new Roman", white, black},
        {"Western, selected", &western, u"Courier New", plat::kOdsSelected, u"Courier New", highlight, highlightText},
        {"Chinese, not selected", &chinese, u"黑体", 0, u"黑体", white, black},
        {"Chinese, selected", &chinese, u"楷体", plat::kOdsSelected, u"楷体", highlight, highlightText},
        {"disabled", &chinese, u"楷体", plat::kOdsDisabled, u"楷体", plat::GetSysColor(plat::kColorInactiveBorder),
         plat::GetSysColor(plat::kColorGrayText)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const int index = r.combo->FindFont(r.name);
        ASSERT_GE(index, 0);
        const auto drawn = DrawnItem(*r.combo, index, r.state);
        EXPECT_EQ(DifferingPixels(*drawn, *ExpectedItem(r.name, r.face, r.back, r.ink)), 0);
        EXPECT_EQ(drawn->GetPixel(159, 0), r.back);
    }
    // A name wider than the item stops at a whole character inside it.
    const auto narrow = plat::Bitmap::Create(160, CFontNameCombo::kItemHeight);
    {
        plat::MemoryDc dc;
        dc.Select(narrow.get());
        plat::FillSolid(dc, plat::Rect(0, 0, 160, CFontNameCombo::kItemHeight), white);
        plat::DrawItem item;
        item.itemId = western.FindFont(u"Courier New");
        item.item = &western;
        item.dc = &dc;
        item.rect = plat::Rect(0, 0, 30, CFontNameCombo::kItemHeight);
        plat::SendMessage(&western, plat::kWmDrawItem, 0, reinterpret_cast<plat::LParam>(&item));
    }
    for (int y = 0; y < narrow->Height(); ++y)
        for (int x = 30; x < 160; ++x) ASSERT_EQ(narrow->GetPixel(x, y), white) << x << "," << y;

    // The faces really differ where the Western combo swaps them.
    EXPECT_GT(DifferingPixels(*ExpectedItem(u"Courier New", u"Courier New", white, black),
                              *ExpectedItem(u"Courier New", u"Times new Roman", white, black)),
              20);
}

} // namespace

namespace {

using frametest::MainFrameTest;

TEST_F(MainFrameTest, CombosDropTheirListsAtTheirOwnWidths)
{
    struct Row {
        plat::ComboBox* combo;
        int width;
        int itemHeight; // 0: the font's
    };
    const Row rows[] = {
        {frame().GetZoomCombo(), 50, 0},
        {frame().GetChineseFontCombo(), 120, 16},
        {frame().GetWesternFontCombo(), 180, 16},
        {frame().GetSizeCombo(), 80, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.combo->GetId());
        r.combo->ShowDropDown(true);
        const plat::ListBox* list = r.combo->GetDroppedList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetRect().Width(), r.width);
        EXPECT_EQ(list->GetRect().left, r.combo->GetWindowRect().left);
        if (r.itemHeight) {
            EXPECT_EQ(list->GetItemHeight(), r.itemHeight);
            EXPECT_EQ(list->GetRect().Height(), std::min(r.combo->GetCount(), plat::kComboDropRows) * r.itemHeight + 2);
        }
        r.combo->ShowDropDown(false);
    }
}

} // namespace

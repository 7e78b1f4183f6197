// The frame's bars: the format bar with its four combos and the two extension bars.
#include <algorithm>
#include <iterator>
#include <optional>

#include "document/units.h"
#include "editor/font_faces.h"
#include "editor/font_name_combo.h"
#include "editor/ql_main.h"
#include "editor/shape_menu_button.h"
#include "editor/toolbar_ex.h"
#include "platform/gfx/font.h"
#include "platform/gfx/font_families.h"
#include "platform/ui/combo_box.h"

namespace {

constexpr unsigned kFlatToolbarStyle = 0x0800;
constexpr unsigned kTopBarStyle = unsigned{plat::kWsChild} | plat::kWsVisible | kCbrsAlignTop | kCbrsBorderBottom |
                                  kCbrsTooltips | kCbrsSizeFixed;
constexpr unsigned kBottomBarStyle =
    unsigned{plat::kWsChild} | kCbrsAlignBottom | kCbrsBorderTop | kCbrsTooltips | kCbrsSizeFixed;

// Buttons with a drop-down arrow and the popup menu each opens.
struct DropDown {
    int command;
    int menu;
};
constexpr DropDown kFormatBarDropDowns[] = {{35067, 7006}, {35071, 7010}, {35080, 7001}, {35085, 7003}};
constexpr DropDown kFullBarDropDowns[] = {{33274, 7008}, {33276, 7009}, {37810, 7005}};
constexpr DropDown kShortBarDropDowns[] = {{37810, 7005}};

// A combo over a format-bar button widened into a separator.
struct ComboPlace {
    unsigned command;
    int width;        // the separator's width, pixels
    int droppedWidth; // the dropped list's least width (0: the field's)
};
constexpr ComboPlace kZoomPlace{CQlMain::kCmdZoomCombo, 50, 0};
constexpr ComboPlace kChinesePlace{CQlMain::kCmdChineseFontCombo, 77, 120};
constexpr ComboPlace kWesternPlace{CQlMain::kCmdWesternFontCombo, 77, 180};
constexpr ComboPlace kSizePlace{CQlMain::kCmdSizeCombo, 60, 80};
// The shape button's separator on the full extension bar.
constexpr int kShapeButtonWidth = 70;

// The dropped list scrolls by itself; a scroll-bar style on the combo window would take
// the field's width.
constexpr unsigned kListComboStyle = plat::kWsChild | plat::kWsVisible | plat::kWsTabStop | plat::kCbsDropDownList;
constexpr unsigned kFaceComboStyle = kListComboStyle | plat::kCbsOwnerDrawFixed;

constexpr int kZoomPercents[] = {200, 150, 125, 100, 75, 50, 25};
constexpr int kZoom100Index = 3;

// The two module-wide combo fonts.
const plat::Font& SizeComboFont()
{
    static const plat::Font font(plat::FontDesc{.face = u"宋体", .height = -13, .weight = plat::kFwNormal});
    return font;
}
const plat::Font& ZoomComboFont()
{
    static const plat::Font font(plat::FontDesc{.face = u"Times new Roman", .height = -13, .weight = plat::kFwNormal});
    return font;
}

template <size_t N>
void BindDropDowns(CToolBarEx& bar, const DropDown (&dropDowns)[N])
{
    for (const DropDown& d : dropDowns) bar.SetDropDownMenu(d.command, d.menu, true);
}

bool CreateBar(CToolBarEx& bar, plat::Window* frame, unsigned style, int resource, plat::StringView title)
{
    if (!bar.CreateEx(frame, kFlatToolbarStyle, style, plat::Rect(0, 0, 0, 0), CQlMain::kStandardBarId) ||
        !bar.LoadFromResource(resource))
        return false;
    bar.SetWindowText(title);
    return true;
}

// Turns the button into a separator of the width, which keeps the button's command so that
// the bar moves the window over it along as it lays out; the separator's rectangle.
std::optional<plat::Rect> WidenIntoSeparator(CToolBarEx& bar, int command, int width)
{
    const int index = bar.CommandToIndex(command);
    if (index < 0) return std::nullopt;
    bar.SetButtonInfo(index, command, kTbbsSeparator, width);
    plat::Rect rect;
    bar.GetItemRect(index, rect);
    return rect;
}

// The combo over the button widened into the place's separator.
bool PlaceCombo(CToolBarEx& bar, plat::ComboBox& combo, const ComboPlace& place, unsigned style)
{
    const std::optional<plat::Rect> rect = WidenIntoSeparator(bar, static_cast<int>(place.command), place.width);
    if (!rect) return false;
    // The field takes the item's place; the platform's combo drops its list below it.
    combo.SetDroppedWidth(place.droppedWidth);
    return combo.Create(&bar, *rect, style, static_cast<int>(place.command));
}

} // namespace

bool CQlMain::CreateFormatBar()
{
    if (!CreateBar(*m_formatBar, this, kTopBarStyle, kFormatBarResource, u"格式工具栏")) return false;
    BindDropDowns(*m_formatBar, kFormatBarDropDowns);

    m_zoomCombo = std::make_unique<plat::ComboBox>();
    m_chineseFontCombo = std::make_unique<CFontNameCombo>(CFontNameCombo::Kind::kChinese);
    m_westernFontCombo = std::make_unique<CFontNameCombo>(CFontNameCombo::Kind::kWestern);
    m_sizeCombo = std::make_unique<plat::ComboBox>();
    if (!PlaceCombo(*m_formatBar, *m_zoomCombo, kZoomPlace, kListComboStyle) ||
        !PlaceCombo(*m_formatBar, *m_chineseFontCombo, kChinesePlace, kFaceComboStyle) ||
        !PlaceCombo(*m_formatBar, *m_westernFontCombo, kWesternPlace, kFaceComboStyle) ||
        !PlaceCombo(*m_formatBar, *m_sizeCombo, kSizePlace, kListComboStyle))
        return false;

    const FontFaceLists faces = FrameFontLists(plat::EnumScreenFontFamilies());
    m_chineseFontCombo->AddFaces(faces.chinese);
    m_chineseFontCombo->SetCurSel(0);
    m_westernFontCombo->AddFaces(faces.western);
    m_westernFontCombo->SetCurSel(0);

    // The sizes from the largest down.
    m_sizeCombo->SetFont(&SizeComboFont());
    for (int i = kChineseTypeSizeCount - 1; i >= 0; --i) {
        const int index = m_sizeCombo->AddString(kChineseTypeSizes[i].name);
        m_sizeCombo->SetItemData(index, static_cast<std::uintptr_t>(kChineseTypeSizes[i].twips));
    }
    m_sizeCombo->SetCurSel(0);

    m_charColor = kAutoTextColor;

    m_zoomCombo->SetFont(&ZoomComboFont());
    for (int percent : kZoomPercents) m_zoomCombo->AddString(plat::Format(u"%d%%", percent));
    m_zoomCombo->SetCurSel(kZoom100Index);

    AdaptFormatCombos();
    return true;
}

bool CQlMain::CreateExtensionBars()
{
    if (!CreateBar(*m_fullExtensionBar, this, kBottomBarStyle | plat::kWsVisible, kFullExtensionBarResource,
                   u"扩展工具栏"))
        return false;
    // The shape button over its separator, on top of the bar's children.
    const std::optional<plat::Rect> shapeRect =
        WidenIntoSeparator(*m_fullExtensionBar, CShapeMenuButton::kCommand, kShapeButtonWidth);
    if (!shapeRect || !m_shapeButton->Create(m_fullExtensionBar.get(), *shapeRect, plat::kWsChild | plat::kWsVisible,
                                             CShapeMenuButton::kCommand))
        return false;
    m_shapeButton->SetWindowPos(*shapeRect, plat::kSwpNoMove | plat::kSwpNoSize);
    BindDropDowns(*m_fullExtensionBar, kFullBarDropDowns);
    if (!CreateBar(*m_shortExtensionBar, this, kBottomBarStyle, kShortExtensionBarResource, u"扩展工具栏")) return false;
    BindDropDowns(*m_shortExtensionBar, kShortBarDropDowns);
    m_shortBar = 0;
    m_lineColor = kAutoTextColor;
    m_fillColor = kAutoFillColor;
    m_fillPattern = kDefaultFillPattern;
    return true;
}

#include "editor/menu_xp.h"

#include <algorithm>

#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "resources/res_dib.h"

namespace {

constexpr int kSeparatorWidth = 100;
constexpr int kItemSize = 20;
constexpr int kTextIndent = 12;
constexpr int kBoldWeight = 700;

// The menu font of our desktop theme.
plat::FontDesc MenuFontDesc()
{
    return plat::FontDesc{.face = u"宋体", .height = -12, .weight = plat::kFwNormal, .charSet = 1};
}

} // namespace

void FillRectColor(plat::Dc& dc, const plat::Rect& rect, plat::ColorRef color)
{
    dc.FillRect(rect, plat::Brush::Solid(color));
}

CMenuXP::CMenuXP()
    : m_background(plat::GetSysColor(plat::kColorMenu)), m_selection(plat::GetSysColor(plat::kColorHighlight)),
      m_text(plat::GetSysColor(plat::kColorMenuText)), m_selectedText(plat::GetSysColor(plat::kColorHighlightText)),
      m_grayText(plat::GetSysColor(plat::kColorGrayText)), m_iconBand(m_background), m_font(MenuFontDesc())
{
    m_menu.SetDrawer(this);
}

CMenuXP::~CMenuXP()
{
    DeleteItems();
    m_menu.SetDrawer(nullptr);
}

unsigned CMenuXP::TakeBreak()
{
    const unsigned flags = m_breakColumn ? plat::kMfMenuBreak : 0u;
    m_breakColumn = false;
    return flags;
}

void CMenuXP::AppendItem(std::unique_ptr<CMenuXPItem> item)
{
    if (!item) return;
    m_menu.AppendOwnerDrawn(TakeBreak(), item->m_id, reinterpret_cast<std::uintptr_t>(item.get()));
    m_records.push_back(std::move(item));
}

void CMenuXP::AppendPopup(std::unique_ptr<CMenuXP> submenu, std::unique_ptr<CMenuXPItem> item)
{
    if (!submenu || !item) return;
    m_menu.AppendOwnerDrawnPopup(TakeBreak(), submenu->GetMenu(), item->m_id,
                                 reinterpret_cast<std::uintptr_t>(item.get()));
    m_records.push_back(std::move(item));
    m_submenus.push_back(std::move(submenu));
}

void CMenuXP::AppendSeparator()
{
    auto separator = std::make_unique<CMenuXPSeparator>();
    m_menu.AppendOwnerDrawn(plat::kMfSeparator | TakeBreak(), 0, reinterpret_cast<std::uintptr_t>(separator.get()));
    m_records.push_back(std::move(separator));
}

CMenuXPItem* CMenuXP::RecordOf(std::uintptr_t data) const
{
    // Only data this menu handed out is read: foreign item data may point anywhere.
    for (const std::unique_ptr<CMenuXPItem>& record : m_records)
        if (reinterpret_cast<std::uintptr_t>(record.get()) == data)
            return record->m_signature == CMenuXPItem::kSignature ? record.get() : nullptr;
    return nullptr;
}

void CMenuXP::DeleteItems()
{
    for (int i = 0; i < m_menu.GetItemCount(); ++i) {
        const plat::Menu::Item& item = *m_menu.GetItem(i);
        if ((item.flags & plat::kMfOwnerDraw) && RecordOf(item.data)) {
            std::erase_if(m_records, [&](const std::unique_ptr<CMenuXPItem>& r) {
                return reinterpret_cast<std::uintptr_t>(r.get()) == item.data;
            });
        }
        if (plat::Menu* sub = item.GetSubmenu())
            std::erase_if(m_submenus, [&](const std::unique_ptr<CMenuXP>& m) { return &m->GetMenu() == sub; });
    }
    // Records and submenus whose items were taken out of the menu go too.
    m_records.clear();
    m_submenus.clear();
}

void CMenuXP::MeasureItem(plat::MeasureItem& item)
{
    const CMenuXPItem* record = RecordOf(item.itemData);
    if (!record) return;
    if (record->m_separator) {
        item.height = plat::GetSystemMetrics(plat::kSmCyMenuCheck) / 2;
        item.width = kSeparatorWidth;
    } else {
        item.width = kItemSize;
        item.height = kItemSize;
    }
    // The system adds the check-mark width again.
    item.width += 1 - plat::GetSystemMetrics(plat::kSmCxMenuCheck);
}

void CMenuXP::DrawItem(plat::DrawItem& item)
{
    const CMenuXPItem* record = RecordOf(item.itemData);
    if (!record || !item.dc || record->m_separator) return;
    plat::Dc& dc = *item.dc;
    const plat::Rect rect = item.rect;
    const bool selected = item.state & plat::kOdsSelected;
    const bool greyed = item.state & plat::kOdsGrayed;
    const bool checked = item.state & plat::kOdsChecked;
    const bool isDefault = item.state & plat::kOdsDefault;
    DrawBackground(dc, rect, selected, greyed);
    const plat::Rect square(rect.left, rect.top, rect.left + rect.Height(), rect.bottom);
    DrawIconBackground(dc, square, selected, greyed);
    const plat::Rect icon = record->m_bitmapOnly ? rect : square;
    if (!record->m_bitmapName.empty() || checked) DrawCheckFrame(dc, icon, selected, greyed, checked);
    if (!record->m_bitmapName.empty()) DrawBitmap(dc, icon, record->m_bitmapName);
    if (!record->m_bitmapOnly)
        DrawItemText(dc, plat::Rect(rect.left + kTextIndent, rect.top, rect.right - record->m_iconSize, rect.bottom),
                     record->m_text, isDefault, selected, greyed);
}

void CMenuXP::DrawBackground(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed)
{
    if (!selected || greyed) {
        FillRectColor(dc, rect, m_background);
        return;
    }
    FillRectColor(dc, rect, m_selection);
    const plat::Pen* oldPen = dc.Select(plat::StockPen(plat::StockObject::kBlackPen));
    const plat::Brush* oldBrush = dc.Select(plat::StockBrush(plat::StockObject::kNullBrush));
    dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    dc.Select(oldBrush);
    dc.Select(oldPen);
}

void CMenuXP::DrawIconBackground(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed)
{
    // A selected item's square keeps the selection colour.
    if (!selected || greyed) FillRectColor(dc, rect, m_iconBand);
}

void CMenuXP::DrawCheckFrame(plat::Dc& dc, const plat::Rect& rect, bool selected, bool greyed, bool checked)
{
    if (checked && !selected && !greyed) DrawBackground(dc, rect, true, false);
}

void CMenuXP::DrawBitmap(plat::Dc& dc, const plat::Rect& rect, plat::StringView name)
{
    CResDib picture;
    if (picture.Load(name)) picture.StretchDraw(dc, rect.left, rect.top, CMenuXPItem::kIconSize, CMenuXPItem::kIconSize);
}

void CMenuXP::DrawItemText(plat::Dc& dc, const plat::Rect& rect, plat::StringView text, bool isDefault, bool selected,
                           bool greyed)
{
    plat::FontDesc bold = m_font.Desc();
    bold.weight = kBoldWeight;
    const plat::Font boldFont(bold);
    const plat::Font* oldFont = dc.Select(isDefault ? &boldFont : &m_font);
    const int oldMode = dc.SetBkMode(plat::kTransparent);
    if (greyed) {
        // Embossed: a light copy one pixel down and right, the grey text over it.
        plat::Rect shifted = rect;
        shifted.Offset(1, 1);
        DrawTextColored(dc, shifted, text, m_selectedText);
        DrawTextColored(dc, rect, text, m_grayText);
    } else {
        DrawTextColored(dc, rect, text, selected ? m_selectedText : m_text);
    }
    dc.SetBkMode(oldMode);
    dc.Select(oldFont);
}

void CMenuXP::DrawTextColored(plat::Dc& dc, const plat::Rect& rect, plat::StringView text, plat::ColorRef color)
{
    const plat::ColorRef old = dc.SetTextColor(color);
    // One line, centred vertically.
    const plat::Size extent = dc.GetTextExtent(text);
    dc.TextOut(rect.left, rect.top + (rect.Height() - extent.cy) / 2, text);
    dc.SetTextColor(old);
}

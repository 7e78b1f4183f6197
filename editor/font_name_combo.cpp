#include "editor/font_name_combo.h"

#include "platform/gfx/font.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/control.h"

namespace {
// The face the Western combo draws the names it does not select in (spelled so).
constexpr char16_t kPlainWesternFace[] = u"Times new Roman";
constexpr int kNameFontHeight = -14;
} // namespace

CFontNameCombo::CFontNameCombo(Kind kind) : m_western(kind == Kind::kWestern ? 1 : 0)
{
    SetItemHeight(kItemHeight);
}

CFontNameCombo::~CFontNameCombo()
{
    FreeFontComboItems(*this);
    Destroy();
}

void CFontNameCombo::AddFaces(const std::vector<plat::String>& faces)
{
    for (const plat::String& face : faces) {
        const int index = AddString(face);
        if (index >= 0) SetItemData(index, reinterpret_cast<std::uintptr_t>(new plat::String(face)));
    }
}

int CFontNameCombo::FindFont(plat::StringView name) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (const plat::String* face = GetItemName(i); face && *face == name) return i;
    return -1;
}

const plat::String* CFontNameCombo::GetItemName(int index) const
{
    if (index < 0 || index >= GetCount()) return nullptr;
    return reinterpret_cast<const plat::String*>(GetItemData(index));
}

void FreeFontComboItems(CFontNameCombo& combo)
{
    for (int i = 0; i < combo.GetCount(); ++i) {
        delete reinterpret_cast<plat::String*>(combo.GetItemData(i));
        combo.SetItemData(i, 0);
    }
}

void CFontNameCombo::DrawItem(plat::Dc& dc, const plat::Rect& rect, int index, bool selected, bool disabled) const
{
    plat::ColorRef back = plat::Rgb(255, 255, 255);
    plat::ColorRef ink = plat::Rgb(0, 0, 0);
    if (disabled) {
        back = plat::GetSysColor(plat::kColorInactiveBorder);
        ink = plat::GetSysColor(plat::kColorGrayText);
    } else if (selected) {
        back = plat::GetSysColor(plat::kColorHighlight);
        ink = plat::GetSysColor(plat::kColorHighlightText);
    }
    plat::FillSolid(dc, rect, back);
    const plat::String* name = GetItemName(index);
    if (!name) return;
    plat::FontDesc desc;
    desc.face = IsWestern() && !selected ? plat::String(kPlainWesternFace) : *name;
    desc.height = kNameFontHeight;
    desc.weight = plat::kFwNormal;
    desc.charSet = plat::kDefaultCharSet;
    const plat::Font font(desc);
    const plat::Font* oldFont = dc.Select(&font);
    const plat::ColorRef oldInk = dc.SetTextColor(ink);
    const int oldMode = dc.SetBkMode(plat::kTransparent);
    const int y = rect.top + (rect.Height() - dc.GetTextMetrics().height) / 2;
    // A name wider than the item is cut at a whole character rather than run under the arrow.
    const plat::StringView shown = plat::StringView(*name).substr(0, plat::FitText(dc, *name, rect.Width() - 1));
    dc.TextOut(rect.left + 1, y, shown);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldInk);
    dc.Select(oldFont);
}

plat::LResult CFontNameCombo::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    if (message == plat::kWmDrawItem) {
        const auto* item = reinterpret_cast<const plat::DrawItem*>(lParam);
        if (item && item->dc)
            DrawItem(*item->dc, item->rect, item->itemId, (item->state & plat::kOdsSelected) != 0,
                     (item->state & plat::kOdsDisabled) != 0);
        return 1;
    }
    return plat::ComboBox::WindowProc(message, wParam, lParam);
}

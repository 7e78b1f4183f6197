// The picture of a popup menu: its items laid out in columns and drawn, owner-drawn items
// by their owner. Used where a menu shows (and by tests that look at one).
#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/pen_brush.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/control.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"

namespace plat {

namespace {

// The frame around the items, and the sizes of items we draw ourselves.
constexpr int kMenuFrame = 3;
constexpr int kTextItemHeight = 20;
constexpr int kTextItemPadding = 40;
constexpr int kSeparatorHeight = 8;
constexpr int kMenuCheckSize = 13;

Size MeasureOne(Menu& menu, const Menu::Item& item, Window* owner)
{
    if (item.flags & kMfOwnerDraw) {
        MeasureItem m;
        m.menu = &menu;
        m.itemId = item.id;
        m.itemData = item.data;
        if (owner) SendMessage(owner, kWmMeasureItem, 0, reinterpret_cast<LParam>(&m));
        // The room of the check mark is the system's, as it is beside any item.
        return Size(std::max(m.width + GetSystemMetrics(kSmCxMenuCheck) - 1, 0), std::max(m.height, 0));
    }
    if (item.flags & kMfSeparator) return Size(0, kSeparatorHeight);
    MemoryDc dc;
    return Size(dc.GetTextExtent(item.text).cx + kTextItemPadding, kTextItemHeight);
}

} // namespace

int GetSystemMetrics(int index)
{
    switch (index) {
    case kSmCxMenuCheck:
    case kSmCyMenuCheck: return kMenuCheckSize;
    default: return 0;
    }
}

MenuLayout LayoutPopupMenu(Menu& menu, Window* owner)
{
    MenuLayout layout;
    const int count = menu.GetItemCount();
    std::vector<Size> sizes;
    for (int i = 0; i < count; ++i) sizes.push_back(MeasureOne(menu, *menu.GetItem(i), owner));
    int left = kMenuFrame, bottom = kMenuFrame;
    int i = 0;
    while (i < count) {
        // One column: up to the next item that breaks.
        int end = i + 1;
        while (end < count && !(menu.GetItem(end)->flags & kMfMenuBreak)) ++end;
        int width = 0;
        for (int k = i; k < end; ++k) width = std::max(width, sizes[static_cast<size_t>(k)].cx);
        int top = kMenuFrame;
        for (int k = i; k < end; ++k) {
            const int h = sizes[static_cast<size_t>(k)].cy;
            layout.items.push_back(Rect(left, top, left + width, top + h));
            top += h;
        }
        bottom = std::max(bottom, top);
        left += width;
        i = end;
    }
    layout.size = Size(left + kMenuFrame, bottom + kMenuFrame);
    return layout;
}

std::unique_ptr<Bitmap> RenderPopupMenu(Menu& menu, Window* owner, int hot)
{
    const MenuLayout layout = LayoutPopupMenu(menu, owner);
    std::unique_ptr<Bitmap> picture = Bitmap::Create(std::max(layout.size.cx, 1), std::max(layout.size.cy, 1));
    if (!picture) return nullptr;
    MemoryDc dc;
    dc.Select(picture.get());
    const Rect whole(0, 0, layout.size.cx, layout.size.cy);
    dc.FillRect(whole, Brush::Solid(GetSysColor(kColorMenu)));
    DrawFrame(dc, whole, look::kBorder);
    for (int i = 0; i < menu.GetItemCount(); ++i) {
        const Menu::Item& item = *menu.GetItem(i);
        const Rect rect = layout.items[static_cast<size_t>(i)];
        const bool selected = i == hot && !(item.flags & kMfSeparator);
        if (item.flags & kMfOwnerDraw) {
            DrawItem d;
            d.itemId = static_cast<int>(item.id);
            d.state = (selected ? kOdsSelected : 0u) | ((item.flags & kMfGrayed) ? kOdsGrayed : 0u) |
                      ((item.flags & kMfDisabled) ? kOdsDisabled : 0u) | ((item.flags & kMfChecked) ? kOdsChecked : 0u);
            d.dc = &dc;
            d.rect = rect;
            d.itemData = item.data;
            d.menu = &menu;
            if (owner) SendMessage(owner, kWmDrawItem, 0, reinterpret_cast<LParam>(&d));
            continue;
        }
        if (item.flags & kMfSeparator) {
            const int y = (rect.top + rect.bottom) / 2;
            dc.FillRect(Rect(rect.left + 2, y, rect.right - 2, y + 1), Brush::Solid(look::kBorder));
            continue;
        }
        if (selected) dc.FillRect(rect, Brush::Solid(GetSysColor(kColorHighlight)));
        dc.SetTextColor((item.flags & (kMfGrayed | kMfDisabled)) ? GetSysColor(kColorGrayText)
                        : selected                               ? GetSysColor(kColorHighlightText)
                                                                 : GetSysColor(kColorMenuText));
        if (item.bitmap) dc.StretchBitmap(rect.left + 2, rect.top + 2, item.bitmap->Width(), item.bitmap->Height(), *item.bitmap);
        else DrawTextIn(dc, rect, item.text, 0, kTextItemPadding / 2);
    }
    dc.Select(static_cast<Bitmap*>(nullptr));
    return picture;
}

} // namespace plat

// The caret and the selection of a text flow on a canvas: one inverted band per line over
// the selected items, or a 2-pixel bar at the caret item. The page body draws its own text
// this way, and so does a text frame or caption that has the focus.
#include "document/text_flow.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/gfx/dc.h"
#include "resources/res_bitmaps.h"

namespace {

// The caret is a bar this many pixels wide.
constexpr int kCaretWidth = 2;

} // namespace

void CTextFlow::DrawCaret(plat::Dc& dc, double zoom, int x, int y)
{
    m_caretRect = plat::Rect();
    // Item coordinates count from the flow's page origin: the body's is the desk's, a
    // frame's the place of the object that holds it.
    const plat::Point origin = GetPageOrigin();
    const int x0 = x + TwipsToPixels(dc, zoom, origin.x);
    const int y0 = y + TwipsToPixels(dc, zoom, origin.y);
    auto px = [&](std::int64_t twips) { return TwipsToPixels(dc, zoom, static_cast<int>(twips)); };
    if (HasSelection()) {
        // One inverted band per line: items that follow each other on one line top extend
        // the band.
        int start, end;
        GetSelectionRange(start, end);
        const plat::Bitmap* mark = LoadResBitmap(u"IDB_ENDPAR");
        const int markWidth = mark ? TruncToInt(mark->Width() * zoom) : 0;
        plat::Rect band;
        std::int64_t bandLineTop = 0;
        std::int64_t nextLeft = 0;
        const bool showDeleted = RevisionsShown();
        for (int i = start; i < end; ++i) {
            const CTextItem* item = ItemAt(i);
            if (item->IsDeleted() && !showDeleted) continue;
            const std::int64_t left = item->GetLeft();
            const std::int64_t lineTop = item->GetLineTop();
            const int ix = x0 + px(left);
            const int right = IsParaEndType(item->GetNodeType()) ? ix + markWidth : x0 + px(left + item->GetDrawnWidth());
            const plat::Rect r(ix, y0 + px(lineTop), right, y0 + px(lineTop + item->GetLineHeight()));
            if (!band.IsEmpty() && lineTop == bandLineTop && left == nextLeft) {
                band = band.Union(r);
            } else {
                if (!band.IsEmpty()) dc.InvertRect(band);
                band = r;
                bandLineTop = lineTop;
            }
            nextLeft = left + item->GetDrawnWidth();
        }
        if (!band.IsEmpty()) dc.InvertRect(band);
        return;
    }

    const CTextItem* item = CaretItem();
    if (!item) return;
    const int cx = x0 + px(item->GetLeft());
    int cy = y0 + px(item->GetTop());
    int h = px(item->GetHeight());
    const std::uint8_t position = item->GetFormat().m_position;
    if (position == 1) {
        const int small = 2 * h / 3;
        cy -= small / 3;
        h = small;
    } else if (position == 2) {
        const int small = 2 * h / 3;
        cy += 5 * small / 6;
        h = small;
    }
    m_caretRect = plat::Rect(cx, cy, cx + kCaretWidth, cy + h);
    if (!m_caretRect.IsEmpty()) dc.InvertRect(m_caretRect);
}

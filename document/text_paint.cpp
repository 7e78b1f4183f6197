#include "document/text_paint.h"

#include "document/doc_context.h"
#include "document/doc_node.h"
#include "document/named_container.h"
#include "document/render_context.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/gfx/dc.h"
#include "resources/res_bitmaps.h"

namespace {

bool IsMarkable(std::uint16_t t)
{
    return (t >= kItemSpace && t <= kItemFullStop) || (t >= kItemCjk && t <= kItemCjkClose);
}

// An opening mark halved by the measuring rule: its glyph's right half fills its cell.
bool IsCompressedOpening(const CTextItem& item)
{
    return item.GetNodeType() == kItemCjkOpen && item.GetWidth() == item.GetHeight() / 2;
}

bool HiddenIn(const CDocContext* doc, const CTextItem& item)
{
    return item.IsDeleted() && !(doc && doc->IsRevisionsShown());
}

} // namespace

bool IsInteractivePass(const CDocContext* doc, int pass)
{
    return pass == 1 && !(doc && doc->IsReference());
}

void DrawItemMarks(plat::Dc& dc, double zoom, int x0, int y0, const CTextItem& item, CRenderContext& rc, bool wavy)
{
    if (!IsMarkable(item.GetNodeType())) return;
    const CCharFormat& f = item.GetFormat();
    if (f.m_position != 0) return;
    const bool misspelt = wavy && item.GetMisspelt() != nullptr;
    if (!misspelt && f.m_underline == 0) return;
    int left = item.GetLeft();
    if (IsCompressedOpening(item)) left -= item.GetWidth();
    const int x = x0 + TwipsToPixels(dc, zoom, left);
    const int y = y0 + TwipsToPixels(dc, zoom, item.GetTop() + item.GetAscent()) + Px96ToPixels(dc, zoom, 4);
    const int drawn = TwipsToPixels(dc, zoom, item.GetDrawnWidth());
    if (misspelt) rc.DrawWavyLine(dc, zoom, x, y, drawn);
    if (f.m_underline != 0) rc.DrawUnderline(dc, zoom, item, x, y, TwipsToPixels(dc, zoom, item.GetWidth()), drawn);
}

bool CWesternRun::IsPlain(const CTextItem& item)
{
    const std::uint16_t t = item.GetNodeType();
    if (t < kItemWestern || t > kItemFullStop) return false;
    const CCharFormat& f = item.GetFormat();
    return f.m_insertedBy == 0 && f.m_deletedBy == 0 && f.m_position == 0 && f.m_annotation == 0;
}

bool CWesternRun::Add(const CTextItem& item)
{
    const bool plain = IsPlain(item);
    const int baseline = item.GetTop() + item.GetAscent();
    if (plain && m_first && item.FormatHandle() == m_first->FormatHandle() && baseline == m_baseline) {
        m_text += item.GetCode();
        m_width += item.GetWidth();
        return true;
    }
    Flush();
    if (!plain) return false;
    m_first = &item;
    m_text.assign(1, item.GetCode());
    m_baseline = baseline;
    m_width = item.GetWidth();
    return true;
}

void CWesternRun::Flush()
{
    if (!m_first) return;
    const CCharFormat& f = m_first->GetFormat();
    m_rc.SetFont(m_dc, m_zoom, f.m_westernFace, f.m_size, f.m_bold != 0, f.m_italic != 0, false, false);
    m_rc.SetTextColor(m_dc, f, f.m_color);
    const int extent = m_dc.GetTextExtent(m_text).cx;
    // The screen's text is centred in the width the layout gave it.
    const int x = m_x0 + TwipsToPixels(m_dc, m_zoom, m_first->GetLeft()) +
                  (TwipsToPixels(m_dc, m_zoom, m_width) - extent + 1) / 2;
    m_dc.TextOut(x, m_y0 + TwipsToPixels(m_dc, m_zoom, m_baseline), m_text);
    m_first = nullptr;
    m_text.clear();
    m_width = 0;
}

void CNamedContainer::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks)
{
    const CDocContext* doc = GetDoc();
    const int n = GetCount();
    if (IsInteractivePass(doc, pass)) {
        for (int i = 0; i < n; ++i) {
            const CTextItem* item = ItemAt(i);
            if (!HiddenIn(doc, *item)) item->Draw(dc, zoom, x0, y0, pass, rc, marks);
        }
        for (int i = 0; i < n; ++i) {
            const CTextItem* item = ItemAt(i);
            if (!HiddenIn(doc, *item)) DrawItemMarks(dc, zoom, x0, y0, *item, rc, true);
        }
        return;
    }
    CWesternRun run(dc, zoom, x0, y0, rc);
    for (int i = 0; i < n; ++i) {
        const CTextItem* item = ItemAt(i);
        if (HiddenIn(doc, *item)) continue;
        if (!run.Add(*item)) item->Draw(dc, zoom, x0, y0, pass, rc, marks);
        DrawItemMarks(dc, zoom, x0, y0, *item, rc, false);
    }
    run.Flush();
}

void CCharItem::Draw(plat::Dc& dc, double zoom, int x0, int y0, int /*pass*/, CRenderContext& rc, bool marks) const
{
    const CCharFormat& f = GetFormat();
    const std::uint16_t t = GetNodeType();
    int x = x0 + TwipsToPixels(dc, zoom, GetLeft());
    const int size = f.m_size;
    int drawSize = size;
    int baseline = GetTop() + GetAscent();
    int markerTop = GetTop();
    if (f.m_position == 1) {
        drawSize = 2 * size / 3;
        baseline -= size / 2;
    } else if (f.m_position == 2) {
        drawSize = 2 * size / 3;
        baseline += size / 4;
        markerTop += size / 3;
    }
    const int y = y0 + TwipsToPixels(dc, zoom, baseline);

    if (t < kItemSpace || t > kItemCjkClose || t == kItemUnused) return;
    if (t == kItemSpace) {
        if (!marks) return;
        const CDocContext* doc = rc.GetDoc();
        if (doc && doc->IsRevisionsShown() && (f.m_deletedBy != 0 || f.m_insertedBy != 0)) {
            const plat::ColorRef c =
                doc->GetAuthors().GetAuthorColor(f.m_deletedBy != 0 ? f.m_deletedBy : f.m_insertedBy);
            // Authors without a revision colour leave their spaces unmarked, as their text.
            if (c != 0) {
                const plat::Point wh = TwipsToPixelsPoint(dc, zoom, GetWidth(), drawSize);
                const int left = x + wh.x / 3;
                const int top = y0 + TwipsToPixels(dc, zoom, markerTop) + wh.y / 2;
                rc.SetPen(dc, plat::kPenSolid, 1, static_cast<std::int32_t>(c));
                rc.SetSolidBrush(dc, static_cast<std::int32_t>(c));
                dc.Rectangle(left, top, left + wh.x / 2, top + wh.y / 4);
            }
        }
    } else if (IsCompressedOpening(*this)) {
        x = x0 + TwipsToPixels(dc, zoom, GetLeft() - GetWidth());
    }
    // Western items in the Western face; CJK items, and spaces, in the Chinese face.
    const bool western = t >= kItemWestern && t <= kItemFullStop;
    rc.DrawChar(dc, zoom, x, y, GetCode(), western ? f.m_westernFace : f.m_chineseFace, drawSize, f.m_bold != 0,
                f.m_italic != 0, f, f.m_color);
}

void CParaEndItem::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& /*rc*/,
                        bool marks) const
{
    if (pass != 1 || !marks) return;
    if (GetParent() && GetParent()->GetNodeType() == kNodeCaption) return;
    const plat::Bitmap* mark = LoadResBitmap(u"IDB_ENDPAR");
    if (!mark) return;
    const int w = TruncToInt(mark->Width() * zoom);
    const int h = TruncToInt(mark->Height() * zoom);
    const int x = x0 + TwipsToPixels(dc, zoom, GetLeft());
    const int y = y0 + TwipsToPixels(dc, zoom, GetTop() + GetAscent()) - h;
    dc.StretchBitmap(x, y, w, h, *mark);
}

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

// The note of an annotated item or an anchor, over the item's cell (its drawn width over
// its line box) from its point on the baseline; the reference pane shows no notes.
void DrawItemAnnotation(const CTextItem& item, plat::Dc& dc, double zoom, int x, int baseline, int y0, int pass,
                        CRenderContext& rc)
{
    const std::int16_t number = item.GetFormat().m_annotation;
    CDocContext* doc = item.GetDoc();
    if (number == 0 || !doc || doc->IsReference()) return;
    const plat::Rect cell(x, y0 + TwipsToPixels(dc, zoom, item.GetLineTop()), x + TwipsToPixels(dc, zoom, item.GetDrawnWidth()),
                          y0 + TwipsToPixels(dc, zoom, item.GetLineTop() + item.GetLineHeight()));
    doc->GetAnnotations().DrawAnnotation(dc, zoom, cell, plat::Point(x, baseline), pass, rc, number);
}

} // namespace

bool IsInteractivePass(const CDocContext* doc, int pass)
{
    return pass == 1 && !(doc && doc->IsReference());
}

bool HasItemMarks(const CTextItem& item, bool wavy)
{
    if (!IsMarkable(item.GetNodeType())) return false;
    const CCharFormat& f = item.GetFormat();
    return f.m_position == 0 && (f.m_underline != 0 || (wavy && item.GetMisspelt() != nullptr));
}

void DrawItemMarks(plat::Dc& dc, double zoom, int x0, int y0, const CTextItem& item, CRenderContext& rc, bool wavy)
{
    if (!HasItemMarks(item, wavy)) return;
    const CCharFormat& f = item.GetFormat();
    const bool misspelt = wavy && item.GetMisspelt() != nullptr;
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

bool CScreenGlyphs::Add(const CTextItem& item)
{
    CCharItem::GlyphPlace place;
    const auto* ch = item.IsChar() ? static_cast<const CCharItem*>(&item) : nullptr;
    // An annotated character paints its note's highlight under its glyph: it draws itself.
    if (!ch || ch->HasRevisionBlock(m_rc) || item.GetFormat().m_annotation != 0 ||
        !ch->PlaceGlyph(m_dc, m_zoom, m_x0, m_y0, place)) {
        Flush();
        return false;
    }
    if (!m_codes.empty() && (item.FormatHandle() != m_handle || place.western != m_western)) Flush();
    m_handle = item.FormatHandle();
    m_western = place.western;
    m_size = place.size;
    m_origins.push_back(place.origin);
    m_codes += item.GetCode();
    return true;
}

void CScreenGlyphs::Flush()
{
    if (m_codes.empty()) return;
    const CCharFormat& f = CFormatPool::Instance().Get(m_handle);
    m_rc.SetFont(m_dc, m_zoom, m_western ? f.m_westernFace : f.m_chineseFace, m_size, f.m_bold != 0,
                 f.m_italic != 0, false, f.m_deletedBy != 0);
    m_rc.SetTextColor(m_dc, f, f.m_color);
    m_dc.TextOutEach(m_origins, m_codes);
    m_origins.clear();
    m_codes.clear();
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

bool CCharItem::PlaceGlyph(const plat::Dc& dc, double zoom, int x0, int y0, GlyphPlace& place) const
{
    const std::uint16_t t = GetNodeType();
    if (t < kItemSpace || t > kItemCjkClose || t == kItemUnused) return false;
    const CCharFormat& f = GetFormat();
    int left = GetLeft();
    int baseline = GetTop() + GetAscent();
    place.size = f.m_size;
    if (f.m_position == 1) {
        place.size = 2 * f.m_size / 3;
        baseline -= f.m_size / 2;
    } else if (f.m_position == 2) {
        place.size = 2 * f.m_size / 3;
        baseline += f.m_size / 4;
    }
    if (t != kItemSpace && IsCompressedOpening(*this)) left -= GetWidth();
    place.origin = plat::Point(x0 + TwipsToPixels(dc, zoom, left), y0 + TwipsToPixels(dc, zoom, baseline));
    // Western items in the Western face; CJK items, and spaces, in the Chinese face.
    place.western = t >= kItemWestern && t <= kItemFullStop;
    return true;
}

namespace {

// The colour of the revision author of a space's format, 0 when it has none to show.
plat::ColorRef RevisionBlockColor(const CDocContext* doc, const CCharFormat& f)
{
    if (!doc || !doc->IsRevisionsShown() || (f.m_deletedBy == 0 && f.m_insertedBy == 0)) return 0;
    return doc->GetAuthors().GetAuthorColor(f.m_deletedBy != 0 ? f.m_deletedBy : f.m_insertedBy);
}

} // namespace

bool CCharItem::HasRevisionBlock(const CRenderContext& rc) const
{
    return GetNodeType() == kItemSpace && RevisionBlockColor(rc.GetDoc(), GetFormat()) != 0;
}

void CCharItem::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool marks) const
{
    GlyphPlace place;
    if (!PlaceGlyph(dc, zoom, x0, y0, place)) return;
    const CCharFormat& f = GetFormat();
    DrawItemAnnotation(*this, dc, zoom, x0 + TwipsToPixels(dc, zoom, GetLeft()), place.origin.y, y0, pass, rc);
    if (GetNodeType() == kItemSpace) {
        if (!marks) return;
        // Authors without a revision colour leave their spaces unmarked, as their text.
        if (const plat::ColorRef c = RevisionBlockColor(rc.GetDoc(), f)) {
            const int markerTop = f.m_position == 2 ? GetTop() + f.m_size / 3 : GetTop();
            const plat::Point wh = TwipsToPixelsPoint(dc, zoom, GetWidth(), place.size);
            const int left = place.origin.x + wh.x / 3;
            const int top = y0 + TwipsToPixels(dc, zoom, markerTop) + wh.y / 2;
            rc.SetPen(dc, plat::kPenSolid, 1, static_cast<std::int32_t>(c));
            rc.SetSolidBrush(dc, static_cast<std::int32_t>(c));
            dc.Rectangle(left, top, left + wh.x / 2, top + wh.y / 4);
        }
    }
    rc.DrawChar(dc, zoom, place.origin.x, place.origin.y, GetCode(), place.western ? f.m_westernFace : f.m_chineseFace,
                place.size, f.m_bold != 0, f.m_italic != 0, f, f.m_color);
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

void CAnchorItem::Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc, bool /*marks*/) const
{
    DrawItemAnnotation(*this, dc, zoom, x0 + TwipsToPixels(dc, zoom, GetLeft()),
                       y0 + TwipsToPixels(dc, zoom, GetTop() + GetAscent()), y0, pass, rc);
}

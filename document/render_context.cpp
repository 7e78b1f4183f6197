#include "document/render_context.h"

#include <algorithm>
#include <functional>

#include "document/char_format.h"
#include "document/doc_context.h"
#include "document/text_item.h"
#include "document/units.h"

plat::ColorRef CColorRef::Resolve(std::int32_t value) const
{
    if (value == kAutoTextColor) return m_doc ? m_doc->GetDefaultTextColor() : 0;
    if (value == kAutoFillColor) return m_doc ? m_doc->GetDefaultFillColor() : 0x00FFFF00;
    return static_cast<plat::ColorRef>(value) & 0xFFFFFF;
}

plat::ColorRef CColorRef::ResolveBGR(std::int32_t value) const
{
    const plat::ColorRef c = Resolve(value);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

LineKindStyle LineKindToStyle(int kind)
{
    switch (kind) {
    case 3: return {plat::kPenDash, 1};
    case 4: return {plat::kPenDot, 1};
    case 5: return {plat::kPenDashDot, 1};
    case 6: return {plat::kPenDashDotDot, 1};
    case 7: return {plat::kPenSolid, 2};
    case 8: return {plat::kPenSolid, 4};
    case 9: return {plat::kPenSolid, 6};
    case 10: return {plat::kPenSolid, 8};
    case 11: return {plat::kPenSolid, 10};
    case 12: return {plat::kPenSolid, 12};
    case 13: return {plat::kPenSolid, 16};
    default: return {plat::kPenSolid, 1}; // kind 2, and a plain line for kinds without a row
    }
}

std::size_t CRenderContext::FontKeyHash::operator()(const FontKey& k) const
{
    std::size_t h = std::hash<plat::String>()(k.face);
    h = h * 31 + std::hash<double>()(k.scaledSize);
    return h * 16 + (k.bold ? 1 : 0) + (k.italic ? 2 : 0) + (k.underline ? 4 : 0) + (k.strikeOut ? 8 : 0);
}

CRenderContext::CRenderContext(const CDocContext* doc, plat::Dc& dc) : m_doc(doc), m_colors(doc)
{
    m_oldBkMode = dc.SetBkMode(plat::kTransparent);
    m_bkMode = plat::kTransparent;
    m_oldTextAlign = dc.SetTextAlign(plat::kTaBaseline | plat::kTaLeft);
    m_alignReplaced = true;
    m_textAlign = plat::kTaBaseline | plat::kTaLeft;
}

CRenderContext::~CRenderContext() = default;

void CRenderContext::SetFont(plat::Dc& dc, double zoom, const plat::String& face, int size, bool bold,
                             bool italic, bool underline, bool strikeOut)
{
    FontKey key{face, zoom * size, bold, italic, underline, strikeOut};
    if (m_font && key == m_fontKey) return;
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        plat::FontDesc d;
        d.face = face;
        const int px = TwipsToPixels(dc, zoom, size);
        d.height = px == 0 ? -1 : -px;
        d.weight = bold ? plat::kFwBold : plat::kFwNormal;
        d.italic = italic;
        d.underline = underline;
        d.strikeOut = strikeOut;
        d.charSet = plat::kDefaultCharSet;
        it = m_fonts.emplace(key, std::make_unique<plat::Font>(d)).first;
    }
    m_font = it->second.get();
    m_fontKey = std::move(key);
    const plat::Font* old = dc.Select(m_font);
    if (!m_fontReplaced) {
        m_fontReplaced = true;
        m_oldFont = old;
    }
}

void CRenderContext::SetTextAlign(plat::Dc& dc, unsigned align)
{
    if (align == m_textAlign) return;
    const unsigned old = dc.SetTextAlign(align);
    if (!m_alignReplaced) {
        m_alignReplaced = true;
        m_oldTextAlign = old;
    }
    m_textAlign = align;
}

void CRenderContext::SetBkMode(plat::Dc& dc, int /*mode*/)
{
    if (m_bkMode == plat::kTransparent) return;
    const int old = dc.SetBkMode(plat::kTransparent);
    if (m_oldBkMode == 0) m_oldBkMode = old;
    m_bkMode = plat::kTransparent;
}

void CRenderContext::SetTextColor(plat::Dc& dc, const CCharFormat& format, std::int32_t color)
{
    plat::ColorRef c = m_colors.Resolve(color);
    if (m_doc && m_doc->IsRevisionsShown() && (format.m_deletedBy != 0 || format.m_insertedBy != 0)) {
        const int author = format.m_deletedBy != 0 ? format.m_deletedBy : format.m_insertedBy;
        // Authors with the first author's id have no revision colour: their text keeps its own.
        const plat::ColorRef revision = m_doc->GetAuthors().GetAuthorColor(author);
        if (revision != 0) c = revision;
    }
    if (static_cast<std::int64_t>(c) == m_textColor) return;
    const plat::ColorRef old = dc.SetTextColor(c);
    if (m_oldTextColor < 0) m_oldTextColor = old;
    m_textColor = c;
}

void CRenderContext::SelectPen(plat::Dc& dc, const plat::Pen& pen)
{
    auto made = std::make_unique<plat::Pen>(pen);
    const plat::Pen* old = dc.Select(made.get());
    if (!m_penReplaced) {
        m_penReplaced = true;
        m_oldPen = old;
    }
    m_pen = std::move(made);
}

void CRenderContext::SetLinePen(plat::Dc& dc, double zoom, int kind, std::int32_t color)
{
    if (!m_rawPen && m_pen && kind == m_lineKind && color == m_lineColor && zoom == m_lineZoom) return;
    const LineKindStyle ks = LineKindToStyle(kind);
    const int width = std::max(1, Px96ToPixels(dc, zoom, ks.width));
    SelectPen(dc, plat::Pen(ks.style, width, m_colors.Resolve(color)));
    m_rawPen = false;
    m_lineKind = kind;
    m_lineColor = color;
    m_lineZoom = zoom;
    m_penWidth = width;
}

void CRenderContext::SetPen(plat::Dc& dc, plat::PenStyle style, int pixelWidth, std::int32_t color)
{
    if (m_rawPen && m_pen && style == m_rawStyle && pixelWidth == m_penWidth && color == m_rawColor) return;
    SelectPen(dc, plat::Pen(style, pixelWidth, m_colors.Resolve(color)));
    m_rawPen = true;
    m_rawStyle = style;
    m_rawColor = color;
    m_penWidth = pixelWidth;
}

void CRenderContext::SetBrush(plat::Dc& dc, int kind, std::int32_t color)
{
    if (m_brush && kind == m_brushKind && color == m_brushColor) return;
    const plat::ColorRef c = m_colors.Resolve(color);
    std::unique_ptr<plat::Brush> made;
    switch (kind) {
    case 1: made = std::make_unique<plat::Brush>(*plat::StockBrush(plat::StockObject::kNullBrush)); break;
    case 2: made = std::make_unique<plat::Brush>(plat::Brush::Solid(c)); break;
    case 3: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchHorizontal, c)); break;
    case 4: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchVertical, c)); break;
    case 5: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchCross, c)); break;
    case 6: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchFDiagonal, c)); break;
    case 7: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchBDiagonal, c)); break;
    case 8: made = std::make_unique<plat::Brush>(plat::Brush::Hatched(plat::kHatchDiagCross, c)); break;
    default: return;
    }
    const plat::Brush* old = dc.Select(made.get());
    if (!m_brushReplaced) {
        m_brushReplaced = true;
        m_oldBrush = old;
    }
    m_brush = std::move(made);
    m_brushKind = kind;
    m_brushColor = color;
}

void CRenderContext::DrawChar(plat::Dc& dc, double zoom, int x, int y, char16_t ch, const plat::String& face,
                              int size, bool bold, bool italic, const CCharFormat& format, std::int32_t color)
{
    SetFont(dc, zoom, face, size, bold, italic, false, format.m_deletedBy != 0);
    SetTextColor(dc, format, color);
    dc.TextOut(x, y, plat::StringView(&ch, 1));
}

void CRenderContext::DrawUnderline(plat::Dc& dc, double zoom, const CTextItem& item, int x, int y,
                                   int cellWidth, int lineWidth)
{
    const CCharFormat& f = item.GetFormat();
    if (f.m_underline == 0 || f.m_underline > kUnderlineMax) return;
    SetLinePen(dc, zoom, 2, f.m_color);
    const int e = Px96ToPixels(dc, zoom, 1);
    const int d = Px96ToPixels(dc, zoom, 3);
    switch (f.m_underline) {
    case 1:
    case 2:
        dc.MoveTo(x - e, y);
        dc.LineTo(x + e + lineWidth, y);
        if (f.m_underline == 2) {
            dc.MoveTo(x - e, y + d);
            dc.LineTo(x + e + lineWidth, y + d);
        }
        break;
    case 3: {
        SetSolidBrush(dc, f.m_color);
        const int left = x + (cellWidth - d) / 2;
        dc.Ellipse(left, y, left + d, y + d);
        break;
    }
    default:
        break;
    }
}

void CRenderContext::DrawWavyLine(plat::Dc& dc, double zoom, int x, int y, int width)
{
    SetLinePen(dc, zoom, 2, 0x0000FF);
    dc.MoveTo(x, y - 2);
    for (int i = 0; i < (width + 1) / 2; ++i) dc.LineTo(x + 2 * i, i % 2 ? y : y - 2);
}

void CRenderContext::Restore(plat::Dc& dc)
{
    if (m_fontReplaced && m_oldFont) dc.Select(m_oldFont);
    if (m_oldTextColor >= 0) dc.SetTextColor(static_cast<plat::ColorRef>(m_oldTextColor));
    if (m_alignReplaced) dc.SetTextAlign(m_oldTextAlign);
    if (m_oldBkMode != 0) dc.SetBkMode(m_oldBkMode);
    if (m_penReplaced && m_oldPen) dc.Select(m_oldPen);
    if (m_brushReplaced && m_oldBrush) dc.Select(m_oldBrush);
    // Nothing of this context's stays selected; the next setter selects afresh.
    m_fontReplaced = m_penReplaced = m_brushReplaced = m_alignReplaced = false;
    m_oldTextColor = -1;
    m_oldBkMode = 0;
    m_font = nullptr;
    m_pen.reset();
    m_brush.reset();
    m_textColor = -1;
    m_textAlign = 0;
    m_bkMode = 0;
    m_brushKind = 255;
}

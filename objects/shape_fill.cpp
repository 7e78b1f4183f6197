// What the shape painters and the editing code share: filled outlines, the box fitted to
// the points and to the pixels the shape really paints, and the pixel hit test. Both pixel
// operations paint the shape off-screen at zoom 1.0 (without antialiasing, as every DC
// draws) and read the pixels back.
#include <algorithm>
#include <vector>

#include "document/doc_context.h"
#include "document/render_context.h"
#include "document/units.h"
#include "objects/shape_geometry.h"
#include "objects/shape_object.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

constexpr plat::ColorRef kMaskWhite = 0xFFFFFF;
constexpr int kHitReach = 3; // pixels searched on every side of a click

int FillKindOrNone(int kind)
{
    return kind >= 1 && kind <= 8 ? kind : 1;
}

// The closed figure through the points, stroked and filled with winding fill.
void StrokeAndFillClosed(plat::Dc& dc, std::span<const plat::Point> points, bool bezier)
{
    if (points.empty()) return;
    const int oldMode = dc.SetPolyFillMode(plat::kWinding);
    dc.BeginPath();
    dc.MoveTo(points[0].x, points[0].y);
    if (bezier) {
        dc.PolyBezierTo(points.subspan(1));
    } else {
        for (std::size_t i = 1; i < points.size(); ++i) dc.LineTo(points[i].x, points[i].y);
        dc.LineTo(points[0].x, points[0].y);
    }
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.AbortPath();
    dc.SetPolyFillMode(oldMode);
}

} // namespace

void CShapeObject::FillPolygonArray(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                                    std::int32_t fillColor, std::span<const plat::Point> points, CRenderContext& rc)
{
    rc.SetBrush(dc, FillKindOrNone(fillKind), fillColor);
    rc.SetLinePen(dc, zoom, lineKind, lineColor);
    StrokeAndFillClosed(dc, points, false);
}

void CShapeObject::FillPolygonList(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                                   std::int32_t fillColor, const CPointList& list, CRenderContext& rc)
{
    FillPolygonArray(dc, zoom, lineKind, lineColor, fillKind, fillColor, shapepaint::PointsOf(list), rc);
}

void CShapeObject::FillPolygonPoints(plat::Dc& dc, double zoom, std::int32_t color, std::span<const plat::Point> points,
                                     CRenderContext& rc)
{
    FillPolygonArray(dc, zoom, 2, color, 2, color, points, rc);
}

void CShapeObject::FillBezierArray(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                                   std::int32_t fillColor, std::span<const plat::Point> points, CRenderContext& rc)
{
    if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
    rc.SetBrush(dc, FillKindOrNone(fillKind), fillColor);
    rc.SetLinePen(dc, zoom, lineKind, lineColor);
    StrokeAndFillClosed(dc, points, true);
}

// ---- box and points ----

bool CShapeObject::PointExtremes(plat::Rect& out) const
{
    if (m_points.GetCount() == 0) return false;
    out = plat::Rect(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point p = m_points.GetPoint(i);
        out.left = std::min(out.left, p.x);
        out.top = std::min(out.top, p.y);
        out.right = std::max(out.right, p.x);
        out.bottom = std::max(out.bottom, p.y);
    }
    return true;
}

void CShapeObject::SetBox(int left, int top, int right, int bottom)
{
    if (right == left) right = left + kLeastExtent;
    if (bottom == top) bottom = top + kLeastExtent;
    m_bounds = plat::Rect(left, top, right, bottom);
    m_width = right - left;
    m_height = bottom - top;
    RecalcLayout();
}

void CShapeObject::SetPointsFromPixels(const CPointList& pixels)
{
    if (pixels.GetCount() == 0 || !m_doc) return;
    plat::Rect e(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int i = 0; i < pixels.GetCount() && i < kMaxPoints; ++i) {
        const plat::Point p = pixels.GetPoint(i);
        e.left = std::min(e.left, p.x);
        e.top = std::min(e.top, p.y);
        e.right = std::max(e.right, p.x);
        e.bottom = std::max(e.bottom, p.y);
    }
    m_points.RemoveAll();
    for (int i = 0; i < pixels.GetCount() && i < kMaxPoints; ++i) {
        const plat::Point p = pixels.GetPoint(i);
        const plat::Point t = m_doc->PixelsToTwipsPoint(p.x - e.left, p.y - e.top);
        m_points.AddPoint(t.x, t.y);
    }
    SetBox(m_doc->PixelsToTwips(e.left), m_doc->PixelsToTwips(e.top), m_doc->PixelsToTwips(e.right),
           m_doc->PixelsToTwips(e.bottom));
    FitBoxToPaint();
}

void CShapeObject::NormalizeToPoints()
{
    plat::Rect e;
    if (!PointExtremes(e)) return;
    const int left = m_bounds.left, top = m_bounds.top;
    for (int i = 0; i < m_points.GetCount(); ++i) {
        CPointNode* n = m_points.GetPointRef(i);
        n->m_x -= e.left;
        n->m_y -= e.top;
    }
    SetBox(left + e.left, top + e.top, left + e.right, top + e.bottom);
    FitBoxToPaint();
}

std::unique_ptr<plat::Bitmap> CShapeObject::PaintMask(int width, int height, int margin)
{
    std::unique_ptr<plat::Bitmap> bitmap = plat::Bitmap::Create(width, height);
    if (!bitmap) return nullptr;
    bitmap->Fill(kMaskWhite);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    CPointList pixels;
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point p = m_points.GetPoint(i);
        const plat::Point d = TwipsToPixelsPoint(dc, 1.0, p.x, p.y);
        pixels.AddPoint(d.x + margin, d.y + margin);
    }
    CRenderContext rc(m_doc, dc);
    Paint(dc, 1.0, pixels, rc);
    rc.Restore(dc);
    dc.Select(static_cast<plat::Bitmap*>(nullptr));
    return bitmap;
}

void CShapeObject::FitBoxToPaint()
{
    const plat::MemoryDc screen; // the canvas is a 96-dpi device
    const int m = TwipsToPixels(screen, 1.0, std::max(m_width, m_height));
    const std::unique_ptr<plat::Bitmap> mask = PaintMask(5 * m, 5 * m, 2 * m);
    if (!mask) return; // too large to paint: the box stays that of the points
    int minX = INT32_MAX, minY = INT32_MAX, maxX = -1, maxY = -1;
    for (int y = 0; y < mask->Height(); ++y) {
        const std::uint32_t* row = mask->Row(y);
        for (int x = 0; x < mask->Width(); ++x) {
            if ((row[x] & 0xFFFFFF) == kMaskWhite) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    // Nothing painted: the box from the points is the best there is.
    if (maxX < 0) return;
    const int left = m_bounds.left, top = m_bounds.top;
    const int newLeft = left + PixelsToTwips(screen, 1.0, minX - 2 * m);
    const int newTop = top + PixelsToTwips(screen, 1.0, minY - 2 * m);
    const int right = left + PixelsToTwips(screen, 1.0, maxX - 2 * m);
    const int bottom = top + PixelsToTwips(screen, 1.0, maxY - 2 * m);
    for (int i = 0; i < m_points.GetCount(); ++i) {
        CPointNode* n = m_points.GetPointRef(i);
        n->m_x += left - newLeft;
        n->m_y += top - newTop;
    }
    SetBox(newLeft, newTop, right, bottom);
}

bool CShapeObject::HitTestPixels(int x, int y)
{
    const plat::MemoryDc screen;
    const plat::Point size = TwipsToPixelsPoint(screen, 1.0, m_width, m_height);
    const std::unique_ptr<plat::Bitmap> mask = PaintMask(size.x, size.y, 0);
    const plat::Point at = TwipsToPixelsPoint(screen, 1.0, x, y);
    for (int dy = -kHitReach; dy <= kHitReach; ++dy)
        for (int dx = -kHitReach; dx <= kHitReach; ++dx) {
            // Beyond the bitmap counts as painted, so a click at the box's edge hits.
            const plat::ColorRef c = mask ? mask->GetPixel(at.x + dx, at.y + dy) : plat::kInvalidColor;
            if (c != kMaskWhite) return true;
        }
    return false;
}

#include "objects/shape_object.h"

#include "document/doc_context.h"
#include "document/format_state.h"
#include "document/render_context.h"
#include "document/units.h"
#include "platform/file/archive.h"
#include "platform/gfx/dc.h"

namespace {

bool In(std::uint16_t code, std::uint16_t first, std::uint16_t last)
{
    return code >= first && code <= last;
}

// Line ends a record may carry at the start (0 none, 1 plain, 2-4 decorations; 5 and 6
// draw nothing there) and at the end (up to 6).
constexpr std::uint8_t kLastLineEnd = 6;
constexpr std::uint8_t kLastLineKind = 13;
constexpr std::uint8_t kLastFillKind = 8;

std::unique_ptr<CFloatObject> MakeShape(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CShapeObject>(doc, parent);
}

} // namespace

CShapeObject::CShapeObject(CDocContext* doc, CDocNode* parent, std::uint16_t shapeCode)
    : CFloatObject(doc, parent, kNodeShape), m_shapeCode(shapeCode)
{
    m_layer = 3;
    ResetLineEnds();
    ResetResizeMode();
}

CShapeObject::~CShapeObject() = default;

// ---- per-code properties ----

ShapeFamily CShapeObject::FamilyOf(std::uint16_t code)
{
    if (In(code, 0x1101, 0x1109)) return ShapeFamily::kLines;
    if (In(code, 0x1201, 0x121C)) return ShapeFamily::kBasic;
    if (In(code, 0x1301, 0x1320)) return ShapeFamily::kBlockArrows;
    if (In(code, 0x1401, 0x140E)) return ShapeFamily::kPolygons;
    if (In(code, 0x1501, 0x1516)) return ShapeFamily::kFlowChart;
    return ShapeFamily::kNone;
}

int CShapeObject::GetCreateModeOf(std::uint16_t code)
{
    switch (code) {
    case 0x1102: case 0x1103: case 0x1106: case 0x1107: case 0x1108: case 0x1109: return 0;
    default: return 2;
    }
}

bool CShapeObject::IsFillableCode(std::uint16_t code)
{
    return code == 0x1103 || code == 0x1108 || code == 0x1109 || In(code, 0x1201, 0x1206) ||
           In(code, 0x1209, 0x1212) || code == 0x121C || In(code, 0x1303, 0x131E) || In(code, 0x1401, 0x140E) ||
           In(code, 0x1501, 0x1516);
}

bool CShapeObject::HasLineStyleCode(std::uint16_t code)
{
    return code != 0x1104 && code != 0x1211;
}

bool CShapeObject::HasDerivedPointsCode(std::uint16_t code)
{
    return In(code, 0x1105, 0x1109) || code == 0x1202 || code == 0x1203 || code == 0x1207 || code == 0x1208 ||
           In(code, 0x120A, 0x120C) || In(code, 0x120E, 0x1212) || In(code, 0x1219, 0x121B) ||
           In(code, 0x1305, 0x1314) || In(code, 0x140B, 0x140E);
}

void CShapeObject::ResetLineEnds()
{
    if (m_shapeCode == 0x1101 || m_shapeCode == 0x1102 || m_shapeCode == 0x1105) {
        m_startLineEnd = 1;
        m_endLineEnd = 1;
    } else if (m_shapeCode == 0x131F || m_shapeCode == 0x1320) {
        m_startLineEnd = 1;
        m_endLineEnd = 4;
    } else {
        m_startLineEnd = 0;
        m_endLineEnd = 0;
    }
}

void CShapeObject::SetResizeModeByCode()
{
    if (In(m_shapeCode, 0x1401, 0x140A))
        m_resizeMode = 4;
    else if (m_shapeCode == 0x1213 || m_shapeCode == 0x1215 || m_shapeCode == 0x1217)
        m_resizeMode = 2;
    else if (m_shapeCode == 0x1214 || m_shapeCode == 0x1216 || m_shapeCode == 0x1218)
        m_resizeMode = 1;
    else
        m_resizeMode = 3;
}

bool CShapeObject::TakeSource(const CNewObjectSource& source)
{
    m_shapeCode = source.shapeCode;
    ResetLineEnds();
    if (source.startLineEnd >= 0 && source.startLineEnd <= kLastLineEnd)
        m_startLineEnd = static_cast<std::uint8_t>(source.startLineEnd);
    if (source.endLineEnd >= 0 && source.endLineEnd <= kLastLineEnd)
        m_endLineEnd = static_cast<std::uint8_t>(source.endLineEnd);
    return true;
}

// ---- record ----

void CShapeObject::Load(plat::Archive& ar, int mode)
{
    using plat::ArchiveException;
    LoadBase(ar, mode);
    const std::uint16_t code = ar.ReadU16();
    const std::uint8_t lineStyle = ar.ReadU8();
    const std::uint8_t fillStyle = ar.ReadU8();
    const std::int32_t lineColor = ar.ReadI32();
    const std::int32_t fillColor = ar.ReadI32();
    const std::uint8_t startEnd = ar.ReadU8();
    const std::uint8_t endEnd = ar.ReadU8();
    const std::uint8_t resizeMode = ar.ReadU8();
    const std::int32_t count = ar.ReadI32();
    // What painting, hit testing and the drags rely on: a known family, kinds the render
    // context has, line ends the painters draw and a bounded number of points.
    if (FamilyOf(code) == ShapeFamily::kNone) throw ArchiveException(ArchiveException::kBadSchema, "shape code");
    if (lineStyle > kLastLineKind) throw ArchiveException(ArchiveException::kBadSchema, "shape line style");
    if (fillStyle > kLastFillKind) throw ArchiveException(ArchiveException::kBadSchema, "shape fill style");
    if (startEnd > kLastLineEnd || endEnd > kLastLineEnd)
        throw ArchiveException(ArchiveException::kBadSchema, "shape line end");
    if (count < 0 || count > kMaxPoints) throw ArchiveException(ArchiveException::kBadIndex, "shape point count");
    std::vector<plat::Point> points;
    points.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t x = ar.ReadI32();
        const std::int32_t y = ar.ReadI32();
        if (x < -kMaxCoord || x > kMaxCoord || y < -kMaxCoord || y > kMaxCoord)
            throw ArchiveException(ArchiveException::kBadIndex, "shape point");
        points.emplace_back(x, y);
    }
    if (mode == kArchiveFile || mode == kArchiveInsert)
        for (int i = 0; i < 4; ++i) ar.ReadI32(); // reserved
    m_shapeCode = code;
    m_lineStyle = lineStyle;
    m_fillStyle = fillStyle;
    m_lineColor = lineColor;
    m_fillColor = fillColor;
    m_startLineEnd = startEnd;
    m_endLineEnd = endEnd;
    m_resizeMode = resizeMode;
    m_points.RemoveAll();
    for (const plat::Point& p : points) m_points.AddPoint(p.x, p.y);
    RecalcLayout();
}

void CShapeObject::Save(plat::Archive& ar, int mode, int dx, int dy)
{
    SaveBase(ar, mode, dx, dy);
    ar.WriteU16(m_shapeCode);
    ar.WriteU8(m_lineStyle);
    ar.WriteU8(m_fillStyle);
    ar.WriteI32(m_lineColor);
    ar.WriteI32(m_fillColor);
    ar.WriteU8(m_startLineEnd);
    ar.WriteU8(m_endLineEnd);
    ar.WriteU8(m_resizeMode);
    ar.WriteI32(m_points.GetCount());
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point p = m_points.GetPoint(i);
        ar.WriteI32(p.x);
        ar.WriteI32(p.y);
    }
    if (mode == kArchiveFile)
        for (int i = 0; i < 4; ++i) ar.WriteI32(0); // reserved
}

// ---- painting ----

void CShapeObject::Draw(plat::Dc& dc, double zoom, int x0, int y0, int /*pass*/, CRenderContext& rc)
{
    const int ox = TwipsToPixels(dc, zoom, m_bounds.left) + x0;
    const int oy = TwipsToPixels(dc, zoom, m_bounds.top) + y0;
    CPointList pixels;
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point p = m_points.GetPoint(i);
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, p.x, p.y);
        pixels.AddPoint(d.x + ox, d.y + oy);
    }
    Paint(dc, zoom, pixels, rc);
}

void CShapeObject::DrawTracker(plat::Dc& dc, double zoom, const CPointList& points)
{
    CRenderContext rc(m_doc, dc);
    Paint(dc, zoom, points, rc);
    rc.Restore(dc);
}

void CShapeObject::Paint(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc)
{
    switch (FamilyOf(m_shapeCode)) {
    case ShapeFamily::kLines: PaintLines(dc, zoom, points, rc); break;
    case ShapeFamily::kBasic: PaintBasic(dc, zoom, points, rc); break;
    case ShapeFamily::kBlockArrows: PaintArrows(dc, zoom, points, rc); break;
    case ShapeFamily::kPolygons: PaintPolygons(dc, zoom, points, rc); break;
    case ShapeFamily::kFlowChart: PaintFlowChart(dc, zoom, points, rc); break;
    case ShapeFamily::kNone: break;
    }
}

void CShapeObject::DrawSelection(plat::Dc& dc, double zoom, int x0, int y0)
{
    CRenderContext rc(m_doc, dc);
    rc.SetPen(dc, plat::kPenSolid, 1, static_cast<std::int32_t>(CColorRef::GetBlue()));
    const int ox = TwipsToPixels(dc, zoom, m_bounds.left) + x0;
    const int oy = TwipsToPixels(dc, zoom, m_bounds.top) + y0;
    auto toPixels = [&](int x, int y) {
        const plat::Point d = TwipsToPixelsPoint(dc, zoom, x, y);
        return plat::Point(d.x + ox, d.y + oy);
    };
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point v = m_points.GetPoint(i);
        const plat::Point diamond[] = {toPixels(v.x - kHitSlop, v.y), toPixels(v.x, v.y + kHitSlop),
                                       toPixels(v.x + kHitSlop, v.y), toPixels(v.x, v.y - kHitSlop)};
        dc.MoveTo(diamond[0].x, diamond[0].y);
        for (int k = 1; k <= 4; ++k) dc.LineTo(diamond[k % 4].x, diamond[k % 4].y);
    }
    const CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    if (state && state->m_tableZone == kShapeHitVertex) {
        rc.Restore(dc);
        return;
    }
    CPointList handles;
    GetHandles(handles);
    rc.SetBrush(dc, 1, 0);
    for (int i = 0; i < handles.GetCount(); ++i) {
        const CPointNode h = handles.GetNodeAt(i);
        bool onVertex = false;
        for (int k = 0; k < m_points.GetCount() && !onVertex; ++k) {
            const plat::Point v = m_points.GetPoint(k);
            onVertex = v.x + m_bounds.left == h.m_x && v.y + m_bounds.top == h.m_y;
        }
        if (onVertex) continue;
        plat::Rect r = TwipsToPixelsRect(dc, zoom, h.m_x - kHitSlop, h.m_y - kHitSlop, h.m_x + kHitSlop, h.m_y + kHitSlop);
        r.Offset(x0, y0);
        if (h.m_code == kShapeHitBody) {
            dc.Rectangle(r.left, r.top, r.right, r.bottom);
            const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
            dc.MoveTo(mx, r.top);
            dc.LineTo(mx, r.bottom);
            dc.MoveTo(r.left, my);
            dc.LineTo(r.right, my);
        } else if (h.m_code >= 33 && h.m_code <= 40) {
            dc.Rectangle(r.left, r.top, r.right, r.bottom);
        } else if (h.m_code == kShapeHitRotate) {
            dc.Ellipse(r.left, r.top, r.right, r.bottom);
        }
    }
    rc.Restore(dc);
}

void RegisterShapeKind()
{
    RegisterDocObject(kNodeShape, &MakeShape);
}

// Drawn shapes: one page-object class (node type 22) for lines, polylines, curves,
// connectors, basic shapes, block arrows, polygons, stars and flow-chart symbols. The
// 16-bit shape code says what the shape looks like and its point list (twips from the
// box's top-left corner) where. Painting goes by family, one file each (shape_lines.cpp,
// shape_basic.cpp, shape_arrows.cpp, shape_polygons.cpp, shape_flowchart.cpp);
// the fills, the fitting of the box to the painted pixels and the pixel hit test are in
// shape_fill.cpp, the handles and drags in shape_track.cpp.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "document/doc_commands.h"
#include "document/float_object.h"
#include "objects/point_list.h"
#include "platform/base/geometry.h"

class CRenderContext;

// Hit codes of a shape's vertices and handles.
enum ShapeHitCode : std::uint8_t {
    kShapeHitBody = 28,   // the body, or the top-left handle: moves the shape
    kShapeHitResize = 40, // the bottom-right handle
    kShapeHitVertex = 90,
    kShapeHitRotate = 91, // the top-right handle
};

// The painter family a shape code belongs to.
enum class ShapeFamily {
    kNone,        // paints nothing
    kLines,       // 0x1101-0x1109
    kBasic,       // 0x1201-0x121C
    kBlockArrows, // 0x1301-0x1320
    kPolygons,    // 0x1401-0x140E
    kFlowChart,   // 0x1501-0x1516
};

class CShapeObject : public CFloatObject, public CInsertableObject {
public:
    // A shape keeps at most this many points: a record with more is refused as damaged,
    // and the creation tracker keeps to the same bound.
    static constexpr int kMaxPoints = 4096;
    // The least extent of a box, and the least width and height of a handle resize.
    static constexpr int kLeastExtent = 4;
    static constexpr int kLeastResize = 200;
    // Half the side of the square around a vertex or handle that a press hits.
    static constexpr int kHitSlop = 60;

    static constexpr std::int32_t kAutoLineColor = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t kAutoFillColor = static_cast<std::int32_t>(0x80000002u);

    CShapeObject(CDocContext* doc, CDocNode* parent, std::uint16_t shapeCode = 0);
    ~CShapeObject() override;

    // ---- per-code properties ----
    static ShapeFamily FamilyOf(std::uint16_t code);
    static int GetCreateModeOf(std::uint16_t code);
    static bool IsFillableCode(std::uint16_t code);
    static bool HasLineStyleCode(std::uint16_t code);
    static bool HasDerivedPointsCode(std::uint16_t code);
    int GetCreateMode() const override { return GetCreateModeOf(m_shapeCode); }
    bool IsFillable() const { return IsFillableCode(m_shapeCode); }
    bool HasLineStyle() const { return HasLineStyleCode(m_shapeCode); }
    bool HasDerivedPoints() const { return HasDerivedPointsCode(m_shapeCode); }
    // The line ends the code starts with: (1, 1) for the lines, polylines and Bézier
    // curves, (1, 4) for the elbow connectors, (0, 0) (none) for the rest.
    void ResetLineEnds();
    void ResetResizeMode() { m_resizeMode = 3; }
    // When creation completes: 4 for the regular polygons, 1 or 2 for the brackets, else 3.
    void SetResizeModeByCode();

    // ---- CInsertableObject: the code and the command's line ends (-1: the code's own) ----
    bool TakeSource(const CNewObjectSource& source) override;
    // ---- creation (shape_create.cpp): the points of a new shape from its gesture, and the
    // Shift constraints of lines (15-degree steps), rectangles and ellipses (squares) ----
    bool CompleteCreation(const CCreationGesture& gesture) override;
    plat::Point ConstrainCreationPoint(plat::Point anchor, plat::Point point) const override;

    // ---- record ----
    void Load(plat::Archive& ar, int mode) override;
    void Save(plat::Archive& ar, int mode, int dx, int dy) override;
    int OnLoaded() override { return 1; }
    bool IsShape() const override { return true; }

    // ---- painting ----
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc) override;
    void DrawTracker(plat::Dc& dc, double zoom, const CPointList& points) override;
    void DrawSelection(plat::Dc& dc, double zoom, int x0, int y0) override;
    // The shape from device points, by family.
    void Paint(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc);
    void PaintLines(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc);
    void PaintBasic(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc);    // shape_basic.cpp
    void PaintArrows(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc);   // shape_arrows.cpp
    void PaintPolygons(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc); // shape_polygons.cpp
    void PaintFlowChart(plat::Dc& dc, double zoom, const CPointList& points, CRenderContext& rc); // shape_flowchart.cpp
    // The n vertices of the regular polygon about the centre with its first vertex at
    // `first`, and the 2n corners of the star with its first tip there (tip, inner corner,
    // tip, ...): what the polygon painters draw and a new free-cornered star stores.
    static std::vector<plat::Point> RegularVertices(plat::Point centre, plat::Point first, int n);
    static std::vector<plat::Point> StarCorners(plat::Point centre, plat::Point tip, int n);
    void DrawStartDecoration(plat::Dc& dc, double zoom, plat::Point end, plat::Point other, int kind,
                             std::int32_t color, int size, CRenderContext& rc);
    void DrawEndDecoration(plat::Dc& dc, double zoom, plat::Point other, plat::Point end, int kind,
                           std::int32_t color, int size, CRenderContext& rc);
    // The decoration size's extra pixel for one-pixel pens (line styles 2-6) and the
    // circle and arrow kinds.
    int StartDecorationExtra() const;
    int EndDecorationExtra() const;

    // ---- fills (shape_fill.cpp) ----
    void FillPolygonArray(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                          std::int32_t fillColor, std::span<const plat::Point> points, CRenderContext& rc);
    void FillPolygonList(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                         std::int32_t fillColor, const CPointList& points, CRenderContext& rc);
    // Arrowheads: line kind 2 and a solid fill, both in the colour.
    void FillPolygonPoints(plat::Dc& dc, double zoom, std::int32_t color, std::span<const plat::Point> points,
                           CRenderContext& rc);
    // The closed path from points[0] on through PolyBezierTo of the rest (a multiple of 3).
    void FillBezierArray(plat::Dc& dc, double zoom, int lineKind, std::int32_t lineColor, int fillKind,
                         std::int32_t fillColor, std::span<const plat::Point> points, CRenderContext& rc);

    // ---- box and pixels (shape_fill.cpp) ----
    // A new shape's points from document pixels at the view's zoom; the box follows.
    void SetPointsFromPixels(const CPointList& pixels);
    // After a drag: the box moves so that the smallest point coordinates become 0, then
    // fits the painted pixels.
    void NormalizeToPoints();
    // The box grows or shrinks to the pixels the shape paints at zoom 1.0; the points keep
    // their places on the page. A shape that paints nothing keeps the box from its points.
    void FitBoxToPaint();
    // Whether painted pixels lie within 3 pixels (at zoom 1.0) of (x, y), twips from the
    // box's top-left corner. Outside the shape's bitmap counts as painted.
    bool HitTestPixels(int x, int y);

    // ---- handles and drags (shape_track.cpp) ----
    void GetHandles(CPointList& handles) override;
    std::uint8_t HitTest(int x, int y, CPointList& handles) override;
    std::uint8_t BeginTrack(int x, int y, bool shift, CPointList& handles) override;
    void TrackTo(int x, int y) override;
    void EndTrack(int x, int y) override;
    int ShowProperties() override;

    // ---- data ----
    CPointList& GetPoints() { return m_points; }
    const CPointList& GetPoints() const { return m_points; }
    std::uint16_t GetShapeCode() const { return m_shapeCode; }
    void SetShapeCode(std::uint16_t code) { m_shapeCode = code; }
    // Setters of the document's commands; the command repaints.
    void SetLineColor(std::int32_t color) { m_lineColor = color; }
    void SetFillColor(std::int32_t color) { m_fillColor = color; }
    void SetFillStyle(std::uint8_t style) { m_fillStyle = style; }
    void SetLineStyle(std::uint8_t style) { m_lineStyle = style; }
    void SetStartLineEnd(std::uint8_t kind) { m_startLineEnd = kind; }
    void SetEndLineEnd(std::uint8_t kind) { m_endLineEnd = kind; }

    CPointList m_points;
    std::uint16_t m_shapeCode = 0;
    std::uint8_t m_lineStyle = 2;
    std::uint8_t m_fillStyle = 1;
    std::int32_t m_lineColor = kAutoLineColor;
    std::int32_t m_fillColor = kAutoFillColor;
    std::uint8_t m_startLineEnd = 0;
    std::uint8_t m_endLineEnd = 0;
    std::uint8_t m_resizeMode = 3;

private:
    // The smallest and largest point coordinates; false without points.
    bool PointExtremes(plat::Rect& out) const;
    // Sets the box from left, top, right, bottom (twips) with the least extent.
    void SetBox(int left, int top, int right, int bottom);
    // The shape painted white-on-black at zoom 1.0 into a fresh bitmap of the size, the
    // points moved by the margin (pixels).
    std::unique_ptr<plat::Bitmap> PaintMask(int width, int height, int margin);
};

// The kind library's registration of node type 22.
void RegisterShapeKind();

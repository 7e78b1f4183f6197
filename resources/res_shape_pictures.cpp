// The 16 x 16 pictures of the shape tools in the shape menu and of the text-border palette:
// black drawings on white, each written as a few strokes on a 16 x 16 grid and drawn into a
// picture on first use.
//   L x y ...            an open line through the points
//   P x y ...            a closed outline
//   F x y ...            a filled figure
//   E l t r b            an ellipse in the box
//   B x0 y0 ... x3 y3    a curve from x0 y0 to x3 y3 pulled toward the two middle points
//   N cx cy r n [turn]   a regular polygon of n corners, the first straight up (turned by
//                        `turn` degrees)
//   S cx cy r inner n    a star of n points
//   p, e                 P and E dotted (every other pixel)
//   G l t r b            a filled ellipse
//   C x y ..., K l t r b a polygon or an ellipse cleared to white (a figure in front of its
//                        shadow)
// Strokes are separated by ';'.
#include <cmath>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "resources/res_pictures.h"

namespace res_detail {
namespace {

constexpr int kSide = 16;
constexpr double kPi = 3.14159265358979323846;

struct ShapeSketch {
    std::u16string_view name;
    const char* strokes;
};

constexpr ShapeSketch kSketches[] = {
    // Lines.
    {u"IDB_BGLINE_LINE", "L 2 13 13 2"},
    {u"IDB_BGLINE_LINESA", "L 2 13 12 3; F 14 1 8 3 12 7"},
    {u"IDB_BGLINE_LINEDA", "L 3 12 12 3; F 14 1 8 3 12 7; F 1 14 3 8 7 12"},
    {u"IDB_BGLINE_POLYLINE", "L 1 12 5 4 9 11 14 3"},
    {u"IDB_BGLINE_POLYGON", "P 2 12 5 3 13 5 11 13"},
    {u"IDB_BGLINE_DLINE", "L 1 11 11 1; L 4 14 14 4"},
    {u"IDB_BGLINE_BEZIER", "B 1 13 4 0 11 16 14 2"},
    {u"IDB_BGLINE_POLYBEZIER", "B 1 8 3 1 6 1 8 8; B 8 8 10 15 13 15 15 8"},
    {u"IDB_BGLINE_POLYGONBEZIER", "B 2 9 1 1 12 2 13 8; B 13 8 14 15 3 14 2 9"},
    // Basic shapes.
    {u"IDB_BGBASE_RECT", "P 2 3 13 3 13 12 2 12"},
    {u"IDB_BGBASE_ROUND", "P 4 3 11 3 13 5 13 10 11 12 4 12 2 10 2 5"},
    {u"IDB_BGBASE_ELLIPSE", "E 1 3 14 12"},
    {u"IDB_BGBASE_POLY5", "N 8 8 7 5"},
    {u"IDB_BGBASE_TXY", "E 1 1 14 14; E 5 5 10 10"},
    {u"IDB_BGBASE_BKLB", "B 10 1 4 4 4 11 10 14"},
    {u"IDB_BGBASE_DBKLA", "L 5 1 2 1 2 14 5 14; L 10 1 13 1 13 14 10 14"},
    {u"IDB_BGBASE_PX4BX", "P 5 3 14 3 10 12 1 12"},
    {u"IDB_BGBASE_DY3JX", "P 8 2 14 13 1 13"},
    {u"IDB_BGBASE_POLY6", "N 8 8 7 6"},
    {u"IDB_BGBASE_YZHU", "E 2 1 13 5; L 2 3 2 12; L 13 3 13 12; B 2 12 3 15 12 15 13 12"},
    {u"IDB_BGBASE_QJJX", "P 2 3 10 3 13 6 13 12 2 12"},
    {u"IDB_BGBASE_BKLB2", "B 5 1 11 4 11 11 5 14"},
    {u"IDB_BGBASE_DBKLB", "B 5 1 1 4 1 11 5 14; B 10 1 14 4 14 11 10 14"},
    {u"IDB_BGBASE_TX", "P 5 3 10 3 14 12 1 12"},
    {u"IDB_BGBASE_R3JX", "P 2 2 2 13 13 13"},
    {u"IDB_BGBASE_POLY8", "N 8 8 7 8 22"},
    {u"IDB_BGBASE_LFT", "P 1 5 10 5 10 14 1 14; L 1 5 5 1 14 1 10 5; L 14 1 14 10 10 14"},
    {u"IDB_BGBASE_BKLA", "L 9 1 5 1 5 14 9 14"},
    {u"IDB_BGBASE_BKLC", "L 10 1 8 1 7 2 7 6 5 8 7 10 7 13 8 14 10 14"},
    {u"IDB_BGBASE_DBKLC", "L 5 1 4 2 4 6 2 8 4 10 4 13 5 14; L 10 1 11 2 11 6 13 8 11 10 11 13 10 14"},
    {u"IDB_BGBASE_DIAMOND", "P 8 1 14 8 8 14 1 8"},
    {u"IDB_BGBASE_L3JX", "P 13 2 13 13 2 13"},
    {u"IDB_BGBASE_POLY10", "N 8 8 7 10"},
    {u"IDB_BGBASE_ZLT", "P 1 1 14 1 14 14 1 14; P 4 4 11 4 11 11 4 11; L 1 1 4 4; L 14 1 11 4; L 14 14 11 11; L 1 14 4 11"},
    {u"IDB_BGBASE_BKLA2", "L 6 1 10 1 10 14 6 14"},
    {u"IDB_BGBASE_BKLC2", "L 5 1 7 1 8 2 8 6 10 8 8 10 8 13 7 14 5 14"},
    // Block arrows.
    {u"IDB_BGARROW_DLINE", "P 1 5 9 5 9 2 14 7 9 12 9 9 1 9"},
    {u"IDB_BGARROW_DLINE2", "P 5 1 9 1 9 8 12 8 7 14 2 8 5 8"},
    {u"IDB_BGARROW_NULL", "P 14 5 6 5 6 2 1 7 6 12 6 9 14 9"},
    {u"IDB_BGARROW_NULL2", "P 5 14 9 14 9 6 12 6 7 1 2 6 5 6"},
    {u"IDB_BGARROW_LR", "P 1 7 5 3 5 5 10 5 10 3 14 7 10 11 10 9 5 9 5 11"},
    {u"IDB_BGARROW_UD", "P 7 1 11 5 9 5 9 10 11 10 7 14 3 10 5 10 5 5 3 5"},
    {u"IDB_BGARROW_LR2", "P 1 7 4 4 4 6 11 6 11 4 14 7 11 10 11 8 4 8 4 10; L 4 7 11 7"},
    {u"IDB_BGARROW_UD2", "P 7 1 10 4 8 4 8 11 10 11 7 14 4 11 6 11 6 4 4 4; L 7 4 7 11"},
    {u"IDB_BGARROW_TLR", "P 1 10 4 7 4 9 6 9 6 4 4 4 7 1 10 4 8 4 8 9 10 9 10 7 13 10 10 13 10 11 4 11 4 13"},
    {u"IDB_BGARROW_TUD", "P 10 1 13 4 11 4 11 11 13 11 10 14 7 11 9 11 9 8 4 8 4 10 1 7 4 4 4 6 9 6 9 4 7 4"},
    {u"IDB_BGARROW_LU", "P 1 10 4 7 4 9 9 9 9 4 7 4 10 1 13 4 11 4 11 11 4 11 4 13"},
    {u"IDB_BGARROW_LU2", "P 14 10 11 7 11 9 6 9 6 4 8 4 5 1 2 4 4 4 4 11 11 11 11 13"},
    {u"IDB_BGARROW_DOTLR", "L 1 5 1 9; L 3 5 3 9; P 5 5 9 5 9 2 14 7 9 12 9 9 5 9"},
    {u"IDB_BGARROW_DOTUD", "L 5 1 9 1; L 5 3 9 3; P 5 5 9 5 9 9 12 9 7 14 2 9 5 9"},
    {u"IDB_BGARROW_YWLR", "P 1 5 9 5 9 2 14 7 9 12 9 9 1 9 3 7"},
    {u"IDB_BGARROW_YWUD", "P 5 1 7 3 9 1 9 9 12 9 7 14 2 9 5 9"},
    {u"IDB_BGARROW_YWLR2", "P 1 3 10 3 14 7 10 11 1 11"},
    {u"IDB_BGARROW_YWUD2", "P 3 1 11 1 11 10 7 14 3 10"},
    {u"IDB_BGARROW_YWLR3", "P 1 3 9 3 14 7 9 11 1 11 5 7"},
    {u"IDB_BGARROW_YWUD3", "P 3 1 7 5 11 1 11 9 7 14 3 9"},
    {u"IDB_BGARROW_MLR", "P 1 3 8 3 8 5 11 5 11 3 14 7 11 11 11 9 8 9 8 11 1 11"},
    {u"IDB_BGARROW_MUD", "P 3 1 11 1 11 8 9 8 9 10 12 10 7 14 2 10 5 10 5 8 3 8"},
    {u"IDB_BGARROW_MLR2", "P 1 7 3 5 3 6 5 6 5 3 10 3 10 6 12 6 12 5 14 7 12 9 12 8 10 8 10 11 5 11 5 8 3 8 3 9"},
    {u"IDB_BGARROW_MUD2", "P 7 1 9 3 8 3 8 5 11 5 11 10 8 10 8 12 9 12 7 14 5 12 6 12 6 10 3 10 3 5 6 5 6 3 5 3"},
    {u"IDB_BGARROW_CROSS", "L 1 7 13 7; L 7 1 7 13; L 3 5 1 7 3 9; L 11 5 13 7 11 9; L 5 3 7 1 9 3; L 5 11 7 13 9 11"},
    {u"IDB_BGARROW_MCROSS", "P 5 5 10 5 10 10 5 10; L 7 1 7 5; L 7 10 7 14; L 1 7 5 7; L 10 7 14 7; L 6 2 7 1 8 2; "
                            "L 6 13 7 14 8 13; L 2 6 1 7 2 8; L 13 6 14 7 13 8"},
    {u"IDB_BGARROW_LRROUND", "B 12 13 2 13 2 3 10 3; L 8 1 10 3 8 5"},
    {u"IDB_BGARROW_DDROUND", "B 2 12 2 2 12 2 12 10; L 10 8 12 10 14 8"},
    {u"IDB_BGARROW_LDROUND", "B 2 3 2 13 12 13 12 5; L 10 7 12 5 14 7"},
    {u"IDB_BGARROW_RRROUND", "B 3 2 13 2 13 12 5 12; L 7 10 5 12 7 14"},
    {u"IDB_BGARROW_XLINE", "L 2 13 2 5 11 5; L 9 3 11 5 9 7"},
    {u"IDB_BGARROW_YLINE", "B 1 13 4 2 10 12 13 3; L 10 3 13 3 13 6"},
    // Regular polygons and stars.
    {u"IDB_BGPOLY_POLY3", "N 8 9 7 3"},
    {u"IDB_BGPOLY_POLY4", "N 8 8 7 4 45"},
    {u"IDB_BGPOLY_POLY5", "N 8 8 7 5"},
    {u"IDB_BGPOLY_POLY6", "N 8 8 7 6 30"},
    {u"IDB_BGPOLY_POLY8", "N 8 8 7 8 22"},
    {u"IDB_BGPOLY_POLY10", "N 8 8 7 10 18"},
    {u"IDB_BGPOLY_POLYBORDER5", "S 8 8 7 3 5"},
    {u"IDB_BGPOLY_POLYBORDER6", "S 8 8 7 4 6"},
    {u"IDB_BGPOLY_POLYBORDER8", "S 8 8 7 4 8"},
    {u"IDB_BGPOLY_POLYBORDER10", "S 8 8 7 4 10"},
    {u"IDB_BGPOLY_POLYBORDERANY5", "S 8 8 7 2 5"},
    {u"IDB_BGPOLY_POLYBORDERANY6", "S 8 8 7 2 6"},
    {u"IDB_BGPOLY_POLYBORDERANY8", "S 8 8 7 2 8"},
    {u"IDB_BGPOLY_POLYBORDERANY10", "S 8 8 7 2 10"},
    // Flow chart.
    {u"IDB_BGFLOW_PREDEF", "P 1 3 14 3 14 12 1 12; L 3 3 3 12; L 12 3 12 12"},
    {u"IDB_BGFLOW_STOP", "L 4 4 11 4; L 4 11 11 11; B 4 4 0 4 0 11 4 11; B 11 4 15 4 15 11 11 11"},
    {u"IDB_BGFLOW_LINK", "E 3 3 12 12"},
    {u"IDB_BGFLOW_SUM", "E 1 1 14 14; L 3 3 12 12; L 12 3 3 12"},
    {u"IDB_BGFLOW_ABSTRACT", "P 8 2 14 13 1 13; L 8 2 8 13"},
    {u"IDB_BGFLOW_SEQUENCE", "E 1 1 14 14; L 8 14 15 14"},
    {u"IDB_BGFLOW_INSTORE", "P 1 2 14 2 14 13 1 13; L 4 2 4 13; L 1 5 14 5"},
    {u"IDB_BGFLOW_PREPARE", "P 4 3 11 3 14 8 11 12 4 12 1 8"},
    {u"IDB_BGFLOW_LINK2", "P 2 2 13 2 13 9 8 13 2 9"},
    {u"IDB_BGFLOW_OR", "E 1 1 14 14; L 8 1 8 14; L 1 8 14 8"},
    {u"IDB_BGFLOW_MERGE", "P 1 3 14 3 8 13"},
    {u"IDB_BGFLOW_CONTRAST", "P 2 2 13 2 2 13 13 13"},
    {u"IDB_BGFLOW_STOREDATA", "B 4 2 1 4 1 11 4 13; L 4 2 14 2; L 4 13 14 13; B 14 2 11 4 11 11 14 13"},
    {u"IDB_BGFLOW_DIRECT", "L 3 3 12 3; L 3 12 12 12; E 1 3 6 12; B 12 3 15 3 15 12 12 12"},
    {u"IDB_BGFLOW_DOC", "L 2 12 2 2 13 2 13 11; B 2 12 6 15 9 8 13 11"},
    {u"IDB_BGFLOW_MDOC", "L 5 3 5 1 14 1 14 9 12 9; L 3 5 3 3 12 3 12 11 10 11; L 1 13 1 5 10 5 10 12; B 1 13 4 15 7 10 10 12"},
    {u"IDB_BGFLOW_INPUT", "P 4 2 14 2 11 13 1 13"},
    {u"IDB_BGFLOW_CARD", "P 5 2 14 2 14 13 1 13 1 6"},
    {u"IDB_BGFLOW_TAPE", "B 1 3 5 0 9 6 14 3; L 14 3 14 12; B 14 12 10 15 6 9 1 12; L 1 12 1 3"},
    {u"IDB_BGFLOW_SORT", "P 8 1 14 8 8 14 1 8; L 1 8 14 8"},
    {u"IDB_BGFLOW_DELAY", "L 8 2 1 2 1 13 8 13; B 8 2 15 2 15 13 8 13"},
    {u"IDB_BGFLOW_DISPLAY", "L 4 2 11 2; B 11 2 15 4 15 11 11 13; L 11 13 4 13 1 8 4 2"},
    // The text-border palette: a frame, or none, around a few lines of text.
    {u"IDB_TXTBORDER_NONE", "L 3 5 12 5; L 3 8 12 8; L 3 11 9 11"},
    {u"IDB_TXTBORDER_RECT", "P 1 3 14 3 14 12 1 12"},
    {u"IDB_TXTBORDER_RECTDOT", "p 1 3 14 3 14 12 1 12"},
    {u"IDB_TXTBORDER_RECTSHADOW", "F 3 5 15 5 15 14 3 14; C 1 3 13 3 13 12 1 12; P 1 3 13 3 13 12 1 12"},
    {u"IDB_TXTBORDER_RECTARROW", "P 1 2 14 2 14 10 7 10 2 14 4 10 1 10"},
    {u"IDB_TXTBORDER_ROUND", "P 3 3 12 3 14 5 14 10 12 12 3 12 1 10 1 5"},
    {u"IDB_TXTBORDER_ROUNDDOT", "p 3 3 12 3 14 5 14 10 12 12 3 12 1 10 1 5"},
    {u"IDB_TXTBORDER_ROUNDSHADOW", "F 5 5 13 5 15 7 15 12 13 14 5 14 3 12 3 7; C 3 3 11 3 13 5 13 10 11 12 3 12 1 10 1 5; "
                                   "P 3 3 11 3 13 5 13 10 11 12 3 12 1 10 1 5"},
    {u"IDB_TXTBORDER_ROUNDARROW", "P 3 2 12 2 14 4 14 8 12 10 7 10 2 14 4 10 3 10 1 8 1 4"},
    {u"IDB_TXTBORDER_CIRCLE", "E 2 1 14 13"},
    {u"IDB_TXTBORDER_CIRCLEDOT", "e 2 1 14 13"},
    {u"IDB_TXTBORDER_ELLIPSE", "E 0 3 15 12"},
    {u"IDB_TXTBORDER_ELLIPSEDOT", "e 0 3 15 12"},
    {u"IDB_TXTBORDER_ELLIPSESHADOW", "G 2 5 15 14; K 0 3 13 12; E 0 3 13 12"},
    {u"IDB_TXTBORDER_ELLIPSEARROW", "E 1 1 15 10; C 3 8 8 9 6 10; L 4 9 1 15 7 10"},
    {u"IDB_TXTBORDER_DIAMOND", "P 8 1 1 8 8 15 15 8"},
    {u"IDB_TXTBORDER_DOUBLERECT", "P 1 3 14 3 14 12 1 12; P 3 5 12 5 12 10 3 10"},
    {u"IDB_TXTBORDER_DOT", "G 0 6 3 9; L 6 5 14 5; L 6 8 14 8; L 6 11 12 11"},
    {u"IDB_TXTBORDER_LINE", "L 4 4 14 4; L 4 7 14 7; L 2 11 15 11; L 7 11 2 15"},
    {u"IDB_TXTBORDER_LINE2", "L 4 4 14 4; L 4 7 14 7; L 2 11 15 11; L 7 11 4 14 0 14"},
    {u"IDB_TXTBORDER_LINE3", "L 4 4 14 4; L 4 7 14 7; L 7 11 4 14 0 14"},
    {u"IDB_TXTBORDER_BOMB", "G 1 5 12 15; C 4 8 6 8 6 10 4 10; L 9 6 11 3 13 2; L 13 0 13 1; L 15 2 14 2; L 15 0 14 1"},
};

constexpr PaletteEntry kInk[] = {{'.', 0xFFFFFF}, {'#', 0x000000}};

struct PointD {
    double x, y;
};

// A 16 x 16 grid of '.' on which the strokes are drawn in '#'.
class Sketchpad {
public:
    Sketchpad() : m_rows(kSide * kSide, '.') {}
    const std::string& Rows() const { return m_rows; }

    void Draw(const std::string& stroke)
    {
        std::istringstream in(stroke);
        char kind = 0;
        in >> kind;
        std::vector<double> v;
        for (double d; in >> d;) v.push_back(d);
        m_dotted = kind == 'p' || kind == 'e';
        m_dot = 0;
        m_lastX = m_lastY = -1;
        switch (kind) {
        case 'L': Path(Points(v), false); break;
        case 'P': case 'p': Path(Points(v), true); break;
        case 'F': Fill(Points(v)); Path(Points(v), true); break;
        case 'C': m_ink = '.'; Fill(Points(v)); m_ink = '#'; break;
        case 'E': case 'e': if (v.size() == 4) Path(EllipsePoints(v[0], v[1], v[2], v[3]), true); break;
        case 'G': if (v.size() == 4) { Fill(EllipsePoints(v[0], v[1], v[2], v[3])); Path(EllipsePoints(v[0], v[1], v[2], v[3]), true); } break;
        case 'K': if (v.size() == 4) { m_ink = '.'; Fill(EllipsePoints(v[0], v[1], v[2], v[3])); m_ink = '#'; } break;
        case 'B': if (v.size() == 8) Curve(v); break;
        case 'N': if (v.size() >= 4) Path(Regular(v[0], v[1], v[2], v[2], static_cast<int>(v[3]), v.size() > 4 ? v[4] : 0), true); break;
        case 'S': if (v.size() >= 5) Path(Regular(v[0], v[1], v[2], v[3], 2 * static_cast<int>(v[4]), 0), true); break;
        default: break;
        }
    }

private:
    static std::vector<PointD> Points(const std::vector<double>& v)
    {
        std::vector<PointD> p;
        for (size_t i = 0; i + 1 < v.size(); i += 2) p.push_back({v[i], v[i + 1]});
        return p;
    }
    // Corners alternately at the outer and the inner radius (the same for a polygon); the
    // first straight up, turned by `turn` degrees.
    static std::vector<PointD> Regular(double cx, double cy, double outer, double inner, int corners, double turn)
    {
        std::vector<PointD> p;
        const bool star = outer != inner;
        for (int i = 0; i < corners && corners >= 3; ++i) {
            const double a = (turn - 90.0) * kPi / 180.0 + 2 * kPi * i / corners;
            const double r = star && i % 2 ? inner : outer;
            p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        return p;
    }
    void Plot(int x, int y)
    {
        if (m_dotted) {
            // Every other pixel of the stroke; the ends that joined lines share count once.
            if (x == m_lastX && y == m_lastY) return;
            m_lastX = x;
            m_lastY = y;
            if (m_dot++ % 2 != 0) return;
        }
        if (x >= 0 && x < kSide && y >= 0 && y < kSide) m_rows[static_cast<size_t>(y * kSide + x)] = m_ink;
    }
    void Line(PointD a, PointD b)
    {
        int x0 = static_cast<int>(std::lround(a.x)), y0 = static_cast<int>(std::lround(a.y));
        const int x1 = static_cast<int>(std::lround(b.x)), y1 = static_cast<int>(std::lround(b.y));
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Plot(x0, y0);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    void Path(const std::vector<PointD>& p, bool closed)
    {
        for (size_t i = 0; i + 1 < p.size(); ++i) Line(p[i], p[i + 1]);
        if (closed && p.size() > 2) Line(p.back(), p.front());
        if (p.size() == 1) Line(p[0], p[0]);
    }
    static std::vector<PointD> EllipsePoints(double l, double t, double r, double b)
    {
        std::vector<PointD> p;
        const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
        for (int i = 0; i < 48; ++i) p.push_back({cx + rx * std::cos(2 * kPi * i / 48), cy + ry * std::sin(2 * kPi * i / 48)});
        return p;
    }
    void Curve(const std::vector<double>& v)
    {
        std::vector<PointD> p;
        for (int i = 0; i <= 24; ++i) {
            const double t = i / 24.0, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            p.push_back({a * v[0] + b * v[2] + c * v[4] + d * v[6], a * v[1] + b * v[3] + c * v[5] + d * v[7]});
        }
        Path(p, false);
    }
    // Even-odd fill at the pixel centres.
    void Fill(const std::vector<PointD>& p)
    {
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                bool inside = false;
                for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
                    const PointD a = p[i], b = p[j];
                    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
                }
                if (inside) Plot(x, y);
            }
    }

    std::string m_rows;
    char m_ink = '#';
    bool m_dotted = false;
    int m_dot = 0; // pixels of the dotted stroke so far
    int m_lastX = -1, m_lastY = -1;
};

struct Made {
    std::string rows;
    PixelArt art;
    const PixelArt* tile;
};

} // namespace

std::span<const PictureResource> ShapePictures()
{
    static const std::vector<PictureResource>* pictures = [] {
        static std::deque<Made> made; // addresses stay put as it grows
        auto* list = new std::vector<PictureResource>;
        for (const ShapeSketch& sketch : kSketches) {
            Sketchpad pad;
            std::string strokes = sketch.strokes;
            for (size_t start = 0; start <= strokes.size();) {
                size_t end = strokes.find(';', start);
                if (end == std::string::npos) end = strokes.size();
                pad.Draw(strokes.substr(start, end - start));
                start = end + 1;
            }
            Made& m = made.emplace_back();
            m.rows = pad.Rows();
            m.art = PixelArt{kSide, kSide, m.rows.c_str()};
            m.tile = &m.art;
            list->push_back(PictureResource{sketch.name, kInk, std::span<const PixelArt* const>(&m.tile, 1)});
        }
        return list;
    }();
    return *pictures;
}

} // namespace res_detail

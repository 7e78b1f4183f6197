// Helpers of the drawn-shape tests: a shown document with the shape kind registered, and
// shapes placed from absolute desk twips with their boxes fitted as after a drag.
#pragma once
#include <algorithm>
#include <vector>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "objects/drawing_kinds.h"
#include "objects/shape_object.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"
#include "tests/document/doc_object_support.h"

namespace shapetest {

struct ShapeSpec {
    std::uint16_t code;
    std::vector<plat::Point> points; // absolute desk twips
    std::uint8_t lineStyle = 2;
    int startEnd = -1;
    int endEnd = -1;
    std::uint8_t fillStyle = 1;
};

inline std::unique_ptr<CShapeObject> MakeShape(CQlDoc& doc, const ShapeSpec& spec)
{
    auto s = std::make_unique<CShapeObject>(&doc, nullptr, spec.code);
    CNewObjectSource source;
    source.shapeCode = spec.code;
    source.startLineEnd = static_cast<std::int16_t>(spec.startEnd);
    source.endLineEnd = static_cast<std::int16_t>(spec.endEnd);
    s->TakeSource(source);
    s->m_lineStyle = spec.lineStyle;
    s->m_fillStyle = spec.fillStyle;
    int minX = INT32_MAX, minY = INT32_MAX;
    for (const plat::Point& p : spec.points) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
    }
    s->m_bounds = plat::Rect(minX, minY, minX + 1, minY + 1);
    for (const plat::Point& p : spec.points) s->GetPoints().AddPoint(p.x - minX, p.y - minY);
    s->NormalizeToPoints();
    return s;
}

// Added as the document API adds a new object (selected, the body relaid out).
inline CShapeObject* AddShape(CQlDoc& doc, const ShapeSpec& spec)
{
    return static_cast<CShapeObject*>(doc.AddNewObject(MakeShape(doc, spec)));
}

inline std::vector<std::uint8_t> RecordBytes(CFloatObject& o, int mode)
{
    plat::MemFile mem;
    {
        plat::Archive ar(mem, plat::Archive::kStore);
        o.Save(ar, mode, 0, 0);
        ar.Flush();
    }
    return mem.Data();
}

// The absolute points of a shape.
inline std::vector<plat::Point> AbsolutePoints(const CShapeObject& s)
{
    std::vector<plat::Point> out;
    for (int i = 0; i < s.GetPoints().GetCount(); ++i) {
        const plat::Point p = s.GetPoints().GetPoint(i);
        out.emplace_back(p.x + s.m_bounds.left, p.y + s.m_bounds.top);
    }
    return out;
}

} // namespace shapetest

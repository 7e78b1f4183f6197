// A shape's handles, hit testing and drags: a vertex beats a handle, a handle beats the
// body. The drag state (tracked object, dragged vertex, saved box and points) lives in the
// document's format state between BeginTrack and EndTrack.
#include <algorithm>
#include <cstdlib>

#include "document/doc_body.h"
#include "document/format_state.h"
#include "document/plane_geometry.h"
#include "document/ql_doc.h"
#include "objects/object_prop_dlg.h"
#include "objects/shape_object.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/message_box.h"

namespace {

constexpr double kDegreesPerRadian = 57.29578;
constexpr double kRadiansPerDegree = 0.017453292222;
constexpr int kAngleStep = 15;

bool Near(int x, int y, int px, int py, int slop)
{
    return std::abs(static_cast<long long>(x) - px) <= slop && std::abs(static_cast<long long>(y) - py) <= slop;
}

bool In(std::uint16_t code, std::uint16_t first, std::uint16_t last)
{
    return code >= first && code <= last;
}

// Codes whose vertices reshape them: no handles.
bool HasNoHandles(std::uint16_t c)
{
    return c == 0x1101 || c == 0x1104 || c == 0x1201 || c == 0x1204 || c == 0x1205 || c == 0x1209 ||
           In(c, 0x1213, 0x121B) || In(c, 0x1301, 0x1320) || In(c, 0x1401, 0x140A) || In(c, 0x1501, 0x1516);
}

bool HasThreeHandles(std::uint16_t c)
{
    return c == 0x1102 || c == 0x1103 || In(c, 0x1105, 0x1109) || In(c, 0x140B, 0x140E);
}

} // namespace

void CShapeObject::GetHandles(CPointList& handles)
{
    if (m_resizeMode != 3 && m_resizeMode != 4) return;
    if (HasNoHandles(m_shapeCode)) return;
    const int left = m_bounds.left, top = m_bounds.top;
    const int right = left + m_width, bottom = top + m_height;
    if (HasThreeHandles(m_shapeCode)) {
        handles.AddNode(CPointNode(left, top, kShapeHitBody));
        handles.AddNode(CPointNode(right, top, kShapeHitRotate));
    }
    handles.AddNode(CPointNode(right, bottom, kShapeHitResize));
}

std::uint8_t CShapeObject::HitTest(int x, int y, CPointList& handles)
{
    const int rx = x - m_bounds.left, ry = y - m_bounds.top;
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const plat::Point p = m_points.GetPoint(i);
        if (Near(rx, ry, p.x, p.y, kHitSlop)) return kShapeHitVertex;
    }
    for (int i = 0; i < handles.GetCount(); ++i) {
        const CPointNode h = handles.GetNodeAt(i);
        if (Near(x, y, h.m_x, h.m_y, kHitSlop)) return static_cast<std::uint8_t>(h.m_code);
    }
    const bool inBox = rx >= 0 && ry >= 0 && rx < m_width && ry < m_height;
    if (inBox && HitTestPixels(rx, ry)) return kShapeHitBody;
    return 0;
}

std::uint8_t CShapeObject::BeginTrack(int x, int y, bool /*shift*/, CPointList& handles)
{
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    const std::uint8_t code = HitTest(x, y, handles);
    if (code == 0 || !state) return code;
    state->m_trackedObject = this;
    if (code == kShapeHitVertex) {
        const int rx = x - m_bounds.left, ry = y - m_bounds.top;
        for (int i = 0; i < m_points.GetCount(); ++i) {
            const plat::Point p = m_points.GetPoint(i);
            if (Near(rx, ry, p.x, p.y, kHitSlop)) {
                state->m_dragVertex = i;
                break;
            }
        }
    } else if (code != kShapeHitBody || handles.GetCount() > 0) {
        // A handle (the body's hit also comes here when the top-left handle was hit; the
        // saved copy is harmless then).
        state->m_dragBox = plat::Rect(m_bounds.left, m_bounds.top, m_bounds.left + m_width, m_bounds.top + m_height);
        state->m_pointList.RemoveAll();
        for (int i = 0; i < m_points.GetCount(); ++i) {
            const plat::Point p = m_points.GetPoint(i);
            state->m_pointList.AddPoint(p.x, p.y);
        }
    }
    return code;
}

void CShapeObject::TrackTo(int x, int y)
{
    CFormatState* state = m_doc ? m_doc->GetFormatState() : nullptr;
    if (!state) return;
    const int left = m_bounds.left, top = m_bounds.top;
    const CPointList& saved = state->m_pointList;
    switch (state->m_tableZone) {
    case kShapeHitResize: {
        std::int64_t right = std::max<std::int64_t>(x, std::int64_t(left) + kLeastResize);
        std::int64_t bottom = std::max<std::int64_t>(y, std::int64_t(top) + kLeastResize);
        if (m_resizeMode == 4 && m_width > 0 && m_height > 0) {
            if (double(bottom - top) / m_height > double(right - left) / m_width)
                bottom = (right - left) * m_height / m_width + top;
            else
                right = std::int64_t(m_width) * (bottom - top) / m_height + left;
        }
        const std::int64_t w0 = std::max(1, state->m_dragBox.Width());
        const std::int64_t h0 = std::max(1, state->m_dragBox.Height());
        const int n = std::min(m_points.GetCount(), saved.GetCount());
        for (int i = 0; i < n; ++i) {
            const plat::Point p0 = saved.GetPoint(i);
            CPointNode* p = m_points.GetPointRef(i);
            p->m_x = static_cast<std::int32_t>((right - left) * p0.x / w0);
            p->m_y = static_cast<std::int32_t>(p0.y * (bottom - top) / h0);
        }
        m_width = static_cast<std::int32_t>(right - left);
        m_height = static_cast<std::int32_t>(bottom - top);
        m_bounds.right = m_bounds.left + m_width;
        m_bounds.bottom = m_bounds.top + m_height;
        break;
    }
    case kShapeHitVertex: {
        CPointNode* v = m_points.GetPointRef(state->m_dragVertex);
        if (!v) break;
        v->m_x = x - left;
        v->m_y = y - top;
        if (!plat::IsKeyDown(plat::kVkShift) || m_points.GetCount() != 2) break;
        const CPointNode fixed = m_points.GetNodeAt(1 - std::clamp(state->m_dragVertex, 0, 1));
        if (m_shapeCode == 0x1101) {
            // The line turns in steps of 15 degrees about the fixed end, keeping its length.
            const double degrees = LineAngle(fixed.m_x, fixed.m_y, v->m_x, v->m_y) * kDegreesPerRadian;
            const double angle = (static_cast<int>(degrees + 7.5) / kAngleStep * kAngleStep) * kRadiansPerDegree;
            const int d = static_cast<int>(Distance(fixed.m_x, fixed.m_y, v->m_x, v->m_y));
            v->m_x = fixed.m_x + static_cast<int>(d * CosAngle(angle));
            v->m_y = fixed.m_y + static_cast<int>(d * SinAngle(angle));
        } else if (m_shapeCode == 0x1201 || m_shapeCode == 0x1209) {
            // A square rectangle or a circle: the smaller extent wins.
            const int d = std::min(std::abs(fixed.m_x - v->m_x), std::abs(fixed.m_y - v->m_y));
            v->m_x = fixed.m_x >= v->m_x ? fixed.m_x - d : fixed.m_x + d;
            v->m_y = fixed.m_y >= v->m_y ? fixed.m_y - d : fixed.m_y + d;
        }
        break;
    }
    case kShapeHitRotate: {
        // Each saved point turns about the saved top-left corner by the cursor's direction
        // as seen from it.
        const int cx = x - state->m_dragBox.left, cy = y - state->m_dragBox.top;
        const int n = std::min(m_points.GetCount(), saved.GetCount());
        for (int i = 0; i < n; ++i) {
            const plat::Point p0 = saved.GetPoint(i);
            const plat::Point p = OffsetPointOnLine(cx, cy, 0, 0, -p0.x, -p0.y);
            CPointNode* node = m_points.GetPointRef(i);
            node->m_x = p.x;
            node->m_y = p.y;
        }
        break;
    }
    default: break;
    }
}

void CShapeObject::EndTrack(int x, int y)
{
    TrackTo(x, y);
    NormalizeToPoints();
    m_anchorState = kAnchorNone;
    if (m_doc) m_doc->RequestRepaint();
}

int CShapeObject::ShowProperties()
{
    return ShowWrapProperties(*this);
}

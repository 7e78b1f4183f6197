// The creation tracker's mouse gesture: it collects the points of a new object, draws the
// rubber band through the prototype's own tracker painter and, when the gesture ends, has
// the prototype's kind complete it. What completion means for each kind lives with the
// kind (CInsertableObject::CompleteCreation); the tracker knows only points and boxes.
#include <algorithm>
#include <cstdlib>

#include "document/doc_commands.h"
#include "document/doc_context.h"
#include "platform/ui/keyboard.h"

namespace {

plat::Rect Normalised(plat::Point a, plat::Point b)
{
    return plat::Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

} // namespace

CCreateTracker::CCreateTracker(CDocContext* doc, std::unique_ptr<CFloatObject> prototype)
    : m_doc(doc), m_prototype(std::move(prototype))
{
}

CCreateTracker::~CCreateTracker()
{
    DeleteObject();
}

void CCreateTracker::Collect(plat::Point p)
{
    if (m_gesture.points.GetCount() >= kMaxPoints) return;
    m_gesture.points.AddPoint(p.x, p.y);
}

plat::Point CCreateTracker::ConstrainPoint(int x, int y) const
{
    const plat::Point p(x, y);
    const auto* insertable = dynamic_cast<const CInsertableObject*>(m_prototype.get());
    if (!insertable || m_gesture.points.GetCount() == 0 || !plat::IsKeyDown(plat::kVkShift)) return p;
    return insertable->ConstrainCreationPoint(m_gesture.points.GetPoint(0), p);
}

void CCreateTracker::OnLButtonDown(int x, int y)
{
    const plat::Point p(x, y);
    if (GetCreateMode() != 1) Collect(p);
    m_gesture.start = m_gesture.current = m_gesture.lastClick = p;
    m_tracking = true;
}

void CCreateTracker::OnMouseMove(int x, int y)
{
    if (!m_tracking) return;
    m_gesture.current = ConstrainPoint(x, y);
    const auto* insertable = dynamic_cast<const CInsertableObject*>(m_prototype.get());
    if (insertable && plat::IsKeyDown(plat::kVkShift))
        m_gesture.current = insertable->ConstrainCreationPoint(m_gesture.lastClick, m_gesture.current);
}

bool CCreateTracker::AddClickPoint(int x, int y)
{
    const plat::Point p = ConstrainPoint(x, y);
    const plat::Point last = m_gesture.lastClick;
    if (std::abs(p.x - last.x) > kClickSlop || std::abs(p.y - last.y) > kClickSlop) {
        // Past the record's bound the click is ignored altogether.
        if (GetPointCount() < kMaxPoints) {
            Collect(p);
            m_gesture.lastClick = m_gesture.current = p;
        }
    }
    return GetPointCount() == GetCreateMode();
}

bool CCreateTracker::Finish()
{
    if (!m_tracking) return false;
    m_tracking = false;
    if (!m_prototype || !m_doc) return false;
    // Every kind starts from the box of the gesture; the kind then makes its content.
    const plat::Rect twips = m_doc->PixelsToTwipsRect(Normalised(m_gesture.start, m_gesture.current));
    CFloatObject& o = *m_prototype;
    o.m_bounds = twips;
    o.m_width = twips.Width();
    o.m_height = twips.Height();
    auto* insertable = dynamic_cast<CInsertableObject*>(m_prototype.get());
    return !insertable || insertable->CompleteCreation(m_gesture);
}

void CCreateTracker::DrawRubberBand(plat::Dc& dc, int dx, int dy)
{
    if (!m_prototype || !m_doc || !m_tracking) return;
    CPointList points;
    for (int i = 0; i < m_gesture.points.GetCount(); ++i) {
        const plat::Point p = m_gesture.points.GetPoint(i);
        points.AddPoint(p.x + dx, p.y + dy);
    }
    points.AddPoint(m_gesture.current.x + dx, m_gesture.current.y + dy);
    m_prototype->DrawTracker(dc, m_doc->GetZoom(), points);
}

void CCreateTracker::Draw(plat::Dc& dc, double /*zoom*/, int x0, int y0)
{
    DrawRubberBand(dc, x0, y0);
}

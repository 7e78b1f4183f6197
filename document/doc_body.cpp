#include "document/doc_body.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "document/doc_context.h"
#include "document/doc_header.h"
#include "document/float_object.h"
#include "document/format_state.h"
#include "document/line_layout.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "document/units.h"
#include "platform/base/saturate.h"

namespace {

// Line-spacing code of a new body's paragraphs.
constexpr std::uint8_t kBodySpacing = 2;
constexpr int kDeskMargin = CDocContext::kDeskMargin;


} // namespace

// The paragraph ends anchoring reads: every one in flow order, and every one by name (the
// first of a name wins). Their places are read when they are used, so the index holds
// for as long as no paragraph end comes into the body or leaves it.
struct CDocBody::ParaEndIndex {
    std::uint64_t edits = 0; // the body's paragraph-end edits when it was gathered
    std::vector<const CParaEndItem*> ends;
    std::unordered_map<String, const CParaEndItem*> byName;
};

CDocBody::CDocBody(CDocContext* doc)
    : CTextFlow(doc, nullptr, kNodeBody), m_regionCursor(m_regions.end()),
      m_objects(std::make_unique<CPageObjectList>(doc, this))
{
    CParaFormat para = GetRunningParaFormat();
    para.m_align = kAlignJustify;
    para.m_spacing = kBodySpacing;
    SetRunningParaFormat(para);
    if (CFormatState* state = doc ? doc->GetFormatState() : nullptr) state->SetFocusObject(this);
    AppendFinalParaEnd();
    SetSelection(CTextPos(0, m_name), CTextPos(0, m_name));

    SetGeometryFromDocument();
    BuildPageRegions();
    RelayoutWhole();
}

void CDocBody::SetGeometryFromDocument()
{
    const CDocContext* doc = GetDoc();
    const plat::Rect m = doc ? doc->GetMargins() : CDocHeader::NewDocument().GetMargins();
    const plat::Size paper = doc ? doc->GetPaperSize() : CDocHeader::NewDocument().GetPaperSize();
    SetPageGeometry(m.left, m.top, m.right, m.bottom, paper.cx, paper.cy);
}

CDocBody::~CDocBody()
{
    ClearRegions();
    m_objects->RemoveAll();
    m_objects.reset();
}

// ---- page frames and free regions ----

void CDocBody::SetPageGeometry(int marginLeft, int marginTop, int marginRight, int marginBottom, int paperWidth,
                               int paperHeight)
{
    const std::int64_t ml = MmToTwips(marginLeft);
    const std::int64_t mt = MmToTwips(marginTop);
    const std::int64_t mr = MmToTwips(marginRight);
    const std::int64_t mb = MmToTwips(marginBottom);
    m_paperWidth = MmToTwips(paperWidth);
    m_paperHeight = MmToTwips(paperHeight);
    const std::int64_t w = m_paperWidth;
    const std::int64_t h = m_paperHeight;
    const std::int32_t left = plat::SaturateI32(ml + kDeskMargin);
    const std::int32_t right = plat::SaturateI32(w - mr + kDeskMargin);
    for (int i = 0; i < kMaxPages; ++i) {
        const std::int64_t pageTop = i * (h + kDeskMargin) + kDeskMargin;
        m_frames[static_cast<size_t>(i)] =
            CPageRegion(plat::Rect(left, plat::SaturateI32(pageTop + mt), right, plat::SaturateI32(pageTop + h - mb)), i);
    }
    const std::int64_t overflowTop = kMaxPages * (h + kDeskMargin) + kDeskMargin + mt;
    m_frames[kOverflowFrame] =
        CPageRegion(plat::Rect(left, plat::SaturateI32(overflowTop), right, kOverflowBottom), kOverflowFrame);
}

plat::Rect CDocBody::GetPageRect(int i) const
{
    const std::int64_t top = std::int64_t(i) * (m_paperHeight + kDeskMargin) + kDeskMargin;
    return plat::Rect(kDeskMargin, plat::SaturateI32(top), plat::SaturateI32(std::int64_t(m_paperWidth) + kDeskMargin),
                      plat::SaturateI32(top + m_paperHeight));
}

void CDocBody::ClearRegions()
{
    m_regions.clear();
    m_regionCursor = m_regions.end();
}

void CDocBody::BuildPageRegions()
{
    ClearRegions();
    for (const CPageRegion& frame : m_frames) m_regions.push_back(std::make_unique<CPageRegion>(frame));

    for (int k = 0; k < m_objects->GetCount(); ++k) {
        const CFloatObject* object = m_objects->GetObject(k);
        const plat::Rect o = object->m_bounds;
        const int wrap = object->m_wrapMode;
        for (auto it = m_regions.begin(); it != m_regions.end();) {
            // Fragments go right after R and are not cut by this object again; later
            // objects cut them.
            const auto next = std::next(it);
            const plat::Rect r = (*it)->m_rect;
            const std::int32_t page = (*it)->m_page;
            const plat::Rect in = r.Intersect(o);
            if (in.IsEmpty()) {
                it = next;
                continue;
            }
            auto piece = [page](int l, int t, int rt, int b) {
                return std::make_unique<CPageRegion>(plat::Rect(l, t, rt, b), page);
            };
            // Each goes directly after R, so the list then reads R, top, left, right, bottom.
            if (in.bottom != r.bottom && r.left != r.right)
                InsertRegion(it, piece(r.left, in.bottom, r.right, r.bottom));
            if (in.top != in.bottom && in.right != r.right && (wrap == kWrapRight || wrap == kWrapBoth))
                InsertRegion(it, piece(in.right, in.top, r.right, in.bottom));
            if (in.top != in.bottom && r.left != in.left && (wrap == kWrapLeft || wrap == kWrapBoth))
                InsertRegion(it, piece(r.left, in.top, in.left, in.bottom));
            if (r.top != in.top && r.left != r.right) InsertRegion(it, piece(r.left, r.top, r.right, in.top));
            m_regions.erase(it);
            it = next;
        }
    }
    m_regionCursor = m_regions.begin();
}

void CDocBody::InsertRegion(RegionList::iterator after, std::unique_ptr<CPageRegion> region)
{
    plat::Rect& r = region->m_rect;
    if (std::int64_t(r.right) - r.left <= kMinRegionWidth || std::int64_t(r.bottom) - r.top <= kMinRegionHeight)
        return;
    // Every frame has the same sides; a side that is not the frame's faces an object.
    const plat::Rect& frame = m_frames[0].m_rect;
    if (r.left != frame.left) r.left += kRegionGap;
    if (r.right != frame.right) r.right -= kRegionGap;
    if (after == m_regions.end()) m_regions.push_back(std::move(region));
    else m_regions.insert(std::next(after), std::move(region));
}

void CDocBody::InsertRegion(CPageRegion* after, std::unique_ptr<CPageRegion> region)
{
    auto it = m_regions.end();
    if (after) {
        it = std::find_if(m_regions.begin(), m_regions.end(), [after](const auto& r) { return r.get() == after; });
        if (it == m_regions.end()) return; // not one of ours
    }
    InsertRegion(it, std::move(region));
}

CPageRegion* CDocBody::GetFirstRegion()
{
    m_regionCursor = m_regions.begin();
    return m_regionCursor == m_regions.end() ? nullptr : m_regionCursor->get();
}

CPageRegion* CDocBody::GetNextRegion()
{
    if (m_regionCursor == m_regions.end()) return nullptr;
    ++m_regionCursor;
    return m_regionCursor == m_regions.end() ? nullptr : m_regionCursor->get();
}

// ---- pages ----

bool CDocBody::PageCountChanged()
{
    const bool changed = m_pageCount != m_prevPageCount;
    m_prevPageCount = m_pageCount;
    return changed;
}

void CDocBody::RecalcPageCount()
{
    int count = kMaxPages;
    if (const CTextItem* last = GetItem(GetCount() - 1)) {
        // The page of the frame that holds the last line. A line outside every frame (not
        // laid out yet, above the first) counts the page it lies on, and one below the
        // last page's text lies in the overflow and counts all 500.
        const int y = last->GetLineTop();
        for (int i = 0; i < kMaxPages; ++i) {
            if (y <= m_frames[static_cast<size_t>(i)].m_rect.bottom) {
                count = i > 0 && y <= GetPageRect(i - 1).bottom ? i : i + 1;
                break;
            }
        }
    }
    // Page tops go down the desk as the page number grows, unless a paper height below
    // -200 twips (from a damaged file) turns them round: then each is tried in turn.
    const bool topsGrow = std::int64_t(m_paperHeight) + kDeskMargin >= 0;
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        // An object needs the pages above the first page top at or below its bottom; one
        // ending on the last page needs all 500, and one reaching further adds nothing.
        const int bottom = m_objects->GetObject(k)->m_bounds.bottom;
        auto above = [&](int j) { return bottom > GetPageRect(j).top; };
        int j = 0;
        if (topsGrow) {
            int lo = 0, hi = kMaxPages + 1; // the first page top at or below the bottom
            while (lo < hi) {
                const int mid = lo + (hi - lo) / 2;
                if (above(mid)) lo = mid + 1;
                else hi = mid;
            }
            j = lo;
        } else {
            while (j <= kMaxPages && above(j)) ++j;
        }
        if (j <= kMaxPages) count = std::max(count, std::max(j, 1));
    }
    m_pageCount = static_cast<std::uint16_t>(std::clamp(count, 1, kMaxPages));
}

int CDocBody::GetContentBottom() const
{
    std::int64_t bottom = 0;
    if (const CTextItem* last = GetItem(GetCount() - 1))
        bottom = std::int64_t(last->GetTop()) + last->GetHeight() + kRegionGap;
    for (int k = 0; k < m_objects->GetCount(); ++k)
        bottom = std::max<std::int64_t>(bottom, m_objects->GetObject(k)->m_bounds.bottom);
    return plat::SaturateI32(bottom);
}

// ---- anchoring ----

const CDocBody::ParaEndIndex& CDocBody::IndexParaEnds() const
{
    static_assert(kFirstParaEndType == kItemParaPageBreak && kLastParaEndType == kItemParaEnd);
    if (m_paraEnds && m_paraEnds->edits == GetParaEndEdits()) return *m_paraEnds;
    auto index = std::make_unique<ParaEndIndex>();
    index->edits = GetParaEndEdits();
    for (int i = 0; i < GetCount(); ++i) {
        // The type field first: a dynamic_cast on each of a million items costs more than
        // the rest of a keystroke.
        if (!IsParaEndType(ItemAt(i)->GetNodeType())) continue;
        const auto* end = dynamic_cast<const CParaEndItem*>(ItemAt(i));
        if (!end) continue;
        index->ends.push_back(end);
        index->byName.emplace(end->GetName(), end);
    }
    m_paraEnds = std::move(index);
    return *m_paraEnds;
}

void CDocBody::UpdateAnchors()
{
    // Runs after every keystroke's layout: without objects there is nothing to index.
    if (m_objects->GetCount() == 0) return;
    const ParaEndIndex& index = IndexParaEnds();
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        CFloatObject& object = *m_objects->GetObject(k);
        if (object.m_anchorState == kAnchorNone) AttachAnchor(object, index);
        else CheckAnchor(object, index);
    }
}

void CDocBody::AttachAnchor(CFloatObject& object)
{
    AttachAnchor(object, IndexParaEnds());
}

void CDocBody::CheckAnchor(CFloatObject& object)
{
    CheckAnchor(object, IndexParaEnds());
}

void CDocBody::AttachAnchor(CFloatObject& object, const ParaEndIndex& index)
{
    // The last laid-out paragraph end at or above the object's top, in flow order.
    const int top = object.m_bounds.top;
    for (const CParaEndItem* end : index.ends) {
        const int y = end->GetTop();
        if (y == 0) continue; // not laid out yet
        if (y > top) break;
        object.m_anchorState = kAnchorAttached;
        object.m_anchorName = end->GetName();
        object.m_targetTop = top;
        object.m_anchorOffset = plat::SaturateI32(std::int64_t(top) - y);
    }
}

void CDocBody::CheckAnchor(CFloatObject& object, const ParaEndIndex& index)
{
    const auto found = index.byName.find(object.m_anchorName);
    if (found == index.byName.end()) {
        // The paragraph is gone: attach afresh where the object stands.
        object.DropAnchor();
        AttachAnchor(object, index);
        return;
    }
    const int y = found->second->GetTop();
    const int top = object.m_bounds.top;
    if (std::int64_t(object.m_anchorOffset) == std::int64_t(top) - y) return;
    const int t = plat::SaturateI32(std::int64_t(y) + object.m_anchorOffset);
    const int b = plat::SaturateI32(std::int64_t(t) + object.m_bounds.bottom - top);
    if (FitsOnPage(t, b)) {
        object.m_anchorState = kAnchorMustMove;
        object.m_targetTop = t;
    } else if (y > top) {
        // The paragraph moved down and the object would straddle a page end: it goes to
        // the top of the next page's text.
        object.m_anchorState = kAnchorMustMove;
        object.m_targetTop = t;
        for (int i = 0; i < kMaxPages; ++i) {
            const int textTop = m_frames[static_cast<size_t>(i)].m_rect.top;
            if (textTop > t) {
                object.m_targetTop = textTop;
                break;
            }
        }
    } else if (!FitsOnPage(y, top)) {
        // The paragraph moved up across a page end: the object goes to the top of the text
        // of the page it is on.
        for (int j = 0; j < kMaxPages; ++j) {
            const plat::Rect page = GetPageRect(j);
            if (page.top <= top && top < page.bottom) {
                const int textTop = m_frames[static_cast<size_t>(j)].m_rect.top;
                if (textTop != top) {
                    object.m_anchorState = kAnchorMustMove;
                    object.m_targetTop = textTop;
                }
                break;
            }
        }
    }
}

bool CDocBody::FitsOnPage(int a, int b) const
{
    for (int i = 0; i < kMaxPages; ++i) {
        const plat::Rect& text = m_frames[static_cast<size_t>(i)].m_rect;
        if (text.bottom < a) continue;
        if (text.top > a) return false; // a lies between two text areas
        return GetPageRect(i).bottom >= b;
    }
    return false;
}

bool CDocBody::HasObjectToMove() const
{
    for (int k = 0; k < m_objects->GetCount(); ++k)
        if (m_objects->GetObject(k)->m_anchorState == kAnchorMustMove) return true;
    return false;
}

bool CDocBody::MoveAnchoredObjects()
{
    bool moved = false;
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        CFloatObject& object = *m_objects->GetObject(k);
        if (object.m_anchorState != kAnchorMustMove) continue;
        moved = true;
        int dy = 0;
        if (!object.m_anchorName.empty()) {
            dy = plat::SaturateI32(std::int64_t(object.m_targetTop) - object.m_bounds.top);
            object.m_anchorState = kAnchorAttached;
        } else {
            object.m_anchorState = kAnchorNone;
        }
        object.Offset(0, dy);
        object.m_targetTop = 0;
    }
    return moved;
}

// ---- the page objects ----

int CDocBody::GetObjectCount() const
{
    return m_objects->GetCount();
}

CFloatObject* CDocBody::GetObject(int index) const
{
    return m_objects->GetObject(index);
}

CFloatObject* CDocBody::AddObject(std::unique_ptr<CFloatObject> object)
{
    return m_objects->AddObject(std::move(object));
}

std::unique_ptr<CFloatObject> CDocBody::RemoveObject(CFloatObject* object)
{
    std::unique_ptr<CDocNode> node = m_objects->Remove(object);
    return std::unique_ptr<CFloatObject>(static_cast<CFloatObject*>(node.release()));
}

void CDocBody::DeleteAllObjects()
{
    m_objects->RemoveAll();
}

int CDocBody::GetSelectedCount() const
{
    return m_objects->CountSelected();
}

CFloatObject* CDocBody::GetSelectedObject(int n) const
{
    return m_objects->GetSelected(n);
}

void CDocBody::DeselectAll()
{
    m_objects->ClearSelection();
}

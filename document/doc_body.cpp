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
    // The regions and the layout stand on the old frames until they are built again.
    m_regionsBuilt = false;
    m_layoutWhole = false;
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
    m_regionsBuilt = false;
    m_layoutWhole = false;
}

bool CDocBody::FramesInOrder() const
{
    // Each frame tall enough for any line's half gap, and below the one before it: then a
    // line's top tells the frame it lies in, and a box meets a run of frames in a row.
    for (int i = 0; i <= kOverflowFrame; ++i) {
        const plat::Rect& r = m_frames[static_cast<size_t>(i)].m_rect;
        if (std::int64_t(r.bottom) - r.top <= kMinRegionHeight) return false;
        if (i > 0 && r.top <= m_frames[static_cast<size_t>(i - 1)].m_rect.bottom) return false;
    }
    return true;
}

template <class Visit>
void CDocBody::ForFramesMeeting(const plat::Rect& box, bool inOrder, Visit visit) const
{
    int i = 0;
    if (inOrder) {
        // The first frame whose bottom lies below the box's top.
        int hi = kOverflowFrame + 1;
        while (i < hi) {
            const int mid = i + (hi - i) / 2;
            if (m_frames[static_cast<size_t>(mid)].m_rect.bottom <= box.top) i = mid + 1;
            else hi = mid;
        }
    }
    for (; i <= kOverflowFrame; ++i) {
        const plat::Rect& frame = m_frames[static_cast<size_t>(i)].m_rect;
        if (inOrder && frame.top >= box.bottom) break;
        if (!frame.Intersect(box).IsEmpty()) visit(i);
    }
}

void CDocBody::CutRegions(RegionList& list, const CFloatObject& object)
{
    const plat::Rect o = object.m_bounds;
    const int wrap = object.m_wrapMode;
    for (auto it = list.begin(); it != list.end();) {
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
            InsertRegion(list, it, piece(r.left, in.bottom, r.right, r.bottom));
        if (in.top != in.bottom && in.right != r.right && (wrap == kWrapRight || wrap == kWrapBoth))
            InsertRegion(list, it, piece(in.right, in.top, r.right, in.bottom));
        if (in.top != in.bottom && r.left != in.left && (wrap == kWrapLeft || wrap == kWrapBoth))
            InsertRegion(list, it, piece(r.left, in.top, in.left, in.bottom));
        if (r.top != in.top && r.left != r.right) InsertRegion(list, it, piece(r.left, r.top, r.right, in.top));
        list.erase(it);
        it = next;
    }
}

void CDocBody::BuildRegionsOfFrames(const std::vector<bool>* only)
{
    // A frame's fragments lie inside it, so each frame is cut by the objects that meet it,
    // in stacking order, on its own: the list comes out as cutting every region by every
    // object would leave it, for the cost of the frames each object meets.
    const bool inOrder = FramesInOrder();
    std::vector<std::pair<int, int>> cuts; // (frame, object), by frame and then stacking order
    for (int k = 0; k < m_objects->GetCount(); ++k)
        ForFramesMeeting(m_objects->GetObject(k)->m_bounds, inOrder, [&](int frame) {
            if (!only || (*only)[static_cast<size_t>(frame)]) cuts.emplace_back(frame, k);
        });
    std::stable_sort(cuts.begin(), cuts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    auto at = m_regions.begin();
    auto cut = cuts.begin();
    for (int i = 0; i <= kOverflowFrame; ++i) {
        if (only && !(*only)[static_cast<size_t>(i)]) continue;
        // The frame's old regions make way for the new ones in their place.
        while (at != m_regions.end() && (*at)->m_page < i) ++at;
        while (at != m_regions.end() && (*at)->m_page == i) at = m_regions.erase(at);
        RegionList frame;
        frame.push_back(std::make_unique<CPageRegion>(m_frames[static_cast<size_t>(i)]));
        for (; cut != cuts.end() && cut->first == i; ++cut) CutRegions(frame, *m_objects->GetObject(cut->second));
        m_regions.splice(at, frame);
    }
    m_regionCursor = m_regions.begin();
    m_regionSources.clear();
    for (int k = 0; k < m_objects->GetCount(); ++k) {
        const CFloatObject* object = m_objects->GetObject(k);
        m_regionSources.push_back({object->m_bounds, object->m_wrapMode});
    }
    m_regionsBuilt = true;
}

void CDocBody::BuildPageRegions()
{
    m_regions.clear();
    BuildRegionsOfFrames(nullptr);
    m_layoutWhole = false;
}

bool CDocBody::RebuildChangedRegions(int& first, int& last)
{
    // Only a list that is what the last build left, over frames that are in order, is
    // mended frame by frame; and only for objects that kept their places in the stacking
    // order and their wrap modes.
    const int count = m_objects->GetCount();
    if (!m_regionsBuilt || static_cast<int>(m_regionSources.size()) != count || !FramesInOrder()) return false;
    std::vector<bool> changed(kOverflowFrame + 1, false);
    first = kOverflowFrame + 1;
    last = -1;
    auto mark = [&](int frame) {
        changed[static_cast<size_t>(frame)] = true;
        first = std::min(first, frame);
        last = std::max(last, frame);
    };
    for (int k = 0; k < count; ++k) {
        const CFloatObject* object = m_objects->GetObject(k);
        const RegionSource& was = m_regionSources[static_cast<size_t>(k)];
        if (object->m_wrapMode != was.wrap) return false;
        if (object->m_bounds == was.bounds) continue;
        ForFramesMeeting(was.bounds, true, mark);
        ForFramesMeeting(object->m_bounds, true, mark);
    }
    if (last >= 0) BuildRegionsOfFrames(&changed);
    m_regionCursor = m_regions.begin();
    return true;
}

void CDocBody::InsertRegion(RegionList& list, RegionList::iterator after, std::unique_ptr<CPageRegion> region) const
{
    plat::Rect& r = region->m_rect;
    if (std::int64_t(r.right) - r.left <= kMinRegionWidth || std::int64_t(r.bottom) - r.top <= kMinRegionHeight)
        return;
    // Every frame has the same sides; a side that is not the frame's faces an object.
    const plat::Rect& frame = m_frames[0].m_rect;
    if (r.left != frame.left) r.left += kRegionGap;
    if (r.right != frame.right) r.right -= kRegionGap;
    if (after == list.end()) list.push_back(std::move(region));
    else list.insert(std::next(after), std::move(region));
}

void CDocBody::InsertRegion(CPageRegion* after, std::unique_ptr<CPageRegion> region)
{
    auto it = m_regions.end();
    if (after) {
        it = std::find_if(m_regions.begin(), m_regions.end(), [after](const auto& r) { return r.get() == after; });
        if (it == m_regions.end()) return; // not one of ours
    }
    InsertRegion(m_regions, it, std::move(region));
    m_regionsBuilt = false;
    m_layoutWhole = false;
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
    // One paragraph end typed or taken away (Enter, a backspace over one) is put into the
    // index or taken out of it.
    if (m_paraEnds && m_paraEnds->edits + 1 == GetParaEndEdits() && UpdateParaEnds(*m_paraEnds)) {
        m_paraEnds->edits = GetParaEndEdits();
        return *m_paraEnds;
    }
    auto index = std::make_unique<ParaEndIndex>();
    index->edits = GetParaEndEdits();
    if (m_paraEnds) {
        // About as many as the last time.
        index->ends.reserve(m_paraEnds->ends.size() + 1);
        index->byName.reserve(m_paraEnds->byName.size() + 1);
    }
    for (int i = 0; i < GetCount(); ++i) {
        // The type field first: a dynamic_cast on each of a million items costs more than
        // the rest of a keystroke.
        if (const CParaEndItem* end = IndexedParaEnd(i)) {
            index->ends.push_back(end);
            index->byName.emplace(end->GetName(), end);
        }
    }
    m_paraEnds = std::move(index);
    return *m_paraEnds;
}

const CParaEndItem* CDocBody::IndexedParaEnd(int i) const
{
    if (!IsParaEndType(ItemAt(i)->GetNodeType())) return nullptr;
    return dynamic_cast<const CParaEndItem*>(ItemAt(i));
}

bool CDocBody::UpdateParaEnds(ParaEndIndex& index) const
{
    const ParaEdit& edit = GetLastParaEndEdit();
    if (!edit.node) return false;
    auto position = [&index](const CDocNode* node) {
        return std::find(index.ends.begin(), index.ends.end(), node) - index.ends.begin();
    };
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(index.ends.size());
    if (!edit.added) {
        // Only its address is left to compare.
        const std::ptrdiff_t at = position(edit.node);
        if (at == count) return true; // it was not one the index holds
        index.ends.erase(index.ends.begin() + at);
        for (auto it = index.byName.begin(); it != index.byName.end(); ++it) {
            if (it->second != edit.node) continue;
            // The next paragraph end of that name, if any, is now the first.
            const String name = it->first;
            index.byName.erase(it);
            for (const CParaEndItem* end : index.ends) {
                if (end->GetName() == name) {
                    index.byName.emplace(name, end);
                    break;
                }
            }
            break;
        }
        return true;
    }
    // Where it came in, unless other items came or went before it since.
    if (edit.index < 0 || edit.index >= GetCount() || ItemAt(edit.index) != edit.node) return false;
    const CParaEndItem* added = IndexedParaEnd(edit.index);
    if (!added) return true;
    // It goes after the paragraph end before it, looked for back to the start of a long
    // paragraph at most.
    constexpr int kLongestWalk = 1 << 14;
    std::ptrdiff_t at = 0;
    for (int i = edit.index - 1; i >= 0; --i) {
        if (edit.index - i > kLongestWalk) return false;
        if (const CParaEndItem* before = IndexedParaEnd(i)) {
            at = position(before);
            if (at == count) return false;
            ++at;
            break;
        }
    }
    index.ends.insert(index.ends.begin() + at, added);
    const auto [named, fresh] = index.byName.emplace(added->GetName(), added);
    if (!fresh && position(named->second) > at) named->second = added; // the first of a name
    return true;
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

void CDocBody::RelayoutAfterMoves(int retry)
{
    MoveAnchoredObjects();
    // The text before the first page whose regions change lies where it is. With the
    // layout what a whole one gives, and the regions mended where the objects left or
    // reached a page, the layout starts again from the paragraph that runs into that page,
    // and no paragraph may find itself in place before the last such page is behind.
    int first = 0;
    int last = 0;
    if (!m_layoutWhole || !RebuildChangedRegions(first, last)) {
        BuildPageRegions();
        Relayout(1, retry);
        return;
    }
    if (last < 0) first = last = 0; // no region changed: the first page shows it
    const int count = GetCount();
    const int firstTop = m_frames[static_cast<size_t>(first)].m_rect.top;
    int start = 0;     // the paragraph start before the first item at or below firstTop
    int previous = 0;  // and the one before it
    int i = 0;
    for (; i < count && ItemAt(i)->GetLineTop() < firstTop; ++i) {
        if (IsParaEndType(ItemAt(i)->GetNodeType())) {
            previous = start;
            start = i + 1;
        }
    }
    // A paragraph that begins on the changed page itself starts from the page's first
    // region: the one before it is laid out again instead.
    if (start == i) start = previous;
    int end = count;
    if (last < kOverflowFrame) {
        const int lastBottom = m_frames[static_cast<size_t>(last)].m_rect.bottom;
        while (i < count && ItemAt(i)->GetLineTop() <= lastBottom) ++i;
        if (i < count) end = ExtendToBoundary(ParagraphEndAfter(std::max(i - 1, start)));
    }
    m_movedRange = {start, end};
    Relayout(0, retry);
}

bool CDocBody::LastLineInOverflow() const
{
    const CTextItem* last = GetItem(GetCount() - 1);
    return last && last->GetLineTop() >= m_frames[kOverflowFrame].m_rect.top;
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

// The page body's relayout: the driver that pours the items into the free regions line by
// line with the steps of the line layout, then re-anchors the floating objects.
//
// A partial relayout (all = 0) measures the paragraphs around the selection and places
// lines from the first of them, and it stops at the first further paragraph whose first
// line lands where it already is. A further paragraph is unchanged, and so are the lines
// it was placed in: a line joined from runs that each fitted, in a region as wide as the
// frame, breaks the same way in any such region, so it is stacked again as it stands
// (its items moved down or up together) rather than measured and broken afresh. At the
// first line that cannot be taken so (it was cut from a run wider than the line, or it
// now goes into a narrower region or the overflow frame) the paragraph is measured after
// all, and is laid out from that line as a measured one: widths a previous placement took
// away (trailing and wrapped spaces) never decide a line break, and the lines stacked
// before keep what their placing left. So a partial relayout leaves exactly the layout a
// full one would.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/line_layout.h"
#include "document/page_object_list.h"
#include "document/text_item.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::int64_t kMaxLength = 1 << 30;

int Sat(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -kMaxLength, kMaxLength));
}

bool IsVisibleChar(const CTextItem& item, bool showDeleted)
{
    return (item.IsChar() || item.GetNodeType() == kItemAnchor) && (showDeleted || !item.IsDeleted());
}

} // namespace

// Where a line starts and how wide it may be.
struct CDocBody::LineBox {
    int x = 0;
    int width = 0;
};

// What a probe measurement replaced, put back when the paragraph proves to be in place.
struct CDocBody::ProbeSave {
    int from = 0;
    struct Item {
        int width, height, ascent;
        bool breakBefore;
        CFormatPool::Handle format;
    };
    std::vector<Item> items;
};

int CDocBody::LineGap(int spacing)
{
    return kLineSpacingGap[std::clamp(spacing, 0, static_cast<int>(kSpacingMax))];
}

CDocBody::LineBox CDocBody::ComputeLineBox(const plat::Rect& region, const plat::Rect& frame, const CParaFormat& para,
                                           int paraState) const
{
    // The left indent applies only at the frame's left edge and the right indent only at its
    // right edge; the first-line indent wherever a paragraph begins.
    const std::int64_t frameWidth = std::int64_t(frame.right) - frame.left;
    const std::int64_t regionWidth = std::int64_t(region.right) - region.left;
    const std::int64_t indent = paraState != 0 ? para.m_firstIndent : para.m_leftIndent;
    LineBox box;
    if (regionWidth == frameWidth) {
        box.x = Sat(region.left + indent);
        box.width = Sat(std::int64_t(frame.right) - para.m_rightIndent - frame.left - indent);
    } else if (region.left == frame.left) {
        box.x = Sat(region.left + indent);
        box.width = Sat(regionWidth - indent);
    } else {
        const std::int64_t first = paraState != 0 ? para.m_firstIndent : 0;
        box.x = Sat(region.left + first);
        box.width = Sat(regionWidth - first - (region.right == frame.right ? para.m_rightIndent : 0));
    }
    // Indents that leave a line less room than a region must have (from the ruler's far
    // end, the automation or a file) would push the text past the page's edge: such a
    // line takes the whole region instead.
    if (box.width < kMinRegionWidth) {
        box.x = region.left;
        box.width = Sat(regionWidth);
    }
    return box;
}

CParaFormat CDocBody::GetParaFormatAt(int index)
{
    const int count = GetCount();
    if (m_layout && m_defaultTailFrom >= 0 && index >= m_defaultTailFrom) return CParaFormat();
    auto endFrom = [&](int from) -> int {
        for (int j = std::max(from, 0); j < count; ++j)
            if (IsParaEndType(ItemAt(j)->GetNodeType())) return j;
        return count;
    };
    // A paragraph that fills many regions is asked for at the top of each: within a layout
    // its end is looked for once.
    int at;
    if (m_layout && m_paraEndAt >= 0 && index >= m_paraEndFrom && index <= m_paraEndAt) {
        at = m_paraEndAt;
    } else {
        at = endFrom(index);
        if (m_layout) {
            m_paraEndFrom = index;
            m_paraEndAt = at;
        }
    }
    if (at >= count) return CParaFormat();
    auto* end = dynamic_cast<CParaEndItem*>(ItemAt(at));
    if (!end) return CParaFormat();
    if (end->GetParaFormat().m_align != 0) return end->GetParaFormat();

    // A paragraph without an alignment takes the whole format of the next paragraph that
    // has one (the default past the last) and keeps it. A loop, not recursion: a long run
    // of such paragraphs must not use up the stack.
    std::vector<CParaEndItem*> chain{end};
    CParaFormat format;
    bool found = false;
    for (at = endFrom(at + 1); at < count; at = endFrom(at + 1)) {
        auto* next = dynamic_cast<CParaEndItem*>(ItemAt(at));
        if (!next) break;
        if (next->GetParaFormat().m_align != 0) {
            format = next->GetParaFormat();
            found = true;
            break;
        }
        chain.push_back(next);
    }
    for (CParaEndItem* e : chain) e->SetParaFormat(format);
    // Every paragraph from here to the end resolves to the default: remembered for the rest
    // of this layout, so that such a tail is walked once rather than once a paragraph.
    if (!found && m_layout) m_defaultTailFrom = std::max(index, 0);
    return format;
}

int CDocBody::ParagraphEndAfter(int index) const
{
    const int count = GetCount();
    for (int j = std::max(index, 0); j < count; ++j)
        if (IsParaEndType(ItemAt(j)->GetNodeType())) return j + 1;
    return count;
}

int CDocBody::ExtendToBoundary(int index) const
{
    // Empty paragraphs and hidden text after a range take their paragraph ends' formats
    // from the range's last visible character, so they belong to the range.
    const bool shown = RevisionsShown();
    const int count = GetCount();
    while (index < count) {
        const CTextItem* item = ItemAt(index);
        if (!IsParaEndType(item->GetNodeType()) && (shown || !item->IsDeleted())) break;
        ++index;
    }
    return index;
}

void CDocBody::MeasureRange(CLineLayout& layout, int from, int to)
{
    from = std::clamp(from, 0, GetCount());
    to = std::clamp(to, from, GetCount());
    if (from >= to) return;
    // Paragraph ends carry the format of the last visible character before them, which may
    // lie before the range: measuring starts there, and what lies before the range keeps
    // the metrics it was placed with.
    const bool shown = RevisionsShown();
    int seed = from;
    if (!IsVisibleChar(*ItemAt(from), shown)) {
        seed = from - 1;
        while (seed > 0 && !IsVisibleChar(*ItemAt(seed), shown)) --seed;
        seed = std::max(seed, 0);
    }
    ProbeSave before;
    SaveMetrics(before, seed, from);
    layout.MeasureItems(seed, to);
    RestoreMetrics(before);
    layout.MarkBreaks(from, to);
}

void CDocBody::SaveMetrics(ProbeSave& save, int from, int to) const
{
    save.from = from;
    save.items.clear();
    for (int i = from; i < to; ++i) {
        const CTextItem* item = ItemAt(i);
        save.items.push_back({item->GetWidth(), item->GetHeight(), item->GetAscent(), item->GetBreakBefore(),
                              item->FormatHandle()});
    }
}

void CDocBody::RestoreMetrics(const ProbeSave& save)
{
    for (size_t k = 0; k < save.items.size(); ++k) {
        CTextItem* item = GetItem(save.from + static_cast<int>(k));
        if (!item) break;
        const ProbeSave::Item& s = save.items[k];
        if (item->FormatHandle() != s.format) item->SetFormatHandle(s.format);
        item->SetMetrics(s.width, s.height, s.ascent);
        item->SetBreakBefore(s.breakBefore);
    }
}

void CDocBody::PrepareParagraph(int start)
{
    // Only a partial layout measures as it goes.
    if (!m_layout || m_layoutAll) return;
    // Past everything measured so far the paragraph is as it was: its lines are stacked
    // again, as long as each can be.
    if (start >= m_measuredEnd) {
        m_restackFrom = start;
        return;
    }
    MeasureParagraph(start);
}

void CDocBody::MeasureRestacked(int lineStart)
{
    const int start = m_restackFrom;
    m_restackFrom = -1;
    if (lineStart <= start) {
        MeasureParagraph(start);
        return;
    }
    // The first line was placed: it can no longer find the paragraph in place.
    ProbeSave placed;
    SaveMetrics(placed, start, lineStart);
    MeasureParagraph(start);
    m_probeAt = -1;
    RestoreMetrics(placed);
}

int CDocBody::PlacedLineEnd(int from, int& kind) const
{
    const int count = GetCount();
    const CTextItem* first = ItemAt(from);
    const int top = first->GetLineTop();
    const int height = first->GetLineHeight();
    if (!first->GetJoinedLine() || height <= 0) return -1;
    // Hidden items are skipped by the line layout, and a hidden paragraph end does not end
    // a line: such a line is measured.
    const bool shown = RevisionsShown();
    CFormatPool::Handle seen = first->FormatHandle();
    bool seenDeleted = !shown && first->IsDeleted();
    for (int j = from; j < count; ++j) {
        const CTextItem* item = ItemAt(j);
        if (item->GetLineTop() != top || item->GetLineHeight() != height) {
            kind = kBreakWord;
            return j;
        }
        if (!shown && item->FormatHandle() != seen) {
            seen = item->FormatHandle();
            seenDeleted = item->IsDeleted();
        }
        if (seenDeleted) return -1;
        const std::uint16_t type = item->GetNodeType();
        if (IsParaEndType(type)) {
            kind = BreakKindOfEnd(type);
            return j + 1;
        }
    }
    return -1;
}

void CDocBody::MeasureParagraph(int start)
{
    const int paraEnd = ParagraphEndAfter(start);
    if (paraEnd <= m_measuredEnd) return;
    const int to = ExtendToBoundary(paraEnd);
    if (start >= m_measuredEnd) {
        // The first line of this paragraph may find the rest in place: keep what the
        // measurement replaces.
        m_probeAt = start;
        SaveMetrics(*m_probe, m_measuredEnd, to);
    }
    MeasureRange(*m_layout, m_measuredEnd, to);
    m_measuredEnd = to;
}

// Fills one region line by line: runs are measured and joined into the current line
// until one no longer fits, and each full line is placed. position and paraState are the
// caller's and move on as the lines are placed.
class CDocBody::RegionFiller {
public:
    RegionFiller(CDocBody& body, CLineLayout& layout, int all, int& position, int& paraState,
                 const CPageRegion& region, const plat::Rect& frame);
    // True when no more layout is needed; false when the next region must go on.
    bool Run();

private:
    // What taking one run leaves to do.
    enum class Step { kGoOn, kDone, kNextRegion };

    Step TakeTallRun(const CRunMeasure& run, int next);
    Step TakeWideRun(const CRunMeasure& run, int next, bool frameWide);
    Step TakeRun(const CRunMeasure& run, int next);

    // Places the items from the line start to `to` as one line measured as `measure`,
    // ended as `kind`. True when a partial layout found the rest already in place.
    bool PlaceLine(int to, const CRunMeasure& measure, int kind);
    // The next line continues the paragraph.
    void WrapLine(int height);
    // The next line begins the paragraph at the position, after a paragraph end of the
    // given kind.
    void BeginParagraph(int kind, int height);
    // After a line of the given kind was placed.
    Step AfterLine(int kind, int height);
    // After a run placed alone that finishes its region even when room is left below.
    Step FinishRegion(int kind, int height);
    // The format and line gap of the paragraph at the position.
    void TakeParagraphFormat();
    // An empty line from the position, with the room the paragraph state leaves.
    void StartLine();
    // The next line of a paragraph being re-stacked, taken as the last layout placed it;
    // nothing when it cannot be, and the paragraph has been measured instead.
    std::optional<Step> RestackLine();

    CDocBody& m_body;
    CLineLayout& m_layout;
    const bool m_all;
    int& m_position;            // the next item to lay out
    int& m_paraState;           // 0 inside a paragraph, else how the current one began
    const plat::Rect m_rect;    // the region
    const plat::Rect& m_frame;
    const std::int64_t m_frameWidth;
    const std::int64_t m_frameHeight;
    const bool m_fullWidth;     // the region is as wide as the frame
    const bool m_overflow;      // the overflow frame: no region after it ends it early
    const int m_count;

    CParaFormat m_para;         // the current paragraph's format
    int m_gap = 0;              // and its gap between lines
    LineBox m_box;              // where the current line starts and how wide it may be
    std::int64_t m_y = 0;       // top of the current line
    int m_lineStart = 0;        // its first item
    CRunMeasure m_line;         // the runs it holds so far
    bool m_pending = false;     // it holds any
    bool m_joined = true;       // it was joined from runs that each fitted
};

// The members are steps of one loop and are defined inline: in position-independent code a
// member that is not inline is never inlined into its caller, and the line's state would
// then live in memory rather than in registers.

inline CDocBody::RegionFiller::RegionFiller(CDocBody& body, CLineLayout& layout, int all, int& position,
                                            int& paraState, const CPageRegion& region, const plat::Rect& frame)
    : m_body(body),
      m_layout(layout),
      m_all(all != 0),
      m_position(position),
      m_paraState(paraState),
      m_rect(region.m_rect),
      m_frame(frame),
      m_frameWidth(std::int64_t(frame.right) - frame.left),
      m_frameHeight(std::int64_t(frame.bottom) - frame.top),
      m_fullWidth(std::int64_t(region.m_rect.right) - region.m_rect.left == m_frameWidth),
      m_overflow(region.m_page == kOverflowFrame),
      m_count(body.GetCount())
{
}

inline bool CDocBody::RegionFiller::Run()
{
    m_body.m_pageBreakPlaced = false;
    if (m_position >= m_count) return true;

    if (m_paraState != 0) m_body.PrepareParagraph(m_position);
    TakeParagraphFormat();
    m_y = std::int64_t(m_rect.top) + m_gap / 2;
    StartLine();

    while (m_position < m_count) {
        if (m_body.m_restackFrom >= 0 && !m_pending) {
            if (const std::optional<Step> step = RestackLine()) {
                if (*step != Step::kGoOn) return *step == Step::kDone;
                continue;
            }
        }
        CRunMeasure run;
        const int next = m_layout.MeasureRun(m_position, run);
        if (next <= m_position) return true;
        Step step;
        const bool frameWide = run.width >= m_frameWidth;
        if (std::int64_t(run.height) + m_gap >= m_frameHeight) step = TakeTallRun(run, next);
        else if (frameWide || (m_fullWidth && run.width > m_box.width)) step = TakeWideRun(run, next, frameWide);
        else step = TakeRun(run, next);
        if (step != Step::kGoOn) return step == Step::kDone;
    }
    return true;
}

// A run taller than a frame: alone on a line at the top of a region at least as high as a
// frame, where it finishes the region.
inline CDocBody::RegionFiller::Step CDocBody::RegionFiller::TakeTallRun(const CRunMeasure& run, int next)
{
    if (m_pending) {
        if (PlaceLine(m_position, m_line, kBreakWord)) return Step::kDone;
        if (m_overflow) {
            WrapLine(m_line.height);
            return Step::kGoOn;
        }
        m_paraState = 0;
        return Step::kNextRegion;
    }
    if (!m_overflow && std::int64_t(m_rect.bottom) - (m_y - m_gap / 2) < m_frameHeight) return Step::kNextRegion;
    m_joined = false;
    if (PlaceLine(next, run, run.kind)) return Step::kDone;
    m_position = next;
    return FinishRegion(run.kind, run.height);
}

// A run wider than the frame, or wider than the line in a region as wide as the frame (no
// wider region follows), is split where the line is full.
inline CDocBody::RegionFiller::Step CDocBody::RegionFiller::TakeWideRun(const CRunMeasure& run, int next,
                                                                       bool frameWide)
{
    if (m_pending) {
        if (PlaceLine(m_position, m_line, kBreakWord)) return Step::kDone;
        WrapLine(m_line.height);
        return Step::kGoOn;
    }
    if (!m_fullWidth) return Step::kNextRegion; // a wider region follows
    if (m_y + run.height + m_gap / 2 > m_rect.bottom) return Step::kNextRegion;
    m_joined = false;
    if (run.nonSpaces + run.spaces > 2) {
        m_position = m_layout.FillLine(m_position, m_line, m_box.width);
        m_pending = true;
        if (m_line.kind == kBreakWord) return Step::kGoOn;
        if (PlaceLine(m_position, m_line, m_line.kind)) return Step::kDone;
        return AfterLine(m_line.kind, m_line.height);
    }
    // One or two items: a line of their own.
    if (PlaceLine(next, run, run.kind)) return Step::kDone;
    m_position = next;
    return frameWide ? FinishRegion(run.kind, run.height) : AfterLine(run.kind, run.height);
}

// Any other run joins the line when it fits there.
inline CDocBody::RegionFiller::Step CDocBody::RegionFiller::TakeRun(const CRunMeasure& run, int next)
{
    const std::int64_t lineWidth = m_pending ? m_line.width : 0;
    if (lineWidth + run.width > m_box.width) {
        // Wider than what is left of this narrow region: the line goes on in the next.
        if (run.width > m_box.width) {
            m_position = m_lineStart;
            return Step::kNextRegion;
        }
        if (PlaceLine(m_position, m_line, kBreakWord)) return Step::kDone;
        WrapLine(m_line.height);
        return Step::kGoOn; // the same run on the new line
    }

    CRunMeasure joined = run;
    if (m_pending) {
        joined = m_line;
        joined.Append(run);
    }
    // The line with this run must fit above the region's bottom; otherwise the whole line
    // goes to the next region.
    if (m_y + joined.height + m_gap / 2 > m_rect.bottom) {
        m_position = m_lineStart;
        return Step::kNextRegion;
    }
    m_line = joined;
    m_pending = true;
    m_position = next;
    if (run.kind == kBreakWord) return Step::kGoOn;
    if (PlaceLine(m_position, m_line, run.kind)) return Step::kDone;
    return AfterLine(run.kind, m_line.height);
}

inline bool CDocBody::RegionFiller::PlaceLine(int to, const CRunMeasure& measure, int kind)
{
    // A line wider than the room its indents leave (a character larger than that room)
    // moves left until it ends at the region's edge, so that it stays on the page.
    std::int64_t x = m_box.x;
    std::int64_t width = m_box.width;
    if (measure.width > width) {
        x = std::max<std::int64_t>(m_rect.left, std::min<std::int64_t>(x, std::int64_t(m_rect.right) - measure.width));
        width = std::int64_t(m_rect.right) - x;
    }
    const int from = m_lineStart;
    CLinePlacement p;
    p.all = m_all;
    // Only the first line of a paragraph measured for this purpose may stop the layout.
    p.reflowEnd = from == m_body.m_probeAt ? from : kMaxLength;
    p.from = from;
    p.to = to;
    p.line = measure;
    p.line.kind = kind;
    p.paraStart = m_paraState != 0;
    p.x = Sat(x);
    p.lineTop = Sat(m_y);
    p.alignment = m_para.m_align;
    p.available = Sat(width);
    if (m_layout.PlaceLine(p) == 1) {
        m_body.RestoreMetrics(*m_body.m_probe);
        m_body.m_probeAt = -1;
        return true;
    }
    if (from == m_body.m_probeAt) m_body.m_probeAt = -1;
    if (m_overflow) m_body.m_overflowPlaced = true;
    if (CTextItem* item = m_body.GetItem(from)) item->SetJoinedLine(m_joined && m_fullWidth && !m_overflow);
    return false;
}

inline void CDocBody::RegionFiller::WrapLine(int height)
{
    m_paraState = 0;
    m_y += std::int64_t(height) + m_gap;
    StartLine();
}

inline void CDocBody::RegionFiller::BeginParagraph(int kind, int height)
{
    const int oldGap = m_gap;
    m_paraState = kind;
    m_body.PrepareParagraph(m_position);
    TakeParagraphFormat();
    m_y += std::int64_t(height) + oldGap / 2 + m_gap / 2;
    StartLine();
}

inline CDocBody::RegionFiller::Step CDocBody::RegionFiller::AfterLine(int kind, int height)
{
    if (kind == kBreakFinal) return Step::kDone;
    if (kind == kBreakWord) {
        WrapLine(height);
        return Step::kGoOn;
    }
    if (kind == kBreakPage && !m_overflow) {
        // The rest of the page stays empty; the caller goes to the next page.
        m_paraState = kind;
        m_body.m_pageBreakPlaced = true;
        return Step::kNextRegion;
    }
    BeginParagraph(kind, height);
    return Step::kGoOn;
}

inline CDocBody::RegionFiller::Step CDocBody::RegionFiller::FinishRegion(int kind, int height)
{
    if (kind == kBreakFinal) return Step::kDone;
    if (!m_overflow) {
        m_paraState = kind == kBreakWord ? 0 : kind;
        m_body.m_pageBreakPlaced = kind == kBreakPage;
        return Step::kNextRegion;
    }
    return AfterLine(kind, height);
}

inline void CDocBody::RegionFiller::TakeParagraphFormat()
{
    m_para = m_body.GetParaFormatAt(m_position);
    m_gap = LineGap(m_para.m_spacing);
}

inline void CDocBody::RegionFiller::StartLine()
{
    m_box = m_body.ComputeLineBox(m_rect, m_frame, m_para, m_paraState);
    m_lineStart = m_position;
    m_line = CRunMeasure();
    m_pending = false;
    m_joined = true;
}

// The line takes the region exactly as a measured one would: joined from runs that each
// fitted, it goes to the next region when its height does not fit and otherwise ends
// as it did.
inline std::optional<CDocBody::RegionFiller::Step> CDocBody::RegionFiller::RestackLine()
{
    int kind = kBreakWord;
    const int to = m_fullWidth && !m_overflow ? m_body.PlacedLineEnd(m_lineStart, kind) : -1;
    if (to < 0) {
        m_body.MeasureRestacked(m_lineStart);
        return std::nullopt;
    }
    const CTextItem* first = m_body.ItemAt(m_lineStart);
    const int height = first->GetLineHeight();
    if (m_y + height + m_gap / 2 > m_rect.bottom) return Step::kNextRegion;
    const int dy = static_cast<int>(std::int64_t(Sat(m_y)) - first->GetLineTop());
    // The first line of a paragraph where it already is: so is everything after it.
    if (dy == 0 && m_paraState != 0) return Step::kDone;
    if (dy != 0)
        for (int j = m_lineStart; j < to; ++j) m_body.ItemAt(j)->MoveDown(dy);
    m_position = to;
    if (kind != kBreakWord) {
        m_body.m_restackFrom = -1;
        m_body.m_measuredEnd = to;
    }
    return AfterLine(kind, height);
}

bool CDocBody::FillRegion(int all, int end, int& position, int& paraState, const CPageRegion& region,
                          const plat::Rect& frame)
{
    (void)end; // the measured range is kept by the relayout itself
    std::optional<CLineLayout> own;
    std::optional<ProbeSave> ownProbe;
    if (!m_layout) {
        // Called on its own: every item is taken as measured.
        own.emplace(*this);
        ownProbe.emplace();
        m_probe = &*ownProbe;
        m_probeAt = -1;
        m_layoutAll = true;
    }
    CLineLayout& layout = m_layout ? *m_layout : *own;
    const bool result = Fill(layout, all, position, paraState, region, frame);
    if (own) {
        m_probe = nullptr;
        m_layoutAll = false;
    }
    return result;
}

bool CDocBody::Fill(CLineLayout& layout, int all, int& position, int& paraState, const CPageRegion& region,
                    const plat::Rect& frame)
{
    return RegionFiller(*this, layout, all, position, paraState, region, frame).Run();
}

bool CDocBody::FindStartRegion(int start, CPageRegion& working)
{
    const CTextItem* item = GetItem(start);
    if (!item) return false;
    const std::int64_t x = item->GetLeft();
    const std::int64_t y = item->GetTop();
    const std::int64_t lineTop = item->GetLineTop();
    const std::int64_t lineBottom = lineTop + item->GetLineHeight();
    auto holdsPoint = [&](const plat::Rect& r) {
        return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
    };
    // Leaves the region cursor on the region found, where the layout goes on.
    auto scan = [&](auto accept) -> CPageRegion* {
        for (CPageRegion* r = GetFirstRegion(); r; r = GetNextRegion())
            if (accept(r->m_rect)) return r;
        return nullptr;
    };
    // The region that holds the item's whole line (a region above it may share the edge
    // the item stands on); where the line was placed anyway, too tall for any region, the
    // first that holds the item's corner.
    CPageRegion* found = scan([&](const plat::Rect& r) {
        return holdsPoint(r) && lineTop >= r.top && lineBottom <= r.bottom;
    });
    if (!found) found = scan(holdsPoint);
    if (!found) return false;
    working = *found;
    working.m_rect.top = Sat(lineTop - LineGap(GetParaFormatAt(start).m_spacing) / 2);
    return true;
}

void CDocBody::ShowOverflow() const
{
    plat::MessageBox(u"内容溢出!");
}

void CDocBody::Relayout(int all, int retry)
{
    const std::optional<MovedRange> moved = std::exchange(m_movedRange, std::nullopt);
    if (m_layoutDeferred > 0) return;
    const int count = GetCount();
    if (count == 0) return;
    CLineLayout layout(*this);

    int start = 0;
    int end = count;
    if (moved) {
        // After anchored objects moved (RelayoutAfterMoves).
        start = std::clamp(moved->start, 0, count);
        end = std::clamp(moved->end, start, count);
    } else if (!all) {
        // From two paragraphs before the selection to the paragraph after it.
        const int lo = std::min(m_caret.m_index, m_anchor.m_index);
        const int hi = std::max(m_caret.m_index, m_anchor.m_index);
        start = GetReflowStart(CTextPos(lo, m_name));
        end = ExtendToBoundary(GetReflowEnd(CTextPos(hi, m_name)));
    }

    CPageRegion* first = GetFirstRegion();
    if (!first) {
        // Every page is covered by objects: the text has nowhere to start.
        m_layoutWhole = false;
        ShowOverflow();
        return;
    }
    CPageRegion working = *first;
    if (!all && start > 0 && !FindStartRegion(start, working)) {
        // The paragraph the layout would resume at was never placed in a region (or its
        // region is gone): lay everything out.
        Relayout(1, retry);
        return;
    }

    ProbeSave probe;
    m_layout = &layout;
    m_layoutAll = all != 0;
    m_probe = &probe;
    m_probeAt = -1;
    m_restackFrom = -1;
    m_defaultTailFrom = -1;
    m_paraEndFrom = m_paraEndAt = -1;
    m_overflowPlaced = false;
    MeasureRange(layout, start, end);
    m_measuredEnd = end;

    const plat::Rect frame = m_frames[0].m_rect;
    int position = start;
    int state = 1;
    while (!Fill(layout, all, position, state, working, frame)) {
        CPageRegion* next = GetNextRegion();
        if (m_pageBreakPlaced)
            while (next && next->m_page == working.m_page) next = GetNextRegion();
        if (!next) break;
        working = *next;
    }
    m_layout = nullptr;
    m_probe = nullptr;
    m_probeAt = -1;
    m_restackFrom = -1;
    m_defaultTailFrom = -1;
    m_paraEndFrom = m_paraEndAt = -1;
    // A relayout after moves that stopped early left the lines after it as a whole one
    // would have placed them, the overflow's among them.
    const bool overflowed = m_overflowPlaced || (moved && LastLineInOverflow());
    if (all) m_layoutWhole = true;

    RecalcPageCount();
    UpdateAnchors();
    if (HasObjectToMove() && retry < 3) {
        RelayoutAfterMoves(retry + 1);
        return;
    }
    // Text beyond the last page is never shown: say so rather than lose it silently.
    if (overflowed) ShowOverflow();
}

void CDocBody::RecalcAllObjects()
{
    for (int k = 0; k < m_objects->GetCount(); ++k) m_objects->GetObject(k)->RelayoutContent();
    BuildPageRegions();
    Relayout(1, 0);
}

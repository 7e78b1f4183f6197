#include "document/line_layout.h"

#include <algorithm>

#include "document/char_width_cache.h"
#include "document/doc_context.h"
#include "document/doc_node.h"
#include "document/format_pool.h"
#include "document/named_container.h"
#include "document/text_item.h"

namespace {

// Lengths saturate here: a document of many huge characters cannot overflow a sum.
constexpr std::int64_t kMaxLength = 1 << 30;

int SatAdd(int a, std::int64_t b)
{
    return static_cast<int>(std::clamp<std::int64_t>(a + b, -kMaxLength, kMaxLength));
}

bool IsLetterOrDigit(std::uint16_t t)
{
    return t == kItemWestern || t == kItemDigit;
}

bool IsScript(const CTextItem* item)
{
    return item->GetFormat().m_position != 0;
}

// The class of the item before, by which MarkBreaks tells whether a line may break before
// the next: a break never follows an opening mark, nor splits a word or a number.
enum class BreakClass : std::uint8_t {
    kStart,   // nothing yet, or a paragraph end
    kClosing, // a closing mark or symbol
    kOpening, // an opening mark or currency sign
    kCjk,
    kLetter,
    kNumber,  // a digit, or a decimal point after one
    kSpace,
};

// Adds one taken item to a run.
void Take(CRunMeasure& run, const CTextItem* item)
{
    run.width = SatAdd(run.width, item->GetWidth());
    run.height = std::max(run.height, item->GetHeight());
    run.ascent = std::max(run.ascent, item->GetAscent());
    if (item->GetNodeType() == kItemSpace) ++run.spaces;
    else ++run.nonSpaces;
}

// A paragraph end closes the run: one twip of room for the mark, and its own height.
void TakeEnd(CRunMeasure& run, const CTextItem* item)
{
    run.width = SatAdd(run.width, 1);
    run.height = std::max(run.height, item->GetHeight());
    run.ascent = std::max(run.ascent, item->GetAscent());
    run.kind = BreakKindOfEnd(item->GetNodeType());
}

// A paragraph end carries the format of the last visible character before it, but keeps
// its own revision fields: taking a deleted character's mark would hide the paragraph end
// (and with it the paragraph break) as soon as revisions are hidden.
void TakeFormat(CTextItem* end, const CFormatRef& current)
{
    if (end->FormatHandle() == current.Handle()) return;
    const CCharFormat& own = end->GetFormat();
    const CCharFormat& cur = current.Format();
    if (own.m_insertedBy == cur.m_insertedBy && own.m_deletedBy == cur.m_deletedBy &&
        own.m_annotation == cur.m_annotation) {
        end->SetFormatHandle(current.Handle());
        return;
    }
    CCharFormat f(cur);
    f.m_insertedBy = own.m_insertedBy;
    f.m_deletedBy = own.m_deletedBy;
    f.m_annotation = own.m_annotation;
    end->SetFormat(f);
}

} // namespace

int BreakKindOfEnd(std::uint16_t paraEndType)
{
    return paraEndType == kItemFinalParaEnd ? kBreakFinal : paraEndType == kItemParaEnd ? kBreakPara : kBreakPage;
}

void CRunMeasure::Append(const CRunMeasure& run)
{
    const int asc = std::max(ascent, run.ascent);
    const int below = std::max(height - ascent, run.height - run.ascent);
    height = std::max({height, run.height, asc + below});
    ascent = asc;
    width = SatAdd(width, run.width);
    nonSpaces += run.nonSpaces;
    spaces += run.spaces;
    kind = run.kind;
}

CLineLayout::CLineLayout(CNamedContainer& box) : CLineLayout(box, CCharWidthCache::For(box.GetDoc())) {}

CLineLayout::CLineLayout(CNamedContainer& box, CCharWidthCache& cache)
    : m_box(box),
      m_cache(cache),
      m_showDeleted(box.GetDoc() && box.GetDoc()->IsRevisionsShown()),
      m_hiddenDeleted(m_hiddenFormat.Format().m_deletedBy != 0)
{
}

// Inline: it is asked for every item on every pass.
inline bool CLineLayout::Hidden(const CTextItem* item) const
{
    if (m_showDeleted) return false;
    if (item->FormatHandle() != m_hiddenFormat.Handle()) {
        m_hiddenFormat.Set(item->FormatHandle());
        m_hiddenDeleted = item->IsDeleted();
    }
    return m_hiddenDeleted;
}

bool CLineLayout::IsLeadingSpace(int index) const
{
    for (int j = index; j >= 0; --j) {
        const std::uint16_t t = m_box.GetItem(j)->GetNodeType();
        if (t == kItemSpace || t == kItemAnchor) continue;
        return IsParaBreakType(t);
    }
    return true;
}

void CLineLayout::MeasureItems(int from, int to)
{
    m_last.next = m_last.tailAt = -1; // the items change: no run walked before holds
    from = std::max(from, 0);
    to = std::min(to, m_box.GetCount());
    if (from >= to) return;
    CFormatRef current;
    current.Set(m_box.GetItem(from)->FormatHandle());
    for (int i = from; i < to; ++i) {
        CTextItem* item = m_box.GetItem(i);
        const std::uint16_t t = item->GetNodeType();
        if (Hidden(item)) {
            item->Measure(m_cache);
            item->SetWidth(0);
            continue;
        }
        if (IsParaEndType(t)) {
            TakeFormat(item, current);
        } else if ((item->IsChar() || t == kItemAnchor) && item->FormatHandle() != current.Handle()) {
            current.Set(item->FormatHandle());
        }
        item->Measure(m_cache);
        if (t == kItemSpace) {
            if (IsLeadingSpace(i)) item->SetWidth(m_cache.GetCjkWidth()); // a full-width space
        } else if (t == kItemCjkOpen) {
            // The second of two opening marks gives up half its width.
            for (int j = i - 1; j >= 0; --j) {
                const CTextItem* prev = m_box.GetItem(j);
                if (Hidden(prev)) continue;
                if (prev->GetNodeType() == kItemCjkOpen) item->SetWidth(item->GetWidth() / 2);
                break;
            }
        } else if (t == kItemCjkClose) {
            // The first of two closing marks gives up half its width.
            for (int j = i + 1; j < to; ++j) {
                const CTextItem* next = m_box.GetItem(j);
                if (Hidden(next)) continue;
                if (next->GetNodeType() == kItemCjkClose) item->SetWidth(item->GetWidth() / 2);
                break;
            }
        }
    }
}

void CLineLayout::MarkBreaks(int from, int to)
{
    m_last.next = m_last.tailAt = -1; // the items change: no run walked before holds
    from = std::max(from, 0);
    to = std::min(to, m_box.GetCount());
    BreakClass prev = BreakClass::kStart;
    for (int i = from; i < to; ++i) {
        CTextItem* item = m_box.GetItem(i);
        if (Hidden(item)) continue;
        bool brk = false;
        switch (item->GetNodeType()) {
        case kItemParaPageBreak:
        case kItemFinalParaEnd:
        case kItemParaEnd:
            prev = BreakClass::kStart;
            break;
        case kItemSpace:
            brk = prev == BreakClass::kSpace;
            if (prev != BreakClass::kClosing && prev != BreakClass::kOpening) prev = BreakClass::kSpace;
            break;
        case kItemWestern:
            brk = prev != BreakClass::kOpening && prev != BreakClass::kLetter && !IsScript(item);
            prev = BreakClass::kLetter;
            break;
        case kItemWesternClose:
        case kItemCjkSymbol:
        case kItemCjkClose:
            prev = BreakClass::kClosing;
            break;
        case kItemWesternOpen:
        case kItemCurrency:
        case kItemCjkOpen:
            brk = prev != BreakClass::kOpening;
            prev = BreakClass::kOpening;
            break;
        case kItemDigit:
            brk = prev != BreakClass::kOpening && prev != BreakClass::kNumber && !IsScript(item);
            prev = BreakClass::kNumber;
            break;
        case kItemFullStop:
            // A decimal point belongs to its number.
            prev = prev == BreakClass::kNumber ? BreakClass::kNumber : BreakClass::kClosing;
            break;
        case kItemCjk:
            brk = prev != BreakClass::kOpening && !IsScript(item);
            prev = BreakClass::kCjk;
            break;
        default:
            break;
        }
        item->SetBreakBefore(brk);
    }
}

int CLineLayout::MeasureRun(int from, CRunMeasure& run) const
{
    if (LastRunTail(from, run)) return m_last.next;
    run = CRunMeasure();
    bool first = true;
    int lastBreak = -1;
    const int n = m_box.GetCount();
    const int start = std::max(from, 0);
    auto remember = [&](int next) {
        m_last.from = start;
        m_last.next = next;
        m_last.kind = run.kind;
        m_last.count = n;
        m_last.lastBreak = lastBreak;
        m_last.keptFrom = start;
        m_last.tailAt = -1;
        m_last.maximaFrom = -1;
        return next;
    };
    for (int i = start; i < n; ++i) {
        const CTextItem* item = m_box.GetItem(i);
        if (Hidden(item)) continue;
        if (IsParaEndType(item->GetNodeType())) {
            TakeEnd(run, item);
            return remember(i + 1);
        }
        if (item->GetBreakBefore()) {
            if (!first) {
                run.kind = kBreakWord;
                return remember(i);
            }
            first = false;
            lastBreak = i;
        }
        Take(run, item);
    }
    run.kind = kBreakFinal;
    return remember(n);
}

bool CLineLayout::LastRunTail(int from, CRunMeasure& run) const
{
    LastRun& last = m_last;
    // The tail from `from` is a run of its own only when a break stands before its first
    // item and none after it: FillLine marked it, and nothing from it on changed.
    if (from <= last.from || from >= last.next || from < last.keptFrom || from <= last.lastBreak ||
        last.count != m_box.GetCount())
        return false;
    const CTextItem* item = m_box.GetItem(from);
    if (Hidden(item) || !item->GetBreakBefore()) return false;
    if (last.tailAt < 0 || from < last.tailAt) WalkTail(from);
    else ShortenTail(from);

    run = CRunMeasure();
    // Widths are never negative: the sum saturates where the sum from the run's start does.
    run.width = static_cast<int>(std::min<std::int64_t>(last.width, kMaxLength));
    run.kind = last.kind;
    run.nonSpaces = last.nonSpaces;
    run.spaces = last.spaces;
    if (from <= last.heightAt && from <= last.ascentAt) {
        run.height = last.height;
        run.ascent = last.ascent;
        return true;
    }
    // Past the tallest item: the maxima of every tail, once for the run.
    if (last.maximaFrom < 0 || from < last.maximaFrom) {
        last.maximaFrom = from;
        last.maxima.assign(static_cast<std::size_t>(last.next - from), {0, 0});
        std::pair<int, int> m{0, 0};
        for (int i = last.next - 1; i >= from; --i) {
            const CTextItem* at = m_box.GetItem(i);
            if (!Hidden(at)) m = {std::max(m.first, at->GetHeight()), std::max(m.second, at->GetAscent())};
            last.maxima[static_cast<std::size_t>(i - from)] = m;
        }
    }
    const std::pair<int, int>& m = last.maxima[static_cast<std::size_t>(from - last.maximaFrom)];
    run.height = m.first;
    run.ascent = m.second;
    return true;
}

void CLineLayout::WalkTail(int from) const
{
    LastRun& last = m_last;
    last.tailAt = from;
    last.width = 0;
    last.nonSpaces = last.spaces = last.height = last.ascent = 0;
    last.heightAt = last.ascentAt = from;
    for (int i = from; i < last.next; ++i) {
        const CTextItem* item = m_box.GetItem(i);
        if (Hidden(item)) continue;
        if (IsParaEndType(item->GetNodeType())) {
            last.width += 1; // as TakeEnd counts it
        } else {
            last.width += item->GetWidth();
            if (item->GetNodeType() == kItemSpace) ++last.spaces;
            else ++last.nonSpaces;
        }
        if (item->GetHeight() >= last.height) {
            last.height = item->GetHeight();
            last.heightAt = i;
        }
        if (item->GetAscent() >= last.ascent) {
            last.ascent = item->GetAscent();
            last.ascentAt = i;
        }
    }
}

void CLineLayout::ShortenTail(int to) const
{
    LastRun& last = m_last;
    // The paragraph end closing a run is its last item: never before `to`.
    for (int i = last.tailAt; i < to; ++i) {
        const CTextItem* item = m_box.GetItem(i);
        if (Hidden(item)) continue;
        last.width -= item->GetWidth();
        if (item->GetNodeType() == kItemSpace) --last.spaces;
        else --last.nonSpaces;
    }
    last.tailAt = to;
}

void CLineLayout::KeepTailsFrom(int index)
{
    LastRun& last = m_last;
    if (index <= last.from) return;
    last.keptFrom = std::max(last.keptFrom, index);
    // The measured tail loses what is about to change while those items are as walked.
    if (last.tailAt < 0 || last.tailAt >= last.keptFrom) return;
    if (last.keptFrom < last.next) ShortenTail(last.keptFrom);
    else last.tailAt = -1;
}

int CLineLayout::FillLine(int from, CRunMeasure& line, int maxWidth)
{
    line = CRunMeasure();
    const int n = m_box.GetCount();
    if (from < 0 || from >= n) return std::max(from, 0);
    const CTextItem* first = m_box.GetItem(from);
    if (IsParaEndType(first->GetNodeType())) {
        TakeEnd(line, first);
        return from + 1;
    }
    Take(line, first);
    for (int i = from + 1; i < n; ++i) {
        CTextItem* item = m_box.GetItem(i);
        if (Hidden(item)) continue;
        if (IsParaEndType(item->GetNodeType())) {
            // The whole rest of the paragraph fitted: the line must not run on into the
            // next paragraph.
            TakeEnd(line, item);
            return i + 1;
        }
        if (static_cast<std::int64_t>(line.width) + item->GetWidth() >= maxWidth) {
            item->SetBreakBefore(true);
            KeepTailsFrom(i);
            line.kind = kBreakWord;
            return i;
        }
        Take(line, item);
    }
    line.kind = kBreakFinal;
    return n;
}

// One line being placed. Sums are in 64 bits: the lengths come from the document and the
// caller.
class CLineLayout::LinePlacer {
public:
    LinePlacer(const CLineLayout& layout, const CLinePlacement& p);
    // A partial layout that reached a paragraph whose first line already stands here.
    bool AlreadyInPlace() const;
    // Takes what is never stretched out of the line width and the room to fill.
    void SetAsideUnstretched();
    // Spaces that a wrap left at the start of a continuation line take no room.
    void DropWrappedSpaces();
    // Places each item with the line's baseline and gives it its drawn width.
    void PositionItems();

private:
    // How far the line moves for slack the alignment spreads to its left.
    std::int64_t AlignShift(std::int64_t slack) const
    {
        if (m_align == kAlignRight) return slack;
        if (m_align == kAlignCentre) return slack / 2;
        return 0;
    }
    bool Hidden(const CTextItem* item) const { return m_layout.Hidden(item); }
    CTextItem* Item(int index) const { return m_layout.m_box.GetItem(index); }

    const CLineLayout& m_layout;
    const CLinePlacement& m_p;
    const int m_from;
    const int m_to;
    int m_align;
    std::int64_t m_x;          // where the next item goes
    std::int64_t m_lineWidth;  // width of the stretchable items not yet placed
    std::int64_t m_avail;      // the room they fill
};

// Inline, as the steps of the page body's region filler are: in position-independent code
// the steps would otherwise stay calls, with the line's state in memory.

inline CLineLayout::LinePlacer::LinePlacer(const CLineLayout& layout, const CLinePlacement& p)
    : m_layout(layout),
      m_p(p),
      m_from(std::max(p.from, 0)),
      m_to(std::min(p.to, layout.m_box.GetCount())),
      m_align(p.alignment),
      m_x(p.x),
      m_lineWidth(p.line.width),
      m_avail(p.available)
{
    if (m_align < kAlignRight || m_align > kAlignJustify) m_align = kAlignLeft;
    // The last line of a justified paragraph is set flush left.
    if (m_align == kAlignJustify && p.line.kind != kBreakWord) m_align = kAlignLeft;
    m_x += AlignShift(m_avail - m_lineWidth);
}

inline bool CLineLayout::LinePlacer::AlreadyInPlace() const
{
    if (m_p.all || !m_p.paraStart || m_from < m_p.reflowEnd || m_from >= m_to) return false;
    const CTextItem* item = Item(m_from);
    return !Hidden(item) && item->GetLeft() == m_x && item->GetLineTop() == m_p.lineTop;
}

inline void CLineLayout::LinePlacer::SetAsideUnstretched()
{
    if (m_align == kAlignLeft || m_p.line.nonSpaces + m_p.line.spaces <= 1) return;
    // Western words and numbers are never stretched: their width leaves both the line
    // width and the room to fill.
    std::int64_t letters = 0;
    for (int j = m_from; j < m_to; ++j) {
        const CTextItem* item = Item(j);
        if (!Hidden(item) && IsLetterOrDigit(item->GetNodeType())) letters += item->GetWidth();
    }
    if (m_p.line.nonSpaces == 0) {
        const int last = m_to > m_from ? Item(m_to - 1)->GetWidth() : 0;
        m_lineWidth -= last;
        m_avail -= last;
    } else {
        // Trailing spaces vanish; the last word or character is not stretched.
        bool seenLetter = false;
        for (int j = m_to - 1; j > m_from; --j) {
            CTextItem* item = Item(j);
            const std::uint16_t t = item->GetNodeType();
            if (IsParaEndType(t) || Hidden(item)) continue;
            const int w = item->GetWidth();
            if (t == kItemSpace) {
                if (seenLetter) break;
                m_lineWidth -= w;
                item->SetWidth(0);
                m_x += AlignShift(w);
                continue;
            }
            if (IsLetterOrDigit(t)) {
                m_lineWidth -= w;
                m_avail -= w;
                letters -= w;
                seenLetter = true;
                continue;
            }
            if (!seenLetter) {
                m_lineWidth -= w;
                m_avail -= w;
            }
            break;
        }
    }
    m_lineWidth -= letters;
    m_avail -= letters;
}

inline void CLineLayout::LinePlacer::DropWrappedSpaces()
{
    if (m_p.line.nonSpaces < 1 || m_p.paraStart || (m_align != kAlignJustify && m_align != kAlignLeft)) return;
    for (int j = m_from; j < m_to; ++j) {
        CTextItem* item = Item(j);
        if (Hidden(item)) continue;
        if (item->GetNodeType() != kItemSpace) break;
        m_lineWidth -= item->GetWidth();
        item->SetWidth(0);
    }
}

inline void CLineLayout::LinePlacer::PositionItems()
{
    const bool justify = m_align == kAlignJustify;
    const int lineTop = m_p.lineTop;
    for (int j = m_from; j < m_to; ++j) {
        CTextItem* item = Item(j);
        const std::uint16_t t = item->GetNodeType();
        // One baseline for the line; an item taller than the line (a hidden one) stays
        // inside its line box.
        const int top = std::max(lineTop, SatAdd(lineTop, m_p.line.ascent - item->GetAscent()));
        item->Place(static_cast<int>(std::clamp<std::int64_t>(m_x, -kMaxLength, kMaxLength)), top, lineTop,
                    m_p.line.height);
        const int w = item->GetWidth();
        if (IsParaEndType(t) || Hidden(item)) {
            item->SetDrawnWidth(w);
            continue;
        }
        if (IsLetterOrDigit(t)) {
            item->SetDrawnWidth(w);
            m_x += w;
            continue;
        }
        // The slack is spread over what remains, so rounding is absorbed by the items
        // that follow.
        // width x (avail / lineWidth), truncated; in integers, so that the last item
        // takes exactly what is left.
        std::int64_t stretched = w;
        if (justify && m_avail > 0 && m_lineWidth > 0) stretched = w * m_avail / m_lineWidth;
        const int drawn = static_cast<int>(std::clamp<std::int64_t>(stretched, 0, 0xFFFF));
        item->SetDrawnWidth(drawn);
        m_x += drawn;
        m_lineWidth -= w;
        m_avail -= drawn;
    }
}

int CLineLayout::PlaceLine(const CLinePlacement& p)
{
    // Placing takes width from spaces of the line.
    KeepTailsFrom(p.to);
    LinePlacer line(*this, p);
    if (line.AlreadyInPlace()) return 1;
    line.SetAsideUnstretched();
    line.DropWrappedSpaces();
    line.PositionItems();
    return 0;
}

CColumnLayout CLineLayout::LayOutColumn(int from, int to, int width, int alignment, int spacing)
{
    CColumnLayout out;
    MeasureItems(from, to);
    MarkBreaks(from, to);
    out.gap = kLineSpacingGap[std::clamp(spacing, 0, static_cast<int>(kSpacingMax))] * 210 / 100;
    if (width <= 0) return out;

    const int n = m_box.GetCount();
    int lineTop = out.gap / 2;
    bool paraStart = true;
    CRunMeasure line;
    int lineStart = 0;
    bool pending = false;

    auto place = [&](int end, int kind) {
        CLinePlacement p;
        p.all = true;
        p.from = lineStart;
        p.to = end;
        p.line = line;
        p.line.kind = kind;
        p.paraStart = paraStart;
        p.x = 0;
        p.lineTop = lineTop;
        p.alignment = alignment;
        p.available = width;
        PlaceLine(p);
        pending = false;
    };
    // A line ended by a wrap.
    auto wrap = [&](int end) {
        place(end, kBreakWord);
        ++out.lineBreaks;
        paraStart = false;
        lineTop = SatAdd(lineTop, static_cast<std::int64_t>(line.height) + out.gap);
    };
    // The last line of a paragraph.
    auto endParagraph = [&](int end, int kind) {
        place(end, kind);
        if (kind == kBreakFinal) {
            out.contentHeight = SatAdd(lineTop, line.height);
        } else {
            ++out.lineBreaks;
            paraStart = true;
            lineTop = SatAdd(lineTop, static_cast<std::int64_t>(line.height) + out.gap);
        }
    };
    // A run at least as wide as the column: its leading part becomes the line.
    auto cut = [&](int at) {
        lineStart = at;
        const int next = FillLine(at, line, width);
        pending = true;
        if (line.kind != kBreakWord) endParagraph(next, line.kind);
        return next;
    };

    int i = 0;
    while (i < n) {
        CRunMeasure run;
        const int next = MeasureRun(i, run);
        if (next <= i) break;
        const int lineWidth = pending ? line.width : 0;
        if (static_cast<std::int64_t>(lineWidth) + run.width <= width) {
            if (pending) {
                line.Append(run);
            } else {
                line = run;
                lineStart = i;
                pending = true;
            }
            i = next;
            if (run.kind != kBreakWord) endParagraph(i, run.kind);
            continue;
        }
        if (pending) wrap(i);
        if (run.width < width) {
            line = run;
            lineStart = i;
            pending = true;
            i = next;
            if (run.kind != kBreakWord) endParagraph(i, run.kind);
        } else {
            i = cut(i);
        }
    }
    if (pending) endParagraph(n, kBreakFinal);
    out.nextLineTop = lineTop;
    return out;
}

void CNamedContainer::MeasureAll()
{
    CCharWidthCache& cache = CCharWidthCache::For(GetDoc());
    for (int i = 0; i < GetCount(); ++i) ItemAt(i)->Measure(cache);
}

#include "document/layout_dump.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/named_container.h"
#include "document/page_object_list.h"
#include "document/text_item.h"

namespace {

std::string RectText(const plat::Rect& r)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
    return buf;
}

const char* TypeName(std::uint16_t t)
{
    switch (t) {
    case kItemParaPageBreak: return "page-end";
    case kItemFinalParaEnd: return "final-end";
    case kItemParaEnd: return "para-end";
    case kItemSpace: return "space";
    case kItemWestern: return "latin";
    case kItemWesternClose: return "close";
    case kItemWesternOpen: return "open";
    case kItemDigit: return "digit";
    case kItemFullStop: return "stop";
    case kItemCjk: return "cjk";
    case kItemCjkSymbol: return "cjk-symbol";
    case kItemCurrency: return "currency";
    case kItemCjkOpen: return "cjk-open";
    case kItemCjkClose: return "cjk-close";
    case kItemAnchor: return "anchor";
    default: return "item";
    }
}

std::string ItemText(int index, const CTextItem& item)
{
    std::string out = "    " + std::to_string(index) + " " + TypeName(item.GetNodeType());
    const char16_t code = item.GetCode();
    if (item.IsChar() && code != 0) {
        char buf[16];
        std::snprintf(buf, sizeof buf, " U+%04X", static_cast<unsigned>(code));
        out += buf;
        if (code > 0x20) out += " '" + plat::Utf16ToUtf8(plat::String(1, code)) + "'";
    }
    char buf[128];
    std::snprintf(buf, sizeof buf, " at (%d,%d) %dx%d drawn %d", item.GetLeft(), item.GetTop(), item.GetWidth(),
                  item.GetHeight(), item.GetDrawnWidth());
    out += buf;
    if (item.IsDeleted()) out += " deleted";
    return out;
}

bool Holds(const plat::Rect& outer, const plat::Rect& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// Positive-area overlap; rectangles that only touch do not overlap.
bool Overlaps(const plat::Rect& a, const plat::Rect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// The page (0-499) whose sheet a line top lies on or above; 500 for the overflow.
int PageOfLine(const CDocBody& body, int lineTop)
{
    if (lineTop >= body.GetPageFrame(CDocBody::kOverflowFrame).m_rect.top) return CDocBody::kOverflowFrame;
    for (int i = 0; i < CDocBody::kMaxPages; ++i)
        if (lineTop < body.GetPageRect(i).bottom) return i;
    return CDocBody::kOverflowFrame;
}

int AnchorItem(const CDocBody& body, const plat::String& name)
{
    if (name.empty()) return -1;
    for (int i = 0; i < body.GetCount(); ++i) {
        const auto* end = dynamic_cast<const CParaEndItem*>(body.GetItem(i));
        if (end && end->GetName() == name) return i;
    }
    return -1;
}

struct Region {
    plat::Rect rect;
    int page;
};

std::vector<Region> Regions(CDocBody& body)
{
    std::vector<Region> out;
    for (const CPageRegion* r = body.GetFirstRegion(); r; r = body.GetNextRegion()) out.push_back({r->m_rect, r->m_page});
    return out;
}

} // namespace

std::vector<CLaidOutLine> CollectLines(const CNamedContainer& box)
{
    std::vector<CLaidOutLine> lines;
    std::int64_t nextLeft = 0;
    for (int i = 0; i < box.GetCount(); ++i) {
        const CTextItem* item = box.GetItem(i);
        const int lineTop = item->GetLineTop();
        const std::int64_t right = std::int64_t(item->GetLeft()) + item->GetDrawnWidth();
        if (!lines.empty()) {
            CLaidOutLine& line = lines.back();
            if (line.box.top == lineTop && line.box.bottom - line.box.top == item->GetLineHeight() &&
                item->GetLeft() == nextLeft) {
                line.to = i + 1;
                line.box.right = static_cast<int>(std::max<std::int64_t>(line.box.right, right));
                nextLeft = right;
                continue;
            }
        }
        CLaidOutLine line;
        line.from = i;
        line.to = i + 1;
        line.box = plat::Rect(item->GetLeft(), lineTop, static_cast<int>(right), lineTop + item->GetLineHeight());
        lines.push_back(line);
        nextLeft = right;
    }
    return lines;
}

std::string DumpLayout(CDocBody& body)
{
    const std::vector<Region> regions = Regions(body);
    const std::vector<CLaidOutLine> lines = CollectLines(body);
    std::string out = "pages " + std::to_string(body.GetPageCount()) + ", items " + std::to_string(body.GetCount()) +
                      ", lines " + std::to_string(lines.size()) + ", regions " + std::to_string(regions.size()) +
                      ", objects " + std::to_string(body.GetObjectCount()) + "\n";
    for (int k = 0; k < body.GetObjectCount(); ++k) {
        const CFloatObject& o = *body.GetObject(k);
        out += "object " + std::to_string(k) + " type " + std::to_string(o.GetNodeType()) + " wrap " +
               std::to_string(o.m_wrapMode) + " layer " + std::to_string(o.m_layer) + " bounds " +
               RectText(o.m_bounds) + " anchor " + std::to_string(o.m_anchorState);
        const int end = AnchorItem(body, o.m_anchorName);
        if (end >= 0) out += " to item " + std::to_string(end) + " offset " + std::to_string(o.m_anchorOffset);
        out += "\n";
    }

    int lastPage = body.GetPageCount() - 1;
    for (const CLaidOutLine& line : lines)
        if (int page = PageOfLine(body, line.box.top); page < CDocBody::kMaxPages) lastPage = std::max(lastPage, page);
    for (int page = 0; page <= CDocBody::kMaxPages; ++page) {
        const bool overflow = page == CDocBody::kOverflowFrame;
        if (page > lastPage && !overflow) continue;
        std::vector<Region> here;
        for (const Region& r : regions)
            if (r.page == page) here.push_back(r);
        // Lines of a later page that come first in the flow (text beside an object runs
        // down one side, then the other) are found by page, not by order.
        std::vector<const CLaidOutLine*> pageLines;
        for (const CLaidOutLine& line : lines)
            if (PageOfLine(body, line.box.top) == page) pageLines.push_back(&line);
        if (overflow && pageLines.empty()) continue;
        out += overflow ? std::string("overflow") : "page " + std::to_string(page + 1);
        out += " text " + RectText(body.GetPageFrame(page).m_rect) + "\n";
        if (!overflow)
            for (size_t k = 0; k < here.size(); ++k)
                out += "  region " + std::to_string(k) + " " + RectText(here[k].rect) + "\n";
        for (const CLaidOutLine* line : pageLines) {
            out += "  line " + RectText(line->box) + " items " + std::to_string(line->from) + "-" +
                   std::to_string(line->to - 1);
            int in = -1;
            for (size_t k = 0; k < here.size() && in < 0; ++k)
                if (Holds(here[k].rect, line->box)) in = static_cast<int>(k);
            out += in >= 0 ? " in region " + std::to_string(in) : std::string(" outside the regions");
            out += "\n";
            for (int i = line->from; i < line->to; ++i) out += ItemText(i, *body.GetItem(i)) + "\n";
        }
    }
    return out;
}

CLayoutSnapshot TakeLayoutSnapshot(const CDocBody& body)
{
    CLayoutSnapshot s;
    s.pageCount = body.GetPageCount();
    s.items.reserve(static_cast<size_t>(body.GetCount()));
    for (int i = 0; i < body.GetCount(); ++i) {
        const CTextItem& t = *body.GetItem(i);
        s.items.push_back({t.GetNodeType(), t.GetLeft(), t.GetTop(), t.GetWidth(), t.GetHeight(), t.GetLineTop(),
                           t.GetLineHeight(), t.GetDrawnWidth()});
    }
    for (int k = 0; k < body.GetObjectCount(); ++k) {
        const CFloatObject& o = *body.GetObject(k);
        s.objects.push_back({o.m_bounds, o.m_anchorState, o.m_anchorOffset});
    }
    return s;
}

std::string DiffLayouts(const CLayoutSnapshot& expected, const CLayoutSnapshot& actual, int maxReported)
{
    std::string out;
    int reported = 0;
    auto report = [&](const std::string& line) {
        if (reported++ < maxReported) out += line + "\n";
    };
    if (expected.pageCount != actual.pageCount)
        report("pages " + std::to_string(expected.pageCount) + " vs " + std::to_string(actual.pageCount));
    if (expected.items.size() != actual.items.size())
        report("items " + std::to_string(expected.items.size()) + " vs " + std::to_string(actual.items.size()));
    auto itemText = [](const CLayoutSnapshot::Item& i) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "%04X (%d,%d) %dx%d line %d+%d drawn %d", i.type, i.left, i.top, i.width,
                      i.height, i.lineTop, i.lineHeight, i.drawnWidth);
        return std::string(buf);
    };
    for (size_t i = 0; i < std::min(expected.items.size(), actual.items.size()); ++i)
        if (!(expected.items[i] == actual.items[i]))
            report("item " + std::to_string(i) + ": " + itemText(expected.items[i]) + " vs " + itemText(actual.items[i]));
    if (expected.objects.size() != actual.objects.size())
        report("objects " + std::to_string(expected.objects.size()) + " vs " + std::to_string(actual.objects.size()));
    for (size_t k = 0; k < std::min(expected.objects.size(), actual.objects.size()); ++k) {
        const auto& a = expected.objects[k];
        const auto& b = actual.objects[k];
        if (!(a == b))
            report("object " + std::to_string(k) + ": " + RectText(a.bounds) + " anchor " +
                   std::to_string(a.anchorState) + " offset " + std::to_string(a.anchorOffset) + " vs " +
                   RectText(b.bounds) + " anchor " + std::to_string(b.anchorState) + " offset " +
                   std::to_string(b.anchorOffset));
    }
    if (reported > maxReported) out += "... " + std::to_string(reported - maxReported) + " more\n";
    return out;
}

std::vector<std::string> CheckLayoutInvariants(CDocBody& body)
{
    std::vector<std::string> faults;
    const std::vector<CLaidOutLine> lines = CollectLines(body);
    std::vector<plat::Rect> wrapAreas;
    for (int k = 0; k < body.GetObjectCount(); ++k) {
        plat::Rect area = body.GetObject(k)->m_bounds;
        area.left -= CDocBody::kRegionGap;
        area.right += CDocBody::kRegionGap;
        wrapAreas.push_back(area);
    }
    auto lineText = [&](const CLaidOutLine& line) {
        return "line of items " + std::to_string(line.from) + "-" + std::to_string(line.to - 1) + " " +
               RectText(line.box);
    };
    std::vector<std::vector<const CLaidOutLine*>> byPage(CDocBody::kMaxPages);
    for (const CLaidOutLine& line : lines) {
        const int page = PageOfLine(body, line.box.top);
        if (page >= CDocBody::kMaxPages) continue;
        const plat::Rect& text = body.GetPageFrame(page).m_rect;
        if (!Holds(text, line.box))
            faults.push_back(lineText(line) + " crosses the text area " + RectText(text) + " of page " +
                             std::to_string(page + 1));
        for (size_t k = 0; k < wrapAreas.size(); ++k)
            if (Overlaps(line.box, wrapAreas[k]))
                faults.push_back(lineText(line) + " overlaps the wrap area " + RectText(wrapAreas[k]) + " of object " +
                                 std::to_string(k));
        for (const CLaidOutLine* other : byPage[static_cast<size_t>(page)])
            if (Overlaps(line.box, other->box)) faults.push_back(lineText(line) + " overlaps the " + lineText(*other));
        byPage[static_cast<size_t>(page)].push_back(&line);
    }
    return faults;
}

#include "document/named_container.h"

#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "document/char_format.h"
#include "document/doc_context.h"
#include "document/format_pool.h"
#include "document/item_arena.h"
#include "document/names.h"
#include "document/plane_geometry.h"
#include "document/statistics.h"
#include "document/text_item.h"
#include "platform/base/system.h"

namespace {

using plat::ArchiveException;
using NodeVector = std::vector<std::unique_ptr<CDocNode>>;

// The smallest item entry: type and format flag, plus the time stamp outside mode 3.
std::uint64_t MinEntryBytes(int mode)
{
    return mode == kArchiveClipboard ? 3 : 7;
}

std::int32_t ReadCount(plat::Archive& ar, int mode, const char* what)
{
    std::int32_t count = ar.ReadI32();
    if (count < 0) throw ArchiveException(ArchiveException::kBadIndex, what);
    ar.Require(static_cast<std::uint64_t>(count) * MinEntryBytes(mode));
    return count;
}

std::unique_ptr<CTextItem> NewItemForRecord(std::uint16_t type, CDocNode* parent)
{
    // An unknown type cannot be skipped: its record's extent is unknown, and reading on
    // would take the rest of the stream out of step.
    std::unique_ptr<CTextItem> item = NewTextItemOfType(type, parent);
    if (!item) throw ArchiveException(ArchiveException::kBadClass, "text item type");
    return item;
}

bool IsWordChar(const CTextItem& item)
{
    char16_t c = item.GetCode();
    return item.GetNodeType() == kItemWestern &&
           ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'');
}

bool GivesCode(std::uint16_t t)
{
    return (t >= kItemSpace && t <= kItemFullStop) || (t >= kItemCjk && t <= kItemCjkClose);
}

void ClampRange(int count, int& from, int& to)
{
    if (to < 0 || to > count) to = count;
    if (from < 0) from = 0;
    if (from > to) from = to;
}

} // namespace


// ---- CNamedContainer ----

CNamedContainer::CNamedContainer(CDocContext* doc, CDocNode* parent, std::uint16_t type)
    : CNodeList(doc, parent, type), m_name(NewGuidString())
{
}

CNamedContainer::~CNamedContainer() = default;

int CNamedContainer::AddItem(std::unique_ptr<CTextItem> item)
{
    return Add(std::move(item));
}

void CNamedContainer::InsertItem(int index, std::unique_ptr<CTextItem> item)
{
    InsertAt(index, std::move(item));
}

void CNamedContainer::InsertItems(int index, std::vector<std::unique_ptr<CTextItem>> items)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::InsertItems");
    NoteAddedRun(items.begin(), items.end(), index);
    m_children.insert(m_children.begin() + index, std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
}

bool CNamedContainer::RevisionsShown() const
{
    const CDocContext* doc = GetDoc();
    return doc && doc->IsRevisionsShown();
}

void CNamedContainer::Load(plat::Archive& ar, CCharFormat& running, int mode)
{
    String name = ar.ReadString();
    std::int32_t count = ReadCount(ar, mode, "item count");
    // Everything is read before anything is added, so a refused record leaves the
    // container as it was.
    NodeVector loaded;
    loaded.reserve(static_cast<size_t>(count));
    CItemArena::Prefault(loaded.data(), loaded.capacity() * sizeof(NodeVector::value_type));
    CTextItem::RecordWalk walk(running, GetDoc(), mode);
    CFormatMemo unmark;
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<CTextItem> item = NewItemForRecord(ar.ReadU16(), this);
        item->LoadRecord(ar, walk);
        if (!NormaliseReadItem(*item)) continue;
        if (mode == kArchiveInsert) {
            // Inserting another file drops its deleted text and its revision marks.
            if (item->IsDeleted()) continue;
            item->SetFormatHandle(unmark.Map(item->FormatHandle(), [](CCharFormat& f) {
                f.m_insertedBy = 0;
                f.m_annotation = 0;
            }));
        }
        loaded.push_back(std::move(item));
    }
    // A file's container name that is not a GUID is not taken: the container keeps its
    // fresh one, and the flow's positions count in it.
    if (mode == kArchiveUndo || (mode == kArchiveFile && IsGuidString(name))) m_name = std::move(name);
    NoteAddedRun(loaded.begin(), loaded.end(), GetCount());
    if (m_children.empty()) {
        m_children = std::move(loaded);
    } else {
        m_children.insert(m_children.end(), std::make_move_iterator(loaded.begin()),
                          std::make_move_iterator(loaded.end()));
    }
    running = walk.running.Format();
}

void CNamedContainer::Save(plat::Archive& ar, CCharFormat& running, int mode)
{
    // The clipboard never carries anchors, nor deleted text unless revisions are shown.
    bool clipboard = mode == kArchiveClipboard;
    bool shown = RevisionsShown();
    auto written = [&](const CTextItem* item) {
        return !clipboard || (item->GetNodeType() != kItemAnchor && (shown || !item->IsDeleted()));
    };
    std::int32_t count = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (written(ItemAt(i))) ++count;
    ar.WriteString(m_name);
    ar.WriteI32(count);
    CTextItem::RecordWalk walk(running, GetDoc(), mode);
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem* item = ItemAt(i);
        if (!written(item)) continue;
        ar.WriteU16(item->GetNodeType());
        item->SaveRecord(ar, walk);
    }
    running = walk.running.Format();
}

void CNamedContainer::PrepareItems()
{
    for (int i = 0; i < GetCount(); ++i) ItemAt(i)->PrepareItem();
}

void CNamedContainer::SetCharFormat(int fieldId, const CCharFormat& values)
{
    SetItemsField(0, GetCount(), fieldId, values);
}

void CNamedContainer::SetItemsField(int from, int to, int fieldId, const CCharFormat& values)
{
    if (fieldId < kFieldChineseFace || fieldId > kFieldPosition) return;
    ClampRange(GetCount(), from, to);
    CFormatMemo memo;
    for (int i = from; i < to; ++i) {
        CTextItem* item = ItemAt(i);
        item->SetFormatHandle(memo.Map(item->FormatHandle(), [&](CCharFormat& f) { f.SetField(fieldId, values); }));
    }
}

void CNamedContainer::CountStatistics(CStatistics& stats, int from, int to) const
{
    ClampRange(GetCount(), from, to);
    int atParaStart = 1;
    for (int i = from; i < to; ++i) ItemAt(i)->CountStatistics(stats, atParaStart);

    // Words: runs of letters and apostrophes; deleted items neither extend nor end one.
    bool inWord = false;
    for (int i = from; i < to; ++i) {
        const CTextItem* item = ItemAt(i);
        if (item->IsDeleted()) continue;
        if (IsWordChar(*item)) {
            inWord = true;
        } else if (inWord) {
            ++stats[CStatistics::kWords];
            inWord = false;
        }
    }
    if (inWord) ++stats[CStatistics::kWords];
}

CNamedContainer* CNamedContainer::FindContainer(const CTextPos& pos)
{
    if (pos.m_name == m_name) return this;
    for (int i = 0; i < GetCount(); ++i)
        if (CNamedContainer* found = ItemAt(i)->FindContainer(pos)) return found;
    return nullptr;
}

CTextItem* CNamedContainer::ItemAtPoint(int x, int y) const
{
    for (int i = 0; i < GetCount(); ++i) {
        CTextItem* item = ItemAt(i);
        plat::Rect r = item->GetRect();
        // An anchor is 1 twip wide; it is hit over a square as wide as it is high.
        if (item->GetNodeType() == kItemAnchor) r.right = r.left + item->GetHeight();
        if (r.Contains(plat::Point(x, y))) return item;
    }
    return nullptr;
}

bool CNamedContainer::HitTestPos(int x, int y, CTextPos& pos) const
{
    int last = GetCount() - 1;
    for (int i = 0; i <= last; ++i) {
        const CTextItem* item = ItemAt(i);
        if (!item->HitTest(plat::Point(x, y))) continue;
        bool rightHalf = 2 * (static_cast<std::int64_t>(x) - item->GetLeft()) >= item->GetWidth();
        pos.m_index = rightHalf && i != last ? i + 1 : i;
        pos.m_name = m_name;
        return true;
    }
    return NearestPos(x, y, pos);
}

bool CNamedContainer::NearestPos(int x, int y, CTextPos& pos) const
{
    pos.m_name = m_name;
    pos.m_index = 0;
    if (GetCount() == 0) return true;
    plat::Point c = ItemAt(0)->GetCentre();
    std::int64_t bestGap = std::abs(static_cast<std::int64_t>(c.y) - y);
    double bestDist = Distance(c.x, c.y, x, y);
    bool onLine = false;
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem* item = ItemAt(i);
        c = item->GetCentre();
        double dist = Distance(c.x, c.y, x, y);
        std::int64_t gap = std::abs(static_cast<std::int64_t>(c.y) - y);
        std::int64_t lineTop = item->GetLineTop();
        if (y >= lineTop && y <= lineTop + item->GetLineHeight()) {
            // On the point's line the first item wins outright; later ones only when nearer.
            if (!onLine || dist < bestDist) {
                pos.m_index = i;
                bestDist = dist;
            }
            onLine = true;
        } else if (!onLine && (gap < bestGap || (gap == bestGap && dist <= bestDist))) {
            pos.m_index = i;
            bestGap = gap;
            bestDist = dist;
        }
    }
    return true;
}

namespace {

// What a run of typed codes is made with: the character format stamped with the current
// author (pooled once for the run), the paragraph-end format as given, and the time.
struct TypedRun {
    TypedRun(const CCharFormat& format, const CDocContext* doc) : now(static_cast<std::int32_t>(plat::Now()))
    {
        // Typed text is never born deleted, whatever the format it was given.
        CCharFormat f(format);
        f.m_deletedBy = 0;
        paraEnd.Set(f);
        f.m_insertedBy = doc ? doc->GetCurAuthorIndex() : 0;
        chars.Set(f);
    }
    CFormatRef chars;
    CFormatRef paraEnd;
    std::int32_t now;
};

std::unique_ptr<CCharItem> MakeCharItem(char16_t code, const TypedRun& run, CDocNode* parent)
{
    auto item = std::make_unique<CCharItem>(parent, ClassifyChar(code), code);
    item->SetFormatHandle(run.chars.Handle());
    item->SetTime(run.now);
    return item;
}

void AppendTyped(NodeVector& out, char16_t code, const TypedRun& run, CDocNode* parent)
{
    if (code == u'\t') {
        for (int k = 0; k < 4; ++k) out.push_back(MakeCharItem(u' ', run, parent));
    } else if (code == u'\r' || code == u'\n') {
        auto end = std::make_unique<CParaEndItem>(parent, kItemParaEnd);
        end->SetFormatHandle(run.paraEnd.Handle());
        out.push_back(std::move(end));
    } else if (code >= 32) {
        out.push_back(MakeCharItem(code, run, parent));
    }
}

} // namespace

std::unique_ptr<CCharItem> CNamedContainer::NewCharItem(char16_t code, const CCharFormat& format)
{
    return MakeCharItem(code, TypedRun(format, GetDoc()), this);
}

void CNamedContainer::InsertCharAt(int& index, char16_t code, const CCharFormat& format)
{
    InsertString(index, plat::StringView(&code, 1), format);
}

void CNamedContainer::InsertString(int& index, plat::StringView text, const CCharFormat& format)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::InsertString");
    NodeVector made;
    MakeStringItems(made, text, format);
    InsertMadeItems(index, made);
}

void CNamedContainer::MakeStringItems(NodeVector& out, plat::StringView text, const CCharFormat& format)
{
    TypedRun run(format, GetDoc());
    for (size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        AppendTyped(out, text[i], run, this);
    }
}

void CNamedContainer::InsertMadeItems(int& index, NodeVector& items)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::InsertMadeItems");
    // One insertion for the whole run keeps a long paste linear.
    NoteAddedRun(items.begin(), items.end(), index);
    m_children.insert(m_children.begin() + index, std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
    index += static_cast<int>(items.size());
    items.clear();
}

int CNamedContainer::MoveItemsFrom(CNamedContainer& other, int index)
{
    int held = other.GetCount();
    if (&other == this) return held;
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::MoveItemsFrom");
    // Items are taken from the front; a final paragraph end goes back to the front of its
    // own container, so it and whatever follows it stay there.
    int n = 0;
    while (n < held && other.ItemAt(n)->GetNodeType() != kItemFinalParaEnd) ++n;
    // A spelling mark is kept by the document's list, so it stays behind when the items
    // go to another document.
    const bool otherDoc = other.GetDoc() != GetDoc();
    for (int i = 0; i < n; ++i) {
        if (otherDoc) other.ItemAt(i)->SetMisspelt(nullptr);
        other.ItemAt(i)->SetParent(this);
    }
    NoteAddedRun(other.m_children.begin(), other.m_children.begin() + n, index);
    other.NoteRemovedRun(other.m_children.begin(), other.m_children.begin() + n);
    m_children.insert(m_children.begin() + index, std::make_move_iterator(other.m_children.begin()),
                      std::make_move_iterator(other.m_children.begin() + n));
    other.m_children.erase(other.m_children.begin(), other.m_children.begin() + n);
    return held;
}

String CNamedContainer::GetText(int from, int to, CTextScope scope) const
{
    ClampRange(GetCount(), from, to);
    bool shown = scope == CTextScope::kAsShown && RevisionsShown();
    String text;
    for (int i = from; i < to; ++i) {
        const CTextItem* item = ItemAt(i);
        if (!shown && item->IsDeleted()) continue;
        std::uint16_t t = item->GetNodeType();
        if (IsParaBreakType(t)) text += u'\n';
        else if (GivesCode(t)) text += item->GetCode();
    }
    return text;
}

String CNamedContainer::GetFirstParagraphText() const
{
    bool shown = RevisionsShown();
    String text;
    for (int i = 0; i < GetCount(); ++i) {
        const CTextItem* item = ItemAt(i);
        if (!shown && item->IsDeleted()) continue;
        std::uint16_t t = item->GetNodeType();
        if (t == kItemFinalParaEnd) break;
        if (IsParaBreakType(t)) {
            if (!text.empty()) break;
        } else if (t == kItemSpace) {
            if (!text.empty()) text += item->GetCode();
        } else if (GivesCode(t)) {
            text += item->GetCode();
        }
    }
    return text;
}

std::int32_t CNamedContainer::CountBlockObjects(const CParaEndItem&) const
{
    return 0;
}

void CNamedContainer::SaveBlockObjects(plat::Archive&, const CParaEndItem&)
{
}

std::unique_ptr<CDocNode> CNamedContainer::LoadBlockObject(plat::Archive&, std::uint16_t, int, std::int32_t&)
{
    throw ArchiveException(ArchiveException::kBadClass, "object in a text block");
}

void CNamedContainer::PlaceBlockObject(std::unique_ptr<CDocNode>, std::int32_t, const CParaEndItem&)
{
}

void CNamedContainer::WriteTextBlock(plat::Archive& ar, int from, int to, bool withObjects)
{
    ClampRange(GetCount(), from, to);
    // The clipboard form has no revision fields: text marked deleted would arrive as live
    // text, so it stays behind even while revisions are shown.
    auto written = [](const CTextItem* item) { return item->GetNodeType() != kItemAnchor && !item->IsDeleted(); };
    std::int32_t count = 0;
    const CTextItem* first = nullptr;
    for (int i = from; i < to; ++i) {
        const CTextItem* item = ItemAt(i);
        if (!written(item)) continue;
        if (!first) first = item;
        ++count;
        if (withObjects && IsParaEndType(item->GetNodeType()))
            count += CountBlockObjects(static_cast<const CParaEndItem&>(*item));
    }
    ar.WriteI32(count);
    // The first item is written against its own format.
    CCharFormat start(GetDoc());
    if (first) start = first->GetFormat();
    start.Save(ar, kArchiveClipboard);
    CTextItem::RecordWalk walk(start, GetDoc(), kArchiveClipboard);
    for (int i = from; i < to; ++i) {
        const CTextItem* item = ItemAt(i);
        if (!written(item)) continue;
        ar.WriteU16(item->GetNodeType());
        item->SaveRecord(ar, walk);
        if (withObjects && IsParaEndType(item->GetNodeType()))
            SaveBlockObjects(ar, static_cast<const CParaEndItem&>(*item));
    }
}

CNamedContainer::CTextBlock CNamedContainer::ParseTextBlock(plat::Archive& ar, int mode)
{
    std::int32_t count = ReadCount(ar, mode, "text block count");
    CCharFormat start(GetDoc());
    start.Load(ar, mode);
    CTextItem::RecordWalk walk(start, GetDoc(), mode);
    CTextBlock block;
    bool afterParaEnd = false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint16_t type = ar.ReadU16();
        if (!IsItemType(type)) {
            // Objects follow the paragraph end they anchor to, and nothing else.
            if (!afterParaEnd) throw ArchiveException(ArchiveException::kBadIndex, "object without a paragraph end");
            CTextBlock::Object entry;
            entry.object = LoadBlockObject(ar, type, mode, entry.anchorOffset);
            entry.afterItem = block.items.size() - 1;
            block.objects.push_back(std::move(entry));
            continue;
        }
        std::unique_ptr<CTextItem> item = NewItemForRecord(type, this);
        item->LoadRecord(ar, walk);
        afterParaEnd = false;
        if (!NormaliseReadItem(*item)) continue;
        afterParaEnd = IsParaEndType(type);
        block.items.push_back(std::move(item));
    }
    return block;
}

void CNamedContainer::InsertTextBlock(CTextBlock block, int& index)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::InsertTextBlock");
    std::size_t next = 0; // the first item not yet inserted
    auto insertUpTo = [&](std::size_t end) {
        NodeVector run;
        for (; next < end; ++next) run.push_back(std::move(block.items[next]));
        NoteAddedRun(run.begin(), run.end(), index);
        m_children.insert(m_children.begin() + index, std::make_move_iterator(run.begin()),
                          std::make_move_iterator(run.end()));
        index += static_cast<int>(run.size());
    };
    for (CTextBlock::Object& entry : block.objects) {
        insertUpTo(entry.afterItem + 1);
        PlaceBlockObject(std::move(entry.object), entry.anchorOffset, *static_cast<const CParaEndItem*>(ItemAt(index - 1)));
    }
    insertUpTo(block.items.size());
}

void CNamedContainer::ReadTextBlock(plat::Archive& ar, int mode, int& index)
{
    if (index < 0 || index > GetCount()) throw std::out_of_range("CNamedContainer::ReadTextBlock");
    InsertTextBlock(ParseTextBlock(ar, mode), index);
}

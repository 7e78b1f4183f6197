#include "document/text_item.h"

#include <stdexcept>

#include "document/doc_context.h"
#include "document/item_arena.h"
#include "document/names.h"
#include "document/spell_error.h"
#include "document/statistics.h"
#include "platform/base/system.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUILN_ITEMS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILN_ITEMS_ON_HEAP 1
#endif
#endif

namespace {

using plat::ArchiveException;

bool IsLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

std::uint16_t ClassifyChar(char16_t c)
{
    switch (c) {
    case 0x0020:
        return kItemSpace;
    case 0x0021: case 0x0025: case 0x0029: case 0x002C: case 0x003A: case 0x003B:
    case 0x003F: case 0x005D: case 0x007D: case 0x00AE: case 0x00B0: case 0x2030:
    case 0x2032: case 0x2033: case 0x2122:
        return kItemWesternClose;
    case 0x0024: case 0x0028: case 0x005B: case 0x007B: case 0x00A9:
        return kItemWesternOpen;
    case 0x002E:
        return kItemFullStop;
    case 0x00B7:
        return kItemCjk;
    case 0x2026: case 0x2103: case 0xFF05:
        return kItemCjkSymbol;
    case 0xFF04: case 0xFFE1: case 0xFFE5:
        return kItemCurrency;
    case 0x2018: case 0x201C: case 0x3008: case 0x300A: case 0x300C: case 0x300E:
    case 0x3010: case 0x3014: case 0x3016: case 0xFF08: case 0xFF3B: case 0xFF5B:
        return kItemCjkOpen;
    case 0x2019: case 0x201D: case 0x3001: case 0x3002: case 0x3009: case 0x300B:
    case 0x300D: case 0x300F: case 0x3011: case 0x3015: case 0x3017: case 0xFF01:
    case 0xFF09: case 0xFF0C: case 0xFF0E: case 0xFF1A: case 0xFF1B: case 0xFF1F:
    case 0xFF3D: case 0xFF5D:
        return kItemCjkClose;
    default:
        break;
    }
    if ((c >= u'0' && c <= u'9') || (c >= 0xFF10 && c <= 0xFF19)) return kItemDigit;
    return c <= 0x04FF ? kItemWestern : kItemCjk;
}

void* CTextItem::operator new(std::size_t n)
{
#ifdef QUILN_ITEMS_ON_HEAP
    return ::operator new(n);
#else
    return CItemArena::Instance().Allocate(n);
#endif
}

void CTextItem::operator delete(void* p, std::size_t n)
{
#ifdef QUILN_ITEMS_ON_HEAP
    (void)n;
    ::operator delete(p);
#else
    CItemArena::Instance().Free(p, n);
#endif
}

CTextItem::CTextItem(CDocNode* parent, std::uint16_t type) : CDocNode(parent, type)
{
    CFormatPool::Instance().AddRef(CFormatPool::kDefault);
}

CTextItem::~CTextItem()
{
    CFormatPool::Instance().Release(FormatHandle());
}

void CTextItem::SetFormat(const CCharFormat& f)
{
    CFormatPool& pool = CFormatPool::Instance();
    CFormatPool::Handle h = pool.Intern(f);
    pool.Release(FormatHandle());
    m_bits = (m_bits & ~kHandleMask) | h;
}

void CTextItem::SetFormatHandle(CFormatPool::Handle h)
{
    CFormatPool& pool = CFormatPool::Instance();
    pool.AddRef(h);
    pool.Release(FormatHandle());
    m_bits = (m_bits & ~kHandleMask) | h;
}

void CTextItem::SetInsertedBy(std::int16_t author)
{
    if (GetFormat().m_insertedBy == author) return;
    CCharFormat f(GetFormat());
    f.m_insertedBy = author;
    SetFormat(f);
}

void CTextItem::SetDeletedBy(std::int16_t author)
{
    if (GetFormat().m_deletedBy == author) return;
    CCharFormat f(GetFormat());
    f.m_deletedBy = author;
    SetFormat(f);
}

void CTextItem::SetAnnotation(std::int16_t number)
{
    if (GetFormat().m_annotation == number) return;
    CCharFormat f(GetFormat());
    f.m_annotation = number;
    SetFormat(f);
}

void CTextItem::SetFormatField(int fieldId, const CCharFormat& values)
{
    CCharFormat f(GetFormat());
    if (f.SetField(fieldId, values)) SetFormat(f);
}

void CTextItem::SetPos(int x, int y)
{
    // The line box stays where it is while the item stays within reach of it.
    int lineTop = GetLineTop();
    m_left = x;
    m_top = y;
    m_lineRise = Clamp16(y - lineTop);
}

void CTextItem::Place(int left, int top, int lineTop, int lineHeight)
{
    m_left = left;
    m_top = top;
    m_lineRise = Clamp16(top - lineTop);
    m_lineHeight = Clamp16(lineHeight);
}

void CTextItem::SetLineBox(int lineTop, int lineHeight)
{
    m_lineRise = Clamp16(m_top - lineTop);
    m_lineHeight = Clamp16(lineHeight);
}

void CTextItem::SetMetrics(int width, int height, int ascent)
{
    m_width = Clamp16(width);
    m_height = Clamp16(height);
    m_ascent = Clamp16(ascent);
}

plat::Rect CTextItem::GetRect() const
{
    return plat::Rect(m_left, m_top, m_left + m_width, m_top + m_height);
}

plat::Point CTextItem::GetCentre() const
{
    return plat::Point(m_left + m_width / 2, GetLineTop() + m_lineHeight / 2);
}

// Spelling marks are rare, so they live beside the items, in the document's list, rather
// than in each of them.
CSpellError* CTextItem::GetMisspelt() const
{
    if (!(m_bits & kMisspelt)) return nullptr;
    CDocContext* doc = GetDoc();
    return doc ? doc->GetSpellErrors().MarkOf(this) : nullptr;
}

void CTextItem::SetMisspelt(CSpellError* error)
{
    if (!error && !(m_bits & kMisspelt)) return;
    CDocContext* doc = GetDoc();
    if (!doc) {
        m_bits &= ~kMisspelt;
        return;
    }
    doc->GetSpellErrors().SetMark(this, error);
    m_bits = error ? m_bits | kMisspelt : m_bits & ~kMisspelt;
}

void CTextItem::CountStatistics(CStatistics& stats, int& atParaStart) const
{
    if (IsDeleted()) return;
    switch (m_type) {
    case kItemParaPageBreak:
    case kItemParaEnd:
        ++stats[CStatistics::kParagraphs];
        atParaStart = 1;
        break;
    case kItemSpace:
        if (!atParaStart) ++stats[CStatistics::kSpaces];
        break;
    case kItemWestern:
    case kItemWesternClose:
    case kItemWesternOpen:
    case kItemDigit:
    case kItemFullStop:
        atParaStart = 0;
        ++stats[IsLetter(m_code) ? CStatistics::kLetters : CStatistics::kSymbols];
        break;
    case kItemCjk:
        atParaStart = 0;
        ++stats[CStatistics::kChinese];
        break;
    case kItemCjkSymbol:
    case kItemCurrency:
    case kItemCjkOpen:
    case kItemCjkClose:
        atParaStart = 0;
        ++stats[CStatistics::kSymbols];
        break;
    default:
        break;
    }
}

CTextItem::RecordWalk::RecordWalk(const CCharFormat& start, const CDocContext* doc, int walkMode)
    : running(start), mode(walkMode), rules(CCharFormat::RulesFor(doc, walkMode)),
      now(static_cast<std::int32_t>(plat::Now()))
{
}

void CTextItem::LoadRecord(plat::Archive& ar, RecordWalk& walk)
{
    std::uint8_t own = ar.ReadU8();
    if (own > 1) throw ArchiveException(ArchiveException::kBadSchema, "item format flag");
    if (own) {
        // Read over the item's own format: mode 3 keeps its deleted-by and annotation.
        CCharFormat f(GetFormat());
        f.Load(ar, walk.mode, walk.rules);
        try {
            SetFormat(f);
        } catch (const std::length_error&) {
            // Only a file of many millions of distinct formats gets here.
            throw ArchiveException(ArchiveException::kBadIndex, "too many distinct character formats");
        }
    } else {
        SetFormatHandle(walk.running.Handle());
    }
    walk.running.Set(FormatHandle());
    m_time = walk.mode == kArchiveClipboard ? walk.now : ar.ReadI32();
    LoadTail(ar, walk.mode);
}

void CTextItem::SaveRecord(plat::Archive& ar, RecordWalk& walk) const
{
    // Equal formats share one pooled handle, so comparing handles is Differs.
    bool own = FormatHandle() != walk.running.Handle();
    ar.WriteU8(own ? 1 : 0);
    if (own) {
        GetFormat().Save(ar, walk.mode);
        walk.running.Set(FormatHandle());
    }
    if (walk.mode != kArchiveClipboard) ar.WriteI32(m_time);
    SaveTail(ar, walk.mode);
}

void CTextItem::Load(plat::Archive& ar, CCharFormat& running, int mode)
{
    CDocContext* doc = GetDoc();
    RecordWalk walk(running, doc ? doc : running.GetDoc(), mode);
    LoadRecord(ar, walk);
    running = walk.running.Format();
}

void CTextItem::Save(plat::Archive& ar, CCharFormat& running, int mode) const
{
    RecordWalk walk(running, GetDoc(), mode);
    SaveRecord(ar, walk);
    running = walk.running.Format();
}

void CCharItem::LoadTail(plat::Archive& ar, int)
{
    m_code = ar.ReadU16();
}

void CCharItem::SaveTail(plat::Archive& ar, int) const
{
    ar.WriteU16(m_code);
}

CParaEndItem::CParaEndItem(CDocNode* parent, std::uint16_t type)
    : CTextItem(parent, type), m_name(NewGuidString())
{
}

void CParaEndItem::LoadTail(plat::Archive& ar, int mode)
{
    m_paraFormat.Load(ar, mode);
    String name = ar.ReadString();
    // Pasted paragraphs keep their fresh names, and so does a file's paragraph end whose
    // name is not a GUID: objects anchor by these names.
    if (mode != kArchiveClipboard && (mode == kArchiveUndo || IsGuidString(name))) m_name = std::move(name);
    else if (m_name.empty()) m_name = NewGuidString();
}

void CParaEndItem::SaveTail(plat::Archive& ar, int mode) const
{
    m_paraFormat.Save(ar, mode);
    ar.WriteString(m_name);
}

bool NormaliseReadItem(CTextItem& item)
{
    if (!item.IsChar()) return true;
    const char16_t code = item.GetCode();
    if (code < 0x20) return false;
    item.SetNodeType(ClassifyChar(code));
    return true;
}

namespace {

std::unique_ptr<CTextItem> MakeItem(std::uint16_t type, CDocNode* parent, bool readAtOnce)
{
    if (!IsItemType(type) || type == kItemUnused) return nullptr;
    if (IsParaEndType(type)) {
        if (readAtOnce) return std::make_unique<CParaEndItem>(parent, type, CParaEndItem::NamedOnLoad());
        return std::make_unique<CParaEndItem>(parent, type);
    }
    if (type == kItemAnchor) return std::make_unique<CAnchorItem>(parent);
    return std::make_unique<CCharItem>(parent, type);
}

} // namespace

std::unique_ptr<CTextItem> NewTextItemOfType(std::uint16_t type, CDocNode* parent)
{
    return MakeItem(type, parent, true);
}

std::unique_ptr<CTextItem> CreateTextItem(CDocContext* doc, std::uint16_t type, CDocNode* parent, int mode)
{
    std::unique_ptr<CTextItem> item = MakeItem(type, parent, false);
    if (item && mode != kArchiveUndo) {
        item->SetInsertedBy(doc ? doc->GetCurAuthorIndex() : 0);
        item->SetTime(static_cast<std::int32_t>(plat::Now()));
    }
    return item;
}

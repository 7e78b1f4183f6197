#include "document/char_format.h"

#include <functional>

#include "document/doc_context.h"

namespace {

using plat::ArchiveException;

constexpr size_t kReservedBytes = 16;

[[noreturn]] void BadValue(const char* what)
{
    throw ArchiveException(ArchiveException::kBadIndex, what);
}

} // namespace

CCharFormat::CCharFormat(CDocContext* doc)
    : m_chineseFace(u"宋体"), m_westernFace(u"Times New Roman"), m_doc(doc)
{
}

CCharFormat::CCharFormat(const CCharFormat& other)
    : CDocNode(nullptr, kNodePlain), m_doc(other.m_doc)
{
    *this = other;
}

CCharFormat& CCharFormat::operator=(const CCharFormat& other)
{
    if (this == &other) return *this;
    m_chineseFace = other.m_chineseFace;
    m_westernFace = other.m_westernFace;
    m_size = other.m_size;
    m_bold = other.m_bold;
    m_italic = other.m_italic;
    m_underline = other.m_underline;
    m_color = other.m_color;
    m_position = other.m_position;
    m_insertedBy = other.m_insertedBy;
    m_deletedBy = other.m_deletedBy;
    m_annotation = other.m_annotation;
    return *this;
}

int CCharFormat::Differs(const CCharFormat& o) const
{
    bool same = m_chineseFace == o.m_chineseFace && m_westernFace == o.m_westernFace &&
                m_size == o.m_size && m_bold == o.m_bold && m_italic == o.m_italic &&
                m_underline == o.m_underline && m_color == o.m_color &&
                m_position == o.m_position && m_insertedBy == o.m_insertedBy &&
                m_deletedBy == o.m_deletedBy && m_annotation == o.m_annotation;
    return same ? 0 : 1;
}

bool CCharFormat::SetField(int fieldId, const CCharFormat& v)
{
    switch (fieldId) {
    case kFieldChineseFace: m_chineseFace = v.m_chineseFace; return true;
    case kFieldWesternFace: m_westernFace = v.m_westernFace; return true;
    case kFieldSize: m_size = v.m_size; return true;
    case kFieldBold: m_bold = v.m_bold; return true;
    case kFieldItalic: m_italic = v.m_italic; return true;
    case kFieldUnderline: m_underline = v.m_underline; return true;
    case kFieldColor: m_color = v.m_color; return true;
    case kFieldPosition: m_position = v.m_position; return true;
    default: return false;
    }
}

CCharFormat::LoadRules CCharFormat::RulesFor(const CDocContext* doc, int mode)
{
    LoadRules rules;
    if (!doc) return rules;
    rules.currentAuthor = doc->GetCurAuthorIndex();
    // Only the native file and undo snapshots keep the indices they read; mode 4 clears
    // them and mode 3 carries none.
    if (mode == kArchiveFile || mode == kArchiveUndo) rules.authorCount = doc->GetAuthors().GetCount();
    return rules;
}

void CCharFormat::Load(plat::Archive& ar, int mode)
{
    Load(ar, mode, RulesFor(m_doc, mode));
}

void CCharFormat::Load(plat::Archive& ar, int mode, const LoadRules& rules)
{
    // Read into a copy so that a refused record leaves this format as it was.
    CCharFormat f(*this);
    f.m_chineseFace = ar.ReadString();
    f.m_westernFace = ar.ReadString();
    f.m_size = ar.ReadU16();
    f.m_bold = ar.ReadU8();
    f.m_italic = ar.ReadU8();
    f.m_underline = ar.ReadU8();
    f.m_color = ar.ReadI32();
    f.m_position = ar.ReadU8();
    if (f.m_underline > kUnderlineMax) BadValue("underline kind");
    if (f.m_position > kPositionMax) BadValue("script position");
    if (mode == kArchiveClipboard) {
        f.m_insertedBy = rules.currentAuthor;
    } else {
        f.m_insertedBy = ar.ReadI16();
        f.m_deletedBy = ar.ReadI16();
        f.m_annotation = ar.ReadI16();
        if (mode == kArchiveFile || mode == kArchiveInsert) {
            std::uint8_t reserved[kReservedBytes];
            ar.Read(reserved, sizeof reserved);
        }
        if (mode != kArchiveInsert) {
            if (!CAuthorList::IsReadableIndex(f.m_insertedBy, rules.authorCount) ||
                !CAuthorList::IsReadableIndex(f.m_deletedBy, rules.authorCount))
                BadValue("author index");
            if (f.m_annotation < -1) BadValue("annotation number");
        }
    }
    *this = f;
}

void CCharFormat::Save(plat::Archive& ar, int mode) const
{
    ar.WriteString(m_chineseFace);
    ar.WriteString(m_westernFace);
    ar.WriteU16(m_size);
    ar.WriteU8(m_bold);
    ar.WriteU8(m_italic);
    ar.WriteU8(m_underline);
    ar.WriteI32(m_color);
    ar.WriteU8(m_position);
    if (mode == kArchiveClipboard) return;
    ar.WriteI16(m_insertedBy);
    ar.WriteI16(m_deletedBy);
    ar.WriteI16(m_annotation);
    if (mode == kArchiveFile || mode == kArchiveInsert) {
        const std::uint8_t reserved[kReservedBytes] = {};
        ar.Write(reserved, sizeof reserved);
    }
}

std::size_t HashCharFormat(const CCharFormat& f)
{
    std::size_t h = std::hash<plat::StringView>()(f.m_chineseFace);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(std::hash<plat::StringView>()(f.m_westernFace));
    mix(f.m_size | (std::size_t(f.m_bold) << 16) | (std::size_t(f.m_italic) << 24) |
        (std::size_t(f.m_underline) << 32) | (std::size_t(f.m_position) << 40));
    mix(static_cast<std::uint32_t>(f.m_color));
    mix(static_cast<std::uint16_t>(f.m_insertedBy) | (std::size_t(static_cast<std::uint16_t>(f.m_deletedBy)) << 16) |
        (std::size_t(static_cast<std::uint16_t>(f.m_annotation)) << 32));
    return h;
}

void CParaFormat::Load(plat::Archive& ar, int)
{
    CParaFormat p;
    p.m_align = ar.ReadU8();
    p.m_spacing = ar.ReadU8();
    p.m_firstIndent = ar.ReadI32();
    p.m_leftIndent = ar.ReadI32();
    p.m_rightIndent = ar.ReadI32();
    // The spacing code indexes the gap table; an alignment beyond the known codes has no
    // meaning either.
    if (p.m_align > kAlignMax) BadValue("alignment");
    if (p.m_spacing > kSpacingMax) BadValue("line spacing");
    *this = p;
}

void CParaFormat::Save(plat::Archive& ar, int) const
{
    ar.WriteU8(m_align);
    ar.WriteU8(m_spacing);
    ar.WriteI32(m_firstIndent);
    ar.WriteI32(m_leftIndent);
    ar.WriteI32(m_rightIndent);
}

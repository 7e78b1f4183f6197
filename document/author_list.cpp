#include "document/author_list.h"

#include "platform/base/system.h"

namespace {
// The smallest author record: id, an empty 8-bit string, time.
constexpr std::uint64_t kMinAuthorRecord = 4 + 1 + 4;
} // namespace

const plat::ColorRef CAuthorList::kColors[kColorCount] = {
    0x0000FF, 0xFF0000, 0x3399FF, 0x9933FF, 0xCC0099,
    0xFFB1C7, 0x00C000, 0x003250, 0xC0C000, 0xC00000,
    0x6BC6FF, 0x800000, 0x000080, 0x6B8FFF, 0x9933FF,
};

CAuthor::CAuthor(std::int32_t id, plat::String name)
    : m_id(id), m_name(std::move(name)), m_time(static_cast<std::int32_t>(plat::Now()))
{
}

void CAuthor::Load(plat::Archive& ar)
{
    m_id = ar.ReadI32();
    m_name = ar.ReadString();
    m_time = ar.ReadI32();
}

void CAuthor::Save(plat::Archive& ar) const
{
    ar.WriteI32(m_id);
    ar.WriteString(m_name);
    ar.WriteI32(m_time);
}

const CAuthor* CAuthorList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_authors[static_cast<size_t>(index)].get() : nullptr;
}

void CAuthorList::Append(std::int32_t id, plat::String name)
{
    m_authors.push_back(std::make_unique<CAuthor>(id, std::move(name)));
}

void CAuthorList::SetLastAuthor(std::int32_t id, plat::String name)
{
    if (m_authors.empty()) return;
    m_authors.back()->m_id = id;
    m_authors.back()->m_name = std::move(name);
}

bool CAuthorList::IsSingleAuthor() const
{
    return m_authors.empty() || IsSameAuthorFrom(0);
}

bool CAuthorList::IsSameAuthorFrom(int index) const
{
    const CAuthor* from = GetAt(index);
    if (!from) return false;
    for (size_t i = static_cast<size_t>(index); i < m_authors.size(); ++i)
        if (m_authors[i]->m_id != from->m_id) return false;
    return true;
}

plat::ColorRef CAuthorList::GetAuthorColor(int index) const
{
    const CAuthor* author = GetAt(index);
    if (!author) return kColors[0];
    if (author->m_id == m_authors.front()->m_id) return 0;
    // A negative id must not index before the table.
    int slot = author->m_id % kColorCount;
    if (slot < 0) slot += kColorCount;
    return kColors[slot];
}

void CAuthorList::Load(plat::Archive& ar)
{
    std::int32_t count = ar.ReadI32();
    if (count < 0) throw plat::ArchiveException(plat::ArchiveException::kBadIndex, "author count");
    ar.Require(static_cast<std::uint64_t>(count) * kMinAuthorRecord);
    std::vector<std::unique_ptr<CAuthor>> loaded;
    loaded.reserve(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto author = std::make_unique<CAuthor>();
        author->Load(ar);
        loaded.push_back(std::move(author));
    }
    for (auto& a : loaded) m_authors.push_back(std::move(a));
}

void CAuthorList::Save(plat::Archive& ar) const
{
    ar.WriteI32(static_cast<std::int32_t>(m_authors.size()));
    for (const auto& a : m_authors) a->Save(ar);
}

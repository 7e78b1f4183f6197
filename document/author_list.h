// Revision authors: one record per editing visit. Items name the record under which they
// were inserted and deleted by its index; the last record is the current author.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CAuthor {
public:
    // Empty, for loading.
    CAuthor() = default;
    // Stamped with the current time.
    CAuthor(std::int32_t id, plat::String name);

    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

    std::int32_t m_id = 0;     // set by the host; 0 for an anonymous author
    plat::String m_name;
    std::int32_t m_time = 0;   // seconds since 1970 when the record was made
};

class CAuthorList {
public:
    // Revision colours by author id modulo 15.
    static constexpr int kColorCount = 15;
    static const plat::ColorRef kColors[kColorCount];

    CAuthorList() = default;
    CAuthorList(const CAuthorList&) = delete;
    CAuthorList& operator=(const CAuthorList&) = delete;

    int GetCount() const { return static_cast<int>(m_authors.size()); }
    // Null outside the table.
    const CAuthor* GetAt(int index) const;
    void Append(std::int32_t id, plat::String name);
    const CAuthor* GetFirst() const { return GetAt(0); }
    const CAuthor* GetLast() const { return GetAt(GetLastIndex()); }
    int GetLastIndex() const { return GetCount() - 1; }
    // Renames the last record (its time stays); nothing when the table is empty.
    void SetLastAuthor(std::int32_t id, plat::String name);
    // True when every record has the id of record 0 (an empty table counts as single).
    bool IsSingleAuthor() const;
    // True when every record from the index on has the id of the record at the index;
    // false for an index outside the table.
    bool IsSameAuthorFrom(int index) const;
    // 0 (no revision colour) for a record with the first record's id, else the colour of
    // its id modulo 15; an index outside the table gets the first colour.
    plat::ColorRef GetAuthorColor(int index) const;
    void RemoveAll() { m_authors.clear(); }
    // Whether an author index read from a record may stand in a table of `count` records
    // (-1: a table not known, where only negative indices are out). Index 0 always may:
    // a document's table may still be empty.
    static bool IsReadableIndex(std::int32_t index, int count)
    {
        return index >= 0 && (count < 0 || index == 0 || index < count);
    }

    // Appends the records it reads; a refused record appends nothing.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

private:
    std::vector<std::unique_ptr<CAuthor>> m_authors;
};

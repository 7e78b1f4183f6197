// Reading a counted list of records into owned objects.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/file/archive.h"

namespace plat {

// Reads an int32 count and that many records, each into a fresh object from make() by its
// Load(archive). The count is checked against the data left (every record takes at least
// minRecordBytes) before anything is allocated for it. On a refused record the objects
// read so far are destroyed and the error passes on, so the caller adds all or nothing.
template <class T, class Make>
std::vector<std::unique_ptr<T>> ReadOwnedRecords(Archive& ar, std::uint64_t minRecordBytes, const char* what,
                                                 Make make)
{
    const std::int32_t count = ar.ReadI32();
    if (count < 0) throw ArchiveException(ArchiveException::kBadIndex, what);
    ar.Require(static_cast<std::uint64_t>(count) * minRecordBytes);
    std::vector<std::unique_ptr<T>> records;
    records.reserve(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<T> record = make();
        record->Load(ar);
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace plat

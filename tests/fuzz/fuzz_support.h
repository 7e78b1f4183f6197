// Helpers the fuzz targets share.
#pragma once
#include <cstdint>
#include <vector>

#include "document/doc_body.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"

namespace fuzzsupport {

// The body's record in the archive mode, as bytes.
inline std::vector<std::uint8_t> BodyRecord(CDocBody& body, int mode = kArchiveFile)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    body.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

} // namespace fuzzsupport

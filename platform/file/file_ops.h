// Whole-file operations: the status of a path (times and size) and copying one file.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"

namespace plat {

struct FileStatus {
    std::int64_t created = 0;  // seconds since 1970; the modification time when unknown
    std::int64_t modified = 0; // seconds since 1970
    std::uint64_t size = 0;
};

// One query of the path. The birth time comes from the file system where it keeps one;
// where it does not (or reports zero), the modification time stands in for it.
bool GetFileStatus(const String& path, FileStatus& status);

// Copies a regular file. With failIfExists an existing target is left alone and the copy
// fails. Sources that are not regular files (directories, pipes, devices) are refused, so
// a copy never blocks or runs forever. A target left half-written by a failed copy is
// removed.
bool CopyFile(const String& from, const String& to, bool failIfExists);

// Makes the folder an empty one for files written afresh: the regular files directly
// inside it are deleted (never recursively, never through a link: a link named like the
// folder is removed, not followed), the folder is removed and made again (mode 0755).
// True when an empty-of-regular-files folder exists there afterwards.
bool RecreateFolder(const String& path);

} // namespace plat

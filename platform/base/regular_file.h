// Opening a path that must name a regular file. The open itself never waits: opening a
// FIFO for reading blocks until some writer comes, and a device can hang as long, so the
// path is opened without blocking, checked, and only then made a blocking descriptor.
// Anything that is not a regular file is refused as a file that cannot be read is.
#pragma once
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace plat {

// open(2) with these flags and mode, refusing what is not a regular file: -1 with errno
// set (EISDIR for a folder, EACCES for a pipe, device or socket). The descriptor it
// returns blocks as an ordinary one does.
int OpenRegularFile(const std::string& path, int oflags, mode_t mode = 0644);

// The same for reading through stdio ("rb"); null when refused.
std::FILE* OpenRegularFileForReading(const std::string& path);

} // namespace plat

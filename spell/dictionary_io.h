// Whole-file reads and safe replacement of the dictionary files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/strings.h"

namespace orthon {

enum class FileReadResult { kRead, kCannotOpen, kTooLarge };

// A file opened for reading whole, with its size when it was opened; closed with the object.
class WholeFile {
public:
    WholeFile() = default;
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // A file larger than maxBytes is refused rather than held in memory.
    FileReadResult Open(const plat::String& path, std::uint64_t maxBytes);
    std::size_t Size() const { return m_size; }
    // Reads from the start into room for Size() bytes; the bytes read, fewer when the file
    // shrank meanwhile. False on a read error.
    bool ReadAll(void* room, std::size_t& got);

private:
    int m_fd = -1;
    std::size_t m_size = 0;
};

// File bytes in storage that is not cleared before the read fills it.
struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};

// Asks for large pages over a fresh buffer of at least kLargeBufferBytes, before it is
// first written: filling it then takes a few page faults instead of thousands. Only a
// hint; smaller buffers are left alone.
constexpr std::size_t kLargeBufferBytes = std::size_t(4) << 20;
void PreferLargePages(void* data, std::size_t bytes);

// Reads the whole file into bytes (emptied first). A file larger than maxBytes is
// refused rather than held in memory.
FileReadResult ReadWholeFile(const plat::String& path, FileBytes& bytes, std::uint64_t maxBytes);

// Writes the bytes to a temporary file in the target's folder, flushes it to the disk and
// renames it over the target, so a failed write leaves the old file whole. False on failure.
bool ReplaceFile(const plat::String& path, const void* data, std::size_t size);

} // namespace orthon

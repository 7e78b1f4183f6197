// Whole-file reads and safe replacement of the dictionary files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/strings.h"

namespace orthon {

enum class FileReadResult { kRead, kCannotOpen, kTooLarge };

// Reads the whole file into bytes (emptied first). A file larger than maxBytes is
// refused rather than held in memory.
FileReadResult ReadWholeFile(const plat::String& path, std::vector<std::uint8_t>& bytes,
                             std::uint64_t maxBytes);

// Writes the bytes to a temporary file in the target's folder, flushes it to the disk and
// renames it over the target, so a failed write leaves the old file whole. False on failure.
bool ReplaceFile(const plat::String& path, const void* data, std::size_t size);

} // namespace orthon

// Writing a file that replaces another in one step: the data goes to a new file beside
// the target, which is flushed to the disk and then renamed over the target. Until the
// rename the old file stays whole; a write that fails or is abandoned leaves it as it was
// and removes the new file.
#pragma once
#include <cstdio>
#include <string>

#include "platform/base/strings.h"
#include "platform/file/file.h"

namespace plat {

// Whether a finished file is flushed to the disk before it takes the target's place. A
// scratch file, which this process reads back and removes while running, needs no sync:
// losing it in a crash loses nothing.
enum class FileDurability { kSynced, kScratch };

class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile() { Discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the new file beside the target (never following or reusing an existing
    // name). It gets the permissions of the file it replaces, or 0644. A target that is a
    // link is followed: the file it names is replaced, in its own folder, and the link
    // stays. A file that could not be written in place (no write permission, or no write
    // bit for anyone) is refused. New files of this target that killed processes left
    // beside it ("TARGET.~PID-N" of a process that is gone, owned by us) are removed first.
    bool Open(const String& target);
    bool IsOpen() const { return m_file != nullptr; }
    std::FILE* Stdio() const { return m_file; }
    const std::string& TempPath() const { return m_temp; }

    // Flushes, syncs (unless a scratch file) and closes the new file, then renames it over
    // the target. False (and the new file removed) when any step fails.
    bool Commit(FileDurability durability = FileDurability::kSynced);
    // Closes and removes the new file; the target is untouched.
    void Discard();

private:
    std::FILE* m_file = nullptr;
    std::string m_temp;
    std::string m_target;
};

// A stream over a stdio file, so that an archive can write through a ReplacingFile.
class StdioStream : public Stream {
public:
    explicit StdioStream(std::FILE* file) : m_file(file) {}
    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override;
    std::uint64_t GetPosition() const override;
    std::uint64_t GetLength() const override;
    void Flush() override;

private:
    std::FILE* m_file;
};

} // namespace plat

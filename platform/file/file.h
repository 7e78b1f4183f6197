// Files and growable memory files behind one stream interface, with the exceptions
// the serialisation archive and its callers catch.
#pragma once
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/strings.h"

namespace plat {

class FileException : public std::runtime_error {
public:
    enum Cause {
        kGeneric = 1,
        kFileNotFound,
        kAccessDenied,
        kBadSeek,
        kDiskFull,
        kEndOfFile,
    };
    FileException(Cause cause, const std::string& path, int osError = 0);
    Cause GetCause() const { return m_cause; }
    int OsError() const { return m_osError; }
    const std::string& Path() const { return m_path; }

private:
    Cause m_cause;
    std::string m_path;
    int m_osError;
};

// A byte stream with a position: a file on disk or a memory file.
class Stream {
public:
    enum SeekFrom { kBegin, kCurrent, kEnd };
    virtual ~Stream() = default;
    // Reads up to n bytes; returns how many were read (fewer only at the end).
    virtual size_t Read(void* buffer, size_t n) = 0;
    virtual void Write(const void* buffer, size_t n) = 0;
    virtual std::uint64_t Seek(std::int64_t offset, SeekFrom from) = 0;
    virtual std::uint64_t GetPosition() const = 0;
    virtual std::uint64_t GetLength() const = 0;
    virtual void Flush() {}
    virtual void Close() {}
};

class File : public Stream {
public:
    enum OpenFlags {
        kRead = 1,        // open an existing file for reading
        kWrite = 2,       // open for writing
        kReadWrite = 3,
        kCreate = 4,      // with kWrite: create, truncating an existing file
        kNoTruncate = 8,  // with kCreate: an existing file keeps its content
    };
    File() = default;
    // Opens or throws FileException.
    File(const String& path, int flags) { Open(path, flags); }
    ~File() override;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Returns false (and leaves the object closed) when the file cannot be opened.
    bool TryOpen(const String& path, int flags, FileException::Cause* cause = nullptr);
    void Open(const String& path, int flags);
    bool IsOpen() const { return m_fd >= 0; }

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override;
    std::uint64_t GetPosition() const override;
    std::uint64_t GetLength() const override;
    // Pushes the written bytes to the disk (fsync).
    void Flush() override;
    void Close() override;

    const String& GetPath() const { return m_path; }

    static bool Exists(const String& path);
    // Removes a file; false when it could not be removed.
    static bool Remove(const String& path);
    // Renames over an existing target atomically.
    static bool Rename(const String& from, const String& to);

private:
    [[noreturn]] void Fail(FileException::Cause cause, int err) const;
    int m_fd = -1;
    String m_path;
};

// A memory file that grows as it is written.
class MemFile : public Stream {
public:
    MemFile() = default;
    explicit MemFile(std::vector<std::uint8_t> data) : m_data(std::move(data)) {}

    size_t Read(void* buffer, size_t n) override;
    void Write(const void* buffer, size_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override;
    std::uint64_t GetPosition() const override { return m_pos; }
    std::uint64_t GetLength() const override { return m_data.size(); }

    const std::vector<std::uint8_t>& Data() const { return m_data; }
    std::vector<std::uint8_t> Detach();
    void SetLength(size_t n);

private:
    std::vector<std::uint8_t> m_data;
    size_t m_pos = 0;
};

// Cause of a failed open from errno.
FileException::Cause CauseFromErrno(int err);

} // namespace plat

#include "platform/file/file.h"

#include "platform/base/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace plat {

namespace {
std::string CauseText(FileException::Cause cause)
{
    switch (cause) {
    case FileException::kFileNotFound: return "file not found";
    case FileException::kAccessDenied: return "access denied";
    case FileException::kBadSeek: return "bad seek";
    case FileException::kDiskFull: return "disk full";
    case FileException::kEndOfFile: return "end of file";
    default: return "file error";
    }
}
} // namespace

FileException::FileException(Cause cause, const std::string& path, int osError)
    : std::runtime_error(CauseText(cause) + (path.empty() ? "" : ": " + path) +
                         (osError ? std::string(" (") + std::strerror(osError) + ")" : "")),
      m_cause(cause), m_path(path), m_osError(osError)
{
}

FileException::Cause CauseFromErrno(int err)
{
    switch (err) {
    case ENOENT: case ENOTDIR: return FileException::kFileNotFound;
    case EACCES: case EPERM: case EROFS: case EISDIR: return FileException::kAccessDenied;
    case ENOSPC: case EDQUOT: return FileException::kDiskFull;
    default: return FileException::kGeneric;
    }
}

File::~File()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool File::TryOpen(const String& path, int flags, FileException::Cause* cause)
{
    Close();
    int oflags = 0;
    if ((flags & kReadWrite) == kReadWrite) oflags |= O_RDWR;
    else if (flags & kWrite) oflags |= O_WRONLY;
    else oflags |= O_RDONLY;
    if (flags & kCreate) oflags |= (flags & kNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
    // Folders, pipes and devices are refused like unreadable files; a pipe never blocks us.
    const int fd = OpenRegularFile(Utf16ToUtf8(path), oflags);
    if (fd < 0) {
        if (cause) *cause = CauseFromErrno(errno);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void File::Open(const String& path, int flags)
{
    FileException::Cause cause = FileException::kGeneric;
    if (!TryOpen(path, flags, &cause)) throw FileException(cause, Utf16ToUtf8(path), errno);
}

void File::Fail(FileException::Cause cause, int err) const
{
    throw FileException(cause, Utf16ToUtf8(m_path), err);
}

size_t File::Read(void* buffer, size_t n)
{
    if (m_fd < 0) Fail(FileException::kGeneric, EBADF);
    size_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < n) {
        ssize_t r = ::read(m_fd, p + done, n - done);
        if (r < 0) {
            if (errno == EINTR) continue;
            Fail(FileException::kGeneric, errno);
        }
        if (r == 0) break;
        done += static_cast<size_t>(r);
    }
    return done;
}

void File::Write(const void* buffer, size_t n)
{
    if (m_fd < 0) Fail(FileException::kGeneric, EBADF);
    size_t done = 0;
    auto* p = static_cast<const char*>(buffer);
    while (done < n) {
        ssize_t r = ::write(m_fd, p + done, n - done);
        if (r < 0) {
            if (errno == EINTR) continue;
            Fail(errno == ENOSPC ? FileException::kDiskFull : FileException::kGeneric, errno);
        }
        done += static_cast<size_t>(r);
    }
}

std::uint64_t File::Seek(std::int64_t offset, SeekFrom from)
{
    if (m_fd < 0) Fail(FileException::kGeneric, EBADF);
    int whence = from == kBegin ? SEEK_SET : from == kCurrent ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(m_fd, offset, whence);
    if (r < 0) Fail(FileException::kBadSeek, errno);
    return static_cast<std::uint64_t>(r);
}

std::uint64_t File::GetPosition() const
{
    if (m_fd < 0) return 0;
    off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    return r < 0 ? 0 : static_cast<std::uint64_t>(r);
}

std::uint64_t File::GetLength() const
{
    if (m_fd < 0) return 0;
    struct stat st{};
    if (fstat(m_fd, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

void File::Flush()
{
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL)
        Fail(errno == ENOSPC ? FileException::kDiskFull : FileException::kGeneric, errno);
}

void File::Close()
{
    if (m_fd >= 0) {
        int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            throw FileException(FileException::kGeneric, Utf16ToUtf8(m_path), errno);
    }
}

bool File::Exists(const String& path)
{
    struct stat st{};
    return ::stat(Utf16ToUtf8(path).c_str(), &st) == 0;
}

bool File::Remove(const String& path)
{
    return ::unlink(Utf16ToUtf8(path).c_str()) == 0;
}

bool File::Rename(const String& from, const String& to)
{
    return ::rename(Utf16ToUtf8(from).c_str(), Utf16ToUtf8(to).c_str()) == 0;
}

size_t MemFile::Read(void* buffer, size_t n)
{
    size_t avail = m_pos < m_data.size() ? m_data.size() - m_pos : 0;
    size_t take = std::min(n, avail);
    if (take) std::memcpy(buffer, m_data.data() + m_pos, take);
    m_pos += take;
    return take;
}

void MemFile::Write(const void* buffer, size_t n)
{
    if (m_pos + n > m_data.size()) m_data.resize(m_pos + n);
    if (n) std::memcpy(m_data.data() + m_pos, buffer, n);
    m_pos += n;
}

std::uint64_t MemFile::Seek(std::int64_t offset, SeekFrom from)
{
    std::int64_t base = from == kBegin ? 0 : from == kCurrent ? static_cast<std::int64_t>(m_pos)
                                                              : static_cast<std::int64_t>(m_data.size());
    std::int64_t target = base + offset;
    if (target < 0) throw FileException(FileException::kBadSeek, "memory file");
    m_pos = static_cast<size_t>(target);
    return m_pos;
}

std::vector<std::uint8_t> MemFile::Detach()
{
    m_pos = 0;
    return std::exchange(m_data, {});
}

void MemFile::SetLength(size_t n)
{
    m_data.resize(n);
    if (m_pos > n) m_pos = n;
}

} // namespace plat

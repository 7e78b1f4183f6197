#include "platform/file/replacing_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

bool ReplacingFile::Open(const String& target)
{
    Discard();
    m_target = Utf16ToUtf8(target);
    if (m_target.empty() || m_target.back() == '/') return false;
    static std::atomic<unsigned> counter{0};
    struct stat st{};
    mode_t mode = ::stat(m_target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = m_target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        (void)::fchmod(fd, mode);
        m_file = ::fdopen(fd, "wb");
        if (!m_file) {
            ::close(fd);
            ::unlink(name.c_str());
            return false;
        }
        m_temp = std::move(name);
        return true;
    }
    return false;
}

bool ReplacingFile::Commit(FileDurability durability)
{
    if (!m_file) return false;
    std::FILE* file = m_file;
    m_file = nullptr;
    bool ok = std::fflush(file) == 0 && !std::ferror(file) &&
              (durability == FileDurability::kScratch || ::fsync(::fileno(file)) == 0);
    ok = std::fclose(file) == 0 && ok;
    ok = ok && ::rename(m_temp.c_str(), m_target.c_str()) == 0;
    if (!ok) ::unlink(m_temp.c_str());
    m_temp.clear();
    return ok;
}

void ReplacingFile::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

size_t StdioStream::Read(void* buffer, size_t n)
{
    size_t got = std::fread(buffer, 1, n, m_file);
    if (got < n && std::ferror(m_file)) throw FileException(FileException::kGeneric, "", errno);
    return got;
}

void StdioStream::Write(const void* buffer, size_t n)
{
    if (n && std::fwrite(buffer, 1, n, m_file) != n)
        throw FileException(errno == ENOSPC ? FileException::kDiskFull : FileException::kGeneric, "", errno);
}

std::uint64_t StdioStream::Seek(std::int64_t offset, SeekFrom from)
{
    int whence = from == kBegin ? SEEK_SET : from == kCurrent ? SEEK_CUR : SEEK_END;
    if (::fseeko(m_file, offset, whence) != 0) throw FileException(FileException::kBadSeek, "", errno);
    return GetPosition();
}

std::uint64_t StdioStream::GetPosition() const
{
    off_t pos = ::ftello(m_file);
    return pos < 0 ? 0 : static_cast<std::uint64_t>(pos);
}

std::uint64_t StdioStream::GetLength() const
{
    std::fflush(m_file);
    struct stat st{};
    if (::fstat(::fileno(m_file), &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

void StdioStream::Flush()
{
    if (std::fflush(m_file) != 0) throw FileException(FileException::kGeneric, "", errno);
}

} // namespace plat

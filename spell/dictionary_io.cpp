#include "spell/dictionary_io.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/regular_file.h"

namespace orthon {

namespace {

// Closes the descriptor when the scope ends.
class FdGuard {
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    ~FdGuard() { if (m_fd >= 0) ::close(m_fd); }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return m_fd; }
    int Release() { int fd = m_fd; m_fd = -1; return fd; }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

} // namespace

WholeFile::~WholeFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

FileReadResult WholeFile::Open(const plat::String& path, std::uint64_t maxBytes)
{
    const std::string name = plat::Utf16ToUtf8(path);
    // A pipe or device named as a dictionary is refused without waiting on it.
    FdGuard fd(plat::OpenRegularFile(name, O_RDONLY));
    if (fd.Get() < 0) return FileReadResult::kCannotOpen;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return FileReadResult::kCannotOpen;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxBytes) return FileReadResult::kTooLarge;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = fd.Release();
    m_size = static_cast<std::size_t>(size);
    return FileReadResult::kRead;
}

bool WholeFile::ReadAll(void* room, std::size_t& got)
{
    got = 0;
    auto* p = static_cast<std::uint8_t*>(room);
    while (got < m_size) {
        ssize_t r = ::pread(m_fd, p + got, m_size - got, static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            got = 0;
            return false;
        }
        if (r == 0) break; // the file shrank while it was read: keep what is there
        got += static_cast<std::size_t>(r);
    }
    return true;
}

void PreferLargePages(void* data, std::size_t bytes)
{
    if (bytes < kLargeBufferBytes) return;
    constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
    const auto start = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kLarge - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

FileReadResult ReadWholeFile(const plat::String& path, FileBytes& bytes, std::uint64_t maxBytes)
{
    bytes = FileBytes();
    WholeFile file;
    const FileReadResult opened = file.Open(path, maxBytes);
    if (opened != FileReadResult::kRead) return opened;
    // Left uninitialised: the read fills what is used.
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[file.Size() > 0 ? file.Size() : 1]);
    PreferLargePages(data.get(), file.Size());
    std::size_t got = 0;
    if (!file.ReadAll(data.get(), got)) return FileReadResult::kCannotOpen;
    bytes.data = std::move(data);
    bytes.size = got;
    return FileReadResult::kRead;
}

bool ReplaceFile(const plat::String& path, const void* data, std::size_t size)
{
    const std::string target = plat::Utf16ToUtf8(path);
    if (target.empty()) return false;
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty()) return false;
    std::string temp = folder + "." + base + ".XXXXXX";
    FdGuard fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) return false;

    // Keep the permissions of the file being replaced; a new file is readable by all.
    struct stat st {};
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd.Get(), mode) == 0
        && WriteAll(fd.Get(), static_cast<const std::uint8_t*>(data), size)
        && ::fsync(fd.Get()) == 0;
    ok = (::close(fd.Release()) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

} // namespace orthon

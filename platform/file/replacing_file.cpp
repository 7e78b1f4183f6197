#include "platform/file/replacing_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <climits>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/system.h"

namespace plat {

namespace {

// The new file of a save is named "TARGET.~PID-N": the saving process and its count.
const char kTempMark[] = ".~";
// Links followed to the file a save replaces, as many as the kernel follows in a path.
const int kMaxLinkHops = 40;

// The PID of a new file's name "BASE.~PID-N" of this target, or 0 when it is not one.
pid_t TempOwnerPid(std::string_view name, std::string_view base)
{
    const std::string_view mark(kTempMark);
    if (name.size() <= base.size() + mark.size() || name.substr(0, base.size()) != base ||
        name.substr(base.size(), mark.size()) != mark)
        return 0;
    const std::string_view rest = name.substr(base.size() + mark.size());
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos) return 0;
    const std::string_view count = rest.substr(dash + 1);
    if (count.empty() || !std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return PidFromDigits(rest.substr(0, dash));
}

// Removes the new files that saves of this target left beside it when their process was
// killed: ours by name and owner, of a process that no longer exists.
void RemoveStaleTemps(const std::string& target)
{
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = TempOwnerPid(entry->d_name, base);
        if (pid <= 0 || !ProcessIsGone(pid)) continue;
        struct stat st{};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid())
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

// The file a save to `path` replaces: the path itself, or where its links lead, so that a
// save through a link replaces the file the link names and the link stays. A dangling link
// leads to the new file it names. Empty when the links loop or cannot be read.
std::string ResolveTarget(std::string path)
{
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        struct stat st{};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return std::string();
        link.resize(static_cast<std::size_t>(n));
        // A relative link is read from the folder that holds it.
        const auto slash = path.rfind('/');
        path = link.front() == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    errno = ELOOP;
    return std::string();
}

// A file that could not be written in place is not replaced either: one we have no write
// permission for, or one with no write bit for anyone (which root's permission ignores).
bool MayReplace(const std::string& path, const struct stat& st)
{
    return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

} // namespace

bool ReplacingFile::Open(const String& target)
{
    Discard();
    m_target = ResolveTarget(Utf16ToUtf8(target));
    if (m_target.empty() || m_target.back() == '/') return false;
    struct stat st{};
    const bool exists = ::stat(m_target.c_str(), &st) == 0;
    if (exists && !MayReplace(m_target, st)) {
        errno = EACCES;
        return false;
    }
    RemoveStaleTemps(m_target);
    static std::atomic<unsigned> counter{0};
    const mode_t mode = exists ? (st.st_mode & 07777) : 0644;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = m_target + kTempMark + std::to_string(::getpid()) + "-" + std::to_string(++counter);
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

#include "platform/file/file_ops.h"

#include "platform/base/regular_file.h"

#include <cerrno>
#include <dirent.h>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

bool GetFileStatus(const String& path, FileStatus& status)
{
    struct statx st{};
    const std::string p = Utf16ToUtf8(path);
    if (::statx(AT_FDCWD, p.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) return false;
    status.modified = static_cast<std::int64_t>(st.stx_mtime.tv_sec);
    status.created = (st.stx_mask & STATX_BTIME) && st.stx_btime.tv_sec != 0
                         ? static_cast<std::int64_t>(st.stx_btime.tv_sec)
                         : status.modified;
    status.size = st.stx_size;
    return true;
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

bool CopyBytes(int in, int out)
{
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        ssize_t done = 0;
        while (done < got) {
            ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += put;
        }
    }
}

} // namespace

bool CopyFile(const String& from, const String& to, bool failIfExists)
{
    const std::string src = Utf16ToUtf8(from);
    const std::string dst = Utf16ToUtf8(to);
    // Pipes and devices are refused at either end, without waiting for a peer.
    Fd in(OpenRegularFile(src, O_RDONLY));
    if (in.Get() < 0) return false;
    struct stat st{};
    if (::fstat(in.Get(), &st) != 0) return false;

    const int oflags = O_WRONLY | O_CREAT | (failIfExists ? O_EXCL : 0);
    Fd out(OpenRegularFile(dst, oflags));
    if (out.Get() < 0) return false;
    // Copying a file onto itself must not truncate it first.
    struct stat target{};
    if (::fstat(out.Get(), &target) != 0) return false;
    if (target.st_dev == st.st_dev && target.st_ino == st.st_ino) return true;
    if (::ftruncate(out.Get(), 0) != 0) return false;
    const bool ok = CopyBytes(in.Get(), out.Get());
    if (out.Close() && ok) return true;
    ::unlink(dst.c_str());
    return false;
}

bool RecreateFolder(const String& path)
{
    const std::string dir = Utf16ToUtf8(path);
    struct stat st{};
    if (::lstat(dir.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) {
            // A link or a file in the folder's place goes; what a link names stays.
            if (::unlink(dir.c_str()) != 0) return false;
        } else {
            const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) return false;
            DIR* listing = ::fdopendir(fd);
            if (!listing) {
                ::close(fd);
                return false;
            }
            std::vector<std::string> files;
            while (const dirent* entry = ::readdir(listing)) {
                struct stat est{};
                if (::fstatat(fd, entry->d_name, &est, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(est.st_mode))
                    files.emplace_back(entry->d_name);
            }
            for (const std::string& name : files) ::unlinkat(fd, name.c_str(), 0);
            ::closedir(listing);
            // A folder that still holds something else (a sub-folder, a link) stays.
            ::rmdir(dir.c_str());
        }
    }
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace plat

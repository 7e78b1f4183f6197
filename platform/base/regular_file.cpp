#include "platform/base/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

int OpenRegularFile(const std::string& path, int oflags, mode_t mode)
{
    const int fd = ::open(path.c_str(), oflags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st{};
    int err = 0;
    if (::fstat(fd, &st) != 0) err = errno;
    else if (S_ISDIR(st.st_mode)) err = EISDIR;
    else if (!S_ISREG(st.st_mode)) err = EACCES;
    else if ((oflags & O_NONBLOCK) == 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) err = errno;
    }
    if (err) {
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

std::FILE* OpenRegularFileForReading(const std::string& path)
{
    const int fd = OpenRegularFile(path, O_RDONLY);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        const int err = errno;
        ::close(fd);
        errno = err;
    }
    return file;
}

} // namespace plat

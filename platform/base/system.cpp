#include "platform/base/system.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <mutex>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <uuid/uuid.h>

namespace plat {

namespace {

std::mutex g_lock;
ClockSource g_clock;
bool g_manual = false;
std::int64_t g_manualMs = 0;
GuidSource g_guid;
RandomSource g_random;
std::uint32_t g_seed = 1;

std::string g_tempDir;

void RemoveTempDir()
{
    if (g_tempDir.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(g_tempDir, ec);
}

} // namespace

std::int64_t NowMs()
{
    ClockSource source;
    {
        std::lock_guard<std::mutex> l(g_lock);
        if (g_manual) return g_manualMs;
        source = g_clock;
    }
    if (source) return source();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::int64_t Now()
{
    // Floor division, so that the seconds of a time before the epoch count down as time() does.
    const std::int64_t ms = NowMs();
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

void SetClockSource(ClockSource source)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_manual = false;
    g_clock = std::move(source);
}

void SetManualClock(std::int64_t ms)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_manual = true;
    g_manualMs = ms;
}

bool AdvanceManualClock(std::int64_t ms)
{
    std::lock_guard<std::mutex> l(g_lock);
    if (!g_manual) return false;
    g_manualMs += ms;
    return true;
}

String NewGuid()
{
    GuidSource source;
    {
        std::lock_guard<std::mutex> l(g_lock);
        source = g_guid;
    }
    if (source) return source();
    uuid_t id;
    uuid_generate(id);
    char text[37];
    uuid_unparse_lower(id, text);
    return AsciiToUtf16(text);
}

void SetGuidSource(GuidSource source)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_guid = std::move(source);
}

void RandomSeed(std::uint32_t seed)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_seed = seed;
}

int RandomNext()
{
    RandomSource source;
    {
        std::lock_guard<std::mutex> l(g_lock);
        source = g_random;
        if (!source) {
            g_seed = g_seed * 214013u + 2531011u;
            return static_cast<int>((g_seed >> 16) & 0x7FFF);
        }
    }
    return source();
}

void SetRandomSource(RandomSource source)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_random = std::move(source);
}

pid_t PidFromDigits(std::string_view digits)
{
    if (digits.empty() || digits.size() > 10) return 0;
    long long pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

bool ProcessIsGone(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

namespace {

const char kTempDirPrefix[] = "quiln-";
const std::size_t kTempDirRandomChars = 6; // mkdtemp's XXXXXX

// The PID in a private folder's name "quiln-PID-XXXXXX", or 0 when the name is not one.
pid_t TempDirOwnerPid(std::string_view name)
{
    const std::string_view prefix(kTempDirPrefix);
    if (name.size() < prefix.size() + 2 + kTempDirRandomChars || name.substr(0, prefix.size()) != prefix) return 0;
    const std::size_t dash = name.size() - kTempDirRandomChars - 1;
    if (name[dash] != '-') return 0;
    return PidFromDigits(name.substr(prefix.size(), dash - prefix.size()));
}

void RemoveStaleTempDirs(const std::string& base)
{
    DIR* dir = ::opendir(base.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = TempDirOwnerPid(entry->d_name);
        if (pid <= 0 || !ProcessIsGone(pid)) continue;
        struct stat st{};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700)
            continue;
        std::error_code ec; // removes links inside, never what they point to
        std::filesystem::remove_all(base + entry->d_name, ec);
    }
    ::closedir(dir);
}

} // namespace

std::string MakePrivateTempDir(const std::string& base)
{
    std::string folder = base.empty() ? std::string("/tmp") : base;
    if (folder.back() != '/') folder += '/';
    RemoveStaleTempDirs(folder);
    std::string pattern = folder + kTempDirPrefix + std::to_string(::getpid()) + "-" +
                          std::string(kTempDirRandomChars, 'X');
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create the temporary folder under " + folder);
    chmod(pattern.c_str(), 0700);
    return pattern + "/";
}

std::string TempDirUtf8()
{
    std::lock_guard<std::mutex> l(g_lock);
    if (g_tempDir.empty()) {
        const char* base = std::getenv("TMPDIR");
        g_tempDir = MakePrivateTempDir((base && *base) ? base : "/tmp");
        std::atexit(RemoveTempDir);
    }
    return g_tempDir;
}

String TempDir()
{
    return Utf8ToUtf16(TempDirUtf8());
}

std::string XdgBaseDir(const char* variable, const char* fallback)
{
    const auto trimmed = [](std::string dir) {
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return dir;
    };
    if (const char* own = std::getenv(variable); own && own[0] == '/') return trimmed(own);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw && pw->pw_dir ? pw->pw_dir : "";
    }
    std::string dir = trimmed(home);
    if (dir != "/") dir += '/';
    dir.append(fallback);
    return dir;
}

std::string UserDataDir()
{
    return XdgBaseDir("XDG_DATA_HOME", ".local/share") + "/quiln";
}

bool MakeFolders(const std::string& dir)
{
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dir.find('/', pos + 1);
        partial = dir.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st{};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderIsWritable(const std::string& dir)
{
    return !dir.empty() && ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

String ModulePath(const void* address)
{
    if (!address) address = reinterpret_cast<const void*>(&ModulePath);
    Dl_info info{};
    std::string path;
    if (dladdr(address, &info) && info.dli_fname && *info.dli_fname) {
        path = info.dli_fname;
    }
    // A program's own symbols may report its bare name: fall back to /proc/self/exe.
    if (path.find('/') == std::string::npos) {
        std::error_code ec;
        path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    }
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(path, ec);
    if (!ec) path = canonical.string();
    return Utf8ToUtf16(path);
}

String ModuleDir(const void* address)
{
    const String path = ModulePath(address ? address : reinterpret_cast<const void*>(&ModuleDir));
    auto slash = path.rfind(u'/');
    if (slash == String::npos) return String();
    return path.substr(0, slash);
}

} // namespace plat

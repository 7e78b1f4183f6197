#include "platform/base/system.h"

#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <uuid/uuid.h>

namespace plat {

namespace {

std::mutex g_lock;
ClockSource g_clock;
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

std::int64_t Now()
{
    ClockSource source;
    {
        std::lock_guard<std::mutex> l(g_lock);
        source = g_clock;
    }
    return source ? source() : static_cast<std::int64_t>(std::time(nullptr));
}

void SetClockSource(ClockSource source)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_clock = std::move(source);
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

std::string TempDirUtf8()
{
    std::lock_guard<std::mutex> l(g_lock);
    if (g_tempDir.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = (base && *base) ? base : "/tmp";
        if (pattern.back() != '/') pattern += '/';
        pattern += "quiln-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create the temporary folder under " + pattern);
        chmod(pattern.c_str(), 0700);
        g_tempDir = pattern + "/";
        std::atexit(RemoveTempDir);
    }
    return g_tempDir;
}

String TempDir()
{
    return Utf8ToUtf16(TempDirUtf8());
}

String ModuleDir(const void* address)
{
    if (!address) address = reinterpret_cast<const void*>(&ModuleDir);
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
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return String();
    return Utf8ToUtf16(path.substr(0, slash));
}

} // namespace plat

// Small helpers shared by the test suites.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

// A whole file's bytes (none when it cannot be read), and a file written with them.
inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const Bytes& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// 36 lower-case hexadecimal characters in the groups 8-4-4-4-12, without braces.
inline bool IsGuidForm(const std::string& s)
{
    if (s.size() != 36) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        char c = s[i];
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// The PID of a process that has just ended and been reaped: no process has it (until the
// system hands it out again, which takes a long while).
inline pid_t GonePid()
{
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    if (pid > 0) ::waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace testsupport

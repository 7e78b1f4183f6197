// Small helpers shared by the test suites.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

// Sets an environment variable (or unsets it, for nullopt) and puts it back afterwards.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvVar()
    {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

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

// A child process with a pipe to its parent: the child runs `body` with the pipe's write
// end and ends with _exit of what it returns; the parent gets the child's PID and the read
// end (both -1 when the pipe or the fork failed).
struct ChildProcess {
    pid_t pid = -1;
    int fromChild = -1;
};

inline ChildProcess ForkWithPipe(const std::function<int(int toParent)>& body)
{
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::_exit(body(fds[1]));
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return {};
    }
    return {pid, fds[0]};
}

} // namespace testsupport

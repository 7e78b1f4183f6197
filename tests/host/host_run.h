// Runs quiln-host as a user runs it, from a working folder, for the host tests.
#pragma once
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace hosttest {

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
};

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// quiln-host with the arguments, run in dir: its outputs and exit status (-1 when it did
// not exit normally).
inline Outcome RunHost(const std::filesystem::path& dir, const std::vector<std::string>& args)
{
    const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const pid_t child = ::fork();
    if (child == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 || ::chdir(dir.c_str()) != 0)
            ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(QUILN_HOST_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(QUILN_HOST_PATH, argv.data());
        ::_exit(127);
    }
    Outcome outcome;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    outcome.out = ReadText(out);
    outcome.err = ReadText(err);
    return outcome;
}

} // namespace hosttest

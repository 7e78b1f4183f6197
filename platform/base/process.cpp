#include "platform/base/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace plat {

namespace {

std::mutex g_childrenLock;
std::vector<ChildProcess>& Children()
{
    static std::vector<ChildProcess> children;
    return children;
}

bool IsListed(pid_t pid)
{
    std::lock_guard<std::mutex> lock(g_childrenLock);
    const auto& c = Children();
    return std::any_of(c.begin(), c.end(), [pid](const ChildProcess& p) { return p.pid == pid; });
}

void Unlist(pid_t pid)
{
    std::lock_guard<std::mutex> lock(g_childrenLock);
    auto& c = Children();
    c.erase(std::remove_if(c.begin(), c.end(), [pid](const ChildProcess& p) { return p.pid == pid; }), c.end());
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// One look at a child without blocking. A host that ignores SIGCHLD (or reaps its
// children itself) leaves no status, only the end of the child: kUnknown then.
ChildResult PollChild(pid_t pid)
{
    int status = 0;
    pid_t r;
    while ((r = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == 0) return {ChildState::kRunning, 0};
    if (r != pid) return {ChildState::kUnknown, 0};
    if (WIFEXITED(status)) return {ChildState::kExited, WEXITSTATUS(status)};
    return {ChildState::kCrashed, 0};
}

// Waits until the child ended or the time is up, sleeping a little longer each time.
ChildResult WaitChild(pid_t pid, std::chrono::steady_clock::time_point until)
{
    useconds_t pause = 100;
    for (;;) {
        const ChildResult r = PollChild(pid);
        if (r.state != ChildState::kRunning || std::chrono::steady_clock::now() >= until) return r;
        ::usleep(pause);
        pause = std::min<useconds_t>(pause * 2, 5000);
    }
}

void KillAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    // Never a blocking wait: a host that ignores SIGCHLD would have it wait for every
    // child it has.
    while (PollChild(pid).state == ChildState::kRunning) ::usleep(200);
}

} // namespace

pid_t StartProgram(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0].empty()) return -1;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    std::lock_guard<std::mutex> lock(g_childrenLock);
    Children().push_back({pid, FileNameOf(argv[0])});
    return pid;
}

ChildResult WaitProgram(pid_t pid, std::chrono::milliseconds limit)
{
    if (!IsListed(pid)) return {};
    const ChildResult r = WaitChild(pid, std::chrono::steady_clock::now() + limit);
    if (r.state != ChildState::kRunning) Unlist(pid);
    return r;
}

int RunProgramAndWait(const std::vector<std::string>& argv)
{
    const pid_t pid = StartProgram(argv);
    if (pid < 0) return -1;
    const ChildResult r = WaitProgram(pid, std::chrono::hours(24 * 365));
    return r.state == ChildState::kExited ? r.exitCode : -1;
}

bool EndProgram(pid_t pid)
{
    if (!IsListed(pid)) return false;
    KillAndReap(pid);
    Unlist(pid);
    return true;
}

std::vector<ChildProcess> ListChildProcesses()
{
    std::vector<ChildProcess> listed;
    {
        std::lock_guard<std::mutex> lock(g_childrenLock);
        listed = Children();
    }
    std::vector<ChildProcess> running;
    for (const ChildProcess& c : listed) {
        if (PollChild(c.pid).state == ChildState::kRunning) running.push_back(c);
        else Unlist(c.pid);
    }
    return running;
}

int EndProgramsNamed(const std::string& program)
{
    int ended = 0;
    for (const ChildProcess& c : ListChildProcesses()) {
        if (!SameNameIgnoringCase(c.program, program)) continue;
        if (EndProgram(c.pid)) ++ended;
    }
    return ended;
}

// ---- forked runs ----

namespace {
// Set by the child after the shared block, once the work succeeded.
constexpr std::uint32_t kDoneMark = 0x444F4E45;
std::size_t MarkOffset(std::size_t bytes)
{
    return (bytes + 3) / 4 * 4;
}
} // namespace

std::unique_ptr<ForkedRun> ForkedRun::Start(const std::function<bool(void* shared)>& work, std::size_t sharedBytes,
                                            std::chrono::seconds limit)
{
    const std::size_t total = MarkOffset(sharedBytes) + 4;
    void* shared = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) return nullptr;
    std::unique_ptr<ForkedRun> run(new ForkedRun(shared, total));
    auto* mark = reinterpret_cast<volatile std::uint32_t*>(static_cast<char*>(shared) + MarkOffset(sharedBytes));
    const pid_t child = ::fork();
    if (child == 0) {
        // The alarm must end the child whatever the host did with the signal.
        ::signal(SIGALRM, SIG_DFL);
        sigset_t alarmOnly;
        sigemptyset(&alarmOnly);
        sigaddset(&alarmOnly, SIGALRM);
        ::sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
        ::alarm(static_cast<unsigned>(std::max<std::chrono::seconds::rep>(1, limit.count())));
        const bool ok = work(shared);
        if (ok) *mark = kDoneMark;
        ::_exit(ok ? 0 : 1);
    }
    if (child < 0) {
        run->m_state = State::kFailed;
        return nullptr;
    }
    run->m_child = child;
    return run;
}

ForkedRun::~ForkedRun()
{
    if (m_state == State::kRunning && m_child > 0 && PollChild(m_child).state == ChildState::kRunning)
        KillAndReap(m_child);
    ::munmap(m_shared, m_bytes);
}

ForkedRun::State ForkedRun::Wait(std::chrono::milliseconds budget)
{
    if (m_state != State::kRunning) return m_state;
    return Settle(WaitChild(m_child, std::chrono::steady_clock::now() + budget));
}

ForkedRun::State ForkedRun::Settle(const ChildResult& r)
{
    if (r.state == ChildState::kRunning) return m_state;
    // Without a status (kUnknown: the host reaps its own children) the mark alone tells.
    const bool exitedWell = r.state == ChildState::kExited ? r.exitCode == 0 : r.state == ChildState::kUnknown;
    const auto* mark = reinterpret_cast<volatile std::uint32_t*>(static_cast<char*>(m_shared) + m_bytes - 4);
    m_state = exitedWell && *mark == kDoneMark ? State::kDone : State::kFailed;
    return m_state;
}

} // namespace plat

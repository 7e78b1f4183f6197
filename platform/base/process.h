// Child processes: the one way the system runs anything outside itself. Programs are
// started from an argument vector (never through a shell, so a path with spaces arrives
// as one argument), waited for with a time limit and ended; only processes this process
// started are ever listed or ended. A function of ours that calls a library we do not
// trust runs in a forked child under a time limit and hands its result back through
// shared memory, so that a crash or a hang costs that result, never the host.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace plat {

// A program started by this process.
struct ChildProcess {
    pid_t pid = -1;
    std::string program; // the file name of the program (no folder), as started
};

// Starts argv[0] (looked up on PATH when it holds no '/') with the arguments; -1 when it
// cannot be started (no such program, not executable). The child is listed until it is
// reaped by WaitProgram, EndProgram or ListChildProcesses.
pid_t StartProgram(const std::vector<std::string>& argv);

enum class ChildState { kRunning, kExited, kCrashed, kUnknown };
struct ChildResult {
    ChildState state = ChildState::kUnknown;
    int exitCode = 0; // for kExited
};
// Waits at most `limit` for a listed child to end, and reaps it when it did; kUnknown for a
// process that is not one of ours.
ChildResult WaitProgram(pid_t pid, std::chrono::milliseconds limit);
// Starts the program and waits for it without a limit; the exit code, or -1 when it could
// not be started or did not exit normally.
int RunProgramAndWait(const std::vector<std::string>& argv);
// Ends a listed child (SIGKILL) and reaps it; false for a process that is not ours.
bool EndProgram(pid_t pid);
// The children still running, oldest first; ended ones are reaped and dropped.
std::vector<ChildProcess> ListChildProcesses();
// Ends every listed child whose program file name equals `program` (no folder; ASCII case
// ignored); the number ended.
int EndProgramsNamed(const std::string& program);

// A function of ours run in a forked child, its result handed back through a shared block
// of memory. The child gets `limit` to finish; one that outlives it is killed.
class ForkedRun {
public:
    enum class State { kRunning, kDone, kFailed };
    // The function fills the shared block and returns true on success (the exit status
    // of the child). nullptr when no child could be started.
    static std::unique_ptr<ForkedRun> Start(const std::function<bool(void* shared)>& work, std::size_t sharedBytes,
                                            std::chrono::seconds limit);
    ~ForkedRun(); // kills a child still running and reaps it
    ForkedRun(const ForkedRun&) = delete;
    ForkedRun& operator=(const ForkedRun&) = delete;

    // Waits at most `budget` for the child; never blocks past it.
    State Wait(std::chrono::milliseconds budget);
    State GetState() const { return m_state; }
    // The shared block: what the child wrote, once kDone.
    void* Shared() const { return m_shared; }

private:
    ForkedRun(void* shared, std::size_t bytes) : m_shared(shared), m_bytes(bytes) {}
    State Settle(const ChildResult& result);

    void* m_shared;
    std::size_t m_bytes;
    pid_t m_child = -1;
    State m_state = State::kRunning;
};

} // namespace plat

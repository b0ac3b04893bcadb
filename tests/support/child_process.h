// A program started for a test in a process group of its own, so that it and
// anything it starts can be ended together. It is ended when the object goes,
// and by the kernel when the process that started it dies first.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>
#include <sys/wait.h>

struct ChildOptions {
    // The first argument names the program: a path, or a name looked up in PATH.
    std::vector<std::string> arguments;
    // Set (or replaced) on top of this process's environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Removed from the environment.
    std::vector<std::string> unset;
    // Empty: this process's working directory.
    std::string workingDirectory;
    // Standard output and error go to this file; empty: /dev/null.
    std::string logPath;
};

class ChildProcess {
public:
    // Throws std::runtime_error when the program cannot be found or started.
    explicit ChildProcess(const ChildOptions& options);
    // Ends the process group, as stop() does.
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return processId; }
    // Collects the exit status if the process has ended since last asked.
    bool hasExited() { return reap(WNOHANG); }
    // The status from waitpid once the process has ended, else nothing.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Sends the signal to the process alone.
    void signal(int number) const;
    // Asks the whole group to end with SIGTERM and, if it has not after the
    // grace time, kills it. Returns the leader's wait status. Whatever the
    // leader leaves in its group is killed when it ends, however it ends.
    int stop(std::chrono::milliseconds grace = std::chrono::seconds(5));

private:
    bool reap(int flags);

    pid_t processId = -1;
    std::optional<int> waitStatus;
};

// Where a program of that name is found in PATH; empty when it is not.
std::string findProgram(const std::string& name);

// "exited with status 3", "was killed by signal 9", or "is still running".
std::string describeWaitStatus(std::optional<int> status);
// The program has ended, by exit with status 0.
bool exitedWithStatusZero(std::optional<int> status);

struct ProgramRun {
    bool succeeded = false; // ended with status 0 within the guard
    std::string output;     // what it wrote to the log file
};
// Runs the program to its end, its output going to options.logPath, which
// must be set; the guard only stops a hang. Throws as ChildProcess does.
ProgramRun runToEnd(const ChildOptions& options, std::chrono::milliseconds guard);

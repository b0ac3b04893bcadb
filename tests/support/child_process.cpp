#include "child_process.h"

#include "read_file.h"
#include "wait_until.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> childEnvironment(const ChildOptions& options)
{
    std::set<std::string> replaced(options.unset.begin(), options.unset.end());
    for (const auto& [name, value] : options.environment)
        replaced.insert(name);
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (!replaced.contains(text.substr(0, text.find('='))))
            result.push_back(text);
    }
    for (const auto& [name, value] : options.environment)
        result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Everything the child needs, made before fork: between fork and exec only
// async-signal-safe calls are allowed.
struct Launch {
    std::string program;
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    std::vector<char*> argv;
    std::vector<char*> envp;
    const char* workingDirectory = nullptr;
    const char* logPath = "/dev/null";
    pid_t parent = 0;
};

[[noreturn]] void runChild(const Launch& launch)
{
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL); // a crashed test must leave nothing behind
    if (getppid() != launch.parent)
        _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (launch.workingDirectory && chdir(launch.workingDirectory) != 0)
        _exit(127);
    const int input = open("/dev/null", O_RDONLY);
    const int log = open(launch.logPath, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (input < 0 || log < 0)
        _exit(127);
    dup2(input, STDIN_FILENO);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    execve(launch.program.c_str(), launch.argv.data(), launch.envp.data());
    _exit(127);
}

} // namespace

std::string findProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::istringstream directories(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::string describeWaitStatus(std::optional<int> status)
{
    if (!status)
        return "is still running";
    if (WIFEXITED(*status))
        return "exited with status " + std::to_string(WEXITSTATUS(*status));
    if (WIFSIGNALED(*status))
        return "was killed by signal " + std::to_string(WTERMSIG(*status)) + " (" + strsignal(WTERMSIG(*status)) + ")";
    return "ended with wait status " + std::to_string(*status);
}

bool exitedWithStatusZero(std::optional<int> status)
{
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

ChildProcess::ChildProcess(const ChildOptions& options)
{
    if (options.arguments.empty())
        throw std::runtime_error("no program to start");
    Launch launch;
    launch.program = findProgram(options.arguments.front());
    if (launch.program.empty())
        throw std::runtime_error("program not found: " + options.arguments.front());
    launch.arguments = options.arguments;
    launch.environment = childEnvironment(options);
    launch.argv = pointersTo(launch.arguments);
    launch.envp = pointersTo(launch.environment);
    if (!options.workingDirectory.empty())
        launch.workingDirectory = options.workingDirectory.c_str();
    if (!options.logPath.empty())
        launch.logPath = options.logPath.c_str();
    launch.parent = getpid();

    processId = fork();
    if (processId < 0)
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    if (processId == 0)
        runChild(launch);
    setpgid(processId, processId); // also here, so the group exists before we may signal it
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::reap(int flags)
{
    if (waitStatus)
        return true;
    siginfo_t info{};
    int result;
    do
        result = waitid(P_PID, id_t(processId), &info, WEXITED | WNOWAIT | flags);
    while (result < 0 && errno == EINTR);
    if (result != 0 || info.si_pid != processId)
        return false;
    // Until it is collected the ended leader keeps its number, so the signal
    // reaches only what it left behind in its group, never a stranger.
    kill(-processId, SIGKILL);
    int status = 0;
    while (waitpid(processId, &status, 0) < 0 && errno == EINTR) {}
    waitStatus = status;
    return true;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    waitUntil([this] { return reap(WNOHANG); }, timeout, std::chrono::milliseconds(2));
    return waitStatus;
}

void ChildProcess::signal(int number) const
{
    if (!waitStatus)
        kill(processId, number);
}

int ChildProcess::stop(std::chrono::milliseconds grace)
{
    if (!waitStatus) {
        kill(-processId, SIGTERM);
        if (!waitForExit(grace)) {
            kill(-processId, SIGKILL);
            reap(0);
        }
    }
    return *waitStatus;
}

ProgramRun runToEnd(const ChildOptions& options, std::chrono::milliseconds guard)
{
    if (options.logPath.empty())
        throw std::invalid_argument("runToEnd needs a log file for the program's output");
    ChildProcess program(options);
    const std::optional<int> status = program.waitForExit(guard);
    return {exitedWithStatusZero(status), readFile(options.logPath)};
}

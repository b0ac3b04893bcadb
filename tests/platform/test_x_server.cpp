#include "test_x_server.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

namespace {

constexpr int firstDisplay = 40;
constexpr int lastDisplay = 99;
// Guards against a server that never comes up; not a measure of speed.
constexpr auto startGuard = std::chrono::seconds(30);
constexpr auto stopGuard = std::chrono::seconds(10);
constexpr auto pollInterval = std::chrono::milliseconds(50);

std::string findProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream directories(path ? path : "/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::string lockFile(int number)
{
    return "/tmp/.X" + std::to_string(number) + "-lock";
}

bool displayLooksTaken(int number)
{
    struct stat info {};
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    return stat(socket.c_str(), &info) == 0 || stat(lockFile(number).c_str(), &info) == 0;
}

// The server writes its process id into the lock file; another process's
// server on the same number must never be mistaken for ours.
bool lockHeldBy(int number, pid_t pid)
{
    std::ifstream lock(lockFile(number));
    long owner = 0;
    return lock >> owner && owner == long(pid);
}

std::vector<std::string> serverArguments(TestXServer::Kind kind, int number, int depth)
{
    const std::string display = ":" + std::to_string(number);
    const std::string geometry = "1024x768";
    // -noreset: Xvfb would otherwise reset when its last client leaves (our
    // readiness check) and refuse the connections made meanwhile.
    if (kind == TestXServer::Kind::Xvfb)
        return {"Xvfb", display, "-screen", "0", geometry + "x" + std::to_string(depth), "-nolisten", "tcp", "-noreset"};
    // -rfbport -1: no VNC port, so parallel tests cannot collide on one.
    return {"Xvnc",          display, "-geometry", geometry,  "-depth", std::to_string(depth),
            "-SecurityTypes", "None",  "-rfbport",  "-1",      "-nolisten", "tcp"};
}

// Between fork and exec only async-signal-safe calls: the test may have threads.
[[noreturn]] void execServer(const std::string& program, const std::vector<char*>& argv, pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM); // a crashed test must not leave its server
    if (getppid() != parent)
        _exit(127);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
}

} // namespace

TestXServer::TestXServer(Kind kind, int depth)
{
    // Start at a number that differs between processes, so tests run in
    // parallel rarely race for the same display.
    const int span = lastDisplay - firstDisplay + 1;
    const int offset = int(getpid()) % span;
    for (int step = 0; step < span && !isRunning(); ++step) {
        const int number = firstDisplay + (offset + step) % span;
        if (!displayLooksTaken(number))
            startOn(number, kind, depth);
    }
    if (!isRunning() && m_failure.empty())
        m_failure = "no free display between :40 and :99";
}

TestXServer::~TestXServer()
{
    stop();
}

std::string TestXServer::displayName() const
{
    return isRunning() ? ":" + std::to_string(m_number) : std::string();
}

bool TestXServer::startOn(int number, Kind kind, int depth)
{
    const std::vector<std::string> arguments = serverArguments(kind, number, depth);
    const std::string program = findProgram(arguments.front());
    if (program.empty()) {
        m_failure = arguments.front() + " is not installed";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        m_failure = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0)
        execServer(program, argv, parent);
    m_pid = pid;
    m_number = number;
    if (waitUntilReady(number))
        return true;
    stop();
    return false;
}

bool TestXServer::waitUntilReady(int number)
{
    const std::string name = ":" + std::to_string(number);
    const auto deadline = std::chrono::steady_clock::now() + startGuard;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            // Most likely another process took the display first.
            m_pid = -1;
            m_failure = "the server on " + name + " ended at start";
            return false;
        }
        if (!lockHeldBy(number, m_pid)) {
            std::this_thread::sleep_for(pollInterval);
            continue;
        }
        if (Display* display = XOpenDisplay(name.c_str())) {
            XCloseDisplay(display);
            return true;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    m_failure = "the server on " + name + " did not accept connections";
    return false;
}

void TestXServer::stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + stopGuard;
    while (waitpid(m_pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    m_pid = -1;
}

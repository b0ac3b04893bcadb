#include "x_server.h"

#include "wait_until.h"

#include <fstream>
#include <stdexcept>
#include <vector>

#include <sys/stat.h>

#include <X11/Xlib.h>

namespace {

constexpr int firstNumber = 50;
constexpr int lastNumber = 99;
// Guards against a server that never comes up; not a measure of speed.
constexpr auto readyGuard = std::chrono::seconds(20);

std::string lockPath(int number) { return "/tmp/.X" + std::to_string(number) + "-lock"; }

// Linux X servers also listen on an abstract socket of the same name, which
// clients try first; a server that is ending may still hold it after its
// files are gone.
bool abstractSocketListed(const std::string& socket)
{
    std::ifstream sockets("/proc/net/unix");
    std::string line;
    while (std::getline(sockets, line)) {
        if (line.ends_with(" @" + socket))
            return true;
    }
    return false;
}

bool looksTaken(int number)
{
    struct stat info {};
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    return stat(socket.c_str(), &info) == 0 || stat(lockPath(number).c_str(), &info) == 0
        || abstractSocketListed(socket);
}

// Another test's server may have won the race for the same number: only a
// lock file with our server's process id makes the display ours.
bool lockHeldBy(int number, pid_t pid)
{
    std::ifstream lock(lockPath(number));
    long owner = 0;
    return lock >> owner && owner == long(pid);
}

std::vector<std::string> serverArguments(XServer::Kind kind, int number, int depth, const std::string& xvfbScreen)
{
    const std::string display = ":" + std::to_string(number);
    const std::string bits = std::to_string(depth);
    // -noreset: by default the server resets when its last client goes,
    // refusing connections meanwhile and putting its screen size back.
    if (kind == XServer::Kind::Xvfb)
        return {"Xvfb", display, "-screen", "0", xvfbScreen, "-nolisten", "tcp", "-noreset"};
    // -rfbport -1: no VNC port, so servers started side by side cannot collide on one.
    return {"Xvnc", display,     "-geometry", "1024x768", "-depth", bits,      "-SecurityTypes",
            "None", "-nolisten", "tcp",       "-rfbport", "-1",     "-noreset"};
}

} // namespace

bool canConnect(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

XServer::XServer(Kind serverKind, int colourDepth, int width, int height)
    : kind(serverKind), depth(colourDepth),
      xvfbScreen(std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(colourDepth)),
      directory("scribbo-x")
{
    for (int number = firstNumber; number <= lastNumber; ++number) {
        if (!looksTaken(number) && startOn(number))
            return;
    }
    throw std::runtime_error("no X server could be started on displays :50 to :99; the last one said:\n" + log());
}

XServer::~XServer() = default;

bool XServer::startOn(int number)
{
    ChildOptions options;
    options.arguments = serverArguments(kind, number, depth, xvfbScreen);
    options.logPath = directory.file("server.log");
    process = std::make_unique<ChildProcess>(options);
    const std::string name = ":" + std::to_string(number);
    // A server that lost the race for the number ends by itself.
    const auto ready = [&] { return process->hasExited() || (lockHeldBy(number, process->pid()) && canConnect(name)); };
    if (waitUntil(ready, readyGuard, std::chrono::milliseconds(20)) && !process->hasExited()) {
        display = name;
        return true;
    }
    process.reset();
    return false;
}

std::string XServer::log() const { return readTextFile(directory.file("server.log")); }

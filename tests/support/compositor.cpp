#include "compositor.h"

#include "wait_until.h"

#include <filesystem>
#include <optional>
#include <regex>
#include <stdexcept>

#include <sys/wait.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Guards against a hang; not a measure of speed.
constexpr auto readyGuard = std::chrono::seconds(30);
constexpr auto xdotoolGuard = std::chrono::seconds(10);

// The runtime directory is ours alone, so one name does.
const std::string socketName = "wayland-scribbo";

std::pair<int, int> screenSize(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        throw std::runtime_error("cannot open display " + displayName);
    const std::pair<int, int> size{DisplayWidth(display, DefaultScreen(display)),
                                   DisplayHeight(display, DefaultScreen(display))};
    XCloseDisplay(display);
    return size;
}

// Weston picks Xwayland's display number itself and says which in its log.
std::optional<std::string> announcedXDisplay(const std::string& log)
{
    static const std::regex announcement("xserver listening on display (:[0-9]+)");
    std::smatch match;
    if (!std::regex_search(log, match, announcement))
        return std::nullopt;
    return match[1].str();
}

bool isBlack(Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return true;
    const bool black = XGetPixel(image, 0, 0) == 0;
    XDestroyImage(image);
    return black;
}

// Whether the host shows Weston's output, a window of the whole screen, with
// the shell's panel and wallpaper on it (black until then). Weston takes the
// pointer's moves only once its window is shown, and a pointer aligned
// (below) before the shell's first frame was sometimes thrown off again.
bool showsTheShell(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return false;
    const int width = DisplayWidth(display, DefaultScreen(display));
    const int height = DisplayHeight(display, DefaultScreen(display));
    Window ignoredRoot = 0, ignoredParent = 0, *children = nullptr;
    unsigned count = 0;
    bool shown = false;
    if (XQueryTree(display, DefaultRootWindow(display), &ignoredRoot, &ignoredParent, &children, &count)) {
        for (unsigned index = 0; index < count && !shown; ++index) {
            XWindowAttributes attributes{};
            shown = XGetWindowAttributes(display, children[index], &attributes) && attributes.map_state == IsViewable
                && attributes.width == width && attributes.height == height;
        }
        XFree(children);
    }
    shown = shown && !isBlack(display, width / 4, 16) && !isBlack(display, width / 2, height / 2);
    XCloseDisplay(display);
    return shown;
}

} // namespace

WestonCompositor::WestonCompositor(int outputWidth, int outputHeight, int scale)
    : host(XServer::Kind::Xvfb, 24, outputWidth * scale, outputHeight * scale), runtimeDirectory("scribbo-weston")
{
    std::tie(width, height) = screenSize(host.displayName());
    ChildOptions options;
    // Weston's --fullscreen would wait for a window manager the Xvfb does
    // not have: a window of the screen's size from (0, 0) covers it anyway.
    // --idle-time=0: the shell never blanks or locks the output.
    options.arguments = {"weston",
                         "--backend=x11-backend.so",
                         "--width=" + std::to_string(outputWidth),
                         "--height=" + std::to_string(outputHeight),
                         "--scale=" + std::to_string(scale),
                         "--use-pixman",
                         "--xwayland",
                         "--socket=" + socketName,
                         "--no-config",
                         "--idle-time=0"};
    options.environment = {{"DISPLAY", host.displayName()}, {"XDG_RUNTIME_DIR", runtimeDirectory.path()}};
    options.unset = {"WAYLAND_DISPLAY", "WAYLAND_SOCKET"};
    options.logPath = runtimeDirectory.file("weston.log");
    weston = std::make_unique<ChildProcess>(options);
    const auto ready = [this] {
        if (weston->hasExited())
            return true;
        if (!std::filesystem::exists(runtimeDirectory.file(socketName)))
            return false;
        const std::optional<std::string> announced = announcedXDisplay(log());
        if (announced)
            xwaylandDisplay = *announced;
        return announced && showsTheShell(host.displayName());
    };
    if (!waitUntil(ready, readyGuard, std::chrono::milliseconds(20)) || weston->hasExited())
        throw std::runtime_error("Weston did not come up; it " + describeWaitStatus(weston->waitForExit({}))
                                 + ", and said:\n" + log());
    alignPointer();
}

WestonCompositor::~WestonCompositor() = default;

// Weston's X11 back end turns each move of the Xvfb's pointer into a move by
// the difference from the last position it saw, from a pointer position of
// its own. A move to the top left corner and one to the bottom right, where
// Weston stops the pointer at the output's edge, leave the two pointers at
// the same place, so that every later move lands exactly where it is sent.
void WestonCompositor::alignPointer()
{
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{width - 1, height - 1}}) {
        ChildOptions options;
        options.arguments = {"xdotool", "mousemove", std::to_string(x), std::to_string(y)};
        options.environment = {{"DISPLAY", host.displayName()}};
        ChildProcess xdotool(options);
        const std::optional<int> status = xdotool.waitForExit(xdotoolGuard);
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
            throw std::runtime_error("xdotool mousemove " + describeWaitStatus(status));
    }
}

std::vector<std::pair<std::string, std::string>> WestonCompositor::waylandEnvironment() const
{
    return {{"XDG_RUNTIME_DIR", runtimeDirectory.path()}, {"WAYLAND_DISPLAY", socketName}};
}

const std::string& WestonCompositor::startXwayland()
{
    // The first connection blocks until Xwayland is up, or fails with it.
    if (!waitUntil([this] { return canConnect(xwaylandDisplay) || weston->hasExited(); }, readyGuard,
                   std::chrono::milliseconds(20))
        || weston->hasExited())
        throw std::runtime_error("Xwayland did not come up on " + xwaylandDisplay + ":\n" + log());
    return xwaylandDisplay;
}

std::string WestonCompositor::log() const { return readTextFile(runtimeDirectory.file("weston.log")); }

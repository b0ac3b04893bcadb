#include "x_input.h"

#include "child_process.h"

#include <stdexcept>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// Guards against a hung xdotool; not a measure of speed.
constexpr auto xdotoolGuard = std::chrono::seconds(10);

} // namespace

Pointer::Pointer(const std::string& displayName)
{
    display = XOpenDisplay(displayName.c_str());
    if (!display)
        throw std::runtime_error("cannot open display " + displayName);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        throw std::runtime_error("display " + displayName + " has no XTEST extension");
    }
}

Pointer::~Pointer() { XCloseDisplay(display); }

// XSync waits for the server's answer to a request sent after the event, so
// the server has taken the event by then.
void Pointer::moveTo(int x, int y)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XSync(display, False);
    lastPosition = Position{x, y};
}

void Pointer::press(Button button)
{
    sendButton(button, true);
    heldButtons.insert(button);
}

void Pointer::release(Button button)
{
    sendButton(button, false);
    heldButtons.erase(button);
}

void Pointer::click(Button button)
{
    sendButton(button, true);
    sendButton(button, false);
}

void Pointer::sendButton(Button button, bool down)
{
    XTestFakeButtonEvent(display, unsigned(button), down ? True : False, CurrentTime);
    XSync(display, False);
}

bool runXdotool(const std::string& displayName, const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = {"xdotool"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.environment = {{"DISPLAY", displayName}};
    ChildProcess xdotool(options);
    return exitedWithStatusZero(xdotool.waitForExit(xdotoolGuard));
}

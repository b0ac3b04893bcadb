#include "pointer.h"

#include "child_process.h"

#include <stdexcept>

#include <sys/wait.h>

namespace {

// Guards against a hung xdotool; not a measure of speed.
constexpr auto xdotoolGuard = std::chrono::seconds(10);

} // namespace

Pointer::Pointer(std::string name) : displayName(std::move(name)) {}

void Pointer::moveTo(int x, int y)
{
    run({"mousemove", std::to_string(x), std::to_string(y)});
    lastPosition = Position{x, y};
}

void Pointer::press(Button button)
{
    run({"mousedown", std::to_string(int(button))});
    heldButtons.insert(button);
}

void Pointer::release(Button button)
{
    run({"mouseup", std::to_string(int(button))});
    heldButtons.erase(button);
}

void Pointer::click(Button button) { run({"click", std::to_string(int(button))}); }

void Pointer::run(const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = {"xdotool"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.environment = {{"DISPLAY", displayName}};
    ChildProcess xdotool(options);
    const auto status = xdotool.waitForExit(xdotoolGuard);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        std::string command = "xdotool";
        for (const std::string& argument : arguments)
            command += " " + argument;
        throw std::runtime_error(command + " " + describeWaitStatus(status));
    }
}

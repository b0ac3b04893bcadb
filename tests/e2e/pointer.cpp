#include "pointer.h"

#include "child_process.h"

#include <stdexcept>
#include <thread>

#include <sys/wait.h>

namespace {

// Toolkits may merge motion events that queue up unread: a short pause after
// each event lets the program take them one by one, as from a hand. The
// tests still wait for what each step shows rather than trust this pause.
constexpr auto settle = std::chrono::milliseconds(25);
// Guards against a hung xdotool; not a measure of speed.
constexpr auto xdotoolGuard = std::chrono::seconds(10);

} // namespace

Pointer::Pointer(std::string displayName) : m_displayName(std::move(displayName)) {}

void Pointer::moveTo(int x, int y) { run({"mousemove", std::to_string(x), std::to_string(y)}); }

void Pointer::press(Button button) { run({"mousedown", std::to_string(int(button))}); }

void Pointer::release(Button button) { run({"mouseup", std::to_string(int(button))}); }

void Pointer::click(Button button) { run({"click", std::to_string(int(button))}); }

void Pointer::run(const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = {"xdotool"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.environment = {{"DISPLAY", m_displayName}};
    ChildProcess xdotool(options);
    const auto status = xdotool.waitForExit(xdotoolGuard);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        std::string command = "xdotool";
        for (const std::string& argument : arguments)
            command += " " + argument;
        throw std::runtime_error(command + " " + describeWaitStatus(status));
    }
    std::this_thread::sleep_for(settle);
}

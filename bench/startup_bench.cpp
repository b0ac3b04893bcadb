// Scribbo's start-up time, the CPU time it takes, and its idle memory against
// the least comparable Qt Widgets window (minimal_window). Both start in turn
// on one Xvfb in the same run, so the machine's load falls on both alike; the
// figures to read are the ratios and the difference.
//   startup_bench [--runs N] [--session-bus]
// N of each, 10 unless told. Both get the session bus turned off, as the
// tests have it, so that neither has the bus library start one for the
// display; --session-bus gives both a private bus, as a desktop session does.
#include "child_process.h"
#include "read_file.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "temporary_directory.h"
#include "wait_until.h"
#include "x_server.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using scribbo::ColourArea;

constexpr auto pollInterval = std::chrono::milliseconds(2);
constexpr auto idleTime = std::chrono::milliseconds(1500);
// Guards against a window that never shows; not a measure of speed.
constexpr auto showGuard = std::chrono::seconds(30);

struct Program {
    std::string name;
    std::string path;
    // Single pixels that are all right only once the window is fully painted.
    std::vector<ColourArea> paintedSignals;
};

struct Measurement {
    double startupMilliseconds = 0;
    double cpuMilliseconds = 0; // all the program's threads, until the window was seen painted
    double residentMebibytes = 0;
};

ColourArea pixel(const char* name, int x, int y, Rgb colour) { return {name, {x, y, x, y}, colour}; }

std::vector<ColourArea> minimalWindowSignals()
{
    const Rgb grey{128, 128, 128};
    return {
        pixel("white area's top left corner", 77, 56, colours::white),
        pixel("white area's bottom right corner", 797, 544, colours::white),
        pixel("white area's middle", 437, 300, colours::white),
        pixel("grey above the white area", 400, 20, grey),
        pixel("grey left of the white area", 40, 300, grey),
        pixel("grey below the white area", 400, 570, grey),
    };
}

bool showsAll(ScreenReader& reader, const std::vector<ColourArea>& signals)
{
    return std::all_of(signals.begin(), signals.end(), [&](const ColourArea& signal) {
        const int x = signal.area.left, y = signal.area.top;
        return reader.grab(x, y, 1, 1).at(x, y) == signal.colour;
    });
}

double residentMebibytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        long kibibytes = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %ld kB", &kibibytes) == 1)
            return double(kibibytes) / 1024.0;
    }
    throw std::runtime_error("no VmRSS for process " + std::to_string(pid));
}

// A message bus of the bench's own, for the programs' sessions.
class SessionBus {
public:
    SessionBus() : directory("scribbo-bench-bus")
    {
        ChildOptions options;
        options.arguments = {"dbus-daemon", "--session", "--nofork", "--address=" + address()};
        options.logPath = directory.file("bus.log");
        daemon = std::make_unique<ChildProcess>(options);
        if (!waitUntil([&] { return access(socketPath().c_str(), F_OK) == 0; }, showGuard))
            throw std::runtime_error("the session bus did not start: " + readFile(directory.file("bus.log")));
    }
    std::string address() const { return "unix:path=" + socketPath(); }

private:
    std::string socketPath() const { return directory.file("bus"); }

    TemporaryDirectory directory;
    std::unique_ptr<ChildProcess> daemon;
};

Measurement measure(const Program& program, const XServer& server, ScreenReader& reader, const SessionBus* bus)
{
    // The window of the run before must have gone, or it would be measured.
    if (!waitUntil([&] { return !showsAll(reader, program.paintedSignals); }, showGuard))
        throw std::runtime_error("the screen still shows a window before " + program.name + " starts");
    TemporaryDirectory directory("scribbo-bench");
    ChildOptions options;
    options.arguments = {program.path};
    // The session bus turned off, as the tests have it, or the bench's own.
    options.environment = {{"DISPLAY", server.displayName()},
                           {"QT_QPA_PLATFORM", "xcb"},
                           {"DBUS_SESSION_BUS_ADDRESS", bus ? bus->address() : noSessionBus.second}};
    options.unset = {"WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
    options.workingDirectory = directory.path();
    options.logPath = directory.file("output.log");

    const Clock::time_point start = Clock::now();
    ChildProcess process(options);
    clockid_t cpuClock;
    if (clock_getcpuclockid(process.pid(), &cpuClock) != 0)
        throw std::runtime_error("no CPU clock for " + program.name);
    if (!waitUntil([&] { return showsAll(reader, program.paintedSignals); }, showGuard, pollInterval))
        throw std::runtime_error(program.name + " did not paint its window within 30 s");
    const Clock::time_point painted = Clock::now();
    timespec cpuTime{};
    if (clock_gettime(cpuClock, &cpuTime) != 0)
        throw std::runtime_error("cannot read the CPU time of " + program.name);

    std::this_thread::sleep_for(idleTime);
    Measurement result;
    result.startupMilliseconds = std::chrono::duration<double, std::milli>(painted - start).count();
    result.cpuMilliseconds = double(cpuTime.tv_sec) * 1e3 + double(cpuTime.tv_nsec) / 1e6;
    result.residentMebibytes = residentMebibytes(process.pid());
    process.stop();
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

struct Summary {
    double startupMilliseconds;
    double cpuMilliseconds;
    double residentMebibytes;
};

Summary summarise(const std::vector<Measurement>& runs)
{
    std::vector<double> startups, cpuTimes, residents;
    for (const Measurement& run : runs) {
        startups.push_back(run.startupMilliseconds);
        cpuTimes.push_back(run.cpuMilliseconds);
        residents.push_back(run.residentMebibytes);
    }
    return {median(startups), median(cpuTimes), median(residents)};
}

constexpr const char* usage = "startup_bench [--runs N] [--session-bus]";

struct Arguments {
    int runs = 10;
    bool sessionBus = false;
};

Arguments fromCommandLine(int argc, char** argv)
{
    Arguments arguments;
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--runs") == 0 && index + 1 < argc)
            arguments.runs = std::atoi(argv[++index]);
        else if (std::strcmp(argv[index], "--session-bus") == 0)
            arguments.sessionBus = true;
        else
            throw std::runtime_error(std::string("unknown argument ") + argv[index] + "; usage: " + usage);
    }
    if (arguments.runs < 1)
        throw std::runtime_error("--runs needs a number of at least 1");
    return arguments;
}

void printRow(const Program& program, const Summary& summary)
{
    std::printf("%-16s %9.1f ms %9.1f ms %10.1f MiB\n", program.name.c_str(), summary.startupMilliseconds,
                summary.cpuMilliseconds, summary.residentMebibytes);
}

void printReport(const Arguments& arguments, const Program& measured, const Summary& measuredSummary,
                 const Program& baseline, const Summary& baselineSummary)
{
    std::printf("Start-up (spawn until the window is fully painted), the CPU time of all its threads until\n"
                "then, and resident memory after %.1f s idle, medians of %d runs each, taking turns on one\n"
                "Xvfb 800 x 600 x 24, %s:\n\n",
                std::chrono::duration<double>(idleTime).count(), arguments.runs,
                arguments.sessionBus ? "with a session bus" : "with the session bus turned off");
    std::printf("%-16s %12s %12s %14s\n", "program", "start-up", "CPU time", "idle memory");
    printRow(measured, measuredSummary);
    printRow(baseline, baselineSummary);
    std::printf("\nstart-up %s / %s: %.2f (goal: within 1.1)\n", measured.name.c_str(), baseline.name.c_str(),
                measuredSummary.startupMilliseconds / baselineSummary.startupMilliseconds);
    std::printf("CPU time %s / %s: %.2f (goal: within 1.15)\n", measured.name.c_str(), baseline.name.c_str(),
                measuredSummary.cpuMilliseconds / baselineSummary.cpuMilliseconds);
    std::printf("idle memory %s - %s: %+.1f MiB (goal: within 6 MiB)\n", measured.name.c_str(), baseline.name.c_str(),
                measuredSummary.residentMebibytes - baselineSummary.residentMebibytes);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Arguments arguments = fromCommandLine(argc, argv);
        const Program scribboProgram{"scribbo", SCRIBBO_BINARY, scribbo::paintedSignals()};
        const Program minimalProgram{"minimal_window", MINIMAL_WINDOW_BINARY, minimalWindowSignals()};
        XServer server(XServer::Kind::Xvfb);
        ScreenReader reader(server.displayName());
        const std::unique_ptr<SessionBus> bus = arguments.sessionBus ? std::make_unique<SessionBus>() : nullptr;
        std::vector<Measurement> scribboRuns, minimalRuns;
        for (int run = 0; run < arguments.runs; ++run) {
            scribboRuns.push_back(measure(scribboProgram, server, reader, bus.get()));
            minimalRuns.push_back(measure(minimalProgram, server, reader, bus.get()));
        }
        printReport(arguments, scribboProgram, summarise(scribboRuns), minimalProgram, summarise(minimalRuns));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}

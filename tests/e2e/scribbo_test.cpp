#include "scribbo_test.h"

#include "artifact_path.h"
#include "layout_check.h"
#include "picture_check.h"
#include "read_file.h"
#include "shown_windows.h"
#include "wait_until.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <X11/Xlib.h>

namespace {

std::string currentTestName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : "e2e";
}

scribbo::Point middle(scribbo::Point from, scribbo::Point to) { return {(from.x + to.x) / 2, (from.y + to.y) / 2}; }

} // namespace

std::string nameOf(const Desktop& desktop)
{
    std::string name = desktop.server == Desktop::Server::Xvfb ? "Xvfb"
        : desktop.server == Desktop::Server::Xvnc              ? "Xvnc"
        : desktop.client == Desktop::Client::X11               ? "WestonXwayland"
                                                               : "WestonWayland";
    if (desktop.size)
        name += std::to_string(desktop.size->width) + "x" + std::to_string(desktop.size->height);
    if (desktop.scale != 1)
        name += "Scale" + std::to_string(desktop.scale);
    return name;
}

std::string desktopName(const ::testing::TestParamInfo<Desktop>& info) { return nameOf(info.param); }

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string keepScreenshot(const Screenshot& shot, const std::string& label)
{
    const std::string path = artifactPath(currentTestName()) + "." + label + ".ppm";
    try {
        shot.savePpm(path);
    } catch (const std::exception& error) {
        return std::string("(not saved: ") + error.what() + ")";
    }
    return path;
}

void ScribboTest::SetUp()
{
    ASSERT_NO_FATAL_FAILURE(startDesktop());
    directory = std::make_unique<TemporaryDirectory>("scribbo-e2e");
    std::filesystem::create_directory(workingDirectory());
    startScribbo();
    ASSERT_NO_FATAL_FAILURE(waitUntilPainted());
}

void ScribboTest::startDesktop()
{
    const Desktop wanted = desktop();
    try {
        if (wanted.server == Desktop::Server::Weston) {
            weston = std::make_unique<WestonCompositor>(wanted.size.value_or(ScreenSize{800, 600}), wanted.scale);
            screenDisplay = weston->hostDisplay();
            if (wanted.client == Desktop::Client::X11)
                clientDisplay = weston->startXwayland();
        } else {
            const auto kind = wanted.server == Desktop::Server::Xvfb ? XServer::Kind::Xvfb : XServer::Kind::Xvnc;
            server = std::make_unique<XServer>(kind, 24, wanted.size);
            screenDisplay = clientDisplay = server->displayName();
        }
        reader = std::make_unique<ScreenReader>(screenDisplay);
        mouse = std::make_unique<Pointer>(screenDisplay);
    } catch (const std::exception& error) {
        FAIL() << nameOf(wanted) << " did not come up: " << error.what() << "\n"
               << (weston       ? weston->log()
                       : server ? server->log()
                                : "");
    }
}

void ScribboTest::TearDown()
{
    mouse.reset();
    reader.reset();
    scribboChild.reset(); // before its desktop, so it can put the display back
    server.reset();
    weston.reset();
    directory.reset();
}

void ScribboTest::startScribbo(const std::vector<std::string>& launcher)
{
    ChildOptions options;
    options.arguments = launcher;
    options.arguments.push_back(SCRIBBO_BINARY);
    if (weston) {
        // Scribbo picks its platform as on a Wayland desktop, an X display
        // first where there is one.
        options.environment = weston->waylandEnvironment();
        options.unset = {"QT_QPA_PLATFORM"};
        if (clientDisplay.empty())
            options.unset.push_back("DISPLAY");
        else
            options.environment.emplace_back("DISPLAY", clientDisplay);
        // Under LeakSanitizer: what Qt's Wayland plugin keeps until the end
        // was made inside libwayland-client, which has no frame pointers; only
        // the slow unwinding reaches the Qt frames that tests/lsan.supp names.
        if (const char* leakOptions = std::getenv("LSAN_OPTIONS"))
            options.environment.emplace_back("LSAN_OPTIONS", std::string(leakOptions) + ":fast_unwind_on_malloc=0");
    } else {
        options.environment = server->environment();
        options.environment.emplace_back("QT_QPA_PLATFORM", "xcb");
        options.unset = {"WAYLAND_DISPLAY"};
    }
    // What the pictures folder cannot take goes to a data folder of the test's own.
    options.environment.emplace_back("XDG_DATA_HOME", directory->file("data"));
    if (scribboLogsWarnings())
        options.environment.emplace_back("QT_LOGGING_RULES", "*.warning=true;*.critical=true");
    for (const auto& setting : scribboEnvironment())
        options.environment.push_back(setting);
    options.workingDirectory = workingDirectory();
    options.logPath = directory->file("scribbo.log");
    scribboChild = std::make_unique<ChildProcess>(options);
}

void ScribboTest::waitUntilPainted()
{
    ASSERT_NO_FATAL_FAILURE(
        waitForLayout(onScreen(scribbo::paintedSignals()), "Scribbo's window, shown and painted,", startGuard));
    // The largest window of its title: its message boxes share it.
    int mainWindowArea = 0;
    for (const ShownWindow& window : shownWindows(clientDisplay, "Scribbo"))
        if (window.width * window.height > mainWindowArea) {
            mainWindow = window.id;
            mainWindowArea = window.width * window.height;
        }
}

double ScribboTest::layoutScale() const
{
    const Desktop shown = desktop();
    if (shown.server == Desktop::Server::Xvnc)
        return 1;
    const ScreenSize screen = shown.size.value_or(ScreenSize{800, 600});
    return std::min(screen.width / 800.0, screen.height / 600.0);
}

scribbo::Point ScribboTest::onScreen(scribbo::Point inLayout) const
{
    const double scale = layoutScale();
    return {int(std::floor((inLayout.x + 0.5) * scale)), int(std::floor((inLayout.y + 0.5) * scale))};
}

std::vector<scribbo::ColourArea> ScribboTest::onScreen(std::vector<scribbo::ColourArea> inLayout) const
{
    for (scribbo::ColourArea& each : inLayout) {
        const scribbo::Point topLeft = onScreen({each.area.left, each.area.top});
        const scribbo::Point bottomRight = onScreen({each.area.right, each.area.bottom});
        each.area = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }
    return inLayout;
}

std::optional<Rgb> ScribboTest::pixelAt(scribbo::Point onScreen)
{
    return grabOf({onScreen.x, onScreen.y, onScreen.x, onScreen.y}).at(onScreen.x, onScreen.y);
}

Screenshot ScribboTest::screenshot()
{
    latestScreenshot = reader->grab();
    return latestScreenshot;
}

std::optional<Screenshot> ScribboTest::waitForScreen(const std::function<bool(const Screenshot&)>& condition,
                                                     std::chrono::milliseconds timeout)
{
    const bool satisfied = waitUntil([&] { return condition(screenshot()); }, timeout, std::chrono::milliseconds(20));
    if (!satisfied)
        return std::nullopt;
    return latestScreenshot;
}

void ScribboTest::waitForPixel(scribbo::Point onScreen, Rgb colour, const std::string& what)
{
    std::optional<Rgb> seen;
    const auto shows = [&] { return (seen = pixelAt(onScreen)) == colour; };
    if (!waitUntil(shows, stepGuard, std::chrono::milliseconds(20))) {
        std::ostringstream shown;
        if (seen)
            shown << *seen;
        else
            shown << "off the screen";
        FAIL() << what << ": the screen at (" << onScreen.x << ", " << onScreen.y << ") stayed " << shown.str()
               << " instead of turning " << colour << " within " << stepGuard.count() << " s\n"
               << "screenshot: " << keepScreenshot(screenshot(), "wait") << "\n"
               << scribboReport();
    }
}

void ScribboTest::waitForLayout(const std::vector<scribbo::ColourArea>& areas, const std::string& what,
                                std::chrono::milliseconds timeout)
{
    if (!waitUntil([&] { return shows(areas); }, timeout, std::chrono::milliseconds(20))) {
        std::vector<std::string> mismatches;
        for (const scribbo::ColourArea& each : areas) {
            for (const std::string& line : layoutMismatches(grabOf(each.area), {each}))
                mismatches.push_back(line);
        }
        FAIL() << what << " not shown within " << std::chrono::duration_cast<std::chrono::seconds>(timeout).count()
               << " s:\n"
               << joinLines(mismatches) << "screenshot: " << keepScreenshot(screenshot(), "wait") << "\n"
               << scribboReport();
    }
}

// Each area on its own: a few small rectangles are much quicker to take
// than the whole screen, which matters as waits ask again and again.
bool ScribboTest::shows(const std::vector<scribbo::ColourArea>& areas)
{
    return std::all_of(areas.begin(), areas.end(),
                       [&](const scribbo::ColourArea& each) { return showsLayout(grabOf(each.area), {each}); });
}

Screenshot ScribboTest::grabOf(const scribbo::Area& area)
{
    return reader->grab(area.left, area.top, area.right - area.left + 1, area.bottom - area.top + 1);
}

// X delivers one client's events in order and Qt handles them in order: once
// the frame for the move onto the button shows, every earlier event has been
// handled. One repaint may reach the X server in several requests, so the
// frame showing does not prove the rest of that repaint has; the frame going
// after the move off, a later repaint, does.
void ScribboTest::waitUntilInputHandled()
{
    ASSERT_FALSE(mouse->holdsAnyButton()) << "a button is held: the help button would not show its frame";
    const std::optional<Pointer::Position> before = mouse->position();
    moveTo(scribbo::buttons::help);
    ASSERT_NO_FATAL_FAILURE(waitForLayout(scribbo::helpButtonFrame(), "the help button's frame under the pointer"));
    // Back where it was, so the test goes on from there.
    scribbo::Point rest = scribbo::restingPlace;
    if (before && !scribbo::helpButton.contains({before->x, before->y}))
        rest = {before->x, before->y};
    moveTo(rest);
    ASSERT_NO_FATAL_FAILURE(
        waitForLayout(scribbo::helpButtonWithoutFrame(), "the help button without its frame once the pointer left"));
}

void ScribboTest::drawStroke(Pointer::Button button, const std::vector<scribbo::Point>& inPicture, Rgb colour)
{
    ASSERT_FALSE(inPicture.empty());
    moveTo(scribbo::toScreen(inPicture.front()));
    mouse->press(button);
    for (std::size_t index = 1; index < inPicture.size(); ++index) {
        moveTo(scribbo::toScreen(inPicture[index]));
        const scribbo::Point probe = scribbo::toScreen(middle(inPicture[index - 1], inPicture[index]));
        ASSERT_NO_FATAL_FAILURE(waitForPixel(probe, colour, "stroke segment " + std::to_string(index)));
    }
    mouse->release(button);
}

void ScribboTest::drag(const std::vector<scribbo::Point>& inPicture)
{
    moveTo(scribbo::toScreen(inPicture.front()));
    mouse->press(Pointer::Left);
    for (std::size_t index = 1; index < inPicture.size(); ++index)
        moveTo(scribbo::toScreen(inPicture[index]));
    mouse->release(Pointer::Left);
}

void ScribboTest::clickAt(scribbo::Point onScreen, Pointer::Button button)
{
    moveTo(onScreen);
    mouse->click(button);
}

std::optional<int> ScribboTest::waitForScribboExit(std::chrono::milliseconds timeout)
{
    return scribboChild->waitForExit(timeout);
}

void ScribboTest::expectExitWithStatusZero(const std::string& after)
{
    const std::optional<int> status = waitForScribboExit(stepGuard);
    ASSERT_TRUE(status) << "Scribbo still runs " << stepGuard.count() << " s " << after
                        << "; screenshot: " << keepScreenshot(screenshot(), "exit") << "\n"
                        << scribboReport();
    EXPECT_TRUE(exitedWithStatusZero(status)) << after << ": " << scribboReport();
}

void ScribboTest::endScribbo()
{
    const int status = scribboChild->stop(stepGuard);
    ASSERT_TRUE(exitedWithStatusZero(status)) << scribboReport();
    ASSERT_NO_FATAL_FAILURE(waitUntilWindowGone());
}

void ScribboTest::restartScribbo(const std::vector<std::string>& launcher)
{
    ASSERT_TRUE(waitForScribboExit(std::chrono::milliseconds(0))) << "Scribbo still runs";
    // Until the server has taken the old window away, it could pass for the
    // new one painted.
    ASSERT_NO_FATAL_FAILURE(waitUntilWindowGone());
    startScribbo(launcher);
    ASSERT_NO_FATAL_FAILURE(waitUntilPainted());
}

void ScribboTest::waitUntilWindowGone()
{
    ASSERT_TRUE(waitUntil([&] { return !shows(onScreen(scribbo::paintedSignals())); }, stepGuard))
        << "the ended Scribbo's window stayed; screenshot: " << keepScreenshot(screenshot(), "ended");
}

pid_t ScribboTest::scribboPid()
{
    const std::filesystem::path scribbo = std::filesystem::canonical(SCRIBBO_BINARY);
    for (pid_t process = scribboChild->pid(); process > 0;) {
        const std::string proc = "/proc/" + std::to_string(process);
        std::error_code error;
        if (std::filesystem::read_symlink(proc + "/exe", error) == scribbo)
            return process;
        std::ifstream children(proc + "/task/" + std::to_string(process) + "/children");
        process = 0;
        children >> process;
    }
    ADD_FAILURE() << "Scribbo's process was not found under " << scribboChild->pid();
    return -1;
}

void ScribboTest::endXServer()
{
    mouse.reset();
    reader.reset();
    server.reset();
}

bool ScribboTest::xdotool(const std::vector<std::string>& arguments) { return runXdotool(screenDisplay, arguments); }

std::optional<unsigned long> ScribboTest::shownDialog(const std::string& title)
{
    for (const ShownWindow& window : shownWindows(clientDisplay, title))
        if (window.id != mainWindow)
            return window.id;
    return std::nullopt;
}

void ScribboTest::focusWindow(const std::string& title)
{
    std::optional<unsigned long> window;
    ASSERT_TRUE(waitUntil([&] { return (window = shownDialog(title)).has_value(); }, stepGuard))
        << "no window \"" << title << "\" appeared; screenshot: " << keepScreenshot(screenshot(), "focus") << "\n"
        << scribboReport();
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", std::to_string(*window)}));
}

void ScribboTest::focusMainWindow() { ASSERT_TRUE(xdotool({"windowfocus", "--sync", std::to_string(mainWindow)})); }

bool ScribboTest::windowShown(const std::string& title) { return shownDialog(title).has_value(); }

void ScribboTest::waitUntilGone(const std::string& title)
{
    ASSERT_TRUE(waitUntil([&] { return !windowShown(title); }, stepGuard))
        << "\"" << title << "\" is still shown; screenshot: " << keepScreenshot(screenshot(), "gone");
}

void ScribboTest::answer(const std::string& title, const std::string& key)
{
    ASSERT_NO_FATAL_FAILURE(focusWindow(title));
    ASSERT_TRUE(xdotool({"key", key}));
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(title));
}

void ScribboTest::closeThroughWindowSystem(const std::string& title)
{
    ASSERT_NO_FATAL_FAILURE(focusWindow(title));
    const std::vector<ShownWindow> windows = shownWindows(clientDisplay, title);
    ASSERT_EQ(windows.size(), 1u) << "windows named \"" << title << "\" to send the close message";
    Display* display = XOpenDisplay(clientDisplay.c_str());
    ASSERT_NE(display, nullptr);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = windows.front().id;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    EXPECT_NE(XSendEvent(display, windows.front().id, False, NoEventMask, &message), 0);
    XCloseDisplay(display);
}

void ScribboTest::typeName(const std::string& name)
{
    ASSERT_NO_FATAL_FAILURE(focusWindow(titles::saveDialog));
    ASSERT_TRUE(xdotool({"type", "--delay", "0", name}));
    ASSERT_TRUE(xdotool({"key", "Return"}));
}

void ScribboTest::saveAs(const std::string& name)
{
    clickAt(scribbo::buttons::save);
    ASSERT_NO_FATAL_FAILURE(typeName(name));
    ASSERT_NO_FATAL_FAILURE(waitUntilGone(titles::saveDialog));
}

Screenshot ScribboTest::pictureShown()
{
    waitUntilInputHandled();
    return screenshot();
}

void ScribboTest::expectPictureUnchanged(const Screenshot& before, const std::string& what)
{
    const Screenshot after = pictureShown();
    const std::vector<std::string> changed = changedPixels(before, after, {}, 0);
    EXPECT_TRUE(changed.empty()) << what << " changed the picture:\n"
                                 << joinLines(changed) << "before: " << keepScreenshot(before, "before")
                                 << "\nafter: " << keepScreenshot(after, "after");
}

void ScribboTest::expectStartLayout()
{
    ASSERT_NO_FATAL_FAILURE(waitForLayout(scribbo::startLayout(), "the start layout"));
}

std::string ScribboTest::workingDirectory() const { return directory->file("work"); }

std::string ScribboTest::scribboOutput() const { return readFile(directory->file("scribbo.log")); }

std::string ScribboTest::scribboReport() const
{
    if (!scribboChild)
        return "Scribbo was not started\n";
    const std::optional<int> status = scribboChild->waitForExit(std::chrono::milliseconds(0));
    std::string report = "Scribbo " + describeWaitStatus(status) + "; its output:\n" + scribboOutput();
    if (weston)
        report += "Weston said:\n" + weston->log();
    return report;
}

#include "scribbo_test.h"

#include "shown_windows.h"

#include "layout_check.h"
#include "picture_check.h"
#include "wait_until.h"

#include <X11/Xlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string testProgramDirectory() { return std::filesystem::canonical("/proc/self/exe").parent_path().string(); }

std::string currentTestName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "e2e";
    for (char& character : name) {
        if (character == '/')
            character = '_';
    }
    return name;
}

scribbo::Point middle(scribbo::Point from, scribbo::Point to) { return {(from.x + to.x) / 2, (from.y + to.y) / 2}; }

} // namespace

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

void ScribboTest::SetUp()
{
    server = std::make_unique<XServer>(serverKind());
    try {
        reader = std::make_unique<ScreenReader>(displayName());
    } catch (const std::exception& error) {
        FAIL() << error.what() << "; the X server said:\n" << server->log();
    }
    mouse = std::make_unique<Pointer>(displayName());
    directory = std::make_unique<TemporaryDirectory>("scribbo-e2e");
    std::filesystem::create_directory(workingDirectory());
    startScribbo();
    ASSERT_NO_FATAL_FAILURE(waitUntilPainted());
}

void ScribboTest::TearDown()
{
    mouse.reset();
    reader.reset();
    scribboChild.reset(); // before its X server, so it can put the display back
    server.reset();
    directory.reset();
}

void ScribboTest::startScribbo(const std::vector<std::string>& launcher)
{
    ChildOptions options;
    options.arguments = launcher;
    options.arguments.push_back(SCRIBBO_BINARY);
    // What the pictures folder cannot take goes to a data folder of the test's own.
    options.environment = {
        {"DISPLAY", displayName()}, {"QT_QPA_PLATFORM", "xcb"}, {"XDG_DATA_HOME", directory->file("data")}};
    if (scribboLogsWarnings())
        options.environment.emplace_back("QT_LOGGING_RULES", "*.warning=true;*.critical=true");
    for (const auto& setting : scribboEnvironment())
        options.environment.push_back(setting);
    options.unset = {"WAYLAND_DISPLAY"};
    options.workingDirectory = workingDirectory();
    options.logPath = directory->file("scribbo.log");
    scribboChild = std::make_unique<ChildProcess>(options);
}

void ScribboTest::waitUntilPainted()
{
    const auto painted = [](const Screenshot& shot) { return showsLayout(shot, scribbo::paintedSignals()); };
    if (!waitForScreen(painted, startGuard)) {
        FAIL() << "Scribbo's window was not shown and painted within " << startGuard.count() << " s:\n"
               << joinLines(layoutMismatches(latestScreenshot, scribbo::paintedSignals()))
               << "screenshot: " << keepScreenshot(latestScreenshot, "start") << "\n"
               << scribboReport();
    }
    // The largest window of its title: its message boxes share it.
    mainWindowArea = 0;
    for (const ShownWindow& window : shownWindows(displayName(), "Scribbo"))
        if (window.width * window.height > mainWindowArea) {
            mainWindow = window.id;
            mainWindowArea = window.width * window.height;
        }
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
    const auto shows = [&](const Screenshot& shot) { return shot.at(onScreen.x, onScreen.y) == colour; };
    if (!waitForScreen(shows, stepGuard)) {
        const std::optional<Rgb> seen = latestScreenshot.at(onScreen.x, onScreen.y);
        std::ostringstream shown;
        if (seen)
            shown << *seen;
        else
            shown << "off the screen";
        FAIL() << what << ": the screen at (" << onScreen.x << ", " << onScreen.y << ") stayed " << shown.str()
               << " instead of turning " << colour << " within " << stepGuard.count() << " s\n"
               << "screenshot: " << keepScreenshot(latestScreenshot, "wait") << "\n"
               << scribboReport();
    }
}

void ScribboTest::waitForLayout(const std::vector<scribbo::ColourArea>& areas, const std::string& what)
{
    const auto shows = [&](const Screenshot& shot) { return showsLayout(shot, areas); };
    if (!waitForScreen(shows, stepGuard)) {
        FAIL() << what << ": not shown within " << stepGuard.count() << " s:\n"
               << joinLines(layoutMismatches(latestScreenshot, areas))
               << "screenshot: " << keepScreenshot(latestScreenshot, "wait") << "\n"
               << scribboReport();
    }
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

void ScribboTest::clickAt(scribbo::Point onScreen, Pointer::Button button)
{
    moveTo(onScreen);
    mouse->click(button);
}

std::optional<int> ScribboTest::waitForScribboExit(std::chrono::milliseconds timeout)
{
    return scribboChild->waitForExit(timeout);
}

void ScribboTest::restartScribbo(const std::vector<std::string>& launcher)
{
    ASSERT_TRUE(waitForScribboExit(std::chrono::milliseconds(0))) << "Scribbo still runs";
    // Until the server has taken the old window away, it could pass for the
    // new one painted.
    const auto gone = [](const Screenshot& shot) { return !showsLayout(shot, scribbo::paintedSignals()); };
    ASSERT_TRUE(waitForScreen(gone, stepGuard))
        << "the ended Scribbo's window stayed; screenshot: " << keepScreenshot(latestScreenshot, "ended");
    startScribbo(launcher);
    ASSERT_NO_FATAL_FAILURE(waitUntilPainted());
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

bool ScribboTest::xdotool(const std::vector<std::string>& arguments)
{
    ChildOptions options;
    options.arguments = {"xdotool"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.environment = {{"DISPLAY", displayName()}};
    ChildProcess child(options);
    const std::optional<int> status = child.waitForExit(stepGuard);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::optional<unsigned long> ScribboTest::shownDialog(const std::string& title)
{
    for (const ShownWindow& window : shownWindows(displayName(), title))
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
    Display* display = XOpenDisplay(displayName().c_str());
    ASSERT_NE(display, nullptr);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    int sent = 0;
    for (unsigned index = 0; index < count; ++index) {
        char* name = nullptr;
        if (XFetchName(display, children[index], &name) && name && title == name) {
            XEvent message{};
            message.xclient.type = ClientMessage;
            message.xclient.window = children[index];
            message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            message.xclient.format = 32;
            message.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
            message.xclient.data.l[1] = CurrentTime;
            sent += XSendEvent(display, children[index], False, NoEventMask, &message) != 0;
        }
        XFree(name);
    }
    XFree(children);
    XCloseDisplay(display);
    EXPECT_EQ(sent, 1) << "windows named \"" << title << "\" sent the close message";
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

std::string keepScreenshot(const Screenshot& shot, const std::string& label)
{
    const std::string path = testProgramDirectory() + "/" + currentTestName() + "." + label + ".ppm";
    try {
        shot.savePpm(path);
    } catch (const std::exception& error) {
        return std::string("(not saved: ") + error.what() + ")";
    }
    return path;
}

std::string ScribboTest::workingDirectory() const { return directory->file("work"); }

std::string ScribboTest::scribboOutput() const { return readTextFile(directory->file("scribbo.log")); }

std::string ScribboTest::scribboReport() const
{
    if (!scribboChild)
        return "Scribbo was not started\n";
    const std::optional<int> status = scribboChild->waitForExit(std::chrono::milliseconds(0));
    return "Scribbo " + describeWaitStatus(status) + "; its output:\n" + scribboOutput();
}

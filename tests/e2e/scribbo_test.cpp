#include "scribbo_test.h"

#include "layout_check.h"
#include "wait_until.h"

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

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

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
    m_server = std::make_unique<XServer>(serverKind());
    try {
        m_reader = std::make_unique<ScreenReader>(displayName());
    } catch (const std::exception& error) {
        FAIL() << error.what() << "; the X server said:\n" << m_server->log();
    }
    m_pointer = std::make_unique<Pointer>(displayName());
    startScribbo();
    ASSERT_NO_FATAL_FAILURE(waitUntilPainted());
}

void ScribboTest::TearDown()
{
    m_pointer.reset();
    m_reader.reset();
    m_scribbo.reset(); // before its X server, so it can put the display back
    m_server.reset();
    m_directory.reset();
}

void ScribboTest::startScribbo()
{
    m_directory = std::make_unique<TemporaryDirectory>("scribbo-e2e");
    const std::string workingDirectory = m_directory->file("work");
    std::filesystem::create_directory(workingDirectory);
    ChildOptions options;
    options.arguments = {SCRIBBO_BINARY};
    options.environment = {{"DISPLAY", displayName()}, {"QT_QPA_PLATFORM", "xcb"}};
    for (const auto& setting : scribboEnvironment())
        options.environment.push_back(setting);
    options.unset = {"WAYLAND_DISPLAY"};
    options.workingDirectory = workingDirectory;
    options.logPath = m_directory->file("scribbo.log");
    m_scribbo = std::make_unique<ChildProcess>(options);
}

void ScribboTest::waitUntilPainted()
{
    const auto painted = [](const Screenshot& shot) { return showsLayout(shot, scribbo::paintedSignals()); };
    if (!waitForScreen(painted, startGuard)) {
        FAIL() << "Scribbo's window was not shown and painted within " << startGuard.count() << " s:\n"
               << joinLines(layoutMismatches(m_lastScreenshot, scribbo::paintedSignals()))
               << "screenshot: " << keepScreenshot(m_lastScreenshot, "start") << "\n"
               << scribboReport();
    }
}

Screenshot ScribboTest::screenshot()
{
    m_lastScreenshot = m_reader->grab();
    return m_lastScreenshot;
}

std::optional<Screenshot> ScribboTest::waitForScreen(const std::function<bool(const Screenshot&)>& condition,
                                                     std::chrono::milliseconds timeout)
{
    const bool satisfied = waitUntil([&] { return condition(screenshot()); }, timeout, std::chrono::milliseconds(20));
    if (!satisfied)
        return std::nullopt;
    return m_lastScreenshot;
}

void ScribboTest::waitForPixel(scribbo::Point onScreen, Rgb colour, const std::string& what)
{
    const auto shows = [&](const Screenshot& shot) { return shot.at(onScreen.x, onScreen.y) == colour; };
    if (!waitForScreen(shows, stepGuard)) {
        const std::optional<Rgb> seen = m_lastScreenshot.at(onScreen.x, onScreen.y);
        std::ostringstream shown;
        if (seen)
            shown << *seen;
        else
            shown << "off the screen";
        FAIL() << what << ": the screen at (" << onScreen.x << ", " << onScreen.y << ") stayed " << shown.str()
               << " instead of turning " << colour << " within " << stepGuard.count() << " s\n"
               << "screenshot: " << keepScreenshot(m_lastScreenshot, "wait") << "\n"
               << scribboReport();
    }
}

void ScribboTest::drawStroke(Pointer::Button button, const std::vector<scribbo::Point>& inPicture, Rgb colour)
{
    ASSERT_FALSE(inPicture.empty());
    moveTo(scribbo::toScreen(inPicture.front()));
    m_pointer->press(button);
    for (std::size_t index = 1; index < inPicture.size(); ++index) {
        moveTo(scribbo::toScreen(inPicture[index]));
        const scribbo::Point probe = scribbo::toScreen(middle(inPicture[index - 1], inPicture[index]));
        ASSERT_NO_FATAL_FAILURE(waitForPixel(probe, colour, "stroke segment " + std::to_string(index)));
    }
    m_pointer->release(button);
}

void ScribboTest::clickAt(scribbo::Point onScreen, Pointer::Button button)
{
    moveTo(onScreen);
    m_pointer->click(button);
}

std::optional<int> ScribboTest::waitForScribboExit(std::chrono::milliseconds timeout)
{
    return m_scribbo->waitForExit(timeout);
}

std::string ScribboTest::keepScreenshot(const Screenshot& shot, const std::string& label) const
{
    const std::string path = testProgramDirectory() + "/" + currentTestName() + "." + label + ".ppm";
    try {
        shot.savePpm(path);
    } catch (const std::exception& error) {
        return std::string("(not saved: ") + error.what() + ")";
    }
    return path;
}

std::string ScribboTest::scribboReport() const
{
    if (!m_scribbo)
        return "Scribbo was not started\n";
    const std::optional<int> status = m_scribbo->waitForExit(std::chrono::milliseconds(0));
    return "Scribbo " + describeWaitStatus(status) + "; its output:\n" + readFile(m_directory->file("scribbo.log"));
}

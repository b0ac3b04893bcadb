// Scribbo on a Wayland desktop, Weston with its shell and Xwayland: as an X11
// client of Xwayland, its choice whenever an X display answers (no platform
// asked for, WAYLAND_DISPLAY set too), and as a Wayland client where there is
// none. Either way it covers the whole output at every start, panel hidden,
// draws under the pointer, shows every tool's cursor with its hot spot and
// ends by its close button, one pixel from the output's right edge.
#include "compositor.h"
#include "layout_check.h"
#include "picture_check.h"
#include "pointer.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "scribbo_test.h"
#include "shown_windows.h"
#include "temporary_directory.h"
#include "wait_until.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

#include <sys/wait.h>

// Last: Xlib's macros (None, Bool, Status, ...) clash with names above.
#include <X11/Xlib.h>

namespace {

using scribbo::Point;

enum class Session { Xwayland, Wayland };

std::string nameOf(Session session) { return session == Session::Xwayland ? "Xwayland" : "Wayland"; }

std::string sessionName(const ::testing::TestParamInfo<Session>& info) { return nameOf(info.param); }

// For gtest's messages.
void PrintTo(Session session, std::ostream* out) { *out << nameOf(session); }

// Guards against a hang; not a measure of speed.
constexpr auto startGuard = std::chrono::seconds(30);
constexpr auto stepGuard = std::chrono::seconds(10);

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& geometry)
{
    return out << geometry.width << "x" << geometry.height << "+" << geometry.x << "+" << geometry.y;
}

// Scribbo's main window on the X display, and where it is on the screen.
std::optional<std::pair<Window, Geometry>> findMainWindow(Display* display)
{
    const std::vector<ShownWindow> windows = shownWindows(display, "Scribbo");
    if (windows.empty())
        return std::nullopt;
    const ShownWindow& window = windows.front();
    return {{window.id, {window.x, window.y, window.width, window.height}}};
}

// Asks the window manager to take the window out of full screen, as its
// own key or menu would.
void leaveFullScreen(Display* display, Window window)
{
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = 0; // remove
    message.xclient.data.l[1] = long(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    message.xclient.data.l[3] = 1; // from an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XSync(display, False);
}

struct ToolCursor {
    const char* file;
    Point button; // what selects it
    int hotX, hotY;
};

// Each tool's cursor as designed, and its hot spot, where the tool draws.
const ToolCursor toolCursors[] = {
    {"pencil.png", scribbo::buttons::pen, 0, 0},       {"fill.png", scribbo::buttons::fill, 4, 32},
    {"square.png", scribbo::buttons::rectangle, 0, 0}, {"circle.png", scribbo::buttons::ellipse, 0, 0},
    {"spray.png", scribbo::buttons::spray, 0, 18},     {"line.png", scribbo::buttons::line, 0, 0},
};

// The cursor's pixels around the pointer that the screen does not show:
// black and white where the design has them, the background elsewhere.
std::vector<std::string> cursorMismatches(const Screenshot& shot, const QImage& look, Point pointer, int hotX, int hotY,
                                          Rgb background)
{
    std::vector<std::string> mismatches;
    for (int y = 0; y < look.height(); ++y)
        for (int x = 0; x < look.width(); ++x) {
            const QRgb pixel = look.pixel(x, y);
            const Rgb expected = qAlpha(pixel) == 0 ? background : Rgb{qRed(pixel), qGreen(pixel), qBlue(pixel)};
            const Point onScreen{pointer.x - hotX + x, pointer.y - hotY + y};
            const std::optional<Rgb> shown = shot.at(onScreen.x, onScreen.y);
            if (shown != expected && mismatches.size() < 5) {
                std::ostringstream line;
                line << "cursor pixel (" << x << ", " << y << ") at (" << onScreen.x << ", " << onScreen.y << "): ";
                if (shown)
                    line << *shown;
                line << " instead of " << expected;
                mismatches.push_back(line.str());
            }
        }
    return mismatches;
}

} // namespace

class ScribboOnWestonTest : public ::testing::Test {
protected:
    virtual Session session() const = 0;

    void SetUp() override
    {
        weston = std::make_unique<WestonCompositor>();
        reader = std::make_unique<ScreenReader>(weston->hostDisplay());
        mouse = std::make_unique<Pointer>(weston->hostDisplay());
        if (session() == Session::Xwayland) {
            xwayland = XOpenDisplay(weston->startXwayland().c_str());
            ASSERT_NE(xwayland, nullptr) << weston->log();
        }
        ASSERT_EQ(weston->outputWidth(), 800) << "the layout's figures are for an 800 x 600 output";
        ASSERT_EQ(weston->outputHeight(), 600);
    }

    void TearDown() override
    {
        scribbo.reset();
        if (xwayland)
            XCloseDisplay(xwayland);
        mouse.reset();
        reader.reset();
        weston.reset();
    }

    void startScribbo()
    {
        ChildOptions options;
        options.arguments = {SCRIBBO_BINARY};
        options.environment = weston->waylandEnvironment();
        options.environment.emplace_back("QT_LOGGING_RULES", "*.warning=true;*.critical=true");
        // Under LeakSanitizer: what Qt's Wayland plugin keeps until the end
        // was made inside libwayland-client, which has no frame pointers; only
        // the slow unwinding reaches the Qt frames that tests/lsan.supp names.
        if (const char* leakOptions = std::getenv("LSAN_OPTIONS"))
            options.environment.emplace_back("LSAN_OPTIONS", std::string(leakOptions) + ":fast_unwind_on_malloc=0");
        options.unset = {"QT_QPA_PLATFORM"};
        if (session() == Session::Xwayland)
            options.environment.emplace_back("DISPLAY", DisplayString(xwayland));
        else
            options.unset.push_back("DISPLAY");
        options.workingDirectory = work.path();
        options.logPath = work.file("scribbo.log");
        scribbo = std::make_unique<ChildProcess>(options);
    }

    // Starts Scribbo and returns once the whole start layout covers the
    // output (and, on X11, its window does).
    void startCoveringTheOutput()
    {
        startScribbo();
        ASSERT_NO_FATAL_FAILURE(waitForAreas(scribbo::startLayout(), "the start layout over the whole output"));
        if (session() == Session::Xwayland) {
            ASSERT_NO_FATAL_FAILURE(waitForWindowGeometry(true));
        }
    }

    // Ends Scribbo as a logout would; returns once its window has gone.
    void endScribbo()
    {
        const int status = scribbo->stop(stepGuard);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report();
        const auto gone = [](const Screenshot& shot) { return !showsLayout(shot, scribbo::paintedSignals()); };
        ASSERT_TRUE(waitForScreen(gone, stepGuard)) << "the ended Scribbo's window stayed";
    }

    bool waitForScreen(const std::function<bool(const Screenshot&)>& condition, std::chrono::milliseconds timeout)
    {
        return waitUntil([&] { return condition(shot = reader->grab()); }, timeout, std::chrono::milliseconds(20));
    }

    void waitForAreas(const std::vector<scribbo::ColourArea>& areas, const std::string& what)
    {
        if (!waitForScreen([&](const Screenshot& screen) { return showsLayout(screen, areas); }, startGuard))
            FAIL() << what << ": not shown:\n" << joinLines(layoutMismatches(shot, areas)) << keep("areas") << report();
    }

    void waitForCursor(const QImage& look, Point pointer, int hotX, int hotY, Rgb background, const std::string& what)
    {
        const auto shows = [&](const Screenshot& screen) {
            return cursorMismatches(screen, look, pointer, hotX, hotY, background).empty();
        };
        if (!waitForScreen(shows, stepGuard))
            FAIL() << what << " is not shown with its hot spot on the pointer at (" << pointer.x << ", " << pointer.y
                   << "):\n"
                   << joinLines(cursorMismatches(shot, look, pointer, hotX, hotY, background)) << keep("cursor")
                   << report();
    }

    // Waits until Scribbo's X11 window covers the whole output, or is shown
    // anywhere else.
    void waitForWindowGeometry(bool overWholeOutput)
    {
        std::optional<std::pair<Window, Geometry>> seen;
        const auto placed = [&] {
            seen = findMainWindow(xwayland);
            return seen && (seen->second == wholeOutput) == overWholeOutput;
        };
        if (!waitUntil(placed, stepGuard)) {
            std::ostringstream where;
            if (seen)
                where << seen->second;
            else
                where << "not shown";
            FAIL() << "Scribbo's X11 window is " << where.str() << (overWholeOutput ? ", not " : ", still ")
                   << wholeOutput << "\n"
                   << report();
        }
    }

    void moveTo(Point onScreen) { mouse->moveTo(onScreen.x, onScreen.y); }

    std::string keep(const std::string& label) const { return "screenshot: " + keepScreenshot(shot, label) + "\n"; }

    std::string report() const
    {
        return "Scribbo said:\n" + readTextFile(work.file("scribbo.log")) + "Weston said:\n" + weston->log();
    }

    std::unique_ptr<WestonCompositor> weston;
    std::unique_ptr<ScreenReader> reader;
    std::unique_ptr<Pointer> mouse;
    Display* xwayland = nullptr;
    TemporaryDirectory work{"scribbo-desktop"};
    std::unique_ptr<ChildProcess> scribbo;
    // Where the compositor leaves the pointer: on no part that a layout check
    // looks at, so its cursor spoils none.
    static constexpr Point rest{799, 599};
    static constexpr Geometry wholeOutput{0, 0, 800, 600};
    Screenshot shot;
};

class ScribboOnDesktopTest : public ScribboOnWestonTest, public ::testing::WithParamInterface<Session> {
protected:
    Session session() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Sessions, ScribboOnDesktopTest, ::testing::Values(Session::Xwayland, Session::Wayland),
                         sessionName);

TEST_P(ScribboOnDesktopTest, CoversTheOutputAndEndsByItsCloseButtonOnePixelFromTheRightEdge)
{
    ASSERT_NO_FATAL_FAILURE(startCoveringTheOutput());
    // Its frame, shown while the pointer is over it, ends one pixel before
    // the output's last column.
    moveTo({750, 40});
    ASSERT_NO_FATAL_FAILURE(waitForAreas({{"close button's dark right edge", {798, 1, 798, 51}, Rgb{128, 128, 128}},
                                          {"top bar right of the close button", {799, 0, 799, 52}, scribbo::barBlue}},
                                         "the close button's frame"));
    mouse->click(Pointer::Left);
    const std::optional<int> status = scribbo->waitForExit(stepGuard);
    ASSERT_TRUE(status.has_value()) << "still running after a click on the close button\n" << report();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describeWaitStatus(status);
}

TEST_P(ScribboOnDesktopTest, DrawsUnderThePointerAndShowsEachToolsCursorWithItsHotSpotThere)
{
    ASSERT_NO_FATAL_FAILURE(startCoveringTheOutput());
    const Path stroke{{100, 100}, {300, 100}};
    moveTo(scribbo::toScreen(stroke.front()));
    mouse->press(Pointer::Left);
    moveTo(scribbo::toScreen(stroke.back()));
    mouse->release(Pointer::Left);
    moveTo(rest);
    // Along row y the pen covers rows y - 1 and y.
    const auto row = [](const char* name, int y, Rgb colour) {
        const Point from = scribbo::toScreen({110, y}), to = scribbo::toScreen({290, y});
        return scribbo::ColourArea{name, {from.x, from.y, to.x, to.y}, colour};
    };
    const std::vector<scribbo::ColourArea> rows{
        row("stroke's upper row", 99, colours::black), row("stroke's lower row", 100, colours::black),
        row("above the stroke", 98, colours::white), row("below the stroke", 101, colours::white)};
    // Nothing else either, once the cursor has followed the pointer away.
    const auto drawn = [&](const Screenshot& screen) {
        return showsLayout(screen, rows) && strayPixels(screen, {stroke}, 2.0).empty();
    };
    ASSERT_TRUE(waitForScreen(drawn, stepGuard))
        << "the stroke along the pointer's way is not shown:\n"
        << joinLines(layoutMismatches(shot, rows)) << joinLines(strayPixels(shot, {stroke}, 2.0)) << keep("stroke")
        << report();

    const auto look = [](const char* file) { return QImage(QString(SCRIBBO_CURSORS "/") + file); };
    // The window's own arrow, over the top bar's plain blue.
    const Point overTopBar{560, 10};
    moveTo(overTopBar);
    ASSERT_NO_FATAL_FAILURE(waitForCursor(look("normal.png"), overTopBar, 0, 0, scribbo::barBlue, "the arrow"));
    // Each tool's, over the picture where it is still white.
    const Point overPicture = scribbo::toScreen({360, 240});
    for (const ToolCursor& cursor : toolCursors) {
        moveTo(cursor.button);
        mouse->click(Pointer::Left);
        moveTo(overPicture);
        ASSERT_NO_FATAL_FAILURE(
            waitForCursor(look(cursor.file), overPicture, cursor.hotX, cursor.hotY, colours::white, cursor.file));
    }
}

TEST_P(ScribboOnDesktopTest, TwentyStartsInARowEachCoverTheOutput)
{
    for (int start = 1; start <= 20; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        ASSERT_NO_FATAL_FAILURE(startCoveringTheOutput());
        ASSERT_NO_FATAL_FAILURE(endScribbo());
    }
}

class ScribboOnXwaylandTest : public ScribboOnWestonTest {
protected:
    Session session() const override { return Session::Xwayland; }
};

// The window manager may take the window out of full screen (its own key,
// a menu): Scribbo asks for it again and covers the output once more.
TEST_F(ScribboOnXwaylandTest, TakenOutOfFullScreenGoesBackOverTheWholeOutput)
{
    ASSERT_NO_FATAL_FAILURE(startCoveringTheOutput());
    const std::optional<std::pair<Window, Geometry>> window = findMainWindow(xwayland);
    ASSERT_TRUE(window);
    // Held still until the window manager has done it, so that the change
    // is seen before Scribbo can undo it.
    scribbo->signal(SIGSTOP);
    leaveFullScreen(xwayland, window->first);
    ASSERT_NO_FATAL_FAILURE(waitForWindowGeometry(false));
    scribbo->signal(SIGCONT);
    ASSERT_NO_FATAL_FAILURE(waitForWindowGeometry(true));
    ASSERT_NO_FATAL_FAILURE(waitForAreas(scribbo::startLayout(), "the start layout over the whole output again"));
}

// Scribbo on screens larger than its layout whose mode stays as it is: Xvfb
// at 1920 x 1080 and at 3840 x 2160, and Weston natively on Wayland with its
// 1920 x 1080 output at scale 2. In each the layout is drawn at the one scale
// that fills the screen's height, a stroke lands on the picture pixel under
// the pointer, and the save dialog opens at that scale, centred over the
// layout where the program places its own windows, and answers a click.
#include "child_process.h"
#include "compositor.h"
#include "pointer.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "scribbo_test.h"
#include "temporary_directory.h"
#include "wait_until.h"
#include "x_server.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct LargeScreen {
    const char* name;
    int width, height; // the output in the desktop's own pixels
    int desktopScale;  // Weston's output scale; 0: an Xvfb
    double expectedScale;
};

const LargeScreen largeScreens[] = {
    {"Xvfb1920x1080", 1920, 1080, 0, 1.8},
    {"Xvfb3840x2160", 3840, 2160, 0, 3.6},
    {"WaylandAt200Percent", 1920, 1080, 2, 3.6},
};

std::string screenName(const ::testing::TestParamInfo<LargeScreen>& info) { return info.param.name; }

// For gtest's messages.
void PrintTo(const LargeScreen& screen, std::ostream* out) { *out << screen.name; }

constexpr auto startGuard = std::chrono::seconds(30);
constexpr auto stepGuard = std::chrono::seconds(10);

// An area of one colour on the screen, inclusive.
struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// The run of the colour through the point, along its row and its column.
Box runThrough(const Screenshot& shot, scribbo::Point point, Rgb colour)
{
    Box box{point.x, point.y, point.x, point.y};
    while (shot.at(box.left - 1, point.y) == colour)
        --box.left;
    while (shot.at(box.right + 1, point.y) == colour)
        ++box.right;
    while (shot.at(point.x, box.top - 1) == colour)
        --box.top;
    while (shot.at(point.x, box.bottom + 1) == colour)
        ++box.bottom;
    return box;
}

} // namespace

class ScribboOnLargeScreenTest : public ::testing::TestWithParam<LargeScreen> {
protected:
    void SetUp() override
    {
        const LargeScreen& screen = GetParam();
        ChildOptions options;
        options.arguments = {SCRIBBO_BINARY};
        if (screen.desktopScale) {
            compositor = std::make_unique<WestonCompositor>(screen.width, screen.height, screen.desktopScale);
            display = compositor->hostDisplay();
            options.environment = compositor->waylandEnvironment();
            options.environment.emplace_back("QT_QPA_PLATFORM", "wayland");
            options.unset = {"DISPLAY"};
        } else {
            server = std::make_unique<XServer>(XServer::Kind::Xvfb, 24, screen.width, screen.height);
            display = server->displayName();
            options.environment = {{"DISPLAY", display}, {"QT_QPA_PLATFORM", "xcb"}};
            options.unset = {"WAYLAND_DISPLAY"};
        }
        options.workingDirectory = directory.path();
        options.logPath = directory.file("scribbo.log");
        scribbo = std::make_unique<ChildProcess>(options);
        reader = std::make_unique<ScreenReader>(display);
        mouse = std::make_unique<Pointer>(display);
    }

    // The screen pixel in the middle of a pixel of the layout.
    scribbo::Point onScreen(double x, double y) const
    {
        const double scale = GetParam().expectedScale;
        return {int(std::floor((x + 0.5) * scale)), int(std::floor((y + 0.5) * scale))};
    }
    scribbo::Point inPicture(int x, int y) const
    {
        return onScreen(x + scribbo::picture.left, y + scribbo::picture.top);
    }
    // The first screen pixel a press on that picture pixel is taken for: Qt
    // rounds the pointer to whole pixels of the layout.
    scribbo::Point firstReaching(int x, int y) const
    {
        const double scale = GetParam().expectedScale;
        return {int(std::ceil((x + scribbo::picture.left - 0.5) * scale)),
                int(std::ceil((y + scribbo::picture.top - 0.5) * scale))};
    }

    bool xdotool(const std::vector<std::string>& arguments)
    {
        ChildOptions options{{"xdotool"}, {{"DISPLAY", display}}, {}, {}, directory.file("xdotool.log")};
        options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
        return runToEnd(options, stepGuard).succeeded;
    }

    bool mostlyWhite(scribbo::Point point)
    {
        const std::optional<Rgb> shown = reader->pixel(point.x, point.y);
        return shown && shown->red > 127 && shown->green > 127 && shown->blue > 127;
    }

    bool shows(scribbo::Point point, Rgb colour) { return reader->pixel(point.x, point.y) == colour; }

    // Waits until the screen shows the colour there; fails the test if not.
    void waitForColour(scribbo::Point point, Rgb colour, const std::string& what)
    {
        ASSERT_TRUE(waitUntil([&] { return shows(point, colour); }, startGuard))
            << what << " at (" << point.x << ", " << point.y << ") is not " << colour << "\n"
            << readTextFile(directory.file("scribbo.log"));
    }

    std::unique_ptr<XServer> server;
    std::unique_ptr<WestonCompositor> compositor;
    std::string display;
    TemporaryDirectory directory{"scribbo-large"};
    std::unique_ptr<ChildProcess> scribbo;
    std::unique_ptr<ScreenReader> reader;
    std::unique_ptr<Pointer> mouse;
};

TEST_P(ScribboOnLargeScreenTest, FillsTheScreenAtOneScaleDrawsUnderThePointerAndSavesThroughItsDialog)
{
    const LargeScreen& screen = GetParam();
    const double scale = screen.expectedScale;
    ASSERT_NO_FATAL_FAILURE(waitForColour(inPicture(360, 244), colours::white, "the drawing area's middle"));
    ASSERT_NO_FATAL_FAILURE(waitForColour(onScreen(300, 26), scribbo::barBlue, "the top bar"));
    ASSERT_NO_FATAL_FAILURE(waitForColour(onScreen(900, 300), scribbo::windowGrey, "the grey right of the layout"));

    // The drawing area at the scale, as wide as high, over half the screen.
    const Screenshot start = reader->grab();
    const Box area = runThrough(start, inPicture(360, 244), colours::white);
    EXPECT_NEAR(area.width(), 721 * scale, 2);
    EXPECT_NEAR(area.height(), 489 * scale, 2);
    const double share = double(area.width()) * area.height() / (double(start.width()) * start.height());
    RecordProperty("drawing_area_share", std::to_string(share));
    EXPECT_GT(share, 0.5);

    // A stroke along picture row 200, from pixel 100 to pixel 500, pressed
    // and moved on the first screen pixels that reach those picture pixels:
    // the screen shows the stroke under the pointer there.
    const scribbo::Point press = firstReaching(100, 200), middle = firstReaching(300, 200),
                         end = firstReaching(500, 200);
    mouse->moveTo(press.x, press.y);
    mouse->press(Pointer::Left);
    mouse->moveTo(middle.x, middle.y);
    ASSERT_NO_FATAL_FAILURE(waitForColour(press, colours::black, "the stroke under the pointer where it was pressed"));
    mouse->moveTo(end.x, end.y);
    ASSERT_NO_FATAL_FAILURE(waitForColour(middle, colours::black, "the stroke under the pointer where it went on"));
    mouse->release(Pointer::Left);
    ASSERT_NO_FATAL_FAILURE(waitForColour(end, colours::black, "the stroke under the pointer where it ended"));
    // Where a press would reach the white beside the stroke, the screen shows
    // mostly white: a screen pixel on a border mixes the two. (The pointer
    // goes first: a compositor draws it into the screen.)
    mouse->moveTo(onScreen(900, 300).x, onScreen(900, 300).y);
    for (const scribbo::Point beside : {firstReaching(501, 200), firstReaching(300, 201)})
        EXPECT_TRUE(waitUntil([&] { return mostlyWhite(beside); }, stepGuard))
            << "(" << beside.x << ", " << beside.y << ") shows the stroke";

    // The save dialog, cream, 369 x 136 at the scale: found by a row of its
    // cream as wide as it, right of the left column and below the top bar.
    mouse->moveTo(onScreen(138, 26).x, onScreen(138, 26).y);
    mouse->click(Pointer::Left);
    const Rgb cream = scribbo::columnCream;
    std::optional<Box> dialog;
    const auto findDialog = [&] {
        const Screenshot shot = reader->grab();
        for (int y = onScreen(0, 60).y; y < shot.height() && !dialog; y += 2)
            for (int x = onScreen(80, 0).x; x < shot.width() && !dialog; x += 4) {
                if (shot.at(x, y) != cream)
                    continue;
                const Box row = runThrough(shot, {x, y}, cream);
                if (std::abs(row.width() - 369 * scale) > 2)
                    continue;
                const Box edge = runThrough(shot, {row.left + int(6 * scale), y}, cream); // left of its controls
                dialog = Box{row.left, edge.top, row.right, edge.bottom};
            }
        return dialog.has_value();
    };
    ASSERT_TRUE(waitUntil(findDialog, stepGuard)) << "no save dialog of its size appeared";
    EXPECT_NEAR(dialog->height(), 136 * scale, 2);
    if (server) { // a Wayland compositor places windows itself
        // Centred to the layout's pixel.
        EXPECT_NEAR((dialog->left + dialog->right) / 2.0, 400 * scale, scale);
        EXPECT_NEAR((dialog->top + dialog->bottom) / 2.0, 300 * scale, scale);
    }
    // Typed into the dialog, which an X server without a window manager
    // gives the keyboard only when told.
    if (server) {
        ASSERT_TRUE(xdotool({"search", "--sync", "--name", "^Save Picture$", "windowfocus"}));
    }
    ASSERT_TRUE(xdotool({"type", "--delay", "0", "stroke"}));
    // Its Save button, at (12, 84), 89 x 41 in the dialog.
    const auto dialogPoint = [&](double x, double y) {
        return scribbo::Point{dialog->left + int(x * scale), dialog->top + int(y * scale)};
    };
    mouse->moveTo(dialogPoint(56, 104).x, dialogPoint(56, 104).y);
    mouse->click(Pointer::Left);

    QImage saved;
    ASSERT_TRUE(waitUntil([&] { return saved.load(QString::fromStdString(directory.file("stroke.bmp"))); }, stepGuard))
        << "stroke.bmp was not saved";
    ASSERT_EQ(saved.size(), QSize(721, 489)); // the picture keeps its own size
    const auto black = [&](int x, int y) { return saved.pixel(x, y) == qRgb(0, 0, 0); };
    int first = 0, last = 720;
    while (first < 720 && !black(first, 200))
        ++first;
    while (last > 0 && !black(last, 200))
        --last;
    // The round pen of 2 covers the point and the pixels left of and above it.
    EXPECT_EQ(first, 99);
    EXPECT_EQ(last, 500);
    EXPECT_TRUE(black(300, 199) && !black(300, 198) && !black(300, 201));
}

INSTANTIATE_TEST_SUITE_P(Screens, ScribboOnLargeScreenTest, ::testing::ValuesIn(largeScreens), screenName);

// Scribbo in a GNOME session, started by the given launcher (the menu
// entry's command), checked on GNOME's own screenshots: how much of the
// screen the drawing area covers and, through Xwayland, whether a stroke
// lands under the pointer and in the saved file, and where GNOME puts the
// Save dialog. Prints the figures; exits 1 when a check fails.
// scripts/gnome-check runs it in a headless GNOME Shell.
//
//   gnome_check x11|wayland LAUNCHER SCREENSHOT.png
#include "child_process.h"
#include "layout_check.h"
#include "read_file.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "shown_windows.h"
#include "temporary_directory.h"
#include "wait_until.h"
#include "x_input.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

// Last: Xlib's macros (None, Bool, Status, ...) clash with names above.
#include <X11/Xlib.h>

namespace {

// Guards against a hang on a busy machine; not a measure of speed.
constexpr auto startGuard = std::chrono::seconds(60);
constexpr auto stepGuard = std::chrono::seconds(20);

void check(bool condition, const std::string& failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}

// GNOME Shell hands screenshots only to a caller that owns the screenshot
// tool's bus name, which main takes.
Screenshot takeScreenshot(const std::string& path)
{
    QDBusInterface shell("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot");
    const QDBusMessage reply = shell.call("Screenshot", false, false, QString::fromStdString(path));
    check(reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool(),
          "GNOME Shell took no screenshot: " + reply.errorMessage().toStdString());
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    std::vector<Rgb> pixels;
    pixels.reserve(std::size_t(image.width()) * std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back({qRed(row[x]), qGreen(row[x]), qBlue(row[x])});
    }
    return {0, 0, image.width(), image.height(), std::move(pixels)};
}

// The drawing area: the longest white run across the screen's middle row,
// and the white run down through its middle. Screen pixels on its edges
// that mix white with the window's grey are not counted.
scribbo::Area drawingArea(const Screenshot& shot)
{
    const auto white = [&](int x, int y) { return shot.at(x, y) == colours::white; };
    const int middleRow = shot.height() / 2;
    scribbo::Area area{0, middleRow, -1, middleRow};
    for (int x = 0; x < shot.width();) {
        int end = x;
        while (white(end, middleRow))
            ++end;
        if (end - x > area.right - area.left + 1)
            area.left = x, area.right = end - 1;
        x = std::max(end, x + 1);
    }
    const int column = (area.left + area.right) / 2;
    while (white(column, area.top - 1))
        --area.top;
    while (white(column, area.bottom + 1))
        ++area.bottom;
    return area;
}

void xdotool(const std::string& display, const std::vector<std::string>& arguments)
{
    check(runXdotool(display, arguments), "xdotool failed");
}

class Check {
public:
    Check(bool x11, const std::string& launcher, std::string keptScreenshot)
        : x11(x11), keptScreenshot(std::move(keptScreenshot))
    {
        ChildOptions options;
        options.arguments = {launcher};
        if (x11)
            options.unset = {"QT_QPA_PLATFORM"};
        else
            options.environment = {{"QT_QPA_PLATFORM", "wayland"}};
        options.environment.emplace_back("QT_LOGGING_RULES", "*.warning=true;*.critical=true");
        options.logPath = work.file("scribbo.log");
        scribbo = std::make_unique<ChildProcess>(options);
    }

    void run()
    {
        // Shown once two screenshots in a row find the same area, as large
        // as the layout's at least.
        scribbo::Area last{};
        const bool shown = waitUntil(
            [&] {
                const scribbo::Area before = last;
                last = drawingArea(shot = takeScreenshot(work.file("shot.png")));
                return last == before && last.right - last.left + 1 >= scribbo::pictureWidth
                    && last.bottom - last.top + 1 >= scribbo::pictureHeight;
            },
            startGuard);
        std::filesystem::copy_file(work.file("shot.png"), keptScreenshot,
                                   std::filesystem::copy_options::overwrite_existing);
        check(shown, "no drawing area as large as the layout's is shown" + said());
        const scribbo::Area area = last;
        const int width = area.right - area.left + 1, height = area.bottom - area.top + 1;
        const double share = 100.0 * area.pixelCount() / (double(shot.width()) * shot.height());
        report("screen %d x %d, drawing area %d x %d at (%d, %d): %.1f %% of the screen, scale %.3f across, "
               "%.3f down",
               shot.width(), shot.height(), width, height, area.left, area.top, share,
               double(width) / scribbo::pictureWidth, double(height) / scribbo::pictureHeight);
        check(area.left > 0 && area.top > 0 && area.right < shot.width() - 1 && area.bottom < shot.height() - 1,
              "the drawing area runs off the screen: the layout does not fit it");
        check(share >= 50, "the drawing area covers less than half of the screen");
        check(std::abs(height - width * scribbo::pictureHeight / double(scribbo::pictureWidth)) <= 2,
              "the drawing area is not at one uniform scale");
        // Input reaches Scribbo only as an X client (xdotool through XTEST).
        if (x11) {
            drawStroke();
            saveThroughTheDialog();
        }
        const int status = scribbo->stop(stepGuard);
        check(exitedWithStatusZero(status), "Scribbo " + describeWaitStatus(status) + said());
    }

private:
    // Where the display mode stays, Scribbo draws its layout from the
    // screen's top left corner at this scale.
    double layoutScale() const { return std::max(1.0, std::min(shot.width() / 800.0, shot.height() / 600.0)); }

    // The middle of a pixel of the layout as Qt takes the pointer: rounded
    // to whole pixels of the layout.
    scribbo::Point onScreen(scribbo::Point layoutPoint) const
    {
        return {int(std::lround(layoutPoint.x * layoutScale())), int(std::lround(layoutPoint.y * layoutScale()))};
    }

    void drawStroke()
    {
        Pointer mouse(display);
        const scribbo::Point from = onScreen(scribbo::toScreen({100, 100})),
                             to = onScreen(scribbo::toScreen({300, 100}));
        mouse.moveTo(from.x, from.y);
        mouse.press(Pointer::Left);
        mouse.moveTo(to.x, to.y);
        mouse.release(Pointer::Left);
        mouse.moveTo(0, shot.height() - 1);
        // The pen, two picture pixels wide, covers the pointer's row; a
        // little further than its width above and below, nothing.
        const int clear = int(std::ceil(2 * layoutScale())) + 1;
        const auto row = [&](const char* name, int y, Rgb colour) {
            return scribbo::ColourArea{name, {from.x + clear, y, to.x - clear, y}, colour};
        };
        const std::vector<scribbo::ColourArea> stroke{row("under the pointer", from.y, colours::black),
                                                      row("above the stroke", from.y - clear, colours::white),
                                                      row("below the stroke", from.y + clear, colours::white)};
        const bool drawn =
            waitUntil([&] { return showsLayout(shot = takeScreenshot(work.file("shot.png")), stroke); }, stepGuard);
        if (!drawn)
            throw std::runtime_error("the stroke is not under the pointer: " + layoutMismatches(shot, stroke).front());
        report("a stroke from (%d, %d) to (%d, %d) shows under the pointer", from.x, from.y, to.x, to.y);
    }

    void saveThroughTheDialog()
    {
        Pointer mouse(display);
        const scribbo::Point save = onScreen(scribbo::buttons::save);
        mouse.moveTo(save.x, save.y);
        mouse.click(Pointer::Left);
        std::vector<ShownWindow> dialogs;
        check(waitUntil([&] { return !(dialogs = shownWindows(display, "Save Picture")).empty(); }, stepGuard),
              "no Save dialog" + said());
        const ShownWindow dialog = dialogs.front();
        // Painted once its cream shows along its top.
        const std::vector<scribbo::ColourArea> margin{
            {"Save dialog's top margin",
             {dialog.x + 5, dialog.y + 5, dialog.x + dialog.width - 6, dialog.y + 5},
             scribbo::columnCream}};
        const bool painted =
            waitUntil([&] { return showsLayout(shot = takeScreenshot(work.file("shot.png")), margin); }, stepGuard);
        std::filesystem::copy_file(work.file("shot.png"), keptScreenshot,
                                   std::filesystem::copy_options::overwrite_existing);
        if (!painted)
            throw std::runtime_error("the Save dialog is not shown: " + layoutMismatches(shot, margin).front());
        const double centreX = 400 * layoutScale(), centreY = 300 * layoutScale();
        report("the Save dialog is %d x %d at (%d, %d); its centre is %+.0f, %+.0f from the layout's centre (%.0f, "
               "%.0f)",
               dialog.width, dialog.height, dialog.x, dialog.y, dialog.x + dialog.width / 2.0 - centreX,
               dialog.y + dialog.height / 2.0 - centreY, centreX, centreY);

        xdotool(display, {"windowfocus", "--sync", std::to_string(dialog.id)});
        xdotool(display, {"type", "--delay", "0", "gnome"});
        xdotool(display, {"key", "Return"});
        const std::string file = std::string(std::getenv("HOME")) + "/Scribbo Pictures/gnome.bmp";
        check(waitUntil([&] { return shownWindows(display, "Save Picture").empty(); }, stepGuard),
              "the Save dialog stayed after a name and Enter");
        const QImage saved(QString::fromStdString(file));
        const auto rowIs = [&](int y, QRgb colour) {
            for (int x = 110; x <= 290; ++x)
                if (saved.pixel(x, y) != colour)
                    return false;
            return true;
        };
        check(saved.width() == scribbo::pictureWidth && rowIs(98, qRgb(255, 255, 255)) && rowIs(99, qRgb(0, 0, 0))
                  && rowIs(100, qRgb(0, 0, 0)) && rowIs(101, qRgb(255, 255, 255)),
              file + " does not hold the stroke on picture rows 99 and 100");
        report("typed name and Enter saved %s with the stroke where it was drawn", file.c_str());
    }

    __attribute__((format(printf, 2, 3))) void report(const char* format, ...) const
    {
        std::printf("gnome-check %s: ", x11 ? "X11 through Xwayland" : "native Wayland");
        std::va_list values;
        va_start(values, format);
        std::vprintf(format, values);
        va_end(values);
        std::printf("\n");
        std::fflush(stdout);
    }

    std::string said() const { return "\nScribbo said:\n" + readFile(work.file("scribbo.log")); }

    bool x11;
    std::string keptScreenshot;
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    TemporaryDirectory work{"gnome-check"};
    std::unique_ptr<ChildProcess> scribbo;
    Screenshot shot;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 4 || (std::string(argv[1]) != "x11" && std::string(argv[1]) != "wayland")) {
        std::fprintf(stderr, "usage: %s x11|wayland LAUNCHER SCREENSHOT.png\n", argv[0]);
        return 2;
    }
    // A window that goes while it is looked at (the Save dialog closing) is
    // no reason to end.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    try {
        check(QDBusConnection::sessionBus().registerService("org.gnome.Screenshot"),
              "cannot own org.gnome.Screenshot on the session bus");
        Check(std::string(argv[1]) == "x11", argv[2], argv[3]).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gnome-check %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}

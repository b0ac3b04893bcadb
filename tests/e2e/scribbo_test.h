// The one end-to-end fixture: each test gets a desktop and a Scribbo of its
// own, started in a fresh working directory and waited for until its window
// is painted, with what the tests need to drive and look at it. Both end with
// the test, whether it passes or not.
#pragma once

#include "child_process.h"
#include "compositor.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "temporary_directory.h"
#include "x_input.h"
#include "x_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Where Scribbo runs: on a bare X server (Xvfb, or Xvnc, whose screen can
// change size), or on Weston's desktop, as an X11 client of its Xwayland or
// as a Wayland client.
struct Desktop {
    enum class Server { Xvfb, Xvnc, Weston };
    enum class Client { X11, Wayland };

    Server server = Server::Xvfb;
    // The screen: Xvfb's, Xvnc's at the start, or the one Weston's output
    // covers. Unless told, 800 x 600, and 1024 x 768 for Xvnc.
    std::optional<ScreenSize> size;
    Client client = Client::X11; // under Weston
    int scale = 1;               // Weston's output scale

    // Desktop::xvfb(ScreenSize{1920, 1080}), Desktop::weston(Desktop::Client::Wayland, 2)
    static constexpr Desktop xvfb(std::optional<ScreenSize> size = std::nullopt)
    {
        return {Server::Xvfb, size, Client::X11, 1};
    }
    static constexpr Desktop xvnc() { return {Server::Xvnc, std::nullopt, Client::X11, 1}; }
    static constexpr Desktop weston(Client client, int scale = 1, std::optional<ScreenSize> size = std::nullopt)
    {
        return {Server::Weston, size, client, scale};
    }
};

// "Xvfb", "Xvfb1920x1080", "WestonXwayland", "WestonWaylandScale2": for test names.
std::string nameOf(const Desktop& desktop);
inline void PrintTo(const Desktop& desktop, std::ostream* out) { *out << nameOf(desktop); }

// Saves the screenshot beside the test program, named after the running
// test and the label; the path, for messages.
std::string keepScreenshot(const Screenshot& screenshot, const std::string& label);
// Lines joined for a failure message.
std::string joinLines(const std::vector<std::string>& lines);

class ScribboTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Xvfb with its 800 x 600 screen, unless a fixture needs another desktop.
    virtual Desktop desktop() const { return {}; }
    // Set for Scribbo on top of what the tests run with.
    virtual std::vector<std::pair<std::string, std::string>> scribboEnvironment() const { return {}; }
    // Scribbo logs nothing of its own accord; the tests turn Qt's warnings
    // back on, for the report when something goes wrong.
    virtual bool scribboLogsWarnings() const { return true; }

    // The screen: where the mouse and the keyboard send to and screenshots
    // come from (under Weston, the X server its output is drawn on).
    const std::string& displayName() const { return screenDisplay; }
    // The X display Scribbo is a client of; empty for a Wayland client.
    const std::string& scribboDisplayName() const { return clientDisplay; }
    Pointer& pointer() { return *mouse; }
    // Where Scribbo runs: its pictures and its help page.
    std::string workingDirectory() const;
    // What Scribbo wrote to its standard output and error so far.
    std::string scribboOutput() const;
    ChildProcess& scribboProcess() { return *scribboChild; }

    // How many screen pixels one of Scribbo's layout takes across: 1 where
    // it can have the screen at 800 x 600 (on Xvnc) or the screen is that
    // size, else the largest at which the layout fits the screen (1.8 at
    // 1920 x 1080), whatever part of it the desktop's own scale takes.
    double layoutScale() const;
    // Where the screen shows the middle of a pixel of the layout, and areas
    // of the layout by the screen pixels in the middles of theirs (which a
    // scaled window's smoothing leaves their colours).
    scribbo::Point onScreen(scribbo::Point inLayout) const;
    std::vector<scribbo::ColourArea> onScreen(std::vector<scribbo::ColourArea> inLayout) const;
    // One pixel of the screen now; nothing off it.
    std::optional<Rgb> pixelAt(scribbo::Point onScreen);

    Screenshot screenshot();
    // Takes screenshots until one satisfies the condition; nothing if none
    // did in time (the last one is then in lastScreenshot()).
    std::optional<Screenshot> waitForScreen(const std::function<bool(const Screenshot&)>& condition,
                                            std::chrono::milliseconds timeout);
    const Screenshot& lastScreenshot() const { return latestScreenshot; }
    // Fails the test unless the screen pixel turns to the colour in time.
    void waitForPixel(scribbo::Point onScreen, Rgb colour, const std::string& what);
    // Fails the test unless every area shows its colour in time.
    void waitForLayout(const std::vector<scribbo::ColourArea>& areas, const std::string& what,
                       std::chrono::milliseconds timeout = stepGuard);
    // Returns once Scribbo has handled every input event sent so far and
    // what they changed is on the screen; fails the test unless that happens
    // in time. It moves the pointer over the help button and back, so no
    // mouse button may be held and no dialog may be up; on a bare X server,
    // whose screenshots show no cursor over the button's frame.
    void waitUntilInputHandled();
    // A drag in the drawing area: press at the first point, move through the
    // others, release at the last. After each move it waits until the
    // segment's middle shows the colour, so Scribbo has handled the move;
    // the release is only sent.
    void drawStroke(Pointer::Button button, const std::vector<scribbo::Point>& inPicture, Rgb colour);
    // Press, move through the points, release, waiting for nothing: for
    // shapes, whose rubber band shows nothing reliable to wait for while the
    // button is down. Qt may merge moves that queue up unread; harmless for
    // a shape, which runs from the press to the release.
    void drag(const std::vector<scribbo::Point>& inPicture);
    void moveTo(scribbo::Point onScreen) { mouse->moveTo(onScreen.x, onScreen.y); }
    void clickAt(scribbo::Point onScreen, Pointer::Button button = Pointer::Left);

    // Fails the test unless the screen shows the start layout in time.
    void expectStartLayout();

    // Scribbo's dialogs and message boxes are found by their titles (below).
    // Waits for the window of that title and gives it the keyboard.
    void focusWindow(const std::string& title);
    void focusMainWindow();
    bool windowShown(const std::string& title);
    void waitUntilGone(const std::string& title);
    // Presses the key in the window of that title; returns once it has gone.
    void answer(const std::string& title, const std::string& key);
    // Sends the window of that title the window system's close message
    // (WM_DELETE_WINDOW), as Alt+F4 or a title bar's close button has a
    // window manager do.
    void closeThroughWindowSystem(const std::string& title);
    // Types the name into the open save dialog and presses Enter.
    void typeName(const std::string& name);
    // Returns once the dialog has gone, which it does once the file is written.
    void saveAs(const std::string& name);
    // The picture on the screen once every event sent has been handled.
    Screenshot pictureShown();
    void expectPictureUnchanged(const Screenshot& before, const std::string& what);

    std::optional<int> waitForScribboExit(std::chrono::milliseconds timeout);
    // Fails the test unless Scribbo ends in time (fatally, as a test can go
    // on with nothing else) and with status 0; `after` says what ended it.
    void expectExitWithStatusZero(const std::string& after);
    // Ends Scribbo as a logout would and fails the test unless it exits
    // with status 0; returns once its window has gone.
    void endScribbo();
    // Starts Scribbo again in the same working directory, as a later session
    // would, once the last one has ended; returns when its window is painted.
    // A launcher (strace, prlimit and their arguments) starts it, if given.
    void restartScribbo(const std::vector<std::string>& launcher = {});
    // Scribbo's own process, also under a launcher that runs it as a child.
    pid_t scribboPid();
    // Ends the X server under Scribbo, as the end of a session does; nothing
    // that needs the screen works after it.
    void endXServer();
    // xdotool with these arguments on the screen; true when it succeeded.
    // There is no window manager on a bare X server: a window gets the
    // keyboard only through xdotool's windowfocus.
    bool xdotool(const std::vector<std::string>& arguments);
    // Whether Scribbo still runs, and what it (and Weston) wrote, for messages.
    std::string scribboReport() const;

    // Guards against waiting forever; not a measure of speed.
    static constexpr std::chrono::seconds startGuard{30};
    static constexpr std::chrono::seconds stepGuard{10};

private:
    void startDesktop();
    void startScribbo(const std::vector<std::string>& launcher = {});
    void waitUntilPainted();
    void waitUntilWindowGone();
    // Whether every area shows its colour now.
    bool shows(const std::vector<scribbo::ColourArea>& areas);
    Screenshot grabOf(const scribbo::Area& area);
    // A dialog or box of that title; not the main window, whose title the
    // boxes share.
    std::optional<unsigned long> shownDialog(const std::string& title);

    std::string screenDisplay;
    std::string clientDisplay;
    std::unique_ptr<XServer> server;
    std::unique_ptr<WestonCompositor> weston;
    std::unique_ptr<TemporaryDirectory> directory;
    std::unique_ptr<ChildProcess> scribboChild;
    std::unique_ptr<ScreenReader> reader;
    std::unique_ptr<Pointer> mouse;
    Screenshot latestScreenshot;
    unsigned long mainWindow = 0;
};

// A test run on each of several desktops:
//     INSTANTIATE_TEST_SUITE_P(Desktops, ScribboOnEachDesktopTest, ::testing::Values(Desktop{...}), desktopName);
class ScribboOnEachDesktopTest : public ScribboTest, public ::testing::WithParamInterface<Desktop> {
protected:
    Desktop desktop() const override { return GetParam(); }
};

std::string desktopName(const ::testing::TestParamInfo<Desktop>& info);

// The titles of Scribbo's dialogs and message boxes.
namespace titles {
inline const std::string saveDialog = "Save Picture";
inline const std::string loadDialog = "Load Picture";
inline const std::string confirmBox = "Confirm";
inline const std::string printBox = "Print";
// The program file's name, first letter as it is: "scribbo". Also its error
// boxes. The main window is "Scribbo".
inline const std::string noticeBox = "scribbo";
} // namespace titles

// Scribbo on Xvnc, whose screen starts at 1024 x 768 and can change size.
class ScribboOnResizableScreenTest : public ScribboTest {
protected:
    Desktop desktop() const override { return Desktop::xvnc(); }
};

// Scribbo on a desktop that asks Qt to scale everything by two.
class ScribboOnScaledDesktopTest : public ScribboTest {
protected:
    std::vector<std::pair<std::string, std::string>> scribboEnvironment() const override
    {
        return {{"QT_SCALE_FACTOR", "2"}, {"QT_SCREEN_SCALE_FACTORS", "2"}, {"QT_FONT_DPI", "192"}};
    }
};

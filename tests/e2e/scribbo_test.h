// Each test gets an X server and a Scribbo of its own, started in a fresh
// working directory and waited for until its window is painted, with what the
// tests need to drive and look at it. Both end with the test, whether it
// passes or not.
#pragma once

#include "child_process.h"
#include "pointer.h"
#include "screenshot.h"
#include "scribbo_layout.h"
#include "temporary_directory.h"
#include "x_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Saves the screenshot beside the test program, named after the running
// test and the label; the path, for messages.
std::string keepScreenshot(const Screenshot& screenshot, const std::string& label);
// Lines joined for a failure message.
std::string joinLines(const std::vector<std::string>& lines);

class ScribboTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Xvfb with its 800 x 600 screen, unless a fixture needs another server.
    virtual XServer::Kind serverKind() const { return XServer::Kind::Xvfb; }
    // Set for Scribbo on top of what the tests run with.
    virtual std::vector<std::pair<std::string, std::string>> scribboEnvironment() const { return {}; }
    // Scribbo logs nothing of its own accord; the tests turn Qt's warnings
    // back on, for the report when something goes wrong.
    virtual bool scribboLogsWarnings() const { return true; }

    const std::string& displayName() const { return server->displayName(); }
    Pointer& pointer() { return *mouse; }
    // Where Scribbo runs: its pictures and its help page.
    std::string workingDirectory() const;
    // What Scribbo wrote to its standard output and error so far.
    std::string scribboOutput() const;
    ChildProcess& scribboProcess() { return *scribboChild; }

    Screenshot screenshot();
    // Takes screenshots until one satisfies the condition; nothing if none
    // did in time (the last one is then in lastScreenshot()).
    std::optional<Screenshot> waitForScreen(const std::function<bool(const Screenshot&)>& condition,
                                            std::chrono::milliseconds timeout);
    const Screenshot& lastScreenshot() const { return latestScreenshot; }
    // Fails the test unless the screen pixel turns to the colour in time.
    void waitForPixel(scribbo::Point onScreen, Rgb colour, const std::string& what);
    // Fails the test unless every area shows its colour in time.
    void waitForLayout(const std::vector<scribbo::ColourArea>& areas, const std::string& what);
    // Returns once Scribbo has handled every input event sent so far and
    // what they changed is on the screen; fails the test unless that happens
    // in time. It moves the pointer over the help button and back, so no
    // mouse button may be held and no dialog may be up.
    void waitUntilInputHandled();
    // A drag in the drawing area: press at the first point, move through the
    // others, release at the last. After each move it waits until the
    // segment's middle shows the colour, so Scribbo has handled the move;
    // the release is only sent.
    void drawStroke(Pointer::Button button, const std::vector<scribbo::Point>& inPicture, Rgb colour);
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
    // Starts Scribbo again in the same working directory, as a later session
    // would, once the last one has ended; returns when its window is painted.
    // A launcher (strace, prlimit and their arguments) starts it, if given.
    void restartScribbo(const std::vector<std::string>& launcher = {});
    // Scribbo's own process, also under a launcher that runs it as a child.
    pid_t scribboPid();
    // Ends the X server under Scribbo, as the end of a session does; nothing
    // that needs the screen works after it.
    void endXServer();
    // xdotool with these arguments on Scribbo's display; true when it
    // succeeded within the step guard. There is no window manager: a window
    // gets the keyboard only through xdotool's windowfocus.
    bool xdotool(const std::vector<std::string>& arguments);
    // Whether Scribbo still runs, and what it wrote, for messages.
    std::string scribboReport() const;

    // Guards against waiting forever; not a measure of speed.
    static constexpr std::chrono::seconds startGuard{30};
    static constexpr std::chrono::seconds stepGuard{10};

private:
    void startScribbo(const std::vector<std::string>& launcher = {});
    void waitUntilPainted();
    // A dialog or box of that title; not the main window, whose title the
    // boxes share.
    std::optional<unsigned long> shownDialog(const std::string& title);

    std::unique_ptr<XServer> server;
    std::unique_ptr<TemporaryDirectory> directory;
    std::unique_ptr<ChildProcess> scribboChild;
    std::unique_ptr<ScreenReader> reader;
    std::unique_ptr<Pointer> mouse;
    Screenshot latestScreenshot;
    unsigned long mainWindow = 0;
    int mainWindowArea = 0;
};

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
    XServer::Kind serverKind() const override { return XServer::Kind::Xvnc; }
};

// Scribbo on a desktop that asks Qt to scale everything by two.
class ScribboOnScaledDesktopTest : public ScribboTest {
protected:
    std::vector<std::pair<std::string, std::string>> scribboEnvironment() const override
    {
        return {{"QT_SCALE_FACTOR", "2"}, {"QT_SCREEN_SCALE_FACTORS", "2"}, {"QT_FONT_DPI", "192"}};
    }
};

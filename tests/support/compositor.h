// Weston with its desktop shell and Xwayland, drawing its one output into a
// window on an Xvfb of our own, ended when the object goes. Its clients see
// a Wayland desktop and, through Xwayland, an X display; the tests send
// input to the Xvfb (Weston's X11 back end reads it there, as a nested
// compositor reads its host's mouse) and read the output there too: the
// window covers the Xvfb's whole screen, one output pixel on one screen
// pixel, cursor included (Weston draws it into the output).
#pragma once

#include "child_process.h"
#include "temporary_directory.h"
#include "x_server.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class WestonCompositor {
public:
    // Returns once clients can connect and the pointer is where the Xvfb's
    // is, in the output's bottom right corner. Throws std::runtime_error
    // when Weston does not come up. The output is 800 x 600 at scale 1 unless
    // told: at scale 2 a client sees the size given and draws twice as many
    // pixels, which the Xvfb shows one on one.
    explicit WestonCompositor(int width = 800, int height = 600, int scale = 1);
    ~WestonCompositor();

    WestonCompositor(const WestonCompositor&) = delete;
    WestonCompositor& operator=(const WestonCompositor&) = delete;

    // The Xvfb under Weston: where input goes and the output is read.
    const std::string& hostDisplay() const { return host.displayName(); }
    // In the Xvfb's pixels.
    int outputWidth() const { return width; }
    int outputHeight() const { return height; }
    // What a Wayland client needs in its environment.
    std::vector<std::pair<std::string, std::string>> waylandEnvironment() const;
    // Xwayland's display (":1"). Weston starts Xwayland for the first X
    // client; this waits for it. Throws std::runtime_error when it fails.
    const std::string& startXwayland();
    // What Weston and Xwayland wrote, for failure messages.
    std::string log() const;

private:
    void alignPointer();

    XServer host;
    int width = 0;
    int height = 0;
    TemporaryDirectory runtimeDirectory; // private, as XDG_RUNTIME_DIR must be
    std::unique_ptr<ChildProcess> weston;
    std::string xwaylandDisplay;
};

// A real X server of our own on a free display number (50 to 99), ended when
// the object goes. Xvfb has one fixed screen; Xvnc's screen size can be
// changed by its clients through RandR.
#pragma once

#include "child_process.h"
#include "temporary_directory.h"

#include <memory>
#include <string>

class XServer {
public:
    enum class Kind { Xvfb, Xvnc };

    // Xvfb: 800 x 600 unless another Xvfb size is given; Xvnc: 1024 x 768;
    // both of the given colour depth. Returns once a client can connect;
    // throws std::runtime_error when no display could be started.
    explicit XServer(Kind kind, int depth = 24, int width = 800, int height = 600);
    ~XServer();

    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":57"
    const std::string& displayName() const { return display; }
    // What the server wrote, for failure messages.
    std::string log() const;

private:
    bool startOn(int number);

    Kind kind;
    int depth;
    std::string xvfbScreen; // "800x600x24"
    TemporaryDirectory directory;
    std::unique_ptr<ChildProcess> process;
    std::string display; // the display name, once the server is up
};

// True when a client can connect to the display now.
bool canConnect(const std::string& displayName);

// A real X server of our own on a free display number (50 to 99), ended when
// the object goes. Xvfb has one fixed screen; Xvnc's screen size can be
// changed by its clients through RandR.
#pragma once

#include "child_process.h"
#include "temporary_directory.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct ScreenSize {
    int width = 0;
    int height = 0;

    bool operator==(const ScreenSize&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, ScreenSize size)
{
    return out << size.width << " x " << size.height;
}

class XServer {
public:
    enum class Kind { Xvfb, Xvnc };

    // Of the given colour depth and screen size; unless told, Xvfb's screen
    // is 800 x 600 and Xvnc's 1024 x 768. Returns once a client can connect;
    // throws std::runtime_error when no display could be started.
    explicit XServer(Kind kind, int depth = 24, std::optional<ScreenSize> size = std::nullopt);
    ~XServer();

    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":57"
    const std::string& displayName() const { return display; }
    // What a client of this server needs in its environment: the display,
    // and no session bus (below).
    std::vector<std::pair<std::string, std::string>> environment() const;
    // What the server wrote, for failure messages.
    std::string log() const;

private:
    bool startOn(int number);

    Kind kind;
    int depth;
    ScreenSize size;
    TemporaryDirectory directory;
    std::unique_ptr<ChildProcess> process;
    std::string display; // the display name, once the server is up
};

// Turns the session bus off for a program that has it in its environment.
extern const std::pair<std::string, std::string> noSessionBus;

// True when a client can connect to the display now.
bool canConnect(const std::string& displayName);

// The size of the display's screen as a client that connects now sees it
// (nothing cached from earlier answers); nothing when it cannot connect.
std::optional<ScreenSize> readScreenSize(const std::string& displayName);

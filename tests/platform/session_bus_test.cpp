// Looking for the session's message bus on a real X server, where the bus
// library would start one of its own for the display.
#include "scoped_application.h"
#include "scoped_environment.h"
#include "session_bus.h"
#include "temporary_directory.h"
#include "x_server.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

// After the test framework, which has a None of its own.
#include <X11/Xlib.h>

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string machineId()
{
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream file(path);
        std::string id;
        if (file >> id)
            return id;
    }
    return {};
}

// Whether a bus was started for the display: dbus-launch shares its address
// through an X selection named after the user and the machine.
bool busStartedFor(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return false;
    const std::string selection =
        "_DBUS_SESSION_BUS_SELECTION_" + std::string(getpwuid(getuid())->pw_name) + "_" + machineId();
    const bool owned = XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
    XCloseDisplay(display);
    return owned;
}

// A socket file at the path, as a user's bus leaves in the runtime folder.
void makeSocketFile(const std::string& path)
{
    const int socketFile = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(bind(socketFile, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    close(socketFile);
}

} // namespace

TEST(SessionBus, IsGivenByAnAddressOrByTheUsersBusInTheRuntimeFolder)
{
    const TemporaryDirectory runtime("scribbo-runtime");
    const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.path());
    {
        const ScopedEnvironment address("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        EXPECT_FALSE(sessionBusGiven());
        std::ofstream(runtime.file("bus")) << "not a socket";
        EXPECT_FALSE(sessionBusGiven());
        std::remove(runtime.file("bus").c_str());
        makeSocketFile(runtime.file("bus"));
        EXPECT_TRUE(sessionBusGiven());
    }
    const ScopedEnvironment address("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus");
    EXPECT_TRUE(sessionBusGiven());
}

TEST(SessionBus, NoneIsStartedForTheDisplayWhereTheSessionGivesNone)
{
    const XServer server(XServer::Kind::Xvfb);
    const ScopedEnvironment display("DISPLAY", server.displayName());
    const ScopedEnvironment address("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    const TemporaryDirectory runtime("scribbo-runtime");
    const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.path());
    const ScopedApplication<QGuiApplication> application({"-platform", "xcb"});
    lookForAccessibilityWithoutStartingABus();
    EXPECT_FALSE(busStartedFor(server.displayName()));
    EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr); // as it was, for the programs Scribbo starts
}

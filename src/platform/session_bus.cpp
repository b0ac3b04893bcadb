#include "session_bus.h"

#include <QAccessible>
#include <QByteArray>
#include <QtGlobal>

#include <sys/stat.h>

namespace {

constexpr const char* addressVariable = "DBUS_SESSION_BUS_ADDRESS";

} // namespace

bool sessionBusGiven()
{
    if (!qEnvironmentVariableIsEmpty(addressVariable))
        return true;
    const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
    struct stat bus {};
    return !runtimeFolder.isEmpty() && stat((runtimeFolder + "/bus").constData(), &bus) == 0 && S_ISSOCK(bus.st_mode);
}

void lookForAccessibilityWithoutStartingABus()
{
    const bool given = sessionBusGiven();
    if (!given)
        qputenv(addressVariable, "disabled:"); // refused by the bus library at once, and nothing started
    QAccessible::isActive();
    if (!given)
        qunsetenv(addressVariable);
}

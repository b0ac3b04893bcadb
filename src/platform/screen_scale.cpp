#include "screen_scale.h"

#include <QScreen>
#include <qpa/qplatformscreen.h>

#include <cmath>

// Qt scales a screen by a factor of one's own only through this private
// interface (the public one is an environment variable read once, before
// the screen's size is known).
#include <QtGui/private/qhighdpiscaling_p.h>

void setScreenScale(QScreen& screen, double factor) { QHighDpiScaling::setScreenFactor(&screen, factor); }

double desktopScale(const QScreen& screen) { return screen.handle() ? screen.handle()->devicePixelRatio() : 1; }

QRect scaledScreenGeometry(const QScreen& screen, double factor)
{
    if (!screen.handle())
        return screen.geometry();
    // Qt scales about the screen's top-left corner, which stays where it is.
    const QRect desktop = screen.handle()->geometry();
    return QRect(desktop.topLeft(),
                 QSize(int(std::lround(desktop.width() / factor)), int(std::lround(desktop.height() / factor))));
}

// How big everything on a screen is drawn: a factor on top of the desktop's
// own, for windows, fonts, cursors and dialogs alike.
#pragma once

#include <QRect>

class QScreen;

// Everything shown on the screen from now on is drawn that many times as
// large as the desktop alone would draw it; 1 undoes it.
void setScreenScale(QScreen& screen, double factor);

// The scale the desktop itself draws windows on the screen at (a Wayland
// output's, 2 at 200 %), before the program's own: a whole number.
double desktopScale(const QScreen& screen);

// Where the screen is for windows on it at that scale. Qt's own account
// (QScreen::geometry) can keep the size of the scale before until the
// screen next changes.
QRect scaledScreenGeometry(const QScreen& screen, double factor);

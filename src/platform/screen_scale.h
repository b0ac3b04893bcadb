// How big everything on a screen is drawn: a factor on top of the desktop's
// own, for windows, fonts, cursors and dialogs alike.
#pragma once

class QScreen;

// Everything shown on the screen from now on is drawn that many times as
// large as the desktop alone would draw it; 1 undoes it.
void setScreenScale(QScreen& screen, double factor);

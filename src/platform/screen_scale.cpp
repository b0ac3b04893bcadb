#include "screen_scale.h"

// Qt scales a screen by a factor of one's own only through this private
// interface (the public one is an environment variable read once, before
// the screen's size is known).
#include <QtGui/private/qhighdpiscaling_p.h>

void setScreenScale(QScreen& screen, double factor) { QHighDpiScaling::setScreenFactor(&screen, factor); }

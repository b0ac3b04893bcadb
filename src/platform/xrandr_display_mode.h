// The display mode of the X server the program runs on, read and changed
// through the RandR extension on a connection of its own. Without X11 (no
// DISPLAY, or Qt on another platform) it reports the screen Qt knows and
// changes nothing.
#pragma once

#include "display_mode.h"

#include <memory>

struct _XDisplay;

class XRandrDisplayMode : public DisplayMode {
public:
    XRandrDisplayMode();
    ~XRandrDisplayMode() override;

    int screenWidth() override;
    int screenHeight() override;
    int bitsPerPixel() override;
    // The colour depth of a running X server cannot change: only the size is
    // asked for, and bitsPerPixel is ignored.
    void setMode(int width, int height, int bitsPerPixel) override;

private:
    // One connection for the object's life, opened at first use: start-up
    // reads the mode and asks for another one in quick succession. Every
    // question still goes to the server, so the answers are always current.
    _XDisplay* connection();

    struct Closer {
        void operator()(_XDisplay* display) const;
    };
    std::unique_ptr<_XDisplay, Closer> display;
    bool opened = false;
};

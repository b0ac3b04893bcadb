// The display's resolution and colour depth, read and asked for.
#pragma once

class DisplayMode {
public:
    virtual ~DisplayMode() = default;
    // The primary screen as the desktop has it now, in pixels.
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // Bits per pixel of the display (32 for true colour).
    virtual int bitsPerPixel() = 0;
    // Asks for a mode on the primary screen only; the refresh rate and every
    // other setting are left to the system. A display that refuses stays as
    // it is, and nothing is reported.
    virtual void setMode(int width, int height, int bitsPerPixel) = 0;
};

#include "screen_size.h"

#include <X11/Xlib.h>

std::optional<ScreenSize> readScreenSize(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return std::nullopt;
    const int screen = DefaultScreen(display);
    const ScreenSize size{DisplayWidth(display, screen), DisplayHeight(display, screen)};
    XCloseDisplay(display);
    return size;
}

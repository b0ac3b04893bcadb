// The viewable windows of a title anywhere in a display's window tree, and
// where they are on the screen: Scribbo's main window and its message boxes
// share the title "Scribbo".
#pragma once

#include <string>
#include <vector>

using Display = struct _XDisplay;

struct ShownWindow {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;
};

std::vector<ShownWindow> shownWindows(Display* display, const std::string& title);
// On a connection of its own; nothing when the display cannot be opened.
std::vector<ShownWindow> shownWindows(const std::string& displayName, const std::string& title);

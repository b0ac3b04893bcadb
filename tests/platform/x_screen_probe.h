// Looks at an X server independently of the code under test: a fresh Xlib
// connection of its own, and the xrandr tool to prepare modes.
#pragma once

#include <optional>
#include <string>

struct XScreenState {
    int screenWidth = 0;
    int screenHeight = 0;
    int screenWidthMillimetres = 0;
    int screenHeightMillimetres = 0;
    // The CRTC of the first connected output, and the name of its mode.
    int crtcWidth = 0;
    int crtcHeight = 0;
    std::string modeName;
};

std::optional<XScreenState> queryXScreen(const std::string& displayName);

// Runs "xrandr --display <displayName> <arguments>"; true if it succeeded.
bool runXrandr(const std::string& displayName, const std::string& arguments);

// Adds a mode of the given size under the given name to the output VNC-0.
bool addModeToVncOutput(const std::string& displayName, const std::string& modeName, int width, int height,
                        int clockMegahertz = 30);

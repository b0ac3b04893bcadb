#include "x_screen_probe.h"

#include <cstdlib>
#include <memory>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

void readFirstConnectedCrtc(Display* display, XScreenState& state)
{
    XRRScreenResources* resources = XRRGetScreenResources(display, DefaultRootWindow(display));
    if (!resources)
        return;
    for (int index = 0; index < resources->noutput && state.modeName.empty(); ++index) {
        XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[index]);
        if (output && output->connection == RR_Connected && output->crtc) {
            XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc);
            state.crtcWidth = int(crtc->width);
            state.crtcHeight = int(crtc->height);
            for (int mode = 0; mode < resources->nmode; ++mode) {
                if (resources->modes[mode].id == crtc->mode)
                    state.modeName = resources->modes[mode].name;
            }
            XRRFreeCrtcInfo(crtc);
        }
        if (output)
            XRRFreeOutputInfo(output);
    }
    XRRFreeScreenResources(resources);
}

} // namespace

std::optional<XScreenState> queryXScreen(const std::string& displayName)
{
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(displayName.c_str()));
    if (!display)
        return std::nullopt;
    // A fresh connection's setup data carries the screen's size, in pixels
    // and millimetres, as it is now.
    const int screen = DefaultScreen(display.get());
    XScreenState state;
    state.screenWidth = DisplayWidth(display.get(), screen);
    state.screenHeight = DisplayHeight(display.get(), screen);
    state.screenWidthMillimetres = DisplayWidthMM(display.get(), screen);
    state.screenHeightMillimetres = DisplayHeightMM(display.get(), screen);
    readFirstConnectedCrtc(display.get(), state);
    return state;
}

bool runXrandr(const std::string& displayName, const std::string& arguments)
{
    const std::string command = "xrandr --display " + displayName + " " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool addModeToVncOutput(const std::string& displayName, const std::string& modeName, int width, int height,
                        int clockMegahertz)
{
    const std::string widthText = std::to_string(width);
    const std::string heightText = std::to_string(height);
    // Blanking intervals do not matter to Xvnc; the totals only set the refresh.
    const std::string timings = std::to_string(clockMegahertz) + " " + widthText + " " + widthText + " " + widthText
        + " " + widthText + " " + heightText + " " + heightText + " " + heightText + " " + heightText;
    return runXrandr(displayName, "--newmode " + modeName + " " + timings)
        && runXrandr(displayName, "--addmode VNC-0 " + modeName);
}

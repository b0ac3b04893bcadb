#include "xrandr_display_mode.h"

#include "x_error_trap.h"

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformscreen.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

// Last: Xlib's macros (None, Bool, Status, ...) clash with names in Qt.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Xlib and RandR hand out what the caller must free; these free it.
struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ResourcesFree {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct OutputInfoFree {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
struct CrtcInfoFree {
    void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;
using Resources = std::unique_ptr<XRRScreenResources, ResourcesFree>;
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputInfoFree>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, CrtcInfoFree>;

// A QGuiApplication on another platform (offscreen, wayland) may still find
// a DISPLAY, but that X server is not the one showing the program.
bool runsOnX11()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

DisplayConnection openX11()
{
    if (!runsOnX11() || qEnvironmentVariableIsEmpty("DISPLAY"))
        return {};
    return DisplayConnection(XOpenDisplay(nullptr));
}

int bitsPerPixelOfDepth(int depth)
{
    return depth == 24 ? 32 : depth; // true colour is stored in 32 bits
}

// Without X11: the screen as the platform reports it (in the desktop's own
// pixels, before any scale of the program's), or nothing without an
// application.
Size qtScreenSize()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->handle())
        return {};
    const QRect geometry = screen->handle()->geometry();
    return {geometry.width(), geometry.height()};
}

int qtBitsPerPixel()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? bitsPerPixelOfDepth(screen->depth()) : 0;
}

// The screen as the server has it: RandR's outputs and CRTCs (version 1.2 on;
// 1.3 names a primary output).
class RandrScreen {
public:
    explicit RandrScreen(Display* display) : display(display), root(DefaultRootWindow(display))
    {
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor))
            return;
        if (major < 1 || (major == 1 && minor < 2))
            return;
        knowsPrimary = major > 1 || minor >= 3;
        screenResources.reset(knowsPrimary ? XRRGetScreenResourcesCurrent(display, root)
                                           : XRRGetScreenResources(display, root));
        if (screenResources)
            findPrimaryOutput();
    }

    // The primary output and the CRTC showing it; false if there is none.
    bool hasPrimary() const { return primaryCrtc != nullptr; }
    XRRScreenResources* resources() const { return screenResources.get(); }
    RRCrtc crtcId() const { return primaryOutput->crtc; }
    const XRRCrtcInfo& crtc() const { return *primaryCrtc; }

    // The first of the primary output's modes that shows width × height in
    // the CRTC's current rotation.
    const XRRModeInfo* findMode(Size size) const
    {
        for (int index = 0; index < primaryOutput->nmode; ++index) {
            const XRRModeInfo* mode = modeInfo(primaryOutput->modes[index]);
            if (mode && shownSize(*mode, primaryCrtc->rotation) == size)
                return mode;
        }
        return nullptr;
    }

    // The smallest screen, from the origin, that holds every active CRTC once
    // the primary one shows primarySize.
    Size screenHolding(Size primarySize) const
    {
        Size bounds;
        for (int index = 0; index < screenResources->ncrtc; ++index) {
            const RRCrtc id = screenResources->crtcs[index];
            int right = 0;
            int bottom = 0;
            if (id == crtcId()) {
                right = primaryCrtc->x + primarySize.width;
                bottom = primaryCrtc->y + primarySize.height;
            } else if (CrtcInfo other{XRRGetCrtcInfo(display, screenResources.get(), id)}; other && other->mode) {
                right = other->x + int(other->width);
                bottom = other->y + int(other->height);
            }
            bounds = {std::max(bounds.width, right), std::max(bounds.height, bottom)};
        }
        return bounds;
    }

    static Size shownSize(const XRRModeInfo& mode, Rotation rotation)
    {
        const bool sideways = rotation & (RR_Rotate_90 | RR_Rotate_270);
        return sideways ? Size{int(mode.height), int(mode.width)} : Size{int(mode.width), int(mode.height)};
    }

private:
    // XRRGetOutputPrimary, or else the first connected output with a CRTC.
    void findPrimaryOutput()
    {
        if (knowsPrimary && useOutput(XRRGetOutputPrimary(display, root)))
            return;
        for (int index = 0; index < screenResources->noutput; ++index) {
            if (useOutput(screenResources->outputs[index]))
                return;
        }
    }

    bool useOutput(RROutput output)
    {
        if (output == None)
            return false;
        OutputInfo info{XRRGetOutputInfo(display, screenResources.get(), output)};
        if (!info || info->connection != RR_Connected || info->crtc == None)
            return false;
        CrtcInfo crtc{XRRGetCrtcInfo(display, screenResources.get(), info->crtc)};
        if (!crtc || crtc->mode == None)
            return false;
        primaryOutput = std::move(info);
        primaryCrtc = std::move(crtc);
        return true;
    }

    const XRRModeInfo* modeInfo(RRMode id) const
    {
        for (int index = 0; index < screenResources->nmode; ++index) {
            if (screenResources->modes[index].id == id)
                return &screenResources->modes[index];
        }
        return nullptr;
    }

    Display* display;
    Window root;
    bool knowsPrimary = false;
    Resources screenResources;
    OutputInfo primaryOutput;
    CrtcInfo primaryCrtc;
};

// The screen's size now, asked of the server.
Size rootSize(Display* display)
{
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border, &depth);
    return {int(width), int(height)};
}

Size x11ScreenSize(Display* display)
{
    XErrorTrap trap(display);
    const RandrScreen screen(display);
    if (screen.hasPrimary() && !trap.failed())
        return {int(screen.crtc().width), int(screen.crtc().height)};
    return rootSize(display);
}

int x11BitsPerPixel(Display* display)
{
    const int depth = DefaultDepth(display, DefaultScreen(display));
    if (depth == 24)
        return bitsPerPixelOfDepth(depth);
    int bits = depth;
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int index = 0; index < count; ++index) {
            if (formats[index].depth == depth) {
                bits = formats[index].bits_per_pixel;
                break;
            }
        }
        XFree(formats);
    }
    return bits;
}

// Holds every other client off while the screen changes, as the xrandr tool
// does, so nobody sees (or acts on) a half-made change.
class ServerGrab {
public:
    explicit ServerGrab(Display* display) : display(display) { XGrabServer(display); }
    ~ServerGrab()
    {
        XUngrabServer(display);
        XSync(display, False);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* display;
};

// Changes the X screen's size and the primary CRTC's mode, or leaves both as
// they were when the server refuses a step.
class ModeChange {
public:
    ModeChange(Display* display, XErrorTrap& trap, const RandrScreen& screen)
        : display(display), trap(trap), screen(screen), screenNumber(DefaultScreen(display)),
          originalSize(rootSize(display)), pixelsForMillimetres{DisplayWidth(display, screenNumber),
                                                                DisplayHeight(display, screenNumber)},
          originalMillimetres{DisplayWidthMM(display, screenNumber), DisplayHeightMM(display, screenNumber)}
    {
    }

    void apply(const XRRModeInfo& mode, Size screenSize)
    {
        // Grow the screen before a larger CRTC, shrink it after a smaller one:
        // every CRTC has to fit in the screen at every step.
        const Size grown{std::max(originalSize.width, screenSize.width),
                         std::max(originalSize.height, screenSize.height)};
        if (!resizeScreen(grown))
            return;
        if (!setCrtcMode(mode.id)) {
            resizeScreen(originalSize);
            return;
        }
        if (!resizeScreen(screenSize)) {
            setCrtcMode(screen.crtc().mode);
            resizeScreen(originalSize);
        }
    }

private:
    bool resizeScreen(Size size)
    {
        if (size == currentSize)
            return true;
        XRRSetScreenSize(display, DefaultRootWindow(display), size.width, size.height,
                         millimetres(size.width, pixelsForMillimetres.width, originalMillimetres.width),
                         millimetres(size.height, pixelsForMillimetres.height, originalMillimetres.height));
        if (trap.failed())
            return false;
        currentSize = size;
        return true;
    }

    bool setCrtcMode(RRMode mode)
    {
        const XRRCrtcInfo& crtc = screen.crtc();
        const Status status = XRRSetCrtcConfig(display, screen.resources(), screen.crtcId(), CurrentTime, crtc.x,
                                               crtc.y, mode, crtc.rotation, crtc.outputs, crtc.noutput);
        return !trap.failed() && status == RRSetConfigSuccess;
    }

    // The same dots per millimetre as before (96 dpi if the server knows no
    // physical size), so fonts keep their size.
    static int millimetres(int pixels, int originalPixels, int originalMillimetres)
    {
        if (originalPixels <= 0 || originalMillimetres <= 0)
            return int(std::lround(pixels * 25.4 / 96.0));
        return int(std::lround(double(pixels) * originalMillimetres / originalPixels));
    }

    Display* display;
    XErrorTrap& trap;
    const RandrScreen& screen;
    int screenNumber;
    Size originalSize;
    // Xlib keeps the screen's size as it was when the connection opened; the
    // pair still gives the dots per millimetre, the server the current size.
    Size pixelsForMillimetres;
    Size originalMillimetres;
    Size currentSize = originalSize;
};

// The screen size that holds the CRTCs, within what the server allows.
std::optional<Size> allowedScreenSize(Display* display, Size needed)
{
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    if (!XRRGetScreenSizeRange(display, DefaultRootWindow(display), &minWidth, &minHeight, &maxWidth, &maxHeight))
        return std::nullopt;
    if (needed.width > maxWidth || needed.height > maxHeight)
        return std::nullopt;
    return Size{std::max(needed.width, minWidth), std::max(needed.height, minHeight)};
}

void changePrimaryMode(Display* display, Size size)
{
    XErrorTrap trap(display);
    const ServerGrab grab(display);
    const RandrScreen screen(display);
    if (!screen.hasPrimary() || trap.failed())
        return;
    // Already showing that size: keep its mode, and so its refresh rate.
    if (Size{int(screen.crtc().width), int(screen.crtc().height)} == size)
        return;
    const XRRModeInfo* mode = screen.findMode(size);
    if (!mode)
        return;
    const std::optional<Size> screenSize = allowedScreenSize(display, screen.screenHolding(size));
    if (!screenSize || trap.failed())
        return;
    ModeChange(display, trap, screen).apply(*mode, *screenSize);
}

} // namespace

XRandrDisplayMode::XRandrDisplayMode() = default;
XRandrDisplayMode::~XRandrDisplayMode() = default;

void XRandrDisplayMode::Closer::operator()(_XDisplay* connection) const { XCloseDisplay(connection); }

_XDisplay* XRandrDisplayMode::connection()
{
    if (!opened) {
        opened = true;
        display.reset(openX11().release());
    }
    return display.get();
}

int XRandrDisplayMode::screenWidth()
{
    Display* x11 = connection();
    return x11 ? x11ScreenSize(x11).width : qtScreenSize().width;
}

int XRandrDisplayMode::screenHeight()
{
    Display* x11 = connection();
    return x11 ? x11ScreenSize(x11).height : qtScreenSize().height;
}

int XRandrDisplayMode::bitsPerPixel()
{
    Display* x11 = connection();
    return x11 ? x11BitsPerPixel(x11) : qtBitsPerPixel();
}

void XRandrDisplayMode::setMode(int width, int height, int /*bitsPerPixel*/)
{
    if (width <= 0 || height <= 0)
        return;
    if (Display* x11 = connection())
        changePrimaryMode(x11, {width, height});
}

#include "xrandr_display_mode.h"

#include "x_error_trap.h"

#include <QGuiApplication>
#include <QScreen>

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

// Each request opens its own connection: the program asks rarely (at start
// and at the end), and a fresh connection sees the screen's current size and
// physical size without following RandR's change events.
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

// Without X11: the screen as Qt reports it, or nothing without an application.
Size qtScreenSize()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? Size{screen->geometry().width(), screen->geometry().height()} : Size{};
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
    explicit RandrScreen(Display* display) : m_display(display), m_root(DefaultRootWindow(display))
    {
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor))
            return;
        if (major < 1 || (major == 1 && minor < 2))
            return;
        m_hasPrimary = major > 1 || minor >= 3;
        m_resources.reset(m_hasPrimary ? XRRGetScreenResourcesCurrent(display, m_root)
                                       : XRRGetScreenResources(display, m_root));
        if (m_resources)
            findPrimaryOutput();
    }

    // The primary output and the CRTC showing it; false if there is none.
    bool hasPrimary() const { return m_crtc != nullptr; }
    XRRScreenResources* resources() const { return m_resources.get(); }
    RRCrtc crtcId() const { return m_outputInfo->crtc; }
    const XRRCrtcInfo& crtc() const { return *m_crtc; }

    // The first of the primary output's modes that shows width × height in
    // the CRTC's current rotation.
    const XRRModeInfo* findMode(Size size) const
    {
        for (int index = 0; index < m_outputInfo->nmode; ++index) {
            const XRRModeInfo* mode = modeInfo(m_outputInfo->modes[index]);
            if (mode && shownSize(*mode, m_crtc->rotation) == size)
                return mode;
        }
        return nullptr;
    }

    // The smallest screen, from the origin, that holds every active CRTC once
    // the primary one shows primarySize.
    Size screenHolding(Size primarySize) const
    {
        Size bounds;
        for (int index = 0; index < m_resources->ncrtc; ++index) {
            const RRCrtc id = m_resources->crtcs[index];
            int right = 0;
            int bottom = 0;
            if (id == crtcId()) {
                right = m_crtc->x + primarySize.width;
                bottom = m_crtc->y + primarySize.height;
            } else if (CrtcInfo other{XRRGetCrtcInfo(m_display, m_resources.get(), id)}; other && other->mode) {
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
        if (m_hasPrimary && useOutput(XRRGetOutputPrimary(m_display, m_root)))
            return;
        for (int index = 0; index < m_resources->noutput; ++index) {
            if (useOutput(m_resources->outputs[index]))
                return;
        }
    }

    bool useOutput(RROutput output)
    {
        if (output == None)
            return false;
        OutputInfo info{XRRGetOutputInfo(m_display, m_resources.get(), output)};
        if (!info || info->connection != RR_Connected || info->crtc == None)
            return false;
        CrtcInfo crtc{XRRGetCrtcInfo(m_display, m_resources.get(), info->crtc)};
        if (!crtc || crtc->mode == None)
            return false;
        m_outputInfo = std::move(info);
        m_crtc = std::move(crtc);
        return true;
    }

    const XRRModeInfo* modeInfo(RRMode id) const
    {
        for (int index = 0; index < m_resources->nmode; ++index) {
            if (m_resources->modes[index].id == id)
                return &m_resources->modes[index];
        }
        return nullptr;
    }

    Display* m_display;
    Window m_root;
    bool m_hasPrimary = false;
    Resources m_resources;
    OutputInfo m_outputInfo;
    CrtcInfo m_crtc;
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
    explicit ServerGrab(Display* display) : m_display(display) { XGrabServer(display); }
    ~ServerGrab()
    {
        XUngrabServer(m_display);
        XSync(m_display, False);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* m_display;
};

// Changes the X screen's size and the primary CRTC's mode, or leaves both as
// they were when the server refuses a step.
class ModeChange {
public:
    ModeChange(Display* display, XErrorTrap& trap, const RandrScreen& screen)
        : m_display(display), m_trap(trap), m_screen(screen), m_number(DefaultScreen(display)),
          m_originalSize(rootSize(display)), m_pixelsForMillimetres{DisplayWidth(display, m_number),
                                                                    DisplayHeight(display, m_number)},
          m_originalMillimetres{DisplayWidthMM(display, m_number), DisplayHeightMM(display, m_number)}
    {
    }

    void apply(const XRRModeInfo& mode, Size screenSize)
    {
        // Grow the screen before a larger CRTC, shrink it after a smaller one:
        // every CRTC has to fit in the screen at every step.
        const Size grown{std::max(m_originalSize.width, screenSize.width),
                         std::max(m_originalSize.height, screenSize.height)};
        if (!resizeScreen(grown))
            return;
        if (!setCrtcMode(mode.id)) {
            resizeScreen(m_originalSize);
            return;
        }
        if (!resizeScreen(screenSize)) {
            setCrtcMode(m_screen.crtc().mode);
            resizeScreen(m_originalSize);
        }
    }

private:
    bool resizeScreen(Size size)
    {
        if (size == m_currentSize)
            return true;
        XRRSetScreenSize(m_display, DefaultRootWindow(m_display), size.width, size.height,
                         millimetres(size.width, m_pixelsForMillimetres.width, m_originalMillimetres.width),
                         millimetres(size.height, m_pixelsForMillimetres.height, m_originalMillimetres.height));
        if (m_trap.failed())
            return false;
        m_currentSize = size;
        return true;
    }

    bool setCrtcMode(RRMode mode)
    {
        const XRRCrtcInfo& crtc = m_screen.crtc();
        const Status status = XRRSetCrtcConfig(m_display, m_screen.resources(), m_screen.crtcId(), CurrentTime, crtc.x,
                                               crtc.y, mode, crtc.rotation, crtc.outputs, crtc.noutput);
        return !m_trap.failed() && status == RRSetConfigSuccess;
    }

    // The same dots per millimetre as before (96 dpi if the server knows no
    // physical size), so fonts keep their size.
    static int millimetres(int pixels, int originalPixels, int originalMillimetres)
    {
        if (originalPixels <= 0 || originalMillimetres <= 0)
            return int(std::lround(pixels * 25.4 / 96.0));
        return int(std::lround(double(pixels) * originalMillimetres / originalPixels));
    }

    Display* m_display;
    XErrorTrap& m_trap;
    const RandrScreen& m_screen;
    int m_number;
    Size m_originalSize;
    // Xlib keeps the screen's size as it was when the connection opened; the
    // pair still gives the dots per millimetre, the server the current size.
    Size m_pixelsForMillimetres;
    Size m_originalMillimetres;
    Size m_currentSize = m_originalSize;
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

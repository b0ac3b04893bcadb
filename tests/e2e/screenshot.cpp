#include "screenshot.h"

#include <bit>
#include <fstream>
#include <stdexcept>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Xlib's default handler ends the process on any protocol error; a refused
// request here is an answer to report, not a reason to stop the test run.
int ignoreProtocolError(Display*, XErrorEvent*) { return 0; }

int channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
    const unsigned long maximum = mask >> std::countr_zero(mask);
    return int(value * 255 / maximum);
}

Rgb colourOf(XImage* image, int x, int y)
{
    const unsigned long pixel = XGetPixel(image, x, y);
    return {channel(pixel, image->red_mask), channel(pixel, image->green_mask), channel(pixel, image->blue_mask)};
}

} // namespace

Screenshot::Screenshot(int width, int height, std::vector<Rgb> rowByRow)
    : widthInPixels(width), heightInPixels(height), pixels(std::move(rowByRow))
{
}

std::optional<Rgb> Screenshot::at(int x, int y) const
{
    if (!contains(x, y))
        return std::nullopt;
    return pixels[std::size_t(y) * std::size_t(widthInPixels) + std::size_t(x)];
}

void Screenshot::savePpm(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << widthInPixels << " " << heightInPixels << "\n255\n";
    for (const Rgb& colour : pixels) {
        const char bytes[3] = {char(colour.red), char(colour.green), char(colour.blue)};
        file.write(bytes, 3);
    }
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

ScreenReader::ScreenReader(const std::string& displayName)
{
    XSetErrorHandler(ignoreProtocolError);
    display = XOpenDisplay(displayName.c_str());
    if (!display)
        throw std::runtime_error("cannot open display " + displayName);
}

ScreenReader::~ScreenReader() { XCloseDisplay(display); }

Screenshot ScreenReader::grab()
{
    const Window root = DefaultRootWindow(display);
    Window ignoredRoot;
    int ignoredX, ignoredY;
    unsigned width, height, ignoredBorder, ignoredDepth;
    if (!XGetGeometry(display, root, &ignoredRoot, &ignoredX, &ignoredY, &width, &height, &ignoredBorder,
                      &ignoredDepth))
        return {};
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<Rgb> pixels;
    pixels.reserve(std::size_t(width) * height);
    for (int y = 0; y < int(height); ++y)
        for (int x = 0; x < int(width); ++x)
            pixels.push_back(colourOf(image, x, y));
    XDestroyImage(image);
    return Screenshot(int(width), int(height), std::move(pixels));
}

std::optional<Rgb> ScreenReader::pixel(int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    const Rgb colour = colourOf(image, 0, 0);
    XDestroyImage(image);
    return colour;
}

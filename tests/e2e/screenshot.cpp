#include "screenshot.h"

#include <bit>
#include <cstdint>
#include <cstring>
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

// The usual layout, 32 bits a pixel in this machine's byte order, is read
// directly: on a large screen XGetPixel would cost more than the grab.
unsigned long pixelAt(XImage* image, int x, int y)
{
    if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst || std::endian::native != std::endian::little)
        return XGetPixel(image, x, y);
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, image->data + std::ptrdiff_t(y) * image->bytes_per_line + std::ptrdiff_t(x) * 4, 4);
    return pixel;
}

Rgb colourOf(XImage* image, int x, int y)
{
    const unsigned long pixel = pixelAt(image, x, y);
    return {channel(pixel, image->red_mask), channel(pixel, image->green_mask), channel(pixel, image->blue_mask)};
}

} // namespace

Screenshot::Screenshot(int leftEdge, int topEdge, int width, int height, std::vector<Rgb> rowByRow)
    : left(leftEdge), top(topEdge), widthInPixels(width), heightInPixels(height), pixels(std::move(rowByRow))
{
}

std::optional<Rgb> Screenshot::at(int x, int y) const
{
    if (!contains(x, y))
        return std::nullopt;
    return pixels[std::size_t(y - top) * std::size_t(widthInPixels) + std::size_t(x - left)];
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
    Window ignoredRoot;
    int ignoredX, ignoredY;
    unsigned width, height, ignoredBorder, ignoredDepth;
    if (!XGetGeometry(display, DefaultRootWindow(display), &ignoredRoot, &ignoredX, &ignoredY, &width, &height,
                      &ignoredBorder, &ignoredDepth))
        return {};
    return grab(0, 0, int(width), int(height));
}

Screenshot ScreenReader::grab(int left, int top, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    XImage* image = XGetImage(display, DefaultRootWindow(display), left, top, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<Rgb> pixels;
    pixels.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(colourOf(image, x, y));
    XDestroyImage(image);
    return Screenshot(left, top, width, height, std::move(pixels));
}

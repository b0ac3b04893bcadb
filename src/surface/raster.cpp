#include "raster.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

namespace raster {

Plotter::Plotter(TPicture& picture, bool copy, std::uint32_t value)
    : picture(picture), copy(copy), value(value), minX(INT_MAX), minY(INT_MAX), maxX(INT_MIN), maxY(INT_MIN)
{
}

Plotter::Plotter(TPicture& picture, TPenMode mode, TColor colour)
    : Plotter(picture, mode == pmCopy, picture.storedValue(colour))
{
    // NOT (pen XOR pixel) is pixel XOR (NOT pen), in every channel or index bit.
    if (!copy)
        value = ~value & (picture.bitsPerPixel() == 8 ? 0xFFu : 0xFFFFFFu);
}

Plotter Plotter::inverter(TPicture& picture)
{
    return Plotter(picture, false, picture.bitsPerPixel() == 8 ? 0xFFu : 0xFFFFFFu);
}

void Plotter::plot(int x, int y)
{
    if (x < INT_MAX)
        span(y, x, x + 1);
}

void Plotter::span(int y, int left, int right)
{
    if (y < 0 || y >= picture.Height())
        return;
    left = std::max(left, 0);
    right = std::min(right, picture.Width());
    if (left >= right)
        return;
    const int bytesPerPixel = picture.bitsPerPixel() / 8;
    std::uint8_t* start = picture.row(y) + std::size_t(left) * std::size_t(bytesPerPixel);
    if (copy)
        fillRow(start, right - left);
    else
        xorRow(start, right - left);
    minX = std::min(minX, left);
    maxX = std::max(maxX, right);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y + 1);
}

void Plotter::span(std::int64_t y, const Span& pixels)
{
    if (y < 0 || y >= picture.Height())
        return;
    span(int(y), clampToPicture(pixels.from, picture.Width()), clampToPicture(pixels.to, picture.Width()));
}

void Plotter::fillRow(std::uint8_t* start, int count)
{
    if (picture.bitsPerPixel() == 8) {
        std::memset(start, int(value), std::size_t(count));
        return;
    }
    const std::uint8_t pixel[3] = {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
    const std::size_t total = 3 * std::size_t(count);
    std::memcpy(start, pixel, 3);
    // Doubling copies keep long runs at memcpy speed.
    for (std::size_t done = 3; done < total; done *= 2)
        std::memcpy(start + done, start, std::min(done, total - done));
}

void Plotter::xorRow(std::uint8_t* start, int count)
{
    if (picture.bitsPerPixel() == 8) {
        for (int i = 0; i < count; ++i)
            start[i] ^= std::uint8_t(value);
        return;
    }
    const std::uint8_t mask[3] = {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
    for (int i = 0; i < count; ++i, start += 3) {
        start[0] ^= mask[0];
        start[1] ^= mask[1];
        start[2] ^= mask[2];
    }
}

TRect Plotter::touched() const
{
    if (minX > maxX)
        return {};
    return {minX, minY, maxX, maxY};
}

TRect normalised(TRect rect)
{
    if (rect.Left > rect.Right)
        std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom)
        std::swap(rect.Top, rect.Bottom);
    return rect;
}

TRect clipped(TRect rect, const TPicture& picture)
{
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, picture.Width());
    rect.Bottom = std::min(rect.Bottom, picture.Height());
    return rect;
}

BoxKind kindOf(const TRect& box)
{
    const std::int64_t width = std::int64_t(box.Right) - box.Left, height = std::int64_t(box.Bottom) - box.Top;
    if (width <= 0 || height <= 0 || (width == 1 && height == 1))
        return BoxKind::Nothing;
    return width == 1 || height == 1 ? BoxKind::Thin : BoxKind::Ordinary;
}

std::int64_t integerSqrt(Int128 n)
{
    if (n <= 0)
        return 0;
    auto root = std::int64_t(std::sqrt(static_cast<long double>(n)));
    while (Int128(root) * root > n)
        --root;
    while (Int128(root + 1) * (root + 1) <= n)
        ++root;
    return root;
}

} // namespace raster

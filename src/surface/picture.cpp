#include "surface.h"

#include <limits>

namespace {

int strideFor(int width, int bitsPerPixel)
{
    const std::int64_t bytes = (std::int64_t(width) * bitsPerPixel + 7) / 8;
    return int((bytes + 3) & ~std::int64_t(3));
}

} // namespace

TPicture::TPicture() = default;

TPicture::TPicture(int width, int height) { allocate(width, height, 24); }

TPicture::TPicture(int width, int height, const ColourTable& table) : table(table) { allocate(width, height, 8); }

void TPicture::allocate(int newWidth, int newHeight, int newBitsPerPixel)
{
    const bool empty = newWidth <= 0 || newHeight <= 0;
    width = empty ? 0 : newWidth;
    height = empty ? 0 : newHeight;
    depth = newBitsPerPixel;
    bytesPerRow = strideFor(width, depth);
    // Sizes are checked in 64 bits before anything is allocated.
    const std::int64_t size = std::int64_t(bytesPerRow) * height;
    if (size > std::numeric_limits<std::int32_t>::max())
        throw ScribboError("Out of memory");
    bits = decltype(bits)(std::size_t(size)); // all zero, untouched until drawn on
}

TColor TPicture::pixel(int x, int y) const
{
    if (!contains(x, y))
        return clInvalid;
    return colourOfStored(storedAt(x, y));
}

std::uint32_t TPicture::storedValue(TColor colour) const
{
    colour &= 0xFFFFFF;
    if (depth == 24)
        return colour;
    return nearestPaletteIndex(table, colour);
}

TColor TPicture::colourOfStored(std::uint32_t stored) const
{
    return depth == 24 ? stored & 0xFFFFFF : table[stored & 0xFF] & 0xFFFFFF;
}

std::uint32_t TPicture::storedAt(int x, int y) const
{
    const std::uint8_t* pixels = row(y);
    if (depth == 8)
        return pixels[x];
    const std::uint8_t* pixel = pixels + 3 * std::size_t(x);
    return std::uint32_t(pixel[2]) | std::uint32_t(pixel[1]) << 8 | std::uint32_t(pixel[0]) << 16;
}

void TPicture::setStoredAt(int x, int y, std::uint32_t stored)
{
    std::uint8_t* pixels = row(y);
    if (depth == 8) {
        pixels[x] = std::uint8_t(stored);
        return;
    }
    std::uint8_t* pixel = pixels + 3 * std::size_t(x);
    pixel[0] = std::uint8_t(stored >> 16); // blue
    pixel[1] = std::uint8_t(stored >> 8);  // green
    pixel[2] = std::uint8_t(stored);       // red
}

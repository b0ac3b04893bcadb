#include "surface.h"

#include <limits>

namespace {

int rowStride(int width, int bitsPerPixel)
{
    const std::int64_t bytes = (std::int64_t(width) * bitsPerPixel + 7) / 8;
    return int((bytes + 3) & ~std::int64_t(3));
}

int channelDistance(TColor a, TColor b, int shift)
{
    const int difference = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    return difference * difference;
}

} // namespace

TPicture::TPicture() = default;

TPicture::TPicture(int width, int height) { allocate(width, height, 24); }

TPicture::TPicture(int width, int height, const TColorTable& table) : table(table) { allocate(width, height, 8); }

void TPicture::allocate(int newWidth, int newHeight, int newBitsPerPixel)
{
    const bool empty = newWidth <= 0 || newHeight <= 0;
    width = empty ? 0 : newWidth;
    height = empty ? 0 : newHeight;
    bitsPerPixel = newBitsPerPixel;
    stride = rowStride(width, bitsPerPixel);
    // Sizes are checked in 64 bits before anything is allocated.
    const std::int64_t size = std::int64_t(stride) * height;
    if (size > std::numeric_limits<std::int32_t>::max())
        throw ScribboError("Out of memory");
    bits = decltype(bits)(std::size_t(size)); // all zero, untouched until drawn on
}

TColor TPicture::Pixel(int x, int y) const
{
    if (!Contains(x, y))
        return clInvalid;
    return ColorOfStored(StoredAt(x, y));
}

std::uint32_t TPicture::StoredValue(TColor colour) const
{
    colour &= 0xFFFFFF;
    if (bitsPerPixel == 24)
        return colour;
    // Nearest entry by distance in RGB; the first of equally near entries wins.
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int index = 0; index < 256 && bestDistance > 0; ++index) {
        const int distance = channelDistance(colour, table[index], 0) + channelDistance(colour, table[index], 8)
            + channelDistance(colour, table[index], 16);
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return std::uint32_t(best);
}

TColor TPicture::ColorOfStored(std::uint32_t stored) const
{
    return bitsPerPixel == 24 ? stored & 0xFFFFFF : table[stored & 0xFF] & 0xFFFFFF;
}

std::uint32_t TPicture::StoredAt(int x, int y) const
{
    const std::uint8_t* row = Row(y);
    if (bitsPerPixel == 8)
        return row[x];
    const std::uint8_t* pixel = row + 3 * std::size_t(x);
    return std::uint32_t(pixel[2]) | std::uint32_t(pixel[1]) << 8 | std::uint32_t(pixel[0]) << 16;
}

void TPicture::SetStoredAt(int x, int y, std::uint32_t stored)
{
    std::uint8_t* row = Row(y);
    if (bitsPerPixel == 8) {
        row[x] = std::uint8_t(stored);
        return;
    }
    std::uint8_t* pixel = row + 3 * std::size_t(x);
    pixel[0] = std::uint8_t(stored >> 16); // blue
    pixel[1] = std::uint8_t(stored >> 8);  // green
    pixel[2] = std::uint8_t(stored);       // red
}

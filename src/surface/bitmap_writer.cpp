// Writing a picture as a Windows bitmap file, the form saves are kept in.
#include "surface.h"

#include <algorithm>
#include <span>

namespace {

constexpr std::size_t fileHeaderSize = 14, infoHeaderSize = 40, tableSize = 256 * 4;

class LittleEndianBytes {
public:
    explicit LittleEndianBytes(std::uint8_t* bytes) : next(bytes) {}
    void put8(std::uint32_t value) { put(value, 1); }
    void put16(std::uint32_t value) { put(value, 2); }
    void put32(std::uint32_t value) { put(value, 4); }

private:
    void put(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            *next++ = std::uint8_t(value >> (8 * i));
    }
    std::uint8_t* next;
};

std::size_t usedPerRow(const TPicture& picture)
{
    return std::size_t(picture.Width()) * (picture.bitsPerPixel() == 8 ? 1 : 3);
}

std::size_t paddedRow(const TPicture& picture) { return (usedPerRow(picture) + 3) / 4 * 4; }

// The file's body, a device-independent bitmap: an information header, with
// the colour table at 8 bits per pixel, and the pixel rows, the bottom row
// first. 8-bit pictures keep their depth, every other one has 24 bits.
struct DeviceIndependentBitmapSizes {
    std::size_t header; // the information header and the colour table
    std::size_t rows;
};

DeviceIndependentBitmapSizes deviceIndependentBitmapSizes(const TPicture& picture)
{
    return {infoHeaderSize + (picture.bitsPerPixel() == 8 ? tableSize : 0),
            paddedRow(picture) * std::size_t(picture.Height())};
}

void fillDeviceIndependentBitmap(const TPicture& picture, std::span<std::uint8_t> header, std::span<std::uint8_t> rows)
{
    const bool indexed = picture.bitsPerPixel() == 8;
    LittleEndianBytes out(header.data());
    out.put32(std::uint32_t(infoHeaderSize));
    out.put32(std::uint32_t(picture.Width()));
    out.put32(std::uint32_t(picture.Height())); // positive: the bottom row comes first
    out.put16(1);                               // planes
    out.put16(indexed ? 8 : 24);
    out.put32(0); // no compression
    out.put32(std::uint32_t(rows.size()));
    out.put32(0); // no resolution given, horizontally or vertically
    out.put32(0);
    out.put32(indexed ? 256 : 0); // colours in the table
    out.put32(0);                 // every colour important
    if (indexed)
        for (TColor colour : picture.colourTable()) {
            out.put8(colour >> 16); // blue
            out.put8(colour >> 8);  // green
            out.put8(colour);       // red
            out.put8(0);
        }

    // Only the pixels are copied: the picture's own padding may hold anything.
    const std::size_t used = usedPerRow(picture), padded = paddedRow(picture);
    std::uint8_t* to = rows.data();
    for (int y = picture.Height() - 1; y >= 0; --y, to += padded) {
        const std::uint8_t* row = picture.row(y);
        std::copy(row, row + used, to);
        std::fill(to + used, to + padded, std::uint8_t(0));
    }
}

} // namespace

std::vector<std::uint8_t> encodeBitmap(const TPicture& picture)
{
    const DeviceIndependentBitmapSizes sizes = deviceIndependentBitmapSizes(picture);
    const std::size_t pixelOffset = fileHeaderSize + sizes.header;
    const std::size_t fileSize = pixelOffset + sizes.rows;
    // The header holds the file's size in 32 bits.
    if (fileSize > 0xFFFFFFFF)
        throw ScribboError("Out of memory");

    std::vector<std::uint8_t> bytes(fileSize);
    LittleEndianBytes out(bytes.data());
    out.put8('B');
    out.put8('M');
    out.put32(std::uint32_t(fileSize));
    out.put16(0); // reserved
    out.put16(0);
    out.put32(std::uint32_t(pixelOffset));
    const std::span<std::uint8_t> body(bytes);
    fillDeviceIndependentBitmap(picture, body.subspan(fileHeaderSize, sizes.header), body.subspan(pixelOffset));
    return bytes;
}

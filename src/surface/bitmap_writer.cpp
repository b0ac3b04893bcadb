// Writing a picture as a Windows bitmap file, the format saves are kept in.
#include "surface.h"

namespace {

constexpr std::int64_t fileHeaderSize = 14, infoHeaderSize = 40, tableSize = 256 * 4;

class LittleEndianBytes {
public:
    explicit LittleEndianBytes(std::vector<std::uint8_t>& bytes) : bytes(bytes) {}
    void put16(std::uint32_t value) { put(value, 2); }
    void put32(std::uint32_t value) { put(value, 4); }

private:
    void put(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes.push_back(std::uint8_t(value >> (8 * i)));
    }
    std::vector<std::uint8_t>& bytes;
};

} // namespace

std::vector<std::uint8_t> EncodeBitmap(const TPicture& picture)
{
    const bool indexed = picture.bitsPerPixel() == 8;
    const std::int64_t width = picture.Width(), height = picture.Height();
    const std::int64_t usedPerRow = width * (indexed ? 1 : 3);
    const std::int64_t stride = (usedPerRow + 3) / 4 * 4;
    const std::int64_t pixelOffset = fileHeaderSize + infoHeaderSize + (indexed ? tableSize : 0);
    const std::int64_t fileSize = pixelOffset + stride * height;
    // The header holds the file's size in 32 bits.
    if (fileSize > std::int64_t(0xFFFFFFFF))
        throw ScribboError("Out of memory");

    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(fileSize));
    LittleEndianBytes out(bytes);
    bytes.push_back('B');
    bytes.push_back('M');
    out.put32(std::uint32_t(fileSize));
    out.put16(0); // reserved
    out.put16(0);
    out.put32(std::uint32_t(pixelOffset));

    out.put32(std::uint32_t(infoHeaderSize));
    out.put32(std::uint32_t(width));
    out.put32(std::uint32_t(height)); // positive: the bottom row comes first
    out.put16(1);                     // planes
    out.put16(indexed ? 8 : 24);
    out.put32(0); // no compression
    out.put32(std::uint32_t(stride * height));
    out.put32(0); // no resolution given, horizontally or vertically
    out.put32(0);
    out.put32(indexed ? 256 : 0); // colours in the table
    out.put32(0);                 // every colour important

    if (indexed)
        for (TColor colour : picture.colourTable()) {
            bytes.push_back(std::uint8_t(colour >> 16)); // blue
            bytes.push_back(std::uint8_t(colour >> 8));  // green
            bytes.push_back(std::uint8_t(colour));       // red
            bytes.push_back(0);
        }

    // Only the pixels are copied: the picture's own padding may hold anything.
    for (std::int64_t y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = picture.row(int(y));
        bytes.insert(bytes.end(), row, row + usedPerRow);
        bytes.insert(bytes.end(), std::size_t(stride - usedPerRow), std::uint8_t(0));
    }
    return bytes;
}

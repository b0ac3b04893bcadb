// Reading Windows bitmap files: Scribbo's own saves and whatever else a child
// brings on a USB stick, from old OS/2 programs to photos with alpha.
#include "bitmap_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

enum Compression : std::uint32_t {
    uncompressed = 0,
    runLengths8 = 1,
    runLengths4 = 2,
    bitFields = 3,
    alphaBitFields = 6
};

std::uint32_t littleEndian(const std::uint8_t* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The headers and the colour table, read in order: running out of bytes in
// them is a read error, told apart from a picture that makes no sense.
class HeaderBytes {
public:
    HeaderBytes(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    // The reason names the part the file ends in.
    const std::uint8_t* take(std::size_t count, const char* reason)
    {
        if (size - position < count)
            throw BitmapRefused(streamReadError, reason);
        const std::uint8_t* bytes = data + position;
        position += count;
        return bytes;
    }
    std::size_t offset() const { return position; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = uncompressed;
    std::uint32_t coloursUsed = 0;
    std::size_t tableEntrySize = 4;
};

// One colour of a pixel of 16 or 32 bits: its bits under the mask, however
// many, scaled to 0..255 with rounding, so that all ones is 255.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask(mask), shift(mask == 0 ? 0 : std::countr_zero(mask)), maximum(mask >> shift)
    {
        if (maximum <= 255)
            for (std::uint32_t value = 0; value <= maximum; ++value)
                table[value] = scaled(value);
    }
    std::uint8_t operator()(std::uint32_t pixel) const
    {
        const std::uint32_t value = (pixel & mask) >> shift;
        return maximum <= 255 ? table[value] : scaled(value);
    }

private:
    std::uint8_t scaled(std::uint64_t value) const
    {
        return maximum == 0 ? 0 : std::uint8_t((value * 510 + maximum) / (2 * std::uint64_t(maximum)));
    }
    std::uint32_t mask;
    int shift;
    std::uint32_t maximum;
    std::array<std::uint8_t, 256> table{};
};

struct Masks {
    std::uint32_t red, green, blue;
};

Layout readInfoHeader(HeaderBytes& in)
{
    constexpr const char* endsInside = "the file ends inside its information header";
    const std::uint8_t* header = in.take(4, endsInside);
    const std::uint32_t headerSize = littleEndian(header, 4);
    // 12: OS/2 1.x; 16 and 64: OS/2 2.x; 40 and longer: Windows. No other
    // sizes were ever written, so another is a damaged file.
    switch (headerSize) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        break;
    default:
        refuseAsNotValid("an information header of no known size");
    }
    in.take(headerSize - 4, endsInside);

    Layout layout;
    if (headerSize == 12) {
        layout.width = littleEndian(header + 4, 2);
        layout.height = littleEndian(header + 6, 2);
        layout.bitsPerPixel = int(littleEndian(header + 10, 2));
        layout.tableEntrySize = 3;
    } else {
        layout.width = std::int32_t(littleEndian(header + 4, 4));
        const std::int64_t height = std::int32_t(littleEndian(header + 8, 4));
        layout.topDown = height < 0;
        layout.height = height < 0 ? -height : height;
        layout.bitsPerPixel = int(littleEndian(header + 14, 2));
        if (headerSize >= 40) {
            layout.compression = littleEndian(header + 16, 4);
            layout.coloursUsed = littleEndian(header + 32, 4);
        }
    }
    // Planes, sizes and resolution are not needed, so a wrong one is no reason to refuse.
    return layout;
}

void checkLayout(const Layout& layout, std::uint32_t headerSize)
{
    const int depth = layout.bitsPerPixel;
    switch (layout.compression) {
    case uncompressed:
        break;
    case runLengths8:
    case runLengths4:
        if (depth != (layout.compression == runLengths8 ? 8 : 4))
            refuseAsNotValid("run lengths at the wrong depth");
        if (layout.topDown)
            refuseAsNotValid("run-length data stored top-down");
        break;
    case bitFields:
    case alphaBitFields:
        // After OS/2's header of 64 bytes, 3 is its Huffman coding instead.
        if (headerSize == 64)
            refuseAsNotValid("a compression other than run lengths and bit fields");
        if (depth != 16 && depth != 32)
            refuseAsNotValid("bit fields at a depth other than 16 or 32 bits");
        break;
    default: // JPEG, PNG and OS/2's 24-bit run lengths
        refuseAsNotValid("a compression other than run lengths and bit fields");
    }
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        refuseAsNotValid("a depth other than 1, 2, 4, 8, 16, 24 or 32 bits");
    if (layout.width < 0)
        refuseAsNotValid("a negative width");
    if (layout.width > maximumBitmapSide || layout.height > maximumBitmapSide)
        refuseAsNotValid("a side longer than the limit");
    if (layout.width * layout.height > maximumBitmapPixels)
        refuseAsNotValid("more pixels than the limit");
}

Masks readMasks(const Layout& layout, const std::uint8_t* header, std::uint32_t headerSize, HeaderBytes& in)
{
    if (layout.compression != bitFields && layout.compression != alphaBitFields)
        return layout.bitsPerPixel == 16 ? Masks{0x7C00, 0x03E0, 0x001F} : Masks{0xFF0000, 0x00FF00, 0x0000FF};
    // Inside the longer headers; after the header of 40 bytes.
    const std::uint8_t* masks = headerSize >= 52
        ? header + 40
        : in.take(layout.compression == bitFields ? 12 : 16, "the file ends inside its colour masks");
    return {littleEndian(masks, 4), littleEndian(masks + 4, 4), littleEndian(masks + 8, 4)};
}

void unpackIndices(const std::uint8_t* source, int depth, int width, std::uint8_t* target)
{
    const int perByte = 8 / depth;
    const unsigned indexMask = (1u << depth) - 1;
    for (int x = 0; x < width; ++x)
        target[x] = std::uint8_t(source[x / perByte] >> (8 - depth * (x % perByte + 1)) & indexMask);
}

void unpackFields(const std::uint8_t* source, int depth, int width, const Masks& masks, std::uint8_t* target)
{
    if (depth == 32 && masks.red == 0xFF0000 && masks.green == 0xFF00 && masks.blue == 0xFF) {
        for (int x = 0; x < width; ++x, source += 4, target += 3) // blue, green, red and a spare byte
            std::memcpy(target, source, 3);
        return;
    }
    const Channel red(masks.red), green(masks.green), blue(masks.blue);
    const int bytes = depth / 8;
    for (int x = 0; x < width; ++x, source += bytes, target += 3) {
        const std::uint32_t pixel = littleEndian(source, bytes);
        target[0] = blue(pixel);
        target[1] = green(pixel);
        target[2] = red(pixel);
    }
}

std::int64_t rowBytes(std::int64_t width, int depth) { return (width * depth + 7) / 8; }
std::int64_t fileStride(std::int64_t width, int depth) { return (rowBytes(width, depth) + 3) / 4 * 4; }

// The last row's padding may be missing: nothing is lost without it.
std::int64_t neededBytes(std::int64_t width, std::int64_t height, int depth)
{
    return fileStride(width, depth) * (height - 1) + rowBytes(width, depth);
}

void readRows(const std::uint8_t* data, const Layout& layout, const Masks& masks, TPicture& picture)
{
    const int depth = layout.bitsPerPixel, width = picture.Width(), height = picture.Height();
    const std::int64_t used = rowBytes(width, depth), stride = fileStride(width, depth);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const std::uint8_t* source = data + stride * fileRow;
        std::uint8_t* target = picture.row(layout.topDown ? fileRow : height - 1 - fileRow);
        if (depth == 8 || depth == 24) // the file's bytes are already the picture's
            std::memcpy(target, source, std::size_t(used));
        else if (depth < 8)
            unpackIndices(source, depth, width, target);
        else
            unpackFields(source, depth, width, masks, target);
    }
}

} // namespace

TPicture decodeBitmap(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return TPicture();
    HeaderBytes in(data, size);
    const std::uint8_t* signature = in.take(2, "the file ends inside its file header");
    if (signature[0] != 'B' || signature[1] != 'M')
        refuseAsNotValid("no BM signature");
    // The file's size is often wrong: unused.
    const std::uint32_t pixelOffset = littleEndian(in.take(12, "the file ends inside its file header") + 8, 4);
    const std::uint8_t* header = data + in.offset();
    const Layout layout = readInfoHeader(in);
    const std::uint32_t headerSize = littleEndian(header, 4);
    checkLayout(layout, headerSize);
    const Masks masks = readMasks(layout, header, headerSize, in);
    if (pixelOffset < in.offset())
        refuseAsNotValid("pixel data that starts inside the headers");

    // Only as many colours as the pixels can name and as fit before them.
    const bool indexed = layout.bitsPerPixel <= 8;
    ColourTable table{};
    if (indexed) {
        std::size_t entries = std::size_t(1) << layout.bitsPerPixel;
        if (layout.coloursUsed != 0)
            entries = std::min<std::size_t>(entries, layout.coloursUsed);
        entries = std::min(entries, (pixelOffset - in.offset()) / layout.tableEntrySize);
        const std::uint8_t* colours = in.take(entries * layout.tableEntrySize, "the file ends inside its colour table");
        for (std::size_t i = 0; i < entries; ++i, colours += layout.tableEntrySize)
            table[i] = TColor(colours[2]) | TColor(colours[1]) << 8 | TColor(colours[0]) << 16;
    }

    if (pixelOffset > size)
        refuseAsNotValid("pixel data that starts past the end of the file");
    const std::uint8_t* pixels = data + pixelOffset;
    const std::size_t pixelBytes = size - pixelOffset;
    const bool runLengths = layout.compression == runLengths8 || layout.compression == runLengths4;
    // Run lengths can fill a picture from a few bytes, so only the pixel limit bounds those.
    if (!runLengths && layout.width * layout.height > 0
        && neededBytes(layout.width, layout.height, layout.bitsPerPixel) > std::int64_t(pixelBytes))
        refuseAsNotValid("pixel data that ends before the picture does");
    const int width = int(layout.width), height = int(layout.height);
    TPicture picture = indexed ? TPicture(width, height, table) : TPicture(width, height);
    if (picture.isEmpty())
        return picture;
    if (runLengths)
        readRunLengths(pixels, pixelBytes, layout.bitsPerPixel, picture);
    else
        readRows(pixels, layout, masks, picture);
    return picture;
}

// Saving: the halftone table, converting to it, and the bytes of bitmap files.
#include "pictures.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

// The thirteen little-endian words after "BM"; planes and bits share one.
Words headerWords(const Bytes& bytes)
{
    Words words;
    for (std::size_t offset = 2; offset < 54; offset += 4)
        words.push_back(bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16
                        | std::uint32_t(bytes.at(offset + 3)) << 24);
    return words;
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t size)
{
    return Bytes(bytes.begin() + std::ptrdiff_t(offset), bytes.begin() + std::ptrdiff_t(offset + size));
}

int squaredDistance(TColor a, TColor b)
{
    const int red = int(a & 0xFF) - int(b & 0xFF), green = int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF),
              blue = int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF);
    return red * red + green * green + blue * blue;
}

std::uint32_t bruteForceNearest(TColor colour)
{
    const ColourTable& table = halftonePalette();
    std::uint32_t best = 0;
    for (std::uint32_t i = 1; i < 256; ++i)
        if (squaredDistance(colour, table[i]) < squaredDistance(colour, table[best]))
            best = i;
    return best;
}

} // namespace

TEST(Halftone, TableHas256DistinctEntriesAndKeepsEverySwatchColourExactly)
{
    const ColourTable& table = halftonePalette();
    const std::set<TColor> entries(table.begin(), table.end());
    EXPECT_EQ(entries.size(), 256u);
    EXPECT_LE(*entries.rbegin(), 0xFFFFFFu); // no high bytes
    TPicture drawing = whitePicture(43, 5);
    for (int i = 0; i < 43; ++i)
        TCanvas(drawing).SetPixel(i, i % 5, swatchColours[std::size_t(i % 20)]);
    const TPicture converted = toHalftone(drawing);
    EXPECT_EQ(converted.bitsPerPixel(), 8);
    EXPECT_EQ(converted.colourTable(), table);
    EXPECT_EQ(describeMismatch(converted, drawing, "HalftoneSwatches"), "");
}

// Sweeps along the cube's edges and grey diagonal, where equally near entries
// meet, then random colours in random runs.
TEST(Halftone, EveryPixelBecomesTheNearestEntryAsABruteForceSearchFindsIt)
{
    std::mt19937 random(20240611);
    TPicture picture(259, 151);
    TColor drawn = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor v = TColor(x & 0xFF), sweeps[] = {v * 0x010101, v, v << 8, v << 16, v * 0x101, v | 0x80FF00};
            picture.setStoredAt(x, y, drawn = y < 6 ? sweeps[y] : random() % 3 ? drawn : TColor(random() & 0xFFFFFF));
        }
    const TPicture converted = toHalftone(picture);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            ASSERT_EQ(converted.storedAt(x, y), bruteForceNearest(picture.pixel(x, y))) << x << ", " << y;
}

TEST(Bitmap, EightBitPictureIsHeaderTableAndRowsBottomFirstPaddedWithZeros)
{
    ColourTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = TColor(i) | TColor(255 - i) << 8 | TColor(i ^ 0x5A) << 16;
    table[7] = 0xAB123456; // a stray high byte is not written
    TPicture picture(3, 2, table);
    const std::uint8_t pixels[] = {1, 2, 3, 0xEE, 250, 251, 7, 0xEE}; // the padding holds garbage
    std::copy(pixels, pixels + 8, picture.row(0));
    const Bytes bytes = encodeBitmap(picture);
    ASSERT_EQ(bytes.size(), 1086u);
    EXPECT_EQ(slice(bytes, 0, 2), (Bytes{'B', 'M'}));
    EXPECT_EQ(headerWords(bytes), (Words{1086, 0, 1078, 40, 3, 2, 1 | 8 << 16, 0, 8, 0, 0, 256, 0}));
    EXPECT_EQ(slice(bytes, 54, 4), (Bytes{0x5A, 0xFF, 0, 0})); // blue, green, red, 0
    EXPECT_EQ(slice(bytes, 54 + 4 * 7, 4), (Bytes{0x12, 0x34, 0x56, 0}));
    EXPECT_EQ(slice(bytes, 54 + 4 * 255, 4), (Bytes{0xA5, 0, 0xFF, 0}));
    EXPECT_EQ(slice(bytes, 1078, 8), (Bytes{250, 251, 7, 0, 1, 2, 3, 0}));
    EXPECT_EQ(encodeBitmap(toHalftone(picture)), bytes); // already 8-bit: unchanged, its own table kept

    const Bytes save = encodeBitmap(toHalftone(whitePicture())); // the drawing area's
    EXPECT_EQ(save.size(), std::size_t(14 + 40 + 1024 + 724 * 489));
    EXPECT_EQ(headerWords(save)[2], 1078u);
    EXPECT_EQ(headerWords(encodeBitmap(toHalftone(TPicture()))),
              (Words{1078, 0, 1078, 40, 0, 0, 1 | 8 << 16, 0, 0, 0, 0, 256, 0}));
}

TEST(Bitmap, TwentyFourBitPictureHasNoTableAndBlueGreenRedRows)
{
    TPicture picture(3, 2);
    for (int i = 0; i < 6; ++i)
        picture.setStoredAt(i % 3, i / 3, 0x030201 + 0x101010 * TColor(i));
    picture.row(0)[9] = picture.row(1)[11] = 0xEE;
    const Bytes bytes = encodeBitmap(picture);
    ASSERT_EQ(bytes.size(), 78u);
    EXPECT_EQ(headerWords(bytes), (Words{78, 0, 54, 40, 3, 2, 1 | 24 << 16, 0, 24, 0, 0, 0, 0}));
    EXPECT_EQ(slice(bytes, 54, 24), (Bytes{0x33, 0x32, 0x31, 0x43, 0x42, 0x41, 0x53, 0x52, 0x51, 0, 0, 0,
                                           0x03, 0x02, 0x01, 0x13, 0x12, 0x11, 0x23, 0x22, 0x21, 0, 0, 0}));
    EXPECT_EQ(headerWords(encodeBitmap(TPicture())), (Words{54, 0, 54, 40, 0, 0, 1 | 24 << 16, 0, 0, 0, 0, 0, 0}));
}

#include "jpeg.h"
#include "read_file.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Jpeg, BlankStartPictureDecodesToWhite24Bit)
{
    const auto bytes = readFile<std::vector<std::uint8_t>>(SCRIBBO_BLANK_JPEG);
    ASSERT_FALSE(bytes.empty());
    const TPicture picture = decodeJpeg(bytes.data(), bytes.size());
    ASSERT_EQ(picture.Width(), 721);
    ASSERT_EQ(picture.Height(), 489);
    EXPECT_EQ(picture.bitsPerPixel(), 24);
    for (int y = 0; y < 489; ++y)
        for (int x = 0; x < 721; ++x)
            ASSERT_EQ(picture.pixel(x, y), clWhite) << x << ", " << y;
}

TEST(Jpeg, BrokenDataIsAnErrorNotACrash)
{
    const auto bytes = readFile<std::vector<std::uint8_t>>(SCRIBBO_BLANK_JPEG);
    ASSERT_GT(bytes.size(), 200u);
    const std::vector<std::uint8_t> notJpeg{'B', 'M', 0, 0, 0, 0};
    EXPECT_THROW(decodeJpeg(notJpeg.data(), notJpeg.size()), ScribboError);
    EXPECT_THROW(decodeJpeg(nullptr, 0), ScribboError);
    EXPECT_THROW(decodeJpeg(bytes.data(), 100), ScribboError); // cut inside the header
    std::vector<std::uint8_t> damaged = bytes;
    for (std::size_t i = 20; i < damaged.size(); i += 7)
        damaged[i] ^= 0x5A;
    try {
        const TPicture picture = decodeJpeg(damaged.data(), damaged.size());
        EXPECT_EQ(picture.Width() * picture.Height() > 0, true); // decoded something, or threw
    } catch (const ScribboError& error) {
        EXPECT_STRNE(error.what(), "");
    }
}

#include "jpeg.h"
#include "pictures.h"
#include "read_file.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Jpeg, BlankStartPictureDecodesToWhite24Bit)
{
    const auto bytes = readFile<std::vector<std::uint8_t>>(SCRIBBO_BLANK_JPEG);
    ASSERT_FALSE(bytes.empty());
    const TPicture picture = decodeJpeg(bytes.data(), bytes.size());
    EXPECT_EQ(picture.bitsPerPixel(), 24);
    EXPECT_EQ(describeMismatch(picture, whitePicture(721, 489), "BlankJpeg"), "");
}

// A broken header is an error. Pixel data cut short is not: libjpeg warns of
// the early end and makes up the rest, so the picture keeps the size its
// header gives. The cut copy holds exactly the bytes handed over, so that
// the sanitizers would see a read past them.
TEST(Jpeg, BrokenHeadersAreAnErrorAndPixelDataCutShortKeepsTheSize)
{
    const auto bytes = readFile<std::vector<std::uint8_t>>(SCRIBBO_BLANK_JPEG);
    ASSERT_GT(bytes.size(), 1200u);
    const std::vector<std::uint8_t> notJpeg{'B', 'M', 0, 0, 0, 0};
    EXPECT_THROW(decodeJpeg(notJpeg.data(), notJpeg.size()), ScribboError);
    EXPECT_THROW(decodeJpeg(nullptr, 0), ScribboError);
    EXPECT_THROW(decodeJpeg(bytes.data(), 100), ScribboError);                // cut inside the header
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 1200); // the pixel data runs from 280
    const TPicture picture = decodeJpeg(cut.data(), cut.size());
    EXPECT_EQ(picture.Width(), 721);
    EXPECT_EQ(picture.Height(), 489);
    EXPECT_EQ(picture.pixel(0, 0), clWhite); // the top rows came before the cut
}

#include "picture_text.h"

#include <climits>
#include <random>

namespace {

// A small table with some near colours, so nearest-entry mapping matters.
ColourTable testTable()
{
    ColourTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = TColor((i * 37) % 256) | TColor((i * 91) % 256) << 8 | TColor((i * 13) % 256) << 16;
    table[0] = clBlack;
    table[255] = clWhite;
    table[10] = 0x0000FF;
    return table;
}

} // namespace

TEST(Picture, StartsBlackAndAnswersItsShape)
{
    const TPicture picture(3, 2);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.bitsPerPixel(), 24);
    EXPECT_FALSE(picture.isEmpty());
    EXPECT_EQ(picture.stride(), 12); // 9 bytes padded to a multiple of four
    EXPECT_EQ(picture.pixel(2, 1), clBlack);
    EXPECT_EQ(picture.pixel(3, 1), clInvalid);
    EXPECT_TRUE(TPicture().isEmpty());
    EXPECT_TRUE(TPicture(-4, 5).isEmpty());
}

TEST(Picture, StoresBlueGreenRedBytes)
{
    TPicture picture(2, 1);
    TCanvas(picture).SetPixel(1, 0, 0x332211);
    EXPECT_EQ(picture.row(0)[3], 0x33); // blue
    EXPECT_EQ(picture.row(0)[4], 0x22);
    EXPECT_EQ(picture.row(0)[5], 0x11); // red
    EXPECT_EQ(picture.pixel(1, 0), 0x332211u);
}

TEST(Picture, CopiesAreIndependent)
{
    TPicture original = whitePicture(4, 4);
    TPicture copy = original;
    TCanvas(copy).SetPixel(1, 1, clBlack);
    EXPECT_EQ(original.pixel(1, 1), clWhite);
    EXPECT_EQ(copy.pixel(1, 1), clBlack);
}

TEST(Picture, EightBitPictureMapsColoursToTheNearestEntry)
{
    TPicture picture(4, 1, testTable());
    TCanvas canvas(picture);
    EXPECT_EQ(picture.bitsPerPixel(), 8);
    canvas.SetPixel(0, 0, 0x0000FC); // nearest is the pure red entry
    canvas.SetPixel(1, 0, 0xFEFEFE);
    EXPECT_EQ(picture.pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(picture.row(0)[0], 10);
    EXPECT_EQ(picture.pixel(1, 0), clWhite);
}

// With nothing set, a canvas draws a black line one pixel wide over what is
// there, from the top left corner, and fills white.
TEST(Canvas, WithNothingSetDrawsAThinBlackLineFromTheCornerAndFillsWhite)
{
    TPicture picture = pictureFromText(R"(
        rrrr
        rrrr
        rrrr)");
    TCanvas canvas(picture);
    canvas.LineTo(3, 0);
    canvas.FillRect({1, 1, 3, 3});
    EXPECT_TRUE(looksLike(picture, R"(
        ###r
        r..r
        r..r)"));
}

// Pixels are written as given whatever the pen mode, and only inside.
TEST(Canvas, PixelWritesIgnoreThePenModeAndChangeNothingOutside)
{
    TPicture picture = whitePicture(4, 3);
    TCanvas canvas(picture);
    canvas.Pen.Mode = pmNotXor;
    for (const auto& [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {INT_MIN, INT_MAX}, {INT_MAX, 1}})
        canvas.SetPixel(x, y, clBlack);
    EXPECT_TRUE(samePixels(picture, whitePicture(4, 3)));
    EXPECT_EQ(canvas.GetPixel(-1, 0), clInvalid);
    canvas.SetPixel(0, 0, colourOf('r'));
    EXPECT_EQ(canvas.GetPixel(0, 0), colourOf('r'));
}

TEST(Canvas, NotXorInvertsAgainstThePen)
{
    TPicture picture = whitePicture(3, 1);
    TCanvas canvas(picture);
    canvas.SetPixel(1, 0, 0x123456);
    canvas.Pen.Mode = pmNotXor;
    canvas.Pen.Color = 0x00FF00;
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 0);
    EXPECT_EQ(canvas.GetPixel(0, 0), 0x00FF00u); // NOT (green XOR white) is green
    EXPECT_EQ(canvas.GetPixel(1, 0), (~(0x00FF00u ^ 0x123456u)) & 0xFFFFFF);
}

TEST(Canvas, FillRectIsExclusiveClippedAndIgnoresThePen)
{
    TPicture picture = whitePicture(6, 4);
    TCanvas canvas(picture);
    canvas.Pen.Mode = pmNotXor;
    canvas.Brush.Color = colourOf('r');
    canvas.FillRect({4, -3, 9, 2});
    canvas.FillRect({1, 3, 3, 3}); // empty
    canvas.FillRect({3, 3, 1, 4}); // turned round: empty
    EXPECT_TRUE(looksLike(picture, R"(
        ....rr
        ....rr
        ......
        ......)"));
}

TEST(Canvas, FocusRectIsADottedFrameTiedToThePicture)
{
    TPicture picture = whitePicture(6, 5);
    TCanvas canvas(picture);
    canvas.DrawFocusRect({0, 0, 5, 4});
    EXPECT_TRUE(looksLike(picture, R"(
        #.#.#.
        ......
        #...#.
        .#.#..
        ......)"));
    // Moved by one pixel, the dots stay on the same checkerboard.
    TPicture shifted = whitePicture(6, 5);
    TCanvas shiftedCanvas(shifted);
    shiftedCanvas.DrawFocusRect({1, 0, 6, 4});
    EXPECT_TRUE(looksLike(shifted, R"(
        ..#.#.
        .#...#
        ......
        .#.#.#
        ......)"));
}

TEST(Canvas, FocusRectTwiceRestoresEveryPixel)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> coordinate(-5, 25), colour(0, 0xFFFFFF);
    TPicture picture(20, 20);
    TCanvas canvas(picture);
    for (int i = 0; i < 400; ++i)
        canvas.SetPixel(i % 20, i / 20, TColor(colour(random)));
    const TPicture before = picture;
    for (int i = 0; i < 500; ++i) {
        const TRect rect{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
        canvas.DrawFocusRect(rect);
        canvas.DrawFocusRect(rect);
        ASSERT_TRUE(samePixels(picture, before));
    }
    TPicture indexed(20, 20, testTable());
    TCanvas indexedCanvas(indexed);
    indexedCanvas.SetPixel(3, 3, 0x0000FF);
    const TPicture indexedBefore = indexed;
    indexedCanvas.DrawFocusRect({2, 2, 9, 9});
    EXPECT_FALSE(samePixels(indexed, indexedBefore));
    indexedCanvas.DrawFocusRect({2, 2, 9, 9});
    EXPECT_TRUE(samePixels(indexed, indexedBefore));
}

TEST(Canvas, DrawCopiesOnePixelToOneAndClips)
{
    TPicture target = whitePicture(5, 4);
    const TPicture source = pictureFromText(R"(
        rg
        b#)");
    TCanvas canvas(target);
    canvas.Draw(-1, 2, source);
    canvas.Draw(4, 0, source);
    canvas.Draw(2, 1, TPicture());
    EXPECT_TRUE(looksLike(target, R"(
        ....r
        ....b
        g....
        #....)"));
}

TEST(Canvas, DrawConvertsBetweenFormats)
{
    TPicture indexed(2, 1, testTable());
    TCanvas(indexed).Draw(0, 0, pictureFromText("r."));
    EXPECT_EQ(indexed.pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(indexed.pixel(1, 0), clWhite);
    TPicture trueColour = whitePicture(3, 1);
    TCanvas(trueColour).Draw(1, 0, indexed);
    EXPECT_TRUE(looksLike(trueColour, ".r."));
}

TEST(Canvas, DrawOntoItselfReadsTheOldPixels)
{
    TPicture picture = pictureFromText("rgb..");
    TCanvas canvas(picture);
    canvas.Draw(2, 0, picture);
    EXPECT_TRUE(looksLike(picture, "rgrgb"));
}

TEST(Canvas, EmptyPictureDrawsNothing)
{
    TPicture empty;
    TCanvas canvas(empty);
    canvas.Pen.Width = 7;
    canvas.MoveTo(-3, -3);
    canvas.LineTo(10, 10);
    canvas.Rectangle(0, 0, 10, 10);
    canvas.Ellipse(0, 0, 10, 10);
    canvas.Arc(0, 0, 10, 10, 0, 0, 0, 0);
    canvas.FloodFill(0, 0, clBlack, fsSurface);
    canvas.SetPixel(0, 0, clWhite);
    canvas.DrawFocusRect({0, 0, 4, 4});
    canvas.FillRect({0, 0, 4, 4});
    canvas.Draw(0, 0, whitePicture(3, 3));
    EXPECT_EQ(canvas.GetPixel(0, 0), clInvalid);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(Canvas, PenAndBrushStayUntilChanged)
{
    TPicture picture = whitePicture(10, 3);
    TCanvas canvas(picture);
    canvas.Pen.Color = colourOf('g');
    canvas.MoveTo(0, 1);
    canvas.LineTo(3, 1);
    canvas.MoveTo(5, 1);
    canvas.LineTo(8, 1);
    EXPECT_TRUE(looksLike(picture, R"(
        ..........
        ggg..ggg..
        ..........)"));
}

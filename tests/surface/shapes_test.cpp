#include "picture_text.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
};

Bounds boundsOf(const TPicture& picture, TColor colour)
{
    Bounds bounds;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.pixel(x, y) == colour) {
                bounds.left = std::min(bounds.left, x);
                bounds.right = std::max(bounds.right, x);
                bounds.top = std::min(bounds.top, y);
                bounds.bottom = std::max(bounds.bottom, y);
            }
    return bounds;
}

// True when the picture looks the same turned about the point (twiceX / 2, twiceY / 2).
bool symmetricAbout(const TPicture& picture, int twiceX, int twiceY)
{
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const int mirrorX = twiceX - x, mirrorY = twiceY - y;
            if (!picture.contains(mirrorX, mirrorY))
                continue;
            if (picture.pixel(x, y) != picture.pixel(mirrorX, y) || picture.pixel(x, y) != picture.pixel(x, mirrorY))
                return false;
        }
    return true;
}

} // namespace

TEST(Rectangle, RectangleOutlineCoversTenToNineteen)
{
    TPicture picture = whitePicture(25, 25);
    TCanvas canvas(picture);
    canvas.Brush.Color = colourOf('r');
    canvas.Rectangle(10, 10, 20, 20);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x) {
            const bool inside = x >= 10 && x <= 19 && y >= 10 && y <= 19;
            const bool edge = x == 10 || x == 19 || y == 10 || y == 19;
            const TColor expected = !inside ? clWhite : edge ? clBlack : colourOf('r');
            ASSERT_EQ(picture.pixel(x, y), expected) << x << ", " << y;
        }
}

// Small shapes with a red brush, pixel by pixel: right and bottom are
// exclusive, and a wide outline is centred on the path.
TEST(Shapes, SmallShapesPixelByPixel)
{
    struct Case {
        const char* name;
        int shape, penWidth;
        TRect box;
        const char* art;
    };
    const Case cases[] = {
        {"rectangle, corners in any order", 0, 1, {6, 5, 1, 1}, R"(
            ........
            .#####..
            .#rrr#..
            .#rrr#..
            .#####..
            ........)"},
        {"rectangle, a wide outline centred on the path", 0, 2, {2, 2, 8, 8}, R"(
            ..........
            .#######..
            .#######..
            .##rrr##..
            .##rrr##..
            .##rrr##..
            .#######..
            .#######..
            ..........
            ..........)"},
        {"ellipse, a one-pixel outline closed and filled", 1, 1, {0, 0, 7, 5}, R"(
            .#####.
            #rrrrr#
            #rrrrr#
            #rrrrr#
            .#####.)"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const TPicture expected = pictureFromText(each.art);
        TPicture picture = whitePicture(expected.Width(), expected.Height());
        TCanvas canvas(picture);
        canvas.Brush.Color = colourOf('r');
        canvas.Pen.Width = each.penWidth;
        drawShape(canvas, each.shape, each.box);
        EXPECT_TRUE(looksLike(picture, each.art));
    }
}

TEST(Rectangle, WideOutlineHasRoundOuterCorners)
{
    TPicture picture = whitePicture(40, 40);
    TCanvas canvas(picture);
    canvas.Pen.Width = 9;
    canvas.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(picture.pixel(6, 20), clBlack); // four pixels out from the left side
    EXPECT_EQ(picture.pixel(5, 20), clWhite);
    EXPECT_EQ(picture.pixel(6, 6), clWhite); // but not out at the corner
    EXPECT_EQ(picture.pixel(7, 7), clBlack);
    EXPECT_EQ(picture.pixel(14, 14), clBlack); // inner corner is sharp
    EXPECT_EQ(picture.pixel(15, 15), clWhite);
    EXPECT_TRUE(symmetricAbout(picture, 39, 39));
}

TEST(Rectangle, OnePixelAndEmptyBoxesDrawNothing)
{
    for (const TRect box :
         {TRect{5, 5, 6, 6}, TRect{6, 6, 5, 5}, TRect{5, 5, 5, 5}, TRect{5, 5, 5, 12}, TRect{12, 5, 5, 5}}) {
        for (const int width : {1, 5}) {
            TPicture picture = whitePicture(20, 20);
            TCanvas canvas(picture);
            canvas.Pen.Width = width;
            for (int shape = 0; shape < 3; ++shape)
                drawShape(canvas, shape, box);
            EXPECT_TRUE(samePixels(picture, whitePicture(20, 20))) << box.Left << ", " << box.Top << " width " << width;
        }
    }
}

// Measured on the classic platform: a box one pixel wide or high is outlined
// along that one column or row, right and bottom still exclusive, and the
// brush finds no inside to fill.
TEST(ThinBoxes, OnePixelPenOutlinesTheColumnOrRowOnly)
{
    for (int shape = 0; shape < 3; ++shape) {
        TPicture picture = whitePicture(45, 15);
        TCanvas canvas(picture);
        canvas.Brush.Color = colourOf('r');
        for (const TRect box : {TRect{24, 2, 25, 12}, TRect{28, 2, 40, 3}, TRect{42, 2, 43, 12}, TRect{2, 12, 20, 13}})
            drawShape(canvas, shape, box);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 45; ++x) {
                const bool column = (x == 24 || x == 42) && y >= 2 && y <= 11;
                const bool row = (y == 2 && x >= 28 && x <= 39) || (y == 12 && x >= 2 && x <= 19);
                ASSERT_EQ(picture.pixel(x, y), column || row ? clBlack : clWhite) << shape << ": " << x << ", " << y;
            }
    }
}

// The band has the pen's width and round ends; an even pen puts its extra
// column to the left and its extra row above, as on wide outlines.
TEST(ThinBoxes, WidePenBandIsCentredOnTheColumnOrRow)
{
    for (int shape = 0; shape < 3; ++shape) {
        TPicture picture = whitePicture(20, 12);
        TCanvas canvas(picture);
        canvas.Brush.Color = colourOf('r');
        canvas.Pen.Width = 5;
        drawShape(canvas, shape, {4, 3, 5, 9});
        canvas.Pen.Width = 4;
        drawShape(canvas, shape, {10, 5, 17, 6});
        EXPECT_TRUE(looksLike(picture, R"(
            ....................
            ...###..............
            ..#####.............
            ..#####..########...
            ..#####.##########..
            ..#####.##########..
            ..#####..########...
            ..#####.............
            ..#####.............
            ..#####.............
            ...###..............
            ....................)"))
            << shape;
    }
}

TEST(ThinBoxes, ArcKeepsTheBandWithinItsAngles)
{
    TPicture upper = whitePicture(3, 22), lower = whitePicture(3, 22);
    TCanvas(upper).Arc(1, 2, 2, 20, 100, 11, -100, 11); // from the right over the top to the left
    TCanvas(lower).Arc(1, 2, 2, 20, -100, 11, 100, 11); // and back under the bottom
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 3; ++x) {
            ASSERT_EQ(upper.pixel(x, y), x == 1 && y >= 2 && y <= 10 ? clBlack : clWhite) << x << ", " << y;
            ASSERT_EQ(lower.pixel(x, y), x == 1 && y >= 11 && y <= 19 ? clBlack : clWhite) << x << ", " << y;
        }
}

TEST(Ellipse, OnePixelOutlineTouchesTheBoxAndIsSymmetric)
{
    TPicture picture = whitePicture(50, 40);
    TCanvas canvas(picture);
    canvas.Ellipse(10, 10, 41, 31);
    const Bounds bounds = boundsOf(picture, clBlack);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.right, 40);
    EXPECT_EQ(bounds.top, 10);
    EXPECT_EQ(bounds.bottom, 30);
    EXPECT_TRUE(symmetricAbout(picture, 50, 40));
}

TEST(Ellipse, OnePixelOutlineHasNoGaps)
{
    TPicture picture = whitePicture(80, 60);
    TCanvas canvas(picture);
    canvas.Pen.Color = colourOf('b');
    canvas.Brush.Color = colourOf('r');
    canvas.Ellipse(3, 5, 77, 50);
    // An unbroken curve: every outline pixel has at least two outline
    // neighbours, and the fill never touches the white outside.
    for (int y = 1; y < 59; ++y)
        for (int x = 1; x < 79; ++x) {
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && picture.pixel(x + dx, y + dy) == colourOf('b'))
                        ++neighbours;
            if (picture.pixel(x, y) == colourOf('b')) {
                ASSERT_GE(neighbours, 2) << x << ", " << y;
            }
            if (picture.pixel(x, y) == colourOf('r')) {
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    ASSERT_NE(picture.pixel(x + dx, y + dy), clWhite) << x << ", " << y;
            }
        }
}

TEST(Ellipse, WideOutlineIsCentredOnThePath)
{
    for (const int width : {4, 5, 20}) {
        TPicture picture = whitePicture(80, 70);
        TCanvas canvas(picture);
        canvas.Pen.Width = width;
        canvas.Brush.Color = colourOf('r');
        canvas.Ellipse(20, 20, 60, 50);
        const Bounds bounds = boundsOf(picture, clBlack);
        // The path runs through columns 20 and 59 and rows 20 and 49.
        EXPECT_EQ(bounds.left, 20 - width / 2) << width;
        EXPECT_EQ(bounds.right, 59 + (width - 1) / 2) << width;
        EXPECT_EQ(bounds.top, 20 - width / 2) << width;
        EXPECT_EQ(bounds.bottom, 49 + (width - 1) / 2) << width;
        EXPECT_TRUE(symmetricAbout(picture, width % 2 ? 79 : 78, width % 2 ? 69 : 68)) << width;
        EXPECT_EQ(picture.pixel(40, 35), colourOf('r'));
    }
}

TEST(Ellipse, WideOutlineCoversThePathAllRound)
{
    TPicture picture = whitePicture(120, 100);
    TCanvas canvas(picture);
    canvas.Pen.Width = 3;
    canvas.Brush.Color = colourOf('r');
    canvas.Ellipse(10, 10, 111, 71);
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = degree * std::numbers::pi / 180;
        const int x = int(std::floor(60.5 + 50 * std::cos(angle))), y = int(std::floor(40.5 + 30 * std::sin(angle)));
        ASSERT_EQ(picture.pixel(x, y), clBlack) << degree << " degrees";
    }
}

// Exactly, pixel by pixel: the pen's where the centre lies closer than half
// the pen width to the path through the box's outermost pixels, the brush's
// deeper inside, untouched further out. The path is sampled every tenth of a
// pixel; pixels within a hundredth of a pixel of the pen's edge are not judged.
TEST(Ellipse, WideOutlineIsEveryPixelWithinHalfThePenWidthOfThePath)
{
    std::mt19937 random(18);
    std::uniform_int_distribution<int> coordinate(-10, 50), size(2, 40), width(2, 20);
    for (int i = 0; i < 40; ++i) {
        const int left = coordinate(random), top = coordinate(random), penWidth = width(random);
        const int right = left + size(random), bottom = top + size(random);
        TPicture picture = whitePicture(64, 48);
        TCanvas canvas(picture);
        canvas.Pen.Width = penWidth;
        canvas.Brush.Color = colourOf('r');
        canvas.Ellipse(left, top, right, bottom);
        // An even pen's path runs along pixel corners, an odd one's through centres.
        const double centreX = (left + right - 1 + penWidth % 2) / 2.0;
        const double centreY = (top + bottom - 1 + penWidth % 2) / 2.0;
        const double a = (right - 1 - left) / 2.0, b = (bottom - 1 - top) / 2.0, half = penWidth / 2.0;
        // Squared distances to the path, where they are under (half + 1)².
        const int pictureWidth = picture.Width(), pictureHeight = picture.Height();
        std::vector<double> nearest(std::size_t(pictureWidth * pictureHeight), HUGE_VAL);
        const int samples = int(std::ceil(2 * std::numbers::pi * std::max(a, b) / 0.1));
        for (int k = 0; k < samples; ++k) {
            const double angle = 2 * std::numbers::pi * k / samples;
            const double pathX = centreX + a * std::cos(angle), pathY = centreY + b * std::sin(angle);
            for (int y = std::max(int(pathY - half) - 1, 0); y <= std::min(int(pathY + half) + 1, pictureHeight - 1);
                 ++y)
                for (int x = std::max(int(pathX - half) - 1, 0); x <= std::min(int(pathX + half) + 1, pictureWidth - 1);
                     ++x) {
                    const double dx = x + 0.5 - pathX, dy = y + 0.5 - pathY;
                    double& here = nearest[std::size_t(y * pictureWidth + x)];
                    here = std::min(here, dx * dx + dy * dy);
                }
        }
        for (int y = 0; y < pictureHeight; ++y)
            for (int x = 0; x < pictureWidth; ++x) {
                const double distance = std::sqrt(nearest[std::size_t(y * pictureWidth + x)]);
                if (std::abs(distance - half) < 0.01)
                    continue;
                const double dx = (x + 0.5 - centreX) / a, dy = (y + 0.5 - centreY) / b;
                const TColor expected = distance < half ? clBlack : dx * dx + dy * dy < 1 ? colourOf('r') : clWhite;
                ASSERT_EQ(picture.pixel(x, y), expected) << "case " << i << " pixel " << x << ", " << y;
            }
    }
}

TEST(Arc, EqualPointsOutlineTheWholeEllipseUnfilled)
{
    for (const int width : {1, 2, 7}) {
        TPicture arc = whitePicture(60, 50), ellipse = whitePicture(60, 50);
        TCanvas arcCanvas(arc), ellipseCanvas(ellipse);
        arcCanvas.Pen.Width = ellipseCanvas.Pen.Width = width;
        arcCanvas.Brush.Color = colourOf('r'); // an arc fills nothing
        arcCanvas.Arc(8, 6, 52, 44, 0, 0, 0, 0);
        ellipseCanvas.Ellipse(8, 6, 52, 44);
        EXPECT_TRUE(samePixels(arc, ellipse)) << width;
    }
}

TEST(Arc, RunsCounterClockwiseFromStartToEnd)
{
    TPicture picture = whitePicture(50, 50);
    TCanvas canvas(picture);
    canvas.Pen.Width = 3;
    canvas.Arc(5, 5, 46, 46, 45, 25, 25, 0); // from the right round to the top
    const Bounds bounds = boundsOf(picture, clBlack);
    EXPECT_GE(bounds.left, 24);
    EXPECT_LE(bounds.bottom, 26);
    EXPECT_EQ(picture.pixel(45, 25), clBlack);
    EXPECT_EQ(picture.pixel(25, 5), clBlack);
    EXPECT_EQ(picture.pixel(40, 10), clBlack);

    TPicture other = whitePicture(50, 50);
    TCanvas otherCanvas(other);
    otherCanvas.Pen.Width = 3;
    otherCanvas.Arc(5, 5, 46, 46, 25, 0, 45, 25); // from the top the long way round to the right
    EXPECT_EQ(other.pixel(40, 10), clWhite);
    EXPECT_EQ(other.pixel(5, 25), clBlack);
    EXPECT_EQ(other.pixel(25, 45), clBlack);
}

#include "picture_text.h"

#include <climits>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Points = std::set<std::pair<int, int>>;

TPicture drawLine(int width, int height, int x0, int y0, int x1, int y1, int penWidth = 1)
{
    TPicture picture = whitePicture(width, height);
    TCanvas canvas(picture);
    canvas.Pen.Width = penWidth;
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
    return picture;
}

// The one-pixel line rule, written out step by step with no clipping; keeps
// the points inside width x height.
Points referenceLine(int x0, int y0, int x1, int y1, int width = 1 << 30, int height = 1 << 30)
{
    const long long dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const long long major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const bool biasOne = (dx <= 0 && dy > 0 && std::llabs(dx) <= dy) || (dx < 0 && dy <= 0 && -dx > std::llabs(dy))
        || (dx < 0 && dy < 0 && -dx <= -dy) || (dx > 0 && dy < 0 && dx > -dy);
    const int bias = biasOne ? 1 : 0;
    long long x = x0, y = y0, error = 2 * minor - major;
    Points points;
    for (long long step = 0; step < major; ++step) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            points.insert({int(x), int(y)});
        const bool advance = error + bias > 0;
        error += advance ? 2 * minor - 2 * major : 2 * minor;
        if (xMajor) {
            x += dx > 0 ? 1 : -1;
            if (advance)
                y += dy > 0 ? 1 : -1;
        } else {
            y += dy > 0 ? 1 : -1;
            if (advance)
                x += dx > 0 ? 1 : -1;
        }
    }
    return points;
}

} // namespace

TEST(ThinLine, LineToLeavesItsEndPixel)
{
    EXPECT_TRUE(looksLike(drawLine(8, 3, 1, 1, 6, 1), R"(
        ........
        .#####..
        ........)"));
    EXPECT_TRUE(looksLike(drawLine(3, 6, 1, 5, 1, 0), R"(
        ...
        .#.
        .#.
        .#.
        .#.
        .#.)"));
}

TEST(ThinLine, ZeroLengthDrawsNothingAndMovesThePen)
{
    TPicture picture = whitePicture(5, 5);
    TCanvas canvas(picture);
    canvas.MoveTo(2, 2);
    canvas.LineTo(2, 2);
    EXPECT_TRUE(samePixels(picture, whitePicture(5, 5)));
    canvas.LineTo(4, 2);
    EXPECT_EQ(canvas.penPosX(), 4);
    EXPECT_TRUE(looksLike(picture, R"(
        .....
        .....
        ..##.
        .....
        .....)"));
}

// Slopes of 1:2 meet an exact tie at every other step; the tie goes one way
// in four octants and the other way in the other four.
struct TieCase {
    const char* name;
    int dx, dy;
    Points expected;
};

class ThinLineTies : public ::testing::TestWithParam<TieCase> {};

TEST_P(ThinLineTies, FollowTheClassicTieRule)
{
    const TieCase& tie = GetParam();
    EXPECT_EQ(pixelsOf(drawLine(9, 9, 4, 4, 4 + tie.dx, 4 + tie.dy), clBlack), tie.expected);
}

INSTANTIATE_TEST_SUITE_P(EightOctants, ThinLineTies,
                         ::testing::Values(TieCase{"RightDown", 4, 2, {{4, 4}, {5, 4}, {6, 5}, {7, 5}}},
                                           TieCase{"DownRight", 2, 4, {{4, 4}, {4, 5}, {5, 6}, {5, 7}}},
                                           TieCase{"DownLeft", -2, 4, {{4, 4}, {3, 5}, {3, 6}, {2, 7}}}, // bias 1
                                           TieCase{"LeftDown", -4, 2, {{4, 4}, {3, 4}, {2, 5}, {1, 5}}},
                                           TieCase{"LeftUp", -4, -2, {{4, 4}, {3, 3}, {2, 3}, {1, 2}}}, // bias 1
                                           TieCase{"UpLeft", -2, -4, {{4, 4}, {3, 3}, {3, 2}, {2, 1}}}, // bias 1
                                           TieCase{"UpRight", 2, -4, {{4, 4}, {4, 3}, {5, 2}, {5, 1}}},
                                           TieCase{"RightUp", 4, -2, {{4, 4}, {5, 3}, {6, 3}, {7, 2}}}), // bias 1
                         [](const ::testing::TestParamInfo<TieCase>& info) { return std::string(info.param.name); });

TEST(ThinLine, DiagonalsStepBothWays)
{
    EXPECT_EQ(pixelsOf(drawLine(6, 6, 1, 1, 4, 4), clBlack), (Points{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(pixelsOf(drawLine(6, 6, 4, 1, 1, 4), clBlack), (Points{{4, 1}, {3, 2}, {2, 3}}));
}

TEST(ThinLine, MatchesTheStepRuleForRandomLines)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 39);
    for (int i = 0; i < 2000; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        ASSERT_EQ(pixelsOf(drawLine(40, 40, x0, y0, x1, y1), clBlack), referenceLine(x0, y0, x1, y1))
            << "from (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

TEST(ThinLine, ClippingDoesNotMoveAnyPixel)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-300, 320);
    for (int i = 0; i < 2000; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        ASSERT_EQ(pixelsOf(drawLine(23, 17, x0, y0, x1, y1), clBlack), referenceLine(x0, y0, x1, y1, 23, 17))
            << "from (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

TEST(ThinLine, FarEndpointsAreClippedExactlyAndQuickly)
{
    EXPECT_EQ(pixelsOf(drawLine(30, 20, -9'000'000, 3'000'001, 9'000'000, -2'999'999), clBlack),
              referenceLine(-9'000'000, 3'000'001, 9'000'000, -2'999'999, 30, 20));
    // The whole range of int: only the part over the picture costs anything.
    const TPicture extreme = drawLine(30, 20, INT_MIN, 7, INT_MAX, 7);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(extreme.pixel(x, 7), clBlack);
    EXPECT_EQ(pixelsOf(extreme, clBlack).size(), 30u);
    EXPECT_TRUE(pixelsOf(drawLine(30, 20, INT_MIN, INT_MIN, INT_MAX, INT_MAX), clBlack).size() <= 30u);
}

// A wide pen is round: even widths put the extra row above and the extra
// column left of the path, odd ones are centred on it, and the caps reach
// beyond each end (the path from x = 3 to x = 8 is painted from 2 to 8).
TEST(WideLine, CoversItsWidthAroundThePathWithRoundCaps)
{
    struct Case {
        const char* name;
        int width, height, x0, y0, x1, y1, penWidth;
        const char* art;
    };
    const Case cases[] = {
        {"even width, along a row: rows 4 and 5 for y = 5", 11, 8, 3, 5, 8, 5, 2, R"(
            ...........
            ...........
            ...........
            ...........
            ..#######..
            ..#######..
            ...........
            ...........)"},
        {"even width, down a column: columns 2 and 3 for x = 3", 7, 9, 3, 2, 3, 6, 2, R"(
            .......
            ..##...
            ..##...
            ..##...
            ..##...
            ..##...
            ..##...
            .......
            .......)"},
        {"odd width: centred", 12, 9, 3, 4, 8, 4, 3, R"(
            ............
            ............
            ............
            ..########..
            ..########..
            ..########..
            ............
            ............
            ............)"},
        {"no length: a round dot", 10, 10, 5, 5, 5, 5, 4, R"(
            ..........
            ..........
            ..........
            ....##....
            ...####...
            ...####...
            ....##....
            ..........
            ..........
            ..........)"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_TRUE(
            looksLike(drawLine(each.width, each.height, each.x0, each.y0, each.x1, each.y1, each.penWidth), each.art));
    }
}

TEST(WideLine, RoundDotsAreSymmetric)
{
    for (int width = 2; width <= 20; ++width) {
        const Points dot = pixelsOf(drawLine(50, 50, 25, 25, 25, 25, width), clBlack);
        // Mirror images about the dot's centre, which for even widths lies
        // on the corner above and left of pixel (25, 25).
        const int twiceCentre = width % 2 ? 50 : 49;
        for (const auto& [x, y] : dot) {
            EXPECT_TRUE(dot.count({twiceCentre - x, y})) << "width " << width;
            EXPECT_TRUE(dot.count({x, twiceCentre - y})) << "width " << width;
            EXPECT_TRUE(dot.count({y, x})) << "width " << width;
        }
        EXPECT_EQ(std::max_element(dot.begin(), dot.end())->first - dot.begin()->first + 1, width);
    }
}

// The pen's footprint is every pixel whose centre lies closer than half the
// width to the segment; this checks it pixel by pixel, with the segment's
// ends moved half a pixel up and left for even widths.
TEST(WideLine, CoversExactlyThePixelsNearTheSegment)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-5, 45), width(2, 15);
    for (int i = 0; i < 300; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        const int penWidth = width(random);
        const double shift = penWidth % 2 ? 0.5 : 0.0;
        const double ax = x0 + shift, ay = y0 + shift, bx = x1 + shift, by = y1 + shift;
        Points expected;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const double px = x + 0.5, py = y + 0.5, dx = bx - ax, dy = by - ay;
                const double length2 = dx * dx + dy * dy;
                const double t = length2 == 0 ? 0 : std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0);
                const double ex = ax + t * dx - px, ey = ay + t * dy - py;
                const double distance2 = ex * ex + ey * ey, radius2 = penWidth * penWidth / 4.0;
                if (std::abs(distance2 - radius2) < 1e-9)
                    continue; // on the edge: either answer is right
                if (distance2 < radius2)
                    expected.insert({x, y});
            }
        const Points actual = pixelsOf(drawLine(40, 40, x0, y0, x1, y1, penWidth), clBlack);
        for (const auto& point : expected)
            ASSERT_TRUE(actual.count(point)) << "missing (" << point.first << ", " << point.second << ")";
        for (const auto& point : actual)
            if (!expected.count(point)) {
                const double px = point.first + 0.5, py = point.second + 0.5;
                // Only pixels exactly on the edge may be added.
                const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
                const double t = length2 == 0 ? 0 : std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0);
                const double ex = ax + t * dx - px, ey = ay + t * dy - py;
                ASSERT_NEAR(ex * ex + ey * ey, penWidth * penWidth / 4.0, 1e-9)
                    << "extra (" << point.first << ", " << point.second << ")";
            }
    }
}

TEST(WideLine, AChainOfSegmentsHasRoundJoins)
{
    TPicture picture = whitePicture(40, 40);
    TCanvas canvas(picture);
    canvas.Pen.Width = 8;
    canvas.MoveTo(10, 10);
    canvas.LineTo(30, 10);
    canvas.LineTo(30, 30);
    // Round join: the corner's outer pixels follow a circle of radius 4 around the joint.
    EXPECT_EQ(picture.pixel(32, 8), clBlack);
    EXPECT_EQ(picture.pixel(33, 7), clWhite);
    EXPECT_EQ(picture.pixel(33, 13), clBlack);
    EXPECT_EQ(canvas.penPosX(), 30);
    EXPECT_EQ(canvas.penPosY(), 30);
}

TEST(WideLine, FarEndpointsPaintWhatTheyReach)
{
    const TPicture picture = drawLine(30, 20, INT_MIN, 10, INT_MAX, 10, 4);
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 20; ++y)
            EXPECT_EQ(picture.pixel(x, y), y >= 8 && y <= 11 ? clBlack : clWhite) << x << ", " << y;
}

#include "picture_text.h"

#include <queue>
#include <random>

namespace {

// What the fill must paint: a plain breadth-first search over the pixels of
// the start colour joined left, right, up or down.
TPicture referenceFill(TPicture picture, int x, int y, TColor brush)
{
    const TColor target = picture.pixel(x, y);
    if (target == brush)
        return picture;
    TCanvas canvas(picture);
    std::queue<std::pair<int, int>> queue;
    queue.push({x, y});
    canvas.SetPixel(x, y, brush);
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            if (picture.pixel(px + dx, py + dy) == target) {
                canvas.SetPixel(px + dx, py + dy, brush);
                queue.push({px + dx, py + dy});
            }
    }
    return picture;
}

TPicture randomPicture(std::mt19937& random, int width, int height, int colours, const ColourTable* table)
{
    TPicture picture = table ? TPicture(width, height, *table) : TPicture(width, height);
    TCanvas canvas(picture);
    const TColor choice[] = {clWhite, clBlack, 0x0000FF, 0x00FF00};
    std::uniform_int_distribution<int> pick(0, colours - 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.SetPixel(x, y, choice[pick(random)]);
    return picture;
}

} // namespace

TEST(FloodFill, AnIsolatedPixelFillsAloneAndCornersDoNotJoin)
{
    TPicture picture = pictureFromText(R"(
        .#.
        #.#
        .#.)");
    TCanvas canvas(picture);
    canvas.Brush.Color = colourOf('r');
    canvas.FloodFill(1, 1, clWhite, fsSurface);
    EXPECT_TRUE(looksLike(picture, R"(
        .#.
        #r#
        .#.)"));
}

TEST(FloodFill, FillsAWindingRegionUpAndDown)
{
    TPicture picture = pictureFromText(R"(
        .......
        .#####.
        .#...#.
        .#.#.#.
        ...#...
        ####.##)");
    TCanvas canvas(picture);
    canvas.Brush.Color = colourOf('g');
    canvas.FloodFill(2, 2, clWhite, fsSurface);
    EXPECT_TRUE(looksLike(picture, R"(
        ggggggg
        g#####g
        g#ggg#g
        g#g#g#g
        ggg#ggg
        ####g##)"));
}

TEST(FloodFill, DoesNothingWhenTheStartIsAnotherColourOrOutside)
{
    TPicture picture = pictureFromText("..#..");
    TCanvas canvas(picture);
    canvas.Brush.Color = colourOf('r');
    canvas.FloodFill(2, 0, clWhite, fsSurface);
    canvas.FloodFill(-1, 0, clWhite, fsSurface);
    canvas.FloodFill(5, 0, clWhite, fsSurface);
    canvas.FloodFill(0, 0, clInvalid, fsSurface);
    EXPECT_TRUE(looksLike(picture, "..#.."));
}

TEST(FloodFill, BrushOfTheSurfaceColourChangesNothing)
{
    TPicture picture = pictureFromText("..#..");
    TCanvas canvas(picture);
    canvas.FloodFill(0, 0, clWhite, fsSurface); // the brush starts white
    EXPECT_TRUE(looksLike(picture, "..#.."));
}

TEST(FloodFill, IgnoresThePenMode)
{
    TPicture picture = pictureFromText("..#..");
    TCanvas canvas(picture);
    canvas.Pen.Mode = pmNotXor;
    canvas.Brush.Color = colourOf('b');
    canvas.FloodFill(4, 0, clWhite, fsSurface);
    EXPECT_TRUE(looksLike(picture, "..#bb"));
}

TEST(FloodFill, PaintsExactlyWhatABreadthFirstSearchFinds)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> size(1, 40), colours(2, 4);
    ColourTable table{};
    table[0] = clWhite;
    table[1] = clBlack;
    table[2] = 0x0000FF;
    table[3] = 0x00FF00;
    table[4] = 0xFF0000;
    for (int i = 0; i < 600; ++i) {
        const int width = size(random), height = size(random);
        const bool indexed = i % 3 == 0;
        TPicture picture = randomPicture(random, width, height, colours(random), indexed ? &table : nullptr);
        const int x = std::uniform_int_distribution<int>(0, width - 1)(random);
        const int y = std::uniform_int_distribution<int>(0, height - 1)(random);
        const TColor brush = i % 2 ? 0xFF0000 : clBlack;
        const TPicture expected = referenceFill(picture, x, y, brush);
        TCanvas canvas(picture);
        canvas.Brush.Color = brush;
        canvas.FloodFill(x, y, canvas.GetPixel(x, y), fsSurface);
        ASSERT_TRUE(samePixels(picture, expected)) << "case " << i << "\nexpected\n"
                                                   << textOf(expected) << "actual\n"
                                                   << textOf(picture);
    }
}

TEST(FloodFill, FillsALargeMazeWithoutRecursion)
{
    // A serpentine corridor one pixel wide through a 721 x 489 picture: deep
    // enough to overflow a recursive fill many times over.
    TPicture picture(721, 489);
    TCanvas canvas(picture);
    canvas.Brush.Color = clWhite;
    for (int y = 0; y < 489; y += 2) {
        canvas.FillRect({0, y, 721, y + 1});
        const int gap = (y / 2) % 2 ? 0 : 720;
        canvas.FillRect({gap, y + 1, gap + 1, y + 2});
    }
    canvas.Brush.Color = 0x0000FF;
    canvas.FloodFill(0, 0, clWhite, fsSurface);
    for (int y = 0; y < 489; y += 2)
        ASSERT_EQ(picture.pixel(360, y), 0x0000FFu) << y;
    EXPECT_EQ(picture.pixel(360, 1), clBlack);
}

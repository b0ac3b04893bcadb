// The pen: a drag paints a two-pixel stroke along the pointer's way, black
// with the left button and white with the right, and nothing else.
#include "picture_check.h"
#include "scribbo_test.h"

namespace {

using scribbo::Point;

// Pixels this close to a stroke's path may be painted (pen width and round ends).
constexpr double strokeReach = 2.0;

// The pixels of a row or column from one point to the other, both included.
std::vector<Point> along(Point from, Point to)
{
    const Point step{from.y == to.y ? 1 : 0, from.x == to.x ? 1 : 0};
    std::vector<Point> points{from};
    while (points.back().x < to.x || points.back().y < to.y)
        points.push_back({points.back().x + step.x, points.back().y + step.y});
    return points;
}

std::vector<Point> joined(std::initializer_list<std::vector<Point>> parts)
{
    std::vector<Point> points;
    for (const std::vector<Point>& part : parts)
        points.insert(points.end(), part.begin(), part.end());
    return points;
}

std::vector<std::string> joined(const std::vector<std::string>& first, const std::vector<std::string>& second)
{
    std::vector<std::string> lines = first;
    lines.insert(lines.end(), second.begin(), second.end());
    return lines;
}

} // namespace

TEST_F(ScribboTest, LeftDragDrawsATwoPixelBlackStrokeAlongThePointerAndNothingElse)
{
    const Path stroke{{100, 100}, {300, 100}, {300, 250}};
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, stroke, colours::black));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    const Screenshot shot = screenshot();

    // Along row y the pen covers rows y - 1 and y; along column x, columns x - 1 and x.
    const std::vector<Point> covered = joined({along({150, 99}, {250, 99}), along({150, 100}, {250, 100}),
                                               along({299, 140}, {299, 210}), along({300, 140}, {300, 210})});
    const std::vector<Point> beside = joined({along({150, 98}, {250, 98}), along({150, 101}, {250, 101}),
                                              along({298, 140}, {298, 210}), along({301, 140}, {301, 210})});
    const std::vector<std::string> wrongWidth =
        joined(pixelsNotShowing(shot, covered, colours::black), pixelsNotShowing(shot, beside, colours::white));
    EXPECT_TRUE(wrongWidth.empty()) << "the stroke is not two pixels wide:\n"
                                    << joinLines(wrongWidth) << "screenshot: " << keepScreenshot(shot, "width");

    // Unbroken from the press to the release, corner included.
    const std::vector<std::string> gaps =
        pixelsNotShowing(shot, joined({along({100, 100}, {300, 100}), along({300, 100}, {300, 250})}), colours::black);
    EXPECT_TRUE(gaps.empty()) << "the stroke has gaps:\n"
                              << joinLines(gaps) << "screenshot: " << keepScreenshot(shot, "gaps");

    const std::vector<std::string> strays = strayPixels(shot, {stroke}, strokeReach);
    EXPECT_TRUE(strays.empty()) << joinLines(strays) << "screenshot: " << keepScreenshot(shot, "strays");
}

TEST_F(ScribboTest, ReleasingTheButtonOutsideThePictureEndsTheStroke)
{
    // A black line, so that white strokes show where they cross it.
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 200}, {500, 200}}, colours::black));

    // A right-button drag across the line, on out of the picture, released
    // over the left column.
    moveTo(scribbo::toScreen({300, 100}));
    pointer().press(Pointer::Right);
    moveTo(scribbo::toScreen({300, 300}));
    ASSERT_NO_FATAL_FAILURE(waitForPixel(scribbo::toScreen({300, 200}), colours::white, "white stroke across"));
    moveTo({30, 400});
    pointer().release(Pointer::Right);
    // The move out still draws, the button being held: wait for it and the release.
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    const Screenshot released = screenshot();
    const std::vector<std::string> wrongCrossing =
        joined(pixelsNotShowing(released, {{299, 199}, {300, 199}, {299, 200}, {300, 200}}, colours::white),
               pixelsNotShowing(released, {{200, 200}, {296, 200}, {304, 200}, {400, 200}}, colours::black));
    EXPECT_TRUE(wrongCrossing.empty()) << "the white stroke should cut a two-pixel gap in the black line:\n"
                                       << joinLines(wrongCrossing)
                                       << "screenshot: " << keepScreenshot(released, "crossing");

    // Back over the picture with no button held: across the line twice and
    // along it. Each move is waited for, as Qt may merge moves that queue up
    // unread, and a merged move would be one not tried.
    for (const Point point :
         std::vector<Point>{{200, 150}, {200, 250}, {400, 250}, {400, 150}, {150, 200}, {450, 200}}) {
        moveTo(scribbo::toScreen(point));
        ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    }
    const Screenshot after = screenshot();
    const std::vector<std::string> changed = changedPixels(released, after, {}, strokeReach);
    EXPECT_TRUE(changed.empty()) << "moves with no button held changed the picture:\n"
                                 << joinLines(changed) << "before: " << keepScreenshot(released, "before")
                                 << "\nafter: " << keepScreenshot(after, "after");
}

// The tool buttons, the swatches and the pen size, used as a child would:
// real clicks and drags, checked on the screen.
#include "scribbo_test.h"

#include <string>
#include <vector>

namespace {

using scribbo::Point;

constexpr Rgb red{255, 0, 0};
constexpr int redSwatch = 0; // the first swatch, top left

struct Expected {
    Point inPicture;
    Rgb colour;
    const char* what;
};

} // namespace

class ScribboToolsTest : public ScribboTest {
protected:
    // Once Scribbo has handled every event sent, checks them all on one screenshot.
    void expectPixels(const std::vector<Expected>& expected)
    {
        ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
        const Screenshot shot = screenshot();
        std::vector<std::string> wrong;
        for (const Expected& pixel : expected) {
            const Point onScreen = scribbo::toScreen(pixel.inPicture);
            const auto colour = shot.at(onScreen.x, onScreen.y);
            if (!colour || !(*colour == pixel.colour))
                wrong.push_back(std::string(pixel.what) + " at (" + std::to_string(pixel.inPicture.x) + ", "
                                + std::to_string(pixel.inPicture.y) + ")");
        }
        EXPECT_TRUE(wrong.empty()) << joinLines(wrong) << "\nscreenshot: " << keepScreenshot(shot, "pixels");
    }
};

TEST_F(ScribboToolsTest, FilledRectangleHasABlackBorderOfTwoRoundARedInside)
{
    clickAt(scribbo::swatchMiddle(redSwatch), Pointer::Right); // red becomes the fill colour
    clickAt(scribbo::buttons::filledRectangle);
    drag({{100, 100}, {140, 130}, {180, 160}, {200, 180}});
    // The outline runs along columns 100 and 199 and rows 100 and 179; a
    // two-pixel pen adds the column to the left and the row above.
    ASSERT_NO_FATAL_FAILURE(expectPixels({
        {{150, 140}, red, "inside"},
        {{101, 101}, red, "inside corner"},
        {{197, 177}, red, "inside corner"},
        {{99, 140}, colours::black, "left border"},
        {{100, 140}, colours::black, "left border"},
        {{198, 140}, colours::black, "right border"},
        {{199, 140}, colours::black, "right border"},
        {{150, 99}, colours::black, "top border"},
        {{150, 179}, colours::black, "bottom border"},
        {{98, 140}, colours::white, "left of the border"},
        {{200, 140}, colours::white, "right of the border"},
        {{150, 180}, colours::white, "below the border"},
        {{150, 97}, colours::white, "above the border"},
    }));
}

TEST_F(ScribboToolsTest, HollowEllipseLeavesItsInsideUntouched)
{
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{130, 150}, {170, 150}}, colours::black));
    clickAt(scribbo::buttons::ellipse);
    drag({{100, 100}, {150, 160}, {200, 200}});
    ASSERT_NO_FATAL_FAILURE(expectPixels({
        {{100, 150}, colours::black, "left of the outline"},
        {{199, 150}, colours::black, "right of the outline"},
        {{150, 100}, colours::black, "top of the outline"},
        {{150, 150}, colours::black, "the stroke inside"},
        {{150, 120}, colours::white, "inside, above the stroke"},
        {{120, 180}, colours::white, "inside, low left"},
        {{103, 103}, colours::white, "outside, by the corner"},
    }));
}

TEST_F(ScribboToolsTest, FloodFillFillsAClosedRectangleAndNothingOutside)
{
    clickAt(scribbo::buttons::rectangle);
    drag({{300, 100}, {350, 150}, {400, 200}});
    ASSERT_NO_FATAL_FAILURE(waitForPixel(scribbo::toScreen({300, 150}), colours::black, "the rectangle's side"));
    clickAt(scribbo::swatchMiddle(redSwatch), Pointer::Left); // red becomes the pen colour
    clickAt(scribbo::buttons::fill);
    clickAt(scribbo::toScreen({350, 150}));
    ASSERT_NO_FATAL_FAILURE(expectPixels({
        {{350, 150}, red, "where the fill started"},
        {{302, 102}, red, "inside corner"},
        {{398, 198}, red, "inside corner"},
        {{301, 150}, colours::black, "left side"},
        {{400, 150}, colours::black, "right side"},
        {{350, 200}, colours::black, "bottom side"},
        {{299, 150}, colours::white, "outside left"},
        {{350, 202}, colours::white, "outside below"},
        {{500, 300}, colours::white, "far outside"},
    }));
}

TEST_F(ScribboToolsTest, ThreeClicksOnBiggerPenMakeAStrokeFivePixelsWide)
{
    for (int click = 0; click < 3; ++click)
        clickAt(scribbo::buttons::biggerPen);
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 300}, {300, 300}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(expectPixels({
        {{200, 298}, colours::black, "top row of the stroke"},
        {{200, 299}, colours::black, "stroke"},
        {{200, 300}, colours::black, "middle row"},
        {{200, 301}, colours::black, "stroke"},
        {{200, 302}, colours::black, "bottom row of the stroke"},
        {{200, 297}, colours::white, "above the stroke"},
        {{200, 303}, colours::white, "below the stroke"},
    }));
}

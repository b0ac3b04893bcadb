// The tool buttons, the swatches and the pen size, used as a child would:
// real clicks and drags, checked on the screen.
#include "scribbo_test.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using scribbo::Point;

constexpr Rgb red{255, 0, 0};
// Indices into scribbo::swatches().
constexpr int redSwatch = 0;
constexpr int blackSwatch = 12;

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
            if (shot.at(onScreen.x, onScreen.y) != pixel.colour)
                wrong.push_back(std::string(pixel.what) + " at (" + std::to_string(pixel.inPicture.x) + ", "
                                + std::to_string(pixel.inPicture.y) + ")");
        }
        EXPECT_TRUE(wrong.empty()) << joinLines(wrong) << "\nscreenshot: " << keepScreenshot(shot, "pixels");
    }
};

// One picture, each case drawn in a part of its own and checked before the
// next; each chooses its tool and colours, as the one before leaves others.
TEST_F(ScribboToolsTest, EachToolDrawsItsShapeInItsColoursAndNothingOutside)
{
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::vector<Expected> pixels;
    };
    const Case cases[] = {
        {"a filled rectangle has a black border of two round a red inside",
         [&] {
             clickAt(scribbo::swatchMiddle(redSwatch), Pointer::Right); // red becomes the fill colour
             clickAt(scribbo::buttons::filledRectangle);
             drag({{100, 100}, {140, 130}, {180, 160}, {200, 180}});
         },
         // The outline runs along columns 100 and 199 and rows 100 and 179; a
         // two-pixel pen adds the column to the left and the row above.
         {
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
         }},
        {"a hollow ellipse leaves its inside untouched",
         [&] {
             clickAt(scribbo::buttons::pen);
             drawStroke(Pointer::Left, {{130, 350}, {170, 350}}, colours::black);
             clickAt(scribbo::buttons::ellipse);
             drag({{100, 300}, {150, 360}, {200, 400}});
         },
         {
             {{100, 350}, colours::black, "left of the outline"},
             {{199, 350}, colours::black, "right of the outline"},
             {{150, 300}, colours::black, "top of the outline"},
             {{150, 350}, colours::black, "the stroke inside"},
             {{150, 320}, colours::white, "inside, above the stroke"},
             {{120, 380}, colours::white, "inside, low left"},
             {{103, 303}, colours::white, "outside, by the corner"},
         }},
        {"the flood fill fills a closed rectangle and nothing outside",
         [&] {
             clickAt(scribbo::buttons::rectangle);
             drag({{300, 100}, {350, 150}, {400, 200}});
             waitForPixel(scribbo::toScreen({300, 150}), colours::black, "the rectangle's side");
             clickAt(scribbo::swatchMiddle(redSwatch), Pointer::Left); // red becomes the pen colour
             clickAt(scribbo::buttons::fill);
             clickAt(scribbo::toScreen({350, 150}));
         },
         {
             {{350, 150}, red, "where the fill started"},
             {{302, 102}, red, "inside corner"},
             {{398, 198}, red, "inside corner"},
             {{301, 150}, colours::black, "left side"},
             {{400, 150}, colours::black, "right side"},
             {{350, 200}, colours::black, "bottom side"},
             {{299, 150}, colours::white, "outside left"},
             {{350, 202}, colours::white, "outside below"},
             {{500, 300}, colours::white, "far outside"},
         }},
        // Last, as the pen stays wider for whatever comes after.
        {"three clicks on Bigger Pen make a stroke five pixels wide",
         [&] {
             for (int click = 0; click < 3; ++click)
                 clickAt(scribbo::buttons::biggerPen);
             clickAt(scribbo::buttons::pen);
             clickAt(scribbo::swatchMiddle(blackSwatch));
             drawStroke(Pointer::Left, {{400, 420}, {600, 420}}, colours::black);
         },
         {
             {{500, 418}, colours::black, "top row of the stroke"},
             {{500, 419}, colours::black, "stroke"},
             {{500, 420}, colours::black, "middle row"},
             {{500, 421}, colours::black, "stroke"},
             {{500, 422}, colours::black, "bottom row of the stroke"},
             {{500, 417}, colours::white, "above the stroke"},
             {{500, 423}, colours::white, "below the stroke"},
         }},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        ASSERT_NO_FATAL_FAILURE(each.draw());
        ASSERT_NO_FATAL_FAILURE(expectPixels(each.pixels));
    }
}

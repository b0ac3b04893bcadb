// What a child sees when Scribbo starts: the whole screen in Scribbo's
// colours, every panel in place and an empty white picture.
#include "layout_check.h"
#include "scribbo_test.h"

TEST_F(ScribboTest, StartsWithEveryPanelInItsColoursAndAnEmptyPicture)
{
    const auto showsStartLayout = [](const Screenshot& shot) { return showsLayout(shot, scribbo::startLayout()); };
    if (!waitForScreen(showsStartLayout, stepGuard)) {
        FAIL() << joinLines(layoutMismatches(lastScreenshot(), scribbo::startLayout()))
               << "screenshot: " << keepScreenshot(lastScreenshot(), "layout");
    }
    EXPECT_EQ(lastScreenshot().width(), 800);
    EXPECT_EQ(lastScreenshot().height(), 600);
}

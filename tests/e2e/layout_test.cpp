// What a child sees when Scribbo starts: the whole screen in Scribbo's
// colours, every panel in place and an empty white picture.
#include "scribbo_test.h"

TEST_F(ScribboTest, StartsWithEveryPanelInItsColoursAndAnEmptyPicture) { expectStartLayout(); }

// One picture pixel stays one screen pixel whatever scale the desktop asks for.
TEST_F(ScribboOnScaledDesktopTest, KeepsItsLayoutPixelForPixel)
{
    expectStartLayout();
    ASSERT_NO_FATAL_FAILURE(drawStroke(Pointer::Left, {{100, 100}, {300, 100}}, colours::black));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled());
    const Screenshot shot = screenshot();
    const scribbo::Point above = scribbo::toScreen({200, 98}), top = scribbo::toScreen({200, 99});
    const scribbo::Point bottom = scribbo::toScreen({200, 100}), below = scribbo::toScreen({200, 101});
    EXPECT_EQ(shot.at(above.x, above.y), colours::white);
    EXPECT_EQ(shot.at(top.x, top.y), colours::black);
    EXPECT_EQ(shot.at(bottom.x, bottom.y), colours::black);
    EXPECT_EQ(shot.at(below.x, below.y), colours::white);
}

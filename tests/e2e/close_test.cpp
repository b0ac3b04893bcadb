// The red cross in the top bar is the way out.
#include "scribbo_test.h"

TEST_F(ScribboTest, CloseButtonEndsTheProgramWithStatusZero)
{
    clickAt(scribbo::buttons::close);
    const std::optional<int> status = waitForScribboExit(stepGuard);
    ASSERT_TRUE(status.has_value()) << "Scribbo still runs " << stepGuard.count()
                                    << " s after a click on the close button; screenshot: "
                                    << keepScreenshot(screenshot(), "close");
    EXPECT_TRUE(exitedWithStatusZero(status)) << scribboReport();
}

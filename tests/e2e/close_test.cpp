// The red cross in the top bar is the way out.
#include "scribbo_test.h"

TEST_F(ScribboTest, CloseButtonEndsTheProgramWithStatusZero)
{
    clickAt(scribbo::buttons::close);
    expectExitWithStatusZero("after a click on the close button");
}

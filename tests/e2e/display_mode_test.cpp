// Scribbo asks for an 800 x 600 screen while it runs and gives the desktop
// its own size back however it ends. Xvnc starts at 1024 x 768, so both
// changes show.
#include "layout_check.h"
#include "scribbo_test.h"

#include <csignal>
#include <cstring>

namespace {

constexpr ScreenSize scribboSize{800, 600};
constexpr ScreenSize desktopSize{1024, 768};

} // namespace

TEST_F(ScribboOnResizableScreenTest, CoversAnEightHundredBySixHundredScreenAndPutsTheOldSizeBackWhenClosed)
{
    // Scribbo asks for the mode before it shows its window: painted, it has it.
    EXPECT_EQ(readScreenSize(displayName()), std::optional(scribboSize));
    const auto showsStartLayout = [](const Screenshot& shot) {
        return shot.width() == scribboSize.width && shot.height() == scribboSize.height
            && showsLayout(shot, scribbo::startLayout());
    };
    EXPECT_TRUE(waitForScreen(showsStartLayout, stepGuard).has_value())
        << "a " << lastScreenshot().width() << " x " << lastScreenshot().height() << " screen:\n"
        << joinLines(layoutMismatches(lastScreenshot(), scribbo::startLayout()))
        << "screenshot: " << keepScreenshot(lastScreenshot(), "layout");

    clickAt(scribbo::buttons::close);
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after a click on the close button"));
    // Scribbo has gone: the size must already be back, with nothing to wait for.
    EXPECT_EQ(readScreenSize(displayName()), std::optional(desktopSize));
}

class ScribboEndedBySignalTest : public ScribboOnResizableScreenTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScribboEndedBySignalTest, PutsTheOldSizeBack)
{
    ASSERT_EQ(readScreenSize(displayName()), std::optional(scribboSize));
    scribboProcess().signal(GetParam());
    ASSERT_NO_FATAL_FAILURE(expectExitWithStatusZero("after the signal"));
    EXPECT_EQ(readScreenSize(displayName()), std::optional(desktopSize));
}

std::string signalName(const ::testing::TestParamInfo<int>& info) { return sigabbrev_np(info.param); }

INSTANTIATE_TEST_SUITE_P(TerminationSignals, ScribboEndedBySignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         signalName);

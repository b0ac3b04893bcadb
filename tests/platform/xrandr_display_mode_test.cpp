// XRandrDisplayMode against real X servers (Xvnc) whose mode can change.
#include "scoped_application.h"
#include "scoped_environment.h"
#include "x_screen_probe.h"
#include "x_server.h"
#include "xrandr_display_mode.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

class XRandrDisplayModeTest : public ::testing::Test {
protected:
    void SetUp() override { display.emplace(server.environment()); }

    XScreenState screenNow() const
    {
        const std::optional<XScreenState> state = queryXScreen(server.displayName());
        EXPECT_TRUE(state.has_value()) << "cannot query " << server.displayName();
        return state.value_or(XScreenState{});
    }

    // The server's screen and mode have the size; so has what `mode` reads,
    // unless it is told to read elsewhere.
    void expectScreen(int width, int height, bool modeReadsThisServer = true)
    {
        const XScreenState state = screenNow();
        EXPECT_EQ(state.screenWidth, width);
        EXPECT_EQ(state.screenHeight, height);
        EXPECT_EQ(state.crtcWidth, width);
        EXPECT_EQ(state.crtcHeight, height);
        if (modeReadsThisServer) {
            EXPECT_EQ(mode.screenWidth(), width);
            EXPECT_EQ(mode.screenHeight(), height);
        }
    }

    // Throws, failing the test with the server's words, if it cannot start.
    XServer server{XServer::Kind::Xvnc};
    std::optional<ScopedEnvironment> display;
    XRandrDisplayMode mode;
};

TEST_F(XRandrDisplayModeTest, ReadsTheServersSizeAndTrueColourDepth)
{
    EXPECT_EQ(mode.screenWidth(), 1024);
    EXPECT_EQ(mode.screenHeight(), 768);
    EXPECT_EQ(mode.bitsPerPixel(), 32);
}

TEST_F(XRandrDisplayModeTest, SwitchesToASmallerModeAndBackIgnoringDepth)
{
    const XScreenState before = screenNow();

    mode.setMode(800, 600, 32);
    expectScreen(800, 600);
    const XScreenState small = screenNow();
    // Same dots per millimetre: the physical size shrinks with the pixels.
    EXPECT_NEAR(small.screenWidthMillimetres, before.screenWidthMillimetres * 800.0 / 1024.0, 1.0);
    EXPECT_NEAR(small.screenHeightMillimetres, before.screenHeightMillimetres * 600.0 / 768.0, 1.0);

    // Growing again needs a larger screen before the CRTC can take the mode.
    mode.setMode(1024, 768, 16);
    expectScreen(1024, 768);
    EXPECT_EQ(mode.bitsPerPixel(), 32);
    EXPECT_NEAR(screenNow().screenWidthMillimetres, before.screenWidthMillimetres, 1.0);
}

TEST_F(XRandrDisplayModeTest, WorksWhenTheOutputIsMarkedPrimary)
{
    ASSERT_TRUE(runXrandr(server.displayName(), "--output VNC-0 --primary"));
    mode.setMode(640, 480, 32);
    expectScreen(640, 480);
}

TEST_F(XRandrDisplayModeTest, RefusedSizesChangeNothing)
{
    // Wider than the server's largest screen (32768): offered, but refused.
    ASSERT_TRUE(addModeToVncOutput(server.displayName(), "too_wide", 40000, 300));

    for (const auto& [width, height] : {std::pair{123, 45}, {40000, 300}, {0, 0}, {-800, 600}, {800, -600}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        mode.setMode(width, height, 32);
        expectScreen(1024, 768);
    }
}

TEST_F(XRandrDisplayModeTest, KeepsTheScreenAtLeastTheServersMinimum)
{
    // Xvnc's screens are at least 32 × 32; a smaller mode still fits in one.
    ASSERT_TRUE(addModeToVncOutput(server.displayName(), "tiny", 16, 16));
    mode.setMode(16, 16, 32);
    const XScreenState state = screenNow();
    EXPECT_EQ(state.crtcWidth, 16);
    EXPECT_EQ(state.crtcHeight, 16);
    EXPECT_EQ(state.screenWidth, 32);
    EXPECT_EQ(state.screenHeight, 32);
    EXPECT_EQ(mode.screenWidth(), 16);

    mode.setMode(1024, 768, 32);
    expectScreen(1024, 768);
}

TEST_F(XRandrDisplayModeTest, TakesTheFirstListedModeOfASizeButKeepsOneShowingIt)
{
    ASSERT_TRUE(addModeToVncOutput(server.displayName(), "first_900x700", 900, 700, 30));
    ASSERT_TRUE(addModeToVncOutput(server.displayName(), "second_900x700", 900, 700, 40));
    mode.setMode(900, 700, 32);
    expectScreen(900, 700);
    EXPECT_EQ(screenNow().modeName, "first_900x700");

    // Another mode of the same size would only change the refresh rate.
    ASSERT_TRUE(runXrandr(server.displayName(), "--output VNC-0 --mode second_900x700"));
    mode.setMode(900, 700, 32);
    EXPECT_EQ(screenNow().modeName, "second_900x700");
}

TEST_F(XRandrDisplayModeTest, WorksUnderAnApplicationOnX11)
{
    ScopedApplication<QGuiApplication> application({"-platform", "xcb"});
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    EXPECT_EQ(mode.screenWidth(), 1024);
    EXPECT_EQ(mode.bitsPerPixel(), 32);
    mode.setMode(800, 600, 32);
    expectScreen(800, 600);
    mode.setMode(1024, 768, 32);
    expectScreen(1024, 768);
}

TEST_F(XRandrDisplayModeTest, LeavesXAloneUnderAnApplicationOnAnotherPlatform)
{
    // DISPLAY is set, but the program shows itself elsewhere.
    ScopedApplication<QGuiApplication> application({"-platform", "offscreen"});
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(mode.screenWidth(), screen->geometry().width());
    EXPECT_EQ(mode.screenHeight(), screen->geometry().height());
    EXPECT_EQ(mode.bitsPerPixel(), screen->depth() == 24 ? 32 : screen->depth());

    mode.setMode(640, 480, 32);
    expectScreen(1024, 768, false);
}

TEST_F(XRandrDisplayModeTest, WithoutDisplayOrApplicationAnswersZeroAndChangesNothing)
{
    const ScopedEnvironment noDisplay("DISPLAY", std::nullopt);
    EXPECT_EQ(mode.screenWidth(), 0);
    EXPECT_EQ(mode.screenHeight(), 0);
    EXPECT_EQ(mode.bitsPerPixel(), 0);
    mode.setMode(800, 600, 32);
    expectScreen(1024, 768, false); // the server of this test stays as it was
}

TEST(XRandrDisplayModeDepthTest, ReportsSixteenBitsOnASixteenBitServer)
{
    const XServer server(XServer::Kind::Xvnc, 16);
    const ScopedEnvironment display(server.environment());
    XRandrDisplayMode mode;
    EXPECT_EQ(mode.bitsPerPixel(), 16);
    EXPECT_EQ(mode.screenWidth(), 1024);
}

} // namespace

// XErrorTrap against a real X server: errors that would end the program are
// caught, and Xlib's process-wide handler is left as it was found.
#include "x_error_trap.h"
#include "x_server.h"

#include <gtest/gtest.h>

#include <memory>

#include <X11/Xlib.h>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

// What the handler in place before the trap saw.
Display* displayOfLastError = nullptr;
int codeOfLastError = 0;

int recordingHandler(Display* display, XErrorEvent* event)
{
    displayOfLastError = display;
    codeOfLastError = event->error_code;
    return 0;
}

// A request that fails: no window has this id.
void mapMissingWindow(Display* display) { XMapWindow(display, Window(0x7ffffff0)); }

class XErrorTrapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        first.reset(XOpenDisplay(server.displayName().c_str()));
        second.reset(XOpenDisplay(server.displayName().c_str()));
        ASSERT_TRUE(first && second);
        displayOfLastError = nullptr;
        codeOfLastError = 0;
        previousHandler = XSetErrorHandler(recordingHandler);
    }

    void TearDown() override { XSetErrorHandler(previousHandler); }

    // Throws, failing the test with the server's words, if it cannot start.
    XServer server{XServer::Kind::Xvnc};
    DisplayConnection first;
    DisplayConnection second;
    XErrorHandler previousHandler = nullptr;
};

TEST_F(XErrorTrapTest, CatchesTheErrorsOfItsConnection)
{
    {
        XErrorTrap trap(first.get());
        XNoOp(first.get());
        EXPECT_FALSE(trap.failed());
        mapMissingWindow(first.get());
        EXPECT_TRUE(trap.failed());
        EXPECT_EQ(trap.firstErrorCode(), BadWindow);
        // Later errors do not hide the first one.
        XFreePixmap(first.get(), Pixmap(0x7ffffff0));
        EXPECT_TRUE(trap.failed());
        EXPECT_EQ(trap.firstErrorCode(), BadWindow);
        mapMissingWindow(first.get()); // not yet answered when the trap goes
    }
    XSync(first.get(), False);
    EXPECT_EQ(displayOfLastError, nullptr) << "an error reached the handler outside the trap";
}

TEST_F(XErrorTrapTest, HandsOtherConnectionsErrorsToThePreviousHandler)
{
    XErrorTrap trap(first.get());
    mapMissingWindow(second.get());
    XSync(second.get(), False);
    EXPECT_EQ(displayOfLastError, second.get());
    EXPECT_EQ(codeOfLastError, BadWindow);
    EXPECT_FALSE(trap.failed());
}

TEST_F(XErrorTrapTest, PutsThePreviousHandlerBack)
{
    {
        XErrorTrap outer(first.get());
        {
            XErrorTrap inner(second.get());
            mapMissingWindow(first.get());
            EXPECT_FALSE(inner.failed());
            EXPECT_TRUE(outer.failed());
        }
        mapMissingWindow(second.get());
        XSync(second.get(), False);
        EXPECT_EQ(displayOfLastError, second.get()) << "the inner trap left its handler behind";
    }
    EXPECT_EQ(XSetErrorHandler(recordingHandler), &recordingHandler);
}

} // namespace
